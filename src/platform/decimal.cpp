#include "platform/decimal.h"

#include "platform/vb.h"

#include <array>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>

namespace platform {

namespace {

__extension__ typedef __int128 Int128;
__extension__ typedef unsigned __int128 UInt128;

constexpr int MaxDigits = Decimal::HeldDigits;
// The largest and smallest powers of ten of a leading digit: a finite double, not one that
// reads as 0.
constexpr long long MaxLeadingPower = 308;
constexpr long long MinLeadingPower = -324;

constexpr Int128 powerOfTen(int n)
{
    Int128 p = 1;
    for (int i = 0; i < n; ++i)
        p *= 10;
    return p;
}

constexpr Int128 CoefficientLimit = powerOfTen(MaxDigits); // exclusive

UInt128 magnitude(Int128 c)
{
    return c < 0 ? UInt128(0) - UInt128(c) : UInt128(c);
}

std::string digitsOf(Int128 c)
{
    UInt128 m = magnitude(c);
    if (m == 0)
        return "0";
    std::string out;
    while (m > 0) {
        out.insert(out.begin(), char('0' + int(m % 10)));
        m /= 10;
    }
    return out;
}

bool fits(Int128 c)
{
    return c > -CoefficientLimit && c < CoefficientLimit;
}

// c * 10^n, when it fits.
bool scaleUp(Int128 c, long long n, Int128& out)
{
    if (c == 0) {
        out = 0;
        return true;
    }
    if (n >= MaxDigits)
        return false;
    Int128 scaled = 0;
    if (__builtin_mul_overflow(c, powerOfTen(int(n)), &scaled) || !fits(scaled))
        return false;
    out = scaled;
    return true;
}

// The magnitude of an exact working value before it is shortened: up to 256 bits, enough
// for two 38-digit coefficients multiplied (76 digits), or one scaled by up to 10^38 and
// added to another. Least significant limb first.
struct Wide {
    std::array<uint64_t, 4> limb{};
};

Wide wideOf(UInt128 v)
{
    return {{uint64_t(v), uint64_t(v >> 64), 0, 0}};
}

Wide multiply(UInt128 a, UInt128 b)
{
    const uint64_t x[2] = {uint64_t(a), uint64_t(a >> 64)};
    const uint64_t y[2] = {uint64_t(b), uint64_t(b >> 64)};
    Wide out;
    for (size_t i = 0; i < 2; ++i) {
        UInt128 carry = 0;
        for (size_t j = 0; j < 2; ++j) {
            const UInt128 t = UInt128(x[i]) * y[j] + out.limb[i + j] + carry;
            out.limb[i + j] = uint64_t(t);
            carry = t >> 64;
        }
        out.limb[i + 2] = uint64_t(carry);
    }
    return out;
}

Wide add(const Wide& a, const Wide& b)
{
    Wide out;
    UInt128 carry = 0;
    for (size_t i = 0; i < 4; ++i) {
        const UInt128 t = UInt128(a.limb[i]) + b.limb[i] + carry;
        out.limb[i] = uint64_t(t);
        carry = t >> 64;
    }
    return out;
}

// a - b, where a >= b.
Wide subtract(const Wide& a, const Wide& b)
{
    Wide out;
    uint64_t borrow = 0;
    for (size_t i = 0; i < 4; ++i) {
        const uint64_t d = a.limb[i] - b.limb[i];
        const uint64_t nextBorrow = (a.limb[i] < b.limb[i] || d < borrow) ? 1 : 0;
        out.limb[i] = d - borrow;
        borrow = nextBorrow;
    }
    return out;
}

bool less(const Wide& a, const Wide& b)
{
    for (size_t i = 4; i-- > 0;)
        if (a.limb[i] != b.limb[i])
            return a.limb[i] < b.limb[i];
    return false;
}

bool isZero(const Wide& w)
{
    return (w.limb[0] | w.limb[1] | w.limb[2] | w.limb[3]) == 0;
}

// Divides by 10 in place; the remainder.
unsigned divideByTen(Wide& w)
{
    UInt128 rest = 0;
    for (size_t i = 4; i-- > 0;) {
        const UInt128 current = (rest << 64) | w.limb[i];
        w.limb[i] = uint64_t(current / 10);
        rest = current % 10;
    }
    return unsigned(rest);
}

// An exact working value shortened to a coefficient without trailing zeros: held when it
// has at most MaxDigits digits, else the reason it is not.
struct Shortened {
    Decimal::Range range = Decimal::Range::Held;
    Int128 coefficient = 0;
    long long exponent = 0;
};

Shortened shorten(bool negative, Wide magnitude, long long exponent)
{
    if (isZero(magnitude))
        return {};
    for (Wide tenth = magnitude; divideByTen(tenth) == 0; tenth = magnitude) {
        magnitude = tenth;
        ++exponent;
    }
    if (magnitude.limb[2] == 0 && magnitude.limb[3] == 0) {
        const UInt128 c = UInt128(magnitude.limb[0]) | (UInt128(magnitude.limb[1]) << 64);
        if (c < UInt128(CoefficientLimit))
            return {Decimal::Range::Held, negative ? -Int128(c) : Int128(c), exponent};
    }
    long long digits = 0;
    for (Wide rest = magnitude; !isZero(rest); divideByTen(rest))
        ++digits;
    const long long leading = exponent + digits - 1;
    if (leading > MaxLeadingPower)
        return {Decimal::Range::TooLarge};
    if (leading < MinLeadingPower)
        return {Decimal::Range::TooSmall};
    return {Decimal::Range::TooManyDigits};
}

// The value's text in C form with every digit ("-1234.5e-3" style is not needed: mantissa
// digits and an exponent).
std::string fullText(bool negative, const std::string& digits, long long exponent)
{
    return (negative ? "-" : "") + digits + "e" + std::to_string(exponent);
}

QString exponentText(long long exponent)
{
    const QChar sign = exponent < 0 ? QLatin1Char('-') : QLatin1Char('+');
    return QStringLiteral("E") + sign + QStringLiteral("%1").arg(std::llabs(exponent), 2, 10, QLatin1Char('0'));
}

} // namespace

Decimal::Decimal(long long whole) : Decimal(make(Int128(whole), 0)) {}

Decimal Decimal::outOfRange(bool negative, Range why)
{
    return Decimal(negative ? -1 : 1, 0, why);
}

Decimal Decimal::outOfRangeOf(const Decimal& a, const Decimal& b, bool negative)
{
    return outOfRange(negative, a.inRange() ? b.m_range : a.m_range);
}

Decimal Decimal::make(Coefficient coefficient, long long exponent)
{
    if (coefficient == 0)
        return Decimal(0, 0, Range::Held);
    while (coefficient % 10 == 0) {
        coefficient /= 10;
        ++exponent;
    }
    const bool negative = coefficient < 0;
    const long long leading = exponent + (long long)digitsOf(coefficient).size() - 1;
    if (leading > MaxLeadingPower)
        return outOfRange(negative, Range::TooLarge);
    if (leading < MinLeadingPower)
        return outOfRange(negative, Range::TooSmall);
    if (!fits(coefficient))
        return outOfRange(negative, Range::TooManyDigits);
    const Decimal made(coefficient, int(exponent), Range::Held);
    if (leading == MaxLeadingPower && !std::isfinite(made.toDouble()))
        return outOfRange(negative, Range::TooLarge);
    return made;
}

std::optional<Decimal> Decimal::fromText(const QString& text)
{
    const std::optional<std::string> number = vb::NumberInC(text);
    if (!number)
        return std::nullopt;
    const std::string& s = *number;
    size_t i = 0;
    const bool negative = i < s.size() && s[i] == '-';
    if (negative)
        ++i;
    std::string digits;
    long long fractionDigits = 0;
    bool fraction = false;
    for (; i < s.size() && s[i] != 'e'; ++i) {
        if (s[i] == '.') {
            fraction = true;
            continue;
        }
        digits += s[i];
        if (fraction)
            ++fractionDigits;
    }
    long long exponent = 0;
    if (i < s.size()) { // the exponent, which may be absurdly long: it is only kept in range
        ++i;
        const bool below = i < s.size() && s[i] == '-';
        if (i < s.size() && (s[i] == '-' || s[i] == '+'))
            ++i;
        for (; i < s.size(); ++i)
            exponent = std::min(exponent * 10 + (s[i] - '0'), 1'000'000'000LL);
        if (below)
            exponent = -exponent;
    }
    const size_t first = digits.find_first_not_of('0');
    if (first == std::string::npos)
        return Decimal();
    digits.erase(0, first);
    long long scale = exponent - fractionDigits;
    while (digits.size() > 1 && digits.back() == '0') {
        digits.pop_back();
        ++scale;
    }
    if (digits.size() > size_t(MaxDigits))
        return std::nullopt;
    Int128 c = 0;
    for (const char d : digits)
        c = c * 10 + (d - '0');
    const Decimal read = make(negative ? -c : c, scale);
    if (!read.inRange())
        return std::nullopt;
    return read;
}

std::optional<Decimal> Decimal::fromTextOrZero(const QString& text)
{
    return text.isEmpty() ? std::optional<Decimal>(Decimal()) : fromText(text);
}

bool Decimal::writtenExactly() const
{
    return inRange() && digitsOf(m_coefficient).size() <= size_t(WrittenDigits);
}

QString Decimal::text() const
{
    if (!inRange())
        return m_coefficient < 0 ? QStringLiteral("-Inf") : QStringLiteral("Inf");
    if (m_coefficient == 0)
        return QStringLiteral("0");
    std::string digits = digitsOf(m_coefficient);
    long long leading = m_exponent + (long long)digits.size() - 1;
    if (digits.size() > size_t(WrittenDigits)) {
        // Round half to even at the last written digit.
        const std::string rest = digits.substr(WrittenDigits);
        digits.resize(WrittenDigits);
        const char first = rest[0];
        const bool more = rest.find_first_not_of('0', 1) != std::string::npos;
        const bool up = first > '5' || (first == '5' && (more || (digits.back() - '0') % 2 == 1));
        if (up) {
            int k = WrittenDigits - 1;
            while (k >= 0 && digits[size_t(k)] == '9')
                digits[size_t(k--)] = '0';
            if (k < 0) {
                digits.insert(digits.begin(), '1');
                digits.pop_back();
                ++leading;
            } else {
                ++digits[size_t(k)];
            }
        }
        while (digits.size() > 1 && digits.back() == '0')
            digits.pop_back();
    }

    QString out = m_coefficient < 0 ? QStringLiteral("-") : QString();
    const QString all = QString::fromLatin1(digits);
    if (leading >= WrittenDigits || leading < -4) {
        out += all[0];
        if (all.size() > 1)
            out += QLatin1Char('.') + all.mid(1);
        return out + exponentText(leading);
    }
    if (leading < 0)
        return out + QStringLiteral("0.") + QString(int(-leading - 1), QLatin1Char('0')) + all;
    const qsizetype whole = qsizetype(leading) + 1;
    if (all.size() <= whole)
        return out + all + QString(int(whole - all.size()), QLatin1Char('0'));
    return out + all.left(whole) + QLatin1Char('.') + all.mid(whole);
}

double Decimal::toDouble() const
{
    if (!inRange())
        return m_coefficient < 0 ? -std::numeric_limits<double>::infinity()
                                 : std::numeric_limits<double>::infinity();
    const std::string s = fullText(m_coefficient < 0, digitsOf(m_coefficient), m_exponent);
    return std::strtod(s.c_str(), nullptr);
}

bool Decimal::align(const Decimal& a, const Decimal& b, Coefficient& ca, Coefficient& cb, int& exponent)
{
    exponent = std::min(a.m_exponent, b.m_exponent);
    return scaleUp(a.m_coefficient, (long long)a.m_exponent - exponent, ca)
        && scaleUp(b.m_coefficient, (long long)b.m_exponent - exponent, cb);
}

Decimal operator+(const Decimal& a, const Decimal& b)
{
    if (!a.inRange() || !b.inRange())
        return Decimal::outOfRangeOf(a, b, (a.inRange() ? b : a).m_coefficient < 0);
    if (a.m_coefficient == 0)
        return b;
    if (b.m_coefficient == 0)
        return a;
    Decimal::Coefficient ca = 0;
    Decimal::Coefficient cb = 0;
    int exponent = 0;
    Decimal::Coefficient sum = 0;
    if (Decimal::align(a, b, ca, cb, exponent) && !__builtin_add_overflow(ca, cb, &sum))
        return Decimal::make(sum, exponent);

    // The working value outgrows 38 digits; the result may still fit once shortened. The
    // operand with the higher exponent is scaled to the other's.
    const Decimal& high = a.m_exponent >= b.m_exponent ? a : b;
    const Decimal& low = a.m_exponent >= b.m_exponent ? b : a;
    const long long shift = (long long)high.m_exponent - low.m_exponent;
    const bool highNegative = high.m_coefficient < 0;
    if (shift > MaxDigits) {
        // The low operand's last digit is not 0, and the high one lies more than 38 places
        // above it: the exact sum has more than 38 digits.
        return Decimal::outOfRange(highNegative, Decimal::Range::TooManyDigits);
    }
    const Wide scaled = multiply(magnitude(high.m_coefficient), UInt128(powerOfTen(int(shift))));
    const Wide other = wideOf(magnitude(low.m_coefficient));
    bool negative = highNegative;
    Wide total;
    if (highNegative == (low.m_coefficient < 0)) {
        total = add(scaled, other);
    } else if (less(scaled, other)) {
        total = subtract(other, scaled);
        negative = !highNegative;
    } else {
        total = subtract(scaled, other);
    }
    const Shortened result = shorten(negative, total, low.m_exponent);
    if (result.range != Decimal::Range::Held)
        return Decimal::outOfRange(negative, result.range);
    return Decimal::make(result.coefficient, result.exponent);
}

Decimal Decimal::operator-() const
{
    return Decimal(-m_coefficient, m_exponent, m_range);
}

Decimal operator-(const Decimal& a, const Decimal& b)
{
    return a + -b;
}

Decimal operator*(const Decimal& a, const Decimal& b)
{
    const bool negative = (a.m_coefficient < 0) != (b.m_coefficient < 0);
    if (!a.inRange() || !b.inRange())
        return Decimal::outOfRangeOf(a, b, negative);
    const long long exponent = (long long)a.m_exponent + b.m_exponent;
    Decimal::Coefficient product = 0;
    if (!__builtin_mul_overflow(a.m_coefficient, b.m_coefficient, &product))
        return Decimal::make(product, exponent);
    const Shortened result =
        shorten(negative, multiply(magnitude(a.m_coefficient), magnitude(b.m_coefficient)), exponent);
    if (result.range != Decimal::Range::Held)
        return Decimal::outOfRange(negative, result.range);
    return Decimal::make(result.coefficient, result.exponent);
}

bool operator==(const Decimal& a, const Decimal& b)
{
    return a.inRange() && b.inRange() && a.m_coefficient == b.m_coefficient && a.m_exponent == b.m_exponent;
}

std::partial_ordering operator<=>(const Decimal& a, const Decimal& b)
{
    if (!a.inRange() || !b.inRange())
        return std::partial_ordering::unordered;
    const auto signOf = [](Decimal::Coefficient c) { return c < 0 ? -1 : c > 0 ? 1 : 0; };
    const int sa = signOf(a.m_coefficient);
    const int sb = signOf(b.m_coefficient);
    if (sa != sb || sa == 0)
        return sa <=> sb;
    // Same sign, neither zero: compare the magnitudes by their leading power, then digit by
    // digit.
    const std::string da = digitsOf(a.m_coefficient);
    const std::string db = digitsOf(b.m_coefficient);
    const long long la = a.m_exponent + (long long)da.size();
    const long long lb = b.m_exponent + (long long)db.size();
    std::strong_ordering byMagnitude = la <=> lb;
    if (byMagnitude == 0) {
        const size_t n = std::max(da.size(), db.size());
        byMagnitude = (da + std::string(n - da.size(), '0')) <=> (db + std::string(n - db.size(), '0'));
    }
    return sa > 0 ? std::partial_ordering(byMagnitude) : std::partial_ordering(0 <=> byMagnitude);
}

} // namespace platform
