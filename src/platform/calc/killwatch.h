#pragma once
// A time limit on calls into a process that may no longer answer: past it the process
// group is killed, and the blocked calls return with the connection gone.

#include <condition_variable>
#include <mutex>
#include <sys/types.h>
#include <thread>

namespace platform::calc {

class KillWatch {
public:
    // Watches pid (our unreaped child, so the pid is still its own) for limitMs.
    KillWatch(pid_t pid, int limitMs);
    // Dismisses the watch; the process is left alone if the limit has not passed.
    ~KillWatch();
    KillWatch(const KillWatch&) = delete;
    KillWatch& operator=(const KillWatch&) = delete;

private:
    std::mutex mutex_;
    std::condition_variable done_;
    bool dismissed_ = false;
    std::thread thread_;
};

} // namespace platform::calc
