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

// Where the office's named pipes lie.
QString pipeSocketPath(const QString& pipe)
{
    return QStringLiteral("/tmp/OSL_PIPE_%1_%2").arg(::getuid()).arg(pipe);
}

// Whether a unix socket has no listener any more.
bool deadSocket(const QString& socketPath)
{
    const QByteArray path = QFile::encodeName(socketPath);
    sockaddr_un address{};
    if (path.size() >= qsizetype(sizeof address.sun_path))
        return false;
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.constData(), size_t(path.size()));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    const bool refused =
        ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 && errno == ECONNREFUSED;
    ::close(fd);
    return refused;
}

void removeDeadInstancePipes(const QDateTime& since)
{
    const QDir pipes(QStringLiteral("/tmp"));
    const QString prefix = QStringLiteral("OSL_PIPE_%1_SingleOfficeIPC_").arg(::getuid());
    for (const QFileInfo& info : pipes.entryInfoList({prefix + QStringLiteral("*")}, QDir::System)) {
        if (info.lastModified() >= since && deadSocket(info.absoluteFilePath()))
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
    for (const QString& name : temp.entryList({profilePrefix + QStringLiteral("*")}, QDir::Dirs)) {
        const pid_t owner = pid_t(name.mid(profilePrefix.size()).section(QLatin1Char('-'), 0, 0).toInt());
        if (owner > 0 && !processAlive(owner))
            QDir(temp.filePath(name)).removeRecursively();
    }
    const QString pipePrefix = QStringLiteral("OSL_PIPE_%1_quorvane_").arg(::getuid());
    const QDir pipes(QStringLiteral("/tmp"));
    for (const QString& name : pipes.entryList({pipePrefix + QStringLiteral("*")}, QDir::System)) {
        const pid_t owner = pid_t(name.mid(pipePrefix.size()).section(QLatin1Char('_'), 0, 0).toInt());
        if (owner > 0 && !processAlive(owner))
            QFile::remove(pipes.filePath(name));
    }
}

void OfficeLeftovers::removePipes(const QString& pipeName, const QDateTime& startedAt)
{
    QFile::remove(pipeSocketPath(pipeName));
    removeDeadInstancePipes(startedAt);
}

} // namespace platform::calc
