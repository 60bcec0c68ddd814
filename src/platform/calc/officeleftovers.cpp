// Finds and removes what killed offices left behind.

#include "platform/calc/officeleftovers.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace platform::calc {

namespace {

const QString profilePrefix = QStringLiteral("quorvane-office-");

enum class Socket { Listening, Refused, Unknown };

// Tries a connection to a unix socket and closes it at once.
Socket trySocket(const QString& socketPath)
{
    const QByteArray path = QFile::encodeName(socketPath);
    sockaddr_un address{};
    if (path.size() >= qsizetype(sizeof address.sun_path))
        return Socket::Unknown;
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.constData(), size_t(path.size()));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return Socket::Unknown;
    Socket found = Socket::Listening;
    if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0)
        found = errno == ECONNREFUSED ? Socket::Refused : Socket::Unknown;
    ::close(fd);
    return found;
}

// The names in a folder that begin with a prefix. Matched here rather than by a name filter,
// which would load a regular expression engine into the program for a plain prefix.
QStringList namesStartingWith(const QDir& folder, const QString& prefix, QDir::Filters kinds)
{
    QStringList names = folder.entryList(kinds, QDir::Unsorted);
    names.removeIf([&prefix](const QString& name) { return !name.startsWith(prefix); });
    return names;
}

void removeDeadInstancePipes(const QDateTime& since)
{
    const QDir pipes(QStringLiteral("/tmp"));
    const QString prefix = QStringLiteral("OSL_PIPE_%1_SingleOfficeIPC_").arg(::getuid());
    for (const QString& name : namesStartingWith(pipes, prefix, QDir::System)) {
        const QFileInfo info(pipes.filePath(name));
        if (info.lastModified() >= since && trySocket(info.absoluteFilePath()) == Socket::Refused)
            QFile::remove(info.absoluteFilePath());
    }
}

bool processAlive(pid_t pid)
{
    return ::kill(pid, 0) == 0 || errno == EPERM;
}

} // namespace

QString OfficeLeftovers::profileTemplate()
{
    return QDir::tempPath() + QLatin1Char('/') + profilePrefix + QString::number(::getpid()) + QStringLiteral("-XXXXXX");
}

void OfficeLeftovers::sweep()
{
    const QDir temp(QDir::tempPath());
    for (const QString& name : namesStartingWith(temp, profilePrefix, QDir::Dirs)) {
        const pid_t owner = pid_t(name.mid(profilePrefix.size()).section(QLatin1Char('-'), 0, 0).toInt());
        if (owner > 0 && !processAlive(owner))
            QDir(temp.filePath(name)).removeRecursively();
    }
    const QString pipePrefix = QStringLiteral("OSL_PIPE_%1_quorvane_").arg(::getuid());
    const QDir pipes(QStringLiteral("/tmp"));
    for (const QString& name : namesStartingWith(pipes, pipePrefix, QDir::System)) {
        const pid_t owner = pid_t(name.mid(pipePrefix.size()).section(QLatin1Char('_'), 0, 0).toInt());
        if (owner > 0 && !processAlive(owner))
            QFile::remove(pipes.filePath(name));
    }
}

QString OfficeLeftovers::pipePath(const QString& pipeName)
{
    return QStringLiteral("/tmp/OSL_PIPE_%1_%2").arg(::getuid()).arg(pipeName);
}

bool OfficeLeftovers::listens(const QString& pipeName)
{
    return trySocket(pipePath(pipeName)) == Socket::Listening;
}

void OfficeLeftovers::removePipes(const QString& pipeName, const QDateTime& startedAt)
{
    QFile::remove(pipePath(pipeName));
    removeDeadInstancePipes(startedAt);
}

} // namespace platform::calc
