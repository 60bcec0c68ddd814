// Our settings for a private office profile.

#include "platform/calc/officeprofile.h"

#include "platform/calc/unoruntime.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include <mutex>

namespace platform::calc {

namespace {

QString readInstalledVersion()
{
    // The product's version sits in its main configuration file (several MB); both folder
    // names occur. Only the bytes after the one setting's name are looked at.
    static const QRegularExpression version(QStringLiteral("^>\\s*<value>([0-9]+\\.[0-9]+)</value>"));
    static const QByteArray name = QByteArrayLiteral("oor:name=\"ooSetupVersion\"");
    for (const char* folder : {"/../share/registry/main.xcd", "/../share/.registry/main.xcd"}) {
        QFile xcd(UnoRuntime::programDir() + QLatin1String(folder));
        if (!xcd.open(QIODevice::ReadOnly))
            continue;
        const QByteArray text = xcd.readAll();
        for (qsizetype at = text.indexOf(name); at >= 0; at = text.indexOf(name, at + 1)) {
            const QRegularExpressionMatch m =
                version.match(QString::fromLatin1(text.mid(at + name.size(), 64)));
            if (m.hasMatch())
                return m.captured(1);
        }
    }
    return QString();
}

QByteArray setting(const char* path, const char* name, const QByteArray& value)
{
    return QByteArray("<item oor:path=\"") + path + "\"><prop oor:name=\"" + name + "\" oor:op=\"fuse\"><value>"
        + value + "</value></prop></item>\n";
}

} // namespace

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
