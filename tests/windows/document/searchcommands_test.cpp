// The document windows' two file search buttons: the drive search and the listing of the
// kind's data folder, with the listing's network checks and the docking once it has ended.
// The search window is a stand-in here; the real one opening into a real document window is
// tested in tests/shell.

#include "documentfixture.h"

namespace windowtest {
namespace {

using platform::Answer;

class SearchCommands : public DocumentFixture {
protected:
    void press(const char* name) { window->button(QString::fromLatin1(name))->click(); }
};

TEST_P(SearchCommands, TheDriveSearchOpensForThisKind)
{
    openWindow();
    program.store.ActiveList = QStringLiteral("frmPayments");
    press("cmdFindFiles");
    EXPECT_EQ(program.store.ActiveList.value(), row().formName);
    EXPECT_EQ(program.search.calls, QStringList{"drive search"});
}

// The listing shows the data folder of the mode; once it has ended the search window docks at
// the left edge with this window's top and height as they were, maximised or not, and this
// window stands normal to its right.
TEST_P(SearchCommands, TheListingShowsTheDataFolderAndDocksBesideTheWindow)
{
    openWindow();
    window->showMaximized();
    const int top = window->y() * 15;
    const int height = window->height() * 15;
    program.store.ActiveList = QStringLiteral("frmPayments");
    press("cmdList");
    EXPECT_EQ(program.store.ActiveList.value(), row().formName);
    EXPECT_EQ(program.search.calls, QStringList{QStringLiteral("listing ") + localDocuments()});
    EXPECT_TRUE(window->isMaximized());

    program.search.finishListing();
    EXPECT_EQ(program.search.calls.last(), QStringLiteral("dock %1 %2").arg(top).arg(height));
    EXPECT_FALSE(window->isMaximized());
    EXPECT_EQ(window->x() * 15, 3000);
}

TEST_P(SearchCommands, TheListingChecksTheNetworkFirst)
{
    // Neither network folder: the kind's message, and no listing.
    program.beHost(shared.path() + QStringLiteral("/missing"));
    openWindow();
    prompts->queueAnswer(Answer::OK);
    press("cmdList");
    EXPECT_EQ(prompts->texts(), QStringList{row().networkFolderMissing});
    EXPECT_EQ(program.search.calls, QStringList());

    // Host mode where only the connected host's folder exists: the check passes and the
    // host's own folder is listed.
    prompts.script().clear();
    program.store.lblConnectedtohostsystem = shared.path() + QLatin1Char('/');
    press("cmdList");
    EXPECT_EQ(prompts->texts(), QStringList());
    EXPECT_EQ(program.search.calls,
              QStringList{QStringLiteral("listing ") + shared.path() + QStringLiteral("/missing/QVNET/RAzar/") + row().folder});
}

TEST_P(SearchCommands, ANetworkUserMayListOnlyWhereTheKindAllowsIt)
{
    program.beUser(shared.path(), false);
    openWindow();
    if (!row().listingRefusal.isEmpty())
        prompts->queueAnswer(Answer::OK);
    press("cmdList");
    if (row().listingRefusal.isEmpty()) {
        EXPECT_EQ(program.search.calls, QStringList{QStringLiteral("listing ") + sharedDocuments()});
    } else {
        EXPECT_EQ(prompts->texts(), QStringList{row().listingRefusal});
        EXPECT_EQ(prompts->recorded().last().style, 16);
        EXPECT_EQ(program.search.calls, QStringList());
    }
}

// A window closed before its listing ends is not docked.
TEST_P(SearchCommands, AListingThatEndsAfterTheWindowHasGoneDocksNothing)
{
    openWindow();
    press("cmdList");
    window.reset();
    program.documentWindow = nullptr;
    program.search.finishListing();
    EXPECT_EQ(program.search.calls.size(), 1);
}

INSTANTIATE_FOR_EVERY_KIND(SearchCommands);

} // namespace
} // namespace windowtest
