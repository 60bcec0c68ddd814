#include "platform/decimal.h"
#include "platform/vb.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>
#include <utility>
#include <vector>

using platform::Decimal;

namespace {

Decimal dec(const char* text)
{
    const auto read = Decimal::fromText(QString::fromUtf8(text));
    EXPECT_TRUE(read.has_value()) << text;
    return read.value_or(Decimal());
}

struct Exact {
    const char* name;
    const char* a;
    char op;
    const char* b;
    const char* written; // the program's number form of the result
    bool exactly;        // whether that text is the result itself
};

void PrintTo(const Exact& c, std::ostream* os)
{
    *os << c.name;
}

class DecimalAmounts : public ::testing::TestWithParam<Exact> {};

} // namespace

// Amounts that a binary double cannot hold come out to the last digit.
TEST_P(DecimalAmounts, ComputeExactly)
{
    const Exact& c = GetParam();
    const Decimal a = dec(c.a);
    const Decimal b = dec(c.b);
    const Decimal result = c.op == '+' ? a + b : c.op == '-' ? a - b : a * b;
    EXPECT_EQ(result.text(), QString::fromLatin1(c.written));
    EXPECT_EQ(result.writtenExactly(), c.exactly);
}

INSTANTIATE_TEST_SUITE_P(
    Table, DecimalAmounts,
    ::testing::Values(
        Exact{"PaymentLeavesATenth", "100.1", '-', "100", "0.1", true},
        Exact{"PaymentLeavesACent", "1000.01", '-', "1000", "0.01", true},
        Exact{"TenthsAddUp", "0.1", '+', "0.2", "0.3", true},
        Exact{"OwnBalanceLessATransaction", "100.1", '-', "100", "0.1", true},
        Exact{"ContactGainsAValue", "455.25", '+', "100", "555.25", true},
        Exact{"LineTotal", "14.9", '*', "3", "44.7", true},
        Exact{"LineTotalOfCents", "0.07", '*', "3", "0.21", true},
        Exact{"FractionalQuantity", "19.99", '*', "1.5", "29.985", true},
        Exact{"CentOverTenMillion", "10000000", '+', "0.01", "10000000.01", true},
        Exact{"OpenOnAHundredMillion", "100000000.05", '-', "100000000", "0.05", true},
        Exact{"CentBelowTenTrillion", "9999999999999.98", '+', "0.01", "9999999999999.99", true},
        Exact{"SixteenDigitsRoundToEven", "12345678901234.2", '+', "0.05", "12345678901234.2", false},
        Exact{"SixteenDigitsRoundUp", "12345678901234.3", '+', "0.05", "12345678901234.4", false},
        Exact{"CarryIntoANewDigit", "99999999999999.9", '+', "0.06", "100000000000000", false},
        Exact{"BackToZero", "0.1", '-', "0.1", "0", true},
        Exact{"Negative", "-300", '+', "100.5", "-199.5", true},
        Exact{"LargeWholeNumbersInExponentForm", "1E+16", '+', "1E+16", "2E+16", true},
        Exact{"SmallInExponentForm", "0.0001", '*', "0.1", "1E-05", true},
        Exact{"ReadAsTheNumberFormReads", "1,5", '+', "1.500,50", "1502", true},
        Exact{"InfiniteLineTotal", "1e308", '*', "14.9", "Inf", false},
        Exact{"BeyondTheDigitsHeld", "1e300", '+', "0.01", "Inf", false}),
    [](const auto& info) { return std::string(info.param.name); });

namespace {

struct Held {
    const char* name;
    const char* a;
    char op;
    const char* b;
    const char* exact; // the result, digit for digit
};

void PrintTo(const Held& c, std::ostream* os)
{
    *os << c.name;
}

struct Beyond {
    const char* name;
    const char* a;
    char op;
    const char* b;
    Decimal::Range range;
    const char* written;
};

void PrintTo(const Beyond& c, std::ostream* os)
{
    *os << c.name;
}

Decimal apply(const Decimal& a, char op, const Decimal& b)
{
    return op == '+' ? a + b : op == '-' ? a - b : a * b;
}

class DecimalHeld : public ::testing::TestWithParam<Held> {};
class DecimalBeyond : public ::testing::TestWithParam<Beyond> {};

} // namespace

// Every exact result within 38 significant digits and the range of a double is given, also
// where the working value outgrows 38 digits before it is shortened, and also beyond the 15
// digits that are written.
TEST_P(DecimalHeld, GivesTheExactResult)
{
    const Held& c = GetParam();
    const Decimal result = apply(dec(c.a), c.op, dec(c.b));
    ASSERT_TRUE(result.inRange()) << result.text().toStdString();
    EXPECT_EQ(result, dec(c.exact)) << result.text().toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Table, DecimalHeld,
    ::testing::Values(
        Held{"BorrowFromBeyondTheDigitsHeld", "1E+40", '-', "99999999999999999999999999999999999999E+2", "100"},
        Held{"NegativeBorrow", "-1E+40", '+', "99999999999999999999999999999999999999E+2", "-100"},
        Held{"ProductWithTrailingZeros", "1237940039285380274899124224", '*', "2910383045673370361328125",
             "36028797018963968E+35"},
        Held{"ProductOfManyDigits", "123456789.123456789", '*', "987654321.987654321",
             "121932631356500531.347203169112635269"},
        Held{"ProductOfFractions", "0.99999999999999999999", '*', "0.99999999999999999",
             "0.9999999999999999899900000000000000001"},
        Held{"ThirtyEightDigitsBySum", "99999999999999999999999999999999999998", '+', "1",
             "99999999999999999999999999999999999999"},
        Held{"ThirtyEightDigitsSpreadApart", "1E+37", '+', "1", "10000000000000000000000000000000000001"},
        Held{"ThirtyEightDigitsByProduct", "1E+37", '*', "9.9999999999999999999999999999999999999",
             "99999999999999999999999999999999999999"},
        Held{"CarryOutOfThirtyEightNines", "99999999999999999999999999999999999999", '+', "1", "1E+38"},
        Held{"CancelledToOne", "12345678901234567890123456789012345678", '-', "12345678901234567890123456789012345677",
             "1"},
        Held{"NearTheSmallestDouble", "1E-300", '*', "5E-24", "5E-324"}),
    [](const auto& info) { return std::string(info.param.name); });

// A result beyond the limits is refused, and says why: too many digits is not too large.
TEST_P(DecimalBeyond, IsOutOfRangeForItsReason)
{
    const Beyond& c = GetParam();
    const Decimal result = apply(dec(c.a), c.op, dec(c.b));
    EXPECT_FALSE(result.inRange());
    EXPECT_EQ(result.range(), c.range);
    EXPECT_EQ(result.text(), QString::fromLatin1(c.written));
    EXPECT_FALSE(result.writtenExactly());
    // Out of range stays out of range, for the same reason.
    EXPECT_EQ((result + Decimal(1)).range(), c.range);
    EXPECT_EQ((Decimal(2) * result).range(), c.range);
}

INSTANTIATE_TEST_SUITE_P(
    Table, DecimalBeyond,
    ::testing::Values(
        Beyond{"TinyPlusTen", "1e-40", '+', "10", Decimal::Range::TooManyDigits, "Inf"},
        Beyond{"TenLessTiny", "-1e-40", '-', "10", Decimal::Range::TooManyDigits, "-Inf"},
        Beyond{"ThirtyNineDigitsBySum", "1E+38", '+', "1", Decimal::Range::TooManyDigits, "Inf"},
        Beyond{"ThirtyNineDigitsBySpreadSum", "99999999999999999999999999999999999999", '+', "0.1",
               Decimal::Range::TooManyDigits, "Inf"},
        Beyond{"FortyDigitsByProduct", "99999999999999999999999999999999999999", '*', "11",
               Decimal::Range::TooManyDigits, "Inf"},
        Beyond{"CentOnAHugeAmount", "1e300", '+', "0.01", Decimal::Range::TooManyDigits, "Inf"},
        Beyond{"BeyondTheLargestDouble", "1e308", '*', "14.9", Decimal::Range::TooLarge, "Inf"},
        Beyond{"SumBeyondTheLargestDouble", "-1.7E+308", '-', "1.7E+308", Decimal::Range::TooLarge, "-Inf"},
        Beyond{"ManyDigitsBeyondTheLargestDouble", "99999999999999999999999999999999999999E+250", '*',
               "99999999999999999999999999999999999999", Decimal::Range::TooLarge, "Inf"},
        Beyond{"NearerToZeroThanADouble", "1E-300", '*', "1E-25", Decimal::Range::TooSmall, "Inf"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Decimal, AThousandTenthsAddUpToAHundred)
{
    Decimal sum;
    for (int i = 0; i < 1000; ++i)
        sum += dec("0.1");
    EXPECT_EQ(sum.text(), "100");
    EXPECT_EQ(sum, Decimal(100));
}

TEST(Decimal, ReadsWhatTheNumberFormReadsAndNothingElse)
{
    EXPECT_EQ(dec(" -2.25e1 ").text(), "-22.5");
    EXPECT_EQ(dec("1.").text(), "1");
    EXPECT_EQ(dec(".5").text(), "0.5");
    EXPECT_EQ(dec("-0").text(), "0");
    EXPECT_EQ(dec("0.000").text(), "0");
    EXPECT_EQ(dec("1.7E+308").text(), "1.7E+308");
    EXPECT_EQ(dec("123456789012345678").text(), "1.23456789012346E+17");
    for (const char* text : {"", "abc", "1.5.2", "1e", "1e309", "1e999", "1E-400",
                             "123456789012345678901234567890123456789", "-0.123456789012345678901234567890123456789",
                             "1.00000000000000000000000000000000000001E+5"})
        EXPECT_FALSE(Decimal::fromText(QString::fromLatin1(text)).has_value()) << text;
    // 38 significant digits are held, wherever the point and however many zeros around them.
    for (const char* text : {"12345678901234567890123456789012345678", "-99999999999999999999999999999999999999",
                             "0.12345678901234567890123456789012345678", "1234567890123456789012345678901234567.8",
                             "123456789012345678901234567890123456780000", "0.000012345678901234567890123456789012345678"}) {
        const auto read = Decimal::fromText(QString::fromLatin1(text));
        ASSERT_TRUE(read.has_value()) << text;
        EXPECT_EQ(*read - *read, Decimal()) << text;
    }
    EXPECT_EQ(Decimal::fromTextOrZero(QString()), Decimal());
}

TEST(Decimal, ComparesByValue)
{
    EXPECT_EQ(dec("10"), dec("10.00"));
    EXPECT_EQ(dec("1E+1"), dec("10"));
    EXPECT_EQ(dec(".10"), dec("0.1"));
    // The same digits at another place are another amount.
    const std::pair<const char*, const char*> unequal[] = {
        {"1", "10"}, {"0.1", "1"}, {"10", "100"}, {"1.5", "15"}, {"-1", "1"}, {"1E+16", "1E+17"}, {"0.05", "0.5"}};
    for (const auto& [a, b] : unequal) {
        EXPECT_NE(dec(a), dec(b)) << a << " " << b;
        EXPECT_NE(dec(a) <=> dec(b), std::partial_ordering::equivalent) << a << " " << b;
    }
    EXPECT_LT(dec("0.04"), dec("0.05"));
    EXPECT_LT(dec("-1"), Decimal());
    EXPECT_LT(dec("-10"), dec("-9.99"));
    EXPECT_GT(dec("10000000.01"), dec("10000000"));
    EXPECT_GT(dec("1E+16"), dec("9999999999999999"));
    const Decimal huge = dec("1e308") * dec("10");
    EXPECT_FALSE(huge.inRange());
    EXPECT_FALSE(huge == huge);
    EXPECT_FALSE(huge > Decimal());
    EXPECT_FALSE((huge - huge).inRange()); // out of range stays out of range
}

// The written form keeps 15 significant digits, a tie at the 16th going to the even
// neighbour, and anything beyond a tie going up.
TEST(Decimal, WritesFifteenDigitsRoundingHalfToEven)
{
    const std::pair<const char*, const char*> cases[] = {
        {"1234567890123425", "1.23456789012342E+15"},      // a tie, even kept
        {"1234567890123435", "1.23456789012344E+15"},      // a tie, odd kept
        {"12345678901234251", "1.23456789012343E+16"},     // just beyond a tie
        {"123456789012342500001", "1.23456789012343E+20"}, // far beyond a tie
        {"1234567890123424999", "1.23456789012342E+18"},   // just below a tie
        {"0.1234567890123425", "0.123456789012342"},
        {"-0.1234567890123435", "-0.123456789012344"},
        {"99999999999999.95", "100000000000000"},          // a tie that carries into a new digit
        {"999999999999998.5", "999999999999998"},
        {"1.000000000000005", "1"},                        // a tie on a 0 kept
        {"1.0000000000000051", "1.00000000000001"},
        {"12345678901234.5", "12345678901234.5"},          // 15 digits: nothing to round
    };
    for (const auto& [exact, written] : cases)
        EXPECT_EQ(dec(exact).text(), QString::fromLatin1(written)) << exact;
}

// Whatever the files hold today, a number a double writes, reads and is written again byte
// for byte.
TEST(Decimal, WritesWhatCStrWritesForEveryStoredNumber)
{
    std::mt19937_64 random(20261211);
    std::uniform_real_distribution<double> mantissa(-10.0, 10.0);
    std::uniform_int_distribution<int> power(-8, 20);
    int checked = 0;
    for (int i = 0; i < 20000; ++i) {
        const double value = mantissa(random) * std::pow(10.0, power(random));
        const QString stored = platform::vb::CStr(value);
        const auto read = Decimal::fromText(stored);
        ASSERT_TRUE(read.has_value()) << stored.toStdString();
        ASSERT_EQ(read->text(), stored);
        ASSERT_TRUE(read->writtenExactly()) << stored.toStdString();
        ASSERT_EQ(read->toDouble(), platform::vb::CDbl(stored).value());
        ++checked;
    }
    for (const double value : {0.1 + 0.2, 100.1 - 100, 1000.01 - 1000, 1.0 / 3, 1e15, 1e-5, 123456789012345.0,
                               -0.0, 1.7e308})
        EXPECT_EQ(Decimal::fromText(platform::vb::CStr(value))->text(), platform::vb::CStr(value));
    EXPECT_EQ(checked, 20000);
}

namespace {

// A plain schoolbook reference: magnitudes as decimal digit strings, most significant first.
std::string trimmed(std::string digits)
{
    const size_t first = digits.find_first_not_of('0');
    return first == std::string::npos ? "0" : digits.substr(first);
}

bool lessThan(const std::string& a, const std::string& b)
{
    return a.size() != b.size() ? a.size() < b.size() : a < b;
}

std::string added(const std::string& a, const std::string& b)
{
    std::string out;
    int carry = 0;
    for (size_t i = 0; i < std::max(a.size(), b.size()) || carry; ++i) {
        const int d = carry + (i < a.size() ? a[a.size() - 1 - i] - '0' : 0) + (i < b.size() ? b[b.size() - 1 - i] - '0' : 0);
        out.insert(out.begin(), char('0' + d % 10));
        carry = d / 10;
    }
    return trimmed(out);
}

std::string subtracted(const std::string& a, const std::string& b) // a >= b
{
    std::string out;
    int borrow = 0;
    for (size_t i = 0; i < a.size(); ++i) {
        int d = a[a.size() - 1 - i] - '0' - borrow - (i < b.size() ? b[b.size() - 1 - i] - '0' : 0);
        borrow = d < 0;
        out.insert(out.begin(), char('0' + d + 10 * borrow));
    }
    return trimmed(out);
}

std::string multiplied(const std::string& a, const std::string& b)
{
    std::vector<int> sum(a.size() + b.size(), 0);
    for (size_t i = 0; i < a.size(); ++i)
        for (size_t j = 0; j < b.size(); ++j)
            sum[i + j + 1] += (a[i] - '0') * (b[j] - '0');
    for (size_t k = sum.size(); k-- > 1;) {
        sum[k - 1] += sum[k] / 10;
        sum[k] %= 10;
    }
    std::string out;
    for (const int d : sum)
        out += char('0' + d);
    return trimmed(out);
}

struct Exactly {
    bool negative = false;
    std::string digits = "0";
    int exponent = 0;
};

Exactly referenceOf(const Exactly& a, char op, const Exactly& b)
{
    Exactly out;
    if (op == '*') {
        out = {a.negative != b.negative, multiplied(a.digits, b.digits), a.exponent + b.exponent};
    } else {
        const int exponent = std::min(a.exponent, b.exponent);
        const std::string ma = a.digits + std::string(size_t(a.exponent - exponent), '0');
        const std::string mb = b.digits + std::string(size_t(b.exponent - exponent), '0');
        const bool nb = op == '-' ? !b.negative : b.negative;
        if (a.negative == nb)
            out = {a.negative, added(ma, mb), exponent};
        else if (lessThan(ma, mb))
            out = {nb, subtracted(mb, ma), exponent};
        else
            out = {a.negative, subtracted(ma, mb), exponent};
    }
    while (out.digits.size() > 1 && out.digits.back() == '0') {
        out.digits.pop_back();
        ++out.exponent;
    }
    return out;
}

QString textOf(const Exactly& e)
{
    return QString::fromStdString((e.negative ? "-" : "") + e.digits + "e" + std::to_string(e.exponent));
}

} // namespace

// Random operands of up to 38 digits, their exponents close enough that sums and products
// often outgrow 38 digits before they are shortened: every result is the reference's, or
// refused as having too many digits exactly when the reference has more than 38.
TEST(Decimal, AgreesWithAnExactReference)
{
    std::mt19937_64 random(20270105);
    std::uniform_int_distribution<int> length(1, 38), digit(0, 9), exponent(-45, 45), coin(0, 1), op(0, 2);
    const auto operand = [&] {
        Exactly e;
        e.digits.clear();
        const int n = length(random);
        for (int i = 0; i < n; ++i)
            e.digits += char('0' + (i == 0 ? 1 + digit(random) % 9 : digit(random)));
        // Many nines and zeros, where carries and borrows run through every digit.
        if (coin(random))
            for (char& d : e.digits)
                d = coin(random) ? '9' : d;
        e.negative = coin(random);
        e.exponent = exponent(random);
        return e;
    };
    int held = 0, beyond = 0;
    for (int i = 0; i < 40000; ++i) {
        const Exactly a = operand();
        const Exactly b = operand();
        const char o = "+-*"[op(random)];
        const Exactly expected = referenceOf(a, o, b);
        const Decimal result = apply(*Decimal::fromText(textOf(a)), o, *Decimal::fromText(textOf(b)));
        const std::string what = textOf(a).toStdString() + " " + o + " " + textOf(b).toStdString();
        if (expected.digits.size() > size_t(Decimal::HeldDigits)) {
            ASSERT_EQ(result.range(), Decimal::Range::TooManyDigits) << what;
            ++beyond;
        } else {
            ASSERT_TRUE(result.inRange()) << what;
            ASSERT_EQ(result, *Decimal::fromText(textOf(expected))) << what << " = " << textOf(expected).toStdString();
            ++held;
        }
    }
    EXPECT_GT(held, 10000);
    EXPECT_GT(beyond, 10000);
}

TEST(VbAmbiguity, ALoneCommaBeforeThreeDigitsIsAmbiguous)
{
    for (const char* text : {"1,500", "-1,500", " 12,345 ", "999,000", "1,500e2"})
        EXPECT_TRUE(platform::vb::IsAmbiguousNumber(QString::fromLatin1(text))) << text;
    for (const char* text : {"1,5", "1,50", "1,5000", "1.500,50", "1.500", "1234,500", ",500", "1500", "abc", "",
                             "1 500,500", "1,500,000"})
        EXPECT_FALSE(platform::vb::IsAmbiguousNumber(QString::fromLatin1(text))) << text;
}
