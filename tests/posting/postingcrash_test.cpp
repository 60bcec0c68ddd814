// A posting killed at each of its write steps in turn, in a child process, then the start's
// completion of what it left: the files always hold the state before the posting or the
// state after it, never a mix, and completing twice changes nothing more.

#include "crashscenario.h"
#include "datafiles/datafoldertree.h"
#include "postingfiles.h"
#include "platform/safefile.h"
#include "posting/installationkey.h"
#include "posting/postingjournal.h"
#include "support/pinnedclock.h"
#include "support/qtprinters.h"
#include "support/tempprogramfolder.h"

#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

using namespace crashtest;
using posting::CompletePendingPosting;
using posting::PendingPosting;
using postingtest::Snapshot;

namespace {

// Every file of the program folder by its path inside it. Payment locks are the payments
// window's business, not the posting's; the child's header load takes one in host mode. The
// replacements a killed posting wrote before its journal are garbage the start-up sweeps. The
// installation's key, made at its first posting that names a file outside the share, is no
// data of the posting's.
Snapshot state(const QString& folder)
{
    Snapshot relative;
    for (const auto& [path, bytes] : postingtest::snapshot({folder}))
        if (!path.endsWith(QLatin1String(".tmp")) && !path.endsWith(QLatin1String(".tmp.owner"))
            && path != posting::InstallationKey::path()
            && !platform::isReplacementFileName(QFileInfo(path).fileName()))
            relative[path.mid(folder.size())] = bytes;
    return relative;
}

// Equal states, or the files in which they differ.
::testing::AssertionResult sameState(const Snapshot& actual, const Snapshot& expected)
{
    std::string differing;
    for (const auto& [path, bytes] : actual)
        if (!expected.contains(path) || expected.at(path) != bytes)
            differing += " " + path.toStdString();
    for (const auto& [path, bytes] : expected)
        if (!actual.contains(path))
            differing += " " + path.toStdString() + " (missing)";
    if (differing.empty())
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "the files differ:" << differing;
}

class PostingCrashTest : public ::testing::TestWithParam<Scenario> {
protected:
    // The program folder as it is before the posting, at the same path every time, so that
    // the paths the files hold are the same in every run.
    void freshFolder()
    {
        QDir(program.path()).removeRecursively();
        QDir().mkpath(program.path());
        ASSERT_TRUE(prepare(GetParam()));
    }

    int scenarioNumber() const
    {
        for (int i = 0; i < ScenarioCount; ++i)
            if (std::string(Scenarios[i].name) == GetParam().name)
                return i;
        return -1;
    }

    // Runs the child and gives its wait status.
    int child(const char* mode, int killAt)
    {
        const QByteArray folder = program.path().toLocal8Bit();
        const QByteArray scenario = QByteArray::number(scenarioNumber());
        const QByteArray step = QByteArray::number(killAt);
        const char* argv[] = {POSTING_CRASH_CHILD, folder.constData(), scenario.constData(), mode,
                              step.constData(), nullptr};
        pid_t pid = 0;
        if (posix_spawn(&pid, POSTING_CRASH_CHILD, nullptr, nullptr, const_cast<char**>(argv), environ) != 0)
            return -1;
        int status = 0;
        while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
        return status;
    }

    static ::testing::AssertionResult killed(int status)
    {
        if (WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL)
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "the child was not killed: " << describe(status);
    }
    static ::testing::AssertionResult finished(int status)
    {
        if (WIFEXITED(status) && WEXITSTATUS(status) == 0)
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "the child did not finish: " << describe(status);
    }
    static std::string describe(int status)
    {
        if (WIFEXITED(status))
            return "exit status " + std::to_string(WEXITSTATUS(status));
        if (WIFSIGNALED(status))
            return "signal " + std::to_string(WTERMSIG(status));
        return "wait status " + std::to_string(status);
    }

    // The state before and the state after a posting that runs to its end.
    void learnBothStates()
    {
        freshFolder();
        before = state(program.path());
        ASSERT_TRUE(finished(child("post", 0)));
        after = state(program.path());
        ASSERT_NE(after, before);
        ASSERT_FALSE(posting::PostingJournal::exists(postingFolder(GetParam())));
    }

    testsupport::TempProgramFolder program;
    // The host file written as the folder is laid out says when: the same moment every time.
    testsupport::PinnedClock clock{QDateTime(QDate(2026, 12, 10), QTime(12, 0, 0))};
    Snapshot before, after;
};

TEST_P(PostingCrashTest, EveryCutEndsBeforeOrAfterNeverBetween)
{
    learnBothStates();
    const QString folder = postingFolder(GetParam());
    const int journalStep = files(GetParam()) + 2; // the step that makes it visible
    for (int step = 1; step <= writeSteps(GetParam()); ++step) {
        SCOPED_TRACE(step);
        freshFolder();
        ASSERT_TRUE(killed(child("post", step)));
        // The dead child's lock is taken over: same computer, its process is gone.
        const PendingPosting completed = CompletePendingPosting(folder);
        // Before the journal is whole nothing was written; from then on the posting is
        // completed, also when every file was written and only the journal was left.
        const bool cutBefore = step <= journalStep;
        EXPECT_EQ(completed.state, cutBefore ? PendingPosting::State::None : PendingPosting::State::Completed)
            << completed.message.toStdString();
        EXPECT_TRUE(sameState(state(program.path()), cutBefore ? before : after));
        EXPECT_EQ(CompletePendingPosting(folder).state, PendingPosting::State::None);
        EXPECT_TRUE(sameState(state(program.path()), cutBefore ? before : after));
        EXPECT_FALSE(QFileInfo::exists(folder + "posting.lock"));
    }
}

// The completion at start can itself be cut short; the next start completes it.
TEST_P(PostingCrashTest, ACompletionCutShortIsCompletedAtTheNextStart)
{
    learnBothStates();
    const QString folder = postingFolder(GetParam());
    const int count = files(GetParam());
    for (int step = 1; step <= count; ++step) { // the renames left, then the journal's removal
        SCOPED_TRACE(step);
        freshFolder();
        ASSERT_TRUE(killed(child("post", count + 4))); // the journal and the first rename are done
        ASSERT_TRUE(killed(child("complete", step)));
        EXPECT_EQ(CompletePendingPosting(folder).state, PendingPosting::State::Completed);
        EXPECT_TRUE(sameState(state(program.path()), after));
    }
}

INSTANTIATE_TEST_SUITE_P(Scenarios, PostingCrashTest, ::testing::ValuesIn(Scenarios),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
