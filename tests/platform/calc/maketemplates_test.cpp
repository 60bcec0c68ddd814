// The template maker: our form templates are made the same, byte for byte, every time, so
// that remaking them without a change leaves the committed files as they are.

#include "support/environmentoverride.h"

#include <QCryptographicHash>
#include <QDirIterator>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// The templates a run of the maker writes below a folder, by relative path, with their
// hashes; empty when the maker fails.
QMap<QString, QByteArray> makeTemplates(const QString& folder)
{
    QProcess maker;
    maker.setProcessChannelMode(QProcess::MergedChannels);
    maker.start(QStringLiteral(QUORVANE_MAKETEMPLATES), {folder});
    if (!maker.waitForFinished(180000) || maker.exitStatus() != QProcess::NormalExit || maker.exitCode() != 0) {
        ADD_FAILURE() << "maketemplates failed: " << maker.readAll().toStdString();
        return {};
    }
    QMap<QString, QByteArray> made;
    QDirIterator it(folder, {QStringLiteral("*.xls")}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile file(it.next());
        if (file.open(QIODevice::ReadOnly))
            made[it.filePath().mid(folder.size())] = QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
    }
    return made;
}

} // namespace

TEST(MakeTemplates, TwoRunsWriteTheSameBytes)
{
    QTemporaryDir first;
    QTemporaryDir second;
    const QMap<QString, QByteArray> a = makeTemplates(first.path());
    QMap<QString, QByteArray> b;
    {
        // Another time zone and language, as another developer's machine may have.
        const testsupport::EnvironmentOverride zone("TZ", "America/New_York");
        const testsupport::EnvironmentOverride language("LC_ALL", "de_DE.UTF-8");
        b = makeTemplates(second.path());
    }
    EXPECT_EQ(a.size(), 4);
    EXPECT_EQ(a.keys(), b.keys());
    for (auto it = a.begin(); it != a.end(); ++it)
        EXPECT_EQ(it.value(), b.value(it.key())) << it.key().toStdString();
}
