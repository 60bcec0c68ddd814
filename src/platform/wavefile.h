#pragma once
// A RIFF/WAVE file of PCM samples, read whole: its sample format and its sample bytes.

#include <QByteArray>
#include <QString>
#include <optional>

namespace platform {

struct WaveFile {
    enum class Sample { U8, S16, S24Packed, S32, Float32 };

    Sample sample = Sample::S16;
    int channels = 0;
    int rate = 0;
    int bytesPerFrame = 0;
    QByteArray data; // whole frames only

    // The wave in the bytes; nullopt when they are not a PCM wave this program can play.
    static std::optional<WaveFile> parse(const QByteArray& bytes);
    // The wave in a file; nullopt when it is missing, unreadable or not a playable wave.
    static std::optional<WaveFile> load(const QString& path);

    qint64 frames() const { return bytesPerFrame > 0 ? data.size() / bytesPerFrame : 0; }
};

} // namespace platform
