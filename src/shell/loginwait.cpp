#include "shell/loginwait.h"

#include <algorithm>

namespace shell {

std::chrono::seconds LoginWait::after(int failures)
{
    if (failures <= FailuresWithoutWait)
        return std::chrono::seconds(0);
    // Doubling stops at the longest wait, well before the number could overflow.
    std::chrono::seconds wait = FirstWait;
    for (int more = failures - FailuresWithoutWait - 1; more > 0 && wait < LongestWait; --more)
        wait *= 2;
    return std::min<std::chrono::seconds>(wait, LongestWait);
}

void LoginWait::start(const QDateTime& now, std::chrono::seconds length)
{
    m_length = std::chrono::milliseconds(length).count();
    m_until = now.addMSecs(m_length);
}

qint64 LoginWait::secondsLeft(const QDateTime& now)
{
    if (m_length <= 0 || !m_until.isValid())
        return 0;
    qint64 left = now.msecsTo(m_until);
    if (left > m_length) {
        m_until = now.addMSecs(m_length);
        left = m_length;
    }
    if (left <= 0) {
        m_length = 0;
        return 0;
    }
    return (left + 999) / 1000;
}

QString LoginWait::text(qint64 secondsLeft)
{
    QString wait;
    if (secondsLeft < 2 * 60)
        wait = secondsLeft == 1 ? QStringLiteral("1 second") : QStringLiteral("%1 seconds").arg(secondsLeft);
    else if (secondsLeft < 2 * 3600)
        wait = QStringLiteral("%1 minutes").arg((secondsLeft + 59) / 60);
    else
        wait = QStringLiteral("%1 hours").arg((secondsLeft + 3599) / 3600);
    return QStringLiteral("Too many wrong passwords. Please wait %1 before you try again.").arg(wait);
}

} // namespace shell
