#include "shell/stagedtreecopy.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace shell {

namespace {

platform::FileResult failed(const QString& what, const QString& path, int error)
{
    return {false, QStringLiteral("The %1 \"%2\" could not be copied (%3).")
                       .arg(what, path, QString::fromLocal8Bit(std::strerror(error)))};
}

struct Entry {
    QByteArray name;
    bool folder = false;
};

// The entries of a folder, symbolic links and other non-folders told apart without following
// them. False when the folder cannot be read.
bool listFolder(const QByteArray& folder, std::vector<Entry>& entries)
{
    entries.clear();
    DIR* dir = ::opendir(folder.constData());
    if (!dir)
        return false;
    while (const dirent* e = ::readdir(dir)) {
        if (std::strcmp(e->d_name, ".") == 0 || std::strcmp(e->d_name, "..") == 0)
            continue;
        Entry entry{QByteArray(e->d_name), false};
        if (e->d_type == DT_DIR) {
            entry.folder = true;
        } else if (e->d_type == DT_UNKNOWN) {
            struct stat info {};
            entry.folder = ::lstat((folder + '/' + entry.name).constData(), &info) == 0 && S_ISDIR(info.st_mode);
        }
        entries.push_back(std::move(entry));
    }
    ::closedir(dir);
    return true;
}

bool isSymbolicLink(const QByteArray& path)
{
    struct stat info {};
    return ::lstat(path.constData(), &info) == 0 && S_ISLNK(info.st_mode);
}

// Copies the bytes of one open file into another: in the kernel where it can, else through
// a buffer. Returns 0 or the error.
int copyBytes(int from, int to)
{
    for (;;) {
        const ssize_t n = ::copy_file_range(from, nullptr, to, nullptr, 1 << 30, 0);
        if (n == 0)
            return 0;
        if (n > 0)
            continue;
        if (errno == EINTR)
            continue;
        if (errno != EXDEV && errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP && errno != EPERM)
            return errno;
        break; // not between these two files: copy through a buffer from where it stands
    }
    std::vector<char> buffer(1 << 20);
    for (;;) {
        const ssize_t n = ::read(from, buffer.data(), buffer.size());
        if (n == 0)
            return 0;
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        for (ssize_t done = 0; done < n;) {
            const ssize_t w = ::write(to, buffer.data() + done, size_t(n - done));
            if (w < 0) {
                if (errno == EINTR)
                    continue;
                return errno;
            }
            done += w;
        }
    }
}

// A new file `to` with the bytes of `from` and the given permissions. Returns 0 or the error.
int copyFile(const QByteArray& from, const QByteArray& to, mode_t mode)
{
    const int in = ::open(from.constData(), O_RDONLY | O_CLOEXEC);
    if (in < 0)
        return errno;
    const int out = ::open(to.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    if (out < 0) {
        const int error = errno;
        ::close(in);
        return error;
    }
    int error = copyBytes(in, out);
    ::close(in);
    if (::close(out) != 0 && error == 0)
        error = errno;
    return error;
}

void removeTree(const QString& path)
{
    QDir(path).removeRecursively();
}

class Copier {
public:
    Copier(const QString& source, const QString& destination, const std::function<void()>& fileCopied)
        : m_source(source), m_destination(destination), m_fileCopied(fileCopied)
    {
    }

    platform::FileResult run();

private:
    QString shown(const QByteArray& stagingPath) const
    {
        return m_destination + QFile::decodeName(stagingPath.mid(m_staging.size()));
    }
    platform::FileResult mirrorDestination(const QByteArray& from, const QByteArray& to);
    platform::FileResult copySource(const QByteArray& from, const QByteArray& to);
    platform::FileResult copyOneFile(const QByteArray& from, const QByteArray& to);
    platform::FileResult putInPlace(bool destinationExists);
    void removeDeadStagingFolders() const;

    QString m_source;
    QString m_destination;
    std::function<void()> m_fileCopied;
    QString m_folder;          // the destination's folder
    QString m_name;            // the destination's name in it
    QByteArray m_staging;      // the staging folder beside the destination
};

// The destination's own tree, linked into the staging folder: no byte of it is copied, and a
// file that cannot be linked (a file system without links) is copied instead.
platform::FileResult Copier::mirrorDestination(const QByteArray& from, const QByteArray& to)
{
    std::vector<Entry> entries;
    if (!listFolder(from, entries))
        return failed(QStringLiteral("folder"), QFile::decodeName(from), errno);
    for (const Entry& entry : entries) {
        const QByteArray a = from + '/' + entry.name;
        const QByteArray b = to + '/' + entry.name;
        if (entry.folder) {
            struct stat info {};
            const mode_t mode = ::stat(a.constData(), &info) == 0 ? (info.st_mode & 07777) | S_IRWXU : 0777;
            if (::mkdir(b.constData(), mode) != 0)
                return failed(QStringLiteral("folder"), QFile::decodeName(a), errno);
            if (auto result = mirrorDestination(a, b); !result)
                return result;
            continue;
        }
        if (::link(a.constData(), b.constData()) == 0)
            continue;
        struct stat info {};
        if (::lstat(a.constData(), &info) != 0 || !S_ISREG(info.st_mode))
            return failed(QStringLiteral("file"), QFile::decodeName(a), errno);
        if (const int error = copyFile(a, b, info.st_mode & 07777))
            return failed(QStringLiteral("file"), QFile::decodeName(a), error);
        ::chmod(b.constData(), info.st_mode & 07777);
    }
    return {true, QString()};
}

platform::FileResult Copier::copyOneFile(const QByteArray& from, const QByteArray& to)
{
    mode_t mode = 0666;
    struct stat old {};
    if (::lstat(to.constData(), &old) == 0) {
        if (S_ISDIR(old.st_mode))
            return failed(QStringLiteral("file"), QFile::decodeName(from), EISDIR);
        // A read-only file stays as it is, as a save would leave it.
        if (S_ISREG(old.st_mode) && ::access(to.constData(), W_OK) != 0)
            return {false, QStringLiteral("The file \"%1\" could not be written (%2).")
                               .arg(shown(to), QString::fromLocal8Bit(std::strerror(EACCES)))};
        if (S_ISREG(old.st_mode))
            mode = old.st_mode & 07777;
        // The name is linked to the destination's own file: never write through it.
        if (::unlink(to.constData()) != 0)
            return failed(QStringLiteral("file"), QFile::decodeName(from), errno);
    }
    if (const int error = copyFile(from, to, mode))
        return failed(QStringLiteral("file"), QFile::decodeName(from), error);
    if (mode != 0666)
        ::chmod(to.constData(), mode); // the creation mask does not narrow a kept mode
    return {true, QString()};
}

platform::FileResult Copier::copySource(const QByteArray& from, const QByteArray& to)
{
    std::vector<Entry> entries;
    if (!listFolder(from, entries))
        return failed(QStringLiteral("folder"), QFile::decodeName(from), errno);
    for (const Entry& entry : entries) {
        const QByteArray a = from + '/' + entry.name;
        const QByteArray b = to + '/' + entry.name;
        if (entry.folder) {
            if (::mkdir(b.constData(), 0777) != 0) {
                struct stat info {};
                if (errno != EEXIST || ::lstat(b.constData(), &info) != 0 || !S_ISDIR(info.st_mode))
                    return {false, QStringLiteral("The folder \"%1\" could not be made.").arg(shown(b))};
            }
            if (auto result = copySource(a, b); !result)
                return result;
            continue;
        }
        if (isSymbolicLink(a) || platform::isTemporaryFileName(QFile::decodeName(entry.name)))
            continue; // links are not followed; a save in progress or one that died is no document
        if (auto result = copyOneFile(a, b); !result)
            return result;
        if (m_fileCopied)
            m_fileCopied();
    }
    return {true, QString()};
}

// The staging folder made durable at once, then exchanged with the destination in one
// rename, and that rename made durable.
platform::FileResult Copier::putInPlace(bool destinationExists)
{
    const QByteArray destination = QFile::encodeName(m_folder + QLatin1Char('/') + m_name);
    const int staging = ::open(m_staging.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (staging < 0)
        return failed(QStringLiteral("folder"), m_source, errno);
    const int synced = ::syncfs(staging) == 0 ? 0 : errno;
    ::close(staging);
    if (synced != 0)
        return failed(QStringLiteral("folder"), m_source, synced);

    if (!destinationExists) {
        if (::rename(m_staging.constData(), destination.constData()) != 0)
            return failed(QStringLiteral("folder"), m_source, errno);
    } else if (::renameat2(AT_FDCWD, m_staging.constData(), AT_FDCWD, destination.constData(), RENAME_EXCHANGE) != 0) {
        if (errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP)
            return failed(QStringLiteral("folder"), m_source, errno);
        // A file system that cannot exchange: the old tree steps aside for the new one, and
        // comes back when the new one cannot take its place.
        const QByteArray aside = m_staging + "0";
        if (::rename(destination.constData(), aside.constData()) != 0)
            return failed(QStringLiteral("folder"), m_source, errno);
        if (::rename(m_staging.constData(), destination.constData()) != 0) {
            const int error = errno;
            ::rename(aside.constData(), destination.constData());
            return failed(QStringLiteral("folder"), m_source, error);
        }
        m_staging = aside;
    }
    const int folder = ::open(QFile::encodeName(m_folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
    return {true, QString()};
}

// Staging folders of copies that died: left unchanged longer than any live copy takes. While
// the destination is missing, one of them may be its old tree that stepped aside: all stay.
void Copier::removeDeadStagingFolders() const
{
    if (!QFileInfo::exists(m_folder + QLatin1Char('/') + m_name))
        return;
    const qint64 age = platform::staleTemporaryFileAge(m_folder);
    const QDateTime now = QDateTime::currentDateTimeUtc();
    const auto entries = QDir(m_folder).entryInfoList(QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot | QDir::NoSymLinks);
    for (const QFileInfo& entry : entries)
        if (StagedTreeCopy::isStagingName(entry.fileName(), m_name)
            && entry.lastModified().toUTC().secsTo(now) >= age)
            removeTree(entry.filePath());
}

platform::FileResult Copier::run()
{
    if (!QFileInfo(m_source).isDir())
        return {false, QStringLiteral("The folder \"%1\" could not be copied.").arg(m_source)};
    const QFileInfo target(QDir::cleanPath(QFileInfo(m_destination).absoluteFilePath()));
    m_folder = target.absolutePath();
    m_name = target.fileName();
    if (!QDir().mkpath(m_folder))
        return {false, QStringLiteral("The folder \"%1\" could not be made.").arg(m_destination)};
    const bool exists = target.exists() || target.isSymLink();
    if (exists && (!target.isDir() || target.isSymLink()))
        return {false, QStringLiteral("The folder \"%1\" could not be made.").arg(m_destination)};
    removeDeadStagingFolders();

    const QByteArray stagingBase = QFile::encodeName(m_folder + QStringLiteral("/.") + m_name) + ".~";
    for (int attempt = 0;; ++attempt) {
        m_staging = stagingBase + QByteArray::number(QRandomGenerator::global()->generate() & 0x7ffffff, 16);
        if (::mkdir(m_staging.constData(), 0777) == 0)
            break;
        if (errno != EEXIST || attempt == 100)
            return {false, QStringLiteral("The folder \"%1\" could not be made.").arg(m_destination)};
    }
    platform::FileResult result{true, QString()};
    if (exists)
        result = mirrorDestination(QFile::encodeName(target.filePath()), m_staging);
    if (result)
        result = copySource(QFile::encodeName(m_source), m_staging);
    if (result)
        result = putInPlace(exists);
    // On success the staging name now holds the tree that was replaced; on failure, the
    // unfinished copy. Neither is needed any more.
    removeTree(QFile::decodeName(m_staging));
    return result;
}

} // namespace

platform::FileResult StagedTreeCopy::copy(const QString& source, const QString& destination,
                                          const std::function<void()>& fileCopied)
{
    return Copier(source, destination, fileCopied).run();
}

bool StagedTreeCopy::isStagingName(const QString& name, const QString& destinationName)
{
    if (platform::isTemporaryFileOf(name, destinationName))
        return true;
    // The name the old tree steps aside to where a file system cannot exchange two folders.
    return name.endsWith(QLatin1Char('0')) && platform::isTemporaryFileOf(name.chopped(1), destinationName);
}

} // namespace shell
