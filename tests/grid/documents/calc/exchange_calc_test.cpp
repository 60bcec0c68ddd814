// The spreadsheet members on the real LibreOffice Calc: an export read back from the
// workbook, an import of a workbook made here, our transaction form filled and read back,
// and a print in two copies to a private PDF queue.

#include "../exchangefakes.h"
#include "officeprobe.h"
#include "officewatch.h"
#include "privatecups.h"
#include "storedwhenshown.h"

#include "grid/documents/excelexchange.h"
#include "grid/documents/transactionform.h"
#include "grid/gridcore.h"
#include "platform/calc/calcspreadsheet.h"
#include "support/scopedprompts.h"
#include "support/tempprogramfolder.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>
#include <csignal>
#include <unistd.h>

using platform::calc::CalcSpreadsheet;

namespace {

const QString transactionTemplate =
    QStringLiteral(QUORVANE_SOURCE_DIR "/resources/System/RAzar/Template/Transaction/Transaction Form.xls");

class ExchangeCalcTest : public ::testing::Test {
protected:
    // An instance for making workbooks and reading results back, shared by the suite.
    static void SetUpTestSuite()
    {
        // A write into the connection of an office that has ended fails as an error, as it
        // does in the program, instead of ending the test program.
        std::signal(SIGPIPE, SIG_IGN);
        helper = new CalcSpreadsheet;
        ASSERT_TRUE(helper->start()) << helper->lastError().toStdString();
    }
    static void TearDownTestSuite()
    {
        delete helper;
        helper = nullptr;
    }

    void SetUp() override
    {
        ASSERT_NE(helper, nullptr);
        openInHelper.clear();
        shown = dir.filePath(QStringLiteral("shown.xls"));
        const QString path = shown;
        platform::setSpreadsheetFactory([path] { return std::make_unique<StoredWhenShown>(path); });
    }

    void TearDown() override
    {
        platform::setSpreadsheetFactory({});
        // Only the program's one office may still run, and hold no workbook but the helper's.
        EXPECT_LE(officesLeftAfter(::getpid(), 0), 1) << "an office process was left running";
        OfficeProbe probe;
        if (probe.connect()) {
            EXPECT_LE(probe.openDocuments(), 1) << "a workbook was left open";
        }
    }

    // The cells of a stored workbook's active sheet, as it shows them.
    static QString cellOf(const QString& workbook, const QString& address)
    {
        if (openInHelper != workbook) {
            EXPECT_TRUE(helper->openWorkbook(workbook, true)) << helper->lastError().toStdString();
            openInHelper = workbook;
        }
        return helper->readCell(address);
    }

    static inline CalcSpreadsheet* helper = nullptr;
    static inline QString openInHelper; // the workbook the helper has active
    QTemporaryDir dir;
    QString shown;
    testsupport::ScopedPrompts prompts;
    FakeHost host;
    grid::GridCore grid;
};

TEST_F(ExchangeCalcTest, ExportedRowsReadBackFromTheWorkbook)
{
    grid.AddColumn(0, 80, QStringLiteral("Price"));
    grid.AddColumn(0, 80, QStringLiteral("Note"));
    grid.resetRows(6);
    grid.setCellText(1, 1, QStringLiteral("Žemlja"));
    grid.setCellText(1, 2, QStringLiteral("42"));
    grid.setCellText(1, 3, QStringLiteral("=1+1"));
    grid.SetBold(1, 1, true);
    grid.SetColor(1, 2, 0x0000FF);
    grid.setCellText(3, 2, QStringLiteral("-7"));
    grid.setCellText(3, 32, QStringLiteral("last column"));
    grid.setCellText(4, 5, QStringLiteral("beyond the columns only"));
    grid.setCellText(5, 1, QStringLiteral("007"));
    grid.setCellText(5, 2, QStringLiteral("24.50"));
    grid.setCellText(6, 2, QStringLiteral("1.75"));

    ASSERT_TRUE(grid::ExcelExchange(grid, host).exporttoexcel());

    const struct {
        const char* address;
        QString text;
    } cells[] = {{"A1", QStringLiteral("Žemlja")}, {"B1", QStringLiteral("42")}, {"C1", QStringLiteral("=1+1")},
                 {"A2", QString()},                {"B3", QStringLiteral("-7")}, {"AF3", QStringLiteral("last column")},
                 {"E4", QString()},                {"A5", QStringLiteral("007")}, {"B5", QStringLiteral("24.50")},
                 {"B6", QStringLiteral("1.75")}};
    for (const auto& c : cells)
        EXPECT_EQ(cellOf(shown, QString::fromLatin1(c.address)), c.text) << c.address;
    EXPECT_EQ(host.printExcelFile, QStringLiteral("No"));
    // A price column is numbers throughout, whatever decimals were typed; an identifier
    // with leading zeros stays text.
    OfficeProbe probe;
    ASSERT_TRUE(probe.connect());
    for (const char* price : {"B1", "B3", "B5", "B6"})
        EXPECT_TRUE(probe.cell(shown, price).isNumber) << price;
    EXPECT_EQ(probe.cell(shown, "B5").value, 24.5);
    EXPECT_FALSE(probe.cell(shown, "A5").isNumber);
}

TEST_F(ExchangeCalcTest, ImportOfAWorkbookMadeHere)
{
    const QString book = dir.filePath(QStringLiteral("import.xls"));
    ASSERT_TRUE(helper->addWorkbook());
    openInHelper.clear();
    helper->writeCell(QStringLiteral("A1"), QStringLiteral("Vijak M8"));
    helper->writeCell(QStringLiteral("B1"), QStringLiteral("125"));
    helper->writeCell(QStringLiteral("AF1"), QStringLiteral("far right"));
    helper->writeCell(QStringLiteral("C2"), QStringLiteral("-3"));
    helper->writeCell(QStringLiteral("A4"), QStringLiteral("row four, not asked for"));
    ASSERT_TRUE(helper->saveAs(book)) << helper->lastError().toStdString();

    grid.AddColumn(0, 80, QString());
    grid.setCellText(1, 2, QStringLiteral("replaced"));
    grid.setCellText(1, 3, QStringLiteral("kept"));
    grid::ExcelExchange exchange(grid, host);
    ASSERT_TRUE(exchange.importexcel(book, 3));

    EXPECT_EQ(grid.ListCount(), 4);
    EXPECT_EQ(grid.GetItem(1, 1), QStringLiteral("Vijak M8"));
    EXPECT_EQ(grid.GetItem(1, 2), QStringLiteral("125"));
    EXPECT_EQ(grid.row(1).text(3), QStringLiteral("kept"));
    EXPECT_EQ(grid.row(1).text(32), QStringLiteral("far right"));
    EXPECT_EQ(grid.row(2).text(3), QStringLiteral("-3"));
    // The value in AF is shown, not left hidden beyond the grid's two columns: the columns up
    // to it are added, each named after its sheet column.
    ASSERT_EQ(grid.ColumnCount(), 32);
    EXPECT_EQ(grid.GetColumnHeader(3), QStringLiteral("C"));
    EXPECT_EQ(grid.GetColumnHeader(32), QStringLiteral("AF"));
    EXPECT_TRUE(grid.row(4).text(1).isEmpty());

    // No rows asked for: the office starts and quits, the grid stays.
    ASSERT_TRUE(exchange.importexcel(book, 0));
    EXPECT_EQ(grid.ListCount(), 4);
}

// A workbook of 36 columns: before the grid changes, the user is told that sheet columns AG to
// AJ are left out. No leaves the grid as it was; Yes imports columns A to AF.
TEST_F(ExchangeCalcTest, ColumnsPastAFAreNamedBeforeTheImport)
{
    const QString book = dir.filePath(QStringLiteral("wide.xls"));
    ASSERT_TRUE(helper->addWorkbook());
    openInHelper.clear();
    for (int c = 1; c <= 36; ++c)
        helper->writeCell(platform::columnLetters(c) + QStringLiteral("2"), QStringLiteral("value %1").arg(c));
    ASSERT_TRUE(helper->saveAs(book)) << helper->lastError().toStdString();

    grid.setCellText(1, 1, QStringLiteral("kept"));
    grid::ExcelExchange exchange(grid, host);
    prompts->queueAnswer(platform::Answer::No);
    EXPECT_FALSE(exchange.importexcel(book, 2));
    ASSERT_EQ(prompts->recorded().size(), 1);
    EXPECT_TRUE(prompts->recorded()[0].text.contains(
        QStringLiteral("holds values in sheet columns AG to AJ, in the rows to be imported.")))
        << prompts->recorded()[0].text.toStdString();
    EXPECT_EQ(grid.ListCount(), 1);
    EXPECT_EQ(grid.ColumnCount(), 1);
    EXPECT_EQ(grid.GetItem(1, 1), QStringLiteral("kept"));

    // Asked for row 1 alone, nothing is left out.
    EXPECT_TRUE(exchange.importexcel(book, 1));
    EXPECT_EQ(prompts->recorded().size(), 1);

    prompts->queueAnswer(platform::Answer::Yes);
    EXPECT_TRUE(exchange.importexcel(book, 2));
    ASSERT_EQ(grid.ColumnCount(), 32);
    EXPECT_EQ(grid.row(2).text(1), QStringLiteral("value 1"));
    EXPECT_EQ(grid.row(2).text(32), QStringLiteral("value 32"));
}

TEST_F(ExchangeCalcTest, OurTransactionFormFilledAndReadBack)
{
    testsupport::TempProgramFolder folder;
    const QString form = folder.makeFolder(QStringLiteral("System/RAzar/Template/Transaction")) +
                         QStringLiteral("/Transaction Form.xls");
    ASSERT_TRUE(QFile::copy(transactionTemplate, form));
    const QString untouchedRow = cellOf(transactionTemplate, QStringLiteral("B21"));
    FakeFormSettings settings;
    FakeTransaction transaction;
    grid.SetColumnHeader(1, QStringLiteral("Item Name"));
    for (const char* caption : {"Price", "Quantity", "Total", "Notes"})
        grid.AddColumn(0, 60, QString::fromLatin1(caption));
    grid.resetRows(3);
    grid.setCellText(1, 1, QStringLiteral("Widget"));
    grid.setCellText(1, 4, QStringLiteral("10"));
    grid.setCellText(3, 1, QStringLiteral("Bolt"));
    grid.setCellText(3, 5, QStringLiteral("zinc"));

    ASSERT_TRUE(grid::TransactionForm(grid, host, settings, transaction).exporttotransactionform());

    const struct {
        const char* address;
        QString text;
    } cells[] = {{"B1", settings.companyName},  {"B2", settings.companyAddress},
                 {"B3", settings.companyCity},  {"B4", settings.companyZip},
                 {"B5", settings.companyEMail}, {"B6", settings.companyFax},
                 {"B7", settings.companyPhone}, {"B11", transaction.number},
                 {"E11", transaction.dateTime}, {"I11", transaction.value},
                 {"D14", settings.companyName}, {"J14", QStringLiteral("Acme Ltd.QVC")},
                 {"J15", transaction.toContact}, {"F19", QStringLiteral("Notes")},
                 {"AG19", QString()},           {"B20", QStringLiteral("Widget")},
                 {"E20", QStringLiteral("10")}, {"B21", untouchedRow},
                 {"B22", QStringLiteral("Bolt")}, {"F22", QStringLiteral("zinc")},
                 {"AG22", QString()}};
    for (const auto& c : cells)
        EXPECT_EQ(cellOf(shown, QString::fromLatin1(c.address)), c.text) << c.address;
    // The form's text fields keep what is written as typed; its amounts are numbers.
    OfficeProbe probe;
    ASSERT_TRUE(probe.connect());
    EXPECT_FALSE(probe.cell(shown, "B4").isNumber) << "a zip code stays text";
    EXPECT_TRUE(probe.cell(shown, "I11").isNumber) << "the total is a number";
    EXPECT_TRUE(probe.cell(shown, "E20").isNumber) << "a line's amount is a number";
}

TEST_F(ExchangeCalcTest, PrintRequestPrintsTwoCopiesToTheDefaultPrinter)
{
    PrivateCups cups;
    if (!cups.start())
        GTEST_SKIP() << cups.error().toStdString();
    grid.setCellText(1, 1, QStringLiteral("Printed"));
    host.printExcelFile = QStringLiteral("Yes");
    prompts->queueInput(QStringLiteral("2"));

    ASSERT_TRUE(grid::ExcelExchange(grid, host).exporttoexcel());

    EXPECT_EQ(host.printExcelFile, QStringLiteral("No"));
    EXPECT_EQ(cups.waitForPrintedPages(30000), 2);
    EXPECT_EQ(cups.outputPages(), 2);
    EXPECT_FALSE(QFile::exists(shown));
}

} // namespace
