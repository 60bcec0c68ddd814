// The import of a workbook's first rows: where sheet cells land, what empty sheet cells leave,
// the rows appended, the progress display, and what a failure leaves of the grid.

#include "exchangetest.h"
#include "grid/documents/excelexchange.h"

#include <gtest/gtest.h>

namespace {

const QString book = QStringLiteral("/imports/book.xls");

class ExcelImportTest : public ExchangeTest {
protected:
    grid::ExcelExchange exchange{grid, host};

    ExcelImportTest() { sheet({}); }

    void sheet(const QHash<QString, QString>& cells) { excel->workbooks.insert(book, cells); }

    void addColumns(int total)
    {
        while (grid.ColumnCount() < total)
            grid.AddColumn(0, 50, QString());
    }
};

TEST_F(ExcelImportTest, SheetCellsLandInTheSameRowAndColumnAndOneEmptyRowFollows)
{
    addColumns(3);
    sheet({{"A1", "alpha"}, {"B1", "12"}, {"C2", "gamma"}});

    EXPECT_TRUE(exchange.importexcel(book, 2));

    EXPECT_EQ(grid.ListCount(), 3);
    EXPECT_EQ(grid.GetItem(1, 1), QStringLiteral("alpha"));
    EXPECT_EQ(grid.GetItem(1, 2), QStringLiteral("12"));
    EXPECT_EQ(grid.GetItem(2, 3), QStringLiteral("gamma"));
    EXPECT_TRUE(grid.row(3).text(1).isEmpty());
    EXPECT_EQ(excel->reads, 64);
    EXPECT_EQ(excel->calls, (QStringList{"start", "alerts off", "visible off", "open " + book + " read-only",
                                         "alerts off", "quit"}));
    EXPECT_TRUE(prompts->recorded().isEmpty());
}

TEST_F(ExcelImportTest, ColumnAFLandsInColumn32WhateverTheColumnCount)
{
    sheet({{"AF1", "far"}, {"Z1", "zed"}, {"AA1", "double"}});
    EXPECT_TRUE(exchange.importexcel(book, 1));
    EXPECT_EQ(grid.row(1).text(32), QStringLiteral("far"));
    EXPECT_EQ(grid.row(1).text(26), QStringLiteral("zed"));
    EXPECT_EQ(grid.row(1).text(27), QStringLiteral("double"));
}

TEST_F(ExcelImportTest, OnlyNonEmptySheetCellsReplaceTextAndFormattingStays)
{
    addColumns(2);
    grid.resetRows(2);
    grid.setCellText(1, 1, QStringLiteral("old 1"));
    grid.setCellText(1, 2, QStringLiteral("old 2"));
    grid.SetBold(1, 1, true);
    grid.SetColor(1, 1, 0x0000FF);
    sheet({{"A1", "new 1"}});

    EXPECT_TRUE(exchange.importexcel(book, 3));

    EXPECT_EQ(grid.ListCount(), 5);
    EXPECT_EQ(grid.GetItem(1, 1), QStringLiteral("new 1"));
    EXPECT_EQ(grid.GetItem(1, 2), QStringLiteral("old 2"));
    EXPECT_TRUE(grid.row(1).bold(1));
    EXPECT_EQ(grid.GetColor(1, 1), 0x0000FFu);
}

TEST_F(ExcelImportTest, ZeroRowsStillStartsAndQuitsButReadsAndAddsNothing)
{
    EXPECT_TRUE(exchange.importexcel(book, 0));
    EXPECT_EQ(grid.ListCount(), 1);
    EXPECT_EQ(excel->reads, 0);
    EXPECT_TRUE(host.bars["frmItems"].maxima.empty());
    EXPECT_EQ(excel->calls.first(), QStringLiteral("start"));
    EXPECT_EQ(excel->calls.last(), QStringLiteral("quit"));
}

TEST_F(ExcelImportTest, ProgressMaximumIsColumnsTimesRowsHalvedWhileItFits)
{
    // 10 columns and 100 rows: maximum 500, values 1 (set-up), then 1 to 100.
    addColumns(10);
    EXPECT_TRUE(exchange.importexcel(book, 100));
    const FakeProgress& bar = host.bars["frmItems"];
    EXPECT_EQ(bar.maxima, std::vector<float>{500});
    ASSERT_EQ(bar.values.size(), 101u);
    EXPECT_EQ(bar.values[0], 1);
    EXPECT_EQ(bar.values[1], 1);
    EXPECT_EQ(bar.values.back(), 100);

    // 32 columns and 2,000 rows: the product passes 32,767, so the window's maximum stays
    // and the bar takes only the values up to it.
    addColumns(32);
    FakeHost large;
    large.bars["frmItems"].max = 2;
    grid::ExcelExchange(grid, large).importexcel(book, 2000);
    EXPECT_TRUE(large.bars["frmItems"].maxima.empty());
    EXPECT_EQ(large.bars["frmItems"].values, (std::vector<float>{1, 1, 2}));
}

TEST_F(ExcelImportTest, NoProgressOutsideTheDocumentWindows)
{
    host.activeList = QStringLiteral("frmPayments");
    sheet({{"A1", "a"}});
    EXPECT_TRUE(exchange.importexcel(book, 1));
    EXPECT_TRUE(host.progressValues().isEmpty());
    EXPECT_EQ(grid.GetItem(1, 1), QStringLiteral("a"));
}

// The windows allow up to 50,000 rows; every one of them is read.
TEST_F(ExcelImportTest, RowCountsBeyondTheSixteenBitRangeAreRead)
{
    sheet({{"A40000", "last"}, {"B32768", "past 16 bits"}});
    EXPECT_TRUE(exchange.importexcel(book, 40000));
    EXPECT_EQ(grid.ListCount(), 40001);
    EXPECT_EQ(grid.row(40000).text(1), QStringLiteral("last"));
    EXPECT_EQ(grid.row(32768).text(2), QStringLiteral("past 16 bits"));
}

// The sheet columns past AF, the last a document holds, that have values in the rows to be
// imported are named by letter before the grid changes, runs of neighbours as one range, with
// the spreadsheet program already quit. No stops the import and leaves the grid as it was; Yes
// imports columns A to AF.
TEST_F(ExcelImportTest, ColumnsPastAFAreNamedAndTheImportMayStop)
{
    const auto sheetWith = [&](const QList<int>& columns) {
        QHash<QString, QString> cells{{"A1", "first"}, {"AF2", "last kept"}, {"AH3", "below the rows imported"}};
        for (int column : columns)
            cells.insert(platform::columnLetters(column) + QStringLiteral("2"), QStringLiteral("left out"));
        sheet(cells);
    };
    const struct {
        const char* what;
        QList<int> columns;
        QString named; // as the question names them
    } cases[] = {
        {"one", {33}, QStringLiteral("column AG")},
        {"a run", {33, 34, 35, 36}, QStringLiteral("columns AG to AJ")},
        {"runs and one alone", {33, 34, 35, 36, 39, 53, 54, 55}, QStringLiteral("columns AG to AJ, AM and BA to BC")},
        {"more than eight runs", {33, 35, 37, 39, 41, 43, 45, 47, 49, 51, 53},
         QStringLiteral("columns AG, AI, AK, AM, AO, AQ, AS, AU and 3 more columns")},
        {"one more", {33, 35, 37, 39, 41, 43, 45, 47, 49}, QStringLiteral("columns AG, AI, AK, AM, AO, AQ, AS, AU and 1 more column")},
    };
    grid.setCellText(1, 1, QStringLiteral("kept"));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        prompts->clear();
        sheetWith(c.columns);
        int runningWhenAsked = -1;
        prompts->queueAnswer([&](const testsupport::RecordedPrompt&) {
            runningWhenAsked = excel->running;
            return platform::Answer::No;
        });
        EXPECT_FALSE(exchange.importexcel(book, 2));
        ASSERT_EQ(prompts->recorded().size(), 1);
        const testsupport::RecordedPrompt& asked = prompts->recorded()[0];
        EXPECT_TRUE(asked.text.contains(QStringLiteral("holds values in sheet ") + c.named
                                        + QStringLiteral(", in the rows to be imported.")))
            << asked.text.toStdString();
        EXPECT_EQ(asked.style, platform::MsgStyle::YesNoQuestionNo);
        EXPECT_EQ(asked.title, QStringLiteral("Columns Left Out"));
        EXPECT_EQ(runningWhenAsked, 0);
        EXPECT_EQ(grid.ListCount(), 1);
        EXPECT_EQ(grid.GetItem(1, 1), QStringLiteral("kept"));
        EXPECT_EQ(grid.ColumnCount(), 1);
    }
    EXPECT_EQ(prompts->texts().first(),
              QStringLiteral("The workbook\n/imports/book.xls\nholds values in sheet columns AG, AI, AK, AM, AO, AQ, "
                             "AS, AU and 1 more column, in the rows to be imported. A document has at most 32 columns, "
                             "A to AF, so those columns are left out of the import.\n\nImport columns A to AF "
                             "without them?"));

    prompts->clear();
    sheetWith({33});
    prompts->queueAnswer(platform::Answer::Yes);
    EXPECT_TRUE(exchange.importexcel(book, 2));
    EXPECT_EQ(prompts->texts().first(),
              QStringLiteral("The workbook\n/imports/book.xls\nholds values in sheet column AG, in the rows to be "
                             "imported. A document has at most 32 columns, A to AF, so that column is left out of the "
                             "import.\n\nImport columns A to AF without it?"));
    EXPECT_EQ(grid.ListCount(), 3);
    EXPECT_EQ(grid.GetItem(1, 1), QStringLiteral("first"));
    EXPECT_EQ(grid.GetItem(2, 32), QStringLiteral("last kept"));
    EXPECT_EQ(grid.ColumnCount(), 32);

    // Values past AF only below the rows imported leave nothing out: nothing is asked.
    prompts->clear();
    sheetWith({});
    EXPECT_TRUE(exchange.importexcel(book, 2));
    EXPECT_TRUE(prompts->recorded().isEmpty());
}

// A failed import changes nothing in the grid, tells the user why and tells the caller, so
// the window does not mark the document changed for rows that were never read.
TEST_F(ExcelImportTest, AFailedImportLeavesTheGridAsItWasAndSaysSo)
{
    const struct {
        const char* name;
        void (*arrange)(testsupport::SpreadsheetLog&);
        const char* messageStart;
        bool namesTheFile;
    } cases[] = {
        {"start", [](auto& l) { l.failStart = true; }, "Quorvane could not start the spreadsheet program.", false},
        {"open", [](auto& l) { l.failOpen = true; }, "Quorvane could not open the workbook", true},
        {"read", [](auto& l) { l.readsBeforeFailure = 40; }, "Quorvane could not read the workbook", true},
        {"columns past AF", [](auto& l) { l.failFilledColumns = true; }, "Quorvane could not read the workbook", true},
    };
    grid.resetRows(2);
    grid.setCellText(1, 1, QStringLiteral("kept"));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        arrangeFailure(c.arrange);
        sheet({{"A1", "never"}, {"A2", "never"}});

        EXPECT_FALSE(exchange.importexcel(book, 5));

        EXPECT_EQ(grid.ListCount(), 2);
        EXPECT_EQ(grid.GetItem(1, 1), QStringLiteral("kept"));
        EXPECT_TRUE(grid.GetItem(2, 1).isEmpty());
        ASSERT_EQ(prompts->recorded().size(), 1);
        const QString message = expectOneFailureMessage(c.messageStart);
        EXPECT_EQ(message.contains(book), c.namesTheFile);
        EXPECT_TRUE(message.contains(QStringLiteral("Nothing was imported.")));
        EXPECT_EQ(excel->running, 0);
    }
}

} // namespace
