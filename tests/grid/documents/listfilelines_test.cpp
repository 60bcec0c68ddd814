#include "grid/documents/listdocument.h"
#include "grid/documents/listfilelines.h"

#include "support/qtprinters.h"

#include <gtest/gtest.h>
#include <limits>

using grid::ListDocument;
using grid::ListFileCell;
using grid::ListFileColumn;
using grid::ListFileLines;

namespace {

QString cellLine(const ListFileCell& cell, int row, int column)
{
    QString out;
    ListFileLines::appendCellLine(out, cell, row, column);
    return out;
}

} // namespace

TEST(ListFileLines, HeaderLineRunsCountCaptionsAndWidthsTogether)
{
    ListDocument doc;
    doc.columns = {{"Item Name", 120}, {"", 5}, {"a|b", 510}};
    QString out;
    ListFileLines::appendHeaderLine(out, doc);
    EXPECT_EQ(out, QStringLiteral("\\\\3|#||Item Name|120|||5||a|b|510"));

    const auto header = ListFileLines::parseHeaderLine(out);
    ASSERT_TRUE(header);
    EXPECT_EQ(header->count, 3);
    // The width is what follows the entry's last "|", so a caption may hold a single "|".
    EXPECT_EQ(header->entries, doc.columns);
}

TEST(ListFileLines, HeaderLineOddities)
{
    EXPECT_FALSE(ListFileLines::parseHeaderLine(u"\\\\3"));   // no "|": not a header
    EXPECT_FALSE(ListFileLines::parseHeaderLine(u""));

    // A count of 3 with two entries: the reader keeps what is there.
    auto h = ListFileLines::parseHeaderLine(u"\\\\3|#||A|10||B|20");
    ASSERT_TRUE(h);
    EXPECT_EQ(h->count, 3);
    ASSERT_EQ(h->entries.size(), 2);

    // A width that is not a number is read as missing; the caption still comes.
    h = ListFileLines::parseHeaderLine(u"\\\\1|#||Name|wide");
    ASSERT_TRUE(h);
    ASSERT_EQ(h->entries.size(), 1);
    EXPECT_EQ(h->entries[0].caption, QStringLiteral("Name"));
    EXPECT_FALSE(h->entries[0].width);

    // Characters 1 and 2 are ignored whatever they are; the count runs to the first "|".
    h = ListFileLines::parseHeaderLine(u"xy12|#||A|10");
    ASSERT_TRUE(h);
    EXPECT_EQ(h->count, 12);

    // No "|#||": a count but no entries.
    h = ListFileLines::parseHeaderLine(u"\\\\0|#");
    ASSERT_TRUE(h);
    EXPECT_EQ(h->count, 0);
    EXPECT_TRUE(h->entries.isEmpty());
}

TEST(ListFileLines, RowCountLine)
{
    QString out;
    ListFileLines::appendRowCountLine(out, 65001);
    EXPECT_EQ(out, QStringLiteral("\\\\65001"));
    EXPECT_EQ(ListFileLines::parseRowCountLine(out), 65001);
    EXPECT_EQ(ListFileLines::parseRowCountLine(u"\\\\-4"), -4);
    EXPECT_FALSE(ListFileLines::parseRowCountLine(u"\\\\many"));
    EXPECT_FALSE(ListFileLines::parseRowCountLine(u"\\\\"));
    EXPECT_EQ(ListFileLines::parseRowCountLine(u"\\\\99999999999"), std::numeric_limits<qint64>::max());
    EXPECT_EQ(ListFileLines::parseRowCountLine(u"\\\\-1e30"), std::numeric_limits<qint64>::min());
    // Beyond even a double's range: still a count that does not fit, not "no count".
    const QString digits(400, QLatin1Char('9'));
    EXPECT_EQ(ListFileLines::parseRowCountLine(QStringLiteral("\\\\") + digits), std::numeric_limits<qint64>::max());
    EXPECT_EQ(ListFileLines::parseRowCountLine(QStringLiteral("\\\\-") + digits), std::numeric_limits<qint64>::min());
    EXPECT_EQ(ListFileLines::parseRowCountLine(u"\\\\1e400"), std::numeric_limits<qint64>::max());
}

TEST(ListFileLines, CellLineLayout)
{
    ListFileCell cell{QStringLiteral("a#b#5"), true, true, false, 255};
    EXPECT_EQ(cellLine(cell, 7, 3), QStringLiteral("a#b#5#255#101#3#7"));
    cell = {QStringLiteral("x"), false, true, true, int32_t(0x8000000F)};
    EXPECT_EQ(cellLine(cell, 1, 32), QStringLiteral("x#-2147483633#011#32#1"));
}

TEST(ListFileLines, CarriageReturnInACellIsWrittenAsLineFeed)
{
    const ListFileCell cell{QStringLiteral("one\r\ntwo\rthree\nfour"), false, false, false, 0};
    EXPECT_EQ(cellLine(cell, 1, 1), QStringLiteral("one\ntwo\nthree\nfour#0#000#1#1"));
}

TEST(ListFileLines, CellLineReadsFromTheRight)
{
    const auto line = ListFileLines::parseCellLine(u"#x##-16777216#101#12#65000");
    ASSERT_TRUE(line);
    EXPECT_EQ(line->text, QStringLiteral("#x#"));
    EXPECT_EQ(line->color, -16777216);
    EXPECT_EQ(line->bold, true);
    EXPECT_EQ(line->underline, false);
    EXPECT_EQ(line->italic, true);
    EXPECT_EQ(line->column, 12);
    EXPECT_EQ(line->row, 65000);
}

TEST(ListFileLines, CellFieldsThatDoNotReadAreLeftOut)
{
    // Any digit sets a flag; anything else leaves it to the cell.
    auto line = ListFileLines::parseCellLine(u"t#12#5x0#1#2");
    ASSERT_TRUE(line);
    EXPECT_EQ(line->bold, true);
    EXPECT_FALSE(line->underline);
    EXPECT_EQ(line->italic, false);
    EXPECT_EQ(line->color, 12);

    line = ListFileLines::parseCellLine(u"t#red#000#1#2");
    ASSERT_TRUE(line);
    EXPECT_FALSE(line->color);
    EXPECT_EQ(line->text, QStringLiteral("t"));

    // The character that closes the colour field is not looked at.
    line = ListFileLines::parseCellLine(u"t#9Z000#1#2");
    ASSERT_TRUE(line);
    EXPECT_EQ(line->color, 9);
}

TEST(ListFileLines, CellLinesWithoutAPlaceAreRefused)
{
    // Each of these would otherwise put its fields into some other cell.
    for (const char16_t* text : {u"t#0#000#1#x", u"t#0#000#one#2", u"t#0#000#1#", u"t#0#000##2",
                                 u"t#0#000#1#99999999999", u"t#0#1#2", u"no marks", u"#1#2", u""})
        EXPECT_FALSE(ListFileLines::parseCellLine(text)) << QString::fromUtf16(text).toStdString();
}

TEST(ListFileLines, NumbersInOtherClassicFormsStillRead)
{
    EXPECT_EQ(ListFileLines::parseWhole(u"42", 0, 100), 42);
    EXPECT_EQ(ListFileLines::parseWhole(u"-7", -10, 10), -7);
    EXPECT_EQ(ListFileLines::parseWhole(u" 5", 0, 10), 5);
    EXPECT_EQ(ListFileLines::parseWhole(u"2.5", 0, 10), 2);  // half to even
    EXPECT_FALSE(ListFileLines::parseWhole(u"", 0, 10));
    EXPECT_FALSE(ListFileLines::parseWhole(u"11", 0, 10));
    EXPECT_FALSE(ListFileLines::parseWhole(u"-", 0, 10));
    EXPECT_FALSE(ListFileLines::parseWhole(u"1a", 0, 10));
}
