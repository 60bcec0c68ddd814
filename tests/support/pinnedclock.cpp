#include "support/pinnedclock.h"

#include "platform/clock.h"

namespace testsupport {

PinnedClock::PinnedClock(const QDateTime& when)
{
    set(when);
}

PinnedClock::~PinnedClock()
{
    platform::pinClock(QDateTime());
}

void PinnedClock::set(const QDateTime& when)
{
    when_ = when;
    platform::pinClock(when_);
}

void PinnedClock::advanceSeconds(qint64 seconds)
{
    set(when_.addSecs(seconds));
}

} // namespace testsupport
