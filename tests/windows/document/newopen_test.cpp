// New, Open and the "Save Changes?" question, as every document window has them.

#include "documentfixture.h"

#include <QLineEdit>
#include <QProgressBar>

namespace windowtest {
namespace {

using platform::Answer;
using windows::CloseOutcome;

class NewAndOpen : public DocumentFixture {
protected:
    void SetUp() override { openWindow(); }
};

TEST_P(NewAndOpen, TheLauncherOpensANewDocumentWithTheDefaultColumns)
{
    EXPECT_EQ(window->windowTitle(), unsavedCaption());
    EXPECT_EQ(program.store.ActiveList.value(), row().formName);
    grid::DocumentList& list = window->List1();
    ASSERT_EQ(list.ColumnCount(), int(row().defaultColumns.size()));
    for (int c = 1; c <= list.ColumnCount(); ++c) {
        EXPECT_EQ(list.GetColumnHeader(c), row().defaultColumns[c - 1].first);
        EXPECT_EQ(list.GetWidthColumn(c), row().defaultColumns[c - 1].second);
    }
    EXPECT_EQ(list.ListCount(), row().defaultRows);
    EXPECT_FALSE(list.undo());
    EXPECT_EQ(window->lblChangeStatus(), QStringLiteral("0"));
}

TEST_P(NewAndOpen, NewOnAnUnchangedDocumentClearsItWithoutAQuestion)
{
    writeDocument(local(fileName("Tools")), {QStringLiteral("hammer")});
    openThroughDialog(local(fileName("Tools")));
    ASSERT_EQ(window->List1().GetItem(1, 1), QStringLiteral("hammer"));
    window->cmdNew_Click();
    EXPECT_EQ(window->windowTitle(), unsavedCaption());
    EXPECT_EQ(window->List1().GetItem(1, 1), QString());
    EXPECT_EQ(window->List1().ListCount(), row().defaultRows);
    // The dialog still names the document left, and the window may save: Save goes to Save As.
    EXPECT_EQ(dialog().FileName, local(fileName("Tools")));
    EXPECT_TRUE(saveEnabled());
}

TEST_P(NewAndOpen, OpenReadsTheDocumentWritable)
{
    const QString path = local(QStringLiteral("Tools  "));
    writeDocument(path, {QStringLiteral("hammer"), QStringLiteral("saw")});
    edit(QStringLiteral("draft")); // an unchanged window is needed: answer No
    prompts->queueAnswer(Answer::No);
    openThroughDialog(path);

    const testsupport::RecordedPrompt& shown = prompts->recorded().last();
    EXPECT_EQ(shown.dialog.Filter, row().filter);
    EXPECT_EQ(shown.dialog.InitDir, localDocuments());
    EXPECT_EQ(window->windowTitle(), caption(QStringLiteral("Tools")));
    EXPECT_EQ(window->List1().GetItem(2, 1), QStringLiteral("saw"));
    EXPECT_EQ(window->List1().iSelected(), 1);
    EXPECT_EQ(window->currentfilename(), path);
    EXPECT_EQ(dialog().FileName, path);
    EXPECT_EQ(dialog().FileTitle, QStringLiteral("Tools  "));
    EXPECT_EQ(dialog().Flags, 0);
    EXPECT_EQ(window->lblChangeStatus(), QStringLiteral("0"));
    EXPECT_TRUE(saveEnabled());
    EXPECT_TRUE(window->List1().isVisible());
    EXPECT_FALSE(window->PleaseWait()->isVisible());
    EXPECT_EQ(window->ProgressBar1()->maximum(), 1000000000);
    EXPECT_EQ(window->ProgressBar1()->value(), 0);
    // Recorded as the newest recent document; a single machine writes no lock.
    EXPECT_EQ(slot(1).Caption.value(), path);
    EXPECT_EQ(slot(1).ToolTipText.value(), QStringLiteral("Tools  ") + row().extension);
    EXPECT_TRUE(window->menu(QStringLiteral("file1"))->isVisible());
    EXPECT_FALSE(lockOf(path));
}

// Open that ends before reading anything leaves the window and its document as they were,
// the document's path included.
TEST_P(NewAndOpen, AnOpenThatEndsEarlyChangesNothing)
{
    const QString shown = local(fileName("Shown"));
    writeDocument(shown, {QStringLiteral("shown")});
    openThroughDialog(shown);
    const QString title = window->windowTitle();
    prompts.script().clear();

    prompts->queueOpenCancel();
    window->cmdOpen_Click();
    openThroughDialog(local(fileName("Missing")));
    openThroughDialog(QString());
    EXPECT_EQ(prompts->texts().size(), 3); // the three dialogs, no message
    prompts->queueAnswer(Answer::OK);
    openThroughDialog(shown);
    EXPECT_EQ(prompts->recorded().last().text, QStringLiteral(" You already have open ") + shown);
    EXPECT_EQ(prompts->recorded().last().style, 48);

    EXPECT_EQ(window->windowTitle(), title);
    EXPECT_EQ(window->List1().GetItem(1, 1), QStringLiteral("shown"));
    EXPECT_EQ(dialog().FileName, shown);
    EXPECT_EQ(dialog().FileTitle, fileName("Shown"));
}

// Once New has cleared the window, the document it showed is no longer open: Open reads it
// again (picking both parties of a transaction from one company goes this way).
TEST_P(NewAndOpen, TheDocumentShownBeforeNewOpensAgain)
{
    const QString path = local(fileName("Tools"));
    writeDocument(path, {QStringLiteral("hammer")});
    openThroughDialog(path);
    window->cmdNew_Click();
    EXPECT_EQ(window->List1().GetItem(1, 1), QString());
    openThroughDialog(path);
    EXPECT_FALSE(prompts->texts().join('|').contains(QStringLiteral("You already have open")));
    EXPECT_EQ(window->windowTitle(), caption(fileName("Tools")));
    EXPECT_EQ(window->List1().GetItem(1, 1), QStringLiteral("hammer"));
}

// A document another window has just written (a posting's company file) is shown as the open
// document, read from disk: the changes shown are asked about first, and the recent files
// stay as they were.
TEST_P(NewAndOpen, AWrittenDocumentIsShownAfterTheQuestion)
{
    const QString written = local(fileName("Written"));
    writeDocument(written, {QStringLiteral("from disk")});
    edit(QStringLiteral("draft"));
    prompts->queueAnswer(Answer::Cancel);
    EXPECT_EQ(window->showWrittenDocument(written), windows::OpenOutcome::NotOpened);
    EXPECT_EQ(prompts->recorded().last().text, QStringLiteral("Save Changes?"));
    EXPECT_EQ(window->List1().GetItem(1, 1), QStringLiteral("draft"));

    prompts->queueAnswer(Answer::No);
    EXPECT_EQ(window->showWrittenDocument(written), windows::OpenOutcome::Opened);
    EXPECT_EQ(window->List1().GetItem(1, 1), QStringLiteral("from disk"));
    EXPECT_EQ(window->windowTitle(), caption(fileName("Written")));
    EXPECT_EQ(dialog().FileName, written);
    EXPECT_EQ(window->lblChangeStatus(), QStringLiteral("0"));
    EXPECT_EQ(slot(1).Caption.value(), QString());
}

TEST_P(NewAndOpen, AFileThatCannotBeReadIsReportedAndTheDocumentStays)
{
    const QString shown = local(fileName("Shown"));
    writeDocument(shown, {QStringLiteral("shown")});
    openThroughDialog(shown);
    const QString folderNamedAsDocument = local(fileName("Folder"));
    QDir().mkpath(folderNamedAsDocument);
    prompts->queueAnswer(Answer::OK);
    openThroughDialog(folderNamedAsDocument);
    EXPECT_TRUE(prompts->recorded().last().text.contains(folderNamedAsDocument)) << prompts->recorded().last().text.toStdString();
    EXPECT_EQ(prompts->recorded().last().style, 16);
    EXPECT_EQ(window->List1().GetItem(1, 1), QStringLiteral("shown"));
    EXPECT_EQ(dialog().FileName, shown);
    EXPECT_TRUE(window->List1().isVisible());
    EXPECT_FALSE(window->PleaseWait()->isVisible());
}

// A picture or a letter given the kind's extension is not opened as an empty document that
// the next Save would write over: Open names the file and refuses it, and the document shown
// stays, with its path, its caption and its unsaved changes.
TEST_P(NewAndOpen, AFileThatIsNotADocumentIsRefusedAndTheDocumentStays)
{
    const QString shown = local(fileName("Shown"));
    writeDocument(shown, {QStringLiteral("shown")});
    openThroughDialog(shown);
    const QString title = window->windowTitle();
    edit(QStringLiteral("typed"));
    const QByteArray png("\x89PNG\r\n\x1a\n\0\0\0\rIHDR\0\0\0\x10\0\0\0\x10\x08\x06\0\0\0", 29);
    const QString picture = local(fileName("Picture"));
    const QString letter = local(fileName("Letter"));
    putFile(picture, png);
    putFile(letter, "Dear Sir,\r\nplease find our prices below.\r\n");

    for (const QString& path : {picture, letter}) {
        const QByteArray before = bytesOf(path);
        prompts->queueAnswer(Answer::No); // "Save Changes?"
        prompts->queueAnswer(Answer::OK);
        openThroughDialog(path);
        const testsupport::RecordedPrompt& shownMessage = prompts->recorded().last();
        EXPECT_TRUE(shownMessage.text.contains(QStringLiteral("\"") + path + QStringLiteral("\"")))
            << shownMessage.text.toStdString();
        EXPECT_EQ(shownMessage.style, 16);
        EXPECT_EQ(window->List1().GetItem(1, 1), QStringLiteral("typed"));
        EXPECT_EQ(window->windowTitle(), title);
        EXPECT_EQ(dialog().FileName, shown);
        EXPECT_EQ(window->lblChangeStatus(), QStringLiteral("1"));
        EXPECT_TRUE(window->List1().isVisible());
        EXPECT_EQ(slot(1).Caption.value(), shown);
        EXPECT_EQ(bytesOf(path), before);
    }
    if (!row().savesPlainly)
        return; // its Save posts; the kind's own tests save it
    ASSERT_TRUE(window->cmdSave_Click());
    EXPECT_EQ(bytesOf(picture), png);
    EXPECT_EQ(cellOnDisk(shown, 1, 1), QStringLiteral("typed"));
}

// ---- "Save Changes?": every action that would discard the document asks it, with the same
// answers. Yes saves and stops the action, No lets it go on, Cancel stops it; the document's
// lock goes only when the action goes on.
class SaveChanges : public DocumentFixture {
protected:
    void SetUp() override
    {
        SKIP_UNLESS_SAVES_PLAINLY();
        program.beHost(shared.path());
        openWindow();
        writeDocument(inShared(fileName("Shown")), {QStringLiteral("shown")});
        writeDocument(inShared(fileName("Other")), {QStringLiteral("other")});
        openThroughDialog(inShared(fileName("Other")));
        openThroughDialog(inShared(fileName("Shown")));
        ASSERT_EQ(slot(2).Caption.value(), inShared(fileName("Shown")));
        edit(QStringLiteral("edited"));
    }
};

TEST_P(SaveChanges, EveryDiscardingActionAsksAndFollowsTheAnswer)
{
    enum class Action { New, Open, Recent, Close };
    const char* const actionNames[] = {"New", "Open", "Recent", "Close"};
    for (Action action : {Action::New, Action::Open, Action::Recent, Action::Close}) {
        for (Answer answer : {Answer::Yes, Answer::No, Answer::Cancel}) {
            SCOPED_TRACE(testing::Message() << actionNames[int(action)] << " answered " << int(answer));
            openWindow();
            writeDocument(inShared(fileName("Shown")), {QStringLiteral("shown")});
            openThroughDialog(inShared(fileName("Shown")));
            edit(QStringLiteral("edited"));
            const QString title = window->windowTitle();
            prompts.script().clear();
            prompts->queueAnswer(answer);
            if (action == Action::Open && answer == Answer::No)
                prompts->queueOpen(inShared(fileName("Other")));
            CloseOutcome closed = CloseOutcome::Closed;
            switch (action) {
            case Action::New: window->cmdNew_Click(); break;
            case Action::Open: window->cmdOpen_Click(); break;
            case Action::Recent: window->file_Click(1); break;
            case Action::Close: closed = window->closeWindow(); break;
            }
            const testsupport::RecordedPrompt question = prompts->recorded().first();
            EXPECT_EQ(question.text, QStringLiteral("Save Changes?"));
            EXPECT_EQ(question.style, 547);
            EXPECT_EQ(question.title, title);
            const bool goesOn = answer == Answer::No;
            EXPECT_EQ(cellOnDisk(inShared(fileName("Shown")), 1, 1),
                      answer == Answer::Yes ? QStringLiteral("edited") : QStringLiteral("shown"));
            EXPECT_EQ(lockOf(inShared(fileName("Shown"))).has_value(), !goesOn);
            if (action == Action::Close) {
                EXPECT_EQ(closed, answer == Answer::Yes  ? CloseOutcome::KeptSaved
                                  : answer == Answer::No ? CloseOutcome::Closed
                                                         : CloseOutcome::Cancelled);
                EXPECT_EQ(window->isVisible(), !goesOn);
            } else {
                EXPECT_EQ(window->windowTitle() == title, !goesOn);
                EXPECT_EQ(window->List1().GetItem(1, 1) == QStringLiteral("edited"), !goesOn);
            }
            const bool stillChanged = answer == Answer::Cancel || (action == Action::Close && answer == Answer::No);
            EXPECT_EQ(window->lblChangeStatus(), stillChanged ? QStringLiteral("1") : QStringLiteral("0"));
            // Release the lock for the next round, as a closing window does.
            if (window->isVisible()) {
                window->setlblChangeStatus(QStringLiteral("0"));
                window->closeWindow();
            }
        }
    }
}

// A document this window may not save (another computer edits it) is saved under another
// name when "Save Changes?" is answered Yes.
TEST_P(SaveChanges, YesOnADocumentThatMayNotBeSavedGoesToSaveAs)
{
    const QString locked = inShared(fileName("Locked"));
    writeDocument(locked, {QStringLiteral("theirs")});
    putLock(locked, "PC-BOB");
    prompts->queueAnswer(Answer::No);  // leave the edited document
    prompts->queueAnswer(Answer::OK);  // the lock message
    openThroughDialog(locked);
    ASSERT_FALSE(saveEnabled());
    edit(QStringLiteral("mine"));
    prompts->queueAnswer(Answer::Yes);
    prompts->queueSave(inShared(fileName("Copy")));
    window->cmdNew_Click();
    EXPECT_EQ(prompts->recorded().last().kind, testsupport::PromptKind::ShowSave);
    EXPECT_EQ(cellOnDisk(inShared(fileName("Copy")), 1, 1), QStringLiteral("mine"));
    EXPECT_EQ(cellOnDisk(locked, 1, 1), QStringLiteral("theirs"));
    EXPECT_EQ(lockOf(locked), QByteArray("PC-BOB"));
    EXPECT_TRUE(saveEnabled());
}

// The shut-down sees whether closing left unsaved work behind: Yes whose Save As is
// cancelled keeps the window open with its changes.
TEST_P(SaveChanges, ClosingTellsWhetherTheChangesWereSaved)
{
    prompts->queueAnswer(Answer::No); // the edited document is dropped for a new one
    window->cmdNew_Click();
    edit(QStringLiteral("new item"));
    prompts->queueAnswer(Answer::Yes);
    prompts->queueSaveCancel();
    EXPECT_EQ(window->closeWindow(), CloseOutcome::KeptUnsaved);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->lblChangeStatus(), QStringLiteral("1"));
    prompts->queueAnswer(Answer::Yes);
    prompts->queueSave(inShared(fileName("New")));
    EXPECT_EQ(window->closeWindow(), CloseOutcome::KeptSaved);
    EXPECT_EQ(cellOnDisk(inShared(fileName("New")), 1, 1), QStringLiteral("new item"));
}

INSTANTIATE_FOR_EVERY_KIND(NewAndOpen);
INSTANTIATE_FOR_EVERY_KIND(SaveChanges);

} // namespace
} // namespace windowtest
