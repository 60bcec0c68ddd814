// Save and Save As, as every document window has them.

#include "documentfixture.h"

namespace windowtest {
namespace {

using platform::Answer;

class Save : public DocumentFixture {
protected:
    void SetUp() override
    {
        SKIP_UNLESS_SAVES_PLAINLY();
        openWindow();
    }

    // A named, writable document on screen, changed.
    QString openChanged(const QString& name = QStringLiteral("Tools"))
    {
        const QString path = local(fileName(name));
        writeDocument(path, {QStringLiteral("hammer")});
        openThroughDialog(path);
        edit(QStringLiteral("edited"));
        return path;
    }
    struct Identity {
        QString fileName, fileTitle, caption;
        bool operator==(const Identity&) const = default;
    };
    Identity identity() { return {dialog().FileName, dialog().FileTitle, window->windowTitle()}; }
};

TEST_P(Save, SaveWritesTheDocumentInPlaceAndTouchesNothingElse)
{
    const QString path = openChanged();
    const QString title = window->windowTitle();
    const QStringList recent = {slot(1).Caption.value(), slot(2).Caption.value(), slot(3).Caption.value()};
    EXPECT_TRUE(window->cmdSave_Click());
    EXPECT_EQ(cellOnDisk(path, 1, 1), QStringLiteral("edited"));
    EXPECT_EQ(window->lblChangeStatus(), QStringLiteral("0"));
    EXPECT_EQ(window->windowTitle(), title);
    EXPECT_EQ((QStringList{slot(1).Caption.value(), slot(2).Caption.value(), slot(3).Caption.value()}), recent);
    EXPECT_TRUE(prompts->recorded().last().kind == testsupport::PromptKind::ShowOpen); // nothing asked
}

TEST_P(Save, SaveAfterTheFileWasDeletedWritesItAgain)
{
    const QString path = openChanged();
    ASSERT_TRUE(QFile::remove(path));
    EXPECT_TRUE(window->cmdSave_Click());
    EXPECT_EQ(cellOnDisk(path, 1, 1), QStringLiteral("edited"));
}

// A write that fails is reported naming the file, and the document stays marked changed.
TEST_P(Save, AFailedWriteIsReportedAndTheChangeKept)
{
    const QString path = openChanged();
    ASSERT_TRUE(QDir(localDocuments()).removeRecursively());
    prompts->queueAnswer(Answer::OK);
    EXPECT_FALSE(window->cmdSave_Click());
    EXPECT_TRUE(prompts->recorded().last().text.contains(path)) << prompts->recorded().last().text.toStdString();
    EXPECT_EQ(prompts->recorded().last().style, 16);
    EXPECT_EQ(window->lblChangeStatus(), QStringLiteral("1"));

    // Save As into a folder that has gone: the same, and the document keeps its path.
    const QString before = window->windowTitle();
    const QString elsewhere = shared.path() + QStringLiteral("/gone/") + fileName("Copy");
    prompts->queueSave(elsewhere);
    prompts->queueAnswer(Answer::No); // keep the chosen folder
    prompts->queueAnswer(Answer::OK);
    EXPECT_FALSE(window->saveas_Click());
    EXPECT_TRUE(prompts->recorded().last().text.contains(elsewhere)) << prompts->recorded().last().text.toStdString();
    EXPECT_EQ(window->lblChangeStatus(), QStringLiteral("1"));
    EXPECT_EQ(dialog().FileName, path);
    EXPECT_EQ(window->windowTitle(), before);
}

// A cell holding a character the file cannot store (it would be written as "?") stops Save
// and Save As before anything is written: the message names the file, the cell and the
// character, and the document stays changed. Once the cell is changed, Save writes it.
TEST_P(Save, ACharacterTheFileCannotHoldIsNamedAndNothingIsWritten)
{
    const QString path = openChanged();
    const QByteArray before = bytesOf(path);
    window->List1().ChangeItem(2, 2, QString::fromUtf8("Tømrer"));
    const QString told = QString::fromUtf8("the cell in row 2, column 2 (\"%1\") holds the character \"ø\" (U+00F8)")
                             .arg(window->List1().GetColumnHeader(2));

    prompts->queueAnswer(Answer::OK);
    EXPECT_FALSE(window->cmdSave_Click());
    EXPECT_TRUE(prompts->texts().last().contains(told)) << prompts->texts().last().toStdString();
    EXPECT_TRUE(prompts->texts().last().contains(path));
    EXPECT_EQ(prompts->recorded().last().style, 16);
    EXPECT_EQ(bytesOf(path), before);
    EXPECT_EQ(window->lblChangeStatus(), QStringLiteral("1"));

    const QString other = local(fileName("Other"));
    prompts->queueSave(other);
    prompts->queueAnswer(Answer::OK);
    EXPECT_FALSE(window->saveas_Click());
    EXPECT_TRUE(prompts->texts().last().contains(told)) << prompts->texts().last().toStdString();
    EXPECT_FALSE(QFile::exists(other));
    EXPECT_EQ(dialog().FileName, path);

    window->List1().ChangeItem(2, 2, QString::fromUtf8("Tomrer €"));
    EXPECT_TRUE(window->cmdSave_Click());
    EXPECT_EQ(cellOnDisk(path, 2, 2), QString::fromUtf8("Tomrer €"));
}

TEST_P(Save, SaveOfANewDocumentGoesToSaveAsWithTheDefaultName)
{
    edit(QStringLiteral("new item"));
    prompts->queueSaveCancel();
    EXPECT_FALSE(window->cmdSave_Click());
    const testsupport::RecordedPrompt& shown = prompts->recorded().last();
    ASSERT_EQ(shown.kind, testsupport::PromptKind::ShowSave);
    EXPECT_EQ(shown.dialog.FileName, row().defaultName);
    EXPECT_EQ(shown.dialog.Filter, row().filter);
    EXPECT_EQ(shown.dialog.InitDir, localDocuments());
    EXPECT_EQ(window->windowTitle(), unsavedCaption());
    EXPECT_EQ(window->lblChangeStatus(), QStringLiteral("1"));
}

// A document reopened through a recent entry before any dialog was used has no file title:
// Save asks for the name, starting from its path.
TEST_P(Save, SaveWithoutAFileTitleGoesToSaveAs)
{
    const QString path = local(fileName("Tools"));
    writeDocument(path, {QStringLiteral("hammer")});
    slot(1).Caption = path;
    slot(1).ToolTipText = fileName("Tools");
    window->file_Click(1);
    ASSERT_EQ(window->windowTitle(), caption(fileName("Tools")));
    prompts->queueSaveCancel();
    EXPECT_FALSE(window->cmdSave_Click());
    EXPECT_EQ(prompts->recorded().last().dialog.FileName, path);
}

TEST_P(Save, SaveOfAReadOnlyFileTellsAndGoesToSaveAs)
{
    const QString path = openChanged();
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadGroup);
    prompts->queueAnswer(Answer::OK);
    prompts->queueSave(local(fileName("Copy")));
    EXPECT_TRUE(window->cmdSave_Click());
    EXPECT_EQ(prompts->recorded()[prompts->recorded().size() - 2].text,
              path + QStringLiteral(" file is read-only. To save read-only file, change the file name. "));
    EXPECT_EQ(cellOnDisk(local(fileName("Copy")), 1, 1), QStringLiteral("edited"));
    EXPECT_EQ(cellOnDisk(path, 1, 1), QStringLiteral("hammer"));
}

// Save As from the dialog on: the path chosen, the designed-directory question, the extension,
// the replace question and the read-only target; whatever it refuses leaves the document's
// path, title and caption as they were.
TEST_P(Save, SaveAsChoosesThePathAndRestoresTheDocumentWhenItWritesNothing)
{
    const QString outside = shared.path() + QStringLiteral("/elsewhere/");
    QDir().mkpath(outside);
    writeDocument(local(fileName("Exists")), {QStringLiteral("old")});
    writeDocument(local(fileName("ReadOnly")), {QStringLiteral("old")});
    QFile::setPermissions(local(fileName("ReadOnly")), QFileDevice::ReadOwner);
    struct Case {
        const char* name;
        QString chosen;
        QList<Answer> answers;  // to the questions, in order
        QString written;        // "" when nothing is written
        QString captionTitle;   // inside the brackets after a completed Save As
    };
    const Case cases[] = {
        {"the name typed without extension", local(QStringLiteral("abc")), {}, local(fileName("abc")), fileName("abc")},
        {"the extension in small letters", local(QStringLiteral("abc") + row().extension.toLower()), {},
         local(QStringLiteral("abc") + row().extension.toLower() + row().extension),
         QStringLiteral("abc") + row().extension.toLower() + row().extension},
        {"outside the folder, Yes", outside + fileName("Out"), {Answer::Yes}, local(fileName("Out")), fileName("Out")},
        {"outside the folder, No", outside + fileName("Out"), {Answer::No}, outside + fileName("Out"), fileName("Out")},
        {"outside the folder, Cancel", outside + fileName("Out"), {Answer::Cancel}, QString(), QString()},
        {"an existing file, replaced", local(fileName("Exists")), {Answer::Yes}, local(fileName("Exists")), fileName("Exists")},
        {"an existing file, kept", local(fileName("Exists")), {Answer::No}, QString(), QString()},
        {"a read-only file", local(fileName("ReadOnly")), {Answer::Yes, Answer::OK}, QString(), QString()},
        {"the dialog cancelled", QString(), {}, QString(), QString()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        openWindow();
        const QString path = openChanged(QStringLiteral("Tools"));
        const Identity before = identity();
        if (c.chosen.isEmpty())
            prompts->queueSaveCancel();
        else
            prompts->queueSave(c.chosen);
        for (Answer a : c.answers)
            prompts->queueAnswer(a);
        const bool saved = window->saveas_Click();
        EXPECT_EQ(saved, !c.written.isEmpty());
        if (saved) {
            EXPECT_EQ(cellOnDisk(c.written, 1, 1), QStringLiteral("edited"));
            EXPECT_EQ(dialog().FileName, c.written);
            EXPECT_EQ(window->windowTitle(), row().captionWord + QStringLiteral(" [") + c.captionTitle + QStringLiteral("]"));
            EXPECT_EQ(window->lblChangeStatus(), QStringLiteral("0"));
            QFile::remove(c.written);
        } else {
            EXPECT_TRUE(identity() == before);
            EXPECT_EQ(window->lblChangeStatus(), QStringLiteral("1"));
            EXPECT_FALSE(QFile::exists(outside + fileName("Out")));
            EXPECT_FALSE(QFile::exists(local(fileName("Out"))));
            EXPECT_EQ(cellOnDisk(local(fileName("Exists")), 1, 1), QStringLiteral("old"));
            EXPECT_EQ(cellOnDisk(local(fileName("ReadOnly")), 1, 1), QStringLiteral("old"));
        }
        writeDocument(local(fileName("Exists")), {QStringLiteral("old")});
        EXPECT_EQ(cellOnDisk(path, 1, 1), QStringLiteral("hammer"));
    }
}

TEST_P(Save, TheQuestionsOfSaveAsAreTheKindsOwn)
{
    const QString outside = shared.path() + QStringLiteral("/");
    writeDocument(local(fileName("Exists")), {QStringLiteral("old")});
    writeDocument(local(fileName("ReadOnly")), {QStringLiteral("old")});
    QFile::setPermissions(local(fileName("ReadOnly")), QFileDevice::ReadOwner);
    edit(QStringLiteral("x"));
    prompts->queueSave(outside + fileName("Out"));
    prompts->queueAnswer(Answer::Cancel);
    window->saveas_Click();
    const testsupport::RecordedPrompt designed = prompts->recorded().last();
    EXPECT_TRUE(designed.text.startsWith(row().singleMachineQuestionStart)) << designed.text.toStdString();
    EXPECT_TRUE(designed.text.endsWith(QStringLiteral("Do you want to save this file in designed directory (recommended)?")));
    EXPECT_EQ(designed.style, 35);
    EXPECT_EQ(designed.title, QStringLiteral("Attention!"));

    prompts->queueSave(local(fileName("Exists")));
    prompts->queueAnswer(Answer::No);
    window->saveas_Click();
    EXPECT_EQ(prompts->recorded().last().text,
              QStringLiteral("Item Group ") + local(fileName("Exists")) + QStringLiteral(" already exist. Replace file?"));
    EXPECT_EQ(prompts->recorded().last().style, 4);

    prompts->queueSave(local(fileName("ReadOnly")));
    prompts->queueAnswer(Answer::Yes);
    prompts->queueAnswer(Answer::OK);
    window->saveas_Click();
    EXPECT_EQ(prompts->recorded().last().text,
              local(fileName("ReadOnly"))
                  + QStringLiteral(" is read-only. To save read-only file, change file name and save as different file."));
    EXPECT_EQ(prompts->recorded().last().style, 16);
}

// The data folder is made again when it has gone, before the chosen path is compared with it.
TEST_P(Save, SaveAsMakesTheDataFolderAgain)
{
    ASSERT_TRUE(QDir(localDocuments()).removeRecursively());
    edit(QStringLiteral("x"));
    prompts->queueSave(local(fileName("New")));
    EXPECT_TRUE(window->saveas_Click());
    EXPECT_EQ(cellOnDisk(local(fileName("New")), 1, 1), QStringLiteral("x"));
    EXPECT_EQ(slot(1).Caption.value(), local(fileName("New")));
    EXPECT_EQ(slot(1).ToolTipText.value(), fileName("New"));
}

INSTANTIATE_FOR_EVERY_KIND(Save);

} // namespace
} // namespace windowtest
