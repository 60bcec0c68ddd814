// The crash test's child process: in the program folder it is given, it posts (or completes
// a posting left unfinished) and kills itself with SIGKILL just before the write step it is
// given, as a crash or a power cut would stop it there. Step 0 runs to the end. "stop" stops
// it there instead (SIGSTOP), as a machine that sleeps or pauses would, until it is let go on;
// "completestop" stops a completion so, and prints what the completion tells; "sweepstop"
// stops the sweep of dead replacements under the lock so, as a start makes it; "stalesweep"
// sweeps the share's stale temporary files as a start does, stopped (SIGSTOP) right before
// its first removal.
//
//   posting_crash_child <program folder> <scenario number> post|stop|complete|completestop|sweepstop <step>
//   posting_crash_child <program folder> <scenario number> stalesweep 0
//   posting_crash_child <program folder> <scenario number> writehost|hostcopy <moment>
//
// "writehost" writes the host file as the settings window does after the host changed its
// company's city; "hostcopy" copies the host's data tree into its share as the settings window
// does when it makes the host again. Each stops itself (SIGSTOP) at the moment named
// (HostFileChecked, or a step of the tree copy: ExchangeNext, Exchanged) and prints any
// message it would show, answered OK.
//
// POSTING_LEASE_MS, when set, is the lease of its posting lock (a test where another computer
// takes a stopped holder's lock over); it trusts its own count for three quarters of that.
// Exit status: 0 posted or completed, 2 not posted, 3 a message box was asked for (the
// postings show none), 4 wrong arguments.

#include "crashscenario.h"
#include "datafiles/datafoldertree.h"
#include "datafiles/hostdatacopy.h"
#include "datafiles/hostfile.h"
#include "datafiles/postinglock.h"
#include "datafiles/settingsfile.h"
#include "datafiles/settingsstore.h"
#include "datafiles/stagedtreecopy.h"
#include "postingfiles.h"
#include "platform/clock.h"
#include "platform/programfolder.h"
#include "platform/prompts.h"
#include "platform/safefile.h"
#include "posting/postingjournal.h"
#include "posting/writestephook.h"
#include "support/childprompts.h"

#include <QDateTime>
#include <QMap>
#include <QString>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <chrono>
#include <thread>
#include <unistd.h>

namespace {

// Messages are printed and answered OK: the writes under a lock that was taken over tell so.
class PrintedPrompts : public testsupport::NoPrompts {
public:
    platform::Answer MsgBox(const QString& text, int, const QString&) override
    {
        std::printf("%s\n", text.toLocal8Bit().constData());
        std::fflush(stdout);
        return platform::Answer::OK;
    }
};

void stopHere()
{
    ::raise(SIGSTOP);
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
}

// The host's own writes into its share, stopped at a moment.
int writeAsTheHost(const QString& mode, const QString& moment)
{
    PrintedPrompts prompts;
    platform::setPrompts(&prompts);
    datafiles::SettingsStore store;
    store.setNetworkPathTest(postingtest::onShare);
    datafiles::LoadSettingsFile(store);
    if (mode == QLatin1String("writehost")) {
        datafiles::PostingLock::setBreakStepHook([moment](datafiles::PostingLock::BreakStep step) {
            if (step == datafiles::PostingLock::BreakStep::HostFileChecked && moment == QLatin1String("HostFileChecked"))
                stopHere();
        });
        store.CompanyCity = QStringLiteral("Maribor");
        return datafiles::WriteHostFile(store) ? 0 : 2;
    }
    const QMap<QString, datafiles::TreeCopyStep> steps{{QStringLiteral("ExchangeNext"), datafiles::TreeCopyStep::ExchangeNext},
                                                       {QStringLiteral("Exchanged"), datafiles::TreeCopyStep::Exchanged}};
    if (!steps.contains(moment))
        return 4;
    datafiles::setTreeCopyStepHook([at = steps.value(moment)](datafiles::TreeCopyStep step) {
        if (step == at)
            stopHere();
    });
    const platform::FileResult copied = datafiles::HostDataCopy::copy(
        datafiles::programPath(QStringLiteral("System/RAzar")), datafiles::DataRoot(store), {});
    if (!copied)
        std::printf("%s\n", copied.error.toLocal8Bit().constData());
    return copied ? 0 : 2;
}

} // namespace

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
    const bool stop = mode == QLatin1String("stop") || mode == QLatin1String("completestop")
        || mode == QLatin1String("sweepstop");
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
    if (mode == QLatin1String("writehost") || mode == QLatin1String("hostcopy"))
        return writeAsTheHost(mode, QString::fromLocal8Bit(argv[4]));
    if (mode == QLatin1String("readstop")) // stopped once it has read what it changes
        datafiles::PostingLock::setBreakStepHook([](datafiles::PostingLock::BreakStep step) {
            if (step == datafiles::PostingLock::BreakStep::PostingRead)
                stopHere();
        });
    if (mode == QLatin1String("post") || mode == QLatin1String("stop") || mode == QLatin1String("readstop"))
        return crashtest::post(crashtest::Scenarios[scenario]) ? 0 : 2;
    if (mode == QLatin1String("complete") || mode == QLatin1String("completestop")) {
        // Another installation's completion of the folder named, from a program folder of its own.
        QString folder = qEnvironmentVariable("POSTING_COMPLETE_FOLDER");
        if (folder.isEmpty()) {
            folder = crashtest::postingFolder(crashtest::Scenarios[scenario]);
        } else {
            datafiles::CreateDataFolders();
            datafiles::SettingsStore store;
            store.CompanyName = QStringLiteral("Second");
            if (!datafiles::SaveSettingsFile(store))
                return 4;
        }
        const posting::PendingPosting pending = posting::CompletePendingPosting(folder);
        if (!pending.message.isEmpty()) {
            std::printf("%s\n", pending.message.toLocal8Bit().constData());
            std::fflush(stdout);
        }
        return pending.state == posting::PendingPosting::State::Completed ? 0 : 2;
    }
    if (mode == QLatin1String("stalesweep")) {
        platform::setStaleRemovalHook([](const QString&) { stopHere(); });
        std::printf("%d\n", platform::removeStaleTemporaryFilesBelow(crashtest::share() + QStringLiteral("QVNET")));
        return 0;
    }
    if (mode == QLatin1String("sweepstop")) {
        datafiles::PostingLock lock(crashtest::postingFolder(crashtest::Scenarios[scenario]));
        lock.setCompletes(false);
        if (lock.acquire() != datafiles::PostingLock::Status::Held)
            return 2;
        std::printf("%d\n", posting::removeDeadReplacements(lock.folder()));
        return 0;
    }
    return 4;
}
