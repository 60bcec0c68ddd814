#include "datafiles/fileprocedures.h"

#include "datafiles/stagedtreecopy.h"

#include "platform/systeminfo.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <dirent.h>

namespace datafiles {

namespace {

bool isSeparator(QChar c)
{
    return c == QLatin1Char('/') || c == QLatin1Char('\\');
}

qsizetype lastSeparator(const QString& path)
{
    for (qsizetype i = path.size() - 1; i >= 0; --i)
        if (isSeparator(path.at(i)))
            return i;
    return -1;
}

bool hasWildcard(const QString& text)
{
    return text.contains(QLatin1Char('*')) || text.contains(QLatin1Char('?'));
}

// A pattern in the last component matches names in its folder as the file search expects:
// letter case ignored, "*.*" meaning every entry, the folder's own "." included.
bool anyEntryMatches(const QString& folder, QString pattern)
{
    if (hasWildcard(folder))
        return false;
    if (pattern == QLatin1String("*.*"))
        pattern = QStringLiteral("*");
    const QDir dir(folder.isEmpty() ? QStringLiteral(".") : folder);
    if (!dir.exists())
        return false;
    return !dir.entryList({pattern}, QDir::AllEntries | QDir::Hidden | QDir::System).isEmpty();
}

} // namespace

bool FileExists(const QString& path)
{
    if (path.isEmpty() || isSeparator(path.back()))
        return false;
    const qsizetype cut = lastSeparator(path);
    const QString name = path.mid(cut + 1);
    if (hasWildcard(name))
        return anyEntryMatches(cut < 0 ? QString() : path.left(cut + 1), name);
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

bool FolderExists(const QString& path)
{
    const QString folder = path.isEmpty() ? QStringLiteral("/") : path;
    DIR* listing = ::opendir(QFile::encodeName(folder).constData());
    if (!listing)
        return false;
    ::closedir(listing);
    return true;
}

QString GetFileNameOnly(const QString& path)
{
    QString p = path;
    while (!p.isEmpty() && isSeparator(p.back()))
        p.chop(1);
    return p.mid(lastSeparator(p) + 1);
}

QString GetFolderOfPath(const QString& path)
{
    const qsizetype cut = lastSeparator(path);
    return cut < 0 ? QStringLiteral("-1") : path.left(cut + 1);
}

void HideFile(const QString&) {}

void UnhideFile(const QString&) {}

platform::FileResult CopyFolderTree(const QString& source, const QString& destination,
                                    bool overwrite, const std::function<void()>& fileCopied)
{
    TreeCopyOptions options;
    options.overwrite = overwrite;
    options.fileCopied = fileCopied;
    return StagedTreeCopy::copy(source, destination, options);
}

QString GetWindowsUserName()
{
    return platform::userName();
}

int GetProcessorSpeed()
{
    return platform::processorSpeedMHz();
}

} // namespace datafiles
