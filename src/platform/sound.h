#pragma once
// Playing the program's short wave sounds.

#include <QString>

namespace platform {

// Plays a .wav file to its end and returns then. Silent, with no error, when the file is
// missing or unreadable or when no sound device can be opened.
void playSound(const QString& wavPath);

// Plays through another ALSA device ("null" in tests); "" restores "default".
void setSoundDevice(const QString& alsaDevice);

} // namespace platform
