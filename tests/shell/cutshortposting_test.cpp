// A host's or a user's posting (a Save As or a payment) cut short at each of its write steps
// in a child process, then the next start of that computer: the posting is whole (every file
// as before it, or every file as after it) and the start says nothing of damage. The cut is
// a kill, or a stop (a machine asleep) during which another computer takes the lock over and
// posts before the first one goes on.

#include "childprocess.h"
#include "crashscenario.h"
#include "datafiles/transactionheaderfile.h"
#include "platform/safefile.h"
#include "postingfixture.h"
#include "posting/postingjournal.h"
#include "programfixture.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <sys/wait.h>

using namespace shelltest;
using crashtest::Scenario;

namespace {

using postingtest::ChildProcess;

// What the posting moves: the contact's balance, the own balance and both counters where the
// share keeps them, and the three values in this computer's settings file.
struct Values {
    qint64 ana = 0, balance = 0, invoice = 0, payment = 0;
    QStringList settings;
    bool operator==(const Values&) const = default;
};

void PrintTo(const Values& v, std::ostream* os)
{
    *os << "Ana " << v.ana << ", balance " << v.balance << ", invoice " << v.invoice << ", payment " << v.payment
        << ", settings " << v.settings.join(QLatin1Char('/')).toStdString();
}

Values valuesNow()
{
    Values v;
    v.ana = postingtest::balanceOf(crashtest::share() + QStringLiteral("QVNET/RAzar/Contacts/Bank.QVC"), 1).toLongLong();
    const QStringList host = postingtest::hostLines(crashtest::hostFile());
    v.balance = host.value(1).toLongLong();
    v.invoice = host.value(2).toLongLong();
    v.payment = host.value(11).toLongLong();
    const QStringList settings = postingtest::storedLines(datafiles::settingsFilePath());
    v.settings = {settings.value(46), settings.value(47), settings.value(60)};
    return v;
}

// Files a completed posting never leaves: journals, replacements, locks, break markers.
QStringList leftovers(const QString& folder)
{
    QStringList found;
    for (QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
         it.hasNext();) {
        const QFileInfo file = it.nextFileInfo();
        const QString name = file.fileName();
        if (name.endsWith(QLatin1String(".jnl")) || name == QLatin1String("posting.lock")
            || name.startsWith(QLatin1String(".posting.lock.")) || platform::isReplacementFileName(name))
            found << file.filePath();
    }
    return found;
}

// A user's posting unless told otherwise.
class CutShortPosting : public ProgramTest {
protected:
    int scenarioNumber() const
    {
        for (int i = 0; i < crashtest::ScenarioCount; ++i)
            if (std::string(crashtest::Scenarios[i].name) == m_scenario.name)
                return i;
        return -1;
    }
    // The scenario's program folder as it is before the posting, and another computer, a
    // user of the same share, in "peer/".
    void freshFolders()
    {
        program.reset();
        QDir(folder.path()).removeRecursively();
        QDir().mkpath(folder.path());
        ASSERT_TRUE(crashtest::prepare(m_scenario));
        ASSERT_TRUE(crashtest::preparePeer(peer()));
    }
    QString peer() const { return folder.filePath(QStringLiteral("peer")); }

    ChildProcess poster(const char* mode, int step, const ChildProcess::Environment& environment = {})
    {
        return ChildProcess::start(POSTING_CRASH_CHILD,
                                   {folder.path(), QString::number(scenarioNumber()), QString::fromLatin1(mode),
                                    QString::number(step)},
                                   folder.filePath(QStringLiteral("poster.out")), environment);
    }
    // The other computer posts one unit from the own company to Ana, once it has taken the
    // lock over from a holder that stopped counting its lease.
    void otherComputerPosts()
    {
        const QString go = folder.filePath(QStringLiteral("go"));
        QFile(go).open(QIODevice::WriteOnly);
        ChildProcess other =
            ChildProcess::start(POSTING_RACE_CHILD, {peer(), QStringLiteral("Other"), go, "transactions", "1"},
                                folder.filePath(QStringLiteral("other.out")),
                                {{"POSTING_RACE_LEASE_MS", QByteArray::number(Lease)}});
        ASSERT_NE(other.pid(), 0);
        other.wait();
        ASSERT_TRUE(other.exited(0)) << "the other computer's posting failed: " << other.describe();
    }
    // The next start of this computer, with nothing to say.
    void startAgain()
    {
        makeProgram();
        program->store().setNetworkPathTest(postingtest::onShare);
        startProgram();
        EXPECT_TRUE(prompts->texts().isEmpty()) << prompts->texts().join(QLatin1Char('\n')).toStdString();
        program.reset();
    }
    // The values before and after a posting that runs to its end.
    void learnBothStates()
    {
        ASSERT_NO_FATAL_FAILURE(freshFolders());
        before = valuesNow();
        ChildProcess whole = poster("post", 0);
        whole.wait();
        ASSERT_TRUE(whole.exited(0)) << whole.describe();
        after = valuesNow();
        ASSERT_NE(after, before);
    }
    // The values when this computer's posting counts (or not) and the other one posted a unit.
    Values expected(bool posted, int others) const
    {
        Values v = posted ? after : before;
        v.ana += others;
        v.balance -= others;
        v.invoice += others;
        return v;
    }
    // The first step after the journal became visible: from there on the posting counts.
    int firstRename() const { return crashtest::files(m_scenario) + 3; }

    // Short enough for a quick test, long enough that a disk held up by other work does not
    // make a live holder look dead.
    static constexpr int Lease = 3000;
    Scenario m_scenario = crashtest::Scenarios[2];
    Values before, after;
};

class CutShortPostingTest : public CutShortPosting, public ::testing::WithParamInterface<Scenario> {
protected:
    CutShortPostingTest() { m_scenario = GetParam(); }
};

TEST_P(CutShortPostingTest, AKillAtAnyStepIsMadeWholeByTheNextStartWithoutAWord)
{
    ASSERT_NO_FATAL_FAILURE(learnBothStates());
    for (int step = 1; step <= crashtest::writeSteps(m_scenario); ++step) {
        SCOPED_TRACE(step);
        ASSERT_NO_FATAL_FAILURE(freshFolders());
        ChildProcess killed = poster("post", step);
        const int status = killed.wait();
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << killed.describe();
        startAgain();
        EXPECT_EQ(valuesNow(), expected(step >= firstRename(), 0));
        EXPECT_EQ(leftovers(folder.path()), QStringList());
    }
}

// The computer stops at the step; the other computer takes the lock over once its lease has
// stood still, posts, and is told it posted. Then the first goes on and later starts again.
TEST_P(CutShortPostingTest, AStopAtAnyStepLosesNeitherPostingAndTheNextStartSaysNothing)
{
    ASSERT_NO_FATAL_FAILURE(learnBothStates());
    for (int step = 1; step <= crashtest::writeSteps(m_scenario); ++step) {
        SCOPED_TRACE(step);
        ASSERT_NO_FATAL_FAILURE(freshFolders());
        ChildProcess stopped = poster("stop", step, {{"POSTING_LEASE_MS", QByteArray::number(Lease)}});
        ASSERT_TRUE(stopped.waitStopped()) << "the posting did not reach its step: " << stopped.describe();
        ASSERT_NO_FATAL_FAILURE(otherComputerPosts());
        stopped.resume();
        stopped.wait();
        // Told it posted exactly when the posting counts.
        const bool posted = step >= firstRename();
        EXPECT_TRUE(stopped.exited(posted ? 0 : 2)) << stopped.describe();
        startAgain();
        EXPECT_EQ(valuesNow(), expected(posted, 1));
        EXPECT_EQ(leftovers(folder.path()), QStringList());
    }
}

// A user's posting cut short while its journal stood, then a start while the share is out of
// reach: the program falls back to this machine alone, and the new content of this
// computer's settings file, which the share's journal still names, stays. Once the share is
// back, the next start completes the posting.
TEST_F(CutShortPosting, AStartWithoutTheShareKeepsWhatItsJournalNames)
{
    ASSERT_EQ(m_scenario.mode, crashtest::Mode::User);
    ASSERT_NO_FATAL_FAILURE(learnBothStates());
    ASSERT_NO_FATAL_FAILURE(freshFolders());
    ChildProcess killed = poster("post", firstRename()); // the journal stands, nothing is renamed
    const int status = killed.wait();
    ASSERT_TRUE(WIFSIGNALED(status)) << killed.describe();
    const QString share = QDir::cleanPath(crashtest::share());
    ASSERT_TRUE(QDir().rename(share, share + "-away"));

    prompts->queueAnswer(platform::Answer::OK);
    makeProgram();
    program->store().setNetworkPathTest(postingtest::onShare);
    startProgram();
    program.reset();
    ASSERT_EQ(prompts->texts().size(), 1);
    EXPECT_TRUE(prompts->texts().first().startsWith("Quorvane was not able to access")) << prompts->texts().first().toStdString();
    const QStringList kept = QDir(QFileInfo(datafiles::settingsFilePath()).absolutePath())
                                 .entryList({".0.dat.~p*"}, QDir::Files | QDir::Hidden);
    EXPECT_EQ(kept.size(), 1) << "the new content of the settings file was swept";

    ASSERT_TRUE(QDir().rename(share + "-away", share));
    prompts->clear();
    startAgain();
    EXPECT_EQ(valuesNow(), after);
    EXPECT_EQ(leftovers(folder.path()), QStringList());
}

const Scenario NetworkScenarios[] = {crashtest::Scenarios[1], crashtest::Scenarios[2], crashtest::Scenarios[4],
                                     crashtest::Scenarios[5]};

INSTANTIATE_TEST_SUITE_P(Scenarios, CutShortPostingTest, ::testing::ValuesIn(NetworkScenarios),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
