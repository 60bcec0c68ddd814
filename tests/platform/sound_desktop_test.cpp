#include "platform/desktop.h"
#include "platform/sound.h"
#include "platform/wavefile.h"
#include "support/environmentoverride.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>

namespace {

QByteArray le16(int v)
{
    QByteArray b(2, 0);
    qToLittleEndian<quint16>(quint16(v), b.data());
    return b;
}

QByteArray le32(qint64 v)
{
    QByteArray b(4, 0);
    qToLittleEndian<quint32>(quint32(v), b.data());
    return b;
}

// A mono 16-bit wave of the given length, with an odd-sized extra chunk before the data.
QByteArray makeWave(int rate, int frames)
{
    const QByteArray fmt = "fmt " + le32(16) + le16(1) + le16(1) + le32(rate) + le32(rate * 2) + le16(2) + le16(16);
    const QByteArray extra = "LIST" + le32(3) + QByteArray("abc") + QByteArray(1, 0);
    const QByteArray data = "data" + le32(frames * 2) + QByteArray(frames * 2, '\x01');
    const QByteArray body = "WAVE" + fmt + extra + data;
    return "RIFF" + le32(body.size()) + body;
}

} // namespace

TEST(WaveFile, ReadsPcmFormatAndData)
{
    const auto wave = platform::WaveFile::parse(makeWave(8000, 400));
    ASSERT_TRUE(wave.has_value());
    EXPECT_EQ(wave->rate, 8000);
    EXPECT_EQ(wave->channels, 1);
    EXPECT_EQ(wave->sample, platform::WaveFile::Sample::S16);
    EXPECT_EQ(wave->frames(), 400);
    EXPECT_FALSE(platform::WaveFile::parse(QByteArray("RIFF\0\0\0\0WAVE", 12)).has_value());
    EXPECT_FALSE(platform::WaveFile::parse(QByteArray("not a wave at all")).has_value());
    const auto cut = platform::WaveFile::parse(makeWave(8000, 400).left(100));
    ASSERT_TRUE(cut.has_value()); // a cut-off file plays what it holds
    EXPECT_LT(cut->frames(), 400);
}

TEST(Sound, MissingOrBadFileReturnsAtOnce)
{
    QTemporaryDir dir;
    const QString bad = dir.filePath(QStringLiteral("bad.wav"));
    QFile f(bad);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("RIFFjunk");
    f.close();
    QElapsedTimer t;
    t.start();
    platform::playSound(dir.filePath(QStringLiteral("missing.wav")));
    platform::playSound(bad);
    EXPECT_LT(t.elapsed(), 500);
}

TEST(Sound, ShortWaveDoesNotHang)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("2.wav"));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(makeWave(8000, 800)); // 0.1 s
    f.close();
    QElapsedTimer t;
    t.start();
    platform::setSoundDevice(QStringLiteral("null"));
    platform::playSound(path);
    platform::setSoundDevice(QString());
    EXPECT_LT(t.elapsed(), 3000);
}

TEST(Desktop, ClipboardHoldsText)
{
    platform::setClipboardText(QStringLiteral("Hammer 12,50"));
    EXPECT_EQ(platform::clipboardText(), QStringLiteral("Hammer 12,50"));
    platform::clearClipboard();
    EXPECT_EQ(platform::clipboardText(), QString());
}

TEST(Desktop, HelpViewerIsSilentWithoutFileOrViewer)
{
    QTemporaryDir dir;
    EXPECT_FALSE(platform::helpViewer().showTopic(dir.filePath(QStringLiteral("VURira.chm")),
                                                  QStringLiteral("Main"), QStringLiteral("items.htm")));
    const QString chm = dir.filePath(QStringLiteral("help.chm"));
    QFile f(chm);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("ITSF");
    f.close();
    const testsupport::EnvironmentOverride path("PATH", dir.path().toLocal8Bit()); // no viewer here
    EXPECT_FALSE(platform::helpViewer().showTopic(chm, QStringLiteral("Main"), QStringLiteral("items.htm")));
}

TEST(Desktop, InstalledHelpViewerReplacesTheRealOne)
{
    struct Recorder : platform::HelpViewer {
        QString topic;
        bool showTopic(const QString&, const QString&, const QString& t) override
        {
            topic = t;
            return true;
        }
    } recorder;
    platform::setHelpViewer(&recorder);
    EXPECT_TRUE(platform::helpViewer().showTopic(QStringLiteral("x.chm"), QStringLiteral("Main"), QStringLiteral("a.htm")));
    platform::setHelpViewer(nullptr);
    EXPECT_EQ(recorder.topic, QStringLiteral("a.htm"));
    EXPECT_NE(&platform::helpViewer(), static_cast<platform::HelpViewer*>(&recorder));
}
