#include "platform/clock.h"
#include "platform/programfolder.h"

#include <gtest/gtest.h>

TEST(Clock, PinnedClockGivesThePinnedMomentUntilReleased)
{
    const QDateTime when(QDate(2024, 2, 29), QTime(23, 59, 58));
    platform::pinClock(when);
    EXPECT_EQ(platform::now(), when);
    platform::pinClock(QDateTime());
    EXPECT_NE(platform::now(), when);
}

TEST(ProgramFolder, OverrideIsUsedWithoutTrailingSeparator)
{
    platform::setProgramFolder(QStringLiteral("/tmp/qv-test/"));
    EXPECT_EQ(platform::programFolder(), QStringLiteral("/tmp/qv-test"));
    platform::setProgramFolder(QString());
    EXPECT_FALSE(platform::programFolder().isEmpty());
}
