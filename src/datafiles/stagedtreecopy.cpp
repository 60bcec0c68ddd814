#include "datafiles/stagedtreecopy.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <map>
#include <sys/stat.h>
#include <unistd.h>

namespace datafiles {

namespace {

std::function<void(TreeCopyStep)>& stepHook()
{
    static std::function<void(TreeCopyStep)> hook;
    return hook;
}

void reach(TreeCopyStep step)
{
    if (stepHook())
        stepHook()(step);
}

platform::FileResult failed(const QString& what, const QString& path, int error)
{
    return {false, QStringLiteral("The %1 \"%2\" could not be copied (%3).")
                       .arg(what, path, QString::fromLocal8Bit(std::strerror(error)))};
}

const platform::FileResult Done{true, QString()};

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

QByteArray below(const QByteArray& relative, const QByteArray& name)
{
    return relative.isEmpty() ? name : relative + '/' + name;
}

FileStamp stampOf(const struct stat& info)
{
    return {quint64(info.st_dev), quint64(info.st_ino), qint64(info.st_size),
            qint64(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec};
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

// A new file `to` with the bytes of `from`, the given permissions and the time `from` was
// last changed, as a copy of a document keeps. `copied` receives the new file's state.
// Returns 0 or the error.
int copyFile(const QByteArray& from, const QByteArray& to, mode_t mode, struct stat* copied = nullptr)
{
    const int in = ::open(from.constData(), O_RDONLY | O_CLOEXEC);
    if (in < 0)
        return errno;
    struct stat source {};
    const int out = ::fstat(in, &source) == 0
        ? ::open(to.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode)
        : -1;
    if (out < 0) {
        const int error = errno;
        ::close(in);
        return error;
    }
    int error = copyBytes(in, out);
    ::close(in);
    const timespec times[2] = {{0, UTIME_OMIT}, source.st_mtim};
    if (error == 0 && ::futimens(out, times) != 0)
        error = errno;
    if (error == 0 && copied && ::fstat(out, copied) != 0)
        error = errno;
    if (::close(out) != 0 && error == 0)
        error = errno;
    return error;
}

bool sameBytes(const QByteArray& a, const QByteArray& b)
{
    QFile first(QFile::decodeName(a));
    QFile second(QFile::decodeName(b));
    if (!first.open(QIODevice::ReadOnly) || !second.open(QIODevice::ReadOnly) || first.size() != second.size())
        return false;
    while (!first.atEnd()) {
        const QByteArray x = first.read(1 << 16);
        if (x.isEmpty() || x != second.read(x.size()))
            return false;
    }
    return true;
}

void removeTree(const QString& path)
{
    QDir(path).removeRecursively();
}

// A name beside `target` for a file on its way there.
QByteArray temporaryBeside(const QByteArray& target)
{
    const qsizetype cut = target.lastIndexOf('/');
    return target.left(cut + 1) + '.' + target.mid(cut + 1) + ".~"
        + QByteArray::number(QRandomGenerator::global()->generate() & 0x7fffffff, 16);
}

// What a tree holds: every entry by its path relative to the tree, with the file's stamp.
struct Seen {
    bool folder = false;
    FileStamp stamp;
};
using TreeState = std::map<QByteArray, Seen>;

void readTree(const QByteArray& root, const QByteArray& relative, TreeState& state)
{
    std::vector<Entry> entries;
    if (!listFolder(relative.isEmpty() ? root : root + '/' + relative, entries))
        return;
    for (const Entry& entry : entries) {
        const QByteArray path = below(relative, entry.name);
        struct stat info {};
        if (::lstat((root + '/' + path).constData(), &info) != 0)
            continue; // gone meanwhile
        state[path] = {S_ISDIR(info.st_mode), stampOf(info)};
        if (S_ISDIR(info.st_mode))
            readTree(root, path, state);
    }
}

// What the new tree holds at a file's path, as this copy put it there.
struct Placed {
    quint64 inode = 0;
    bool fromDestination = false; // the destination's own file, not one of the source
};

class Copier {
public:
    Copier(const QString& source, const QString& destination, const TreeCopyOptions& options)
        : m_source(source), m_destination(destination), m_options(options)
    {
    }

    platform::FileResult run();

private:
    QString shown(const QByteArray& relative) const
    {
        return m_destination + QLatin1Char('/') + QFile::decodeName(relative);
    }
    platform::FileResult mirrorDestination(const QByteArray& from, const QByteArray& relative);
    platform::FileResult copySource(const QByteArray& from, const QByteArray& relative);
    platform::FileResult copyOneFile(const QByteArray& from, const QByteArray& relative);
    bool keepsNewer(const QByteArray& relative, const QByteArray& from) const;
    platform::FileResult keepChanges(const QByteArray& changed, const QByteArray& into, bool live);
    platform::FileResult putInPlace(bool destinationExists);
    void removeDeadStagingFolders() const;

    QString m_source;
    QString m_destination;
    const TreeCopyOptions& m_options;
    QString m_folder;          // the destination's folder
    QString m_name;            // the destination's name in it
    QByteArray m_target;       // the destination, absolute
    QByteArray m_staging;      // the staging folder beside the destination
    TreeState m_seen;          // the destination as last looked at
    std::map<QByteArray, Placed> m_placed; // the files of the new tree
    int m_removed = 0;         // files of the new tree moved into the old one, to be removed
};

// The destination's own tree, linked into the staging folder: no byte of it is copied, and a
// file that cannot be linked (a file system without links) is copied instead. What each
// file was is noted, so that a change made later can be told.
platform::FileResult Copier::mirrorDestination(const QByteArray& from, const QByteArray& relative)
{
    std::vector<Entry> entries;
    if (!listFolder(from, entries))
        return failed(QStringLiteral("folder"), QFile::decodeName(from), errno);
    for (const Entry& entry : entries) {
        const QByteArray path = below(relative, entry.name);
        const QByteArray a = from + '/' + entry.name;
        const QByteArray b = m_staging + '/' + path;
        struct stat info {};
        if (entry.folder) {
            const mode_t mode = ::stat(a.constData(), &info) == 0 ? (info.st_mode & 07777) | S_IRWXU : 0777;
            if (::mkdir(b.constData(), mode) != 0)
                return failed(QStringLiteral("folder"), QFile::decodeName(a), errno);
            m_seen[path] = {true, {}};
            if (auto result = mirrorDestination(a, path); !result)
                return result;
            continue;
        }
        if (::link(a.constData(), b.constData()) == 0 && ::lstat(b.constData(), &info) == 0) {
            m_seen[path] = {false, stampOf(info)};
            m_placed[path] = {quint64(info.st_ino), true};
            continue;
        }
        if (::lstat(a.constData(), &info) != 0 && errno == ENOENT)
            continue; // gone since it was listed: a save's temporary file, renamed meanwhile
        if (!S_ISREG(info.st_mode))
            return failed(QStringLiteral("file"), QFile::decodeName(a), errno);
        struct stat copied {};
        if (const int error = copyFile(a, b, info.st_mode & 07777, &copied))
            return failed(QStringLiteral("file"), QFile::decodeName(a), error);
        ::chmod(b.constData(), info.st_mode & 07777);
        m_seen[path] = {false, stampOf(info)};
        m_placed[path] = {quint64(copied.st_ino), true};
    }
    return Done;
}

// A file of the destination that is newer than the source's stays, unless the caller listed
// it as one to replace and it is still as it was listed.
bool Copier::keepsNewer(const QByteArray& relative, const QByteArray& from) const
{
    if (!m_options.replacedNewer)
        return false;
    const auto seen = m_seen.find(relative);
    struct stat source {};
    if (seen == m_seen.end() || seen->second.folder || ::stat(from.constData(), &source) != 0
        || seen->second.stamp.modifiedNs <= stampOf(source).modifiedNs)
        return false;
    const QString path = QFile::decodeName(relative);
    const auto& listed = *m_options.replacedNewer;
    return std::none_of(listed.begin(), listed.end(), [&](const NewerFile& file) {
        return file.path == path && file.stamp == seen->second.stamp;
    });
}

platform::FileResult Copier::copyOneFile(const QByteArray& from, const QByteArray& relative)
{
    const QByteArray to = m_staging + '/' + relative;
    mode_t mode = 0666;
    struct stat old {};
    if (::lstat(to.constData(), &old) == 0) {
        if (S_ISDIR(old.st_mode))
            return failed(QStringLiteral("file"), QFile::decodeName(from), EISDIR);
        // A read-only file stays as it is, as a save would leave it.
        if (S_ISREG(old.st_mode) && ::access(to.constData(), W_OK) != 0)
            return {false, QStringLiteral("The file \"%1\" could not be written (%2).")
                               .arg(shown(relative), QString::fromLocal8Bit(std::strerror(EACCES)))};
        if (!m_options.overwrite)
            return {false, QStringLiteral("The file \"%1\" already exists.").arg(shown(relative))};
        if (keepsNewer(relative, from))
            return Done;
        if (S_ISREG(old.st_mode))
            mode = old.st_mode & 07777;
        // The name is linked to the destination's own file: never write through it.
        if (::unlink(to.constData()) != 0)
            return failed(QStringLiteral("file"), QFile::decodeName(from), errno);
    }
    struct stat copied {};
    if (const int error = copyFile(from, to, mode, &copied))
        return failed(QStringLiteral("file"), QFile::decodeName(from), error);
    if (mode != 0666)
        ::chmod(to.constData(), mode); // the creation mask does not narrow a kept mode
    m_placed[relative] = {quint64(copied.st_ino), false};
    return Done;
}

platform::FileResult Copier::copySource(const QByteArray& from, const QByteArray& relative)
{
    std::vector<Entry> entries;
    if (!listFolder(from, entries))
        return failed(QStringLiteral("folder"), QFile::decodeName(from), errno);
    for (const Entry& entry : entries) {
        const QByteArray path = below(relative, entry.name);
        const QByteArray a = from + '/' + entry.name;
        if (m_options.leftOut && m_options.leftOut(QFile::decodeName(path)))
            continue;
        if (entry.folder) {
            const QByteArray b = m_staging + '/' + path;
            if (::mkdir(b.constData(), 0777) != 0) {
                struct stat info {};
                if (errno != EEXIST || ::lstat(b.constData(), &info) != 0 || !S_ISDIR(info.st_mode))
                    return {false, QStringLiteral("The folder \"%1\" could not be made.").arg(shown(path))};
            }
            if (auto result = copySource(a, path); !result)
                return result;
            continue;
        }
        struct stat info {};
        if (::lstat(a.constData(), &info) == 0 && S_ISLNK(info.st_mode))
            continue; // links are not followed
        if (platform::isTemporaryFileName(QFile::decodeName(entry.name)))
            continue; // a save in progress or one that died is no document
        if (auto result = copyOneFile(a, path); !result)
            return result;
        if (m_options.fileCopied)
            m_options.fileCopied();
    }
    return Done;
}

// Carries what changed in the tree `changed` since it was last looked at into the tree
// `into`: a file made or saved anew there is linked in its place, one removed there is
// removed here too unless the copy brought its own file of that name. Before the exchange
// `into` is the staging folder, which no one else writes; after it, `into` is the live tree,
// and a name that someone changed since this copy placed it is theirs and left alone.
platform::FileResult Copier::keepChanges(const QByteArray& changed, const QByteArray& into, bool live)
{
    TreeState now;
    readTree(changed, QByteArray(), now);
    for (const auto& [path, entry] : now) {
        const auto seen = m_seen.find(path);
        if (seen != m_seen.end() && seen->second.folder == entry.folder
            && (entry.folder || seen->second.stamp == entry.stamp))
            continue;
        const QByteArray target = into + '/' + path;
        struct stat there {};
        const bool exists = ::lstat(target.constData(), &there) == 0;
        if (entry.folder) {
            if (exists && S_ISDIR(there.st_mode))
                continue;
            if (!exists && ::mkdir(target.constData(), 0777) == 0)
                continue;
            if (live)
                continue;
            return {false, QStringLiteral("The folder \"%1\" could not be made.").arg(shown(path))};
        }
        if (exists && quint64(there.st_ino) == entry.stamp.inode && quint64(there.st_dev) == entry.stamp.device) {
            m_placed[path] = {entry.stamp.inode, true}; // the same file, written in place
            continue;
        }
        if (live) {
            const auto placed = m_placed.find(path);
            const bool ours = exists ? placed != m_placed.end() && placed->second.inode == quint64(there.st_ino)
                                     : placed == m_placed.end();
            if (!ours)
                continue;
        }
        const QByteArray from = changed + '/' + path;
        if (live) {
            // Moved out of the old tree, not copied: a holder that took the lock over while
            // this copy slept took the old tree away, and then nothing is moved over what it
            // may have written since.
            if (exists && S_ISDIR(there.st_mode))
                continue;
            struct stat put {};
            if (::rename(from.constData(), target.constData()) == 0 && ::lstat(target.constData(), &put) == 0)
                m_placed[path] = {quint64(put.st_ino), true};
            continue;
        }
        const QByteArray step = temporaryBeside(target);
        struct stat put {}, origin {};
        int error = 0;
        if (exists && S_ISDIR(there.st_mode))
            error = EISDIR;
        else if (::link(from.constData(), step.constData()) != 0 || ::lstat(step.constData(), &put) != 0)
            error = copyFile(from, step, ::lstat(from.constData(), &origin) == 0 ? origin.st_mode & 07777 : 0666, &put);
        if (error == 0 && ::rename(step.constData(), target.constData()) != 0)
            error = errno;
        if (error != 0) {
            ::unlink(step.constData());
            if (live || error == ENOENT)
                continue; // a file gone since it was looked at is no change to keep
            return failed(QStringLiteral("file"), QFile::decodeName(from), error);
        }
        m_placed[path] = {quint64(put.st_ino), true};
    }
    for (const auto& [path, entry] : m_seen) {
        if (entry.folder || now.count(path))
            continue;
        const auto placed = m_placed.find(path);
        if (placed == m_placed.end() || !placed->second.fromDestination)
            continue;
        const QByteArray target = into + '/' + path;
        struct stat there {};
        if (::lstat(target.constData(), &there) == 0 && quint64(there.st_ino) == placed->second.inode) {
            if (!live)
                ::unlink(target.constData());
            else // into the old tree, which is removed with it: gone with it once taken away
                ::rename(target.constData(), (changed + "/.~removed" + QByteArray::number(++m_removed)).constData());
        }
        m_placed.erase(placed);
    }
    m_seen = std::move(now);
    return Done;
}

// The staging folder made durable at once, what changed in the destination meanwhile kept,
// then the staging folder exchanged with the destination in one rename, that rename made
// durable, and what changed in the last moments kept too.
platform::FileResult Copier::putInPlace(bool destinationExists)
{
    const int staging = ::open(m_staging.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (staging < 0)
        return failed(QStringLiteral("folder"), m_source, errno);
    const int synced = ::syncfs(staging) == 0 ? 0 : errno;
    ::close(staging);
    if (synced != 0)
        return failed(QStringLiteral("folder"), m_source, synced);

    if (destinationExists) {
        if (auto kept = keepChanges(m_target, m_staging, false); !kept)
            return kept;
    }
    reach(TreeCopyStep::ChangesKept);
    if (m_options.refusedBeforeExchange) {
        if (const std::optional<QString> refusal = m_options.refusedBeforeExchange())
            return {false, *refusal};
    }
    reach(TreeCopyStep::ExchangeNext);

    // A staging folder taken away by a new holder of the posting lock (this copy slept past its
    // lease) makes the exchange fail: nothing is put over what was posted since.
    if (!destinationExists) {
        if (::rename(m_staging.constData(), m_target.constData()) != 0)
            return failed(QStringLiteral("folder"), m_source, errno);
    } else if (::renameat2(AT_FDCWD, m_staging.constData(), AT_FDCWD, m_target.constData(), RENAME_EXCHANGE) != 0) {
        if (errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP)
            return failed(QStringLiteral("folder"), m_source, errno);
        // A file system that cannot exchange: the old tree steps aside for the new one, and
        // comes back when the new one cannot take its place.
        const QByteArray aside = m_staging + "0";
        if (::rename(m_target.constData(), aside.constData()) != 0)
            return failed(QStringLiteral("folder"), m_source, errno);
        if (::rename(m_staging.constData(), m_target.constData()) != 0) {
            const int error = errno;
            ::rename(aside.constData(), m_target.constData());
            return failed(QStringLiteral("folder"), m_source, error);
        }
        m_staging = aside;
    }
    const int folder = ::open(QFile::encodeName(m_folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
    // The old tree now lies at the staging name; a writer that reached it after the look
    // above and before the exchange finds its change in the new tree. That writes into the
    // live tree, so only while the lock is still this copy's.
    reach(TreeCopyStep::Exchanged);
    if (destinationExists && !(m_options.refusedBeforeExchange && m_options.refusedBeforeExchange()))
        (void)keepChanges(m_staging, m_target, true);
    return Done;
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
    m_target = QFile::encodeName(target.filePath());
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
    platform::FileResult result = Done;
    if (exists) {
        result = mirrorDestination(m_target, QByteArray());
        reach(TreeCopyStep::DestinationLinked);
    }
    if (result)
        result = copySource(QFile::encodeName(m_source), QByteArray());
    if (result) {
        reach(TreeCopyStep::SourceCopied);
        result = putInPlace(exists);
    }
    // A copy whose staging folder was taken away by a new holder of the posting lock (it slept
    // past its lease) has put nothing in place: that is what it tells.
    if (!result && !QFileInfo::exists(QFile::decodeName(m_staging)))
        return {false, QStringLiteral("The data folder \"%1\" was not copied: the posting lock of its folder was "
                                      "taken over while the copy was being made, and the copy was taken away. "
                                      "Nothing was changed; please try again.").arg(m_destination)};
    // On success the staging name now holds the tree that was replaced; on failure, the
    // unfinished copy. Neither is needed any more.
    removeTree(QFile::decodeName(m_staging));
    return result;
}

void newerBelow(const QByteArray& source, const QByteArray& destination, const QByteArray& relative,
                const std::function<bool(const QString&)>& leftOut, std::vector<NewerFile>& found)
{
    std::vector<Entry> entries;
    if (!listFolder(relative.isEmpty() ? source : source + '/' + relative, entries))
        return;
    for (const Entry& entry : entries) {
        const QByteArray path = below(relative, entry.name);
        if (leftOut && leftOut(QFile::decodeName(path)))
            continue;
        if (entry.folder) {
            struct stat theirs {};
            if (::lstat((destination + '/' + path).constData(), &theirs) == 0 && S_ISDIR(theirs.st_mode))
                newerBelow(source, destination, path, leftOut, found);
            continue;
        }
        const QByteArray ours = source + '/' + path;
        const QByteArray theirs = destination + '/' + path;
        struct stat a {}, b {};
        if (platform::isTemporaryFileName(QFile::decodeName(entry.name)) || ::lstat(ours.constData(), &a) != 0
            || !S_ISREG(a.st_mode) || ::lstat(theirs.constData(), &b) != 0 || !S_ISREG(b.st_mode))
            continue;
        const FileStamp stamp = stampOf(b);
        if (stamp.modifiedNs <= stampOf(a).modifiedNs || sameBytes(ours, theirs))
            continue;
        found.push_back({QFile::decodeName(path), QDateTime::fromMSecsSinceEpoch(stamp.modifiedNs / 1000000), stamp});
    }
}

} // namespace

void setTreeCopyStepHook(std::function<void(TreeCopyStep)> hook)
{
    stepHook() = std::move(hook);
}

platform::FileResult StagedTreeCopy::copy(const QString& source, const QString& destination,
                                          const TreeCopyOptions& options)
{
    return Copier(source, destination, options).run();
}

std::vector<NewerFile> StagedTreeCopy::newerFiles(const QString& source, const QString& destination,
                                                  const std::function<bool(const QString&)>& leftOut)
{
    std::vector<NewerFile> found;
    if (!QFileInfo(destination).isDir())
        return found;
    newerBelow(QFile::encodeName(source), QFile::encodeName(destination), QByteArray(), leftOut, found);
    std::stable_sort(found.begin(), found.end(), [](const NewerFile& a, const NewerFile& b) {
        return a.stamp.modifiedNs > b.stamp.modifiedNs;
    });
    return found;
}

void StagedTreeCopy::revokeStaging(const QString& folder, const QString& destinationName)
{
    const QByteArray base = QFile::encodeName(folder) + "/." + QFile::encodeName(destinationName) + ".~";
    std::vector<Entry> entries;
    if (!listFolder(QFile::encodeName(folder), entries))
        return;
    for (const Entry& entry : entries) {
        if (!entry.folder || !isStagingName(QFile::decodeName(entry.name), destinationName))
            continue;
        const QByteArray from = QFile::encodeName(folder) + '/' + entry.name;
        QByteArray to;
        int attempt = 0;
        do
            to = base + QByteArray::number(QRandomGenerator::global()->generate() & 0x7ffffff, 16);
        while (::access(to.constData(), F_OK) == 0 && ++attempt < 100);
        if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) == 0
            || (errno == EINVAL && ::rename(from.constData(), to.constData()) == 0))
            removeTree(QFile::decodeName(to));
    }
}

bool StagedTreeCopy::isStagingName(const QString& name, const QString& destinationName)
{
    if (platform::isTemporaryFileOf(name, destinationName))
        return true;
    // The name the old tree steps aside to where a file system cannot exchange two folders.
    return name.endsWith(QLatin1Char('0')) && platform::isTemporaryFileOf(name.chopped(1), destinationName);
}

} // namespace datafiles
