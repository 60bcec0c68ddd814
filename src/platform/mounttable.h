#pragma once
// The table of mounted file systems (the kernel's mounts file): which folders are mount
// points, of which file system type, and which of them are real disks or network shares.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace platform {

class MountTable {
public:
    struct Mount {
        QString device;
        QString mountPoint;
        QString type;
    };

    // Reads a mounts file ("/proc/self/mounts" by default); an empty table when unreadable.
    static MountTable read(const QString& path = QStringLiteral("/proc/self/mounts"));
    // Parses the text of a mounts file.
    static MountTable parse(const QByteArray& text);

    const QList<Mount>& mounts() const { return mounts_; }
    // The mount points of disk and network file systems that are folders, "/" first, each once.
    QStringList realMountPoints() const;
    // The type of the file system the absolute path lies on (the longest matching mount
    // point); "" when no mount point matches.
    QString typeOf(const QString& absolutePath) const;

    static bool isNetworkType(const QString& type);
    static bool isVirtualType(const QString& type);

private:
    QList<Mount> mounts_;
};

} // namespace platform
