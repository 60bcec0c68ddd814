#pragma once
// The current date and time, through one place so that tests can pin it.

#include <QDateTime>

namespace platform {

QDateTime now();
// Pins the clock to a fixed moment (tests); an invalid QDateTime releases it.
void pinClock(const QDateTime& when);

} // namespace platform
