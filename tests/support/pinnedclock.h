#pragma once
// Pins the program's clock to a fixed moment for the life of a test scope.

#include <QDateTime>

namespace testsupport {

class PinnedClock {
public:
    explicit PinnedClock(const QDateTime& when);
    ~PinnedClock();
    PinnedClock(const PinnedClock&) = delete;
    PinnedClock& operator=(const PinnedClock&) = delete;

    void set(const QDateTime& when);
    void advanceSeconds(qint64 seconds);
    QDateTime when() const { return when_; }

private:
    QDateTime when_;
};

} // namespace testsupport
