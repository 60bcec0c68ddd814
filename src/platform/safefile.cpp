#include "platform/safefile.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <cerrno>
#include <cstring>
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

// Where the bytes of a path really go: the target of a symbolic link, so that saving
// through a link keeps the link.
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

// Opens a new temporary file beside the target, named after it.
int openTemporaryBeside(const QString& target, QByteArray& tempName)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        // Hidden and unlike any document or lock name, should a crash leave it behind.
        const QFileInfo info(target);
        tempName = QFile::encodeName(info.absolutePath() + QStringLiteral("/.") + info.fileName()) + ".~"
            + QByteArray::number(QRandomGenerator::global()->generate(), 16);
        const int fd = ::open(tempName.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
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

} // namespace


FileResult writeFileAtomically(const QString& path, const QByteArray& bytes)
{
    const QString target = resolvedTarget(path);
    const QByteArray targetName = QFile::encodeName(target);
    if (::access(targetName.constData(), F_OK) == 0 && ::access(targetName.constData(), W_OK) != 0)
        return failure(QStringLiteral("written"), path, errno); // a read-only file stays as it is
    QByteArray tempName;
    const int fd = openTemporaryBeside(target, tempName);
    if (fd < 0)
        return failure(QStringLiteral("written"), path, errno);

    struct stat old {};
    if (::stat(targetName.constData(), &old) == 0)
        ::fchmod(fd, old.st_mode & 07777); // keep the file's permissions

    int error = 0;
    if (!writeAll(fd, bytes) || ::fsync(fd) != 0)
        error = errno;
    if (::close(fd) != 0 && error == 0)
        error = errno;
    if (error == 0 && ::rename(tempName.constData(), targetName.constData()) != 0)
        error = errno;
    if (error != 0) {
        ::unlink(tempName.constData());
        return failure(QStringLiteral("written"), path, error);
    }
    syncFolderOf(targetName);
    return success();
}

FileResult createExclusive(const QString& path, const QByteArray& bytes)
{
    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0)
        return failure(QStringLiteral("created"), path, errno);
    int error = 0;
    if (!writeAll(fd, bytes) || ::fsync(fd) != 0)
        error = errno;
    if (::close(fd) != 0 && error == 0)
        error = errno;
    if (error != 0) {
        ::unlink(name.constData()); // a half-written file must not stand as a taken lock
        return failure(QStringLiteral("written"), path, error);
    }
    return success();
}

FileResult readWholeFile(const QString& path, QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {false, QStringLiteral("The file \"%1\" could not be read: %2.").arg(path, file.errorString())};
    bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return {false, QStringLiteral("The file \"%1\" could not be read: %2.").arg(path, file.errorString())};
    return success();
}

} // namespace platform
