// Our settings for a private office profile.

#include "platform/calc/officeprofile.h"

#include <QDir>
#include <QFile>
#include <QIODevice>

#include <algorithm>
#include <mutex>

namespace platform::calc {

namespace {

// How far past the setting's name its value may lie.
constexpr qsizetype valueReach = 64;

// The version number at the start of the text that follows the setting's name:
// ">", white space, "<value>", digits "." digits, "</value>". "" when it is not that.
QString versionAfterName(const QByteArray& text, qsizetype at)
{
    const qsizetype end = std::min(text.size(), at + valueReach);
    if (at >= end || text[at] != '>')
        return QString();
    ++at;
    while (at < end && (text[at] == ' ' || text[at] == '\t' || text[at] == '\r' || text[at] == '\n'))
        ++at;
    static const QByteArray open = QByteArrayLiteral("<value>");
    static const QByteArray close = QByteArrayLiteral("</value>");
    if (at + open.size() > end || text.mid(at, open.size()) != open)
        return QString();
    at += open.size();
    const qsizetype from = at;
    const auto digits = [&] {
        const qsizetype first = at;
        while (at < end && text[at] >= '0' && text[at] <= '9')
            ++at;
        return at > first;
    };
    if (!digits() || at >= end || text[at++] != '.' || !digits())
        return QString();
    if (at + close.size() > end || text.mid(at, close.size()) != close)
        return QString();
    return QString::fromLatin1(text.mid(from, at - from));
}

QString readInstalledVersion()
{
    // Both folder names occur.
    for (const char* folder : {"/../share/registry/main.xcd", "/../share/.registry/main.xcd"}) {
        QFile xcd(OfficeProfile::programDir() + QLatin1String(folder));
        if (xcd.open(QIODevice::ReadOnly))
            return OfficeProfile::versionIn(xcd);
    }
    return QString();
}

QByteArray setting(const char* path, const char* name, const QByteArray& value)
{
    return QByteArray("<item oor:path=\"") + path + "\"><prop oor:name=\"" + name + "\" oor:op=\"fuse\"><value>"
        + value + "</value></prop></item>\n";
}

} // namespace

QString OfficeProfile::programDir()
{
    return QStringLiteral(QUORVANE_OFFICE_PROGRAM_DIR);
}

QString OfficeProfile::versionIn(QIODevice& configuration)
{
    // The file is read a block at a time, so the program's memory does not grow by its size
    // (several MB); a block keeps the end of the one before, so a name cut by a block's end
    // is found whole. Only the bytes after the one setting's name are looked at.
    static const QByteArray name = QByteArrayLiteral("oor:name=\"ooSetupVersion\"");
    constexpr qsizetype blockSize = 64 * 1024;
    QByteArray text;
    qsizetype searchFrom = 0;
    for (;;) {
        const QByteArray block = configuration.read(blockSize);
        const bool last = block.isEmpty();
        text += block;
        for (qsizetype at = text.indexOf(name, searchFrom); at >= 0; at = text.indexOf(name, at + 1)) {
            // A name is looked at once the bytes after it are here, or at the end.
            if (!last && at + name.size() + valueReach > text.size())
                break;
            const QString version = versionAfterName(text, at + name.size());
            if (!version.isEmpty())
                return version;
            searchFrom = at + 1;
        }
        if (last)
            return QString();
        const qsizetype kept = name.size() + valueReach;
        if (text.size() > kept) {
            const qsizetype dropped = text.size() - kept;
            text.remove(0, dropped);
            searchFrom = std::max<qsizetype>(0, searchFrom - dropped);
        }
    }
}

QString OfficeProfile::installedVersion()
{
    static std::once_flag once;
    static QString version;
    std::call_once(once, [] { version = readInstalledVersion(); });
    return version;
}

bool OfficeProfile::prepare(const QString& profileDir)
{
    const QString userDir = profileDir + QStringLiteral("/user");
    QFile file(userDir + QStringLiteral("/registrymodifications.xcu"));
    if (file.exists())
        return true;
    QByteArray settings =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<oor:items xmlns:oor=\"http://openoffice.org/2001/registry\" "
        "xmlns:xs=\"http://www.w3.org/2001/XMLSchema\" xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\">\n";
    // No lock files beside the workbooks it opens (a killed office would leave them, and the
    // user's office would then call the workbook locked) and no autosave of documents that
    // are never kept.
    settings += setting("/org.openoffice.Office.Common/Misc", "UseLocking", "false");
    settings += setting("/org.openoffice.Office.Common/Misc", "UseDocumentOOoLockFile", "false");
    settings += setting("/org.openoffice.Office.Common/Misc", "UseDocumentSystemFileLocking", "false");
    settings += setting("/org.openoffice.Office.Recovery/AutoSave", "Enabled", "false");
    // An office that has not run this version in the profile before first draws a series of
    // test pictures on large surfaces: seconds of work and well over 100 MB, on every start
    // of a headless office, which never notes the version down itself. Several of them
    // starting at once on a fresh machine are slow enough to miss the start time, and short
    // enough of memory to crash while drawing (exit code 134). Noted down here, the office
    // starts without them.
    const QString version = installedVersion();
    if (!version.isEmpty())
        settings += setting("/org.openoffice.Setup/Product", "ooSetupLastVersion", version.toLatin1());
    settings += "</oor:items>\n";
    return QDir().mkpath(userDir) && file.open(QIODevice::WriteOnly) && file.write(settings) == settings.size();
}

} // namespace platform::calc
