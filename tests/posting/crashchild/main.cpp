// The crash test's child process: in the program folder it is given, it posts (or completes
// a posting left unfinished) and kills itself with SIGKILL just before the write step it is
// given, as a crash or a power cut would stop it there. Step 0 runs to the end. "stop" stops
// it there instead (SIGSTOP), as a machine that sleeps or pauses would, until it is let go on.
//
//   posting_crash_child <program folder> <scenario number> post|stop|complete <step>
//
// POSTING_LEASE_MS, when set, is the lease of its posting lock (a test where another computer
// takes a stopped holder's lock over); it trusts its own count for three quarters of that.
// Exit status: 0 posted or completed, 2 not posted, 3 a message box was asked for (the
// postings show none), 4 wrong arguments.

#include "crashscenario.h"
#include "datafiles/postinglock.h"
#include "platform/clock.h"
#include "platform/programfolder.h"
#include "platform/prompts.h"
#include "posting/postingjournal.h"
#include "posting/writestephook.h"
#include "support/childprompts.h"

#include <QDateTime>
#include <QString>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <chrono>
#include <thread>
#include <unistd.h>

int main(int argc, char** argv)
{
    if (argc != 5)
        return 4;
    const int scenario = std::atoi(argv[2]);
    const QString mode = QString::fromLocal8Bit(argv[3]);
    const int killAt = std::atoi(argv[4]);
    if (scenario < 0 || scenario >= crashtest::ScenarioCount)
        return 4;
    platform::setProgramFolder(QString::fromLocal8Bit(argv[1]));
    platform::pinClock(QDateTime(QDate(2026, 12, 10), QTime(12, 0, 0)));
    testsupport::NoPrompts prompts;
    platform::setPrompts(&prompts);
    const bool stop = mode == QLatin1String("stop");
    posting::setWriteStepHook([killAt, stop](int step) {
        if (step != killAt)
            return true;
        ::raise(stop ? SIGSTOP : SIGKILL);
        // Woken, the posting goes on a moment later, once the lock's own thread has run: a
        // holder back from a sleep must not take its lease for renewed by that thread.
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        return true;
    });
    if (qEnvironmentVariableIsSet("POSTING_LEASE_MS")) {
        // It trusts its count for three quarters of the lease: a flush of its lock that a
        // busy disk holds up for a moment must not make it give the lock up.
        datafiles::PostingLock::Timing timing;
        timing.leaseMs = qEnvironmentVariableIntValue("POSTING_LEASE_MS");
        timing.refreshMs = 50;
        timing.trustMs = timing.leaseMs * 3 / 4;
        datafiles::PostingLock::setTiming(timing);
    }
    if (mode == QLatin1String("post") || stop)
        return crashtest::post(crashtest::Scenarios[scenario]) ? 0 : 2;
    if (mode == QLatin1String("complete"))
        return posting::CompletePendingPosting(crashtest::postingFolder(crashtest::Scenarios[scenario])).state
                == posting::PendingPosting::State::Completed
            ? 0
            : 2;
    return 4;
}
