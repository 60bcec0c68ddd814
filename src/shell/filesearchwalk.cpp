#include "shell/filesearchwalk.h"

#include "platform/mounttable.h"
#include "shell/filesearchpattern.h"

#include <QFile>
#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <unordered_set>
#include <utility>
#include <vector>

namespace shell {

namespace {

struct FolderId {
    dev_t device;
    ino_t inode;
    bool operator==(const FolderId&) const = default;
};

struct FolderIdHash {
    size_t operator()(const FolderId& id) const noexcept
    {
        return std::hash<unsigned long long>()(static_cast<unsigned long long>(id.inode) * 31u
                                               + static_cast<unsigned long long>(id.device));
    }
};

// Name order of a folder's entries: letter case ignored, exact order between names that
// differ only in case.
bool nameBefore(const QString& a, const QString& b)
{
    const int c = QString::compare(a, b, Qt::CaseInsensitive);
    return c != 0 ? c < 0 : a < b;
}

struct SubFolder {
    QString name;
    QByteArray path; // ends with "/"
};

// One folder's listing, before it is handed over.
struct Listing {
    qint64 examined = 0;
    QStringList matches;
    std::vector<SubFolder> subFolders;
};

bool isDotOrDotDot(const char* name)
{
    return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

// What an entry is, from the listing's own type where it gives one (no extra call).
unsigned char entryType(int dirFd, const dirent* entry)
{
    if (entry->d_type != DT_UNKNOWN)
        return entry->d_type;
    struct stat st;
    if (fstatat(dirFd, entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0)
        return DT_UNKNOWN;
    if (S_ISDIR(st.st_mode))
        return DT_DIR;
    if (S_ISREG(st.st_mode))
        return DT_REG;
    if (S_ISLNK(st.st_mode))
        return DT_LNK;
    return DT_UNKNOWN;
}

} // namespace

FileSearchWalk::FileSearchWalk(const QString& root, const QString& pattern)
    : m_rootText(root.endsWith(QLatin1Char('/')) ? root : root + QLatin1Char('/'))
    , m_pattern(pattern)
{
    m_root = QFile::encodeName(m_rootText);
    const platform::MountTable table = platform::MountTable::read();
    for (const platform::MountTable::Mount& mount : table.mounts())
        m_mountPoints.insert(QFile::encodeName(mount.mountPoint));
}

FileSearchWalk::End FileSearchWalk::run(FileSearchSink& sink, const std::atomic<bool>& stop) const
{
    std::vector<QByteArray> pending {m_root}; // a stack: the next folder to list is at the back
    std::unordered_set<FolderId, FolderIdHash> listed;
    dev_t rootDevice = 0;
    bool atRoot = true;

    while (!pending.empty()) {
        if (stop.load(std::memory_order_relaxed))
            return End::Stopped;
        const QByteArray folder = std::move(pending.back());
        pending.pop_back();
        const QString folderText = QFile::decodeName(folder);
        sink.folderStarted(folderText);
        const bool isRoot = std::exchange(atRoot, false);

        // The root may be reached through a link, as the user named it; below it a link is
        // never a folder to enter, even if it was put in a folder's place since the listing.
        const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | (isRoot ? 0 : O_NOFOLLOW));
        if (fd < 0) {
            if (errno == ENAMETOOLONG)
                sink.badFolderName(folderText);
            continue;
        }
        struct stat st;
        if (fstat(fd, &st) != 0 || (!isRoot && st.st_dev != rootDevice)
            || !listed.insert(FolderId {st.st_dev, st.st_ino}).second) {
            ::close(fd);
            continue;
        }
        if (isRoot)
            rootDevice = st.st_dev;
        DIR* dir = fdopendir(fd);
        if (!dir) {
            ::close(fd);
            continue;
        }

        Listing listing;
        bool failed = false;
        for (;;) {
            if (stop.load(std::memory_order_relaxed)) {
                closedir(dir);
                return End::Stopped;
            }
            errno = 0;
            const dirent* entry = readdir(dir);
            if (!entry) {
                failed = errno != 0;
                break;
            }
            const char* name = entry->d_name;
            if (name[0] == '.') {
                if (isDotOrDotDot(name))
                    ++listing.examined;
                continue;
            }
            ++listing.examined;
            const unsigned char type = entryType(dirfd(dir), entry);
            if (type == DT_DIR) {
                QByteArray path = folder + name;
                if (m_mountPoints.contains(path))
                    continue;
                listing.subFolders.push_back({QFile::decodeName(name), path + '/'});
                continue;
            }
            if (type != DT_REG && type != DT_LNK)
                continue;
            const QString text = QFile::decodeName(name);
            if (!matchesSearchPattern(text, m_pattern) || isTransactionHeaderName(text))
                continue;
            // A link counts as a file only when it leads to one.
            struct stat target;
            if (type == DT_LNK && (fstatat(dirfd(dir), name, &target, 0) != 0 || !S_ISREG(target.st_mode)))
                continue;
            listing.matches.append(text);
        }
        closedir(dir);
        if (failed)
            continue;

        std::sort(listing.matches.begin(), listing.matches.end(), nameBefore);
        std::sort(listing.subFolders.begin(), listing.subFolders.end(),
                  [](const SubFolder& a, const SubFolder& b) { return nameBefore(a.name, b.name); });
        for (auto it = listing.subFolders.rbegin(); it != listing.subFolders.rend(); ++it)
            pending.push_back(std::move(it->path));
        sink.folderListed(folderText, listing.examined, listing.matches);
    }
    return End::Finished;
}

} // namespace shell
