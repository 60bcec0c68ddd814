// The file search window through its real widgets, offscreen, with scripted prompts: a drive
// search of a generated tree, Stop, Find pressed again, closing and hiding in the middle of a
// search (held at a known folder by a test hook, never by timing), the open of a result in
// the document window that ActiveList names (a stand-in here), the listing and the placement.

#include "datafiles/settingsstore.h"
#include "filesearchfixture.h"
#include "shell/filesearchhost.h"
#include "shell/frmfilesearch.h"
#include "support/qtprinters.h"
#include "support/scopedprompts.h"
#include "windows/document/filesearchwindow.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>
#include <map>

using filesearchtest::FolderGate;
using filesearchtest::SearchTree;
using platform::Answer;

namespace {

// A document window as far as the search window sees it: its NEWLIST asks "Save Changes?"
// for unsaved changes and hands a Cancel back while the search window is visible; its open
// records what it was given.
class StandInDocumentWindow : public windows::FoundFileTarget {
public:
    explicit StandInDocumentWindow(QString caption) : m_caption(std::move(caption)) {}

    windows::FileSearchWindow* search = nullptr;
    bool changed = false;
    testsupport::CheckedList<QString> calls;
    QString titleDuringOpen;

    void NEWLIST() override
    {
        calls.append(QStringLiteral("NEWLIST"));
        if (!changed)
            return;
        switch (platform::prompts().MsgBox(QStringLiteral("Save Changes?"), platform::MsgStyle::YesNoCancelQuestionCancel,
                                           m_caption)) {
        case Answer::Cancel:
            if (search->Visible())
                search->cancelOpen();
            return;
        case Answer::Yes:
            return;
        default:
            changed = false;
        }
    }

    void openFoundFile(const QString& path) override
    {
        calls.append(QStringLiteral("open ") + path);
        titleDuringOpen = search->StatusToolTipText();
    }

private:
    QString m_caption;
};

class StandInHost : public shell::FileSearchHost {
public:
    datafiles::SettingsStore store;
    std::map<QString, windows::FoundFileTarget*> windows;
    QStringList driveList;

    datafiles::SettingsStore& settings() override { return store; }
    windows::FoundFileTarget* documentWindow(const QString& name) override
    {
        const auto it = windows.find(name);
        return it == windows.end() ? nullptr : it->second;
    }
    QStringList drives() override { return driveList; }
};

// The tree every search here walks: folders in the order root, a1/, a1/deep/, b2/, c3/.
const QStringList TreeFiles {"A.QVI", "T1.QVT", "T1.QVTH", "a1/one.QVI", "a1/deep/two.QVI",
                             "b2/three.qvi", "b2/note.txt", "c3/four.QVI", "c3/Firm.QVC"};
const QStringList AllItemGroups {"A.QVI", "a1/one.QVI", "a1/deep/two.QVI", "b2/three.qvi", "c3/four.QVI"};
// Entries examined: root 8 (". .." and six), a1 4, a1/deep 3, b2 4, c3 4.
constexpr int AllExamined = 23;
// What has been handed over when a search is held at b2/: root, a1/ and a1/deep/.
const QStringList BeforeB2 {"A.QVI", "a1/one.QVI", "a1/deep/two.QVI"};
constexpr int ExaminedBeforeB2 = 15;

class FileSearchWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        tree.files(TreeFiles);
        host.driveList = {tree.root()};
        host.store.ActiveList = QStringLiteral("frmItems");
        host.windows = {{QStringLiteral("frmItems"), &items}, {QStringLiteral("frmContacts"), &contacts},
                        {QStringLiteral("frmTransactions"), &transactions}};
        window = std::make_unique<shell::frmFileSearch>(host);
        for (StandInDocumentWindow* w : {&items, &contacts, &transactions})
            w->search = window.get();
    }

    void TearDown() override
    {
        window->waitForSearches();
        window.reset();
    }

    QStringList under(const QStringList& relatives) const
    {
        QStringList out;
        for (const QString& relative : relatives)
            out.append(tree.path(relative));
        return out;
    }

    QStringList results() const
    {
        QStringList out;
        for (int row = 0; row < window->FileList->count(); ++row)
            out.append(window->FileList->item(row)->text());
        return out;
    }

    void find() { QTest::mouseClick(window->Find, Qt::LeftButton); }
    void stop() { QTest::mouseClick(window->StopSearch, Qt::LeftButton); }

    // Finds and waits for the search to end.
    void findAll()
    {
        find();
        window->waitForSearches();
    }

    // Starts a search and holds it at the start of b2/.
    std::unique_ptr<FolderGate> findHeldAtB2()
    {
        auto gate = std::make_unique<FolderGate>(QStringLiteral("/b2/"));
        window->setFolderHook(gate->hook());
        find();
        gate->waitUntilHeld();
        return gate;
    }

    // Lets the posted hand-overs of every search that has ended be delivered.
    void settle()
    {
        window->waitForSearches();
        QCoreApplication::processEvents();
    }

    QListWidgetItem* resultItem(const QString& relative) const
    {
        const QList<QListWidgetItem*> found = window->FileList->findItems(tree.path(relative), Qt::MatchExactly);
        return found.isEmpty() ? nullptr : found.first();
    }

    void doubleClick(const QString& relative)
    {
        QListWidgetItem* item = resultItem(relative);
        ASSERT_NE(item, nullptr) << relative.toStdString();
        const QPoint at = window->FileList->visualItemRect(item).center();
        QTest::mouseClick(window->FileList->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(window->FileList->viewport(), Qt::LeftButton, {}, at);
    }

    testsupport::ScopedPrompts prompts;
    SearchTree tree;
    StandInHost host;
    StandInDocumentWindow items {QStringLiteral("Items Group [ Unsaved ]")};
    StandInDocumentWindow contacts {QStringLiteral("Company [ Unsaved ]")};
    StandInDocumentWindow transactions {QStringLiteral("Transaction [ Unsaved ]")};
    std::unique_ptr<shell::frmFileSearch> window;
};

TEST_F(FileSearchWindowTest, FindListsTheKindThatActiveListNamesInTheOrderOfTheWalk)
{
    const struct {
        const char* activeList;
        const char* pattern;
        QStringList found;
    } cases[] = {
        {"frmItems", "*.QVI", AllItemGroups},
        {"frmContacts", "*.QVC", {"c3/Firm.QVC"}},
        {"frmTransactions", "*.QVT", {"T1.QVT"}}, // never the header beside it
    };
    for (const auto& c : cases) {
        host.store.ActiveList = QString::fromLatin1(c.activeList);
        window->showDriveSearch();
        findAll();
        EXPECT_EQ(window->Files->text(), QString::fromLatin1(c.pattern)) << c.activeList;
        EXPECT_EQ(results(), under(c.found)) << c.activeList;
        EXPECT_EQ(window->FundFileNumber->text(), QString::number(c.found.size())) << c.activeList;
        EXPECT_EQ(window->FileNumber->text(), QString::number(AllExamined)) << c.activeList;
        EXPECT_EQ(window->Status->text(), QStringLiteral("Done")) << c.activeList;
        const QString lastFolder = tree.path(c.found.last()).section(QLatin1Char('/'), 0, -2) + QLatin1Char('/');
        EXPECT_EQ(window->LastFoundFile->text(), QStringLiteral("Last Matching File Found in :  ") + lastFolder);
    }
}

TEST_F(FileSearchWindowTest, FindWithNoPatternSaysFilenameErrorAndSearchesNothing)
{
    window->showDriveSearch();
    stop(); // empties the pattern
    host.store.ActiveList = QStringLiteral("frmPayments"); // names no kind, so Find cannot fill it again
    prompts->queueAnswer(Answer::OK);
    find();
    ASSERT_EQ(prompts->recorded().size(), 1);
    EXPECT_EQ(prompts->recorded()[0].text, QStringLiteral("Filename error"));
    EXPECT_EQ(prompts->recorded()[0].style, platform::MsgStyle::Information);
    EXPECT_EQ(window->Status->text(), QStringLiteral("Done"));
    EXPECT_FALSE(window->searching());
    EXPECT_EQ(window->FileList->count(), 0);
}

TEST_F(FileSearchWindowTest, StopInTheMiddleKeepsWhatWasFoundAndAddsNothingMore)
{
    window->showDriveSearch();
    auto gate = findHeldAtB2();
    stop();
    EXPECT_FALSE(window->searching());
    EXPECT_EQ(window->Status->text(), QStringLiteral("Done"));
    EXPECT_EQ(window->Files->text(), QString());
    EXPECT_EQ(results(), under(BeforeB2));
    gate->release();
    settle();
    EXPECT_EQ(results(), under(BeforeB2));
    EXPECT_EQ(window->FundFileNumber->text(), QStringLiteral("3"));
    EXPECT_EQ(window->FileNumber->text(), QString::number(ExaminedBeforeB2));

    findAll(); // Find fills the pattern again and starts afresh
    EXPECT_EQ(results(), under(AllItemGroups));
}

TEST_F(FileSearchWindowTest, FindPressedDuringASearchStartsAfreshAndTheOldResultsNeverMix)
{
    window->showDriveSearch();
    auto gate = findHeldAtB2();
    find(); // the held search ends; the new one passes the gate
    gate->release();
    settle();
    EXPECT_EQ(results(), under(AllItemGroups));
    EXPECT_EQ(window->FundFileNumber->text(), QString::number(AllItemGroups.size()));
    EXPECT_EQ(window->FileNumber->text(), QString::number(AllExamined));
    EXPECT_EQ(window->Status->text(), QStringLiteral("Done"));
}

TEST_F(FileSearchWindowTest, ChangingTheDriveStopsTheSearch)
{
    host.driveList = {tree.root(), tree.path(QStringLiteral("c3"))};
    window->Unload(); // the drive list is filled as the window loads
    window->showDriveSearch();
    ASSERT_EQ(window->Drives->count(), 2);
    auto gate = findHeldAtB2();
    window->Drives->setCurrentIndex(1);
    EXPECT_FALSE(window->searching());
    EXPECT_EQ(window->Files->text(), QString());
    gate->release();
    settle();
    EXPECT_EQ(results(), under(BeforeB2));
}

TEST_F(FileSearchWindowTest, ClosingInTheMiddleEndsTheSearchAndDiscardsItsResults)
{
    window->showDriveSearch();
    auto gate = findHeldAtB2();
    window->close();
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(window->searching());
    gate->release();
    settle();
    EXPECT_EQ(window->FileList->count(), 0);
    EXPECT_EQ(window->FundFileNumber->text(), QStringLiteral("0"));
}

TEST_F(FileSearchWindowTest, HidingInTheMiddleEndsTheSearchAndKeepsWhatWasFound)
{
    window->showDriveSearch();
    auto gate = findHeldAtB2();
    window->Hide();
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(window->searching());
    gate->release();
    settle();
    EXPECT_EQ(results(), under(BeforeB2));
    EXPECT_EQ(window->Status->text(), QStringLiteral("Done"));
}

TEST_F(FileSearchWindowTest, FoldersThatCannotBeSearchedArePassedOverWithoutAWord)
{
    tree.file(QStringLiteral("b2/locked/secret.QVI"));
    tree.lock(QStringLiteral("b2/locked"));
    tree.files({"gone/lost.QVI"});
    tree.link(QStringLiteral("a1/deep/loop"), QStringLiteral("../.."));
    tree.link(QStringLiteral("a1/self"), QStringLiteral("self"));
    bool keptOut = true;
    window->setFolderHook([&](const QString& folder) {
        if (folder.endsWith(QStringLiteral("/a1/")))
            tree.remove(QStringLiteral("gone")); // listed already, vanishes before its turn
        if (folder.endsWith(QStringLiteral("/b2/"))) {
            filesearchtest::meetPermissionsOnThisThread();
            keptOut = filesearchtest::keptOut(tree.path(QStringLiteral("b2/locked")));
        }
    });
    window->showDriveSearch();
    findAll(); // any message box here fails the test
    if (keptOut)
        EXPECT_EQ(results(), under(AllItemGroups));
    else // this process reads folders without permissions even as nobody
        EXPECT_EQ(results(), under({"A.QVI", "a1/one.QVI", "a1/deep/two.QVI", "b2/three.qvi",
                                    "b2/locked/secret.QVI", "c3/four.QVI"}));
    EXPECT_EQ(window->Status->text(), QStringLiteral("Done"));
}

TEST_F(FileSearchWindowTest, AFolderPathTooLongForTheSystemIsReportedOncePerSearch)
{
    tree.tooLongBranch(QStringLiteral("b2/long"));
    tree.tooLongBranch(QStringLiteral("c3/long"));
    window->showDriveSearch();
    prompts->queueAnswer(Answer::OK);
    findAll();
    ASSERT_EQ(prompts->recorded().size(), 1);
    EXPECT_EQ(prompts->recorded()[0].text, QStringLiteral("This is not the drive where you can save your files..."));
    EXPECT_EQ(prompts->recorded()[0].style, platform::MsgStyle::OkOnly);
    EXPECT_EQ(results(), under(AllItemGroups));
}

TEST_F(FileSearchWindowTest, ADoubleClickOpensTheResultThroughTheDocumentWindowsOwnOpen)
{
    window->showDriveSearch();
    findAll();
    doubleClick(QStringLiteral("a1/one.QVI"));
    EXPECT_EQ(items.calls, (QStringList {QStringLiteral("NEWLIST"), QStringLiteral("open ") + tree.path(QStringLiteral("a1/one.QVI"))}));
    EXPECT_EQ(items.titleDuringOpen, QStringLiteral("one.QVI"));
    EXPECT_EQ(window->StatusToolTipText(), QString());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("one.QVI"));
    EXPECT_EQ(window->FileList->toolTip(), tree.path(QStringLiteral("a1/one.QVI")));
    EXPECT_EQ(window->Files->text(), QString());
    EXPECT_TRUE(contacts.calls.isEmpty());
}

TEST_F(FileSearchWindowTest, ADoubleClickDuringASearchStopsItAndOpens)
{
    window->showDriveSearch();
    auto gate = findHeldAtB2();
    QCoreApplication::processEvents(); // what was found before b2 reaches the list
    doubleClick(QStringLiteral("a1/one.QVI"));
    EXPECT_FALSE(window->searching());
    EXPECT_EQ(items.calls.size(), 2);
    gate->release();
    settle();
    EXPECT_EQ(results(), under(BeforeB2));
    EXPECT_EQ(window->Status->text(), QStringLiteral("Done"));
}

TEST_F(FileSearchWindowTest, AnyCharacterKeyOpensTheSelectedResultAndOtherKeysOnlyShowIt)
{
    window->showDriveSearch();
    findAll();
    const struct {
        Qt::Key key;
        bool opens;
    } cases[] = {{Qt::Key_Return, true}, {Qt::Key_A, true}, {Qt::Key_Space, true}, {Qt::Key_Down, false}};
    for (const auto& c : cases) {
        items.calls.clear();
        window->FileList->setCurrentRow(0);
        QTest::keyClick(window->FileList, c.key);
        const QString selected = window->FileList->currentItem()->text();
        EXPECT_EQ(items.calls.contains(QStringLiteral("open ") + selected), c.opens) << c.key;
        EXPECT_EQ(window->windowTitle(), selected.section(QLatin1Char('/'), -1)) << c.key;
        EXPECT_EQ(window->FileList->toolTip(), selected) << c.key;
    }
}

TEST_F(FileSearchWindowTest, AKeyWithNothingSelectedOpensNothing)
{
    window->showDriveSearch();
    findAll();
    window->FileList->clearSelection();
    QTest::keyClick(window->FileList, Qt::Key_A);
    EXPECT_TRUE(items.calls.isEmpty());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Search"));
}

TEST_F(FileSearchWindowTest, CancelAtSaveChangesOpensNothingAndTheNextOpenIsNotStopped)
{
    window->showDriveSearch();
    findAll();
    items.changed = true;
    prompts->queueAnswer(Answer::Cancel);
    doubleClick(QStringLiteral("a1/one.QVI"));
    EXPECT_EQ(items.calls, QStringList {QStringLiteral("NEWLIST")});
    EXPECT_EQ(prompts->recorded().value(0).text, QStringLiteral("Save Changes?"));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("one.QVI"));
    EXPECT_EQ(window->Files->text(), QString());
    // The cancel shows nowhere in the window.
    EXPECT_FALSE(results().contains(QStringLiteral("Cancel")));
    EXPECT_EQ(window->StatusToolTipText(), QString());
    EXPECT_EQ(window->FileList->toolTip(), tree.path(QStringLiteral("a1/one.QVI")));

    items.calls.clear();
    items.changed = false;
    doubleClick(QStringLiteral("c3/four.QVI"));
    EXPECT_EQ(items.calls.value(1), QStringLiteral("open ") + tree.path(QStringLiteral("c3/four.QVI")));
}

TEST_F(FileSearchWindowTest, ACancelAnsweredToTheDocumentWindowsOwnNewDoesNotStopALaterOpen)
{
    window->showDriveSearch();
    findAll();
    items.changed = true;
    prompts->queueAnswer(Answer::Cancel);
    items.NEWLIST(); // New pressed in the document window while the search window is visible
    items.changed = false;
    items.calls.clear();
    doubleClick(QStringLiteral("a1/one.QVI"));
    EXPECT_EQ(items.calls.value(1), QStringLiteral("open ") + tree.path(QStringLiteral("a1/one.QVI")));
}

TEST_F(FileSearchWindowTest, YesAtSaveChangesStillOpensTheResult)
{
    window->showDriveSearch();
    findAll();
    items.changed = true;
    prompts->queueAnswer(Answer::Yes);
    doubleClick(QStringLiteral("A.QVI"));
    EXPECT_EQ(items.calls.value(1), QStringLiteral("open ") + tree.path(QStringLiteral("A.QVI")));
}

TEST_F(FileSearchWindowTest, TheOpenFollowsTheWindowThatIsActiveNowAndNoneWhenActiveListNamesNone)
{
    window->showDriveSearch();
    findAll();
    host.store.ActiveList = QStringLiteral("frmContacts");
    doubleClick(QStringLiteral("A.QVI"));
    EXPECT_EQ(contacts.calls.value(1), QStringLiteral("open ") + tree.path(QStringLiteral("A.QVI")));
    EXPECT_TRUE(items.calls.isEmpty());

    contacts.calls.clear();
    host.store.ActiveList = QStringLiteral("frmPayments");
    doubleClick(QStringLiteral("a1/one.QVI"));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("one.QVI"));
    EXPECT_TRUE(items.calls.isEmpty());
    EXPECT_TRUE(contacts.calls.isEmpty());
    EXPECT_TRUE(transactions.calls.isEmpty());
}

TEST_F(FileSearchWindowTest, TheWindowWritesNoLockAndLeavesAnotherMachinesLockAsItIs)
{
    host.store.OptionHost = true;
    tree.file(QStringLiteral("a1/one.QVI.tmp"), "OTHERPC");
    window->showDriveSearch();
    findAll();
    const QStringList before = QDir(tree.path(QStringLiteral("a1"))).entryList(QDir::Files);
    doubleClick(QStringLiteral("a1/one.QVI"));
    // The lock rules are the document window's Open's; the search window only hands it the path.
    EXPECT_EQ(items.calls.value(1), QStringLiteral("open ") + tree.path(QStringLiteral("a1/one.QVI")));
    QFile lock(tree.path(QStringLiteral("a1/one.QVI.tmp")));
    ASSERT_TRUE(lock.open(QIODevice::ReadOnly));
    EXPECT_EQ(lock.readAll(), QByteArray("OTHERPC"));
    EXPECT_EQ(QDir(tree.path(QStringLiteral("a1"))).entryList(QDir::Files), before);
}

TEST_F(FileSearchWindowTest, AResultWhoseFileHasVanishedIsReportedAndTheDocumentIsLeftAlone)
{
    window->showDriveSearch();
    findAll();
    tree.remove(QStringLiteral("a1/one.QVI"));
    prompts->queueAnswer(Answer::OK);
    doubleClick(QStringLiteral("a1/one.QVI"));
    ASSERT_EQ(prompts->recorded().size(), 1);
    EXPECT_EQ(prompts->recorded()[0].text,
              QStringLiteral("File ") + tree.path(QStringLiteral("a1/one.QVI")) + QStringLiteral(" no longer exists."));
    EXPECT_TRUE(items.calls.isEmpty());
}

TEST_F(FileSearchWindowTest, ActivationTakesThePatternOfTheWindowActiveLast)
{
    window->showDriveSearch();
    stop();
    host.store.ActiveList = QStringLiteral("frmContacts");
    QEvent activate(QEvent::WindowActivate);
    QApplication::sendEvent(window.get(), &activate);
    EXPECT_EQ(window->Files->text(), QStringLiteral("*.QVC"));
}

TEST_F(FileSearchWindowTest, AListingShowsTheKindsFolderAndTellsItsCallerOnceWhenDone)
{
    tree.files({"Transactions/T7.QVT", "Transactions/T7.QVTH", "Transactions/old/T2.qvt"});
    host.store.ActiveList = QStringLiteral("frmTransactions");
    int listed = 0;
    window->showListing(tree.path(QStringLiteral("Transactions/")), [&] { ++listed; });
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Transactions"));
    EXPECT_EQ(window->Label2->text(), QStringLiteral("                      Total Transaction"));
    for (QWidget* w : {static_cast<QWidget*>(window->Find), static_cast<QWidget*>(window->Drives),
                       static_cast<QWidget*>(window->FileNumber), static_cast<QWidget*>(window->Files)})
        EXPECT_TRUE(w->isHidden());
    window->waitForSearches();
    EXPECT_EQ(results(), under({"Transactions/T7.QVT", "Transactions/old/T2.qvt"}));
    EXPECT_EQ(window->FundFileNumber->text(), QStringLiteral("2"));
    EXPECT_EQ(window->Status->text(), QStringLiteral("Done"));
    EXPECT_EQ(window->LastFoundFile->text(), QStringLiteral("Double-click to select"));
    EXPECT_EQ(listed, 1);

    EXPECT_EQ(window->dockLeft(1380, 6210), 3000);
    EXPECT_EQ(window->frameGeometry(), QRect(0, 92, 200, 414));
    window->close(); // a listing keeps its docked place out of the settings
    EXPECT_EQ(host.store.frmFileSearchLeft.value(), QStringLiteral("1275"));
    EXPECT_EQ(host.store.frmFileSearchWidth.value(), QStringLiteral("4800"));
    EXPECT_EQ(listed, 1);
}

TEST_F(FileSearchWindowTest, AListingClosedInTheMiddleStillTellsItsCaller)
{
    host.store.ActiveList = QStringLiteral("frmItems");
    FolderGate gate(QStringLiteral("/b2/"));
    window->setFolderHook(gate.hook());
    int listed = 0;
    window->showListing(tree.root(), [&] { ++listed; });
    gate.waitUntilHeld();
    window->close();
    EXPECT_EQ(listed, 1);
    gate.release();
    settle();
    EXPECT_EQ(listed, 1);
    EXPECT_EQ(window->FileList->count(), 0);
}

TEST_F(FileSearchWindowTest, AMissingDataFolderListsNothing)
{
    int listed = 0;
    window->showListing(tree.path(QStringLiteral("Items/")), [&] { ++listed; });
    window->waitForSearches();
    EXPECT_EQ(window->FileList->count(), 0);
    EXPECT_EQ(window->FileNumber->text(), QStringLiteral("0"));
    EXPECT_EQ(window->FundFileNumber->text(), QStringLiteral("0"));
    EXPECT_EQ(listed, 1);
}

TEST_F(FileSearchWindowTest, TheDriveSearchOpensAtItsStoredPlacementAndStoresItWhenClosed)
{
    window->showDriveSearch(); // the design values
    EXPECT_EQ(window->frameGeometry(), QRect(85, 92, 320, 414));
    window->move(100, 50);
    window->close();
    EXPECT_EQ(host.store.frmFileSearchWindowState.value(), QStringLiteral("0"));
    EXPECT_EQ(host.store.frmFileSearchLeft.value(), QStringLiteral("1500"));
    EXPECT_EQ(host.store.frmFileSearchTop.value(), QStringLiteral("750"));
    EXPECT_EQ(host.store.frmFileSearchHeight.value(), QStringLiteral("6210"));
    EXPECT_EQ(host.store.frmFileSearchWidth.value(), QStringLiteral("4800"));

    const struct {
        const char* left;
        const char* width;
        QRect expected;
    } cases[] = {
        {"1500", "3000", QRect(100, 50, 320, 414)}, // never narrower than 4800 twips
        {"1500", "6000", QRect(100, 50, 400, 414)},
        {"left", "6000", QRect(0, 50, 400, 414)},   // a value that is no number is passed over
        {"1500", "30000", QRect(85, 92, 320, 414)},  // wider than the screen: the initial placement
        {"-1500", "6000", QRect(85, 92, 320, 414)},  // partly off the screen: the same
    };
    for (const auto& c : cases) {
        window->move(0, 0);
        host.store.frmFileSearchLeft = QString::fromLatin1(c.left);
        host.store.frmFileSearchWidth = QString::fromLatin1(c.width);
        window->showDriveSearch();
        EXPECT_EQ(window->frameGeometry(), c.expected) << c.left << " " << c.width;
        window->Unload();
    }
}

TEST_F(FileSearchWindowTest, AWindowNeverShownStoresNoPlacementWhenUnloaded)
{
    window->move(0, 0);
    window->Unload();
    EXPECT_EQ(host.store.frmFileSearchLeft.value(), QStringLiteral("1275"));
    EXPECT_EQ(host.store.frmFileSearchTop.value(), QStringLiteral("1380"));
}

TEST_F(FileSearchWindowTest, AResultClickedInAListingMakesTheDockedPlaceTheNextDriveSearchs)
{
    tree.files({"Items/G.QVI"});
    window->showListing(tree.path(QStringLiteral("Items")), nullptr);
    window->waitForSearches();
    window->dockLeft(1380, 6210);
    QListWidgetItem* item = window->FileList->item(0);
    ASSERT_NE(item, nullptr);
    QTest::mouseClick(window->FileList->viewport(), Qt::LeftButton, {}, window->FileList->visualItemRect(item).center());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("G.QVI"));
    window->close();
    EXPECT_EQ(host.store.frmFileSearchLeft.value(), QStringLiteral("0"));
    EXPECT_EQ(host.store.frmFileSearchWidth.value(), QStringLiteral("3000"));
    window->showDriveSearch();
    EXPECT_EQ(window->frameGeometry(), QRect(0, 92, 320, 414));
}

TEST_F(FileSearchWindowTest, TheListAndTheControlsBelowItFollowTheWindowsSize)
{
    window->showDriveSearch();
    window->resize(545, 378); // 8235 x 5730 twips with the frame
    EXPECT_EQ(window->FileList->geometry(), QRect(7, 24, 529, 262));
    EXPECT_EQ(window->Find->pos(), QPoint(416, 287));
    EXPECT_EQ(window->StopSearch->pos(), QPoint(479, 287));
    EXPECT_EQ(window->FundFileNumber->y(), 299);
    EXPECT_EQ(window->LastFoundFile->geometry(), QRect(16, 315, 529, 29));

    window->resize(10, 100); // too small for the list: its size stays, the rest follows it
    EXPECT_EQ(window->FileList->size(), QSize(529, 262));
    EXPECT_EQ(window->Find->x(), -119);
}

} // namespace
