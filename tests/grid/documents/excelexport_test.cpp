// The export of the grid into a new workbook: which rows and cells are written, the show and
// print paths with the copies prompt, the progress display and every way the command can end.

#include "exchangetest.h"
#include "grid/documents/excelexchange.h"

#include <gtest/gtest.h>

using testsupport::PromptKind;

namespace {

const QStringList started = {"start", "alerts off", "visible off", "add workbook"};

class ExcelExportTest : public ExchangeTest {
protected:
    grid::ExcelExchange exchange{grid, host};

    // Three columns; rows 1 and 3 hold text, row 2 none, row 4 text only beyond the columns.
    void fillThreeColumns()
    {
        grid.AddColumn(0, 80, QStringLiteral("B"));
        grid.AddColumn(0, 80, QStringLiteral("C"));
        grid.resetRows(4);
        grid.setCellText(1, 1, QStringLiteral("Apple"));
        grid.setCellText(1, 3, QStringLiteral("3"));
        grid.setCellText(1, 20, QStringLiteral("beyond the columns"));
        grid.SetBold(1, 1, true);
        grid.setCellText(3, 2, QStringLiteral("Pear"));
        grid.setCellText(4, 5, QStringLiteral("not exported"));
    }
};

TEST_F(ExcelExportTest, WritesEveryCellOfTheRowsThatHoldTextAndShowsTheWorkbook)
{
    fillThreeColumns();
    EXPECT_TRUE(exchange.exporttoexcel());

    EXPECT_EQ(excel->calls, started + QStringList({"alerts on", "show"}));
    ASSERT_EQ(excel->writes.size(), 64u); // rows 1 and 3, A to AF each, empty cells included
    EXPECT_EQ(excel->writes.front(), std::make_pair(QStringLiteral("A1"), QStringLiteral("Apple")));
    EXPECT_EQ(excel->writes[31], std::make_pair(QStringLiteral("AF1"), QString()));
    EXPECT_EQ(excel->writes[32].first, QStringLiteral("A3"));
    EXPECT_EQ(excel->writes.back().first, QStringLiteral("AF3"));
    const QHash<QString, QString> expected = {
        {"A1", "Apple"}, {"C1", "3"}, {"T1", "beyond the columns"}, {"B3", "Pear"}};
    EXPECT_EQ(excel->shownCells, expected);
    EXPECT_EQ(host.progressValues().value("frmItems"), (std::vector<float>{1, 3}));
    EXPECT_EQ(excel->running, 0);
    EXPECT_TRUE(prompts->recorded().isEmpty());
}

// The workbook handed over is a normal unsaved document: closing it asks whether to save,
// rather than dropping the export silently.
TEST_F(ExcelExportTest, TheShownWorkbookAsksBeforeItIsClosedUnsaved)
{
    fillThreeColumns();
    exchange.exporttoexcel();
    EXPECT_TRUE(excel->alertsOnWhenShown);
}

TEST_F(ExcelExportTest, AGridWithoutTextGivesAnEmptyWorkbook)
{
    grid.resetRows(3);
    EXPECT_TRUE(exchange.exporttoexcel());
    EXPECT_TRUE(excel->writes.empty());
    EXPECT_EQ(excel->calls, started + QStringList({"alerts on", "show"}));
}

TEST_F(ExcelExportTest, ProgressGoesToTheActiveDocumentWindowOnly)
{
    const struct {
        const char* activeList;
        bool hasProgress;
    } cases[] = {{"frmItems", true}, {"frmContacts", true}, {"frmTransactions", true},
                 {"frmPayments", false}, {"", false}, {"frmitems", false}};
    fillThreeColumns();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.activeList);
        FakeHost fresh;
        fresh.activeList = QString::fromLatin1(c.activeList);
        grid::ExcelExchange(grid, fresh).exporttoexcel();
        QMap<QString, std::vector<float>> expected;
        if (c.hasProgress)
            expected.insert(fresh.activeList, {1, 3});
        EXPECT_TRUE(fresh.progressValues() == expected);
    }
}

TEST_F(ExcelExportTest, CopiesAnswersOfThePrintRequest)
{
    const struct {
        const char* answer;
        const char* message; // "" for none
        const char* print;   // the print call, "" for none
    } cases[] = {
        {"", "", ""},
        {"abc", "YOU CAN ENTER ONLY NUMBERS!", ""},
        {"0", "", ""},
        {"-3", "", ""},
        {"101", "Up to 100 pages!", ""},
        {"1", "", "print 1 collated"},
        {"100", "", "print 100 collated"},
        // passes both checks as typed; the copies count is the number rounded half to even
        {"2.5", "", "print 2 collated"},
    };
    grid.setCellText(1, 1, QStringLiteral("x"));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.answer);
        prompts->clear();
        excel->calls.clear();
        host.printExcelFile = QStringLiteral("Yes");
        prompts->queueInput(QString::fromLatin1(c.answer));
        if (*c.message)
            prompts->queueAnswer(platform::Answer::OK);

        const bool printed = exchange.exporttoexcel();

        const auto& shown = prompts->recorded();
        ASSERT_EQ(shown.size(), *c.message ? 2 : 1);
        EXPECT_EQ(shown[0].kind, PromptKind::InputBox);
        EXPECT_EQ(shown[0].text, QStringLiteral("Enter number of copies to print:"));
        EXPECT_EQ(shown[0].title, QStringLiteral("Quorvane"));
        EXPECT_EQ(shown[0].defaultText, QString());
        if (*c.message) {
            EXPECT_EQ(shown[1].text, QString::fromLatin1(c.message));
            EXPECT_EQ(shown[1].style, platform::MsgStyle::OkOnly);
            EXPECT_EQ(shown[1].title, QStringLiteral("Quorvane"));
        }
        QStringList expectedCalls = started;
        if (*c.print)
            expectedCalls << QString::fromLatin1(c.print);
        expectedCalls << "alerts off" << "quit";
        EXPECT_EQ(excel->calls, expectedCalls);
        EXPECT_EQ(printed, *c.print != '\0');
        EXPECT_EQ(host.printExcelFile, QStringLiteral("No"));
        EXPECT_EQ(excel->running, 0);
    }
}

TEST_F(ExcelExportTest, PrintedSheetHoldsTheRowsWrittenBeforeThePrompt)
{
    fillThreeColumns();
    host.printExcelFile = QStringLiteral("Yes");
    prompts->queueInput(QStringLiteral("2"));
    EXPECT_TRUE(exchange.exporttoexcel());
    EXPECT_EQ(excel->printedCells.value("B3"), QStringLiteral("Pear"));
}

// Whatever stops the export, the user hears of it, no instance is left running and the print
// request is withdrawn, so the next plain export shows the workbook instead of printing it.
TEST_F(ExcelExportTest, EveryFailureIsReportedQuitsAndWithdrawsThePrintRequest)
{
    const struct {
        const char* name;
        bool printRequest;
        void (*arrange)(testsupport::SpreadsheetLog&);
        const char* messageStart;
    } cases[] = {
        {"start", true, [](auto& l) { l.failStart = true; }, "Quorvane could not start the spreadsheet program."},
        {"new workbook", true, [](auto& l) { l.failAddWorkbook = true; }, "Quorvane could not start the spreadsheet program."},
        {"cell write", true, [](auto& l) { l.writesBeforeFailure = 5; }, "Quorvane could not write the rows"},
        {"print", true, [](auto& l) { l.failPrint = true; }, "Quorvane could not print the workbook."},
        {"show", false, [](auto& l) { l.failShow = true; }, "Quorvane could not show the workbook"},
    };
    fillThreeColumns();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        arrangeFailure(c.arrange);
        host.printExcelFile = c.printRequest ? QStringLiteral("Yes") : QStringLiteral("No");
        if (excel->failPrint)
            prompts->queueInput(QStringLiteral("2"));

        EXPECT_FALSE(exchange.exporttoexcel());

        expectOneFailureMessage(c.messageStart);
        EXPECT_EQ(host.printExcelFile, QStringLiteral("No"));
        EXPECT_EQ(excel->running, 0);
        EXPECT_FALSE(excel->calls.contains("show") && !excel->failShow);
    }
}

} // namespace
