#include "platform/vb.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>

using namespace platform::vb;

TEST(Vb, IsNumericAcceptsWholeNumbersOnly)
{
    const struct {
        const char* text;
        bool numeric;
    } cases[] = {
        {" 12 ", true}, {"1e3", true}, {"", false}, {"1,5", true}, {"abc", false},
        {"1.5.2", false}, {"-", false}, {"+3", true}, {"  ", false}, {".5", true},
        {"1.", true}, {"1e", false}, {"12abc", false}, {"1e999", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsNumeric(QString::fromUtf8(c.text)), c.numeric) << c.text;
}

TEST(Vb, CDblReadsDotOrLoneComma)
{
    EXPECT_EQ(CDbl(QStringLiteral(" 12 ")), 12.0);
    EXPECT_EQ(CDbl(QStringLiteral("1,5")), 1.5);
    EXPECT_EQ(CDbl(QStringLiteral("-2.25e1")), -22.5);
    EXPECT_EQ(CDbl(QStringLiteral("+3")), 3.0);
    EXPECT_FALSE(CDbl(QStringLiteral("1.5.2")).has_value());
}

// Digit grouping is read, never mistaken for the decimal separator; IsNumeric and CDbl agree
// on every text.
TEST(Vb, GroupedDigitsReadAsTheWholeNumber)
{
    const struct {
        const char* text;
        std::optional<double> value;
    } cases[] = {
        // both separators: the last one is the decimal separator
        {"1,500.50", 1500.5}, {"1.500,50", 1500.5}, {"-1,234,567.25", -1234567.25},
        {"12.345.678,9", 12345678.9}, {" 1,500.50 ", 1500.5}, {"1,500.5e2", 150050},
        // one separator alone is the decimal separator, as before
        {"1,500", 1.5}, {"1.500", 1.5}, {",5", 0.5},
        // several of one kind group digits
        {"1,000,000", 1000000}, {"1.000.000", 1000000},
        // blanks between groups, with either decimal separator
        {"1 500,50", 1500.5}, {"1 500.50", 1500.5}, {"10 000", 10000},
        {"-2 000 000", -2000000}, {"1\u00A0500,50", 1500.5}, {"1\u202F500", 1500},
        // badly grouped or mixed texts are no numbers
        {"1,5.25", std::nullopt}, {"1 5", std::nullopt}, {"1234,567.8", std::nullopt},
        {"1.000,000,5", std::nullopt}, {"1,000.000.5", std::nullopt}, {"1 000.000,5", std::nullopt},
        {"1,000,", std::nullopt}, {",000,000", std::nullopt}, {"1,,000", std::nullopt},
        {"- 5", std::nullopt}, {"1 000 00", std::nullopt}, {"1\t500", std::nullopt},
        {"1,500.", 1500}, {"1.5.2", std::nullopt},
    };
    for (const auto& c : cases) {
        const QString text = QString::fromUtf8(c.text);
        EXPECT_EQ(CDbl(text), c.value) << c.text;
        EXPECT_EQ(IsNumeric(text), c.value.has_value()) << c.text;
        EXPECT_EQ(CLng(text).has_value(), c.value.has_value()) << c.text;
    }
    // Numbers are still written plainly.
    EXPECT_EQ(CStr(*CDbl(QStringLiteral("1.500,50"))), QStringLiteral("1500.5"));
}

TEST(Vb, ValReadsTheLeadingNumber)
{
    const struct {
        const char* text;
        double value;
    } cases[] = {
        {"12abc", 12}, {"  3.5x", 3.5}, {"abc", 0}, {"-4.5", -4.5}, {"1e3x", 1000},
        {"2e", 2}, {"1,5", 1}, {"", 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Val(QString::fromUtf8(c.text)), c.value) << c.text;
}

TEST(Vb, CStrGivesFifteenSignificantDigits)
{
    const struct {
        double value;
        const char* text;
    } cases[] = {
        {0.1 * 3, "0.3"},
        {1E16, "1E+16"},
        {1E15, "1E+15"},
        {1E14, "100000000000000"},
        {123456789012345678.0, "1.23456789012346E+17"},
        {0.00001, "1E-05"},
        {0.0001, "0.0001"},
        {-0.0, "0"},
        {2.5, "2.5"},
        {-1234.5, "-1234.5"},
        {100, "100"},
        {1.5E-100, "1.5E-100"},
        {999999999999999.9, "1E+15"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CStr(c.value), QString::fromLatin1(c.text)) << c.text;
}

TEST(Vb, RoundingIsHalfToEven)
{
    const double cases[][2] = {{2.5, 2}, {3.5, 4}, {-2.5, -2}, {0.5, 0}, {1.5, 2}, {2.6, 3}, {-2.6, -3}};
    for (const auto& c : cases)
        EXPECT_EQ(RoundHalfEven(c[0]), c[1]) << c[0];
    EXPECT_EQ(Int(-2.5), -3);
    EXPECT_EQ(Int(2.9), 2);
}

TEST(Vb, WholeNumberConversionsDetectOverflow)
{
    EXPECT_EQ(CInt(32767.0), int16_t(32767));
    EXPECT_FALSE(CInt(32768.0).has_value());
    EXPECT_FALSE(CInt(32767.5).has_value()); // rounds to 32768
    EXPECT_EQ(CInt(-32768.0), int16_t(-32768));
    EXPECT_FALSE(CInt(-32769.0).has_value());
    EXPECT_EQ(CLng(2147483647.0), 2147483647);
    EXPECT_FALSE(CLng(2147483648.0).has_value());
    EXPECT_EQ(CLng(-2147483648.0), std::numeric_limits<int32_t>::min());
    EXPECT_FALSE(CLng(std::nan("")).has_value());
    EXPECT_EQ(CLng(QStringLiteral(" 2.5 ")), 2);
    EXPECT_FALSE(CLng(QStringLiteral("x")).has_value());
}

TEST(Vb, StringHelpersCountFromOne)
{
    const QString s = QStringLiteral("abcabc");
    EXPECT_EQ(InStr(s, QStringLiteral("bc")), 2);
    EXPECT_EQ(InStr(s, QStringLiteral("bc"), 3), 5);
    EXPECT_EQ(InStr(s, QStringLiteral("bc"), 0), 2);
    EXPECT_EQ(InStr(s, QStringLiteral("bc"), 7), 0);
    EXPECT_EQ(InStr(s, QStringLiteral("BC"), 1, Qt::CaseInsensitive), 2);
    EXPECT_EQ(InStr(s, QStringLiteral("x")), 0);
    EXPECT_EQ(InStrRev(s, QStringLiteral("bc")), 5);
    EXPECT_EQ(InStrRev(s, QStringLiteral("bc"), 5), 2); // the match must end by the start
    EXPECT_EQ(InStrRev(s, QStringLiteral("a"), 1), 1);
    EXPECT_EQ(Mid(s, 2, 3), QStringLiteral("bca"));
    EXPECT_EQ(Mid(s, 5), QStringLiteral("bc"));
    EXPECT_EQ(Mid(s, 9), QString());
    EXPECT_EQ(Left(s, 2), QStringLiteral("ab"));
    EXPECT_EQ(Right(s, 2), QStringLiteral("bc"));
    EXPECT_EQ(Right(s, 10), s);
}

TEST(Vb, GeneralDateHasDateAndSecondsWithoutZone)
{
    const QString text = GeneralDate(QDateTime(QDate(2024, 2, 29), QTime(13, 5, 9)));
    EXPECT_TRUE(text.contains(QStringLiteral("05:09")) || text.contains(QStringLiteral("5:09"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("29"))) << text.toStdString();
    EXPECT_FALSE(text.contains(QStringLiteral("UTC"))) << text.toStdString();
}
