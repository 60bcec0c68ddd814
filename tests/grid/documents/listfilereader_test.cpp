#include "grid/documents/listdocument.h"
#include "grid/documents/listfilereader.h"
#include "grid/documents/listfilescrambler.h"
#include "grid/documents/listfilewriter.h"

#include "support/qtprinters.h"

#include <gtest/gtest.h>
#include <limits>
#include <string>

using grid::ListDocument;
using grid::ListFileCell;
using grid::ListFileReader;
using grid::ListFileScrambler;
using grid::ListFileWriter;

namespace {

// 32 columns; every flag combination and a spread of colours, texts holding "#".
ListDocument richDocument()
{
    ListDocument doc;
    for (int c = 1; c <= 32; ++c)
        doc.columns.append({QStringLiteral("Col %1 #|x").arg(c), 5 + c * 15});
    doc.setRowCount(12);
    const int32_t colours[] = {0, 255, 0x00FFFFFF, -1, int32_t(0x8000000F), int32_t(0x80000008),
                               std::numeric_limits<int32_t>::min(), 0x7FFFFFFF};
    for (int flags = 0; flags < 8; ++flags) {
        ListFileCell cell;
        cell.text = QStringLiteral("#%1#a#b#5#").arg(flags);
        cell.bold = flags & 1;
        cell.underline = flags & 2;
        cell.italic = flags & 4;
        cell.color = colours[flags];
        doc.setCell(flags + 1, flags * 4 + 1, cell);
    }
    doc.setCell(10, 32, {QStringLiteral("čćšžđ ČĆŠŽĐ öäëß\nsecond line")});
    doc.setCell(12, 1, {QStringLiteral("last")});
    return doc;
}

void expectSameContent(const ListDocument& read, const ListDocument& written)
{
    ASSERT_EQ(read.columnCount(), written.columnCount());
    for (int c = 1; c <= written.columnCount(); ++c) {
        EXPECT_EQ(read.caption(c), written.caption(c));
        EXPECT_EQ(read.width(c), written.width(c));
    }
    ASSERT_EQ(read.rowCount(), written.rowCount());
    for (int r = 1; r <= written.rowCount(); ++r)
        for (int c = 1; c <= 32; ++c)
            EXPECT_EQ(read.at(r, c), written.at(r, c)) << "row " << r << " column " << c;
}

ListDocument readOk(const QByteArray& bytes)
{
    ListDocument doc;
    const auto result = ListFileReader::read(bytes, doc, QStringLiteral("test.QVI"));
    EXPECT_TRUE(result.ok) << result.error.toStdString();
    return doc;
}

} // namespace

TEST(ListFileReader, RoundTripsThroughAllThreeForms)
{
    const ListDocument doc = richDocument();

    const ListDocument plain = readOk(ListFileWriter::plainBytes(doc));
    EXPECT_EQ(plain.form, ListDocument::Form::Plain);
    EXPECT_FALSE(plain.passwordLine);
    expectSameContent(plain, doc);

    const QByteArray passwordBytes = grid::ListFileScrambler::applied(
        ListFileWriter::scrambledBytes(doc, QStringLiteral("secret")));
    const ListDocument password = readOk(passwordBytes);
    EXPECT_EQ(password.form, ListDocument::Form::Password);
    EXPECT_EQ(password.passwordLine, QStringLiteral("secret"));
    expectSameContent(password, doc);

    const ListDocument scrambled = readOk(ListFileWriter::scrambledBytes(doc, QStringLiteral("p&z7")));
    EXPECT_EQ(scrambled.form, ListDocument::Form::Scrambled);
    EXPECT_EQ(scrambled.passwordLine, QStringLiteral("p&z7"));
    expectSameContent(scrambled, doc);
}

TEST(ListFileReader, ScrambledBytesOfASmallDocumentMatchTheHandComputedFixture)
{
    ListDocument doc;
    doc.columns = {{"Name", 120}, {"Price", 60}};
    doc.setRowCount(2);
    doc.setCell(1, 1, {QStringLiteral("Čaj#1"), true, false, false, 255});
    doc.setCell(1, 2, {QStringLiteral("2,50"), false, true, false, 0});
    doc.setCell(2, 1, {QStringLiteral("Kava"), false, false, true, int32_t(0x8000000F)});
    doc.setCell(2, 2, {QString(), true, false, false, 0}); // formatting without text is not written

    // The text, Windows-1250, CR LF after every line (104 bytes):
    //   #@#  p&z7  \\2|#||Name|120||Price|60  \\2
    //   Čaj#1#255#100#1#1  2,50#0#001#2#1  Kava#-2147483633#010#1#2
    // XOR-ed with "kq#47@trBNm" from its second character on: '#' 0x23 ^ 'q' 0x71 = 0x52,
    // '@' 0x40 ^ '#' 0x23 = 0x63, '#' 0x23 ^ '4' 0x34 = 0x17, ..., byte 11 (LF 0x0A) ^ 'k'
    // 0x6B = 0x61, byte 44 ('Č' 0xC8) ^ key character 1 ('k' 0x6B) = 0xA3.
    const unsigned char expected[] = {
        0x52, 0x63, 0x17, 0x3A, 0x4A, 0x04, 0x54, 0x38, 0x79, 0x60, 0x61, 0x2D, 0x7F, 0x06, 0x4B, 0x63,
        0x08, 0x0E, 0x0C, 0x2F, 0x00, 0x0E, 0x0D, 0x12, 0x06, 0x07, 0x3C, 0x08, 0x22, 0x30, 0x27, 0x0E,
        0x0E, 0x0D, 0x15, 0x04, 0x3A, 0x4A, 0x28, 0x2E, 0x70, 0x43, 0x67, 0xA3, 0x10, 0x49, 0x17, 0x06,
        0x63, 0x46, 0x47, 0x77, 0x6D, 0x5C, 0x5B, 0x41, 0x00, 0x05, 0x14, 0x71, 0x79, 0x78, 0x70, 0x62,
        0x58, 0x5B, 0x52, 0x13, 0x17, 0x07, 0x70, 0x45, 0x51, 0x70, 0x6D, 0x5C, 0x66, 0x7B, 0x68, 0x55,
        0x41, 0x21, 0x57, 0x5F, 0x70, 0x7F, 0x59, 0x5C, 0x45, 0x1B, 0x07, 0x01, 0x73, 0x47, 0x51, 0x72,
        0x7F, 0x5D, 0x48, 0x40, 0x00, 0x06, 0x3A, 0x4A};
    const QByteArray fixture(reinterpret_cast<const char*>(expected), sizeof expected);
    EXPECT_EQ(ListFileWriter::scrambledBytes(doc, QStringLiteral("p&z7")), fixture);

    const ListDocument back = readOk(fixture);
    EXPECT_EQ(back.at(1, 1).text, QStringLiteral("Čaj#1"));
    EXPECT_EQ(back.at(2, 1).color, int32_t(0x8000000F));
    EXPECT_FALSE(back.at(2, 2).bold);
}

TEST(ListFileReader, FilesAroundTheChunkSizeReadBack)
{
    // One chunk of 1,048,577 bytes, two chunks, and two full chunks before a last one of
    // 1,048,577 bytes, whose last byte takes key character 3, not the 2 of a chunk's first.
    for (const qsizetype size : {qsizetype(0x100001), qsizetype(0x100002), qsizetype(3 * 0x100000 + 1)}) {
        ListDocument doc;
        doc.columns = {{"A", 100}};
        doc.setCell(1, 1, {QStringLiteral("x")});
        const QString text = ListFileWriter::passwordText(doc, QStringLiteral("p&z7"));
        doc.setCell(1, 1, {QString(size - text.size() + 1, QLatin1Char('w'))});
        const QByteArray bytes = ListFileWriter::scrambledBytes(doc, QStringLiteral("p&z7"));
        ASSERT_EQ(bytes.size(), size);
        EXPECT_EQ(bytes, ListFileScrambler::applied(ListFileWriter::plainBytes(doc).prepend("#@#\r\np&z7\r\n")));
        const ListDocument back = readOk(bytes);
        EXPECT_EQ(back.at(1, 1).text, doc.at(1, 1).text) << size;
    }
}

TEST(ListFileReader, LinesAcrossTheReadersBlocksAndTheChunks)
{
    // The reader decodes a block of bytes at a time (64 KiB, and a scrambled file's chunks
    // of 1 MiB): a line end at every position around those boundaries, CR LF split between
    // two blocks included, ends its line there and nowhere else.
    const QByteArray header = "\\\\1|#||A|50\r\n\\\\3\r\n";
    const QByteArray password = "#@#\r\np&z7\r\n";
    for (const bool scrambled : {false, true}) {
        for (const QByteArray& end : {QByteArray("\r\n"), QByteArray("\r")}) {
            for (const qsizetype boundary : {qsizetype(0x10000), qsizetype(0x20000), qsizetype(0x100000)}) {
                for (qsizetype at = boundary - 2; at <= boundary + 1; ++at) {
                    const QByteArray head = (scrambled ? password : QByteArray()) + header;
                    const qsizetype length = at - head.size() - qsizetype(sizeof "#0#000#1#1") + 1;
                    QByteArray bytes = head + QByteArray(length, 'w') + "#0#000#1#1" + end
                                       + "y#0#000#1#2" + end + "z#0#000#1#3";
                    ASSERT_EQ(bytes.indexOf('\r', head.size()), at);
                    if (scrambled)
                        ListFileScrambler::apply(bytes);
                    const ListDocument doc = readOk(bytes);
                    const std::string where = (scrambled ? "scrambled, " : "plain, ") + std::to_string(end.size())
                                              + "-byte line end at " + std::to_string(at);
                    EXPECT_EQ(doc.at(1, 1).text.size(), length) << where;
                    EXPECT_EQ(doc.at(2, 1).text, QStringLiteral("y")) << where;
                    EXPECT_EQ(doc.at(3, 1).text, QStringLiteral("z")) << where;
                }
            }
        }
    }
}

TEST(ListFileReader, LinesComingBackToAnEarlierRowOrCellKeepWhatItHolds)
{
    QByteArray bytes = "\\\\2|#||A|50||B|50\r\n\\\\3\r\n"
                       "a1#0#000#1#1\r\n"
                       "b2#0#000#2#2\r\n"
                       "b1#255#100#2#1\r\n"  // back to row 1: its column 1 stays
                       "a2#0#001#1#2\r\n";   // and to row 2
    // A cell written over and over: only the last text counts, the row's others stay.
    for (int i = 0; i < 5000; ++i)
        bytes += "long " + QByteArray::number(i) + QByteArray(100, '.') + "#0#000#2#3\r\n";
    bytes += "c3#0#000#1#3\r\n";
    const ListDocument doc = readOk(bytes);
    EXPECT_EQ(doc.at(1, 1), (ListFileCell{QStringLiteral("a1"), false, false, false, 0}));
    EXPECT_EQ(doc.at(1, 2), (ListFileCell{QStringLiteral("b1"), true, false, false, 255}));
    EXPECT_EQ(doc.at(2, 1), (ListFileCell{QStringLiteral("a2"), false, true, false, 0}));
    EXPECT_EQ(doc.at(2, 2).text, QStringLiteral("b2"));
    EXPECT_EQ(doc.at(3, 2).text, QStringLiteral("long 4999") + QString(100, QLatin1Char('.')));
    EXPECT_EQ(doc.at(3, 1).text, QStringLiteral("c3"));

    // A line far longer than a block.
    const QString longText(300000, QChar(u'ž'));
    const ListDocument single = readOk("\\\\1|#||A|50\r\n\\\\1\r\n" + QByteArray(300000, '\x9E') + "#0#000#1#1\r\n");
    EXPECT_EQ(single.at(1, 1).text, longText);
}

TEST(ListFileReader, LineEndsAndEmptyLines)
{
    // Empty lines count for the numbering but are otherwise passed over; a lone CR ends a
    // line, a lone LF is text; the last line needs no line end.
    const QByteArray bytes = "\\\\2|#||A|50||B|60\r\n\\\\3\r\n\r\nx\ny#0#000#1#1\r\r\nz#0#000#2#3";
    const ListDocument doc = readOk(bytes);
    EXPECT_EQ(doc.columnCount(), 2);
    EXPECT_EQ(doc.rowCount(), 3);
    EXPECT_EQ(doc.at(1, 1).text, QStringLiteral("x\ny"));
    EXPECT_EQ(doc.at(3, 2).text, QStringLiteral("z"));
}

TEST(ListFileReader, CellLinesOutsideTheRowsOrColumnsChangeNothing)
{
    const QByteArray bytes = "\\\\10|#||A|50\r\n\\\\3\r\n"
                             "r5#0#000#1#5\r\n"     // row beyond the count
                             "c40#0#000#40#1\r\n"   // column beyond 32
                             "c20#0#000#20#1\r\n"   // beyond the header's columns: kept
                             "r0#0#000#1#0\r\n"     // row 0 holds no row
                             "first#255#100#1#2\r\n"
                             "second#0#0x0#1#2\r\n"; // a later line for the same cell wins
    const ListDocument doc = readOk(bytes);
    EXPECT_EQ(doc.rowCount(), 3);
    EXPECT_EQ(doc.at(1, 20).text, QStringLiteral("c20"));
    EXPECT_TRUE(doc.at(1, 1).text.isEmpty());
    // "0x0": bold cleared, underline kept from the first line (clear), italic cleared; the
    // colour comes from the second line.
    EXPECT_EQ(doc.at(2, 1), (ListFileCell{QStringLiteral("second"), false, false, false, 0}));
    EXPECT_EQ(doc.lastColumnOf(3), 0);
}

TEST(ListFileReader, ALineWhoseRowOrColumnDoesNotReadIsSkipped)
{
    // A cell line with a broken row or column must not land in the cell of the line before.
    const QByteArray bytes = "\\\\1|#||A|50\r\n\\\\2\r\n"
                             "good#0#000#1#1\r\n"
                             "stray#255#111#1#\r\n"
                             "stray#255#111#x#2\r\n";
    const ListDocument doc = readOk(bytes);
    EXPECT_EQ(doc.at(1, 1), (ListFileCell{QStringLiteral("good"), false, false, false, 0}));
    EXPECT_TRUE(doc.at(2, 1).text.isEmpty());
}

TEST(ListFileReader, RowCountBelowOneKeepsOneRow)
{
    for (const QByteArray& count : {QByteArray("0"), QByteArray("-5"), QByteArray("-") + QByteArray(400, '9')}) {
        const QByteArray bytes = QByteArray("\\\\1|#||A|50\r\n\\\\") + count + "\r\nx#0#000#1#1\r\n";
        const ListDocument doc = readOk(bytes);
        EXPECT_EQ(doc.rowCount(), 1) << count.left(20).constData();
        EXPECT_EQ(doc.at(1, 1).text, QStringLiteral("x")) << count.left(20).constData();
    }
}

TEST(ListFileReader, RowCountBeyondWhatAGridHoldsIsRefused)
{
    ListDocument doc;
    doc.columns = {{"kept", 70}};
    const QByteArray ok = "\\\\1|#||A|50\r\n\\\\1048576\r\n";
    ListDocument big;
    EXPECT_TRUE(ListFileReader::read(ok, big, QStringLiteral("ok.QVI")).ok);
    EXPECT_EQ(big.rowCount(), 1048576);

    // Every count that does not fit, up to counts too large even for a double (309 digits
    // and more), is refused the same way.
    for (const QByteArray& count : {QByteArray("1048577"), QByteArray("4294967297"), QByteArray("1e40"),
                                    QByteArray(11, '9'), QByteArray(308, '9'), QByteArray(309, '9'),
                                    QByteArray(400, '7'), QByteArray("1e400")}) {
        const QByteArray huge = QByteArray("\\\\1|#||A|50\r\n\\\\") + count + "\r\nx#0#000#1#1\r\n";
        const auto result = ListFileReader::read(huge, doc, QStringLiteral("/data/huge.QVI"));
        EXPECT_FALSE(result.ok) << count.size() << " characters: " << count.left(20).constData();
        EXPECT_TRUE(result.error.contains(QStringLiteral("/data/huge.QVI")));
        EXPECT_TRUE(result.error.contains(QStringLiteral("declares")));
        EXPECT_EQ(doc.columns.value(0).caption, QStringLiteral("kept"));
    }
}

TEST(ListFileReader, PasswordFormsAndTheirPasswordLine)
{
    // Unscrambled password form, empty password line.
    ListDocument doc = readOk("#@#\r\n\r\n\\\\1|#||A|50\r\n\\\\1\r\nv#0#000#1#1\r\n");
    EXPECT_EQ(doc.form, ListDocument::Form::Password);
    EXPECT_EQ(doc.passwordLine, QString(""));
    EXPECT_EQ(doc.at(1, 1).text, QStringLiteral("v"));

    // Only the "#@#" line: no password line at all.
    doc = readOk("#@#\r\n");
    EXPECT_FALSE(doc.passwordLine);
    EXPECT_EQ(doc.columnCount(), 0);

    // A plain file whose header happens to begin "#@#" would be a password file; the test is
    // on the first three characters only.
    doc = readOk("#@#x\r\npw\r\n\\\\1|#||A|50\r\n");
    EXPECT_EQ(doc.passwordLine, QStringLiteral("pw"));
    EXPECT_EQ(doc.columnCount(), 1);
}

TEST(ListFileReader, TextIsWindows1250)
{
    ListDocument doc;
    doc.columns = {{QStringLiteral("Šifra"), 80}};
    doc.setCell(1, 1, {QStringLiteral("Žemlja €5 日本")});
    const QByteArray bytes = ListFileWriter::plainBytes(doc);
    EXPECT_TRUE(bytes.contains("\x8A" "ifra"));          // Š
    EXPECT_TRUE(bytes.contains("\x8E" "emlja \x80" "5 ??")); // Ž, €, and what 1250 lacks
    const ListDocument back = readOk(bytes);
    EXPECT_EQ(back.caption(1), QStringLiteral("Šifra"));
    EXPECT_EQ(back.at(1, 1).text, QStringLiteral("Žemlja €5 ??"));
}

// A picture or a letter given a document's extension must not open as an empty document that
// the next Save writes over: whatever does not begin with a header line and a row-count line
// holding their counts is refused, naming the file, and the document stays as it was.
TEST(ListFileReader, TextThatIsNotAListFileIsRefused)
{
    const QByteArray png("\x89PNG\r\n\x1a\n\0\0\0\rIHDR\0\0\0\x10\0\0\0\x10\x08\x06\0\0\0\x1f\xf3\xff" "a", 33);
    const struct {
        const char* what;
        QByteArray bytes;
    } refused[] = {
        {"a PNG picture", png},
        {"a letter", "Dear Sir,\r\nplease find the prices below.\r\n"},
        {"a letter of one line", "Prices | 2025"},
        {"a header without its backslashes", "1|#||A|50\r\n\\\\1\r\n"},
        {"a header whose count is no number", "\\\\x|#||A|50\r\n\\\\1\r\n"},
        {"a header without a bar", "\\\\1\r\n\\\\1\r\n"},
        {"a row count that is no number", "\\\\1|#||A|50\r\n\\\\none\r\nx#0#000#1#1\r\n"},
        {"a row-count line without backslashes", "\\\\1|#||A|50\r\n7\r\n"},
        // Its last digit taken for the count, it would open as 7 rows, to be saved over.
        {"a row count of three digits without its backslashes", "\\\\1|#||A|50\r\n777\r\nx#0#000#1#1\r\n"},
        {"cell lines where the row count belongs", "\\\\1|#||A|50\r\nx#0#000#1#1\r\n"},
        {"cell lines after an empty row-count line", "\\\\1|#||A|50\r\n\r\nx#0#000#1#1\r\n"},
        {"lines after an empty header line", "\r\n\\\\1\r\nx#0#000#1#1\r\n"},
        {"a password form over a letter", "#@#\r\np&z7\r\nDear Sir,\r\n"},
        {"a scrambled letter", ListFileScrambler::applied("#@#\r\np&z7\r\nDear Sir,\r\n")},
    };
    for (const auto& file : refused) {
        ListDocument doc;
        doc.columns = {{"kept", 70}};
        const auto result = ListFileReader::read(file.bytes, doc, QStringLiteral("/data/Tools.QVI"));
        EXPECT_FALSE(result.ok) << file.what;
        EXPECT_TRUE(result.error.contains(QStringLiteral("\"/data/Tools.QVI\""))) << file.what;
        EXPECT_EQ(doc.columns.value(0).caption, QStringLiteral("kept")) << file.what;
    }

    // Every list file this program or the older one writes still reads, the empty ones and
    // those a cut-short write left included.
    ListDocument fresh;
    fresh.columns = {{QString(), 100}};
    fresh.setRowCount(1);
    const struct {
        const char* what;
        QByteArray bytes;
        int columns;
    } read[] = {
        {"a new grid, plain", ListFileWriter::plainBytes(fresh), 1},
        {"a new grid, scrambled", ListFileWriter::scrambledBytes(fresh, QStringLiteral("p&z7")), 1},
        {"saved in place with no password line", ListFileWriter::scrambledBytes(fresh, QString()), 1},
        {"the password form unscrambled", "#@#\r\npw\r\n\\\\1|#||A|50\r\n\\\\1\r\n", 1},
        {"no bytes at all", QByteArray(), 0},
        {"only the password lines", "#@#\r\n\r\n", 0},
        {"only empty lines", "\r\n\r\n\r\n", 0},
        {"only the header line", "\\\\2|#||A|50||B|60\r\n", 2},
        {"a header that names more columns than it holds", "\\\\3|#||A|50||B|60\r\n\\\\1\r\n", 2},
        {"a header with no entries", "\\\\0|#\r\n\\\\1\r\n", 0},
        {"cell lines that do not read", "\\\\1|#||A|50\r\n\\\\1\r\nno cell\r\n", 1},
    };
    for (const auto& file : read) {
        ListDocument doc;
        const auto result = ListFileReader::read(file.bytes, doc, QStringLiteral("ok.QVI"));
        EXPECT_TRUE(result.ok) << file.what << ": " << result.error.toStdString();
        EXPECT_EQ(doc.columnCount(), file.columns) << file.what;
    }
}

namespace {

// An item group of twelve rows, the last one empty, so that row numbers take two digits.
ListDocument twelveRows()
{
    ListDocument doc;
    doc.columns = {{QStringLiteral("Item Name"), 100}, {QStringLiteral("Price"), 60}};
    doc.setRowCount(12);
    for (int r = 1; r <= 11; ++r) {
        doc.setCell(r, 1, {QStringLiteral("Item %1").arg(r)});
        doc.setCell(r, 2, {QString::number(r * 10)});
    }
    return doc;
}

} // namespace

namespace grid {
void PrintTo(const ListFileCut& cut, std::ostream* os)
{
    *os << "cut{declared " << (cut.declaredRows ? std::to_string(*cut.declaredRows) : "none") << ", found "
        << cut.lastRowFound << '}';
}
} // namespace grid

// A file cut short reads as far as it goes, and says how many rows it should hold and up to
// which row it still held them. The format tells a whole file by its row-count line and the
// CR LF after its last line.
TEST(ListFileReader, AFileCutShortSaysWhatItStillHolds)
{
    using Cut = std::optional<grid::ListFileCut>;
    const ListDocument doc = twelveRows();
    const QByteArray plain = ListFileWriter::plainBytes(doc);
    const QByteArray password = "#@#\r\np&z7\r\n" + plain;
    const qsizetype countEnd = plain.indexOf("\r\n", plain.indexOf("\r\n") + 2) + 2; // after the row count
    const qsizetype row3 = plain.indexOf("Item 3");
    const qsizetype last = plain.lastIndexOf("#11\r\n"); // row 11's last cell line: "...#2#11"
    const struct {
        const char* what;
        QByteArray bytes;
        Cut cut;
        int rows;
    } files[] = {
        {"whole, plain", plain, std::nullopt, 12},
        {"whole, password form", password, std::nullopt, 12},
        {"whole, scrambled", ListFileScrambler::applied(password), std::nullopt, 12},
        {"no bytes: a new document", QByteArray(), std::nullopt, 1},
        {"whole, its lines ended by carriage returns alone", QByteArray(plain).replace("\r\n", "\r"), std::nullopt, 12},
        {"carriage returns alone, inside its last line", QByteArray(plain).replace("\r\n", "\r").chopped(4),
         grid::ListFileCut{12, 11}, 12},
        {"the header line only", plain.left(plain.indexOf("\r\n") + 2), grid::ListFileCut{std::nullopt, 0}, 1},
        {"scrambled, up to its header line",
         ListFileScrambler::applied(password.left(password.indexOf("\\\\12\r\n"))), grid::ListFileCut{std::nullopt, 0},
         1},
        {"inside the header line", plain.left(20), grid::ListFileCut{std::nullopt, 0}, 1},
        {"inside the row count", plain.left(countEnd - 3), grid::ListFileCut{std::nullopt, 0}, 1},
        {"inside a text of row 3", plain.left(row3 + 4), grid::ListFileCut{12, 2}, 12},
        {"scrambled, inside a text of row 3", ListFileScrambler::applied(password.left(row3 + 11 + 4)),
         grid::ListFileCut{12, 2}, 12},
        {"without the last line feed", plain.chopped(1), grid::ListFileCut{12, 11}, 12},
        {"without the last line end", plain.chopped(2), grid::ListFileCut{12, 11}, 12},
        // Row 11 cut to row 1 would write over row 1's price: that line is left out.
        {"inside the last row number", plain.left(last + 2), grid::ListFileCut{12, 11}, 12},
    };
    for (const auto& file : files) {
        const ListDocument read = readOk(file.bytes);
        EXPECT_EQ(read.cut, file.cut) << file.what;
        EXPECT_EQ(read.rowCount(), file.rows) << file.what;
    }
    const ListDocument shortened = readOk(plain.left(last + 2));
    EXPECT_EQ(shortened.at(1, 2).text, QStringLiteral("10"));
    EXPECT_EQ(shortened.at(11, 2).text, QString());
    EXPECT_EQ(shortened.at(11, 1).text, QStringLiteral("Item 11"));
}

// Wherever a saved file is cut, what is read of it is the document's own cells in their own
// places, and the file is known to be cut, unless it ends on a line end after its row count,
// where nothing in the file tells.
TEST(ListFileReader, EveryCutOfASavedFileReadsOnlyCellsItHeld)
{
    const ListDocument doc = twelveRows();
    const QByteArray password = "#@#\r\np&z7\r\n" + ListFileWriter::plainBytes(doc);
    const qsizetype countEnd = password.indexOf("\\\\12\r\n") + 6;
    for (qsizetype length = 3; length < password.size(); ++length) {
        const QByteArray text = password.left(length);
        const ListDocument read = readOk(ListFileScrambler::applied(text));
        const bool tellsNothing = length >= countEnd && text.endsWith("\r\n");
        EXPECT_EQ(read.cut.has_value(), !tellsNothing) << length << " bytes";
        for (int r = 1; r <= read.rowCount(); ++r) {
            for (int c = 1; c <= 2; ++c) {
                if (const QString cell = read.at(r, c).text; !cell.isEmpty()) {
                    EXPECT_EQ(cell, doc.at(r, c).text) << length << " bytes, row " << r << ", column " << c;
                }
            }
        }
        if (read.cut && read.cut->declaredRows) {
            EXPECT_EQ(*read.cut->declaredRows, 12) << length << " bytes";
            EXPECT_EQ(read.lastColumnOf(read.cut->lastRowFound) > 0, read.cut->lastRowFound > 0) << length;
        }
    }
}
