// The recent-file entries and the file search window's open, which go through the same open
// routine as Open.

#include "documentfixture.h"

#include <QFileInfo>
#include <QLineEdit>

namespace windowtest {
namespace {

using platform::Answer;

class RecentFiles : public DocumentFixture {
protected:
    void SetUp() override { openWindow(); }
    QStringList menuCaptions() const
    {
        QStringList out;
        for (int k = 1; k <= 3; ++k) {
            const QAction* entry = window->menu(QStringLiteral("file%1").arg(k));
            out << (entry->isVisible() ? entry->text() : QStringLiteral("<hidden>"));
        }
        return out;
    }
};

TEST_P(RecentFiles, OpensAndSaveAsFillTheSlotsInTurn)
{
    // The last run's newest document stands in slot 1; this run writes slot 1 first all the same.
    slot(1).Caption = local(fileName("LastRun"));
    slot(1).ToolTipText = fileName("LastRun");
    openWindow();
    EXPECT_EQ(menuCaptions(), (QStringList{fileName("LastRun"), "<hidden>", "<hidden>"}));
    for (const char* name : {"A", "B", "C"}) {
        writeDocument(local(fileName(name)), {QString::fromLatin1(name)});
        openThroughDialog(local(fileName(name)));
    }
    EXPECT_EQ(menuCaptions(), (QStringList{fileName("A"), fileName("B"), fileName("C")}));
    if (!row().savesPlainly)
        return;
    edit(QStringLiteral("d"));
    prompts->queueSave(local(QStringLiteral("D")));
    ASSERT_TRUE(window->saveas_Click());
    EXPECT_EQ(menuCaptions(), (QStringList{fileName("D"), fileName("B"), fileName("C")}));
    EXPECT_EQ(slot(1).Caption.value(), local(fileName("D")));
    // Opening a document that stands in another slot records nothing.
    openThroughDialog(local(fileName("B")));
    EXPECT_EQ(menuCaptions(), (QStringList{fileName("D"), fileName("B"), fileName("C")}));
}

TEST_P(RecentFiles, AnEntryWhoseFileHasGoneIsEmptiedAndHidden)
{
    writeDocument(local(fileName("A")), {QStringLiteral("a")});
    writeDocument(local(fileName("B")), {QStringLiteral("b")});
    openThroughDialog(local(fileName("A")));
    openThroughDialog(local(fileName("B")));
    edit(QStringLiteral("edited"));
    ASSERT_TRUE(QFile::remove(local(fileName("A"))));
    window->file_Click(1);
    EXPECT_EQ(menuCaptions(), (QStringList{"<hidden>", fileName("B"), "<hidden>"}));
    EXPECT_EQ(slot(1).Caption.value(), QString());
    EXPECT_EQ(slot(1).ToolTipText.value(), QString());
    EXPECT_EQ(slot(1).BackColor.value(), datafiles::RecentFileSlot::WrittenSlotColor);
    EXPECT_EQ(slot(3).BackColor.value(), datafiles::RecentFileSlot::NextSlotColor);
    EXPECT_EQ(window->List1().GetItem(1, 1), QStringLiteral("edited")); // nothing asked, nothing else
    EXPECT_EQ(window->lblChangeStatus(), QStringLiteral("1"));
}

// An entry reopens its document as the current one: its caption, writable, unchanged, locked in
// network mode; the dialog's title and the path Open read last stay as they were.
TEST_P(RecentFiles, AnEntryReopensItsDocument)
{
    program.beHost(shared.path());
    openWindow();
    writeDocument(inShared(fileName("A")), {QStringLiteral("a")});
    writeDocument(inShared(fileName("B")), {QStringLiteral("b")});
    openThroughDialog(inShared(fileName("A")));
    openThroughDialog(inShared(fileName("B")));
    window->file_Click(1);
    EXPECT_EQ(window->windowTitle(), caption(fileName("A")));
    EXPECT_EQ(window->List1().GetItem(1, 1), QStringLiteral("a"));
    EXPECT_EQ(dialog().FileName, inShared(fileName("A")));
    EXPECT_EQ(dialog().FileTitle, fileName("B"));
    EXPECT_EQ(window->currentfilename(), inShared(fileName("B")));
    EXPECT_EQ(window->lblChangeStatus(), QStringLiteral("0"));
    EXPECT_TRUE(saveEnabled());
    EXPECT_EQ(lockOf(inShared(fileName("A"))), QByteArray("PC-ANNA"));
    EXPECT_FALSE(lockOf(inShared(fileName("B"))));
    EXPECT_EQ(slot(3).Caption.value(), QString()); // not recorded again
    if (!row().savesPlainly)
        return;
    // Save writes the reopened document.
    edit(QStringLiteral("edited"));
    EXPECT_TRUE(window->cmdSave_Click());
    EXPECT_EQ(cellOnDisk(inShared(fileName("A")), 1, 1), QStringLiteral("edited"));
    EXPECT_EQ(cellOnDisk(inShared(fileName("B")), 1, 1), QStringLiteral("b"));
}

// An entry never overwrites another computer's lock: the document opens read-only.
TEST_P(RecentFiles, AnEntryHonoursAnotherComputersLock)
{
    program.beHost(shared.path());
    openWindow();
    const QString path = inShared(fileName("A"));
    writeDocument(path, {QStringLiteral("a")});
    openThroughDialog(path);
    window->cmdNew_Click();
    putLock(path, "PC-BOB");
    prompts->queueAnswer(Answer::OK);
    window->file_Click(1);
    EXPECT_EQ(prompts->recorded().last().text, QStringLiteral("File ") + path + QStringLiteral(" is already open for editing by PC-BOB"));
    EXPECT_EQ(window->windowTitle(), readOnlyCaption(fileName("A")));
    EXPECT_FALSE(saveEnabled());
    EXPECT_EQ(lockOf(path), QByteArray("PC-BOB"));
}

// The file search window opens a found file as its open does it: the window's NEWLIST, then,
// unless that was cancelled, openFoundFile with the file's name handed over.
class FoundFiles : public DocumentFixture {
protected:
    void openFromSearch(const QString& path)
    {
        program.search.visible = true;
        program.search.calls.clear();
        window->NEWLIST();
        if (program.search.calls.contains(QStringLiteral("cancel open")))
            return;
        program.search.handedOver = QFileInfo(path).fileName();
        window->openFoundFile(path);
        program.search.handedOver.clear();
    }
};

TEST_P(FoundFiles, TheOpenAsksFirstAndHonoursLocks)
{
    program.beHost(shared.path());
    openWindow();
    const QString shown = inShared(fileName("Shown"));
    const QString found = inShared(QStringLiteral("Found"));
    writeDocument(shown, {QStringLiteral("shown")});
    writeDocument(found, {QStringLiteral("found")});
    openThroughDialog(shown);
    edit(QStringLiteral("edited"));

    // Cancel keeps the document and stops the search window's open.
    prompts->queueAnswer(Answer::Cancel);
    openFromSearch(found);
    EXPECT_EQ(program.search.calls, QStringList{"cancel open"});
    EXPECT_EQ(window->List1().GetItem(1, 1), QStringLiteral("edited"));
    EXPECT_EQ(lockOf(shown), QByteArray("PC-ANNA"));
    if (!row().savesPlainly)
        return;

    // Yes saves the document shown, then the found file opens in its place, recorded under
    // the name the search window hands over.
    prompts->queueAnswer(Answer::Yes);
    openFromSearch(found);
    EXPECT_EQ(cellOnDisk(shown, 1, 1), QStringLiteral("edited"));
    EXPECT_EQ(window->windowTitle(), caption(QStringLiteral("Found")));
    EXPECT_EQ(window->List1().GetItem(1, 1), QStringLiteral("found"));
    EXPECT_EQ(dialog().FileName, found);
    EXPECT_EQ(dialog().FileTitle, fileName("Shown"));
    EXPECT_EQ(window->currentfilename(), shown);
    EXPECT_EQ(slot(2).Caption.value(), found);
    EXPECT_EQ(slot(2).ToolTipText.value(), QStringLiteral("Found") + row().extension);
    EXPECT_FALSE(lockOf(shown));
    EXPECT_EQ(lockOf(found), QByteArray("PC-ANNA"));

    // Another computer's lock makes it read-only and stays.
    window->closeWindow();
    openWindow();
    putLock(shown, "PC-BOB");
    prompts->queueAnswer(Answer::OK);
    openFromSearch(shown);
    EXPECT_EQ(window->windowTitle(), readOnlyCaption(fileName("Shown")));
    EXPECT_FALSE(saveEnabled());
    EXPECT_EQ(lockOf(shown), QByteArray("PC-BOB"));

    // A file that has gone since the search found it is reported; the window stays as it was.
    const QString title = window->windowTitle();
    prompts->queueAnswer(Answer::OK);
    window->openFoundFile(inShared(QStringLiteral("Gone")));
    EXPECT_TRUE(prompts->recorded().last().text.contains(inShared(QStringLiteral("Gone"))));
    EXPECT_EQ(window->windowTitle(), title);
}

// A Yes whose save does not complete (Save As cancelled) leaves the changes in the window:
// the found file does not take their place.
TEST_P(FoundFiles, ChangesThatCouldNotBeSavedAreKept)
{
    SKIP_UNLESS_SAVES_PLAINLY();
    openWindow();
    const QString found = local(QStringLiteral("Found"));
    writeDocument(found, {QStringLiteral("found")});
    edit(QStringLiteral("unsaved work"));
    prompts->queueAnswer(Answer::Yes);
    prompts->queueSaveCancel();
    openFromSearch(found);
    EXPECT_EQ(window->List1().GetItem(1, 1), QStringLiteral("unsaved work"));
    EXPECT_EQ(window->windowTitle(), unsavedCaption());
    EXPECT_EQ(window->lblChangeStatus(), QStringLiteral("1"));
}

// New answered Cancel in the window itself stops no open of the search window unless the
// search window is shown; the hand-off names the file only while the search window opens one.
TEST_P(FoundFiles, TheHandOffsReachOnlyAShownSearchWindow)
{
    openWindow();
    edit(QStringLiteral("edited"));
    prompts->queueAnswer(Answer::Cancel);
    window->cmdNew_Click();
    EXPECT_EQ(program.search.calls, QStringList());
    if (!row().savesPlainly)
        return;

    // A Save As while the search window is shown, with nothing handed over, records the
    // document under its own name.
    program.search.visible = true;
    const QString path = local(fileName("Kept"));
    prompts->queueSave(path);
    ASSERT_TRUE(window->saveas_Click());
    EXPECT_EQ(slot(1).Caption.value(), path);
    EXPECT_EQ(slot(1).ToolTipText.value(), fileName("Kept"));
}

// ---- The changed mark

class ChangedMark : public DocumentFixture {
protected:
    void SetUp() override
    {
        SKIP_UNLESS_SAVES_PLAINLY();
        openWindow();
    }
};

TEST_P(ChangedMark, EditsSetItAndOpenAndSaveClearIt)
{
    const QString path = local(fileName("Tools"));
    writeDocument(path, {QStringLiteral("hammer")});
    openThroughDialog(path);
    EXPECT_EQ(window->lblChangeStatus(), QStringLiteral("0"));

    emit window->List1().GridKeyDown(13, 0, 1, 1);
    EXPECT_EQ(window->lblChangeStatus(), QStringLiteral("1"));
    ASSERT_TRUE(window->cmdSave_Click());
    EXPECT_EQ(window->lblChangeStatus(), QStringLiteral("0"));

    const int rows = window->List1().ListCount();
    window->DODARED();
    EXPECT_EQ(window->List1().ListCount(), rows + 1);
    EXPECT_EQ(window->lblChangeStatus(), QStringLiteral("1"));
    ASSERT_TRUE(window->cmdSave_Click());

    // The text bar edits the active cell; an edit there is a change like any other.
    window->List1().SelectItem(1, 1);
    window->setActiveColumn(QStringLiteral("1"));
    window->TextText()->setText(QStringLiteral("pliers"));
    EXPECT_EQ(window->List1().GetItem(1, 1), QStringLiteral("pliers"));
    EXPECT_EQ(window->lblChangeStatus(), QStringLiteral("1"));
    window->setlblChangeStatus(QStringLiteral("0"));
    // Showing a cell in the text bar is no edit.
    window->showCell(QStringLiteral("other"), true, false, false, 0xFF);
    EXPECT_EQ(window->TextText()->text(), QStringLiteral("other"));
    EXPECT_EQ(window->List1().GetItem(1, 1), QStringLiteral("pliers"));
    EXPECT_EQ(window->lblChangeStatus(), QStringLiteral("0"));
}

INSTANTIATE_FOR_EVERY_KIND(RecentFiles);
INSTANTIATE_FOR_EVERY_KIND(FoundFiles);
INSTANTIATE_FOR_EVERY_KIND(ChangedMark);

} // namespace
} // namespace windowtest
