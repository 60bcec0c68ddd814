// A document's file that was cut short (a copy or a write that stopped part way): it opens,
// so that what it still holds can be rescued, but the user is told which rows are missing,
// and Save asks before it writes over it. Save As elsewhere leaves it as it is.

#include "documentfixture.h"

#include "grid/documents/listfilescrambler.h"

namespace windowtest {
namespace {

using platform::Answer;
using testsupport::PromptKind;

class CutFile : public DocumentFixture {
protected:
    void SetUp() override { openWindow(); }

    // The kind's document of three items, saved whole, then cut where the text `cut` says
    // (given the file's text, the number of bytes kept), and scrambled again as it was.
    QString writeCut(const QString& name, const std::function<qsizetype(const QByteArray&)>& cut)
    {
        const QString path = local(fileName(name));
        writeDocument(path, {QStringLiteral("hammer"), QStringLiteral("saw"), QStringLiteral("chisel")});
        const QByteArray text = grid::ListFileScrambler::applied(bytesOf(path));
        putFile(path, grid::ListFileScrambler::applied(text.left(cut(text))));
        return path;
    }
    // Opens the file, answering the notice.
    void openCut(const QString& path)
    {
        prompts->queueOpen(path);
        prompts->queueAnswer(Answer::OK);
        window->cmdOpen_Click();
    }
    QString question(const QString& path, const QString& rows) const
    {
        return QStringLiteral("The file \"") + path + QStringLiteral("\" was incomplete when it was opened: it was cut "
                                                                      "short. ")
               + rows + QStringLiteral("\n\nWrite this document over it, as it is shown now?");
    }
    // Inside the second item's line: the first item came whole.
    static qsizetype insideSaw(const QByteArray& text) { return text.indexOf("saw") + 2; }
    static inline const QString SawCutRows = QStringLiteral("It should hold 4 rows, and row 1 was found.");
};

// Each way a file can be cut opens with what it still holds, and a notice that names the file
// and the rows it should hold and those found.
TEST_P(CutFile, ItOpensWithANoticeOfTheRowsMissing)
{
    const struct {
        const char* what;
        std::function<qsizetype(const QByteArray&)> cut;
        QString rows;
        QStringList shown; // the first column of rows 1 to 3
    } cases[] = {
        {"the first 60 bytes", [](const QByteArray&) { return qsizetype(60); },
         QStringLiteral("It should hold 4 rows, and no rows were found in it."), {"", "", ""}},
        {"its header and column lines but no row count",
         [](const QByteArray& text) { return text.indexOf("\\\\4\r\n"); },
         QStringLiteral("It ends before its row count, so how many rows it should hold is not known, and no rows "
                        "were found in it."),
         {"", "", ""}},
        {"inside the second item", insideSaw, SawCutRows, {"hammer", "", ""}},
        {"only its last line end missing", [](const QByteArray& text) { return text.size() - 2; },
         QStringLiteral("It should hold 4 rows, and rows 1 to 3 were found."), {"hammer", "saw", "chisel"}},
    };
    int k = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        prompts.script().clear();
        const QString path = writeCut(QStringLiteral("Cut%1").arg(++k), c.cut);
        openCut(path);
        ASSERT_EQ(prompts->recorded().size(), 2);
        const testsupport::RecordedPrompt& notice = prompts->recorded()[1];
        EXPECT_EQ(notice.text, QStringLiteral("The file \"") + path
                                   + QStringLiteral("\" is incomplete: it was cut short, and what came after the cut "
                                                    "is missing. ")
                                   + c.rows
                                   + QStringLiteral("\n\nWhat it still holds is shown. Save asks before it writes "
                                                    "over this file; Save As can keep the document under another "
                                                    "name."));
        EXPECT_EQ(notice.style, 48);
        EXPECT_EQ(notice.title, caption(fileName(QStringLiteral("Cut%1").arg(k))));
        EXPECT_EQ(window->windowTitle(), caption(fileName(QStringLiteral("Cut%1").arg(k))));
        EXPECT_EQ(dialog().FileName, path);
        for (int r = 1; r <= 3; ++r)
            EXPECT_EQ(window->List1().GetItem(r, 1), c.shown[r - 1]) << "row " << r;
        EXPECT_EQ(window->lblChangeStatus(), QStringLiteral("0"));
        EXPECT_TRUE(saveEnabled());
    }
}

// A file of no bytes is a new, empty document; nothing is missing from it.
TEST_P(CutFile, AFileOfNoBytesOpensWithoutANotice)
{
    const QString path = local(fileName("Empty"));
    writeDocument(path, {}); // the kind's companions, where it has any
    putFile(path, QByteArray());
    openThroughDialog(path);
    EXPECT_EQ(prompts->recorded().size(), 1); // the dialog alone
    EXPECT_EQ(window->windowTitle(), caption(fileName("Empty")));
    if (!row().savesPlainly)
        return;
    edit(QStringLiteral("first"));
    EXPECT_TRUE(window->cmdSave_Click());
    EXPECT_EQ(prompts->recorded().size(), 1);
    EXPECT_EQ(cellOnDisk(path, 1, 1), QStringLiteral("first"));
}

// Save asks before it writes over the cut file: No writes nothing and keeps the changes, Yes
// writes the document as shown. The file is whole then, and the next Save asks nothing.
TEST_P(CutFile, SaveAsksBeforeItWritesOverTheFile)
{
    SKIP_UNLESS_SAVES_PLAINLY();
    const QString path = writeCut(QStringLiteral("Tools"), insideSaw);
    const QByteArray cutBytes = bytesOf(path);
    openCut(path);
    edit(QStringLiteral("typed"));

    prompts.script().clear();
    prompts->queueAnswer(Answer::No);
    EXPECT_FALSE(window->cmdSave_Click());
    ASSERT_EQ(prompts->recorded().size(), 1);
    EXPECT_EQ(prompts->recorded()[0].text, question(path, SawCutRows));
    EXPECT_EQ(prompts->recorded()[0].style, 292);
    EXPECT_EQ(prompts->recorded()[0].title, window->windowTitle());
    EXPECT_EQ(bytesOf(path), cutBytes);
    EXPECT_EQ(window->lblChangeStatus(), QStringLiteral("1"));

    // The question before closing leads to the same one.
    prompts->queueAnswer(Answer::Yes); // "Save Changes?"
    prompts->queueAnswer(Answer::No);
    EXPECT_EQ(window->closeWindow(), windows::CloseOutcome::KeptUnsaved);
    EXPECT_EQ(prompts->texts().last(), question(path, SawCutRows));
    EXPECT_EQ(bytesOf(path), cutBytes);

    prompts.script().clear();
    prompts->queueAnswer(Answer::Yes);
    EXPECT_TRUE(window->cmdSave_Click());
    EXPECT_EQ(prompts->texts(), QStringList{question(path, SawCutRows)});
    EXPECT_EQ(cellOnDisk(path, 1, 1), QStringLiteral("typed"));
    EXPECT_EQ(window->lblChangeStatus(), QStringLiteral("0"));

    prompts.script().clear();
    edit(QStringLiteral("typed again"));
    EXPECT_TRUE(window->cmdSave_Click());
    EXPECT_TRUE(prompts->recorded().isEmpty());
    EXPECT_EQ(cellOnDisk(path, 1, 1), QStringLiteral("typed again"));
}

// Save As elsewhere asks nothing and leaves the cut file as it is; the question belongs to the
// cut file alone, whichever way a save comes back to it, and to no document New started.
TEST_P(CutFile, SaveAsElsewhereLeavesTheFileAsItIs)
{
    SKIP_UNLESS_SAVES_PLAINLY();
    const QString path = writeCut(QStringLiteral("Tools"), insideSaw);
    const QByteArray cutBytes = bytesOf(path);
    openCut(path);
    edit(QStringLiteral("rescued"));

    prompts.script().clear();
    const QString copy = local(fileName("Rescued"));
    prompts->queueSave(copy);
    EXPECT_TRUE(window->saveas_Click());
    EXPECT_EQ(prompts->recorded().size(), 1); // the dialog alone
    EXPECT_EQ(cellOnDisk(copy, 1, 1), QStringLiteral("rescued"));
    EXPECT_EQ(bytesOf(path), cutBytes);

    // Back onto the cut file: the replace question, then this one.
    prompts.script().clear();
    prompts->queueSave(path);
    prompts->queueAnswer(Answer::Yes); // "... already exist. Replace file?"
    prompts->queueAnswer(Answer::No);
    EXPECT_FALSE(window->saveas_Click());
    EXPECT_EQ(prompts->texts().last(), question(path, SawCutRows));
    EXPECT_EQ(bytesOf(path), cutBytes);
    EXPECT_EQ(dialog().FileName, copy);

    // A new document is not the one read from the cut file: only the replace question.
    window->cmdNew_Click();
    edit(QStringLiteral("new"));
    prompts.script().clear();
    prompts->queueSave(path);
    prompts->queueAnswer(Answer::Yes);
    EXPECT_TRUE(window->saveas_Click());
    EXPECT_EQ(prompts->recorded().size(), 2);
    EXPECT_EQ(cellOnDisk(path, 1, 1), QStringLiteral("new"));
}

// A file read again because someone else wrote it meanwhile is told about as an opened one.
TEST_P(CutFile, AFileReadAgainIsToldAboutToo)
{
    SKIP_UNLESS_SAVES_PLAINLY();
    const QString path = local(fileName("Tools"));
    writeDocument(path, {QStringLiteral("hammer")});
    openThroughDialog(path);
    edit(QStringLiteral("edited here"));
    writeCut(QStringLiteral("Tools"), insideSaw);

    prompts.script().clear();
    prompts->queueAnswer(Answer::No); // changed on disk: read it again
    prompts->queueAnswer(Answer::OK);
    EXPECT_FALSE(window->cmdSave_Click());
    ASSERT_EQ(prompts->recorded().size(), 2);
    EXPECT_TRUE(prompts->texts()[1].startsWith(QStringLiteral("The file \"") + path + QStringLiteral("\" is incomplete")));
    EXPECT_EQ(window->List1().GetItem(1, 1), QStringLiteral("hammer"));

    edit(QStringLiteral("edited again"));
    prompts->queueAnswer(Answer::No);
    EXPECT_FALSE(window->cmdSave_Click());
    EXPECT_EQ(prompts->texts().last(), question(path, SawCutRows));
}

INSTANTIATE_FOR_EVERY_KIND(CutFile);

} // namespace
} // namespace windowtest
