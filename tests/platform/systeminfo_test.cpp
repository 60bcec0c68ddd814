#include "platform/systeminfo.h"
#include "support/environmentoverride.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
QString writeFixture(const QTemporaryDir& dir, const QString& name, const QByteArray& text)
{
    const QString path = dir.filePath(name);
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(text);
    return path;
}
} // namespace

TEST(SystemInfo, ProcessorSpeedFromCpuInfo)
{
    QTemporaryDir dir;
    const QString x86 = writeFixture(dir, QStringLiteral("x86"),
        "processor\t: 0\nvendor_id\t: GenuineIntel\ncpu MHz\t\t: 2394.502\ncache size\t: 512 KB\n"
        "processor\t: 1\ncpu MHz\t\t: 800.000\n");
    const QString arm = writeFixture(dir, QStringLiteral("arm"), "processor\t: 0\nBogoMIPS\t: 48.00\n");
    EXPECT_EQ(platform::processorSpeedMHz(x86), 2395);
    EXPECT_EQ(platform::processorSpeedMHz(arm), 0);
    EXPECT_EQ(platform::processorSpeedMHz(dir.filePath(QStringLiteral("missing"))), 0);
}

TEST(SystemInfo, NetworkPathsByNameAndByMountType)
{
    QTemporaryDir dir;
    const QString mounts = writeFixture(dir, QStringLiteral("mounts"),
        "overlay / overlay rw 0 0\n"
        "proc /proc proc rw 0 0\n"
        "//srv/share /mnt/share cifs rw 0 0\n"
        "/dev/sdb1 /mnt/share/local ext4 rw 0 0\n"
        "nas:/export /mnt/nfs\\040data nfs4 rw 0 0\n"
        "sshfs#me@host: /mnt/ssh fuse.sshfs rw 0 0\n");
    const struct {
        const char* path;
        bool network;
    } cases[] = {
        {"//srv/share", true}, {"\\\\srv\\share", true}, {"/tmp", false},
        {"/mnt/share/Items", true}, {"/mnt/share/local/Items", false}, {"/mnt/shared", false},
        {"/mnt/nfs data/x", true}, {"/mnt/ssh", true}, {"", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(platform::isNetworkPath(QString::fromUtf8(c.path), mounts), c.network) << c.path;
    EXPECT_TRUE(platform::isNetworkPath(QStringLiteral("//srv/share")));
    EXPECT_FALSE(platform::isNetworkPath(dir.path()));
}

TEST(SystemInfo, DrivesAreRealFileSystemsRootFirst)
{
    QTemporaryDir dir;
    const QString mounts = writeFixture(dir, QStringLiteral("mounts"),
        "proc /proc proc rw 0 0\n"
        "tmpfs /run tmpfs rw 0 0\n"
        "/dev/sda1 /boot ext4 rw 0 0\n"
        "/dev/sda2 / ext4 rw 0 0\n"
        "/dev/sda2 /etc/hostname ext4 rw 0 0\n" // a file bound into place
        "//srv/share /tmp cifs rw 0 0\n");
    EXPECT_EQ(platform::drives(mounts),
              (QStringList{QStringLiteral("/"), QStringLiteral("/boot"), QStringLiteral("/tmp")}));
    EXPECT_EQ(platform::drives().value(0), QStringLiteral("/"));
}

TEST(SystemInfo, NamesOfUserAndMachine)
{
    EXPECT_FALSE(platform::userName().isEmpty());
    EXPECT_FALSE(platform::computerName().contains(QLatin1Char('.')));
    QTemporaryDir dir;
    const testsupport::EnvironmentOverride runtime("XDG_RUNTIME_DIR", dir.path().toLocal8Bit());
    EXPECT_EQ(platform::networkPlacesFolder(), QString());
    QDir(dir.path()).mkdir(QStringLiteral("gvfs"));
    EXPECT_EQ(platform::networkPlacesFolder(), dir.filePath(QStringLiteral("gvfs")));
}
