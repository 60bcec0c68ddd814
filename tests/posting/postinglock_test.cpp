// The posting lock and its journal when computers stop, sleep or die at the worst moment,
// as real processes: a holder that lost its lease writes nothing more and removes no journal
// but its own; a dead lock is broken by one waiter only, and only while it is still the dead
// one; a breaker killed at its marker blocks nobody for good; a live holder that counts its
// lease up is honoured. The journal is flushed before it becomes visible.

#include "childprocess.h"
#include "crashscenario.h"
#include "datafiles/postinglock.h"
#include "platform/programfolder.h"
#include "platform/safefile.h"
#include "postingfiles.h"
#include "postingfixture.h"
#include "posting/postingjournal.h"
#include "support/pinnedclock.h"
#include "support/qtprinters.h"
#include "support/stracelog.h"
#include "support/tempprogramfolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>
#include <csignal>
#include <map>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using datafiles::PostingLock;
using postingtest::ChildProcess;

namespace {

constexpr int TransactionAsAUser = 2;
// Short enough for a quick test, long enough that a disk held up by other work does not make
// a live holder look dead.
constexpr int Lease = 3000;

// A process of this computer that has ended: its lock is dead at once for a waiter here.
qint64 endedProcess()
{
    const pid_t pid = ::fork();
    if (pid == 0)
        _exit(0);
    int status = 0;
    waitpid(pid, &status, 0);
    return pid;
}

class PostingLockTest : public ::testing::Test {
protected:
    PostingLockTest() { EXPECT_TRUE(crashtest::prepare(crashtest::Scenarios[TransactionAsAUser])); }
    ~PostingLockTest() override { PostingLock::setTiming({}); }

    QString shared() const { return crashtest::postingFolder(crashtest::Scenarios[TransactionAsAUser]); }
    QString lockPath() const { return shared() + PostingLock::fileName(); }
    QString peer() const { return program.filePath(QStringLiteral("peer")); }

    // This computer's copy posting the scenario's Save As, stopped or killed at a step.
    ChildProcess poster(const char* mode, int step)
    {
        return ChildProcess::start(POSTING_CRASH_CHILD,
                                   {program.path(), QString::number(TransactionAsAUser), QString::fromLatin1(mode),
                                    QString::number(step)},
                                   program.filePath(QStringLiteral("poster.out")),
                                   {{"POSTING_LEASE_MS", QByteArray::number(Lease)}});
    }
    // Another copy (of the computer named, "-" for this one) that takes the lock of the share
    // and holds it until told; "<name>.held" appears once it holds it.
    ChildProcess holder(const QString& name, const QString& computer, const ChildProcess::Environment& environment)
    {
        EXPECT_TRUE(crashtest::preparePeer(peer()));
        return ChildProcess::start(POSTING_RACE_CHILD,
                                   {peer(), computer, program.filePath(QStringLiteral("go")), "hold",
                                    program.filePath(name)},
                                   program.filePath(name + QStringLiteral(".out")), environment);
    }
    // The lock is still the one "taker" made (its bytes `takers`), and a third computer cannot
    // take it: nobody else holds it at once. Then the taker lets it go.
    void expectTheTakerAloneHolds(const QByteArray& takers, ChildProcess& taker)
    {
        const auto now = PostingLock::decode(postingtest::contentOf(lockPath()));
        EXPECT_TRUE(now.has_value()) << "the new holder's lock was removed";
        if (now)
            EXPECT_EQ(now->token, PostingLock::decode(takers)->token) << "the new holder's lock was replaced";
        ChildProcess third = holder(QStringLiteral("third"), QStringLiteral("Third"), {{"POSTING_RACE_WAIT_MS", "500"}});
        EXPECT_FALSE(heldBeforeItEnded(QStringLiteral("third"), third)) << "two computers held the lock at once";
        release(QStringLiteral("taker"));
        taker.wait();
    }
    bool holds(const QString& name) const { return QFileInfo::exists(program.filePath(name + QStringLiteral(".held"))); }
    void release(const QString& name) const { QFile(program.filePath(name)).open(QIODevice::WriteOnly); }
    // Waits for a copy that should not get the lock to give up; one that took it after all is
    // let go, so that the test ends either way. Whether it held the lock.
    bool heldBeforeItEnded(const QString& name, ChildProcess& child)
    {
        EXPECT_TRUE(QTest::qWaitFor([&] { return holds(name) || child.ended(); }, 60000));
        const bool held = holds(name);
        if (held)
            release(name);
        child.wait();
        return held;
    }

    // A lock of this computer whose process has ended.
    void leaveDeadLock()
    {
        datafiles::LockHolder dead = PostingLock::self();
        dead.process = endedProcess();
        dead.started = 0;
        dead.token = QStringLiteral("dead0123");
        QFile lock(lockPath());
        ASSERT_TRUE(lock.open(QIODevice::WriteOnly));
        lock.write(PostingLock::encode(dead, 3));
    }

    testsupport::TempProgramFolder program;
    testsupport::PinnedClock clock{QDateTime(QDate(2026, 12, 10), QTime(12, 0, 0))};
};

// A holder stopped right before it removes its journal comes back after another computer
// took the lock over and is half way through its own renames, then dies: the first must not
// remove that computer's journal, so whoever comes next completes its posting.
TEST_F(PostingLockTest, AHolderBackFromASleepRemovesNoJournalButItsOwn)
{
    const crashtest::Scenario& scenario = crashtest::Scenarios[TransactionAsAUser];
    const int files = crashtest::files(scenario);
    ChildProcess first = poster("stop", crashtest::writeSteps(scenario)); // its journal's removal
    ASSERT_TRUE(first.waitStopped()) << first.describe();

    ASSERT_TRUE(crashtest::preparePeer(peer()));
    QFile(program.filePath(QStringLiteral("go"))).open(QIODevice::WriteOnly);
    // The other computer's own posting: its replacements, its journal written and made
    // visible, the company file's rename; it stops before the header's.
    ChildProcess other = ChildProcess::start(
        POSTING_RACE_CHILD, {peer(), QStringLiteral("Other"), program.filePath(QStringLiteral("go")), "transactions", "1"},
        program.filePath(QStringLiteral("other.out")),
        {{"POSTING_RACE_LEASE_MS", QByteArray::number(Lease)}, {"POSTING_STOP_AT_STEP", QByteArray::number(files + 4)}});
    ASSERT_TRUE(other.waitStopped()) << other.describe();
    ASSERT_TRUE(posting::PostingJournal::exists(shared()));

    first.resume();
    first.wait();
    EXPECT_TRUE(first.exited(0)) << first.describe(); // its own posting was whole
    EXPECT_TRUE(posting::PostingJournal::exists(shared())) << "the other computer's journal was removed";
    other.kill();
    other.wait();

    // The dead holder's lock is judged by the lease; this completer trusts its own count long.
    PostingLock::setTiming({60000, Lease, 100, 60000});
    EXPECT_EQ(posting::CompletePendingPosting(shared()).state, posting::PendingPosting::State::Completed);
    // 250 from the first computer's Save As, 1 from the other's posting.
    EXPECT_EQ(postingtest::balanceOf(shared() + "Contacts/Bank.QVC", 1).toStdString(), "258");
    const QStringList host = postingtest::hostLines(crashtest::hostFile());
    EXPECT_EQ(host.value(1).toStdString(), "749");
    EXPECT_EQ(host.value(2).toStdString(), "43");
    EXPECT_EQ(postingtest::storedLines(shared() + "Transactions/43.QVTH").value(0).toStdString(), "43");
}

// A completer that found a damaged journal and slept past its lease before setting it aside
// sets aside nothing but that journal: the journal that stands under the name by then is
// another computer's posting, and hidden it would stay half written for good.
TEST_F(PostingLockTest, ACompleterBackFromASleepSetsAsideNoJournalButTheOneItJudged)
{
    const crashtest::Scenario& scenario = crashtest::Scenarios[TransactionAsAUser];
    const QString journal = posting::PostingJournal::path(shared());
    const QByteArray damaged("QVPOST3\nnot a journal");
    {
        QFile f(journal);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(damaged);
    }
    ChildProcess first = ChildProcess::start(POSTING_CRASH_CHILD,
                                             {program.path(), QString::number(TransactionAsAUser),
                                              QStringLiteral("completestop"), QStringLiteral("1")},
                                             program.filePath(QStringLiteral("completer.out")),
                                             {{"POSTING_LEASE_MS", QByteArray::number(Lease)}});
    ASSERT_TRUE(first.waitStopped()) << first.describe();
    ASSERT_EQ(postingtest::contentOf(journal), damaged); // judged, not yet set aside

    const QString bank = shared() + "Contacts/Bank.QVC";
    const qint64 balance = postingtest::balanceOf(bank, 1).toLongLong();
    QFile(program.filePath(QStringLiteral("go"))).open(QIODevice::WriteOnly);
    // Another computer takes the dead lock over and sets the damaged journal aside itself;
    // then it posts: its journal shows and its company file is renamed; it stops before the
    // header's rename.
    ChildProcess taker = holder(QStringLiteral("taker"), QStringLiteral("Other"),
                                {{"POSTING_RACE_LEASE_MS", QByteArray::number(Lease)}});
    ASSERT_TRUE(QTest::qWaitFor([&] { return holds(QStringLiteral("taker")); }, 60000)) << taker.describe();
    ASSERT_FALSE(QFileInfo::exists(journal));
    release(QStringLiteral("taker"));
    taker.wait();
    ChildProcess other = ChildProcess::start(
        POSTING_RACE_CHILD, {peer(), QStringLiteral("Other"), program.filePath(QStringLiteral("go")), "transactions", "1"},
        program.filePath(QStringLiteral("other.out")),
        {{"POSTING_RACE_LEASE_MS", QByteArray::number(Lease)},
         {"POSTING_STOP_AT_STEP", QByteArray::number(crashtest::files(scenario) + 4)}});
    ASSERT_TRUE(other.waitStopped()) << other.describe();
    const QByteArray theirs = postingtest::contentOf(journal);
    ASSERT_FALSE(theirs.isEmpty());
    ASSERT_NE(theirs, damaged);

    first.resume();
    first.wait();
    EXPECT_TRUE(first.exited(2)) << first.describe(); // told it set nothing aside
    EXPECT_EQ(postingtest::contentOf(journal), theirs) << "the other computer's journal was set aside";
    other.kill();
    other.wait();

    PostingLock::setTiming({60000, Lease, 100, 60000});
    EXPECT_EQ(posting::CompletePendingPosting(shared()).state, posting::PendingPosting::State::Completed);
    EXPECT_EQ(postingtest::balanceOf(bank, 1).toLongLong(), balance + 1);
}

// A completer that hands another installation's entries on to that installation's journal,
// and sleeps past its lease between its last check and the rename, puts no older journal over
// what happened meanwhile: here the other installation has completed them itself and moved
// its file on since. Put back, they would be taken for a posting overtaken by a later one.
TEST_F(PostingLockTest, ACompleterBackFromASleepHandsNoEntriesOnThatWereDealtWithMeanwhile)
{
    const QString own = program.filePath(QStringLiteral("own.txt"));
    const auto write = [](const QString& path, const QByteArray& bytes) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
    };
    write(own, "old");
    ASSERT_TRUE(posting::PostingJournal::stage(shared(), {{own, "new"}}));

    // Another installation of this computer completes the share's journal: the entry is not
    // its own, so it writes it into this installation's journal; it stops right before that
    // rename, its last check passed.
    ChildProcess other = ChildProcess::start(POSTING_CRASH_CHILD,
                                             {program.makeFolder(QStringLiteral("second")),
                                              QString::number(TransactionAsAUser), QStringLiteral("completestop"),
                                              QStringLiteral("1")},
                                             program.filePath(QStringLiteral("second.out")),
                                             {{"POSTING_LEASE_MS", QByteArray::number(Lease)},
                                              {"POSTING_COMPLETE_FOLDER", shared().toLocal8Bit()}});
    ASSERT_TRUE(other.waitStopped()) << other.describe();
    ASSERT_FALSE(QFileInfo::exists(posting::PostingJournal::ownPath(shared())));

    // This installation takes the lapsed lock over and completes its entry itself; a later
    // save moves its file on.
    PostingLock::setTiming({60000, Lease, 100, 60000});
    ASSERT_EQ(posting::CompletePendingPosting(shared()).state, posting::PendingPosting::State::Completed);
    ASSERT_EQ(postingtest::contentOf(own), "new");
    write(own, "newer");

    other.resume();
    other.wait();
    EXPECT_TRUE(other.exited(2)) << other.describe(); // told it wrote nothing
    EXPECT_FALSE(QFileInfo::exists(posting::PostingJournal::ownPath(shared())));
    const posting::PendingPosting next = posting::CompletePendingPosting(shared());
    EXPECT_EQ(next.state, posting::PendingPosting::State::None) << next.message.toStdString();
    EXPECT_EQ(postingtest::contentOf(own), "newer");
}

// A journal made by its path while a link stands in place of the lock's folder lands
// elsewhere: the posting looks for it where it belongs and, not finding it there, is told as
// not saved, rather than as cut short and left to a completion that would never find it.
TEST_F(PostingLockTest, AJournalMadeThroughALinkInPlaceOfItsFolderIsNoJournal)
{
    const crashtest::Scenario& scenario = crashtest::Scenarios[TransactionAsAUser];
    const QString bank = shared() + "Contacts/Bank.QVC";
    const QString balance = postingtest::balanceOf(bank, 1);
    ChildProcess poster = this->poster("stop", crashtest::files(scenario) + 1); // its replacements written, no journal yet
    ASSERT_TRUE(poster.waitStopped()) << poster.describe();

    // The lock's folder is moved away and a link to a folder elsewhere put in its place,
    // with the lock as it stands, so that the holder's last look finds its lock.
    const QString folder = QDir::cleanPath(shared());
    const QString moved = folder + QStringLiteral(".real");
    const QString elsewhere = program.makeFolder(QStringLiteral("elsewhere"));
    ASSERT_TRUE(QDir().rename(folder, moved));
    ASSERT_TRUE(QFile::copy(moved + QStringLiteral("/posting.lock"), elsewhere + QStringLiteral("/posting.lock")));
    ASSERT_TRUE(QFile::link(elsewhere, folder));
    poster.resume();
    poster.wait();
    ASSERT_TRUE(QFile::remove(folder));
    ASSERT_TRUE(QDir().rename(moved, folder));

    EXPECT_TRUE(poster.exited(2)) << poster.describe(); // told as not saved
    EXPECT_FALSE(posting::PostingJournal::exists(shared()));
    EXPECT_EQ(postingtest::balanceOf(bank, 1), balance);
}

// A holder whose lease went unrenewed longer than it trusts (the machine slept) writes
// nothing more, even when nobody has taken its lock over yet: a waiter may be at it.
TEST_F(PostingLockTest, AHolderWhoseLeaseLapsedWritesNothingMore)
{
    const crashtest::Scenario& scenario = crashtest::Scenarios[TransactionAsAUser];
    const postingtest::Snapshot before = postingtest::snapshot({program.path()});
    ChildProcess sleeper = poster("stop", crashtest::files(scenario) + 2); // right before the journal shows
    ASSERT_TRUE(sleeper.waitStopped()) << sleeper.describe();
    // Asleep for longer than the holder trusts its count (three quarters of the lease).
    std::this_thread::sleep_for(std::chrono::milliseconds(Lease));
    sleeper.resume();
    sleeper.wait();
    EXPECT_TRUE(sleeper.exited(2)) << sleeper.describe();
    postingtest::Snapshot after = postingtest::snapshot({program.path()});
    for (auto it = after.begin(); it != after.end();) // the installation's key, and the child's output
        it = it->first.contains(QLatin1String("posting.key")) || it->first.contains(QLatin1String("poster.out"))
            ? after.erase(it)
            : std::next(it);
    EXPECT_EQ(after, before);
    EXPECT_FALSE(posting::PostingJournal::exists(shared()));
}

// A holder stopped between the look at its lease and counting it up, for longer than the
// lease, does not take its late count for a renewal: a waiter may have judged the lock dead
// meanwhile. The look is no fence; what counts is when the count was made.
TEST_F(PostingLockTest, AHolderStoppedAsItCountsItsLeaseUpTakesTheLateCountForNoRenewal)
{
    ChildProcess late = holder(QStringLiteral("late"), QStringLiteral("-"),
                               {{"POSTING_RACE_LEASE_MS", QByteArray::number(Lease)},
                                {"POSTING_RACE_TRUST_MS", QByteArray::number(Lease * 3 / 4)},
                                {"POSTING_BREAK_AT", "Renewing:stop"}});
    ASSERT_TRUE(late.waitStopped()) << late.describe();
    // Asleep for longer than the lease, with its count looked at and not yet made.
    std::this_thread::sleep_for(std::chrono::milliseconds(Lease + 500));
    release(QStringLiteral("late"));
    late.resume();
    late.wait();
    ASSERT_TRUE(late.exited(0)) << late.describe();
    EXPECT_EQ(postingtest::contentOf(program.filePath(QStringLiteral("late.out"))).trimmed(), "lapsed");
}

// A holder on another computer that counts its lease up is never taken for dead, however
// long the waiter waits past the lease.
TEST_F(PostingLockTest, ALiveHolderCountingItsLeaseUpIsHonoured)
{
    ChildProcess live = holder(QStringLiteral("live"), QStringLiteral("Other"), {});
    ASSERT_TRUE(QTest::qWaitFor([&] { return holds(QStringLiteral("live")); }, 60000)) << live.describe();
    PostingLock::setTiming({2 * Lease, Lease, 2000, 0});
    PostingLock lock(shared());
    lock.setCompletes(false);
    EXPECT_EQ(lock.acquire(), PostingLock::Status::Busy);
    EXPECT_EQ(lock.holder().computer, "Other");
    release(QStringLiteral("live"));
    live.wait();
    EXPECT_TRUE(live.exited(0)) << live.describe();
}

// The marker: while one waiter breaks a dead lock, another never breaks it too.
TEST_F(PostingLockTest, ADeadLockIsBrokenByOneWaiterOnly)
{
    ASSERT_NO_FATAL_FAILURE(leaveDeadLock());
    ChildProcess breaker = holder(QStringLiteral("breaker"), QStringLiteral("-"), {{"POSTING_BREAK_AT", "LockReread:stop"}});
    ASSERT_TRUE(breaker.waitStopped()) << breaker.describe();
    ChildProcess second = holder(QStringLiteral("second"), QStringLiteral("-"), {{"POSTING_RACE_WAIT_MS", "1000"}});
    EXPECT_FALSE(heldBeforeItEnded(QStringLiteral("second"), second)) << "the second waiter broke the lock too";
    EXPECT_TRUE(second.exited(2)) << second.describe();
    EXPECT_FALSE(holds(QStringLiteral("second")));
    breaker.resume();
    ASSERT_TRUE(QTest::qWaitFor([&] { return holds(QStringLiteral("breaker")); }, 60000)) << breaker.describe();
    release(QStringLiteral("breaker"));
    breaker.wait();
}

// A waiter that judged a lock dead, then slept, finds it broken and taken by another: it
// must not remove the new holder's lock.
TEST_F(PostingLockTest, ALockTakenMeanwhileIsNotBrokenAsTheDeadOne)
{
    ASSERT_NO_FATAL_FAILURE(leaveDeadLock());
    ChildProcess late = holder(QStringLiteral("late"), QStringLiteral("-"),
                               {{"POSTING_BREAK_AT", "JudgedDead:stop"}, {"POSTING_RACE_WAIT_MS", "1000"}});
    ASSERT_TRUE(late.waitStopped()) << late.describe();
    ChildProcess taker = holder(QStringLiteral("taker"), QStringLiteral("-"), {});
    ASSERT_TRUE(QTest::qWaitFor([&] { return holds(QStringLiteral("taker")); }, 60000)) << taker.describe();
    const QByteArray takers = postingtest::contentOf(lockPath());

    late.resume();
    EXPECT_FALSE(heldBeforeItEnded(QStringLiteral("late"), late)) << "the late waiter took the lock";
    EXPECT_TRUE(late.exited(2)) << late.describe();
    EXPECT_FALSE(holds(QStringLiteral("late")));
    const auto now = PostingLock::decode(postingtest::contentOf(lockPath()));
    ASSERT_TRUE(now.has_value()) << "the new holder's lock was removed";
    EXPECT_EQ(now->token, PostingLock::decode(takers)->token) << "the new holder's lock was replaced";
    release(QStringLiteral("taker"));
    taker.wait();
}

// A breaker that slept between its second look at the dead lock and its removal, while a
// waiter judged its marker dead, broke the lock and took it: on waking it must not remove the
// new holder's live lock, which a third would then take beside it.
TEST_F(PostingLockTest, ABreakerBackFromASleepRemovesNoLiveLock)
{
    ASSERT_NO_FATAL_FAILURE(leaveDeadLock());
    const ChildProcess::Environment lease{{"POSTING_RACE_LEASE_MS", QByteArray::number(Lease)}};
    ChildProcess late = holder(QStringLiteral("late"), QStringLiteral("-"),
                               {{"POSTING_BREAK_AT", "LockReread:stop"}, {"POSTING_RACE_WAIT_MS", "1000"}, lease.front()});
    ASSERT_TRUE(late.waitStopped()) << late.describe();
    ChildProcess taker = holder(QStringLiteral("taker"), QStringLiteral("Other"), lease);
    ASSERT_TRUE(QTest::qWaitFor([&] { return holds(QStringLiteral("taker")); }, 60000)) << taker.describe();
    const QByteArray takers = postingtest::contentOf(lockPath());

    late.resume();
    EXPECT_FALSE(heldBeforeItEnded(QStringLiteral("late"), late)) << "the late breaker took the lock";
    expectTheTakerAloneHolds(takers, taker);
}

// A holder that slept inside its letting go, after it found its own lock at the name and
// before it removed it, while another computer took the lapsed lock over: on waking it must
// not remove that computer's lock.
TEST_F(PostingLockTest, AHolderBackFromASleepInItsReleaseRemovesNoLockButItsOwn)
{
    const ChildProcess::Environment lease{{"POSTING_RACE_LEASE_MS", QByteArray::number(Lease)}};
    ChildProcess first = holder(QStringLiteral("first"), QStringLiteral("-"), {{"POSTING_BREAK_AT", "Releasing:stop"}, lease.front()});
    ASSERT_TRUE(QTest::qWaitFor([&] { return holds(QStringLiteral("first")); }, 60000)) << first.describe();
    release(QStringLiteral("first"));
    ASSERT_TRUE(first.waitStopped()) << first.describe();
    ChildProcess taker = holder(QStringLiteral("taker"), QStringLiteral("Other"), lease);
    ASSERT_TRUE(QTest::qWaitFor([&] { return holds(QStringLiteral("taker")); }, 60000)) << taker.describe();
    const QByteArray takers = postingtest::contentOf(lockPath());

    first.resume();
    first.wait();
    EXPECT_TRUE(first.exited(0)) << first.describe();
    expectTheTakerAloneHolds(takers, taker);
}

// A breaker killed while it held its marker: every later wait still ends within its limit,
// and the lock is taken once the marker is judged dead as a lock would be.
TEST_F(PostingLockTest, AMarkerLeftByAKilledBreakerBlocksNobodyForGood)
{
    ASSERT_NO_FATAL_FAILURE(leaveDeadLock());
    ChildProcess killed = holder(QStringLiteral("killed"), QStringLiteral("-"), {{"POSTING_BREAK_AT", "MarkerTaken:kill"}});
    const int status = killed.wait();
    ASSERT_TRUE(WIFSIGNALED(status)) << killed.describe();
    ASSERT_FALSE(QDir(shared()).entryList({QStringLiteral(".posting.lock.broken-*")}, QDir::Files | QDir::Hidden).isEmpty());

    ChildProcess next = holder(QStringLiteral("next"), QStringLiteral("-"), {{"POSTING_RACE_WAIT_MS", "5000"}});
    const bool took = QTest::qWaitFor([&] { return holds(QStringLiteral("next")); }, 60000);
    if (!took)
        next.kill();
    ASSERT_TRUE(took) << "the waiter never took the lock";
    release(QStringLiteral("next"));
    next.wait();

    // A marker that looks alive (another computer's, met within the lease): the wait ends at
    // its limit with the busy answer.
    ASSERT_NO_FATAL_FAILURE(leaveDeadLock());
    datafiles::LockHolder breaker;
    breaker.computer = QStringLiteral("Away");
    breaker.boot = QStringLiteral("another boot");
    QFile marker(shared() + QStringLiteral(".posting.lock.broken-dead0123"));
    ASSERT_TRUE(marker.open(QIODevice::WriteOnly));
    marker.write(PostingLock::encode(breaker, 0));
    marker.close();
    ChildProcess waiter = holder(QStringLiteral("waiter"), QStringLiteral("-"), {{"POSTING_RACE_WAIT_MS", "500"}});
    const bool ended = QTest::qWaitFor([&] { return waiter.ended(); }, 60000);
    if (!ended)
        waiter.kill();
    waiter.wait();
    EXPECT_TRUE(ended) << "the wait did not end within its limit";
}

// The journal's bytes reach the disk before its name does, and its name before any file is
// renamed on the strength of it.
// A completion that hands another installation's entries on to that installation's journal
// has that journal's bytes and its folder on the disk before its own journal goes: a machine
// that stops in between must not lose the entries with both journals.
TEST_F(PostingLockTest, AJournalHandedOnIsOnTheDiskBeforeTheJournalItCameFromGoes)
{
    const QString strace = QStandardPaths::findExecutable(QStringLiteral("strace"));
    ASSERT_FALSE(strace.isEmpty()) << "strace is missing (scripts/setup.sh installs it)";
    const QString own = program.filePath(QStringLiteral("own.txt"));
    {
        QFile f(own);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("old");
    }
    ASSERT_TRUE(posting::PostingJournal::stage(shared(), {{own, "new"}}));
    const QString log = program.filePath(QStringLiteral("strace.log"));
    QProcess child;
    child.setProcessChannelMode(QProcess::MergedChannels);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("POSTING_COMPLETE_FOLDER"), shared());
    child.setProcessEnvironment(environment);
    child.start(strace, {"-f", "-qq", "-y", "-s", "4096", "-e",
                         "trace=write,fsync,fdatasync,link,linkat,rename,renameat,renameat2,unlink,unlinkat", "-e",
                         "signal=none", "-o", log, POSTING_CRASH_CHILD, program.makeFolder(QStringLiteral("second")),
                         QString::number(TransactionAsAUser), "complete", "0"});
    ASSERT_TRUE(child.waitForFinished(-1));
    ASSERT_EQ(child.exitCode(), 0) << child.readAll().toStdString();
    ASSERT_TRUE(QFile::exists(posting::PostingJournal::ownPath(shared())));
    QFile traced(log);
    ASSERT_TRUE(traced.open(QIODevice::ReadOnly));
    const std::vector<testsupport::TracedCall> calls = testsupport::tracedCalls(traced.readAll());
    SCOPED_TRACE("the completion's calls:\n" + testsupport::listed(calls));

    const QString folder = QDir::cleanPath(QFileInfo(shared()).canonicalFilePath());
    const QString theirs = QFileInfo(posting::PostingJournal::ownPath(shared())).fileName();
    std::size_t handed = calls.size();
    for (std::size_t i = 0; i < calls.size() && handed == calls.size(); ++i)
        if (calls[i].name.startsWith(QLatin1String("rename")) && QFileInfo(calls[i].path).fileName() == theirs)
            handed = i;
    ASSERT_LT(handed, calls.size()) << "the entries were not handed on by a rename";
    const QString replacement = folder + QLatin1Char('/') + QFileInfo(calls[handed].from).fileName();
    bool bytesFlushed = false;
    for (std::size_t i = 0; i < handed; ++i)
        bytesFlushed |= isFlush(calls[i]) && calls[i].path == replacement;
    EXPECT_TRUE(bytesFlushed) << "the handed-on journal's bytes were not flushed before its rename";

    const QString journal = folder + QStringLiteral("/posting.jnl");
    std::size_t gone = calls.size();
    for (std::size_t i = handed + 1; i < calls.size() && gone == calls.size(); ++i)
        if (calls[i].name.startsWith(QLatin1String("rename")) && calls[i].from == journal)
            gone = i;
    ASSERT_LT(gone, calls.size()) << "the completed journal was not taken away";
    bool folderFlushed = false;
    for (std::size_t i = handed + 1; i < gone; ++i)
        folderFlushed |= isFlush(calls[i]) && calls[i].path == folder;
    EXPECT_TRUE(folderFlushed) << "the folder was not flushed between the hand-on and the journal's going";
}

TEST_F(PostingLockTest, TheJournalIsFlushedBeforeItShowsAndItsFolderBeforeTheRenames)
{
    const QString strace = QStandardPaths::findExecutable(QStringLiteral("strace"));
    ASSERT_FALSE(strace.isEmpty()) << "strace is missing (scripts/setup.sh installs it)";
    const QString log = program.filePath(QStringLiteral("strace.log"));
    QProcess child;
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(strace, {"-f", "-qq", "-y", "-s", "4096", "-e",
                         "trace=write,fsync,fdatasync,link,linkat,rename,renameat,renameat2", "-e", "signal=none", "-o",
                         log, POSTING_CRASH_CHILD, program.path(), QString::number(TransactionAsAUser), "post", "0"});
    ASSERT_TRUE(child.waitForFinished(-1));
    ASSERT_EQ(child.exitCode(), 0) << child.readAll().toStdString();
    QFile traced(log);
    ASSERT_TRUE(traced.open(QIODevice::ReadOnly));
    const std::vector<testsupport::TracedCall> calls = testsupport::tracedCalls(traced.readAll());
    SCOPED_TRACE("the posting's calls:\n" + testsupport::listed(calls));

    const QString folder = QDir::cleanPath(QFileInfo(shared()).canonicalFilePath());
    const QString journal = folder + QStringLiteral("/posting.jnl");
    std::size_t shown = calls.size();
    for (std::size_t i = 0; i < calls.size() && shown == calls.size(); ++i)
        if (calls[i].name.startsWith(QLatin1String("link")) && calls[i].path == journal)
            shown = i;
    ASSERT_LT(shown, calls.size()) << "the journal was not made visible by a link";
    const QString temporary = calls[shown].from;
    bool bytesFlushed = false;
    for (std::size_t i = 0; i < shown; ++i)
        bytesFlushed |= isFlush(calls[i]) && calls[i].path == temporary;
    EXPECT_TRUE(bytesFlushed) << "the journal's bytes were not flushed before it showed";

    std::size_t firstRename = calls.size();
    for (std::size_t i = shown + 1; i < calls.size() && firstRename == calls.size(); ++i)
        if (calls[i].name.startsWith(QLatin1String("rename"))
            && platform::isReplacementFileName(QFileInfo(calls[i].from).fileName()))
            firstRename = i;
    ASSERT_LT(firstRename, calls.size()) << "no replacement was renamed after the journal";
    bool folderFlushed = false;
    for (std::size_t i = shown + 1; i < firstRename; ++i)
        folderFlushed |= isFlush(calls[i]) && calls[i].path == folder;
    EXPECT_TRUE(folderFlushed) << "the journal's folder was not flushed before the first rename";

    // Every folder a replacement was renamed in is flushed before the journal goes: a machine
    // that stops once it has gone must find every rename on the disk, or the posting is half
    // written with nothing left to complete it.
    std::size_t gone = calls.size();
    for (std::size_t i = firstRename; i < calls.size() && gone == calls.size(); ++i)
        if (calls[i].name.startsWith(QLatin1String("rename")) && calls[i].from == journal)
            gone = i;
    ASSERT_LT(gone, calls.size()) << "the journal was not taken away after the renames";
    static const QRegularExpression descriptor(QStringLiteral(R"(^\d+<([^>]*)>)"));
    std::map<QString, std::size_t> lastRenameIn; // by folder
    for (std::size_t i = firstRename; i < gone; ++i) {
        const testsupport::TracedCall& call = calls[i];
        if (!call.name.startsWith(QLatin1String("rename")) || !platform::isReplacementFileName(QFileInfo(call.from).fileName()))
            continue;
        // A rename by path names its folder; one between folder handles names the handle's.
        const QString in = call.from.startsWith(QLatin1Char('/')) ? QFileInfo(call.path).absolutePath()
                                                                  : descriptor.match(call.arguments).captured(1);
        lastRenameIn[in] = i;
        // Its bytes were on the disk before the journal that names it showed.
        const QString replacement = call.from.startsWith(QLatin1Char('/')) ? call.from : in + QLatin1Char('/') + call.from;
        bool bytesOnDisk = false;
        for (std::size_t j = 0; j < shown; ++j)
            bytesOnDisk |= isFlush(calls[j]) && calls[j].path == replacement;
        EXPECT_TRUE(bytesOnDisk) << "the replacement " << replacement.toStdString() << " was not flushed before the journal showed";
    }
    EXPECT_GE(lastRenameIn.size(), 2u) << "the posting's renames were not all seen";
    for (const auto& [in, last] : lastRenameIn) {
        bool flushed = false;
        for (std::size_t i = last + 1; i < gone; ++i)
            flushed |= isFlush(calls[i]) && calls[i].path == in;
        EXPECT_TRUE(flushed) << "the folder " << in.toStdString() << " was not flushed before the journal went";
    }
}

} // namespace
