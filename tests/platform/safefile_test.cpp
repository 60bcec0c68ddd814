#include "platform/safefile.h"

#include <QDir>
#include <QFileInfo>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>
#include <ctime>
#include <fcntl.h>
#include <map>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

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

constexpr qint64 Minute = 60;
constexpr qint64 Hour = 60 * Minute;
constexpr qint64 Day = 24 * Hour;

// Writes a file whose last change lies the given number of seconds back.
QString fileAged(const QString& path, qint64 seconds)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write("half a save");
    file.close();
    const timespec when {std::time(nullptr) - seconds, 0};
    const timespec times[2] = {when, when};
    ::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0);
    return path;
}

// Runs the function in a child process and returns its wait status.
template <typename Function>
int inChild(Function function)
{
    const pid_t pid = ::fork();
    if (pid == 0) {
        function();
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return status;
}

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
    EXPECT_TRUE(entries(dir.path()).isEmpty()); // nor its temporary file
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

TEST(SafeFile, TemporaryFileNamesAreTold)
{
    const struct {
        const char* name;
        const char* target; // the target it belongs to; "" for none
    } cases[] = {
        {".0.dat.~1f2e3d4c", "0.dat"}, {".Firma na PC.QVNET.~a", "Firma na PC.QVNET"},
        {".doc.QVI.tmp.~ff", "doc.QVI.tmp"}, {".x.~ab.~12", "x.~ab"},
        {"0.dat.~1f2e", ""}, {".0.dat.~", ""}, {".0.dat.~123456789", ""}, {".0.dat.~ABC", ""},
        {".0.dat.~12x", ""}, {"..~12", ""}, {".0.dat", ""}, {"~$Book.xls", ""},
    };
    for (const auto& c : cases) {
        const QString name = QString::fromUtf8(c.name);
        const QString target = QString::fromUtf8(c.target);
        EXPECT_EQ(platform::isTemporaryFileName(name), !target.isEmpty()) << c.name;
        if (!target.isEmpty()) {
            EXPECT_TRUE(platform::isTemporaryFileOf(name, target)) << c.name;
            EXPECT_FALSE(platform::isTemporaryFileOf(name, target + "x")) << c.name;
        }
    }
}

// A save killed before its rename leaves its temporary file; the next write of the same
// target removes those that are surely dead, and only those of its own kind and target.
TEST(SafeFile, AWriteRemovesTheDeadTemporaryFilesOfItsTarget)
{
    QTemporaryDir dir;
    const QString target = dir.filePath("a.dat");
    const struct {
        const char* name;
        qint64 age;
        bool removed;
    } cases[] = {
        {".a.dat.~1f2e3d4c", 2 * Day, true},
        {".a.dat.~ab", 2 * Hour, true},
        {".a.dat.~cd", Minute, false},     // may be a save going on now
        {".a.dat.~ef", -Hour, false},      // from a clock ahead of ours
        {".b.dat.~1234", 2 * Day, false},  // another target's: its own write removes it
        {".a.dat.~xyz", 2 * Day, false},   // not a temporary file of ours
        {"a.dat.~1234", 2 * Day, false},
        {".a.dat.old", 2 * Day, false},
    };
    for (const auto& c : cases)
        fileAged(dir.filePath(c.name), c.age);
    QDir().mkdir(dir.filePath(".a.dat.~99")); // a folder is never one

    // A bulk copy's writes leave them to the next write of their own.
    ASSERT_TRUE(platform::writeFileAtomically(target, "copied", platform::StaleTemporaries::Keep));
    EXPECT_TRUE(QFile::exists(dir.filePath(cases[0].name)));

    ASSERT_TRUE(platform::writeFileAtomically(target, "new"));
    EXPECT_EQ(readBack(target), "new");
    for (const auto& c : cases)
        EXPECT_EQ(QFile::exists(dir.filePath(c.name)), !c.removed) << c.name;
    EXPECT_TRUE(QFileInfo(dir.filePath(".a.dat.~99")).isDir());
}

// Through a symbolic link the bytes go to the link's target, and so does the clean-up.
TEST(SafeFile, AWriteThroughALinkCleansBesideTheLinkedFile)
{
    QTemporaryDir dir;
    QDir().mkdir(dir.filePath("real"));
    const QString real = dir.filePath("real/a.dat");
    ASSERT_TRUE(platform::writeFileAtomically(real, "old"));
    QFile::link(real, dir.filePath("a.dat"));
    const QString leftover = fileAged(dir.filePath("real/.a.dat.~1"), 2 * Day);
    ASSERT_TRUE(platform::writeFileAtomically(dir.filePath("a.dat"), "new"));
    EXPECT_EQ(readBack(real), "new");
    EXPECT_TRUE(QFileInfo(dir.filePath("a.dat")).isSymLink());
    EXPECT_FALSE(QFile::exists(leftover));
}

TEST(SafeFile, TemporaryFilesOnANetworkShareAreGivenADay)
{
    QTemporaryDir dir;
    const QString folder = QFileInfo(dir.path()).canonicalFilePath();
    const QString mounts = dir.filePath("mounts");
    QFile file(mounts);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("/dev/vda1 / ext4 rw 0 0\n");
    file.write("//srv/office " + QFile::encodeName(folder) + "/share cifs rw 0 0\n");
    file.close();
    EXPECT_EQ(platform::staleTemporaryFileAge(folder, mounts), Hour);
    EXPECT_EQ(platform::staleTemporaryFileAge(folder + "/share/QVNET/RAzar/Items", mounts), Day);
}

TEST(SafeFile, ASweepBelowAFolderReachesEveryDepthButNoLinkedFolder)
{
    QTemporaryDir dir;
    QTemporaryDir outside;
    const QString root = dir.filePath("root");
    const QString deep = fileAged(root + "/x/y/.g.QVI.~ff", 2 * Day);
    const QString shallow = fileAged(root + "/.0.dat.~1", 2 * Hour);
    const QString fresh = fileAged(root + "/x/.0.dat.~2", Minute);
    const QString document = fileAged(root + "/x/g.QVI", 2 * Day);
    const QString linked = fileAged(outside.filePath(".h.QVI.~3"), 2 * Day);
    QFile::link(outside.path(), root + "/link");

    EXPECT_EQ(platform::removeStaleTemporaryFilesBelow(root), 2);
    EXPECT_FALSE(QFile::exists(deep));
    EXPECT_FALSE(QFile::exists(shallow));
    EXPECT_TRUE(QFile::exists(fresh));
    EXPECT_TRUE(QFile::exists(document));
    EXPECT_TRUE(QFile::exists(linked));
    EXPECT_EQ(platform::removeStaleTemporaryFilesBelow(dir.filePath("missing")), 0);
}

// A lock taker that dies while writing its holder's name (here killed by the file size
// limit at its first write) leaves no lock behind: the lock appears only whole.
TEST(SafeFile, ALockTakerKilledWhileWritingLeavesNoLock)
{
    QTemporaryDir dir;
    const QString lock = dir.filePath("doc.QVI.tmp");
    const int status = inChild([&] {
        std::signal(SIGXFSZ, SIG_DFL);
        const rlimit noCore {0, 0};
        ::setrlimit(RLIMIT_CORE, &noCore);
        rlimit size {};
        ::getrlimit(RLIMIT_FSIZE, &size);
        size.rlim_cur = 0;
        ::setrlimit(RLIMIT_FSIZE, &size);
        (void)platform::createExclusive(lock, "MACHINE-A");
    });
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGXFSZ) << status;
    EXPECT_FALSE(QFile::exists(lock));
    // What the dead taker left is a temporary file, gone once it is surely dead.
    const QStringList left = entries(dir.path());
    ASSERT_EQ(left.size(), 1);
    EXPECT_TRUE(platform::isTemporaryFileOf(left.front(), "doc.QVI.tmp"));
    fileAged(dir.filePath(left.front()), 2 * Day);
    ASSERT_TRUE(platform::createExclusive(lock, "MACHINE-B"));
    EXPECT_EQ(readBack(lock), "MACHINE-B");
    EXPECT_EQ(entries(dir.path()), QStringList{"doc.QVI.tmp"});
}

// Several processes race for the same locks, round after round. Whatever the order, each
// lock has exactly one taker, and every loser that reads the lock at once finds the whole
// name of its holder, never an empty or partial one.
TEST(SafeFile, RacingLockTakersNeverSeeALockWithoutItsHolder)
{
    constexpr int Takers = 8;
    constexpr int Rounds = 500;
    QTemporaryDir dir;
    const auto holder = [](int taker) { return "MACHINE-" + QByteArray::number(taker) + "\r\n"; };
    const auto lockOf = [&](int round) { return dir.filePath(QStringLiteral("doc%1.QVI.tmp").arg(round)); };
    struct Outcome {
        int taker;
        int round;
        char seen; // 'T' taken, 'H' a holder's whole name read, 'E' anything else read
    };
    int start[2];
    int results[2];
    ASSERT_EQ(::pipe(start), 0);
    ASSERT_EQ(::pipe(results), 0);

    std::vector<pid_t> children;
    for (int t = 0; t < Takers; ++t) {
        const pid_t pid = ::fork();
        if (pid == 0) {
            ::close(start[1]);
            ::close(results[0]);
            char go;
            (void)!::read(start[0], &go, 1); // all start when the parent closes the pipe
            for (int r = 0; r < Rounds; ++r) {
                Outcome outcome {t, r, 'T'};
                if (!platform::createExclusive(lockOf(r), holder(t))) {
                    QByteArray seen;
                    (void)platform::readWholeFile(lockOf(r), seen);
                    outcome.seen = 'E';
                    for (int other = 0; other < Takers; ++other)
                        if (seen == holder(other))
                            outcome.seen = 'H';
                }
                (void)!::write(results[1], &outcome, sizeof outcome);
            }
            ::_exit(0);
        }
        children.push_back(pid);
    }
    ::close(start[0]);
    ::close(results[1]);
    ::close(start[1]);

    std::map<int, std::vector<int>> takers; // round -> who took its lock
    int losers = 0;
    int emptyOrPartial = 0;
    Outcome outcome {};
    while (::read(results[0], &outcome, sizeof outcome) == ssize_t(sizeof outcome)) {
        if (outcome.seen == 'T')
            takers[outcome.round].push_back(outcome.taker);
        else
            ++losers;
        emptyOrPartial += outcome.seen == 'E';
    }
    ::close(results[0]);
    for (const pid_t pid : children) {
        int status = 0;
        ::waitpid(pid, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }

    EXPECT_EQ(emptyOrPartial, 0);
    EXPECT_EQ(losers, (Takers - 1) * Rounds);
    ASSERT_EQ(int(takers.size()), Rounds);
    for (const auto& [round, who] : takers) {
        ASSERT_EQ(who.size(), 1u) << "round " << round;
        EXPECT_EQ(readBack(lockOf(round)), holder(who.front()));
    }
    EXPECT_EQ(entries(dir.path()).size(), size_t(Rounds)); // the locks, no temporary file
}
