// The item groups window's spreadsheet commands on the real LibreOffice Calc, run from the
// window: a workbook made here imported, the export read back, the entire list and the item
// form each printed in two copies to a private print queue, and the item form filled and read
// back at the addresses of its cell map. Few and quick: each office start costs a second.

#include "officewatch.h"
#include "privatecups.h"
#include "storedwhenshown.h"

#include "grid/documents/documentlist.h"
#include "platform/calc/calcspreadsheet.h"
#include "support/pinnedclock.h"
#include "support/scopedprompts.h"
#include "support/tempprogramfolder.h"
#include "windows/document/documentfixture.h"
#include "windows/document/testprogram.h"
#include "windows/items/frmitems.h"

#include <QAction>
#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>
#include <unistd.h>

using platform::calc::CalcSpreadsheet;

namespace {

using platform::Answer;

const QString FormBelowProgram = QStringLiteral("System/RAzar/Template/Item/Item Form.xls");

QByteArray digestOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256)
                                          : QByteArray();
}

class ItemsCalcTest : public ::testing::Test {
protected:
    // One office for making workbooks and reading results back, shared by the suite.
    static void SetUpTestSuite()
    {
        helper = new CalcSpreadsheet;
        ASSERT_TRUE(helper->start()) << helper->lastError().toStdString();
        helperProcesses = officeProcessesStartedBy(::getpid());
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
        platform::setSpreadsheetFactory([] { return std::make_unique<CalcSpreadsheet>(); });
        program.documentWindow = &window;
        window.showFromLauncher();
    }

    void TearDown() override
    {
        platform::setSpreadsheetFactory({});
        QElapsedTimer clock;
        clock.start();
        while (officeProcessesStartedBy(::getpid()) > helperProcesses && clock.elapsed() < 3000)
            QThread::msleep(50);
        // Every command shares the program's one office with the helper, and the print queue
        // ends that office when it comes and goes; so no more than the helper's may be left.
        EXPECT_LE(officeProcessesStartedBy(::getpid()), helperProcesses) << "an office process was left running";
    }

    // A cell of a stored workbook's active sheet, as it shows it.
    static QString cellOf(const QString& workbook, const QString& address)
    {
        if (openInHelper != workbook) {
            EXPECT_TRUE(helper->openWorkbook(workbook, true)) << helper->lastError().toStdString();
            openInHelper = workbook;
        }
        return helper->readCell(address);
    }

    // An item group of three items and a note column, the second item selected.
    void fillItemGroup()
    {
        grid::DocumentList& list = window.List1();
        list.AddColumn(3, 100, QStringLiteral("Unit"));
        list.AddColumn(4, 100, QStringLiteral("Supplier"));
        const QStringList rows[] = {{"Oak board 20 mm", "24.5", "m", "Brankar"},
                                    {"Brass hinge", "1.75", "piece", "Okov d.o.o."},
                                    {"Žaga", "12", "", "Orodja"}};
        for (int r = 0; r < 3; ++r)
            for (int c = 0; c < 4; ++c)
                list.ChangeItem(r + 1, c + 1, rows[r][c]);
        list.SelectItem(2, 1);
    }

    // Our item form where the install puts it, and the company it shows.
    QString installItemForm()
    {
        program.store.CompanyName = QStringLiteral("Firma Žaga");
        program.store.CompanyCity = QStringLiteral("Kranj");
        program.store.CompanyPhone = QStringLiteral("04 200 10");
        const QString form = folder.filePath(FormBelowProgram);
        EXPECT_TRUE(QDir().mkpath(QFileInfo(form).absolutePath()));
        EXPECT_TRUE(QFile::copy(QStringLiteral(QUORVANE_SOURCE_DIR "/resources/") + FormBelowProgram, form));
        return form;
    }

    static inline CalcSpreadsheet* helper = nullptr;
    static inline int helperProcesses = 0;
    static inline QString openInHelper;
    QTemporaryDir dir;
    QString shown;
    testsupport::TempProgramFolder folder;
    testsupport::ScopedPrompts prompts;
    windowtest::TestProgram program;
    windows::frmItems window{program.context(program.CommonDialog1, prompts.script())};
};

TEST_F(ItemsCalcTest, AWorkbookMadeHereIsImportedIntoTheItemGroup)
{
    const QString book = dir.filePath(QStringLiteral("import.xls"));
    ASSERT_TRUE(helper->addWorkbook());
    openInHelper.clear();
    helper->writeCell(QStringLiteral("A1"), QStringLiteral("Vijak M8"));
    helper->writeCell(QStringLiteral("B1"), QStringLiteral("125"));
    helper->writeCell(QStringLiteral("C2"), QStringLiteral("zinc"));
    helper->writeCell(QStringLiteral("A3"), QStringLiteral("Žemlja"));
    helper->writeCell(QStringLiteral("A4"), QStringLiteral("not asked for"));
    ASSERT_TRUE(helper->saveAs(book)) << helper->lastError().toStdString();

    prompts->queueOpen(book);
    prompts->queueInput(QStringLiteral("3"));
    window.menu(QStringLiteral("importfromexcel"))->trigger();
    grid::DocumentList& list = window.List1();
    EXPECT_EQ(list.GetItem(1, 1), QStringLiteral("Vijak M8"));
    EXPECT_EQ(list.GetItem(1, 2), QStringLiteral("125"));
    EXPECT_EQ(list.core().row(2).text(3), QStringLiteral("zinc"));
    EXPECT_EQ(list.GetItem(3, 1), QStringLiteral("Žemlja"));
    EXPECT_EQ(list.GetItem(4, 1), QString());
    EXPECT_EQ(window.lblChangeStatus(), QStringLiteral("1"));

    // The next Save writes the item group, never the workbook.
    const QString group = folder.path() + QStringLiteral("/System/RAzar/Items/Imported.QVI");
    prompts->queueSave(group);
    ASSERT_TRUE(window.cmdSave_Click());
    EXPECT_EQ(windowtest::cellOnDisk(group, 3, 1), QStringLiteral("Žemlja"));
    EXPECT_EQ(cellOf(book, QStringLiteral("A4")), QStringLiteral("not asked for"));
}

// A three-column sheet into a two-column item group: column C is not lost. It comes as a
// column of its own named "C", after "Item Name" and "Price", and the next Save keeps it.
TEST_F(ItemsCalcTest, AThreeColumnSheetKeepsItsThirdColumn)
{
    const QString book = dir.filePath(QStringLiteral("wide.xls"));
    ASSERT_TRUE(helper->addWorkbook());
    openInHelper.clear();
    const QStringList rows[] = {{"Vijak M8", "0.1", "zinc"}, {"Matica M8", "100.1", "brass"}};
    for (int r = 0; r < 2; ++r)
        for (int c = 0; c < 3; ++c)
            helper->writeCell(platform::columnLetters(c + 1) + QString::number(r + 1), rows[r][c]);
    ASSERT_TRUE(helper->saveAs(book)) << helper->lastError().toStdString();

    prompts->queueOpen(book);
    prompts->queueInput(QStringLiteral("2"));
    window.menu(QStringLiteral("importfromexcel"))->trigger();
    grid::DocumentList& list = window.List1();
    ASSERT_EQ(list.ColumnCount(), 3);
    EXPECT_EQ(list.GetColumnHeader(1), QStringLiteral("Item Name"));
    EXPECT_EQ(list.GetColumnHeader(2), QStringLiteral("Price"));
    EXPECT_EQ(list.GetColumnHeader(3), QStringLiteral("C"));
    for (int r = 0; r < 2; ++r)
        for (int c = 0; c < 3; ++c)
            EXPECT_EQ(list.GetItem(r + 1, c + 1), rows[r][c]) << r + 1 << ", " << c + 1;

    const QString group = folder.path() + QStringLiteral("/System/RAzar/Items/Wide.QVI");
    prompts->queueSave(group);
    ASSERT_TRUE(window.cmdSave_Click());
    EXPECT_EQ(windowtest::cellOnDisk(group, 1, 3), QStringLiteral("zinc"));
    EXPECT_EQ(windowtest::cellOnDisk(group, 2, 3), QStringLiteral("brass"));
    EXPECT_EQ(windowtest::cellOnDisk(group, 2, 2), QStringLiteral("100.1"));
}

// A sheet of 36 columns into an item group: the user is told that sheet columns AG to AJ are
// left out before anything changes, and with Yes the group gets columns A to AF, which the
// Save keeps.
TEST_F(ItemsCalcTest, ASheetOf36ColumnsNamesTheColumnsLeftOut)
{
    const QString book = dir.filePath(QStringLiteral("wide.xls"));
    ASSERT_TRUE(helper->addWorkbook());
    openInHelper.clear();
    for (int c = 1; c <= 36; ++c)
        helper->writeCell(platform::columnLetters(c) + QStringLiteral("1"), QStringLiteral("value %1").arg(c));
    ASSERT_TRUE(helper->saveAs(book)) << helper->lastError().toStdString();

    prompts->queueOpen(book);
    prompts->queueInput(QStringLiteral("1"));
    prompts->queueAnswer(Answer::Yes);
    window.menu(QStringLiteral("importfromexcel"))->trigger();
    EXPECT_EQ(prompts->texts().last(),
              QStringLiteral("The workbook\n") + book
                  + QStringLiteral("\nholds values in sheet columns AG to AJ, in the rows to be imported. A document "
                                   "has at most 32 columns, A to AF, so those columns are left out of the import.\n\n"
                                   "Import columns A to AF without them?"));
    grid::DocumentList& list = window.List1();
    ASSERT_EQ(list.ColumnCount(), 32);
    EXPECT_EQ(list.GetItem(1, 32), QStringLiteral("value 32"));

    const QString group = folder.path() + QStringLiteral("/System/RAzar/Items/Wide.QVI");
    prompts->queueSave(group);
    ASSERT_TRUE(window.cmdSave_Click());
    EXPECT_EQ(windowtest::cellOnDisk(group, 1, 32), QStringLiteral("value 32"));
    EXPECT_EQ(windowtest::cellOnDisk(group, 1, 1), QStringLiteral("value 1"));
}

TEST_F(ItemsCalcTest, TheEntireListPrintsTwoCopies)
{
    PrivateCups cups;
    if (!cups.start())
        GTEST_SKIP() << cups.error().toStdString();
    fillItemGroup();
    prompts->queueInput(QStringLiteral("2"));
    window.button(QStringLiteral("cmdPrintOptions"))->click();
    EXPECT_EQ(cups.waitForPrintedPages(30000), 2);
    EXPECT_EQ(cups.outputPages(), 2);
    EXPECT_TRUE(cups.outputText().contains(QStringLiteral("Brass hinge")));
    EXPECT_FALSE(QFile::exists(shown));
    EXPECT_EQ(program.store.PrintExcelFile.value(), QStringLiteral("No"));
}


TEST_F(ItemsCalcTest, TheShownItemFormReadsBackAsTheWindowShowedTheItem)
{
    const QString form = installItemForm();
    const QByteArray formDigest = digestOf(form);
    platform::setSpreadsheetFactory([this] { return std::make_unique<StoredWhenShown>(shown); });
    fillItemGroup();
    window.List1().AddColumn(5, 100, QStringLiteral("Opomba"));
    window.List1().ChangeItem(2, 5, QStringLiteral("=plačano vnaprej"));
    window.menu(QStringLiteral("exportform"))->trigger();
    ASSERT_TRUE(QFile::exists(shown)) << "the filled form was not handed over: "
                                      << prompts->texts().join(", ").toStdString();

    const struct {
        const char* address;
        QString text;
    } cells[] = {
        {"B2", "Firma Žaga"},
        {"B3", ""},
        {"B4", "Kranj"},
        {"B8", "04 200 10"},
        {"D17", "Items Group [ Unsaved ]"},
        {"D19", "2"},
        {"D21", "Brass hinge"},
        {"D23", "1.75"},
        {"B25", "Unit"},
        {"D25", "piece"},
        {"B27", "Supplier"},
        {"D27", "Okov d.o.o."},
        {"B29", "Opomba"},
        {"D29", "=plačano vnaprej"},
        {"B31", ""},
        {"D83", ""},
    };
    // Read by an instance made now, in the office that filled the form: a print queue of an
    // earlier test may have ended the office of the suite's helper.
    CalcSpreadsheet reader;
    ASSERT_TRUE(reader.start()) << reader.lastError().toStdString();
    ASSERT_TRUE(reader.openWorkbook(shown, true)) << reader.lastError().toStdString();
    for (const auto& cell : cells)
        EXPECT_EQ(reader.readCell(QString::fromLatin1(cell.address)), cell.text) << cell.address;
    EXPECT_FALSE(reader.readCell(QStringLiteral("D15")).isEmpty()) << "the date and time";
    EXPECT_EQ(digestOf(form), formDigest);
}

TEST_F(ItemsCalcTest, TheSelectedItemPrintsTwoCopies)
{
    PrivateCups cups;
    if (!cups.start())
        GTEST_SKIP() << cups.error().toStdString();
    const QString form = installItemForm();
    const QByteArray formDigest = digestOf(form);
    fillItemGroup();
    prompts->queueInput(QStringLiteral("2"));
    window.menu(QStringLiteral("printselecteditem"))->trigger();
    EXPECT_EQ(cups.waitForPrintedPages(30000), 2) << prompts->texts().join(", ").toStdString();
    EXPECT_EQ(cups.outputPages(), 2);
    const QString printed = cups.outputText();
    EXPECT_TRUE(printed.contains(QStringLiteral("Brass hinge"))) << printed.toStdString();
    EXPECT_TRUE(printed.contains(QStringLiteral("Okov d.o.o."))) << printed.toStdString();
    EXPECT_EQ(digestOf(form), formDigest);
}

} // namespace
