#pragma once
// A time limit on calls into a process that may no longer answer: past it the process
// group is killed, and the blocked calls return with the connection gone. One watching
// thread serves every timed call, so timing a call costs no thread of its own.

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <sys/types.h>
#include <thread>

namespace platform::calc {

class KillWatch {
public:
    KillWatch();
    ~KillWatch();
    KillWatch(const KillWatch&) = delete;
    KillWatch& operator=(const KillWatch&) = delete;

    // Times the calls made while it lives. pid is our unreaped child, so the pid is still
    // its own; a timing inside another keeps the outer one's process and limit.
    class Timing {
    public:
        Timing(KillWatch& watch, pid_t pid, int limitMs);
        ~Timing();
        Timing(const Timing&) = delete;
        Timing& operator=(const Timing&) = delete;

    private:
        KillWatch& watch_;
    };

private:
    using Clock = std::chrono::steady_clock;

    void begin(pid_t pid, int limitMs);
    void end();
    void watch();

    std::mutex mutex_;
    std::condition_variable changed_;
    int depth_ = 0;
    pid_t pid_ = -1;
    Clock::time_point deadline_;
    Clock::time_point waitingUntil_ = Clock::time_point::max(); // the watcher's next look
    bool closing_ = false;
    std::thread thread_;
};

} // namespace platform::calc
