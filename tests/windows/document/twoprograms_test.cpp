// Two installations sharing one data folder, each with its own program folder, settings and
// computer name: their windows meet only through the documents and lock files they share.

#include "documentfixture.h"

namespace windowtest {
namespace {

using platform::Answer;

class TwoPrograms : public DocumentFixture {};

TEST_P(TwoPrograms, TheSecondComputerOpensReadOnlyUntilTheFirstLetsGo)
{
    // The host's installation, in the fixture's program folder.
    program.computer = QStringLiteral("HOST-PC");
    program.beHost(shared.path());
    openWindow();
    windows::DocumentWindow& first = *window;

    // A user's installation in a program folder of its own, connected to the same host.
    testsupport::TempProgramFolder userFolder;
    TestProgram user(QStringLiteral("DESK-7"));
    user.beUser(shared.path(), true);
    std::unique_ptr<windows::DocumentWindow> second = row().make(user.context(user.*(row().dialog), prompts.script()));
    user.documentWindow = second.get();
    second->showFromLauncher();
    EXPECT_TRUE(QDir(userFolder.filePath(QStringLiteral("System/RAzar/") + row().folder)).exists());
    EXPECT_TRUE(QDir(localDocuments()).exists());

    const QString path = inShared(fileName("Shared"));
    writeDocument(path, {QStringLiteral("original")});
    openThroughDialog(path);
    ASSERT_EQ(first.windowTitle(), caption(fileName("Shared")));
    ASSERT_EQ(lockOf(path), QByteArray("HOST-PC"));

    prompts->queueOpen(path);
    prompts->queueAnswer(Answer::OK);
    second->cmdOpen_Click();
    EXPECT_EQ(prompts->recorded().last().text,
              QStringLiteral("File ") + path + QStringLiteral(" is already open for editing by HOST-PC"));
    EXPECT_EQ(second->windowTitle(), readOnlyCaption(fileName("Shared")));
    EXPECT_FALSE(second->button(QStringLiteral("cmdSave"))->isEnabled());

    // The second closes and takes nothing with it; the first still holds the document.
    EXPECT_EQ(second->closeWindow(), windows::CloseOutcome::Closed);
    EXPECT_EQ(lockOf(path), QByteArray("HOST-PC"));
    if (!row().savesPlainly)
        return;

    // The first edits, saves and closes; the second opens the document writable and saves it.
    edit(QStringLiteral("from the host"));
    ASSERT_TRUE(first.cmdSave_Click());
    EXPECT_EQ(first.closeWindow(), windows::CloseOutcome::Closed);
    EXPECT_FALSE(lockOf(path));

    second = row().make(user.context(user.*(row().dialog), prompts.script()));
    user.documentWindow = second.get();
    second->showFromLauncher();
    prompts->queueOpen(path);
    second->cmdOpen_Click();
    EXPECT_EQ(second->windowTitle(), caption(fileName("Shared")));
    EXPECT_EQ(second->List1().GetItem(1, 1), QStringLiteral("from the host"));
    EXPECT_EQ(lockOf(path), QByteArray("DESK-7"));
    second->List1().ChangeItem(1, 1, QStringLiteral("from the desk"));
    EXPECT_TRUE(second->cmdSave_Click());
    EXPECT_EQ(cellOnDisk(path, 1, 1), QStringLiteral("from the desk"));
    second->closeWindow();
    EXPECT_FALSE(lockOf(path));
}

INSTANTIATE_FOR_EVERY_KIND(TwoPrograms);

} // namespace
} // namespace windowtest
