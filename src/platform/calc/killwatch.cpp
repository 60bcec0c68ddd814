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
    bool sooner = false;
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        if (depth_++ > 0)
            return;
        pid_ = pid;
        deadline_ = Clock::now() + std::chrono::milliseconds(limitMs);
        // The watcher wakes at the time it waits for and then looks again: only a deadline
        // before that time needs to wake it, so most calls cost no thread switch.
        sooner = pid_ > 0 && deadline_ < waitingUntil_;
    }
    if (sooner)
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
            waitingUntil_ = Clock::time_point::max();
            changed_.wait(lock);
            continue;
        }
        waitingUntil_ = deadline_;
        changed_.wait_until(lock, waitingUntil_);
        if (pid_ > 0 && Clock::now() >= deadline_) {
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
