// What a contact company file's bytes now say against its bytes as a window read them: the
// balances postings moved, and whether anything else was written there. The postings here
// are the posting's own change of a company file (CompanyFile), one after the other.

#include "grid/documents/listdocument.h"
#include "grid/documents/listfilewriter.h"
#include "posting/companyfile.h"
#include "posting/companyfilechange.h"

#include <QByteArray>
#include <functional>
#include <gtest/gtest.h>
#include <ostream>
#include <utility>
#include <vector>

namespace {

using grid::ListDocument;
using posting::CompanyFile;
using posting::CompanyFileChange;
using Moved = CompanyFileChange::MovedBalance;

const QString Path = QStringLiteral("/data/System/RAzar/Contacts/Bank.QVC");

ListDocument company()
{
    ListDocument document;
    document.declaredColumnCount = 3;
    document.columns = {{QStringLiteral("Contact Name"), 120}, {QStringLiteral("Balance"), 60},
                        {QStringLiteral("Address"), 90}};
    document.setRowCount(4);
    const char* names[] = {"Ana", "Bor", "Cene", "Dora"};
    const char* balances[] = {"100", "-45.5", "", "7"};
    for (int r = 1; r <= 4; ++r) {
        document.setCell(r, 1, {QString::fromLatin1(names[r - 1])});
        if (*balances[r - 1])
            document.setCell(r, 2, {QString::fromLatin1(balances[r - 1]), r == 1, false, false, r == 1 ? 255 : 0});
        document.setCell(r, 3, {QStringLiteral("Ulica %1").arg(r)});
    }
    return document;
}

QByteArray scrambled(const ListDocument& document)
{
    return grid::ListFileWriter::scrambledBytes(document, QStringLiteral("p&z7"));
}

// A posting's change of balances (row, new text) in the file's bytes.
QByteArray posted(const QByteArray& bytes, const std::vector<std::pair<int, QString>>& balances)
{
    CompanyFile file;
    EXPECT_TRUE(file.open(Path, bytes));
    for (const auto& [row, text] : balances)
        file.setBalanceText(row, text);
    return file.bytes();
}

// The document saved again with one cell changed.
QByteArray saved(int row, int column, const QString& text)
{
    ListDocument document = company();
    document.setCell(row, column, {text});
    return scrambled(document);
}

struct Case {
    const char* name;
    std::function<QByteArray()> read;
    std::function<QByteArray(const QByteArray& read)> now;
    bool readable;
    std::vector<Moved> moved;
    bool onlyBalances;
};

void PrintTo(const Case& c, std::ostream* os)
{
    *os << c.name;
}

class BetweenVersions : public ::testing::TestWithParam<Case> {};

TEST_P(BetweenVersions, TellsTheMovedBalancesFromEverythingElse)
{
    const Case& c = GetParam();
    const QByteArray read = c.read();
    const CompanyFileChange change = CompanyFileChange::between(Path, read, c.now(read));
    EXPECT_EQ(change.readable(), c.readable);
    EXPECT_EQ(change.moved(), c.moved);
    EXPECT_EQ(change.onlyBalancesMoved(), c.onlyBalances);
}

const auto asSaved = [] { return scrambled(company()); };

INSTANTIATE_TEST_SUITE_P(
    CompanyFiles, BetweenVersions,
    ::testing::Values(
        Case{"WrittenAgainAsItWas", asSaved, [](const QByteArray& read) { return read; }, true, {}, true},
        Case{"OnePosting", asSaved, [](const QByteArray& read) { return posted(read, {{1, "130"}}); }, true,
             {{1, "Ana", "100", "130"}}, true},
        Case{"PostingsOneAfterAnother",
             asSaved,
             [](const QByteArray& read) {
                 return posted(posted(posted(read, {{1, "130"}}), {{2, "-15.5"}, {1, "131"}}), {{4, "0"}});
             },
             true,
             {{1, "Ana", "100", "131"}, {2, "Bor", "-45.5", "-15.5"}, {4, "Dora", "7", "0"}},
             true},
        // A cell line that comes into being: the posting writes the document anew.
        Case{"PostingOntoAnEmptyBalance", asSaved, [](const QByteArray& read) { return posted(read, {{3, "30"}}); },
             true, {{3, "Cene", "", "30"}}, true},
        // A file not in the grid's own form: the posting writes it as the grid would.
        Case{"PostingOntoAPlainFile", [] { return grid::ListFileWriter::plainBytes(company()); },
             [](const QByteArray& read) { return posted(read, {{2, "0"}}); }, true, {{2, "Bor", "-45.5", "0"}},
             true},
        Case{"ANameSavedElsewhere", asSaved, [](const QByteArray&) { return saved(2, 1, QStringLiteral("Bor d.o.o.")); },
             true, {}, false},
        Case{"AnAddressSavedElsewhereBesideAPosting",
             asSaved,
             [](const QByteArray&) { return posted(saved(4, 3, QStringLiteral("Trg 1")), {{1, "130"}}); },
             true,
             {{1, "Ana", "100", "130"}},
             false},
        Case{"ARowAddedElsewhere",
             asSaved,
             [](const QByteArray&) {
                 ListDocument document = company();
                 document.setRowCount(5);
                 ListDocument full = company();
                 for (int r = 1; r <= 4; ++r)
                     for (int c = 1; c <= 3; ++c)
                         document.setCell(r, c, full.at(r, c));
                 document.setCell(5, 1, {QStringLiteral("Eva")});
                 return posted(scrambled(document), {{2, "0"}});
             },
             true,
             {{2, "Bor", "-45.5", "0"}},
             false},
        Case{"NoCompanyFileNow", asSaved, [](const QByteArray&) { return QByteArray("not a list file"); }, false, {},
             false}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
