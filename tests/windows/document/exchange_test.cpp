// The document windows' spreadsheet commands, with a recording spreadsheet program: the import
// of a workbook's rows, the export into a new workbook and the print of the entire list, with
// their sound, their refusals, their questions and the state they leave behind. The same
// commands on the real office are in tests/windows/items/calc.

#include "documentfixture.h"

#include "platform/spreadsheet.h"
#include "platform/systeminfo.h"
#include "support/recordingspreadsheet.h"
#include "windows/document/importwarning.h"

#include <QProgressBar>
#include <QStandardPaths>

namespace windowtest {
namespace {

using platform::Answer;

const QString Unusable = QStringLiteral("Quorvane failed to initialize Microsoft Excel");
const QString UnusableTitle = QStringLiteral("Velkorn      Excel Error");
const QString RowsPrompt = QStringLiteral("Enter the record (row) number to import:");

class Exchange : public DocumentFixture {
protected:
    void SetUp() override
    {
        openWindow();
        sound = folder.writeFile(QStringLiteral("System/Sound/2.wav"), "RIFF");
        workbook = folder.writeFile(QStringLiteral("Book.xls"), "workbook bytes");
        excel->workbooks[workbook] = {{QStringLiteral("A1"), QStringLiteral("Vijak M8")},
                                      {QStringLiteral("B1"), QStringLiteral("12.5")},
                                      {QStringLiteral("A2"), QStringLiteral("Matica M8")}};
    }

    // An item group opened from its file, so the import has a document to belong to.
    QString openDocumentFile()
    {
        const QString path = local(fileName("Stock"));
        writeDocument(path, {QStringLiteral("old one"), QStringLiteral("old two")});
        openThroughDialog(path);
        prompts.script().clear();
        return path;
    }
    void import(const QString& rows)
    {
        prompts->queueOpen(workbook);
        prompts->queueInput(rows);
        window->importfromexcel_Click();
    }
    bool started() { return excel->calls.contains(QStringLiteral("start")); }

    testsupport::ScopedRecordingSpreadsheet excel;
    QString sound;
    QString workbook;
};

// The import reads the workbook into the grid. The workbook was chosen in the import's own
// dialog, so the document keeps its path and a Save writes the document, not the workbook.
TEST_P(Exchange, ImportReadsTheWorkbookIntoTheDocument)
{
    const QString path = openDocumentFile();
    const platform::CommonDialog before = dialog();
    import(QStringLiteral("2"));

    const testsupport::RecordedPrompt& chooser = prompts->recorded()[0];
    EXPECT_EQ(chooser.kind, testsupport::PromptKind::ShowOpen);
    EXPECT_EQ(chooser.dialog.DialogTitle, QStringLiteral("Select Data Source:"));
    EXPECT_TRUE(chooser.dialog.Filter.startsWith(QStringLiteral(
        "All data, excel,text files(*.xl;*.xls;*.xlt;*.xla;*.xls;*.htm;*.html;*.prn;*.txt;)")));
    EXPECT_EQ(chooser.dialog.InitDir, QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
    EXPECT_EQ(prompts->recorded()[1].text, RowsPrompt);
    EXPECT_EQ(program.sounds, QStringList{sound});

    EXPECT_EQ(window->List1().GetItem(1, 1), QStringLiteral("Vijak M8"));
    EXPECT_EQ(window->List1().GetItem(1, 2), QStringLiteral("12.5"));
    EXPECT_EQ(window->List1().GetItem(2, 1), QStringLiteral("Matica M8"));
    EXPECT_EQ(window->List1().iSelected(), 1);
    EXPECT_TRUE(window->List1().isVisible());
    EXPECT_TRUE(window->PleaseWait()->isHidden());
    EXPECT_EQ(window->PleaseWaitCaption(), QStringLiteral("Quorvane is exporting data into Microsoft Excel file:"));
    EXPECT_EQ(window->lblChangeStatus(), QStringLiteral("1"));
    EXPECT_EQ(dialog().FileName, before.FileName);
    EXPECT_EQ(dialog().FileTitle, before.FileTitle);
    EXPECT_EQ(dialog().Filter, before.Filter);
    EXPECT_EQ(window->windowTitle(), caption(fileName("Stock")));

    // Nothing before the import can be undone.
    prompts->queueAnswer(Answer::OK);
    window->cmdUndo_Click();
    EXPECT_EQ(prompts->texts().last(), QStringLiteral("Cant undo!"));

    if (!row().savesPlainly)
        return; // its Save posts; the kind's own tests save it
    ASSERT_TRUE(window->cmdSave_Click());
    EXPECT_EQ(cellOnDisk(path, 1, 1), QStringLiteral("Vijak M8"));
    EXPECT_EQ(bytesOf(workbook), QByteArray("workbook bytes"));
}

// A workbook the spreadsheet program cannot open leaves the document as it was: not changed,
// its history kept. The grid tells the user what failed.
TEST_P(Exchange, AWorkbookThatCannotBeReadChangesNothing)
{
    openDocumentFile();
    window->List1().ChangeItem(1, 2, QStringLiteral("9"));
    window->setlblChangeStatus(QStringLiteral("0"));
    excel->failOpen = true;
    prompts->queueAnswer(Answer::OK);
    import(QStringLiteral("2"));
    EXPECT_TRUE(prompts->recorded().last().text.contains(workbook));
    EXPECT_EQ(window->List1().GetItem(1, 1), QStringLiteral("old one"));
    EXPECT_EQ(window->lblChangeStatus(), QStringLiteral("0"));
    EXPECT_TRUE(window->List1().undo());
    EXPECT_TRUE(window->PleaseWait()->isHidden());
}

// What the user answers before anything is read: the row count's checks and the duration
// question from 499 rows on.
TEST_P(Exchange, TheRowCountIsCheckedBeforeAnythingIsRead)
{
    const struct {
        const char* typed;
        QStringList after; // prompts after the row count
        bool reads;
    } cases[] = {
        {"", {}, false},
        {"abc", {}, false},
        {"0", {}, false},
        {"-5", {}, false},
        {"50001", {"Quorvane for Excel can't exceed Microsoft Excel row limitation!"}, false},
        {"498", {}, true},
        {"2.5", {}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        prompts.script().clear();
        excel->calls.clear();
        window->setlblChangeStatus(QStringLiteral("0"));
        for (int i = 0; i < c.after.size(); ++i)
            prompts->queueAnswer(Answer::OK);
        import(QString::fromLatin1(c.typed));
        QStringList after = prompts->texts().mid(2);
        EXPECT_EQ(after, c.after);
        if (!c.after.isEmpty()) {
            EXPECT_EQ(prompts->recorded().last().style, 16);
        }
        EXPECT_EQ(started(), c.reads);
    }

    // From 499 rows the user is asked, with the estimate; No reads nothing.
    prompts.script().clear();
    excel->calls.clear();
    window->setlblChangeStatus(QStringLiteral("0"));
    prompts->queueAnswer(Answer::No);
    import(QStringLiteral(" 499"));
    ASSERT_EQ(prompts->recorded().size(), 3);
    const windows::ImportWarning expected =
        windows::ImportWarning::forRows(QStringLiteral(" 499"), 499, platform::processorSpeedMHz());
    EXPECT_EQ(prompts->recorded()[2].text, expected.text);
    EXPECT_EQ(prompts->recorded()[2].title, expected.title);
    EXPECT_EQ(prompts->recorded()[2].style, expected.style);
    EXPECT_FALSE(started());
}

// Unsaved changes are offered for saving first: Cancel ends the import, Yes saves and ends
// it, No goes on. The refusal for an unusable spreadsheet program comes before all of it.
TEST_P(Exchange, TheImportAsksAboutUnsavedChangesFirst)
{
    const QString path = openDocumentFile();
    edit(QStringLiteral("edited"));

    program.store.lblEXCELSTATUS = QStringLiteral("NERADI");
    prompts->queueAnswer(Answer::OK);
    window->importfromexcel_Click();
    EXPECT_EQ(prompts->texts(), QStringList{Unusable});
    EXPECT_EQ(prompts->recorded().last().title, UnusableTitle);
    EXPECT_EQ(program.sounds, QStringList());
    program.store.lblEXCELSTATUS = QStringLiteral("RADI");

    prompts.script().clear();
    prompts->queueAnswer(Answer::Cancel);
    window->importfromexcel_Click();
    EXPECT_EQ(prompts->texts(), QStringList{"Save Changes?"});
    EXPECT_EQ(window->lblChangeStatus(), QStringLiteral("1"));

    // Yes saves instead of importing (where Save posts, the kind's own tests cover it).
    if (row().savesPlainly) {
        prompts.script().clear();
        prompts->queueAnswer(Answer::Yes);
        window->importfromexcel_Click();
        EXPECT_EQ(prompts->texts(), QStringList{"Save Changes?"});
        EXPECT_EQ(cellOnDisk(path, 1, 1), QStringLiteral("edited"));
        EXPECT_FALSE(started());
    }

    edit(QStringLiteral("edited again"));
    prompts.script().clear();
    prompts->queueAnswer(Answer::No);
    prompts->queueOpenCancel();
    window->importfromexcel_Click();
    EXPECT_EQ(prompts->texts(), (QStringList{"Save Changes?", "Select Data Source:"}));
    EXPECT_EQ(window->List1().GetItem(1, 1), QStringLiteral("edited again"));
}

// A sheet wider than the document loses nothing: a value beyond the kind's columns gets a
// column of its own, named after its sheet column, after the kind's columns, which keep their
// places; the columns between come too, so each value stays under its sheet column. The save
// then keeps them all.
TEST_P(Exchange, ASheetWiderThanTheDocumentGetsColumnsForItsValues)
{
    const QString path = openDocumentFile();
    const int own = window->List1().ColumnCount();
    QStringList captions;
    for (int c = 1; c <= own; ++c)
        captions << window->List1().GetColumnHeader(c);
    const QString next = platform::columnLetters(own + 1);
    const QString last = platform::columnLetters(own + 3);
    excel->workbooks[workbook] = {{QStringLiteral("A1"), QStringLiteral("Vijak M8")},
                                  {next + QStringLiteral("1"), QStringLiteral("zinc")},
                                  {last + QStringLiteral("2"), QStringLiteral("box of 100")}};
    import(QStringLiteral("2"));

    grid::DocumentList& list = window->List1();
    ASSERT_EQ(list.ColumnCount(), own + 3);
    for (int c = 1; c <= own; ++c)
        EXPECT_EQ(list.GetColumnHeader(c), captions[c - 1]);
    for (int c = own + 1; c <= own + 3; ++c) {
        EXPECT_EQ(list.GetColumnHeader(c), platform::columnLetters(c));
        EXPECT_EQ(list.GetWidthColumn(c), 100);
    }
    EXPECT_EQ(list.GetItem(1, own + 1), QStringLiteral("zinc"));
    EXPECT_EQ(list.GetItem(2, own + 3), QStringLiteral("box of 100"));
    EXPECT_EQ(list.GetItem(1, 1), QStringLiteral("Vijak M8"));
    EXPECT_FALSE(list.undo());

    if (!row().savesPlainly)
        return; // its Save posts; the kind's own tests save it
    ASSERT_TRUE(window->cmdSave_Click());
    EXPECT_EQ(cellOnDisk(path, 1, own + 1), QStringLiteral("zinc"));
    EXPECT_EQ(cellOnDisk(path, 2, own + 3), QStringLiteral("box of 100"));
}

// A sheet of 36 columns: a document holds 32 at most, so before the import changes anything
// the user is told which sheet columns are left out, by letter. No leaves the document as it
// was, with its history; Yes imports columns A to AF, and the Save writes them.
TEST_P(Exchange, SheetColumnsPastAFAreNamedBeforeTheImportChangesAnything)
{
    const QString path = openDocumentFile();
    window->List1().ChangeItem(1, 2, QStringLiteral("9"));
    window->setlblChangeStatus(QStringLiteral("0"));
    const int columns = window->List1().ColumnCount();
    QHash<QString, QString> cells;
    for (int c = 1; c <= 36; ++c)
        cells.insert(platform::columnLetters(c) + QStringLiteral("1"), QStringLiteral("value %1").arg(c));
    excel->workbooks[workbook] = cells;
    const QString question = QStringLiteral("The workbook\n") + workbook
                             + QStringLiteral("\nholds values in sheet columns AG to AJ, in the rows to be imported. A "
                                              "document has at most 32 columns, A to AF, so those columns are left out "
                                              "of the import.\n\nImport columns A to AF without them?");

    prompts->queueAnswer(Answer::No);
    import(QStringLiteral("2"));
    EXPECT_EQ(prompts->texts().last(), question);
    EXPECT_EQ(prompts->recorded().last().style, 292);
    EXPECT_EQ(window->List1().GetItem(1, 1), QStringLiteral("old one"));
    EXPECT_EQ(window->List1().ColumnCount(), columns);
    EXPECT_EQ(window->lblChangeStatus(), QStringLiteral("0"));
    EXPECT_TRUE(window->List1().isVisible());
    EXPECT_TRUE(window->PleaseWait()->isHidden());
    EXPECT_TRUE(window->List1().undo());

    prompts->queueAnswer(Answer::Yes);
    import(QStringLiteral("2"));
    EXPECT_EQ(prompts->texts().last(), question);
    grid::DocumentList& list = window->List1();
    ASSERT_EQ(list.ColumnCount(), 32);
    EXPECT_EQ(list.GetItem(1, 32), QStringLiteral("value 32"));
    EXPECT_EQ(window->lblChangeStatus(), QStringLiteral("1"));

    if (!row().savesPlainly)
        return; // its Save posts; the kind's own tests save it
    ASSERT_TRUE(window->cmdSave_Click());
    EXPECT_EQ(cellOnDisk(path, 1, 32), QStringLiteral("value 32"));
}

TEST_P(Exchange, TheExportShowsTheListInANewWorkbook)
{
    openDocumentFile();
    window->List1().ChangeItem(3, 2, QStringLiteral("7"));
    window->setlblChangeStatus(QStringLiteral("0"));
    window->menu(QStringLiteral("exporttoexcel"))->trigger();
    EXPECT_EQ(program.sounds, QStringList{sound});
    EXPECT_EQ(excel->calls, (QStringList{"start", "alerts off", "visible off", "add workbook", "alerts on", "show"}));
    EXPECT_EQ(excel->shownCells.value(QStringLiteral("A1")), QStringLiteral("old one"));
    EXPECT_EQ(excel->shownCells.value(QStringLiteral("A2")), QStringLiteral("old two"));
    EXPECT_EQ(excel->shownCells.value(QStringLiteral("B3")), QStringLiteral("7"));
    EXPECT_TRUE(window->PleaseWait()->isHidden());
    EXPECT_EQ(window->lblChangeStatus(), QStringLiteral("0"));
    EXPECT_EQ(window->ProgressBar1()->maximum(), window->List1().ListCount() + 1);
}

// The print of the entire list plays the sound twice (its own steps, then the export's) and
// asks for the copies once the rows are written; whatever the answer, the next export shows.
TEST_P(Exchange, ThePrintOfTheEntireListPrintsTheCopiesAsked)
{
    if (!window->menu(QStringLiteral("printentirelist")))
        GTEST_SKIP() << "the kind's Print prints its form; its own tests cover it";
    openDocumentFile();
    prompts->queueInput(QStringLiteral("2"));
    window->button(QStringLiteral("cmdPrintOptions"))->click();
    EXPECT_EQ(program.sounds, (QStringList{sound, sound}));
    EXPECT_EQ(prompts->texts(), QStringList{"Enter number of copies to print:"});
    EXPECT_TRUE(excel->calls.contains(QStringLiteral("print 2 collated")));
    EXPECT_EQ(excel->printedCells.value(QStringLiteral("A1")), QStringLiteral("old one"));
    EXPECT_EQ(program.store.PrintExcelFile.value(), QStringLiteral("No"));

    excel->calls.clear();
    prompts->queueInput(QString());
    window->printentirelist_Click();
    EXPECT_FALSE(excel->calls.join(' ').contains(QStringLiteral("print")));
    EXPECT_EQ(program.store.PrintExcelFile.value(), QStringLiteral("No"));
    excel->calls.clear();
    window->exporttoexcel_Click();
    EXPECT_TRUE(excel->calls.contains(QStringLiteral("show")));
}

// With the spreadsheet program found unusable at start-up, the export and the print play the
// sound and refuse; nothing is started.
TEST_P(Exchange, TheExportAndThePrintRefuseWhileTheSpreadsheetProgramIsUnusable)
{
    program.store.lblEXCELSTATUS = QStringLiteral("NERADI");
    for (const char* command : {"exporttoexcel", "printentirelist"}) {
        SCOPED_TRACE(command);
        if (!window->menu(QString::fromLatin1(command)))
            continue; // a kind without a list print
        prompts.script().clear();
        program.sounds.clear();
        prompts->queueAnswer(Answer::OK);
        window->menu(QString::fromLatin1(command))->trigger();
        EXPECT_EQ(program.sounds, QStringList{sound});
        EXPECT_EQ(prompts->texts(), QStringList{Unusable});
        EXPECT_EQ(prompts->recorded().last().title, UnusableTitle);
        EXPECT_EQ(prompts->recorded().last().style, 16);
        EXPECT_FALSE(started());
        EXPECT_EQ(program.store.PrintExcelFile.value(), QStringLiteral("No"));
    }
    // Without the sound file nothing is played, and the command goes on all the same.
    QFile::remove(sound);
    program.store.lblEXCELSTATUS = QStringLiteral("RADI");
    program.sounds.clear();
    window->exporttoexcel_Click();
    EXPECT_EQ(program.sounds, QStringList());
    EXPECT_TRUE(started());
}

INSTANTIATE_FOR_EVERY_KIND(Exchange);

// ---- The duration question

TEST(ImportWarning, TheEstimateAndItsThreeForms)
{
    const struct {
        double rows;
        int mhz;
        int seconds;
        QString title;
        int style;
    } cases[] = {
        {499, 2300, 25, QStringLiteral("Data Import Warning!"), 292},
        {5000, 2300, 250, QStringLiteral("Long Processing Warning ( 4 minutes) !!! "), 292},
        {50000, 2300, 2500, QStringLiteral("Attention! Very Long Processing Time Warning ( 42 minutes) !!! "), 276},
        {50000, 2000, 2875, QStringLiteral("Attention! Very Long Processing Time Warning ( 48 minutes) !!! "), 276},
        // 120 seconds is the last of the short form; 630 seconds are 10.5 minutes, 10 by the
        // half to even, the last of the minutes form; 631 give 11.
        {2400, 2300, 120, QStringLiteral("Data Import Warning!"), 292},
        {2420, 2300, 121, QStringLiteral("Long Processing Warning ( 2 minutes) !!! "), 292},
        {12600, 2300, 630, QStringLiteral("Long Processing Warning ( 10 minutes) !!! "), 292},
        {12620, 2300, 631, QStringLiteral("Attention! Very Long Processing Time Warning ( 11 minutes) !!! "), 276},
        // No processor speed, or an estimate beyond the 16-bit range: 0 seconds.
        {50000, 0, 0, QStringLiteral("Data Import Warning!"), 292},
        {50000, 175, 0, QStringLiteral("Data Import Warning!"), 292},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.rows << " rows at " << c.mhz << " MHz");
        EXPECT_EQ(windows::ImportWarning::seconds(c.rows, c.mhz), c.seconds);
        const windows::ImportWarning w = windows::ImportWarning::forRows(QString::number(c.rows), c.rows, c.mhz);
        EXPECT_EQ(w.title, c.title);
        EXPECT_EQ(w.style, c.style);
    }
}

TEST(ImportWarning, TheTextsShowTheCountAsTyped)
{
    EXPECT_EQ(windows::ImportWarning::forRows(QStringLiteral(" 499"), 499, 2300).text,
              QStringLiteral("With  499 of records you entered, import action will take approximately 25 seconds, "
                             "during which you will not be able to stop importing process. Start data import?"));
    EXPECT_EQ(windows::ImportWarning::forRows(QStringLiteral("5000"), 5000, 2300).text,
              QStringLiteral("Because on the the significant difference in the selected data format, with  5000 of "
                             "records you entered and with the current system processor speed at 2300 MHz, this "
                             "action could take approximately 250 seconds (4 ) minutes during which you will not be "
                             "able to stop importing process. Start data import?"));
    EXPECT_EQ(windows::ImportWarning::forRows(QStringLiteral("50000"), 50000, 2300).text,
              QStringLiteral("You entered very large amount of records to be imported. Because of the the significant "
                             "difference in the selected data format and with the current system processor speed at "
                             "2300 MHz, this action could take approximately 2500 seconds (42 ) minutes, during which "
                             "you will not be able to stop importing process. Start data import?"));
}

} // namespace
} // namespace windowtest
