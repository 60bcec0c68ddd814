#include "platform/programfolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <unistd.h>

namespace platform {

namespace {
QString& overrideFolder()
{
    static QString folder;
    return folder;
}

QString defaultFolder()
{
    const QString exeDir = QCoreApplication::applicationDirPath();
    if (!exeDir.isEmpty() && ::access(QFile::encodeName(exeDir).constData(), W_OK) == 0)
        return QDir::cleanPath(exeDir);
    const QString home = QDir::homePath() + QStringLiteral("/.local/share/quorvane");
    QDir().mkpath(home);
    return home;
}
} // namespace

QString programFolder()
{
    if (!overrideFolder().isEmpty())
        return overrideFolder();
    static const QString folder = defaultFolder();
    return folder;
}

void setProgramFolder(const QString& folder)
{
    QString f = folder;
    while (f.size() > 1 && f.endsWith(QLatin1Char('/')))
        f.chop(1);
    overrideFolder() = f;
}

} // namespace platform
