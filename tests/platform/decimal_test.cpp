#include "platform/decimal.h"
#include "platform/vb.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>

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
                             "123456789012345678901234567890123456789"})
        EXPECT_FALSE(Decimal::fromText(QString::fromLatin1(text)).has_value()) << text;
    EXPECT_EQ(Decimal::fromTextOrZero(QString()), Decimal());
}

TEST(Decimal, ComparesByValue)
{
    EXPECT_EQ(dec("10"), dec("10.00"));
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

TEST(VbAmbiguity, ALoneCommaBeforeThreeDigitsIsAmbiguous)
{
    for (const char* text : {"1,500", "-1,500", " 12,345 ", "999,000", "1,500e2"})
        EXPECT_TRUE(platform::vb::IsAmbiguousNumber(QString::fromLatin1(text))) << text;
    for (const char* text : {"1,5", "1,50", "1,5000", "1.500,50", "1.500", "1234,500", ",500", "1500", "abc", "",
                             "1 500,500", "1,500,000"})
        EXPECT_FALSE(platform::vb::IsAmbiguousNumber(QString::fromLatin1(text))) << text;
}
