#include "platform/mounttable.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

namespace platform {

namespace {

// Mount points in the mounts file write blanks and backslashes as octal escapes ("\040").
QString unescape(const QByteArray& field)
{
    QByteArray out;
    out.reserve(field.size());
    for (qsizetype i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size() && field[i + 1] >= '0' && field[i + 1] <= '3') {
            bool ok = false;
            const int code = field.mid(i + 1, 3).toInt(&ok, 8);
            if (ok) {
                out.append(char(code));
                i += 3;
                continue;
            }
        }
        out.append(field[i]);
    }
    return QFile::decodeName(out);
}

bool isUnder(const QString& path, const QString& mountPoint)
{
    if (mountPoint == QLatin1String("/"))
        return path.startsWith(QLatin1Char('/'));
    return path == mountPoint || path.startsWith(mountPoint + QLatin1Char('/'));
}

} // namespace

MountTable MountTable::read(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return parse(file.readAll());
}

MountTable MountTable::parse(const QByteArray& text)
{
    MountTable table;
    for (const QByteArray& line : text.split('\n')) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        if (fields.size() < 3)
            continue;
        table.mounts_.append({unescape(fields[0]), unescape(fields[1]), QString::fromLatin1(fields[2])});
    }
    return table;
}

bool MountTable::isNetworkType(const QString& type)
{
    static const QSet<QString> network = {
        QStringLiteral("cifs"), QStringLiteral("smb3"), QStringLiteral("smbfs"),
        QStringLiteral("nfs"), QStringLiteral("nfs4"), QStringLiteral("ncpfs"),
        QStringLiteral("afs"),
    };
    return network.contains(type) || type.startsWith(QLatin1String("fuse."));
}

bool MountTable::isVirtualType(const QString& type)
{
    static const QSet<QString> virtualTypes = {
        QStringLiteral("proc"), QStringLiteral("sysfs"), QStringLiteral("devtmpfs"),
        QStringLiteral("devpts"), QStringLiteral("tmpfs"), QStringLiteral("cgroup"),
        QStringLiteral("cgroup2"), QStringLiteral("securityfs"), QStringLiteral("pstore"),
        QStringLiteral("bpf"), QStringLiteral("debugfs"), QStringLiteral("tracefs"),
        QStringLiteral("mqueue"), QStringLiteral("hugetlbfs"), QStringLiteral("configfs"),
        QStringLiteral("fusectl"), QStringLiteral("autofs"), QStringLiteral("binfmt_misc"),
        QStringLiteral("efivarfs"), QStringLiteral("ramfs"), QStringLiteral("rpc_pipefs"),
        QStringLiteral("nsfs"), QStringLiteral("squashfs"), QStringLiteral("overlay"),
        QStringLiteral("selinuxfs"), QStringLiteral("fuse.portal"), QStringLiteral("fuse.gvfsd-fuse"),
    };
    return virtualTypes.contains(type);
}

QStringList MountTable::realMountPoints() const
{
    QStringList points {QStringLiteral("/")};
    QSet<QString> seen {QStringLiteral("/")};
    for (const Mount& m : mounts_) {
        if (seen.contains(m.mountPoint) || isVirtualType(m.type))
            continue;
        const bool disk = m.device.startsWith(QLatin1Char('/')) || m.type == QLatin1String("zfs");
        if (!disk && !isNetworkType(m.type))
            continue;
        if (!QFileInfo(m.mountPoint).isDir()) // files bound into place, as containers do
            continue;
        seen.insert(m.mountPoint);
        points.append(m.mountPoint);
    }
    return points;
}

QString MountTable::typeOf(const QString& absolutePath) const
{
    QString best;
    QString type;
    for (const Mount& m : mounts_) {
        // A later mount over the same point hides the earlier one, hence ">=".
        if (isUnder(absolutePath, m.mountPoint) && m.mountPoint.size() >= best.size()) {
            best = m.mountPoint;
            type = m.type;
        }
    }
    return type;
}

} // namespace platform
