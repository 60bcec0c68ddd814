#include "platform/wavefile.h"

#include <QFile>
#include <QtEndian>

namespace platform {

namespace {

constexpr qint64 MaxWaveBytes = 64 * 1024 * 1024; // far beyond any short program sound

quint16 u16(const QByteArray& b, qsizetype at)
{
    return qFromLittleEndian<quint16>(b.constData() + at);
}

quint32 u32(const QByteArray& b, qsizetype at)
{
    return qFromLittleEndian<quint32>(b.constData() + at);
}

struct Format {
    int tag = 0;
    int channels = 0;
    int rate = 0;
    int bits = 0;
};

std::optional<WaveFile::Sample> sampleOf(const Format& f)
{
    constexpr int Pcm = 1;
    constexpr int IeeeFloat = 3;
    if (f.tag == Pcm) {
        switch (f.bits) {
        case 8: return WaveFile::Sample::U8;
        case 16: return WaveFile::Sample::S16;
        case 24: return WaveFile::Sample::S24Packed;
        case 32: return WaveFile::Sample::S32;
        default: return std::nullopt;
        }
    }
    if (f.tag == IeeeFloat && f.bits == 32)
        return WaveFile::Sample::Float32;
    return std::nullopt;
}

} // namespace

std::optional<WaveFile> WaveFile::parse(const QByteArray& bytes)
{
    if (bytes.size() < 12 || !bytes.startsWith("RIFF") || bytes.mid(8, 4) != "WAVE")
        return std::nullopt;
    std::optional<Format> format;
    QByteArray data;
    bool haveData = false;
    qsizetype at = 12;
    while (at + 8 <= bytes.size()) {
        const QByteArray id = bytes.mid(at, 4);
        const qint64 size = u32(bytes, at + 4);
        const qsizetype body = at + 8;
        const qint64 available = qMin<qint64>(size, bytes.size() - body); // a cut-off file plays what it has
        if (id == "fmt " && available >= 16) {
            Format f {u16(bytes, body), u16(bytes, body + 2), int(u32(bytes, body + 4)), u16(bytes, body + 14)};
            constexpr int Extensible = 0xFFFE;
            if (f.tag == Extensible && available >= 26)
                f.tag = u16(bytes, body + 24); // the sub-format's first two bytes
            format = f;
        } else if (id == "data" && !haveData) {
            data = bytes.mid(body, available);
            haveData = true;
        }
        at = body + size + (size & 1);
    }
    if (!format || !haveData)
        return std::nullopt;
    const auto sample = sampleOf(*format);
    if (!sample || format->channels < 1 || format->channels > 8 || format->rate < 1000
        || format->rate > 384000)
        return std::nullopt;
    WaveFile wave;
    wave.sample = *sample;
    wave.channels = format->channels;
    wave.rate = format->rate;
    wave.bytesPerFrame = format->channels * (format->bits / 8);
    wave.data = data.left(data.size() - data.size() % wave.bytesPerFrame);
    return wave;
}

std::optional<WaveFile> WaveFile::load(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > MaxWaveBytes)
        return std::nullopt;
    return parse(file.readAll());
}

} // namespace platform
