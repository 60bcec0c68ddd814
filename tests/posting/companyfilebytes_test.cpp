// A company file changed in place by a posting holds exactly the bytes the grid's writer
// gives for the document the file reads as, with its balance cells set: whatever form the
// file was in, wherever the contacts stand and however the balance's length changes.

#include "grid/documents/listdocument.h"
#include "grid/documents/listfilereader.h"
#include "grid/documents/listfilescrambler.h"
#include "grid/documents/listfilewriter.h"
#include "platform/safefile.h"
#include "platform/textcodec.h"
#include "posting/companyfile.h"

#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <ostream>
#include <utility>
#include <vector>

namespace {

using grid::ListDocument;
using grid::ListFileCell;
using Balances = std::vector<std::pair<int, QString>>;

// A contact company file of `rows` contacts; row r's balance is r.25 unless `balance` says.
ListDocument company(int rows, const std::function<QString(int)>& balance = {})
{
    ListDocument document;
    document.declaredColumnCount = 4;
    document.columns = {{QStringLiteral("Contact Name"), 120}, {QStringLiteral("Balance"), 90},
                        {QStringLiteral("Address"), 90}, {QStringLiteral("Phone"), 90}};
    document.setRowCount(rows);
    for (int r = 1; r <= rows; ++r) {
        document.setCell(r, 1, {QStringLiteral("Kontakt č%1 #š").arg(r)});
        const QString text = balance ? balance(r) : QStringLiteral("%1.25").arg(r);
        if (!text.isEmpty())
            document.setCell(r, 2, {text, r % 3 == 0, r % 5 == 0, false, r % 7 == 0 ? 255 : 0});
        document.setCell(r, 3, {QStringLiteral("Ulica %1").arg(r)});
        if (r % 2)
            document.setCell(r, 4, {QStringLiteral("03 %1").arg(100000 + r)});
    }
    return document;
}

QByteArray scrambledText(const QString& text)
{
    return grid::ListFileScrambler::applied(platform::toAnsi(text));
}

QByteArray written(const ListDocument& document)
{
    return grid::ListFileWriter::scrambledBytes(document, QStringLiteral("p&z7"));
}

// The text of the scrambled form with `change` applied to it.
QByteArray editedText(const ListDocument& document, const std::function<void(QString&)>& change)
{
    QString text = grid::ListFileWriter::passwordText(document, QStringLiteral("own pass"));
    change(text);
    return scrambledText(text);
}

struct Case {
    const char* name;
    std::function<QByteArray()> stored;
    Balances balances; // set in this order
    bool inPlace;      // whether the file opens in the writer's own form
    bool stays = true; // whether its lines then take the changes in place
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

const ListDocument& small()
{
    static const ListDocument document = company(7);
    return document;
}

std::vector<Case> cases()
{
    return {
        {"FirstRowLonger", [] { return written(small()); }, {{1, QStringLiteral("100001.01")}}, true},
        {"MiddleRowShorter", [] { return written(small()); }, {{4, QStringLiteral("4")}}, true},
        {"LastRowNegative", [] { return written(small()); }, {{7, QStringLiteral("-0.07")}}, true},
        {"BothPartiesInOneFile", [] { return written(small()); },
         {{6, QStringLiteral("6000000.1")}, {2, QStringLiteral("-2")}}, true},
        {"OneRowTwice", [] { return written(small()); }, {{3, QStringLiteral("9.99")}, {3, QStringLiteral("3.3")}}, true},
        {"SameTextAgain", [] { return written(small()); }, {{5, QStringLiteral("5.25")}}, true},
        {"OwnPasswordLine", [] { return editedText(small(), [](QString&) {}); }, {{2, QStringLiteral("0.1")}}, true},
        {"PlainFile", [] { return grid::ListFileWriter::plainBytes(small()); }, {{2, QStringLiteral("12.5")}}, false},
        {"PasswordFormUnscrambled",
         [] { return platform::toAnsi(grid::ListFileWriter::passwordText(small(), QStringLiteral("x"))); },
         {{7, QStringLiteral("1")}}, false},
        {"EmptyBalanceBefore", [] { return written(company(5, [](int r) { return r == 3 ? QString() : QStringLiteral("1"); })); },
         {{3, QStringLiteral("0.3")}, {1, QStringLiteral("11")}}, true, false},
        {"BalanceEmptied", [] { return written(small()); }, {{2, QStringLiteral("7")}, {4, QString()}}, true, false},
        {"LargerThanAScrambleChunk", [] { return written(company(30000)); },
         {{1, QStringLiteral("1")}, {15000, QStringLiteral("123456789012.34")}, {30000, QStringLiteral("0.01")}}, true},
        {"ShrinksBelowAScrambleChunk",
         [] {
             // Grows the file to one byte past a whole chunk (the writer's own corner), then
             // shortens a balance, so that the file ends within its first chunk.
             ListDocument document = company(6000);
             const qsizetype wanted = grid::ListFileScrambler::ChunkSize + 1;
             const qsizetype missing = wanted - written(document).size();
             document.setCell(1, 1, {QStringLiteral("Kontakt č1 #š") + QString(int(missing), QLatin1Char('x'))});
             const QByteArray bytes = written(document);
             return bytes.size() == wanted ? bytes : QByteArray(); // no file at all fails the case
         },
         {{5, QStringLiteral("5")}}, true},
        {"CellLinesOutOfOrder",
         [] { return editedText(small(), [](QString& t) { t.append(QStringLiteral("moved#0#000#2#1\r\n")); }); },
         {{1, QStringLiteral("2")}}, false},
        {"FlagWrittenAsTwo",
         [] { return editedText(small(), [](QString& t) { t.replace(QStringLiteral("#255#"), QStringLiteral("#255#2")); }); },
         {{7, QStringLiteral("8")}}, false},
        {"RowWithLeadingZero",
         [] { return editedText(small(), [](QString& t) { t.replace(QStringLiteral("#2#4\r\n"), QStringLiteral("#2#04\r\n")); }); },
         {{4, QStringLiteral("8")}}, false},
        {"LinesEndedByCarriageReturnsAlone",
         [] { return editedText(small(), [](QString& t) { t.replace(QStringLiteral("\r\n"), QStringLiteral("\r")); }); },
         {{4, QStringLiteral("8")}}, false},
        {"UnknownLineAndEmptyLine",
         [] { return editedText(small(), [](QString& t) { t.append(QStringLiteral("note\r\n\r\n")); }); },
         {{4, QStringLiteral("8")}}, false},
        {"CellBeyondTheHeader",
         [] { return editedText(small(), [](QString& t) { t.append(QStringLiteral("far#0#000#5#7\r\n")); }); },
         {{7, QStringLiteral("8")}}, false},
        {"RowBeyondTheCount",
         [] { return editedText(small(), [](QString& t) { t.append(QStringLiteral("late#0#000#2#9\r\n")); }); },
         {{7, QStringLiteral("8")}}, false},
        {"ColourWithLeadingZero",
         [] { return editedText(small(), [](QString& t) { t.replace(QStringLiteral("#255#"), QStringLiteral("#0255#")); }); },
         {{7, QStringLiteral("8")}}, false},
        {"RowCountOfZero",
         [] {
             return editedText(company(1), [](QString& t) { t.replace(QStringLiteral("\r\n\\\\1\r\n"), QStringLiteral("\r\n\\\\0\r\n")); });
         },
         {{1, QStringLiteral("8")}}, false},
        {"HeaderWrittenOtherwise",
         [] { return editedText(small(), [](QString& t) { t.replace(QStringLiteral("|120"), QStringLiteral("|+120")); }); },
         {{7, QStringLiteral("8")}}, false},
        {"ByteWithoutItsOwnCharacter",
         [] {
             QByteArray plain = platform::toAnsi(grid::ListFileWriter::passwordText(small(), QStringLiteral("p")));
             plain.replace(QByteArrayLiteral("Ulica 3"), QByteArrayLiteral("Ulica \x98\x81"));
             return grid::ListFileScrambler::applied(plain);
         },
         // In place only where the system's code page gives those bytes characters that
         // convert back to them.
         {{3, QStringLiteral("8")}},
         platform::toAnsi(platform::fromAnsi(QByteArrayLiteral("\x98\x81"))) == QByteArrayLiteral("\x98\x81")},
    };
}

class CompanyFileBytes : public testing::TestWithParam<Case> {};

TEST_P(CompanyFileBytes, AreWhatTheDocumentWrites)
{
    const Case& c = GetParam();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Customers.QVC"));
    const QByteArray stored = c.stored();
    ASSERT_TRUE(platform::writeFileAtomically(path, stored).ok);

    // The way the posting took before: the whole document, written again.
    ListDocument document;
    ASSERT_TRUE(grid::ListFileReader::read(stored, document, path).ok);
    posting::CompanyFile file;
    ASSERT_TRUE(file.open(path).ok);
    EXPECT_EQ(file.storedBytes(), stored);
    EXPECT_EQ(file.changesInPlace(), c.inPlace);
    for (const auto& [row, text] : c.balances) {
        SCOPED_TRACE(row);
        EXPECT_EQ(file.balanceText(row), document.at(row, posting::CompanyFile::BalanceColumn).text);
        const QString name = document.at(row, posting::CompanyFile::NameColumn).text;
        EXPECT_EQ(file.contactRow(QString::number(row), name), row);
        EXPECT_EQ(file.contactRow(QString::number(row), name + QLatin1Char('x')), std::nullopt);
        ListFileCell cell = document.at(row, posting::CompanyFile::BalanceColumn);
        cell.text = text;
        document.setCell(row, posting::CompanyFile::BalanceColumn, cell);
        file.setBalanceText(row, text);
        EXPECT_EQ(file.balanceText(row), text);
    }
    const QString password = document.passwordLine.value_or(QString::fromLatin1(grid::ListFileReader::DefaultPassword));
    const QByteArray expected = grid::ListFileWriter::scrambledBytes(document, password);
    EXPECT_EQ(file.changed(), expected != grid::ListFileWriter::scrambledBytes(
                                              [&] {
                                                  ListDocument before;
                                                  (void)grid::ListFileReader::read(stored, before, path);
                                                  return before;
                                              }(),
                                              password));
    EXPECT_EQ(file.changesInPlace(), c.inPlace && c.stays);
    const QByteArray bytes = file.bytes();
    EXPECT_EQ(bytes.size(), expected.size());
    EXPECT_TRUE(bytes == expected);
    // The posting takes the same bytes made where the file's were read.
    EXPECT_TRUE(file.takeBytes() == expected);
}

// A file cut short is never written back by a posting: written whole, it would look whole,
// and the rows after the cut would be gone without a word. Its refusal names the file and the
// rows it should hold and still holds.
TEST(CompanyFileCutShort, IsRefusedNamingTheFileAndItsRows)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Customers.QVC"));
    const QByteArray whole = written(small());
    const struct {
        const char* what;
        QByteArray stored;
        const char* rows;
    } cases[] = {
        {"its last line end missing", editedText(small(), [](QString& t) { t.chop(2); }),
         "It should hold 7 rows, and rows 1 to 7 were found."},
        {"its first 70 bytes", whole.left(70), "It ends before its row count"},
        {"cut within its cells", written(small()).left(whole.size() / 2), "It should hold 7 rows, and rows 1 to "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(platform::writeFileAtomically(path, c.stored).ok);
        posting::CompanyFile file;
        const platform::FileResult opened = file.open(path);
        EXPECT_FALSE(opened.ok);
        EXPECT_TRUE(opened.error.startsWith("The file \"" + path + "\" is incomplete: it was cut short"))
            << opened.error.toStdString();
        EXPECT_TRUE(opened.error.contains(QLatin1String(c.rows))) << opened.error.toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, CompanyFileBytes, testing::ValuesIn(cases()),
                         [](const testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

} // namespace
