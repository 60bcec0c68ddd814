#include "platform/safefile.h"

#include "platform/confinedfolder.h"

#include "platform/systeminfo.h"

#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QRandomGenerator>
#include <QStringList>
#include <QStringView>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

QString reason(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

FileResult failure(const QString& what, const QString& path, int error)
{
    return {false, QStringLiteral("The file \"%1\" could not be %2: %3.")
                       .arg(path, what, reason(error))};
}

FileResult success()
{
    return {true, QString()};
}


// Where the bytes of a path really go: the target of a symbolic link, so that saving
// through a link keeps the link.
// Opens a new temporary file beside the target, named after it; `mark` goes before the
// random digits.
int openTemporaryBeside(const QString& target, QByteArray& tempName, const char* mark = "", unsigned mode = 0666)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        // Hidden and unlike any document or lock name, should a crash leave it behind.
        const QFileInfo info(target);
        tempName = QFile::encodeName(info.absolutePath() + QStringLiteral("/.") + info.fileName()) + ".~" + mark
            + QByteArray::number(QRandomGenerator::global()->generate(), 16);
        const int fd = ::open(tempName.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    errno = EEXIST;
    return -1;
}

void syncFolderOf(const QByteArray& fileName)
{
    const QByteArray folder = QFile::encodeName(QFileInfo(QFile::decodeName(fileName)).absolutePath());
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// Writes the bytes, flushes them to the disk and closes the file; the error, 0 when none.
int writeFlushAndClose(int fd, const QByteArray& bytes)
{
    int error = 0;
    if (!writeAll(fd, bytes) || ::fsync(fd) != 0)
        error = errno;
    if (::close(fd) != 0 && error == 0)
        error = errno;
    return error;
}

// The 1 to 8 lower-case hexadecimal digits that end a temporary file's name.
bool isTemporaryTail(QStringView tail)
{
    if (tail.isEmpty() || tail.size() > 8)
        return false;
    for (const QChar c : tail)
        if (!((c >= QLatin1Char('0') && c <= QLatin1Char('9')) || (c >= QLatin1Char('a') && c <= QLatin1Char('f'))))
            return false;
    return true;
}

// A regular file whose last change is at least maxAge seconds old (a time in the future,
// from a clock ahead of ours, is not).
bool isStale(const QByteArray& fileName, qint64 maxAge, std::time_t now)
{
    struct stat info {};
    if (::lstat(fileName.constData(), &info) != 0 || !S_ISREG(info.st_mode))
        return false;
    return qint64(info.st_mtime) <= qint64(now) - maxAge;
}

// Removes those of the named temporary files in the folder that are stale.
int removeStale(const QString& folder, const QStringList& names)
{
    if (names.isEmpty())
        return 0;
    const qint64 maxAge = staleTemporaryFileAge(folder);
    const std::time_t now = std::time(nullptr);
    int removed = 0;
    for (const QString& name : names) {
        const QByteArray file = QFile::encodeName(folder + QLatin1Char('/') + name);
        if (isStale(file, maxAge, now) && ::unlink(file.constData()) == 0)
            ++removed;
    }
    return removed;
}

// The entries of a folder, without "." and "..", each with whether it is a folder (a
// symbolic link never is).
struct Entry {
    QString name;
    bool folder = false;
};

QList<Entry> entriesOf(const QString& folder)
{
    QList<Entry> entries;
    const QByteArray path = QFile::encodeName(folder);
    DIR* listing = ::opendir(path.constData());
    if (!listing)
        return entries;
    while (const dirent* entry = ::readdir(listing)) {
        const QByteArray name(entry->d_name);
        if (name == "." || name == "..")
            continue;
        bool isFolder = entry->d_type == DT_DIR;
        if (entry->d_type == DT_UNKNOWN) {
            struct stat info {};
            isFolder = ::lstat((path + '/' + name).constData(), &info) == 0 && S_ISDIR(info.st_mode);
        }
        entries.append({QFile::decodeName(name), isFolder});
    }
    ::closedir(listing);
    return entries;
}

// Hard links are not made on this file system at all (as opposed to refused for this name).
bool hardLinksUnsupported(int error)
{
    return error == EPERM || error == EOPNOTSUPP || error == ENOSYS;
}

// The link may have been made although the call reports a failure: a network file system
// that lost the server's first answer reports the retried call's "exists". The temporary
// file's link count tells.
bool linkWasMade(const QByteArray& tempName)
{
    struct stat info {};
    return ::stat(tempName.constData(), &info) == 0 && info.st_nlink == 2;
}

// Where hard links cannot be made: the file is created exclusively and written at once.
FileResult createInPlace(const QString& path, const QByteArray& bytes, unsigned mode)
{
    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    if (fd < 0)
        return failure(QStringLiteral("created"), path, errno);
    if (const int error = writeFlushAndClose(fd, bytes); error != 0) {
        ::unlink(name.constData()); // a half-written file must not stand as a taken lock
        return failure(QStringLiteral("written"), path, error);
    }
    return success();
}

} // namespace

bool writeAll(int fd, const QByteArray& bytes)
{
    const char* p = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, size_t(left));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        p += n;
        left -= n;
    }
    return true;
}


QString resolvedTarget(const QString& path)
{
    const QFileInfo info(path);
    if (info.isSymLink()) {
        const QString target = info.canonicalFilePath();
        if (!target.isEmpty())
            return target;
    }
    return path;
}

FileResult writeFileAtomically(const QString& path, const QByteArray& bytes, StaleTemporaries stale)
{
    const QString target = resolvedTarget(path);
    const QByteArray targetName = QFile::encodeName(target);
    if (::access(targetName.constData(), F_OK) == 0 && ::access(targetName.constData(), W_OK) != 0)
        return failure(QStringLiteral("written"), path, errno); // a read-only file stays as it is
    if (stale == StaleTemporaries::Remove)
        removeStaleTemporaryFiles(target);
    QByteArray tempName;
    const int fd = openTemporaryBeside(target, tempName);
    if (fd < 0)
        return failure(QStringLiteral("written"), path, errno);

    struct stat old {};
    if (::stat(targetName.constData(), &old) == 0)
        ::fchmod(fd, old.st_mode & 07777); // keep the file's permissions

    int error = writeFlushAndClose(fd, bytes);
    if (error == 0 && ::rename(tempName.constData(), targetName.constData()) != 0)
        error = errno;
    if (error != 0) {
        ::unlink(tempName.constData());
        return failure(QStringLiteral("written"), path, error);
    }
    syncFolderOf(targetName);
    return success();
}

FileResult createExclusive(const QString& path, const QByteArray& bytes, const ExclusiveCreation& how)
{
    const QByteArray name = QFile::encodeName(path);
    removeStaleTemporaryFiles(path);
    QByteArray tempName;
    const int fd = openTemporaryBeside(path, tempName, "", how.mode);
    if (fd < 0)
        return failure(QStringLiteral("created"), path, errno);
    if (const int error = writeFlushAndClose(fd, bytes); error != 0) {
        ::unlink(tempName.constData());
        return failure(QStringLiteral("written"), path, error);
    }
    if (how.beforeLink) {
        if (FileResult allowed = how.beforeLink(); !allowed) {
            ::unlink(tempName.constData());
            return allowed;
        }
    }
    const int error = ::link(tempName.constData(), name.constData()) == 0 ? 0 : errno;
    const bool linked = error == 0 || linkWasMade(tempName);
    ::unlink(tempName.constData());
    if (linked)
        return success();
    if (hardLinksUnsupported(error))
        return createInPlace(path, bytes, how.mode);
    return failure(QStringLiteral("created"), path, error);
}

namespace {

// The new content of a file, written and flushed beside it under a temporary name of the
// kind given, with the file's permissions.
FileResult writeBeside(const QString& path, const QByteArray& bytes, QString& replacement, const char* kind)
{
    const QString target = resolvedTarget(path);
    const QByteArray targetName = QFile::encodeName(target);
    if (::access(targetName.constData(), F_OK) == 0 && ::access(targetName.constData(), W_OK) != 0)
        return failure(QStringLiteral("written"), path, errno);
    QByteArray tempName;
    const int fd = openTemporaryBeside(target, tempName, kind);
    if (fd < 0)
        return failure(QStringLiteral("written"), path, errno);
    struct stat old {};
    if (::stat(targetName.constData(), &old) == 0)
        ::fchmod(fd, old.st_mode & 07777);
    if (const int error = writeFlushAndClose(fd, bytes); error != 0) {
        ::unlink(tempName.constData());
        return failure(QStringLiteral("written"), path, error);
    }
    replacement = QFile::decodeName(tempName);
    return success();
}

} // namespace

FileResult writeReplacement(const QString& path, const QByteArray& bytes, QString& replacement)
{
    return writeBeside(path, bytes, replacement, "p");
}

FileResult writeFencedReplacement(const QString& path, const QByteArray& bytes, QString& replacement)
{
    return writeBeside(path, bytes, replacement, "l");
}

bool isFencedFileName(const QString& fileName)
{
    const qsizetype mark = fileName.lastIndexOf(QLatin1String(".~l"));
    return fileName.startsWith(QLatin1Char('.')) && mark > 1
        && isTemporaryTail(QStringView(fileName).mid(mark + 3));
}

Taken takeIfStill(const QString& path, const QString& aside, const std::function<bool(const QString& aside)>& isTheOne,
                  QString* error)
{
    const QByteArray name = QFile::encodeName(path);
    const QByteArray asideName = QFile::encodeName(aside);
    if (::rename(name.constData(), asideName.constData()) != 0) {
        if (errno == ENOENT)
            return Taken::Missing;
        if (error)
            *error = QStringLiteral("The file \"%1\" could not be removed: %2.").arg(path, reason(errno));
        return Taken::Failed;
    }
    if (isTheOne(aside))
        return Taken::Taken;
    if (::link(asideName.constData(), name.constData()) != 0 && !linkWasMade(asideName))
        return Taken::LeftAside;
    ::unlink(asideName.constData());
    return Taken::PutBack;
}

FileResult replaceWith(const QString& replacement, const QString& path, bool flushFolder)
{
    const QByteArray targetName = QFile::encodeName(resolvedTarget(path));
    if (::rename(QFile::encodeName(replacement).constData(), targetName.constData()) != 0) {
        const int error = errno;
        FileResult failed = failure(QStringLiteral("written"), path, error);
        failed.missingSource = error == ENOENT && ::access(QFile::encodeName(replacement).constData(), F_OK) != 0;
        return failed;
    }
    if (flushFolder)
        syncFolderOf(targetName);
    return success();
}

void syncFolder(const QString& folder)
{
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

bool isReplacementFileName(const QString& fileName)
{
    const qsizetype mark = fileName.lastIndexOf(QLatin1String(".~p"));
    return fileName.startsWith(QLatin1Char('.')) && mark > 1
        && isTemporaryTail(QStringView(fileName).mid(mark + 3));
}

FileResult readWholeFile(const QString& path, QByteArray& bytes)
{
    FileResult confined;
    if (ConfinedReads::read(path, bytes, confined.ok, confined.error))
        return confined;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {false, QStringLiteral("The file \"%1\" could not be read: %2.").arg(path, file.errorString())};
    bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return {false, QStringLiteral("The file \"%1\" could not be read: %2.").arg(path, file.errorString())};
    return success();
}

bool isTemporaryFileName(const QString& fileName)
{
    const qsizetype mark = fileName.lastIndexOf(QLatin1String(".~"));
    return fileName.startsWith(QLatin1Char('.')) && mark > 1
        && isTemporaryTail(QStringView(fileName).mid(mark + 2));
}

bool isTemporaryFileOf(const QString& fileName, const QString& targetName)
{
    const QString start = QLatin1Char('.') + targetName + QLatin1String(".~");
    return !targetName.isEmpty() && fileName.startsWith(start)
        && isTemporaryTail(QStringView(fileName).mid(start.size()));
}

qint64 staleTemporaryFileAge(const QString& folder, const QString& mountsPath)
{
    constexpr qint64 Hour = 60 * 60;
    return isNetworkPath(folder, mountsPath) ? 24 * Hour : Hour;
}

int removeStaleTemporaryFiles(const QString& target)
{
    const QFileInfo info(resolvedTarget(target));
    const QString folder = info.absolutePath();
    QStringList names;
    for (const Entry& entry : entriesOf(folder))
        if (!entry.folder && isTemporaryFileOf(entry.name, info.fileName()))
            names << entry.name;
    return removeStale(folder, names);
}

namespace {

std::function<void(const QString&)>& staleRemovalHook()
{
    static std::function<void(const QString&)> hook;
    return hook;
}

// Removes the stale temporary files below an open folder. Every step starts from the handle
// of the folder it is in and follows no link: a folder of a share that another user turns
// into a link meanwhile is neither entered nor removed from, so nothing outside is removed.
int removeStaleBelow(int folder, const QString& path, qint64 maxAge, std::time_t now)
{
    const int listed = ::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    DIR* listing = listed >= 0 ? ::fdopendir(listed) : nullptr;
    if (!listing) {
        if (listed >= 0)
            ::close(listed);
        return 0;
    }
    QList<QByteArray> names;
    while (const dirent* entry = ::readdir(listing)) {
        const QByteArray name(entry->d_name);
        if (name != "." && name != "..")
            names.append(name);
    }
    ::closedir(listing);
    int removed = 0;
    for (const QByteArray& name : names) {
        const QString inside = path + QLatin1Char('/') + QFile::decodeName(name);
        // A folder is entered only as a folder: a link, whatever it leads to, is not.
        if (const int below = ::openat(folder, name.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
            below >= 0) {
            removed += removeStaleBelow(below, inside, maxAge, now);
            ::close(below);
            continue;
        }
        struct stat info {};
        if (::fstatat(folder, name.constData(), &info, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(info.st_mode)
            && isTemporaryFileName(QFile::decodeName(name)) && qint64(info.st_mtime) <= qint64(now) - maxAge) {
            if (staleRemovalHook())
                staleRemovalHook()(inside);
            if (::unlinkat(folder, name.constData(), 0) == 0)
                ++removed;
        }
    }
    return removed;
}

} // namespace

int removeStaleTemporaryFilesBelow(const QString& folder)
{
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return 0;
    const int removed = removeStaleBelow(fd, folder, staleTemporaryFileAge(folder), std::time(nullptr));
    ::close(fd);
    return removed;
}

void setStaleRemovalHook(std::function<void(const QString& path)> hook)
{
    staleRemovalHook() = std::move(hook);
}

} // namespace platform
