// Edit locks and the network rules, as every document window applies them.

#include "documentfixture.h"

namespace windowtest {
namespace {

using platform::Answer;

class Locks : public DocumentFixture {
protected:
    void SetUp() override { openWindow(); }
};

// What Open makes of the lock file it finds beside the chosen document, and what closing the
// window leaves of it.
TEST_P(Locks, OpenHonoursTheLockItFindsAndClosingReleasesOnlyItsOwn)
{
    struct Case {
        const char* name;
        bool network;
        std::optional<QByteArray> lockBefore;
        std::optional<QByteArray> lockAppearing; // another computer's, between test and write
        std::optional<QString> messageNames;     // the holder the lock message names
        std::optional<QByteArray> lockAfterOpen;
        std::optional<QByteArray> lockAfterClose;
    };
    const Case cases[] = {
        {"no lock", true, {}, {}, {}, QByteArray("PC-ANNA"), {}},
        {"this computer's lock", true, QByteArray("PC-ANNA"), {}, {}, QByteArray("PC-ANNA"), {}},
        {"another computer's lock", true, QByteArray("PC-BOB"), {}, QStringLiteral("PC-BOB"), QByteArray("PC-BOB"), QByteArray("PC-BOB")},
        {"an empty lock", true, QByteArray(), {}, QString(), QByteArray(), QByteArray()},
        {"a lock of several lines", true, QByteArray("PC-BOB\r\nPC-CAROL\r\n"), {}, QStringLiteral("PC-BOB"),
         QByteArray("PC-BOB\r\nPC-CAROL\r\n"), QByteArray("PC-BOB\r\nPC-CAROL\r\n")},
        {"this name in other letter case", true, QByteArray("pc-anna"), {}, QStringLiteral("pc-anna"), QByteArray("pc-anna"), QByteArray("pc-anna")},
        {"a lock taken between test and write", true, {}, QByteArray("PC-BOB"), QStringLiteral("PC-BOB"), QByteArray("PC-BOB"), QByteArray("PC-BOB")},
        {"single machine, no lock", false, {}, {}, {}, {}, {}},
        {"single machine, another computer's lock", false, QByteArray("PC-BOB"), {}, QStringLiteral("PC-BOB"), QByteArray("PC-BOB"), QByteArray("PC-BOB")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.network)
            program.beHost(shared.path());
        else
            program.store.OptionSingleMachine = true;
        openWindow();
        const QString path = (c.network ? sharedDocuments() : localDocuments()) + fileName("Tools");
        writeDocument(path, {QStringLiteral("hammer")});
        QFile::remove(services::EditLockFile::pathOf(path));
        if (c.lockBefore)
            putLock(path, *c.lockBefore);
        if (c.lockAppearing)
            program.onNextComputerName = [&] { putLock(path, *c.lockAppearing); };
        prompts.script().clear();
        if (c.messageNames)
            prompts->queueAnswer(Answer::OK);
        openThroughDialog(path);

        const bool readOnly = c.messageNames.has_value();
        if (readOnly) {
            const testsupport::RecordedPrompt message = prompts->recorded().last();
            EXPECT_EQ(message.text, QStringLiteral("File ") + path + QStringLiteral(" is already open for editing by ") + *c.messageNames);
            EXPECT_EQ(message.style, 0);
        }
        EXPECT_EQ(prompts->recorded().size(), readOnly ? 2 : 1);
        EXPECT_EQ(window->windowTitle(), readOnly ? readOnlyCaption(fileName("Tools")) : caption(fileName("Tools")));
        EXPECT_EQ(saveEnabled(), !readOnly);
        EXPECT_EQ(window->menu(QStringLiteral("save"))->isEnabled(), !readOnly);
        EXPECT_EQ(dialog().Flags, readOnly ? 1025 : 0);
        EXPECT_EQ(window->List1().GetItem(1, 1), QStringLiteral("hammer"));
        EXPECT_EQ(lockOf(path), c.lockAfterOpen);
        EXPECT_EQ(cellOnDisk(path, 1, 1), QStringLiteral("hammer"));

        EXPECT_EQ(window->closeWindow(), windows::CloseOutcome::Closed);
        EXPECT_EQ(lockOf(path), c.lockAfterClose);
    }
}

// A file that may not be written opens under its normal caption, but cannot be saved and
// takes no lock; Save As still works.
TEST_P(Locks, AReadOnlyFileOpensWithoutSaveAndWithoutALock)
{
    program.beHost(shared.path());
    const QString path = inShared(fileName("Tools"));
    writeDocument(path, {QStringLiteral("hammer")});
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadGroup);
    openThroughDialog(path);
    EXPECT_EQ(window->windowTitle(), caption(fileName("Tools")));
    EXPECT_FALSE(saveEnabled());
    EXPECT_FALSE(window->menu(QStringLiteral("save"))->isEnabled());
    EXPECT_FALSE(lockOf(path));
    EXPECT_EQ(QFile::permissions(path) & (QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther),
              QFileDevice::Permissions());
    if (!row().savesPlainly)
        return;
    edit(QStringLiteral("edited"));
    prompts->queueSave(inShared(fileName("Copy")));
    EXPECT_TRUE(window->saveas_Click());
    EXPECT_TRUE(saveEnabled());
    EXPECT_EQ(lockOf(inShared(fileName("Copy"))), QByteArray("PC-ANNA"));
}

// Opening another document releases the lock of the one left, and only once it is open.
TEST_P(Locks, OpeningAnotherDocumentReleasesTheLockOfTheOneLeft)
{
    program.beHost(shared.path());
    openWindow();
    const QString first = inShared(fileName("First"));
    const QString second = inShared(fileName("Second"));
    writeDocument(first, {QStringLiteral("first")});
    writeDocument(second, {QStringLiteral("second")});
    openThroughDialog(first);
    ASSERT_EQ(lockOf(first), QByteArray("PC-ANNA"));
    prompts->queueOpenCancel();
    window->cmdOpen_Click();
    EXPECT_EQ(lockOf(first), QByteArray("PC-ANNA"));
    openThroughDialog(second);
    EXPECT_FALSE(lockOf(first));
    EXPECT_EQ(lockOf(second), QByteArray("PC-ANNA"));
    // The document left is a recent one now; its lock is not taken back by any later release.
    putLock(first, "PC-BOB");
    window->DELETECURRENTUSERNAME();
    EXPECT_EQ(lockOf(first), QByteArray("PC-BOB"));
    EXPECT_FALSE(lockOf(second));
}

// Save As takes the new path's lock and gives up the old one; onto the document's own path it
// keeps it.
TEST_P(Locks, SaveAsMovesTheLockToTheNewPath)
{
    SKIP_UNLESS_SAVES_PLAINLY();
    program.beHost(shared.path());
    openWindow();
    const QString path = inShared(fileName("Tools"));
    writeDocument(path, {QStringLiteral("hammer")});
    openThroughDialog(path);
    prompts->queueSave(path);
    prompts->queueAnswer(Answer::Yes); // replace
    EXPECT_TRUE(window->saveas_Click());
    EXPECT_EQ(lockOf(path), QByteArray("PC-ANNA"));
    prompts->queueSave(inShared(fileName("Copy")));
    EXPECT_TRUE(window->saveas_Click());
    EXPECT_EQ(lockOf(inShared(fileName("Copy"))), row().locksOnSaveAs ? std::optional(QByteArray("PC-ANNA")) : std::nullopt);
    EXPECT_FALSE(lockOf(path));
}

// Save As never writes over a document that another computer edits, whether this window's
// own document is writable or not.
TEST_P(Locks, SaveAsOntoAnotherComputersDocumentIsRefused)
{
    SKIP_UNLESS_SAVES_PLAINLY();
    program.beHost(shared.path());
    openWindow();
    const QString theirs = inShared(fileName("Theirs"));
    writeDocument(theirs, {QStringLiteral("theirs")});
    putLock(theirs, "PC-BOB");
    const QString mine = inShared(fileName("Mine"));
    writeDocument(mine, {QStringLiteral("mine")});
    openThroughDialog(mine);
    edit(QStringLiteral("edited"));
    prompts->queueSave(theirs);
    prompts->queueAnswer(Answer::OK);
    EXPECT_FALSE(window->saveas_Click());
    EXPECT_EQ(prompts->recorded().last().text, theirs + QStringLiteral(" is already open for editing. "));
    EXPECT_EQ(prompts->recorded().last().style, 16);
    EXPECT_EQ(cellOnDisk(theirs, 1, 1), QStringLiteral("theirs"));
    EXPECT_EQ(lockOf(theirs), QByteArray("PC-BOB"));
    EXPECT_EQ(dialog().FileName, mine);
    EXPECT_EQ(window->windowTitle(), caption(fileName("Mine")));
    EXPECT_EQ(window->lblChangeStatus(), QStringLiteral("1"));
    EXPECT_EQ(lockOf(mine), QByteArray("PC-ANNA"));
}

// Another window may take the lock of this window's document; it never takes another
// computer's.
TEST_P(Locks, WRITECURRUSERNAMETakesOnlyAFreeLock)
{
    program.beHost(shared.path());
    openWindow();
    dialog().FileName = inShared(fileName("Free"));
    EXPECT_TRUE(window->WRITECURRUSERNAME());
    EXPECT_EQ(lockOf(inShared(fileName("Free"))), QByteArray("PC-ANNA"));
    putLock(inShared(fileName("Taken")), "PC-BOB");
    dialog().FileName = inShared(fileName("Taken"));
    EXPECT_FALSE(window->WRITECURRUSERNAME());
    EXPECT_EQ(lockOf(inShared(fileName("Taken"))), QByteArray("PC-BOB"));
    window->DELETECURRENTUSERNAME();
    EXPECT_FALSE(lockOf(inShared(fileName("Free"))));
    EXPECT_EQ(lockOf(inShared(fileName("Taken"))), QByteArray("PC-BOB"));
}

// The Close menu releases the lock only when the window really closes.
TEST_P(Locks, TheCloseMenuKeepsTheLockWhenTheCloseIsCancelled)
{
    program.beHost(shared.path());
    openWindow();
    const QString path = inShared(fileName("Tools"));
    writeDocument(path, {QStringLiteral("hammer")});
    openThroughDialog(path);
    edit(QStringLiteral("edited"));
    prompts->queueAnswer(Answer::Cancel);
    window->menu(QStringLiteral("close"))->trigger();
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(lockOf(path), QByteArray("PC-ANNA"));
    prompts->queueAnswer(Answer::No);
    window->menu(QStringLiteral("close"))->trigger();
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(lockOf(path));
    EXPECT_EQ(program.shellCalls, (QStringList{"show start-up", "unload search"}));
}

// ---- Network mode with a shared folder

class Network : public DocumentFixture {};

// Host or user mode with neither network folder reachable: every command shows the message
// and nothing else happens.
TEST_P(Network, AMissingSharedFolderStopsEveryCommand)
{
    program.beHost(shared.path() + QStringLiteral("/missing"));
    openWindow();
    slot(1).Caption = local(fileName("Recent"));
    slot(1).ToolTipText = fileName("Recent");
    writeDocument(local(fileName("Recent")), {QStringLiteral("recent")});
    edit(QStringLiteral("edited"));
    const QString title = window->windowTitle();
    for (int i = 0; i < 5; ++i)
        prompts->queueAnswer(Answer::OK);
    window->cmdOpen_Click();
    EXPECT_FALSE(window->cmdSave_Click());
    EXPECT_FALSE(window->saveas_Click());
    window->file_Click(1);
    window->openFoundFile(local(fileName("Recent")));
    EXPECT_EQ(prompts->texts(), QStringList(5, row().networkFolderMissing));
    for (const auto& shown : prompts->recorded())
        EXPECT_EQ(shown.style, 16);
    EXPECT_EQ(window->windowTitle(), title);
    EXPECT_EQ(window->lblChangeStatus(), QStringLiteral("1"));
    EXPECT_EQ(slot(1).Caption.value(), local(fileName("Recent")));
}

// Either network folder will do, whichever the mode.
TEST_P(Network, TheConnectedHostsFolderPassesTheCheckInHostMode)
{
    program.store.lblConnectedtohostsystem = shared.path() + QLatin1Char('/');
    program.beHost(shared.path() + QStringLiteral("/missing"));
    openWindow();
    prompts->queueOpenCancel();
    window->cmdOpen_Click();
    EXPECT_EQ(prompts->recorded().size(), 1);
    EXPECT_EQ(prompts->recorded().last().kind, testsupport::PromptKind::ShowOpen);
}

// A host folder that is not set names no folder, not one below wherever the program runs.
TEST_P(Network, AnUnsetHostFolderPassesNoCheck)
{
    const QString started = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(shared.path())); // holds QVNET/RAzar/<kind folder>
    program.store.OptionHost = true;
    openWindow();
    prompts->queueAnswer(Answer::OK);
    window->cmdOpen_Click();
    QDir::setCurrent(started);
    EXPECT_EQ(prompts->texts(), QStringList{row().networkFolderMissing});
}

// A network user whose host does not let users write opens documents read-only, without a
// lock, and may not save.
TEST_P(Network, ANetworkUserOpensReadOnlyAndMayNotSave)
{
    if (!row().networkUserOpensReadOnly)
        GTEST_SKIP() << "this kind turns a network user away at Open; its own tests cover it";
    program.beUser(shared.path(), false);
    openWindow();
    const QString path = inShared(fileName("Tools"));
    writeDocument(path, {QStringLiteral("hammer")});
    for (int i = 0; i < row().networkUserOpens.size(); ++i)
        prompts->queueAnswer(Answer::OK);
    openThroughDialog(path);
    QStringList shown = prompts->texts();
    shown.removeAll(QString()); // the dialog's (empty) title
    EXPECT_EQ(shown, row().networkUserOpens);
    EXPECT_EQ(window->windowTitle(), readOnlyCaption(fileName("Tools")));
    EXPECT_FALSE(saveEnabled());
    EXPECT_FALSE(lockOf(path));

    prompts.script().clear();
    prompts->queueAnswer(Answer::OK);
    prompts->queueAnswer(Answer::OK);
    EXPECT_FALSE(window->cmdSave_Click());
    EXPECT_FALSE(window->saveas_Click());
    EXPECT_EQ(prompts->texts(), QStringList(2, row().networkUserMaySave));
    EXPECT_EQ(cellOnDisk(path, 1, 1), QStringLiteral("hammer"));

    // Closing releases nothing, and the next computer finds the document free.
    window->closeWindow();
    EXPECT_FALSE(lockOf(path));
}

TEST_P(Network, AUserAllowedToWriteOpensWritableWithALock)
{
    program.beUser(shared.path(), true);
    openWindow();
    const QString path = inShared(fileName("Tools"));
    writeDocument(path, {QStringLiteral("hammer")});
    openThroughDialog(path);
    EXPECT_EQ(prompts->recorded().last().dialog.InitDir, sharedDocuments());
    EXPECT_EQ(window->windowTitle(), caption(fileName("Tools")));
    EXPECT_TRUE(saveEnabled());
    EXPECT_EQ(lockOf(path), QByteArray("PC-ANNA"));
}

INSTANTIATE_FOR_EVERY_KIND(Locks);
INSTANTIATE_FOR_EVERY_KIND(Network);

} // namespace
} // namespace windowtest
