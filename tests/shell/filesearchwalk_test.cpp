// The walk behind the file search, run synchronously: which names match, in which order the
// results come, what is counted, and how folders that cannot be searched are passed over.

#include "filesearchfixture.h"
#include "shell/filesearchpattern.h"
#include "shell/filesearchwalk.h"
#include "support/qtprinters.h"

#include <QDir>
#include <gtest/gtest.h>
#include <thread>

using filesearchtest::SearchTree;
using shell::FileSearchWalk;

namespace {

// Records what the walk hands over; a test may act at the start of a folder.
class RecordingSink : public shell::FileSearchSink {
public:
    QStringList found;
    QStringList listedFolders;
    QStringList badNames;
    qint64 examined = 0;
    std::function<void(const QString&)> atFolder;

    void folderStarted(const QString& folder) override
    {
        if (atFolder)
            atFolder(folder);
    }
    void folderListed(const QString& folder, qint64 count, const QStringList& matches) override
    {
        listedFolders.append(folder);
        examined += count;
        for (const QString& name : matches)
            found.append(folder + name);
    }
    void badFolderName(const QString& folder) override { badNames.append(folder); }
};

QStringList under(const SearchTree& tree, const QStringList& relatives)
{
    QStringList out;
    for (const QString& relative : relatives)
        out.append(tree.path(relative));
    return out;
}

FileSearchWalk::End walk(const QString& root, const QString& pattern, RecordingSink& sink)
{
    std::atomic<bool> stop {false};
    return FileSearchWalk(root, pattern).run(sink, stop);
}

TEST(FileSearchPattern, WildcardsMatchTheWholeNameInEitherLetterCase)
{
    struct Case {
        const char16_t* name;
        const char16_t* pattern;
        bool matches;
    };
    const Case cases[] = {
        {u"Group1.QVI", u"*.QVI", true},
        {u"group1.qvi", u"*.QVI", true},
        {u"Group1.QvI", u"*.qvi", true},
        {u".QVI", u"*.QVI", true},
        {u"Group1.QVIX", u"*.QVI", false},     // a longer extension is another extension
        {u"Group1.QVI.bak", u"*.QVI", false},
        {u"QVI", u"*.QVI", false},
        {u"Group1QVI", u"*.QVI", false},
        {u"ab.QVT", u"?b.QVT", true},
        {u"b.QVT", u"?b.QVT", false},
        {u"ac.QVC", u"a*b*.QVC", false},
        {u"aXbY.QVC", u"a*b*.QVC", true},
        {u"a.b.c.QVC", u"*.*.QVC", true},
        {u"Čebula.QVC", u"čEBULA.qvc", true}, // letters beyond ASCII too
        {u"", u"*", true},
        {u"anything", u"*", true},
        {u"", u"?", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(shell::matchesSearchPattern(QStringView(c.name), QStringView(c.pattern)), c.matches)
            << QString::fromUtf16(c.name).toStdString() << " against " << QString::fromUtf16(c.pattern).toStdString();
}

TEST(FileSearchPattern, TransactionHeaderNamesEndInQVTHInCapitals)
{
    EXPECT_TRUE(shell::isTransactionHeaderName(u"T1.QVTH"));
    EXPECT_TRUE(shell::isTransactionHeaderName(u"QVTH"));
    EXPECT_FALSE(shell::isTransactionHeaderName(u"T1.qvth"));
    EXPECT_FALSE(shell::isTransactionHeaderName(u"T1.QvTH"));
    EXPECT_FALSE(shell::isTransactionHeaderName(u"T1.QVT"));
}

// root/ holds b.QVI, A.qvi, notes.txt, T1.QVT, T1.QVTH, a hidden file and folder, and the
// folders sub2/ and Sub1/ (with Sub1/deeper/).
class FileSearchWalkOrder : public ::testing::Test {
protected:
    void SetUp() override
    {
        tree.files({"b.QVI", "A.qvi", "notes.txt", "T1.QVT", "T1.QVTH", ".hidden.QVI", "sub2/x.QVI",
                    "Sub1/y.QVI", "Sub1/deeper/z.QVI", "Sub1/deeper/Z2.QVT", ".cache/w.QVI"});
    }
    SearchTree tree;
};

TEST_F(FileSearchWalkOrder, AFoldersOwnMatchesComeBeforeItsSubFoldersAndNamesGoInOrderWhateverTheirCase)
{
    RecordingSink sink;
    EXPECT_EQ(walk(tree.root(), QStringLiteral("*.QVI"), sink), FileSearchWalk::End::Finished);
    EXPECT_EQ(sink.found, under(tree, {"A.qvi", "b.QVI", "Sub1/y.QVI", "Sub1/deeper/z.QVI", "sub2/x.QVI"}));
    EXPECT_EQ(sink.listedFolders, under(tree, {"", "Sub1/", "Sub1/deeper/", "sub2/"}));
    EXPECT_TRUE(sink.badNames.isEmpty());
}

TEST_F(FileSearchWalkOrder, CountsEveryVisibleEntryWithDotAndDotDotButNoHiddenOne)
{
    RecordingSink sink;
    walk(tree.root(), QStringLiteral("*.QVI"), sink);
    // root: . .. b.QVI A.qvi notes.txt T1.QVT T1.QVTH sub2 Sub1 = 9; sub2: . .. x.QVI = 3;
    // Sub1: . .. y.QVI deeper = 4; deeper: . .. z.QVI Z2.QVT = 4.
    EXPECT_EQ(sink.examined, 20);
}

TEST_F(FileSearchWalkOrder, TransactionHeadersAreNeverListedWhateverThePattern)
{
    const struct {
        const char* pattern;
        QStringList expected;
    } cases[] = {
        {"*.QVT", {"T1.QVT", "Sub1/deeper/Z2.QVT"}},
        {"*.QVT*", {"T1.QVT", "Sub1/deeper/Z2.QVT"}},
        {"T1.*", {"T1.QVT"}},
    };
    for (const auto& c : cases) {
        RecordingSink sink;
        walk(tree.root(), QString::fromLatin1(c.pattern), sink);
        EXPECT_EQ(sink.found, under(tree, c.expected)) << c.pattern;
    }
}

TEST_F(FileSearchWalkOrder, ARootWithOrWithoutItsTrailingSlashGivesTheSamePaths)
{
    RecordingSink without;
    RecordingSink with;
    walk(tree.root(), QStringLiteral("*.QVI"), without);
    walk(tree.root() + QLatin1Char('/'), QStringLiteral("*.QVI"), with);
    EXPECT_EQ(without.found, with.found);
    EXPECT_EQ(without.listedFolders.value(0), tree.root() + QLatin1Char('/'));
}

TEST(FileSearchWalk, LinkLoopsEndAndOnlyLinksToFilesCountAsFiles)
{
    SearchTree tree;
    tree.file(QStringLiteral("a/f.QVI"));
    tree.link(QStringLiteral("a/up"), QStringLiteral(".."));           // a loop back to the root
    tree.link(QStringLiteral("a/self"), QStringLiteral("self"));       // a link to itself
    tree.link(QStringLiteral("a/b/c/back"), QStringLiteral("../../..")); // a longer loop
    tree.link(QStringLiteral("copy.QVI"), QStringLiteral("a/f.QVI"));  // a link to a file
    tree.link(QStringLiteral("gone.QVI"), QStringLiteral("nowhere.QVI"));
    tree.link(QStringLiteral("folder.QVI"), QStringLiteral("a"));      // a link to a folder
    tree.link(QStringLiteral("outside"), QDir::tempPath());

    RecordingSink sink;
    EXPECT_EQ(walk(tree.root(), QStringLiteral("*.QVI"), sink), FileSearchWalk::End::Finished);
    EXPECT_EQ(sink.found, under(tree, {"copy.QVI", "a/f.QVI"}));
    EXPECT_EQ(sink.listedFolders, under(tree, {"", "a/", "a/b/", "a/b/c/"}));
}

TEST(FileSearchWalk, ARootNamedThroughALinkIsSearched)
{
    SearchTree tree;
    tree.file(QStringLiteral("real/r.QVI"));
    tree.link(QStringLiteral("named"), QStringLiteral("real"));
    RecordingSink sink;
    walk(tree.path(QStringLiteral("named")), QStringLiteral("*.QVI"), sink);
    EXPECT_EQ(sink.found, QStringList {tree.path(QStringLiteral("named/r.QVI"))});
}

TEST(FileSearchWalk, AnUnreadableFolderIsPassedOverAndTheWalkGoesOn)
{
    SearchTree tree;
    tree.files({"a/one.QVI", "c/three.QVI"});
    tree.file(QStringLiteral("b/inside.QVI"));
    tree.lock(QStringLiteral("b"));

    // As root the walk meets permissions on a thread of its own with an ordinary user's
    // file-system identity; where even that does not keep it out, the case cannot be shown.
    RecordingSink sink;
    bool keptOutOfB = false;
    std::thread worker([&] {
        filesearchtest::meetPermissionsOnThisThread();
        keptOutOfB = filesearchtest::keptOut(tree.path(QStringLiteral("b")));
        if (keptOutOfB)
            walk(tree.root(), QStringLiteral("*.QVI"), sink);
    });
    worker.join();
    if (!keptOutOfB)
        GTEST_SKIP() << "this process can read a folder without permissions, even as nobody";
    EXPECT_EQ(sink.found, under(tree, {"a/one.QVI", "c/three.QVI"}));
    EXPECT_EQ(sink.listedFolders, under(tree, {"", "a/", "c/"}));
    EXPECT_TRUE(sink.badNames.isEmpty());
}

TEST(FileSearchWalk, AFolderThatVanishesBeforeItsTurnIsPassedOver)
{
    SearchTree tree;
    tree.files({"a/one.QVI", "b/two.QVI", "b/deeper/four.QVI", "c/three.QVI"});
    RecordingSink sink;
    sink.atFolder = [&](const QString& folder) {
        if (folder == tree.path(QStringLiteral("a/"))) // b has been listed as a sub-folder already
            tree.remove(QStringLiteral("b"));
    };
    EXPECT_EQ(walk(tree.root(), QStringLiteral("*.QVI"), sink), FileSearchWalk::End::Finished);
    EXPECT_EQ(sink.found, under(tree, {"a/one.QVI", "c/three.QVI"}));
    EXPECT_TRUE(sink.badNames.isEmpty());
}

TEST(FileSearchWalk, AMissingRootGivesNothing)
{
    SearchTree tree;
    RecordingSink sink;
    EXPECT_EQ(walk(tree.path(QStringLiteral("missing")), QStringLiteral("*.QVI"), sink),
              FileSearchWalk::End::Finished);
    EXPECT_TRUE(sink.found.isEmpty());
    EXPECT_EQ(sink.examined, 0);
    EXPECT_TRUE(sink.badNames.isEmpty());
}

TEST(FileSearchWalk, AFolderPathLongerThanTheSystemAllowsIsReportedOnceAndPassedOver)
{
    SearchTree tree;
    tree.files({"a/one.QVI", "z/last.QVI"});
    const QString tooLong = tree.tooLongBranch(QStringLiteral("long"));
    RecordingSink sink;
    EXPECT_EQ(walk(tree.root(), QStringLiteral("*.QVI"), sink), FileSearchWalk::End::Finished);
    EXPECT_EQ(sink.badNames, QStringList {tooLong});
    EXPECT_EQ(sink.found, under(tree, {"a/one.QVI", "z/last.QVI"}));
}

TEST(FileSearchWalk, AnotherFileSystemMountedInsideIsNotEntered)
{
    SearchTree tree;
    tree.files({"a/one.QVI", "mnt/disk/two.QVI"});
    FileSearchWalk w(tree.root(), QStringLiteral("*.QVI"));
    w.setMountPoints({QFile::encodeName(tree.path(QStringLiteral("mnt/disk")))});
    RecordingSink sink;
    std::atomic<bool> stop {false};
    w.run(sink, stop);
    EXPECT_EQ(sink.found, under(tree, {"a/one.QVI"}));
    EXPECT_EQ(sink.listedFolders, under(tree, {"", "a/", "mnt/"}));
}

TEST(FileSearchWalk, StopEndsTheWalkBeforeTheNextFolderIsListed)
{
    SearchTree tree;
    tree.files({"root.QVI", "a/one.QVI", "b/two.QVI"});
    RecordingSink sink;
    std::atomic<bool> stop {false};
    sink.atFolder = [&](const QString& folder) {
        if (folder == tree.path(QStringLiteral("a/")))
            stop = true;
    };
    EXPECT_EQ(FileSearchWalk(tree.root(), QStringLiteral("*.QVI")).run(sink, stop), FileSearchWalk::End::Stopped);
    EXPECT_EQ(sink.found, under(tree, {"root.QVI"}));
}

} // namespace
