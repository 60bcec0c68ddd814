// The A1 address helpers, the typed-number rule, the date format code, the grouping of buffered writes into
// blocks and the reading of a sheet's CSV form, all without an office.

#include "platform/calc/cellbuffer.h"
#include "platform/calc/dateformatcode.h"
#include "platform/calc/sheettext.h"
#include "platform/spreadsheet.h"

#include <gtest/gtest.h>
#include <map>

using platform::calc::CellBuffer;
using platform::calc::readsAsNumber;

TEST(CellAddress, ParsesAndFormatsColumnsAndRows)
{
    struct Case {
        const char* address;
        int column;
        int row;
    };
    for (const Case& c : {Case{"A1", 1, 1}, Case{"Z9", 26, 9}, Case{"AA20", 27, 20}, Case{"AF120", 32, 120},
                          Case{"ag19", 33, 19}, Case{"D83", 4, 83}, Case{"B65000", 2, 65000}}) {
        int column = 0;
        int row = 0;
        ASSERT_TRUE(platform::parseCellAddress(QString::fromLatin1(c.address), column, row)) << c.address;
        EXPECT_EQ(column, c.column) << c.address;
        EXPECT_EQ(row, c.row) << c.address;
        EXPECT_EQ(platform::columnLetters(column) + QString::number(row), QString::fromLatin1(c.address).toUpper());
    }
    for (const char* bad : {"", "A", "12", "A0", "A01", "1A", "A1B", "A-1", "$A$1", "A1:B2", "ÄB1", "A99999999999"}) {
        int column = 0;
        int row = 0;
        EXPECT_FALSE(platform::parseCellAddress(QString::fromUtf8(bad), column, row)) << bad;
    }
}

TEST(TypedNumber, NumbersAsTheProgramWritesThemAndNothingElse)
{
    struct Case {
        const char* text;
        bool number;
        double value;
        int decimals;
    };
    for (const Case& c : {Case{"12", true, 12, 0}, Case{"-3.5", true, -3.5, 1}, Case{"0", true, 0, 0},
                          Case{"0.25", true, 0.25, 2}, Case{"24.50", true, 24.5, 2}, Case{"98.00", true, 98, 2},
                          Case{"3.20", true, 3.2, 2}, Case{"1.75", true, 1.75, 2}, Case{"-0.5", true, -0.5, 1},
                          Case{"123456789012345", true, 123456789012345.0, 0}, Case{"1234567890.12345", true, 1234567890.12345, 5},
                          Case{"1234567890123456", false, 0, 0}, Case{"1234567890.123456", false, 0, 0},
                          Case{"007", false, 0, 0}, Case{"00.5", false, 0, 0}, Case{"-007", false, 0, 0},
                          Case{"1,5", false, 0, 0}, Case{"1,500.50", false, 0, 0}, Case{"1E5", false, 0, 0},
                          Case{"-0", false, 0, 0}, Case{"-0.00", false, 0, 0}, Case{" 12", false, 0, 0},
                          Case{"12 ", false, 0, 0}, Case{"+12", false, 0, 0}, Case{"12.", false, 0, 0},
                          Case{".5", false, 0, 0}, Case{"1.2.3", false, 0, 0}, Case{"-", false, 0, 0},
                          Case{"=1+1", false, 0, 0}, Case{"", false, 0, 0}, Case{"abc", false, 0, 0},
                          Case{"\xd9\xa3", false, 0, 0}}) {
        double value = -1;
        int decimals = -1;
        EXPECT_EQ(readsAsNumber(QString::fromUtf8(c.text), value, decimals), c.number) << c.text;
        if (c.number) {
            EXPECT_EQ(value, c.value) << c.text;
            EXPECT_EQ(decimals, c.decimals) << c.text;
        }
    }
}

TEST(DateFormatCode, QtPatternsBecomeTheOfficesCodes)
{
    const struct {
        const char* pattern;
        const char* code;
    } cases[] = {
        {"dd.MM.yyyy HH:mm:ss", R"(DD"."MM"."YYYY" "HH":"MM":"SS)"},
        {"M/d/yy h:mm:ss AP", R"(M"/"D"/"YY" "H":"MM":"SS" "AM/PM)"},
        {"d. MM. yy H:mm:ss", R"(D". "MM". "YY" "H":"MM":"SS)"},
        {"dddd, MMMM d, yyyy", R"(NNN", "MMMM" "D", "YYYY)"},
        {"ddd d MMM yy", R"(NN" "D" "MMM" "YY)"},
        {"yyyy-MM-dd'T'HH:mm", R"(YYYY"-"MM"-"DD"T"HH":"MM)"},
        {"h 'o''clock' ap", R"(H" o'clock "am/pm)"},
        {"h:mm a", R"(H":"MM" "am/pm)"},
        {"HH:mm:ss \"x\"", R"(HH":"MM":"SS" "\""x"\")"},
        {"''HH", R"("'"HH)"},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(platform::calc::officeDateCode(QString::fromUtf8(c.pattern)), QString::fromUtf8(c.code)) << c.pattern;
}

namespace {

CellBuffer::Value text(const char* t)
{
    CellBuffer::Value v;
    v.text = QString::fromLatin1(t);
    return v;
}

} // namespace

TEST(CellBuffer, RowsWrittenInOrderBecomeOneBlock)
{
    CellBuffer buffer;
    for (int row = 1; row <= 100; ++row)
        for (int column = 1; column <= 32; ++column)
            buffer.put(row, column, text("x"));
    const auto blocks = buffer.takeBlocks();
    ASSERT_EQ(blocks.size(), 1u);
    EXPECT_EQ(blocks[0].firstRow, 1);
    EXPECT_EQ(blocks[0].firstColumn, 1);
    EXPECT_EQ(blocks[0].rows, 100);
    EXPECT_EQ(blocks[0].columns, 32);
    EXPECT_TRUE(buffer.empty());
}

TEST(CellBuffer, BlocksCoverOnlyTheWrittenCells)
{
    // A form: a column of company lines, then label and value pairs two rows apart, written
    // out of order; the cells between them (labels of the form) must not be touched.
    CellBuffer buffer;
    for (int row = 2; row <= 8; ++row)
        buffer.put(row, 2, text("company"));
    for (int i = 3; i <= 5; ++i) {
        buffer.put(2 * i + 19, 2, text("header"));
        buffer.put(2 * i + 19, 4, text("value"));
    }
    buffer.put(15, 4, text("date"));
    buffer.put(3, 2, text("second write wins"));

    int cells = 0;
    std::map<std::pair<int, int>, QString> seen;
    for (const auto& block : buffer.takeBlocks()) {
        ASSERT_EQ(block.values.size(), std::size_t(block.rows * block.columns));
        for (int r = 0; r < block.rows; ++r)
            for (int c = 0; c < block.columns; ++c) {
                const auto key = std::make_pair(block.firstRow + r, block.firstColumn + c);
                EXPECT_FALSE(seen.count(key)) << "cell written twice";
                seen[key] = block.values[r * block.columns + c].text;
                ++cells;
            }
    }
    EXPECT_EQ(cells, 7 + 6 + 1);
    EXPECT_EQ(seen[std::make_pair(3, 2)], QStringLiteral("second write wins"));
    EXPECT_EQ(seen[std::make_pair(25, 4)], QStringLiteral("value"));
    EXPECT_FALSE(seen.count(std::make_pair(25, 3)));
    EXPECT_FALSE(seen.count(std::make_pair(9, 2)));
}

TEST(SheetText, ReadsTheOfficeCsvFormOfASheet)
{
    const QByteArray csv = "Item,12,\"a, \"\"quoted\"\" one\"\r\n"
                           ",,\"two\nlines\"\n"
                           "\n"
                           "\xc4\x8c\xc4\x87,=1+1";
    const auto sheet = platform::calc::SheetText::fromCsv(csv);
    EXPECT_EQ(sheet.rowCount(), 4);
    EXPECT_EQ(sheet.at(1, 1), QStringLiteral("Item"));
    EXPECT_EQ(sheet.at(1, 2), QStringLiteral("12"));
    EXPECT_EQ(sheet.at(1, 3), QStringLiteral("a, \"quoted\" one"));
    EXPECT_EQ(sheet.at(2, 1), QString());
    EXPECT_EQ(sheet.at(2, 3), QStringLiteral("two\nlines"));
    EXPECT_EQ(sheet.at(3, 1), QString());
    EXPECT_EQ(sheet.at(4, 1), QStringLiteral("Čć"));
    EXPECT_EQ(sheet.at(4, 2), QStringLiteral("=1+1"));
    EXPECT_EQ(sheet.at(4, 3), QString()); // beyond the row
    EXPECT_EQ(sheet.at(9, 1), QString()); // beyond the sheet
    EXPECT_EQ(sheet.at(0, 0), QString());
}
