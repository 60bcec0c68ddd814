#pragma once
// How long the login prompt waits before it takes another password, once this run has seen
// five wrong ones: 30 seconds after the fifth, twice as long after each one more, at most a
// day. A login that stays open after its refusals (unsaved work kept the program running)
// can so be tried again, but never quickly enough to guess a password. The wait runs by the
// program's clock, so that tests can pin and move it.

#include <QDateTime>
#include <QString>
#include <chrono>

namespace shell {

class LoginWait {
public:
    // The failures that may follow one another without a wait.
    static constexpr int FailuresWithoutWait = 4;
    static constexpr std::chrono::seconds FirstWait{30};
    static constexpr std::chrono::hours LongestWait{24};

    // The wait after that many failures: none up to four, then 30 s, 60 s, 120 s and so on.
    static std::chrono::seconds after(int failures);

    // Starts a wait of that length at `now`; a length of 0 ends any wait.
    void start(const QDateTime& now, std::chrono::seconds length);
    // Whole seconds left at `now`, rounded up; 0 once the wait is over. A clock set back
    // while waiting does not make the wait longer than it was.
    qint64 secondsLeft(const QDateTime& now);

    // "Too many wrong passwords. Please wait 30 seconds before you try again.", for the
    // seconds left: in seconds below two minutes, in minutes below two hours, else in hours.
    static QString text(qint64 secondsLeft);

private:
    QDateTime m_until;
    qint64 m_length = 0; // in milliseconds
};

} // namespace shell
