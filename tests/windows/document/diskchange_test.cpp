// A document's file that someone else wrote after the window read it (a posting that changed
// a balance in it, another computer on the shared folder): Save does not write over it
// unasked, and can read it again instead.

#include "documentfixture.h"

namespace windowtest {
namespace {

using platform::Answer;

class ChangedOnDisk : public DocumentFixture {
protected:
    void SetUp() override
    {
        if (!row().savesPlainly)
            GTEST_SKIP() << "this kind's Save posts the document; its own tests cover it";
        openWindow();
        writeDocument(path, {QStringLiteral("hammer")});
        openThroughDialog(path);
        edit(QStringLiteral("edited here"));
    }
    void writtenElsewhere(const QString& text = QStringLiteral("written elsewhere")) { writeDocument(path, {text}); }
    QString question() const
    {
        return path + QStringLiteral(" was changed on disk after this window read it: a posting or another computer "
                                     "has written it. Yes writes this list over it, and what was written there is "
                                     "lost. No reads the file again, and the changes made here are lost. Cancel "
                                     "saves nothing.");
    }

    const QString path = local(fileName(QStringLiteral("Tools")));
};

TEST_P(ChangedOnDisk, SaveAsksAndFollowsTheAnswer)
{
    // Each case's file on disk differs from the one the window knows after the case before.
    struct Case {
        Answer answer;
        bool saved;
        QString elsewhere, onDisk, onScreen, changeStatus;
    };
    const Case cases[] = {
        {Answer::Yes, true, QStringLiteral("written elsewhere"), QStringLiteral("edited here"),
         QStringLiteral("edited here"), QStringLiteral("0")},
        {Answer::No, false, QStringLiteral("written elsewhere"), QStringLiteral("written elsewhere"),
         QStringLiteral("written elsewhere"), QStringLiteral("0")},
        {Answer::Cancel, false, QStringLiteral("written elsewhere again"), QStringLiteral("written elsewhere again"),
         QStringLiteral("edited here"), QStringLiteral("1")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.answer));
        window->List1().ChangeItem(1, 1, QStringLiteral("edited here"));
        window->setlblChangeStatus(QStringLiteral("1"));
        writtenElsewhere(c.elsewhere);
        prompts->queueAnswer(c.answer);
        EXPECT_EQ(window->cmdSave_Click(), c.saved);
        const testsupport::RecordedPrompt& asked = prompts->recorded().last();
        EXPECT_EQ(asked.text, question());
        EXPECT_EQ(asked.style, 547);
        EXPECT_EQ(asked.title, caption(fileName(QStringLiteral("Tools"))));
        EXPECT_EQ(cellOnDisk(path, 1, 1), c.onDisk);
        EXPECT_EQ(window->List1().GetItem(1, 1), c.onScreen);
        EXPECT_EQ(window->lblChangeStatus(), c.changeStatus);
        EXPECT_TRUE(saveEnabled());
        EXPECT_FALSE(window->List1().isHidden());
        EXPECT_TRUE(window->PleaseWait()->isHidden());
    }
}

// After an answer the window knows the file as it left it: the next Save asks nothing more.
TEST_P(ChangedOnDisk, TheFileAsTheWindowLeftItIsNotAChange)
{
    writtenElsewhere();
    prompts->queueAnswer(Answer::No); // read it again
    EXPECT_FALSE(window->cmdSave_Click());
    edit(QStringLiteral("second edit"));
    EXPECT_TRUE(window->cmdSave_Click());
    edit(QStringLiteral("third edit"));
    EXPECT_TRUE(window->cmdSave_Click());
    EXPECT_EQ(cellOnDisk(path, 1, 1), QStringLiteral("third edit"));

    // Saved under another name, the new file is the one compared.
    const QString copy = local(fileName(QStringLiteral("Copy")));
    prompts->queueSave(copy);
    EXPECT_TRUE(window->saveas_Click());
    edit(QStringLiteral("in the copy"));
    EXPECT_TRUE(window->cmdSave_Click());
    EXPECT_EQ(cellOnDisk(copy, 1, 1), QStringLiteral("in the copy"));

    // A file only made read-only and writable again is the same file.
    QFile::setPermissions(copy, QFileDevice::ReadOwner);
    QFile::setPermissions(copy, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    edit(QStringLiteral("after the permissions"));
    EXPECT_TRUE(window->cmdSave_Click());
    EXPECT_EQ(cellOnDisk(copy, 1, 1), QStringLiteral("after the permissions"));
}

// "Save Changes?" answered Yes saves through the same question, and a Cancel there keeps
// the window open with its changes.
TEST_P(ChangedOnDisk, TheQuestionBeforeClosingAsksToo)
{
    writtenElsewhere();
    prompts->queueAnswer(Answer::Yes);    // Save Changes?
    prompts->queueAnswer(Answer::Cancel); // changed on disk
    EXPECT_EQ(window->closeWindow(), windows::CloseOutcome::KeptUnsaved);
    EXPECT_EQ(prompts->recorded().last().text, question());
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(cellOnDisk(path, 1, 1), QStringLiteral("written elsewhere"));
    EXPECT_EQ(window->lblChangeStatus(), QStringLiteral("1"));
}

// Save As onto the document's own file asks too, after its question about replacing it.
TEST_P(ChangedOnDisk, SaveAsOntoItsOwnFileAsksToo)
{
    writtenElsewhere();
    prompts->queueSave(path);
    prompts->queueAnswer(Answer::Yes);    // replace the file
    prompts->queueAnswer(Answer::Cancel); // changed on disk
    EXPECT_FALSE(window->saveas_Click());
    EXPECT_EQ(prompts->recorded().last().text, question());
    EXPECT_EQ(cellOnDisk(path, 1, 1), QStringLiteral("written elsewhere"));
    EXPECT_EQ(window->lblChangeStatus(), QStringLiteral("1"));
    EXPECT_EQ(window->windowTitle(), caption(fileName(QStringLiteral("Tools"))));
}

INSTANTIATE_FOR_EVERY_KIND(ChangedOnDisk);

} // namespace
} // namespace windowtest
