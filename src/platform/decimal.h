#pragma once
// An exact decimal number for money and quantities: prices, line totals, values, balances,
// payments. Binary doubles cannot hold 0.1 or 100.1, so sums and differences of amounts
// pick up noise ("0.0999999999999943"); a Decimal adds, subtracts and multiplies without
// any rounding at all.
//
// It is a scaled integer: a coefficient of at most 38 decimal digits (a signed 128-bit
// integer) times a power of ten. Its range is what the program's number form can be read
// back as, a finite double (below about 1.8E+308). Every exact result within those limits
// is given, however large the working value is before it is shortened (1E+40 less
// 99999999999999999999999999999999999999E+2 is 100). A result that needs more digits or lies
// beyond that range is out of range, never rounded, and every result computed from it is
// too: callers refuse it (inRange()), and range() tells them why.
//
// Written, a Decimal takes the program's own number form (platform::vb::CStr): "." as
// separator, no grouping, at most 15 significant digits, "1E+16" and "1E-05" beyond the
// fixed range. Up to 15 significant digits that text is exact and the same, byte for
// byte, as CStr writes the double that reads back as it; writtenExactly() tells whether a
// result still fits (to the cent below 10,000,000,000,000).

#include <QString>
#include <compare>
#include <cstdint>
#include <optional>

namespace platform {

class Decimal {
public:
    // The most significant digits the program's number form writes.
    static constexpr int WrittenDigits = 15;
    // The most significant digits a Decimal holds.
    static constexpr int HeldDigits = 38;

    // Whether a value is held, and if not, why.
    enum class Range {
        Held,
        TooLarge,      // beyond the largest finite double
        TooSmall,      // nonzero, but nearer to 0 than 1E-324
        TooManyDigits, // more than HeldDigits significant digits
    };

    constexpr Decimal() = default;
    explicit Decimal(long long whole);

    // The whole text read by the rules of vb::IsNumeric ("1,5" and "1.500,50" included),
    // digit for digit; nullopt when it is not a number or lies beyond the range.
    static std::optional<Decimal> fromText(const QString& text);
    // fromText, with "" read as 0: the way the stored amounts treat an empty line or cell.
    static std::optional<Decimal> fromTextOrZero(const QString& text);

    bool inRange() const { return m_range == Range::Held; }
    Range range() const { return m_range; }
    // In range, and written with no more than WrittenDigits significant digits.
    bool writtenExactly() const;
    bool isZero() const { return inRange() && m_coefficient == 0; }
    bool isNegative() const { return inRange() && m_coefficient < 0; }
    // In range and with no fraction.
    bool isWhole() const { return inRange() && m_exponent >= 0; }

    // The program's number form; "Inf" or "-Inf" out of range, as CStr writes a number that
    // overflowed.
    QString text() const;
    double toDouble() const;

    friend Decimal operator+(const Decimal& a, const Decimal& b);
    friend Decimal operator-(const Decimal& a, const Decimal& b);
    friend Decimal operator*(const Decimal& a, const Decimal& b);
    Decimal operator-() const;
    Decimal& operator+=(const Decimal& other) { return *this = *this + other; }
    Decimal& operator-=(const Decimal& other) { return *this = *this - other; }

    // By value ("10" and "10.00" are equal); anything out of range is unordered.
    friend bool operator==(const Decimal& a, const Decimal& b);
    friend std::partial_ordering operator<=>(const Decimal& a, const Decimal& b);

private:
    __extension__ typedef __int128 Coefficient;

    constexpr Decimal(Coefficient coefficient, int exponent, Range range)
        : m_coefficient(coefficient), m_exponent(exponent), m_range(range)
    {
    }
    static Decimal make(Coefficient coefficient, long long exponent);
    static Decimal outOfRange(bool negative, Range why);
    // The first of two operands that is out of range, as the result of an operation on them.
    static Decimal outOfRangeOf(const Decimal& a, const Decimal& b, bool negative);
    // Scales both to the smaller exponent; false when a coefficient would overflow.
    static bool align(const Decimal& a, const Decimal& b, Coefficient& ca, Coefficient& cb, int& exponent);

    // value = m_coefficient * 10^m_exponent, with no trailing zero in the coefficient (0 has
    // exponent 0); out of range the sign of the coefficient keeps the sign.
    Coefficient m_coefficient = 0;
    int m_exponent = 0;
    Range m_range = Range::Held;
};

} // namespace platform
