#include "platform/safefile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>
#include <unistd.h>

namespace {

QByteArray readBack(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

QStringList entries(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
}

// Makes every write beyond a few bytes fail with "file too large", as a full disk would.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &saved_);
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = saved_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, oldHandler_);
    }

private:
    rlimit saved_ {};
    void (*oldHandler_)(int) = nullptr;
};

} // namespace

TEST(SafeFile, WriteReplacesContentAndLeavesNoTemporaryFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("a.dat"));
    ASSERT_TRUE(platform::writeFileAtomically(path, QByteArray("first\r\n")));
    ASSERT_TRUE(platform::writeFileAtomically(path, QByteArray("second")));
    EXPECT_EQ(readBack(path), QByteArray("second"));
    EXPECT_EQ(entries(dir.path()), QStringList{QStringLiteral("a.dat")});
    QByteArray bytes;
    ASSERT_TRUE(platform::readWholeFile(path, bytes));
    EXPECT_EQ(bytes, QByteArray("second"));
}

TEST(SafeFile, FailureWhileWritingKeepsTheOldFileByteForByte)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("a.dat"));
    const QByteArray old("old\x80\r\ncontent", 14);
    ASSERT_TRUE(platform::writeFileAtomically(path, old));
    platform::FileResult result;
    {
        FileSizeLimit limit(4096);
        result = platform::writeFileAtomically(path, QByteArray(100000, 'x'));
    }
    EXPECT_FALSE(result);
    EXPECT_TRUE(result.error.contains(path)) << result.error.toStdString();
    EXPECT_EQ(readBack(path), old);
    EXPECT_EQ(entries(dir.path()), QStringList{QStringLiteral("a.dat")});
}

TEST(SafeFile, MissingFolderIsReportedWithTheFileName)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("no/such/a.dat"));
    const auto result = platform::writeFileAtomically(path, QByteArray("x"));
    EXPECT_FALSE(result);
    EXPECT_TRUE(result.error.contains(path));
    QByteArray bytes("kept");
    const auto read = platform::readWholeFile(path, bytes);
    EXPECT_FALSE(read);
    EXPECT_TRUE(read.error.contains(path));
}

TEST(SafeFile, CreateExclusiveRefusesAnExistingFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("doc.QVI.tmp"));
    ASSERT_TRUE(platform::createExclusive(path, QByteArray("MACHINE-A\r\n")));
    const auto second = platform::createExclusive(path, QByteArray("MACHINE-B\r\n"));
    EXPECT_FALSE(second);
    EXPECT_TRUE(second.error.contains(path));
    EXPECT_EQ(readBack(path), QByteArray("MACHINE-A\r\n"));
}

TEST(SafeFile, CreateExclusiveThatFailsHalfWayLeavesNoLock)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("lock.tmp"));
    platform::FileResult result;
    {
        FileSizeLimit limit(16);
        result = platform::createExclusive(path, QByteArray(1000, 'x'));
    }
    EXPECT_FALSE(result);
    EXPECT_FALSE(QFile::exists(path));
}

TEST(SafeFile, ReadOnlyFileIsNotReplaced)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "the administrator may write any file";
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("a.dat"));
    ASSERT_TRUE(platform::writeFileAtomically(path, QByteArray("old")));
    QFile::setPermissions(path, QFileDevice::ReadOwner);
    EXPECT_FALSE(platform::writeFileAtomically(path, QByteArray("new")));
    EXPECT_EQ(readBack(path), QByteArray("old"));
}
