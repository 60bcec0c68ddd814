// The real file search window with the real item groups window: the window's listing button
// lists its folder and docks the two side by side; a double click on a result opens it in the
// window through its NEWLIST and openFoundFile, with "Save Changes?" first and the file's name
// handed over for the recent-file list.

#include "shell/filesearchhost.h"
#include "shell/frmfilesearch.h"
#include "support/scopedprompts.h"
#include "support/tempprogramfolder.h"
#include "windows/document/documentfixture.h"
#include "windows/document/testprogram.h"
#include "windows/items/frmitems.h"

#include <QPushButton>
#include <QListWidget>
#include <QTest>
#include <gtest/gtest.h>

namespace {

using platform::Answer;

class Host : public shell::FileSearchHost {
public:
    explicit Host(windowtest::TestProgram& program) : m_program(program) {}
    windows::FoundFileTarget* items = nullptr;

    datafiles::SettingsStore& settings() override { return m_program.store; }
    windows::FoundFileTarget* documentWindow(const QString& name) override
    {
        return name == QLatin1String("frmItems") ? items : nullptr;
    }

private:
    windowtest::TestProgram& m_program;
};

class SearchIntoItems : public ::testing::Test {
protected:
    SearchIntoItems()
    {
        windows::DocumentContext context = program.context(program.CommonDialog1, prompts.script());
        context.fileSearch = &search;
        items = std::make_unique<windows::frmItems>(context);
        host.items = items.get();
        program.documentWindow = items.get();
        items->showFromLauncher();
    }
    ~SearchIntoItems() override { search.waitForSearches(); }

    QString itemGroup(const QString& name) const
    {
        return folder.path() + QStringLiteral("/System/RAzar/Items/") + name;
    }
    void doubleClick(const QString& path)
    {
        QListWidgetItem* entry = search.FileList->findItems(path, Qt::MatchExactly).value(0);
        ASSERT_NE(entry, nullptr) << path.toStdString();
        const QPoint at = search.FileList->visualItemRect(entry).center();
        QTest::mouseClick(search.FileList->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(search.FileList->viewport(), Qt::LeftButton, {}, at);
    }

    testsupport::TempProgramFolder folder;
    testsupport::ScopedPrompts prompts;
    windowtest::TestProgram program;
    Host host{program};
    shell::frmFileSearch search{host};
    std::unique_ptr<windows::frmItems> items;
};

TEST_F(SearchIntoItems, TheListingDocksBesideTheWindowAndOpensAResultIntoIt)
{
    windowtest::writeDocument(itemGroup(QStringLiteral("Tools.QVI")), {QStringLiteral("hammer")});
    windowtest::writeDocument(itemGroup(QStringLiteral("old/Nails.QVI")), {QStringLiteral("nail")});
    items->showMaximized();
    items->button(QStringLiteral("cmdList"))->click();
    search.waitForSearches();
    EXPECT_EQ(search.windowTitle(), QStringLiteral("Item Groups"));
    EXPECT_EQ(search.FileList->count(), 2);
    EXPECT_EQ(search.frameGeometry().width() * 15, 3000);
    EXPECT_FALSE(items->isMaximized());
    EXPECT_EQ(items->x() * 15, 3000);

    // Unsaved changes: Cancel keeps them and opens nothing.
    items->List1().ChangeItem(1, 1, QStringLiteral("my work"));
    emit items->List1().GridKeyDown(65, 0, 1, 1);
    prompts->queueAnswer(Answer::Cancel);
    doubleClick(itemGroup(QStringLiteral("Tools.QVI")));
    EXPECT_EQ(prompts->texts(), QStringList{"Save Changes?"});
    EXPECT_EQ(items->List1().GetItem(1, 1), QStringLiteral("my work"));
    EXPECT_EQ(items->windowTitle(), QStringLiteral("Items Group [ Unsaved ]"));

    // Yes saves the work under a name of the user's, then the result opens.
    prompts.script().clear();
    const QString mine = itemGroup(QStringLiteral("Mine.QVI"));
    prompts->queueAnswer(Answer::Yes);
    prompts->queueSave(mine);
    doubleClick(itemGroup(QStringLiteral("Tools.QVI")));
    EXPECT_EQ(windowtest::cellOnDisk(mine, 1, 1), QStringLiteral("my work"));
    EXPECT_EQ(items->windowTitle(), QStringLiteral("Items Group [ Tools.QVI ]"));
    EXPECT_EQ(items->List1().GetItem(1, 1), QStringLiteral("hammer"));
    EXPECT_EQ(program.store.frmItemsfile1.Caption.value(), mine);
    EXPECT_EQ(program.store.frmItemsfile2.Caption.value(), itemGroup(QStringLiteral("Tools.QVI")));
    EXPECT_EQ(program.store.frmItemsfile2.ToolTipText.value(), QStringLiteral("Tools.QVI"));
    EXPECT_EQ(search.StatusToolTipText(), QString());

    // With nothing unsaved, the next result opens at once.
    prompts.script().clear();
    doubleClick(itemGroup(QStringLiteral("old/Nails.QVI")));
    EXPECT_EQ(prompts->texts(), QStringList());
    EXPECT_EQ(items->windowTitle(), QStringLiteral("Items Group [ Nails.QVI ]"));
}

TEST_F(SearchIntoItems, TheDriveSearchOpensAtTheStoredPlacementForItemGroups)
{
    program.store.ActiveList = QStringLiteral("frmContacts");
    items->button(QStringLiteral("cmdFindFiles"))->click();
    EXPECT_TRUE(search.isVisible());
    EXPECT_EQ(search.windowTitle(), QStringLiteral("Search"));
    EXPECT_EQ(program.store.ActiveList.value(), QStringLiteral("frmItems"));
    EXPECT_FALSE(search.Find->isHidden());
    EXPECT_EQ(search.frameGeometry().width() * 15, 4800);
}

} // namespace
