#include "datafiles/datafilewriter.h"

#include "platform/safefile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <unistd.h>

namespace datafiles {

namespace {

DataFileWriteFunction& installedWriter()
{
    static DataFileWriteFunction writer;
    return writer;
}

bool refusesWriting(const QString& path)
{
    if (::access(QFile::encodeName(path).constData(), W_OK) == 0)
        return false;
    return errno == EACCES || errno == EPERM || errno == EROFS;
}

// After a failed write: was it this user's rights (or a read-only medium) that refused it?
bool permissionWasDenied(const QString& path)
{
    const QFileInfo info(path);
    if (info.exists() && refusesWriting(path))
        return true;
    return info.absoluteDir().exists() && refusesWriting(info.absolutePath());
}

DataFileWrite writeThroughSafeWriter(const QString& path, const QByteArray& bytes)
{
    const platform::FileResult result = platform::writeFileAtomically(path, bytes);
    if (result)
        return {true, false, QString()};
    return {false, permissionWasDenied(path), result.error};
}

} // namespace

DataFileWrite writeDataFile(const QString& path, const QByteArray& bytes)
{
    if (installedWriter())
        return installedWriter()(path, bytes);
    return writeThroughSafeWriter(path, bytes);
}

DataFileWrite writeDataFileFenced(const QString& path, const QByteArray& bytes, const std::function<bool()>& lastCheck,
                                  bool& lockLost)
{
    lockLost = false;
    if (installedWriter()) {
        lockLost = !lastCheck();
        return lockLost ? DataFileWrite{} : installedWriter()(path, bytes);
    }
    QString replacement;
    if (const platform::FileResult staged = platform::writeFencedReplacement(path, bytes, replacement); !staged)
        return {false, permissionWasDenied(path), staged.error};
    if (!lastCheck()) {
        QFile::remove(replacement);
        lockLost = true;
        return {};
    }
    const platform::FileResult renamed = platform::replaceWith(replacement, path);
    if (renamed)
        return {true, false, QString()};
    lockLost = renamed.missingSource;
    QFile::remove(replacement);
    return {false, false, renamed.error};
}

void setDataFileWriter(DataFileWriteFunction writer)
{
    installedWriter() = std::move(writer);
}

} // namespace datafiles
