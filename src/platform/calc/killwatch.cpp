// Kills a process group that outlives its time limit.

#include "platform/calc/killwatch.h"

#include <chrono>
#include <csignal>

namespace platform::calc {

KillWatch::KillWatch(pid_t pid, int limitMs)
    : thread_([this, pid, limitMs] {
          std::unique_lock<std::mutex> lock(mutex_);
          const bool dismissed =
              done_.wait_for(lock, std::chrono::milliseconds(limitMs), [this] { return dismissed_; });
          if (!dismissed && pid > 0) {
              ::kill(-pid, SIGKILL);
              ::kill(pid, SIGKILL);
          }
      })
{
}

KillWatch::~KillWatch()
{
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        dismissed_ = true;
    }
    done_.notify_one();
    thread_.join();
}

} // namespace platform::calc
