#include "datafiles/fileprocedures.h"
#include "datafiles/stagedtreecopy.h"

#include "support/helperprocess.h"
#include "support/stracelog.h"
#include "support/tempprogramfolder.h"
#include "testfiles.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <csignal>
#include <ctime>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <map>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using datafiles::StagedTreeCopy;
using datafiles::TreeCopyStep;
using datafilestest::treeOf;

namespace {

// The names beside the destination that are no part of the host's data.
QStringList stagingFolders(const QString& folder)
{
    QStringList names;
    for (const QString& name : QDir(folder).entryList(QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot))
        if (StagedTreeCopy::isStagingName(name, QStringLiteral("RAzar")))
            names += name;
    return names;
}

void makeOld(const QString& path)
{
    const timespec when{std::time(nullptr) - 3 * 24 * 3600, 0};
    const timespec times[2] = {when, when};
    ::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0);
}

// A local data tree and a host's tree that already holds files of its own.
struct Trees {
    testsupport::TempProgramFolder folder;
    QString source = folder.filePath("System/RAzar");
    QString host = folder.filePath("share/QVNET");
    QString destination = host + QStringLiteral("/RAzar");

    Trees()
    {
        for (int d = 0; d < 4; ++d)
            for (int f = 0; f < 30; ++f)
                folder.writeFile(QStringLiteral("System/RAzar/Items/d%1/f%2.QVI").arg(d).arg(f),
                                 QByteArray("new\r\n\x80") + QByteArray::number(f));
        folder.writeFile("System/RAzar/sys/0.dat", QByteArray(70000, '\x81'));
        folder.writeFile("System/RAzar/Items/.a.QVI.~1f2e", "a save going on");
        folder.makeFolder("System/RAzar/Forms");
        folder.writeFile("share/QVNET/RAzar/Items/d0/f0.QVI", "the host's old f0");
        folder.writeFile("share/QVNET/RAzar/Items/host only.QVI", "kept");
        folder.writeFile("share/QVNET/RAzar/Contacts/c.QVC", "kept too");
    }
};

} // namespace

TEST(StagedTreeCopy, ReplacesFilesOfTheSameNameKeepsTheOthersAndLeavesNothingBeside)
{
    Trees t;
    const QString replaced = t.destination + QStringLiteral("/Items/d0/f0.QVI");
    ::chmod(QFile::encodeName(replaced).constData(), 0640);
    const platform::FileResult result = StagedTreeCopy::copy(t.source, t.destination);
    ASSERT_TRUE(result) << result.error.toStdString();

    std::map<QString, QByteArray> expected = treeOf(t.source);
    expected.erase(QStringLiteral("Items/.a.QVI.~1f2e"));
    expected[QStringLiteral("Items/host only.QVI")] = "kept";
    expected[QStringLiteral("Contacts")] = "/";
    expected[QStringLiteral("Contacts/c.QVC")] = "kept too";
    EXPECT_EQ(treeOf(t.destination), expected);
    EXPECT_EQ(QFile::permissions(replaced) & 0x7777, QFileDevice::ReadOwner | QFileDevice::WriteOwner
                                                        | QFileDevice::ReadUser | QFileDevice::WriteUser
                                                        | QFileDevice::ReadGroup);
    EXPECT_EQ(QDir(t.host).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{QStringLiteral("RAzar")});

    // Again over its own copy, and into a destination that is not there yet.
    ASSERT_TRUE(StagedTreeCopy::copy(t.source, t.destination));
    EXPECT_EQ(treeOf(t.destination), expected);
    ASSERT_TRUE(StagedTreeCopy::copy(t.source, t.folder.filePath("other/RAzar")));
    expected.erase(QStringLiteral("Items/host only.QVI"));
    expected.erase(QStringLiteral("Contacts"));
    expected.erase(QStringLiteral("Contacts/c.QVC"));
    EXPECT_EQ(treeOf(t.folder.filePath("other/RAzar")), expected);
}

// A failure half way leaves the host's tree exactly as it was: not
// one file of the copy in it, and no staging folder beside it.
TEST(StagedTreeCopy, AFailureHalfWayLeavesTheDestinationAsItWas)
{
    Trees t;
    t.folder.writeFile("share/QVNET/RAzar/zz", "a file where the copy has a folder");
    t.folder.writeFile("System/RAzar/zz/inside.QVC", "comes last");
    const std::map<QString, QByteArray> before = treeOf(t.destination);
    const platform::FileResult result = datafiles::CopyFolderTree(t.source, t.destination, true);
    EXPECT_FALSE(result);
    EXPECT_TRUE(result.error.contains(t.destination + QStringLiteral("/zz"))) << result.error.toStdString();
    EXPECT_EQ(treeOf(t.destination), before);
    EXPECT_EQ(stagingFolders(t.host), QStringList());
}

// A copy killed in the middle leaves the host's tree as it was and only a staging folder
// beside it; a later copy takes that away once it is surely dead, and copies in full.
TEST(StagedTreeCopy, ACopyKilledHalfWayLeavesTheDestinationAsItWas)
{
    Trees t;
    const std::map<QString, QByteArray> before = treeOf(t.destination);
    int pipe[2];
    ASSERT_EQ(::pipe(pipe), 0);
    const pid_t child = ::fork();
    if (child == 0) {
        int copied = 0;
        (void)datafiles::CopyFolderTree(t.source, t.destination, true, [&] {
            if (++copied == 40) {
                (void)!::write(pipe[1], "!", 1);
                for (;;)
                    ::pause(); // held half way until killed
            }
        });
        ::_exit(0);
    }
    ::close(pipe[1]);
    char seen = 0;
    ASSERT_EQ(::read(pipe[0], &seen, 1), 1) << "the child never came half way";
    ::close(pipe[0]);
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status));

    EXPECT_EQ(treeOf(t.destination), before);
    const QStringList left = stagingFolders(t.host);
    ASSERT_EQ(left.size(), 1);

    // A staging folder that may still be written stays; a dead one goes.
    ASSERT_TRUE(StagedTreeCopy::copy(t.source, t.destination));
    EXPECT_EQ(stagingFolders(t.host), left);
    makeOld(t.host + QLatin1Char('/') + left.first());
    ASSERT_TRUE(StagedTreeCopy::copy(t.source, t.destination));
    EXPECT_EQ(stagingFolders(t.host), QStringList());
    EXPECT_EQ(treeOf(t.destination).at(QStringLiteral("Items/d3/f29.QVI")), QByteArray("new\r\n\x80") + "29");
    EXPECT_EQ(treeOf(t.destination).at(QStringLiteral("Items/host only.QVI")), QByteArray("kept"));
}

// Run as another process by the test below: it works in the shared tree as another computer
// does while a copy runs there. A document the copy also brings is saved anew, another is
// written in place, a new one is saved, in a new folder too, one edit lock is taken and
// another let go.
TEST(TreeCopyWriterHelper, WritesIntoTheSharedTree)
{
    const QString tree = qEnvironmentVariable("QUORVANE_SHARED_TREE");
    if (tree.isEmpty())
        GTEST_SKIP() << "only run as the child of the test below";
    ASSERT_TRUE(platform::writeFileAtomically(tree + "/Items/d0/f0.QVI", "saved anew by another"));
    QFile inPlace(tree + "/Items/d0/f1.QVI");
    ASSERT_TRUE(inPlace.open(QIODevice::Append));
    ASSERT_EQ(inPlace.write(" and more"), 9);
    inPlace.close();
    ASSERT_TRUE(platform::writeFileAtomically(tree + "/Items/Oak.QVI", "new by another"));
    ASSERT_TRUE(QDir().mkpath(tree + "/Items/2026"));
    ASSERT_TRUE(platform::writeFileAtomically(tree + "/Items/2026/Birch.QVI", "in a new folder"));
    ASSERT_TRUE(platform::createExclusive(tree + "/Items/host only.QVI.tmp", "OTHER"));
    ASSERT_TRUE(QFile::remove(tree + "/Contacts/c.QVC.tmp"));
}

namespace {

class WrittenDuringTheCopy : public ::testing::TestWithParam<TreeCopyStep> {
protected:
    ~WrittenDuringTheCopy() override { datafiles::setTreeCopyStepHook({}); }
};

// A step as the test's name says it.
const char* stepText(TreeCopyStep step)
{
    switch (step) {
    case TreeCopyStep::DestinationLinked:
        return "AfterTheSharedFilesAreLinked";
    case TreeCopyStep::SourceCopied:
        return "AfterTheCopy";
    case TreeCopyStep::ChangesKept:
        return "RightBeforeTheExchange";
    case TreeCopyStep::ExchangeNext:
        return "AfterTheLastCheck";
    case TreeCopyStep::Exchanged:
        return "AfterTheExchange";
    }
    return "Unknown";
}

std::string stepName(const ::testing::TestParamInfo<TreeCopyStep>& info)
{
    return stepText(info.param);
}

} // namespace

namespace datafiles {
// gtest names a step by its text, not by its bytes.
void PrintTo(TreeCopyStep step, std::ostream* os)
{
    *os << stepText(step);
}
} // namespace datafiles

// What another process writes into the shared tree at any moment of the copy is there after
// it, as that process left it; the copy brings the rest.
TEST_P(WrittenDuringTheCopy, IsThereAfterTheCopyAsItWasWritten)
{
    Trees t;
    t.folder.writeFile("share/QVNET/RAzar/Items/d0/f1.QVI", "the host's old f1");
    t.folder.writeFile("share/QVNET/RAzar/Contacts/c.QVC.tmp", "ANA");
    std::map<QString, QByteArray> expected = treeOf(t.source);
    expected.erase(QStringLiteral("Items/.a.QVI.~1f2e"));
    expected[QStringLiteral("Items/host only.QVI")] = "kept";
    expected[QStringLiteral("Contacts")] = "/";
    expected[QStringLiteral("Contacts/c.QVC")] = "kept too";
    expected[QStringLiteral("Items/d0/f0.QVI")] = "saved anew by another";
    expected[QStringLiteral("Items/d0/f1.QVI")] = "the host's old f1 and more";
    expected[QStringLiteral("Items/Oak.QVI")] = "new by another";
    expected[QStringLiteral("Items/2026")] = "/";
    expected[QStringLiteral("Items/2026/Birch.QVI")] = "in a new folder";
    expected[QStringLiteral("Items/host only.QVI.tmp")] = "OTHER";

    QProcess other;
    bool wrote = false;
    std::map<QString, QByteArray> takingItsPlace;
    datafiles::setTreeCopyStepHook([&](TreeCopyStep step) {
        if (step == TreeCopyStep::Exchanged)
            takingItsPlace = treeOf(t.destination);
        if (step != GetParam())
            return;
        testsupport::startHelper(other, QStringLiteral("TreeCopyWriterHelper.WritesIntoTheSharedTree"),
                                 {{"QUORVANE_SHARED_TREE", t.destination}});
        wrote = testsupport::helperPassed(other);
    });
    const platform::FileResult result = datafiles::CopyFolderTree(t.source, t.destination, true);
    ASSERT_TRUE(wrote) << other.readAll().toStdString();
    ASSERT_TRUE(result) << result.error.toStdString();
    EXPECT_EQ(treeOf(t.destination), expected);
    EXPECT_EQ(stagingFolders(t.host), QStringList());
    // What was written before the copy's last look at the tree is there the moment the copy
    // takes the tree's place, not only a little later.
    if (GetParam() != TreeCopyStep::ChangesKept) {
        EXPECT_EQ(takingItsPlace, expected);
    }
}

INSTANTIATE_TEST_SUITE_P(StagedTreeCopy, WrittenDuringTheCopy,
                         ::testing::Values(TreeCopyStep::DestinationLinked, TreeCopyStep::SourceCopied,
                                           TreeCopyStep::ChangesKept),
                         stepName);

// Run under strace by the test below: one copy over an existing tree.
TEST(TreeCopyStraceHelper, CopiesOnce)
{
    const QString source = qEnvironmentVariable("QUORVANE_COPY_SOURCE");
    if (source.isEmpty())
        GTEST_SKIP() << "only run as the child of the test below";
    const platform::FileResult result =
        datafiles::CopyFolderTree(source, qEnvironmentVariable("QUORVANE_COPY_DESTINATION"), true);
    ASSERT_TRUE(result) << result.error.toStdString();
}

// A power cut must find the shared tree either as it was or with the whole copy, and a
// user must never find it missing: every copied byte is made durable (in one flush of the
// file system) before the copy takes the tree's place, and it takes that place by exchanging
// the two folders in one rename, never by removing the old tree first.
TEST(StagedTreeCopy, TheCopyIsMadeDurableThenExchangedWithTheTreeInOneRename)
{
    const QString strace = QStandardPaths::findExecutable(QStringLiteral("strace"));
    ASSERT_FALSE(strace.isEmpty()) << "strace is missing (scripts/setup.sh installs it)";
    Trees t;
    const QString log = t.folder.filePath("strace.log");
    QProcess child;
    testsupport::startHelper(child, QStringLiteral("TreeCopyStraceHelper.CopiesOnce"),
                             {{"QUORVANE_COPY_SOURCE", t.source}, {"QUORVANE_COPY_DESTINATION", t.destination}},
                             {strace, QStringLiteral("-f"), QStringLiteral("-qq"), QStringLiteral("-y"),
                              QStringLiteral("-e"),
                              QStringLiteral("trace=write,copy_file_range,fsync,fdatasync,syncfs,rename,renameat,"
                                             "renameat2,unlinkat,rmdir"),
                              QStringLiteral("-e"), QStringLiteral("signal=none"), QStringLiteral("-o"), log});
    ASSERT_TRUE(testsupport::helperPassed(child)) << child.readAll().toStdString();
    EXPECT_EQ(treeOf(t.destination).at(QStringLiteral("Items/d3/f29.QVI")), QByteArray("new\r\n\x80") + "29");

    QFile traced(log);
    ASSERT_TRUE(traced.open(QIODevice::ReadOnly));
    const std::vector<testsupport::TracedCall> calls = testsupport::tracedCalls(traced.readAll());
    SCOPED_TRACE("the copy's calls:\n" + testsupport::listed(calls));
    const QString staging = t.host + QStringLiteral("/.RAzar.~");
    const auto index = [&](const std::function<bool(const testsupport::TracedCall&)>& matches, bool last = false) {
        std::ptrdiff_t found = -1;
        for (std::size_t i = 0; i < calls.size(); ++i)
            if (matches(calls[i]) && (found < 0 || last))
                found = std::ptrdiff_t(i);
        return found;
    };

    const std::ptrdiff_t exchange = index([&](const testsupport::TracedCall& c) {
        return c.name == QLatin1String("renameat2") && c.arguments.contains(QLatin1String("RENAME_EXCHANGE"))
            && c.from.startsWith(staging) && c.path == t.destination;
    });
    ASSERT_GE(exchange, 0) << "the copy did not take the tree's place by exchanging the two folders";
    const std::ptrdiff_t flush = index([&](const testsupport::TracedCall& c) {
        return c.name == QLatin1String("syncfs") && c.path.startsWith(staging);
    });
    ASSERT_GE(flush, 0) << "the staging folder was never made durable";
    EXPECT_LT(flush, exchange) << "the copy took the tree's place before it was durable";
    const std::ptrdiff_t lastCopied = index(
        [&](const testsupport::TracedCall& c) {
            return (c.name == QLatin1String("copy_file_range") || c.name == QLatin1String("write"))
                && c.arguments.contains(staging);
        },
        true);
    ASSERT_GE(lastCopied, 0);
    EXPECT_LT(lastCopied, flush) << "bytes were copied after the flush";
    EXPECT_LT(index([&](const testsupport::TracedCall& c) {
                  return (c.name.startsWith(QLatin1String("rename")) && c.from == t.destination)
                      || ((c.name == QLatin1String("rmdir") || c.name == QLatin1String("unlinkat"))
                          && c.arguments.contains(QLatin1Char('"') + t.destination + QLatin1Char('"')));
              }),
              0)
        << "the shared tree was moved or removed";
    EXPECT_GT(index([&](const testsupport::TracedCall& c) { return testsupport::isFlush(c) && c.path == t.host; }, true),
              exchange)
        << "the exchange itself was not made durable";
}

// A file someone saved in the shared tree that is newer than this machine's and differs from
// it is listed, newest first. The copy keeps every such file, unless it was agreed to replace
// that file and the file is still as it was listed. A copy keeps the time of its source.
TEST(StagedTreeCopy, NewerSharedFilesAreListedAndReplacedOnlyWhenAgreedAsListed)
{
    testsupport::TempProgramFolder folder;
    const QString source = folder.filePath("local");
    const QString destination = folder.filePath("share/RAzar");
    struct Case {
        const char* name;
        qint64 sharedAge;   // seconds; the source's files are a day old
        const char* shared; // "" when the share has no such file
        const char* afterNo;  // what the share holds after a copy that keeps newer files
        const char* afterYes; // after one that replaces the listed ones
    };
    // Fir is saved again after the list is made, before the copy: no longer the file agreed on.
    const Case cases[] = {
        {"Oak.QVI", 60, "Oak saved by a user", "Oak saved by a user", "ours"},
        {"Yew.QVI", 30, "Yew saved by a user", "Yew saved by a user", "ours"},
        {"Fir.QVI", 90, "Fir saved by a user", "Fir saved again", "Fir saved again"},
        {"Elm.QVI", 60, "ours", "ours", "ours"},
        {"Ash.QVI", 2 * 24 * 3600, "Ash older than ours", "ours", "ours"},
        {"New.QVI", 0, "", "ours", "ours"},
    };
    const auto layOut = [&] {
        for (const Case& c : cases) {
            datafilestest::writeBytes(source + "/Items/" + c.name, "ours");
            datafilestest::ageFile(source + "/Items/" + c.name, 24 * 3600);
            QFile::remove(destination + "/Items/" + c.name);
            if (*c.shared) {
                datafilestest::writeBytes(destination + "/Items/" + c.name, c.shared);
                datafilestest::ageFile(destination + "/Items/" + c.name, c.sharedAge);
            }
        }
    };
    for (const bool agreed : {false, true}) {
        SCOPED_TRACE(agreed ? "replacing the listed files" : "keeping them");
        layOut();
        const std::vector<datafiles::NewerFile> newer = StagedTreeCopy::newerFiles(source, destination);
        QStringList listed;
        for (const datafiles::NewerFile& file : newer)
            listed << file.path;
        EXPECT_EQ(listed, (QStringList{"Items/Yew.QVI", "Items/Oak.QVI", "Items/Fir.QVI"}));
        ASSERT_FALSE(newer.empty());
        EXPECT_EQ(newer.front().modified, QFileInfo(destination + "/Items/Yew.QVI").lastModified());

        datafiles::TreeCopyOptions options;
        options.replacedNewer = agreed ? newer : std::vector<datafiles::NewerFile>{};
        datafilestest::writeBytes(destination + "/Items/Fir.QVI", "Fir saved again");
        ASSERT_TRUE(StagedTreeCopy::copy(source, destination, options));
        for (const Case& c : cases) {
            const QString path = destination + "/Items/" + c.name;
            const QByteArray expected = agreed ? c.afterYes : c.afterNo;
            EXPECT_EQ(datafilestest::contentOf(path), expected) << c.name;
            if (expected == "ours" && QByteArray(c.shared) != "ours") {
                EXPECT_EQ(QFileInfo(path).lastModified(), QFileInfo(source + "/Items/" + c.name).lastModified())
                    << c.name;
            }
        }
    }
}
