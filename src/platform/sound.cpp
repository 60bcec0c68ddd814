#include "platform/sound.h"

#include "platform/wavefile.h"

#include <QElapsedTimer>
#include <alsa/asoundlib.h>

namespace platform {

namespace {

QString& deviceOverride()
{
    static QString device;
    return device;
}

void quietAlsa(const char*, int, const char*, int, const char*, ...)
{
    // ALSA's own complaints (no card, no configuration) would only clutter the terminal.
}

snd_pcm_format_t alsaFormat(WaveFile::Sample sample)
{
    switch (sample) {
    case WaveFile::Sample::U8: return SND_PCM_FORMAT_U8;
    case WaveFile::Sample::S16: return SND_PCM_FORMAT_S16_LE;
    case WaveFile::Sample::S24Packed: return SND_PCM_FORMAT_S24_3LE;
    case WaveFile::Sample::S32: return SND_PCM_FORMAT_S32_LE;
    case WaveFile::Sample::Float32: return SND_PCM_FORMAT_FLOAT_LE;
    }
    return SND_PCM_FORMAT_S16_LE;
}

// Writes every frame, never waiting past the deadline: a stuck device ends the sound early
// instead of freezing the program.
void writeFrames(snd_pcm_t* pcm, const WaveFile& wave, qint64 deadlineMs, const QElapsedTimer& clock)
{
    const char* p = wave.data.constData();
    snd_pcm_uframes_t left = snd_pcm_uframes_t(wave.frames());
    while (left > 0 && clock.elapsed() < deadlineMs) {
        const snd_pcm_sframes_t n = snd_pcm_writei(pcm, p, left);
        if (n == -EAGAIN) {
            snd_pcm_wait(pcm, 50);
            continue;
        }
        if (n < 0) {
            if (snd_pcm_recover(pcm, int(n), 1) < 0)
                return;
            continue;
        }
        p += n * wave.bytesPerFrame;
        left -= snd_pcm_uframes_t(n);
    }
}

// Waits until the device has played what it holds, within the deadline.
void waitUntilPlayed(snd_pcm_t* pcm, qint64 deadlineMs, const QElapsedTimer& clock)
{
    if (snd_pcm_state(pcm) == SND_PCM_STATE_PREPARED)
        snd_pcm_start(pcm); // a sound shorter than the buffer has not started by itself
    while (clock.elapsed() < deadlineMs) {
        if (snd_pcm_state(pcm) != SND_PCM_STATE_RUNNING)
            return;
        snd_pcm_sframes_t delay = 0;
        if (snd_pcm_delay(pcm, &delay) < 0 || delay <= 0)
            return;
        snd_pcm_wait(pcm, 20);
        struct timespec pause {0, 10 * 1000 * 1000};
        nanosleep(&pause, nullptr);
    }
}

} // namespace

void setSoundDevice(const QString& alsaDevice)
{
    deviceOverride() = alsaDevice;
}

void playSound(const QString& wavPath)
{
    const std::optional<WaveFile> wave = WaveFile::load(wavPath);
    if (!wave || wave->frames() == 0)
        return;
    snd_lib_error_set_handler(quietAlsa);
    const QByteArray device = deviceOverride().isEmpty() ? QByteArray("default") : deviceOverride().toLocal8Bit();
    snd_pcm_t* pcm = nullptr;
    if (snd_pcm_open(&pcm, device.constData(), SND_PCM_STREAM_PLAYBACK, SND_PCM_NONBLOCK) < 0)
        return;
    constexpr unsigned LatencyMicroseconds = 200000;
    if (snd_pcm_set_params(pcm, alsaFormat(wave->sample), SND_PCM_ACCESS_RW_INTERLEAVED,
                           unsigned(wave->channels), unsigned(wave->rate), 1, LatencyMicroseconds) == 0) {
        QElapsedTimer clock;
        clock.start();
        const qint64 deadlineMs = wave->frames() * 1000 / wave->rate + 2000;
        writeFrames(pcm, *wave, deadlineMs, clock);
        waitUntilPlayed(pcm, deadlineMs, clock);
    }
    snd_pcm_drop(pcm);
    snd_pcm_close(pcm);
}

} // namespace platform
