#include "datafiles/fileprocedures.h"
#include "datafiles/stagedtreecopy.h"

#include "support/tempprogramfolder.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <csignal>
#include <ctime>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <map>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using datafiles::StagedTreeCopy;

namespace {

// Every file and folder below a folder with its bytes ("/" for a folder), by relative path.
std::map<QString, QByteArray> treeOf(const QString& root)
{
    std::map<QString, QByteArray> tree;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo entry(it.next());
        const QString relative = QDir(root).relativeFilePath(entry.filePath());
        if (entry.isDir()) {
            tree[relative] = "/";
        } else {
            QFile file(entry.filePath());
            tree[relative] = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("?");
        }
    }
    return tree;
}

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
