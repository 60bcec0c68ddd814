// The host's own writes into its share (its host file, and the copy of its data tree) when
// the host is stopped right after its last check of the posting lock, for longer than the
// lease: another computer takes the lock over and posts, and is told its posting is saved.
// When the host wakes, its write must change nothing of that posting, and the host is told
// that it wrote nothing. Real processes, each with its own name and process space.

#include "childprocess.h"
#include "crashscenario.h"
#include "datafiles/postinglock.h"
#include "postingfixture.h"
#include "support/pinnedclock.h"
#include "support/tempprogramfolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

using datafiles::PostingLock;
using postingtest::ChildProcess;

namespace {

constexpr int TransactionOnTheHost = 1;
// Short enough for a quick test, long enough that a disk held up by other work does not make
// a live holder look dead.
constexpr int Lease = 3000;

// What the share holds for its users: every file but the lock's own bookkeeping, which
// comes and goes with whoever holds it.
postingtest::Snapshot shareData()
{
    postingtest::Snapshot files = postingtest::snapshot({crashtest::share()});
    for (auto it = files.begin(); it != files.end();)
        it = QFileInfo(it->first).fileName().startsWith(QLatin1String("posting.lock")) ? files.erase(it) : std::next(it);
    return files;
}

struct HostMoment {
    const char* name;
    const char* mode;   // of the crash child
    const char* moment; // where it stops
    const char* told;   // what the host is told on waking
};

void PrintTo(const HostMoment& moment, std::ostream* os)
{
    *os << moment.name;
}

class HostWriteAfterItsLastCheck : public ::testing::TestWithParam<HostMoment> {
protected:
    HostWriteAfterItsLastCheck()
    {
        EXPECT_TRUE(crashtest::prepare(crashtest::Scenarios[TransactionOnTheHost]));
        // Something of the host's own for the copy to bring.
        QDir().mkpath(program.filePath(QStringLiteral("System/RAzar/Items")));
        QFile item(program.filePath(QStringLiteral("System/RAzar/Items/Oak.QVI")));
        EXPECT_TRUE(item.open(QIODevice::WriteOnly));
        item.write("the host's oak");
    }

    QString peer() const { return program.filePath(QStringLiteral("peer")); }

    testsupport::TempProgramFolder program;
    testsupport::PinnedClock clock{QDateTime(QDate(2026, 12, 10), QTime(12, 0, 0))};
};

TEST_P(HostWriteAfterItsLastCheck, ChangesNothingOfAPostingMadeMeanwhileAndTellsSo)
{
    const HostMoment& moment = GetParam();
    ChildProcess host = ChildProcess::start(POSTING_CRASH_CHILD,
                                            {program.path(), QString::number(TransactionOnTheHost),
                                             QString::fromLatin1(moment.mode), QString::fromLatin1(moment.moment)},
                                            program.filePath(QStringLiteral("host.out")),
                                            {{"POSTING_LEASE_MS", QByteArray::number(Lease)}});
    ASSERT_TRUE(host.waitStopped()) << host.describe();

    // Another computer posts one unit to Ana: it waits out the stopped host's lease, takes
    // the lock over and is told its posting was saved as number 42.
    ASSERT_TRUE(crashtest::preparePeer(peer()));
    QFile(program.filePath(QStringLiteral("go"))).open(QIODevice::WriteOnly);
    ChildProcess other = ChildProcess::start(
        POSTING_RACE_CHILD, {peer(), QStringLiteral("Other"), program.filePath(QStringLiteral("go")), "transactions", "1"},
        program.filePath(QStringLiteral("other.out")), {{"POSTING_RACE_LEASE_MS", QByteArray::number(Lease)}});
    other.wait();
    ASSERT_TRUE(other.exited(0)) << other.describe();
    ASSERT_EQ(other.lines().value(0).section(QLatin1Char(' '), 0, 1).toStdString(), "T 42");
    const postingtest::Snapshot posted = shareData();

    host.resume();
    host.wait();
    EXPECT_TRUE(host.exited(2)) << host.describe();
    EXPECT_TRUE(host.lines().join(QLatin1Char('\n')).contains(QLatin1String(moment.told)))
        << host.lines().join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(shareData(), posted) << "the host's late write changed the share";
    const QStringList hostFile = postingtest::hostLines(crashtest::hostFile());
    EXPECT_EQ(hostFile.value(1).toStdString(), "999"); // 1000, less the other computer's unit
    EXPECT_EQ(hostFile.value(2).toStdString(), "42");  // its number, the last one given
    EXPECT_EQ(postingtest::balanceOf(crashtest::share() + "QVNET/RAzar/Contacts/Bank.QVC", 1).toStdString(), "8");
}

INSTANTIATE_TEST_SUITE_P(
    FencedWrites, HostWriteAfterItsLastCheck,
    ::testing::Values(HostMoment{"TheHostFile", "writehost", "HostFileChecked", "was not written"},
                      HostMoment{"TheHostCopyBeforeItsExchange", "hostcopy", "ExchangeNext", "was not copied"}),
    [](const ::testing::TestParamInfo<HostMoment>& info) { return std::string(info.param.name); });

// A posting reads the company files of the share through a handle on it. A user of the share
// who puts a link to a file elsewhere on the poster's computer in place of a company file,
// and the file back once the posting has read it, would otherwise make the posting write
// what that other file holds into the share.
TEST(ConfinedPostingReads, ALinkPutInPlaceOfACompanyFileBringsNothingFromElsewhereIntoTheShare)
{
    constexpr int TransactionAsAUser = 2;
    testsupport::TempProgramFolder program;
    const crashtest::Scenario& scenario = crashtest::Scenarios[TransactionAsAUser];
    ASSERT_TRUE(crashtest::prepare(scenario));
    const QString bank = crashtest::share() + QStringLiteral("QVNET/RAzar/Contacts/Bank.QVC");
    ASSERT_TRUE(QFileInfo(bank).isFile());
    const QString secret = program.makeFolder(QStringLiteral("private")) + QStringLiteral("/Bank.QVC");
    ASSERT_TRUE(postingtest::writeCompanyFile(secret, {{"Ana", "7"}, {"Secret", "1000000"}}));
    const QString kept = program.filePath(QStringLiteral("Bank.QVC.kept"));
    ASSERT_TRUE(QFile::rename(bank, kept));
    ASSERT_TRUE(QFile::link(secret, bank));
    const QByteArray secretBytes = postingtest::contentOf(secret);

    // Stopped once it has read the files it changes, where the link is taken away again.
    ChildProcess poster = ChildProcess::start(
        POSTING_CRASH_CHILD, {program.path(), QString::number(TransactionAsAUser), QStringLiteral("readstop"), QStringLiteral("0")},
        program.filePath(QStringLiteral("poster.out")), {});
    const bool stopped = poster.waitStopped();
    if (stopped) {
        ASSERT_TRUE(QFile::remove(bank));
        ASSERT_TRUE(QFile::copy(kept, bank));
        poster.resume();
        poster.wait();
    }
    EXPECT_FALSE(stopped) << "the posting read the file the link leads to";
    EXPECT_TRUE(poster.exited(2)) << poster.describe(); // refused, not posted
    EXPECT_TRUE(QFileInfo(bank).isSymLink()); // nothing was written in its place
    if (!QFileInfo(bank).isSymLink())
        EXPECT_NE(postingtest::cellOf(bank, 2, 1).toStdString(), "Secret");
    EXPECT_EQ(postingtest::contentOf(secret), secretBytes);
}

} // namespace

