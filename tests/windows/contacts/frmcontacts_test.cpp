// What is the contact companies window's own: its menus, controls and texts, its help topic
// and its rows. The behaviour it shares with the other document windows is tested over the
// kinds in tests/windows/document.

#include "contactsfixture.h"

#include "platform/desktop.h"
#include "support/controlfit.h"

#include <QAbstractButton>
#include <QAction>
#include <QFrame>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>

namespace contactstest {
namespace {

using windowtest::menuText;
using windowtest::RecordingViewer;
using platform::Answer;

TEST_F(ContactsWindow, MenusAreThoseOfAContactCompany)
{
    const QMenuBar* bar = window.findChild<QMenuBar*>();
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(menuText(bar->actions()),
              (QStringList{
                  "  File [New, Open, Close, -, Save, Save As, -, Print [Selected Contact, Entire List], -, , , ]",
                  "Edit [Copy Formated Text Ctrl+C, Paste Formated Text Ctrl+V]",
                  "Add [Add Row, Add Column]",
                  "Delete [Delete Row, Delete Column]",
                  "Insert [Row, Column]",
                  "View [Tool Bar, Text Bar]",
                  "Data [Import External Data [From File], Export Data [Company into Excel Spreadsheet, Selected "
                  "Contact into Excel Form]]",
                  "Transfer [From, To]",
                  "Help",
              }));
}

TEST_F(ContactsWindow, ControlsCarryTheirTipsAndCaptions)
{
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Company [ Unsaved ]"));
    EXPECT_EQ(window.button(QStringLiteral("cmdList"))->toolTip(), QStringLiteral("List Contact Companies"));
    EXPECT_EQ(window.button(QStringLiteral("cmdFindFiles"))->toolTip(),
              QStringLiteral("Search Computer for Item Group Files"));
    for (const char* name : {"btnBack", "cmdNew", "cmdOpen", "cmdSave", "cmdPrintOptions", "cmdUndo", "cmdRedo",
                             "cmdFind", "cmdBold", "cmdItalic", "cmdUnderlined", "cmdFontColor", "txttoReplace"})
        EXPECT_TRUE(window.button(QString::fromLatin1(name)) || window.findChild<QWidget*>(QString::fromLatin1(name)))
            << name;

    // The transfer frame: hidden at first, where the layout never moves it.
    QFrame* frame = window.TransferItems();
    EXPECT_TRUE(frame->isHidden());
    const QRect design = frame->geometry(); // widened where the captions need it
    EXPECT_EQ(design.topLeft(), QPoint(8, 24));
    EXPECT_EQ(design.height(), 57);
    EXPECT_GE(design.width(), 220);
    const struct {
        const char* name;
        const char* caption;
        const char* tip;
    } controls[] = {
        {"TRANSFERITEMSFROM", "TRANSFER FROM", "Click to Transfer items from Selected Contact"},
        {"TRANSFERITEMSTO", "TRANSFER TO", "Click to Transfer items to Selected Contact"},
        {"SelectedContactFrom", "", "Click to Transfer items from Selected Contact"},
        {"SelectedContactTo", "", "Click to Transfer items to Selected Contact"},
        {"CloseDialog", "X", "Close Transfer Menu"},
    };
    for (const auto& c : controls) {
        const QAbstractButton* control = window.transferControl(QString::fromLatin1(c.name));
        ASSERT_NE(control, nullptr) << c.name;
        EXPECT_EQ(control->text(), QString::fromLatin1(c.caption)) << c.name;
        EXPECT_EQ(control->toolTip(), QString::fromLatin1(c.tip)) << c.name;
    }
    window.showTransferItems();
    window.Reposition();
    EXPECT_EQ(frame->geometry(), design);
    window.transferControl(QStringLiteral("CloseDialog"))->click();
    EXPECT_TRUE(frame->isHidden());
}

TEST_F(ContactsWindow, HelpShowsTheContactsTopic)
{
    RecordingViewer viewer;
    platform::setHelpViewer(&viewer);
    window.menu(QStringLiteral("Help"))->trigger();
    platform::setHelpViewer(nullptr);
    EXPECT_EQ(viewer.shown, (QStringList{folder.filePath(QStringLiteral("VURira.chm")), "Main", "Contacts.htm"}));
}

// A row added at the end goes below the last contact, up to 65,001 rows.
TEST_F(ContactsWindow, RowsAreAddedBelowTheLastContactUpTo65001)
{
    grid::DocumentList& list = window.List1();
    const int rows = list.ListCount();
    ASSERT_EQ(rows, 30);
    list.ChangeItem(rows, 1, QStringLiteral("last contact"));
    window.DODARED();
    EXPECT_EQ(list.GetItem(rows, 1), QStringLiteral("last contact"));
    EXPECT_EQ(list.GetItem(rows + 1, 1), QString());
    EXPECT_EQ(window.lblChangeStatus(), QStringLiteral("1"));

    list.AddMoreThanOneRow(65000 - list.ListCount());
    window.DODARED();
    ASSERT_EQ(list.ListCount(), 65001);
    window.setlblChangeStatus(QStringLiteral("0"));
    prompts->queueAnswer(Answer::OK);
    window.DODARED();
    EXPECT_EQ(list.ListCount(), 65001);
    EXPECT_EQ(window.lblChangeStatus(), QStringLiteral("0"));
    EXPECT_EQ(prompts->recorded().last().text,
              QStringLiteral("Velkorn's Quorvane for Microsoft Excel integrate file size into .xls (MS Excel) format. "
                             "Maximum records per one Company is therefore limited to 65 001 records (slightly "
                             "smaller then current Excel spreadsheet limitation at 65,536, respectfully).")
                  + QString(12, QLatin1Char(' '))
                  + QStringLiteral("If you wish to add more Contacts into Company, create new Company file and save it "
                                   "with -2 on the end of the Company name. "));
    EXPECT_EQ(prompts->recorded().last().style, 16);
}

// An open while the transactions window is shown tells how to hand a contact over, also for
// a document that opens read-only.
TEST_F(ContactsWindow, AnOpenBesideATransactionTellsHowToTransfer)
{
    const QString hint = QStringLiteral(
        " To Transfer Items from or to this company, select one Contact and click on 'Transfer' button (or Enter "
        "Key).");
    openClients();
    EXPECT_NE(prompts->texts().last(), hint);

    program.transactions.shown = true;
    const QString other = contacts(QStringLiteral("Suppliers.QVC"));
    writeCompany(other, {{"Lepko", "12"}});
    putLock(other, "PC-BORIS");
    prompts->queueOpen(other);
    prompts->queueAnswer(Answer::OK); // another computer edits it
    prompts->queueAnswer(Answer::OK);
    window.cmdOpen_Click();
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Company READ-ONLY [Suppliers.QVC ]"));
    EXPECT_EQ(prompts->recorded().last().text, hint);
    EXPECT_EQ(prompts->recorded().last().style, 64);
}

// A network user whose host lets no one write may not import into a contact company; one
// who may write goes on to choose the workbook.
TEST_F(ContactsWindow, TheImportRefusesANetworkUserWhoMayNotWrite)
{
    QTemporaryDir shared;
    ASSERT_TRUE(QDir().mkpath(shared.filePath(QStringLiteral("QVNET/RAzar/Contacts"))));
    folder.writeFile(QStringLiteral("System/Sound/2.wav"), "RIFF");
    for (const bool mayWrite : {false, true}) {
        SCOPED_TRACE(mayWrite ? "may write" : "may not write");
        program.beUser(shared.path(), mayWrite);
        program.sounds.clear();
        prompts.script().clear();
        if (mayWrite)
            prompts->queueOpenCancel();
        else
            prompts->queueAnswer(Answer::OK);
        window.menu(QStringLiteral("importfromexcel"))->trigger();
        ASSERT_EQ(prompts->recorded().size(), 1);
        const testsupport::RecordedPrompt& shown = prompts->recorded().first();
        if (mayWrite) {
            EXPECT_EQ(shown.kind, testsupport::PromptKind::ShowOpen);
            EXPECT_EQ(program.sounds.size(), 1);
        } else {
            EXPECT_EQ(shown.text, QStringLiteral("Network users are not allowed to edit files. Contact your network "
                                                 "host for assistance. "));
            EXPECT_EQ(shown.style, 16);
            EXPECT_TRUE(program.sounds.isEmpty());
        }
    }
}

// At the window's font the hand-off frame's captions are whole ("TRANSFER FROM", not
// "RANSFER FRO"), no control covers another and all of them lie within the frame.
TEST_F(ContactsWindow, TheTransferFramesCaptionsAreWholeAndNoControlCoversAnother)
{
    window.setSelectedContacts(QStringLiteral("Mizarstvo Kos"));
    window.showTransferItems();
    QFrame* frame = window.TransferItems();
    ASSERT_TRUE(frame->isVisibleTo(&window));
    QList<QWidget*> controls;
    for (const char* name : {"TRANSFERITEMSFROM", "TRANSFERITEMSTO", "SelectedContactFrom", "SelectedContactTo",
                             "CloseDialog"})
        controls << window.transferControl(QString::fromLatin1(name));
    EXPECT_EQ(testsupport::cutCaptions(controls), QStringList());
    EXPECT_EQ(testsupport::overlappingControls(controls), QStringList());
    EXPECT_EQ(testsupport::controlsOutside(controls, frame->contentsRect()), QStringList());
}

} // namespace
} // namespace contactstest
