#include "filesearchfixture.h"

#include <QDir>
#include <QFile>
#include <cerrno>
#include <climits>
#include <dirent.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/fsuid.h>
#include <sys/stat.h>
#include <unistd.h>

namespace filesearchtest {

namespace {

// Removes the entry name below the open folder dirFd, at any depth, through folder handles,
// so neither long paths nor missing permissions (given back first) stop it.
void removeBelow(int dirFd, const char* name)
{
    struct stat st;
    if (fstatat(dirFd, name, &st, AT_SYMLINK_NOFOLLOW) != 0)
        return;
    if (S_ISDIR(st.st_mode)) {
        fchmodat(dirFd, name, 0700, 0);
        const int fd = openat(dirFd, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (fd >= 0) {
            if (DIR* dir = fdopendir(fd)) {
                while (const dirent* entry = readdir(dir)) {
                    const QByteArray child(entry->d_name);
                    if (child != "." && child != "..")
                        removeBelow(dirfd(dir), child.constData());
                }
                closedir(dir);
            } else {
                ::close(fd);
            }
        }
        unlinkat(dirFd, name, AT_REMOVEDIR);
    } else {
        unlinkat(dirFd, name, 0);
    }
}

void removePath(const QString& path)
{
    const QByteArray encoded = QFile::encodeName(path);
    const int slash = encoded.lastIndexOf('/');
    const QByteArray parent = slash > 0 ? encoded.left(slash) : QByteArray("/");
    const int fd = ::open(parent.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    removeBelow(fd, encoded.mid(slash + 1).constData());
    ::close(fd);
}

} // namespace

SearchTree::SearchTree()
{
    m_root = QDir(m_dir.path()).canonicalPath();
    // Open to everyone, so a thread that meets permissions as "nobody" can walk it.
    QFile::setPermissions(m_root, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup
                                      | QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther);
}

SearchTree::~SearchTree()
{
    for (const QString& locked : m_locked)
        ::chmod(QFile::encodeName(locked).constData(), 0755);
    removePath(m_root);
}

void SearchTree::folder(const QString& relative) const
{
    ASSERT_TRUE(QDir().mkpath(path(relative))) << relative.toStdString();
}

void SearchTree::file(const QString& relative, const QByteArray& bytes) const
{
    const QString full = path(relative);
    QDir().mkpath(full.left(full.lastIndexOf(QLatin1Char('/'))));
    QFile f(full);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << relative.toStdString();
    f.write(bytes);
}

void SearchTree::files(const QStringList& relatives) const
{
    for (const QString& relative : relatives)
        file(relative);
}

void SearchTree::link(const QString& relative, const QString& target) const
{
    const QString full = path(relative);
    QDir().mkpath(full.left(full.lastIndexOf(QLatin1Char('/'))));
    ASSERT_EQ(::symlink(QFile::encodeName(target).constData(), QFile::encodeName(full).constData()), 0)
        << relative.toStdString();
}

void SearchTree::lock(const QString& relative)
{
    folder(relative);
    m_locked.append(path(relative));
    ASSERT_EQ(::chmod(QFile::encodeName(path(relative)).constData(), 0), 0);
}

void SearchTree::remove(const QString& relative) const
{
    removePath(path(relative));
}

QString SearchTree::tooLongBranch(const QString& relative) const
{
    folder(relative);
    const QByteArray name(200, 'L');
    QString full = path(relative);
    QString firstTooLong;
    int fd = ::open(QFile::encodeName(full).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    while (fd >= 0 && firstTooLong.isEmpty()) {
        mkdirat(fd, name.constData(), 0755);
        const int next = openat(fd, name.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        ::close(fd);
        fd = next;
        full += QLatin1Char('/') + QString::fromLatin1(name);
        if (firstTooLong.isEmpty() && QFile::encodeName(full + QLatin1Char('/')).size() >= PATH_MAX)
            firstTooLong = full + QLatin1Char('/');
    }
    if (fd >= 0) {
        const int f = openat(fd, "deep.QVI", O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
        if (f >= 0)
            ::close(f);
        ::close(fd);
    }
    return firstTooLong;
}

FolderGate::FolderGate(const QString& folderSuffix) : m_state(std::make_shared<State>())
{
    m_state->suffix = folderSuffix;
}

FolderGate::~FolderGate()
{
    release();
}

std::function<void(const QString&)> FolderGate::hook() const
{
    return [state = m_state](const QString& folder) {
        if (!folder.endsWith(state->suffix) || state->used.exchange(true))
            return;
        state->held.release();
        state->go.acquire();
    };
}

void FolderGate::waitUntilHeld()
{
    m_state->held.acquire();
}

void FolderGate::release()
{
    if (!std::exchange(m_released, true))
        m_state->go.release();
}

bool runningAsRoot()
{
    return geteuid() == 0;
}

void meetPermissionsOnThisThread()
{
    if (runningAsRoot())
        setfsuid(65534);
}

bool keptOut(const QString& folder)
{
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return errno == EACCES;
    ::close(fd);
    return false;
}

} // namespace filesearchtest
