// Kills a process group that outlives the time limit of a call into it.

#include "platform/calc/killwatch.h"

#include <csignal>

namespace platform::calc {

KillWatch::KillWatch() : thread_([this] { watch(); }) {}

KillWatch::~KillWatch()
{
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        closing_ = true;
    }
    changed_.notify_one();
    thread_.join();
}

void KillWatch::begin(pid_t pid, int limitMs)
{
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        if (depth_++ > 0)
            return;
        pid_ = pid;
        deadline_ = Clock::now() + std::chrono::milliseconds(limitMs);
    }
    changed_.notify_one();
}

void KillWatch::end()
{
    const std::lock_guard<std::mutex> lock(mutex_);
    if (--depth_ == 0)
        pid_ = -1;
}

void KillWatch::watch()
{
    std::unique_lock<std::mutex> lock(mutex_);
    while (!closing_) {
        if (pid_ <= 0) {
            changed_.wait(lock);
            continue;
        }
        if (changed_.wait_until(lock, deadline_) == std::cv_status::timeout && pid_ > 0
            && Clock::now() >= deadline_) {
            // Killed under the lock: once a timing has ended, its process is never touched.
            ::kill(-pid_, SIGKILL);
            ::kill(pid_, SIGKILL);
            pid_ = -1;
        }
    }
}

KillWatch::Timing::Timing(KillWatch& watch, pid_t pid, int limitMs) : watch_(watch)
{
    watch_.begin(pid, limitMs);
}

KillWatch::Timing::~Timing()
{
    watch_.end();
}

} // namespace platform::calc
