#include "support/tempprogramfolder.h"

#include "platform/programfolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

namespace testsupport {

namespace {
// The folders of the TempProgramFolders alive now, innermost last.
QStringList& activeFolders()
{
    static QStringList folders;
    return folders;
}
} // namespace

TempProgramFolder::TempProgramFolder()
    : previous_(activeFolders().isEmpty() ? QString() : activeFolders().constLast())
{
    platform::setProgramFolder(dir_.path());
    activeFolders().append(path());
}

TempProgramFolder::~TempProgramFolder()
{
    activeFolders().removeOne(path());
    platform::setProgramFolder(previous_);
}

QString TempProgramFolder::path() const
{
    return QDir::cleanPath(dir_.path());
}

QString TempProgramFolder::filePath(const QString& relative) const
{
    return path() + QLatin1Char('/') + relative;
}

QString TempProgramFolder::makeFolder(const QString& relative) const
{
    const QString full = filePath(relative);
    QDir().mkpath(full);
    return full;
}

QString TempProgramFolder::writeFile(const QString& relative, const QByteArray& bytes) const
{
    const QString full = filePath(relative);
    QDir().mkpath(QFileInfo(full).absolutePath());
    QFile f(full);
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes);
    return full;
}

} // namespace testsupport
