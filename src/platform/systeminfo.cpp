#include "platform/systeminfo.h"

#include "platform/mounttable.h"
#include "platform/vb.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <pwd.h>
#include <unistd.h>
#include <vector>

namespace platform {

namespace {
const QString DefaultCpuInfo = QStringLiteral("/proc/cpuinfo");
const QString DefaultMounts = QStringLiteral("/proc/self/mounts");
} // namespace

QString userName()
{
    long size = ::sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(size > 0 ? size_t(size) : 16384);
    passwd entry {};
    passwd* found = nullptr;
    if (::getpwuid_r(::geteuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found)
        return QString::fromLocal8Bit(found->pw_name);
    return QString();
}

QString computerName()
{
    char name[256] = {};
    if (::gethostname(name, sizeof name - 1) != 0)
        return QString();
    const QString host = QString::fromLocal8Bit(name);
    return host.section(QLatin1Char('.'), 0, 0);
}

int processorSpeedMHz()
{
    return processorSpeedMHz(DefaultCpuInfo);
}

int processorSpeedMHz(const QString& cpuinfoPath)
{
    QFile file(cpuinfoPath);
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : file.readAll().split('\n')) {
        const qsizetype colon = line.indexOf(':');
        if (colon < 0 || line.left(colon).trimmed() != "cpu MHz")
            continue;
        bool ok = false;
        const double mhz = line.mid(colon + 1).trimmed().toDouble(&ok);
        return ok && mhz > 0 ? int(vb::RoundHalfEven(mhz)) : 0;
    }
    return 0;
}

QStringList drives()
{
    return drives(DefaultMounts);
}

QStringList drives(const QString& mountsPath)
{
    return MountTable::read(mountsPath).realMountPoints();
}

QString networkPlacesFolder()
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (runtime.isEmpty())
        return QString();
    const QString gvfs = runtime + QStringLiteral("/gvfs");
    return QFileInfo(gvfs).isDir() ? gvfs : QString();
}

bool isNetworkPath(const QString& folder)
{
    return isNetworkPath(folder, DefaultMounts);
}

bool isNetworkPath(const QString& folder, const QString& mountsPath)
{
    if (folder.startsWith(QLatin1String("//")) || folder.startsWith(QLatin1String("\\\\")))
        return true;
    if (folder.isEmpty())
        return false;
    const QFileInfo info(folder);
    QString path = info.exists() ? info.canonicalFilePath() : QString();
    if (path.isEmpty())
        path = QDir::cleanPath(info.absoluteFilePath());
    return MountTable::isNetworkType(MountTable::read(mountsPath).typeOf(path));
}

} // namespace platform
