#include "platform/sound.h"

#include "platform/wavefile.h"

#include <QElapsedTimer>
#include <alsa/asoundlib.h>

#include <dlfcn.h>
#include <mutex>
#include <type_traits>

namespace platform {

namespace {

// The sound library is loaded when the first sound plays, not at every start of the program,
// which most runs never play a sound in. Without it the program is silent, as without a
// sound device.
struct Alsa {
    decltype(&snd_lib_error_set_handler) lib_error_set_handler = nullptr;
    decltype(&snd_pcm_open) pcm_open = nullptr;
    decltype(&snd_pcm_set_params) pcm_set_params = nullptr;
    decltype(&snd_pcm_writei) pcm_writei = nullptr;
    decltype(&snd_pcm_wait) pcm_wait = nullptr;
    decltype(&snd_pcm_recover) pcm_recover = nullptr;
    decltype(&snd_pcm_state) pcm_state = nullptr;
    decltype(&snd_pcm_start) pcm_start = nullptr;
    decltype(&snd_pcm_delay) pcm_delay = nullptr;
    decltype(&snd_pcm_drop) pcm_drop = nullptr;
    decltype(&snd_pcm_close) pcm_close = nullptr;
};

// Null when the library or one of its functions is missing. Never unloaded.
const Alsa* alsa()
{
    static std::once_flag once;
    static Alsa functions;
    static bool found = false;
    std::call_once(once, [] {
        void* library = ::dlopen("libasound.so.2", RTLD_NOW | RTLD_LOCAL);
        if (!library)
            return;
        const auto take = [library](auto& function, const char* name) {
            function = reinterpret_cast<std::remove_reference_t<decltype(function)>>(::dlsym(library, name));
            return function != nullptr;
        };
        found = take(functions.lib_error_set_handler, "snd_lib_error_set_handler")
            && take(functions.pcm_open, "snd_pcm_open") && take(functions.pcm_set_params, "snd_pcm_set_params")
            && take(functions.pcm_writei, "snd_pcm_writei") && take(functions.pcm_wait, "snd_pcm_wait")
            && take(functions.pcm_recover, "snd_pcm_recover") && take(functions.pcm_state, "snd_pcm_state")
            && take(functions.pcm_start, "snd_pcm_start") && take(functions.pcm_delay, "snd_pcm_delay")
            && take(functions.pcm_drop, "snd_pcm_drop") && take(functions.pcm_close, "snd_pcm_close");
    });
    return found ? &functions : nullptr;
}

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
void writeFrames(const Alsa& alsa, snd_pcm_t* pcm, const WaveFile& wave, qint64 deadlineMs, const QElapsedTimer& clock)
{
    const char* p = wave.data.constData();
    snd_pcm_uframes_t left = snd_pcm_uframes_t(wave.frames());
    while (left > 0 && clock.elapsed() < deadlineMs) {
        const snd_pcm_sframes_t n = alsa.pcm_writei(pcm, p, left);
        if (n == -EAGAIN) {
            alsa.pcm_wait(pcm, 50);
            continue;
        }
        if (n < 0) {
            if (alsa.pcm_recover(pcm, int(n), 1) < 0)
                return;
            continue;
        }
        p += n * wave.bytesPerFrame;
        left -= snd_pcm_uframes_t(n);
    }
}

// Waits until the device has played what it holds, within the deadline.
void waitUntilPlayed(const Alsa& alsa, snd_pcm_t* pcm, qint64 deadlineMs, const QElapsedTimer& clock)
{
    if (alsa.pcm_state(pcm) == SND_PCM_STATE_PREPARED)
        alsa.pcm_start(pcm); // a sound shorter than the buffer has not started by itself
    while (clock.elapsed() < deadlineMs) {
        if (alsa.pcm_state(pcm) != SND_PCM_STATE_RUNNING)
            return;
        snd_pcm_sframes_t delay = 0;
        if (alsa.pcm_delay(pcm, &delay) < 0 || delay <= 0)
            return;
        alsa.pcm_wait(pcm, 20);
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
    const Alsa* library = alsa();
    if (!library)
        return;
    const Alsa& alsa = *library;
    alsa.lib_error_set_handler(quietAlsa);
    const QByteArray device = deviceOverride().isEmpty() ? QByteArray("default") : deviceOverride().toLocal8Bit();
    snd_pcm_t* pcm = nullptr;
    if (alsa.pcm_open(&pcm, device.constData(), SND_PCM_STREAM_PLAYBACK, SND_PCM_NONBLOCK) < 0)
        return;
    constexpr unsigned LatencyMicroseconds = 200000;
    if (alsa.pcm_set_params(pcm, alsaFormat(wave->sample), SND_PCM_ACCESS_RW_INTERLEAVED,
                           unsigned(wave->channels), unsigned(wave->rate), 1, LatencyMicroseconds) == 0) {
        QElapsedTimer clock;
        clock.start();
        const qint64 deadlineMs = wave->frames() * 1000 / wave->rate + 2000;
        writeFrames(alsa, pcm, *wave, deadlineMs, clock);
        waitUntilPlayed(alsa, pcm, deadlineMs, clock);
    }
    alsa.pcm_drop(pcm);
    alsa.pcm_close(pcm);
}

} // namespace platform
