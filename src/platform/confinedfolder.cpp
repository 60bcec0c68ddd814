#include "platform/confinedfolder.h"

#include "platform/safefile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QRandomGenerator>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <limits>
#include <fcntl.h>
#include <linux/openat2.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace platform {

namespace {

std::atomic<bool> walkOnlyForTests{false};
// Set once the kernel has said it has no openat2 (it then has none for the whole run).
std::atomic<bool> noOpenat2{false};

int closeKeepingErrno(int fd)
{
    const int error = errno;
    ::close(fd);
    errno = error;
    return -1;
}

// The parts of a name below the folder, or nothing when it is empty, absolute or has an
// empty, "." or ".." part: such a name is never looked up at all.
QList<QByteArray> partsOf(const QString& relative)
{
    const QList<QByteArray> parts = QFile::encodeName(relative).split('/');
    for (const QByteArray& part : parts)
        if (part.isEmpty() || part == "." || part == "..")
            return {};
    return parts;
}

// What stands at the name in the folder is a symbolic link.
bool isLinkIn(int folder, const QByteArray& name)
{
    struct stat info {};
    return ::fstatat(folder, name.constData(), &info, AT_SYMLINK_NOFOLLOW) == 0 && S_ISLNK(info.st_mode);
}

// Opens the name below `root` one part at a time, with no link followed at any part: the way
// where the kernel has no openat2 (an older kernel; the fallback is the same on every file
// system). The file descriptor, or -1 with errno.
int walk(int root, const QList<QByteArray>& parts, int flags)
{
    int folder = root;
    for (qsizetype i = 0; i + 1 < parts.size(); ++i) {
        const int next = ::openat(folder, parts[i].constData(), O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (next < 0 && errno == ENOTDIR && isLinkIn(folder, parts[i]))
            errno = ELOOP;
        if (folder != root)
            closeKeepingErrno(folder);
        if (next < 0)
            return -1;
        folder = next;
    }
    const int fd = ::openat(folder, parts.last().constData(), flags | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0 && errno == ENOTDIR && isLinkIn(folder, parts.last()))
        errno = ELOOP;
    if (folder != root)
        closeKeepingErrno(folder);
    return fd;
}

int openBeneath(int root, const QList<QByteArray>& parts, int flags)
{
    if (!walkOnlyForTests && !noOpenat2) {
        open_how how {};
        how.flags = quint64(flags | O_CLOEXEC);
        how.resolve = RESOLVE_BENEATH | RESOLVE_NO_SYMLINKS | RESOLVE_NO_MAGICLINKS;
        const QByteArray name = parts.join('/');
        const long fd = ::syscall(SYS_openat2, root, name.constData(), &how, sizeof how);
        if (fd >= 0 || errno != ENOSYS)
            return int(fd);
        noOpenat2 = true;
    }
    return walk(root, parts, flags);
}

} // namespace

FileHandle& FileHandle::operator=(FileHandle&& other) noexcept
{
    if (this != &other) {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = other.m_fd;
        other.m_fd = -1;
    }
    return *this;
}

FileHandle::~FileHandle()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

ConfinedFolder::ConfinedFolder(const QString& root)
    : m_root(::open(QFile::encodeName(root).constData(), O_PATH | O_DIRECTORY | O_CLOEXEC))
{
    m_path = QDir::cleanPath(QFileInfo(root).absoluteFilePath());
    if (!m_path.endsWith(QLatin1Char('/')))
        m_path += QLatin1Char('/');
}

QString ConfinedFolder::relativeName(const QString& path) const
{
    const QString clean = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    return clean.startsWith(m_path) ? clean.mid(m_path.size()) : QString();
}

int ConfinedFolder::open(const QString& relative, int flags, FileHandle& file) const
{
    if (!isOpen())
        return ENOENT;
    const QList<QByteArray> parts = relative == QLatin1String(".") ? QList<QByteArray>{"."} : partsOf(relative);
    if (parts.isEmpty())
        return EXDEV;
    const int fd = openBeneath(m_root.fd(), parts, flags);
    if (fd < 0)
        return errno;
    file = FileHandle(fd);
    return 0;
}

int ConfinedFolder::openForReading(const QString& relative, FileHandle& file) const
{
    return open(relative, O_RDONLY, file);
}

int ConfinedFolder::readWhole(const QString& relative, qint64 limit, QByteArray& bytes) const
{
    FileHandle file;
    if (const int error = openForReading(relative, file); error != 0)
        return error;
    struct stat info {};
    if (::fstat(file.fd(), &info) != 0)
        return errno;
    if (info.st_size > limit)
        return EFBIG;
    // What it holds as it was measured: anything it grows by meanwhile is not read.
    QByteArray read(qsizetype(info.st_size), Qt::Uninitialized);
    qsizetype got = 0;
    while (got < read.size()) {
        const ssize_t n = ::read(file.fd(), read.data() + got, size_t(read.size() - got));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        if (n == 0)
            break;
        got += n;
    }
    read.truncate(got);
    bytes = read;
    return 0;
}

int ConfinedFolder::openParent(const QString& relative, FileHandle& folder, QByteArray& leaf) const
{
    const QList<QByteArray> parts = partsOf(relative);
    if (parts.isEmpty())
        return EXDEV;
    leaf = parts.last();
    const qsizetype cut = relative.lastIndexOf(QLatin1Char('/'));
    return open(cut < 0 ? QStringLiteral(".") : relative.left(cut), O_RDONLY | O_DIRECTORY, folder);
}

QString ConfinedFolder::failure(const QString& path, const QString& done, int error)
{
    switch (error) {
    case ELOOP:
        return QStringLiteral("The file \"%1\" could not be %2: it is a symbolic link, or one stands in its path, "
                              "and in a shared folder Quorvane follows none.").arg(path, done);
    case EXDEV:
        return QStringLiteral("The file \"%1\" could not be %2: it lies outside its folder.").arg(path, done);
    default:
        return QStringLiteral("The file \"%1\" could not be %2: %3.")
            .arg(path, done, QString::fromLocal8Bit(std::strerror(error)));
    }
}

void ConfinedFolder::setWalkOnly(bool walkOnly)
{
    walkOnlyForTests = walkOnly;
}

int statIn(int folder, const QByteArray& name, struct stat& info)
{
    return ::fstatat(folder, name.constData(), &info, AT_SYMLINK_NOFOLLOW) == 0 ? 0 : errno;
}

int writeReplacementIn(int folder, const QByteArray& name, const QByteArray& bytes, QByteArray& replacement,
                       bool fenced)
{
    struct stat old {};
    const int found = statIn(folder, name, old);
    if (found != 0 && found != ENOENT)
        return found;
    const bool exists = found == 0;
    if (exists) {
        if (S_ISLNK(old.st_mode))
            return ELOOP;
        if (!S_ISREG(old.st_mode))
            return S_ISDIR(old.st_mode) ? EISDIR : EINVAL;
        // A file that may not be written to stays as it is.
        if (::faccessat(folder, name.constData(), W_OK, 0) != 0)
            return errno;
    }
    int fd = -1;
    QByteArray temporary;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temporary = '.' + name + (fenced ? ".~l" : ".~p") + QByteArray::number(QRandomGenerator::global()->generate(), 16);
        fd = ::openat(folder, temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            return errno;
    }
    if (fd < 0)
        return EEXIST;
    if (exists)
        ::fchmod(fd, old.st_mode & 07777);
    int error = 0;
    if (!writeAll(fd, bytes) || ::fsync(fd) != 0)
        error = errno;
    if (::close(fd) != 0 && error == 0)
        error = errno;
    if (error != 0) {
        ::unlinkat(folder, temporary.constData(), 0);
        return error;
    }
    replacement = temporary;
    return 0;
}

int replaceIn(int folder, const QByteArray& from, const QByteArray& to)
{
    if (isLinkIn(folder, to))
        return ELOOP;
    return ::renameat(folder, from.constData(), folder, to.constData()) == 0 ? 0 : errno;
}

int removeIn(int folder, const QByteArray& name)
{
    return ::unlinkat(folder, name.constData(), 0) == 0 ? 0 : errno;
}

void syncFolderHandle(int folder)
{
    ::fsync(folder);
}

namespace {

thread_local ConfinedReads* innermostReads = nullptr;

} // namespace

ConfinedReads::ConfinedReads(const QString& folder) : m_folder(folder), m_outer(innermostReads)
{
    innermostReads = this;
}

ConfinedReads::~ConfinedReads()
{
    innermostReads = m_outer;
}

bool ConfinedReads::read(const QString& path, QByteArray& bytes, bool& ok, QString& error)
{
    if (!innermostReads)
        return false;
    const ConfinedFolder& folder = innermostReads->m_folder;
    const QString below = folder.relativeName(path);
    if (below.isEmpty())
        return false;
    const int read = folder.readWhole(below, std::numeric_limits<qint64>::max(), bytes);
    ok = read == 0;
    error = ok ? QString() : ConfinedFolder::failure(path, QStringLiteral("read"), read);
    return true;
}

} // namespace platform

