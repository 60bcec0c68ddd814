#include "platform/confinedfolder.h"
#include "platform/safefile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>

using platform::ConfinedFolder;
using platform::FileHandle;

namespace {

QByteArray readBack(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

void write(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

std::string nameOf(int error)
{
    return error == 0 ? "0" : std::strerror(error);
}

// A share with files, folders and links of every kind, and a folder outside it. The same
// cases run with openat2 and with the walk part by part that kernels without it get.
class ConfinedFolderTest : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override
    {
        ConfinedFolder::setWalkOnly(GetParam());
        write(share + "a/b/file.txt", "inside");
        write(share + "top.txt", "top");
        write(outside + "secret.txt", "secret");
        ASSERT_TRUE(QFile::link(outside, share + "a/out"));                       // a folder outside
        ASSERT_TRUE(QFile::link(outside + "secret.txt", share + "a/b/secret.lnk")); // a file outside
        ASSERT_TRUE(QFile::link(share + "a/b", share + "a/inner"));                // a folder inside
        ASSERT_TRUE(QFile::link("file.txt", share + "a/b/same.lnk"));              // a file inside
    }
    void TearDown() override { ConfinedFolder::setWalkOnly(false); }

    QTemporaryDir dir;
    const QString share = dir.filePath("share") + "/";
    const QString outside = dir.filePath("outside") + "/";
};

TEST_P(ConfinedFolderTest, ReadsOnlyWhatLiesBelowItWithNoLinkOnTheWay)
{
    const ConfinedFolder folder(share);
    ASSERT_TRUE(folder.isOpen());
    const struct {
        const char* name;
        int error;
        QByteArray bytes;
    } cases[] = {
        {"a/b/file.txt", 0, "inside"},
        {"top.txt", 0, "top"},
        {"a/out/secret.txt", ELOOP, {}},
        {"a/b/secret.lnk", ELOOP, {}},
        {"a/inner/file.txt", ELOOP, {}},
        {"a/b/same.lnk", ELOOP, {}},
        {"a/../../outside/secret.txt", EXDEV, {}},
        {"a/b/../b/file.txt", EXDEV, {}},
        {"a//b/file.txt", EXDEV, {}},
        {"", EXDEV, {}},
        {"a/b/missing.txt", ENOENT, {}},
        {"a/missing/file.txt", ENOENT, {}},
        {"top.txt/file.txt", ENOTDIR, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QByteArray bytes;
        EXPECT_EQ(nameOf(folder.readWhole(QString::fromLatin1(c.name), 100, bytes)), nameOf(c.error));
        EXPECT_EQ(bytes, c.bytes);
        FileHandle file;
        EXPECT_EQ(nameOf(folder.openForReading(QString::fromLatin1(c.name), file)), nameOf(c.error));
        EXPECT_EQ(file.isOpen(), c.error == 0);
    }
    // An absolute path is no name below it, whatever it names.
    QByteArray bytes;
    EXPECT_EQ(nameOf(folder.readWhole(share + "top.txt", 100, bytes)), nameOf(EXDEV));
    EXPECT_EQ(folder.relativeName(share + "a/b/file.txt"), "a/b/file.txt");
    EXPECT_EQ(folder.relativeName(share + "a/../top.txt"), "top.txt");
    EXPECT_EQ(folder.relativeName(outside + "secret.txt"), "");
    EXPECT_EQ(folder.relativeName(dir.filePath("shared/x")), "");
}

TEST_P(ConfinedFolderTest, AFileLargerThanTheLimitIsNotRead)
{
    const ConfinedFolder folder(share);
    QByteArray bytes = "untouched";
    EXPECT_EQ(nameOf(folder.readWhole("a/b/file.txt", 5, bytes)), nameOf(EFBIG));
    EXPECT_EQ(bytes, "untouched");
    EXPECT_EQ(folder.readWhole("a/b/file.txt", 6, bytes), 0);
    EXPECT_EQ(bytes, "inside");
}

// A replacement is written beside its file and renamed over it through the folder's handle;
// a link at the name, or in the way to its folder, stops it and changes nothing.
TEST_P(ConfinedFolderTest, WritesAndRenamesOnlyWhereNoLinkStands)
{
    const ConfinedFolder folder(share);
    ::chmod(QFile::encodeName(share + "a/b/file.txt").constData(), 0640);
    const struct {
        const char* name;
        int parentError; // opening the folder that holds it
        int writeError;  // writing its replacement beside it
        int renameError; // renaming a replacement over it
    } cases[] = {
        {"a/b/file.txt", 0, 0, 0},
        {"a/b/new.txt", 0, 0, 0},
        {"top.txt", 0, 0, 0},
        {"a/out/secret.txt", ELOOP, 0, 0},
        {"a/inner/file.txt", ELOOP, 0, 0},
        {"a/b/secret.lnk", 0, ELOOP, ELOOP},
        {"a/b/same.lnk", 0, ELOOP, ELOOP},
        {"a/../../outside/secret.txt", EXDEV, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FileHandle parent;
        QByteArray leaf;
        ASSERT_EQ(nameOf(folder.openParent(QString::fromLatin1(c.name), parent, leaf)), nameOf(c.parentError));
        if (c.parentError != 0)
            continue;
        EXPECT_EQ(leaf, QFileInfo(QString::fromLatin1(c.name)).fileName().toUtf8());
        QByteArray replacement;
        EXPECT_EQ(nameOf(platform::writeReplacementIn(parent.fd(), leaf, "new bytes", replacement)),
                  nameOf(c.writeError));
        if (c.writeError == 0) {
            EXPECT_TRUE(platform::isReplacementFileName(QString::fromUtf8(replacement))) << replacement.toStdString();
            EXPECT_TRUE(replacement.startsWith('.' + leaf + ".~p"));
        } else {
            // One planted beside it, for the rename.
            replacement = '.' + leaf + ".~p1";
            write(share + QFileInfo(QString::fromLatin1(c.name)).path() + "/" + QString::fromUtf8(replacement),
                  "new bytes");
        }
        EXPECT_EQ(nameOf(platform::replaceIn(parent.fd(), replacement, leaf)), nameOf(c.renameError));
        if (c.renameError == 0)
            EXPECT_EQ(readBack(share + QString::fromLatin1(c.name)), "new bytes");
        else
            EXPECT_TRUE(QFileInfo(share + QString::fromLatin1(c.name)).isSymLink());
        platform::syncFolderHandle(parent.fd());
    }
    // The file replaced keeps its permissions; nothing outside changed.
    struct stat info {};
    ASSERT_EQ(::stat(QFile::encodeName(share + "a/b/file.txt").constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
    EXPECT_EQ(readBack(outside + "secret.txt"), "secret");
    EXPECT_EQ(QDir(outside).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{"secret.txt"});

    // A removal goes through the handle too.
    FileHandle parent;
    QByteArray leaf;
    ASSERT_EQ(folder.openParent("a/b/new.txt", parent, leaf), 0);
    EXPECT_EQ(platform::removeIn(parent.fd(), leaf), 0);
    EXPECT_FALSE(QFileInfo::exists(share + "a/b/new.txt"));
}

INSTANTIATE_TEST_SUITE_P(Ways, ConfinedFolderTest, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return std::string(info.param ? "PartByPart" : "Openat2");
                         });

} // namespace
