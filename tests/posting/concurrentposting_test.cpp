// Copies of the program posting at the same moment into the same data, as real processes:
// two copies on one machine, and a host and a user (another computer) on one shared folder.
// No posting is lost, no invoice or payment number is taken twice, no transaction file is
// written over. Then the posting lock's holders: a posting cut short when the share vanished
// is completed by the other computer, and a dead holder does not block for good while a live
// one is honoured.

#include "childprocess.h"
#include "datafiles/datafoldertree.h"
#include "datafiles/hostfile.h"
#include "datafiles/postinglock.h"
#include "datafiles/settingsfile.h"
#include "datafiles/settingsstore.h"
#include "datafiles/transactionheaderfile.h"
#include "platform/programfolder.h"
#include "postingfixture.h"
#include "posting/postingjournal.h"
#include "posting/transactionposting.h"
#include "posting/writestephook.h"
#include "support/qtprinters.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QTest>
#include <gtest/gtest.h>
#include <sys/wait.h>


using namespace postingtest;
using postingtest::ChildProcess;
using datafiles::PostingLock;

namespace {

enum class Layout { TwoCopiesOnOneMachine, HostAndUser };
enum class Work { Transactions, Payments };

struct RaceCase {
    const char* name;
    Layout layout;
    Work work;
};

void PrintTo(const RaceCase& c, std::ostream* os)
{
    *os << c.name;
}

// A copy of the program racing the others, with its output in a file.
ChildProcess raceChild(const QStringList& arguments, const QString& output,
                       const ChildProcess::Environment& environment = {})
{
    return ChildProcess::start(POSTING_RACE_CHILD, arguments, output, environment);
}

// The program folders of the copies, laid out below one temporary folder.
class ConcurrentPostingTest : public ::testing::Test {
protected:
    ~ConcurrentPostingTest() override
    {
        platform::setProgramFolder(program.path());
        PostingLock::setTiming({});
        PostingLock::pretendComputer({}, {});
        posting::setWriteStepHook({});
    }

    QString folder(const char* name) const { return program.filePath(QString::fromLatin1(name)); }
    QString share() const { return folder("share") + QLatin1Char('/'); }
    QString hostFile() const { return share() + QStringLiteral("Firma.QVNET"); }

    // One program folder with its settings, in the mode given.
    void layOut(const QString& programFolder, datafiles::NetworkMode mode)
    {
        QDir().mkpath(programFolder);
        platform::setProgramFolder(programFolder);
        datafiles::CreateDataFolders();
        datafiles::SettingsStore store;
        fillFirma(store);
        if (mode == datafiles::NetworkMode::Host) {
            ASSERT_TRUE(makeHost(store, share()));
        } else if (mode == datafiles::NetworkMode::User) {
            store.OptionUser = true;
            store.lblConnectedtohostname = hostFile();
            store.lblConnectedtohostsystem = share();
        }
        ASSERT_TRUE(datafiles::SaveSettingsFile(store));
        platform::setProgramFolder(program.path());
    }

    // The data both copies post into: Ana in Bank.QVC, and transactions 9 and 10 from Ana
    // to the own company, of 1000 each, to be paid.
    void layOutData(const QString& dataRoot)
    {
        ASSERT_TRUE(writeCompanyFile(dataRoot + "Contacts/Bank.QVC", {{"Ana", "7"}}));
        for (const char* number : {"9", "10"}) {
            datafiles::TransactionHeader h = header(QStringLiteral("1000"));
            h.TransactionNumber.Caption = QString::fromLatin1(number);
            fromContact(h, dataRoot + "Contacts/Bank.QVC", 1, QStringLiteral("Ana"));
            toOwnCompany(h);
            ASSERT_TRUE(datafiles::SaveTransactionHeader(dataRoot + "Transactions/" + number + ".QVTH", h));
        }
    }

    void layOut(Layout layout)
    {
        if (layout == Layout::TwoCopiesOnOneMachine) {
            layOut(folder("one"), datafiles::NetworkMode::SingleMachine);
            m_dataRoot = folder("one") + "/System/RAzar/";
            m_copies = {{folder("one"), QStringLiteral("-")}, {folder("one"), QStringLiteral("-")}};
        } else {
            layOut(folder("host"), datafiles::NetworkMode::Host);
            layOut(folder("user"), datafiles::NetworkMode::User);
            m_dataRoot = share() + "QVNET/RAzar/";
            m_copies = {{folder("host"), QStringLiteral("-")}, {folder("user"), QStringLiteral("Other")}};
        }
        layOutData(m_dataRoot);
    }

    // The own balance and the two counters where the copies keep them now.
    QStringList sharedValues(Layout layout) const
    {
        if (layout == Layout::HostAndUser) {
            const QStringList lines = hostLines(hostFile());
            return {lines.value(1), lines.value(2), lines.value(11)};
        }
        const QStringList lines = storedLines(folder("one") + "/System/RAzar/sys/0.dat");
        return {lines.value(46), lines.value(47), lines.value(60)};
    }

    // Starts the copies together and gives what each printed.
    std::vector<QStringList> race(const std::vector<QStringList>& work)
    {
        const QString go = program.filePath("go");
        std::vector<ChildProcess> children;
        for (size_t i = 0; i < m_copies.size(); ++i)
            children.push_back(raceChild(QStringList{m_copies[i].first, m_copies[i].second, go} + work[i],
                                         program.filePath(QStringLiteral("out%1").arg(i))));
        QFile(go).open(QIODevice::WriteOnly);
        std::vector<QStringList> printed;
        for (ChildProcess& child : children) {
            EXPECT_NE(child.pid(), 0);
            child.wait();
            EXPECT_TRUE(child.exited(0)) << "a copy failed: " << child.describe();
            printed.push_back(child.lines());
        }
        return printed;
    }

    testsupport::TempProgramFolder program;
    QString m_dataRoot;
    std::vector<std::pair<QString, QString>> m_copies; // program folder, computer
};

class RaceTest : public ConcurrentPostingTest, public ::testing::WithParamInterface<RaceCase> {};

constexpr int PerCopy = 40;

TEST_P(RaceTest, NoPostingIsLostAndNoNumberIsTakenTwice)
{
    const RaceCase& c = GetParam();
    layOut(c.layout);
    const QString count = QString::number(PerCopy);
    std::vector<QStringList> work;
    if (c.work == Work::Transactions)
        work = {{"transactions", count}, {"transactions", count}};
    else if (c.layout == Layout::HostAndUser) // a network payment locks its transaction
        work = {{"payments:9", count}, {"payments:10", count}};
    else
        work = {{"payments:9", count}, {"payments:9", count}};
    const std::vector<QStringList> printed = race(work);

    QSet<QString> numbers, files;
    int made = 0;
    for (const QStringList& lines : printed)
        for (const QString& line : lines) {
            const QStringList parts = line.split(QLatin1Char(' '));
            ++made;
            numbers.insert(parts.value(1));
            if (parts.value(0) == QLatin1String("T"))
                files.insert(parts.value(2));
        }
    ASSERT_EQ(made, 2 * PerCopy);
    EXPECT_EQ(numbers.size(), made) << "a number was taken twice";

    const QStringList shared = sharedValues(c.layout);
    // Every unit reached the contact and the own company.
    EXPECT_EQ(balanceOf(m_dataRoot + "Contacts/Bank.QVC", 1), QString::number(7 + made));
    EXPECT_EQ(shared.value(0), QString::number(1000 - made));
    if (c.work == Work::Transactions) {
        EXPECT_EQ(shared.value(1), QString::number(41 + made));
        EXPECT_EQ(files.size(), made);
        const QStringList written =
            QDir(m_dataRoot + "Transactions").entryList({QStringLiteral("*.QVT")}, QDir::Files);
        EXPECT_EQ(written.size(), made) << "a transaction file was written over";
        for (const QString& file : files) // each file carries the number it was saved under
            EXPECT_EQ(storedLines(file + "H").value(0) + ".QVT", QFileInfo(file).fileName());
    } else {
        EXPECT_EQ(shared.value(2), QString::number(7 + made));
        EXPECT_EQ(QDir(m_dataRoot + "Payments").entryList({QStringLiteral("*.QVP")}, QDir::Files).size(), made);
        int paid = 0;
        for (const char* number : {"9", "10"})
            paid += storedLines(m_dataRoot + "Transactions/" + number + ".QVTH").value(15).toInt();
        EXPECT_EQ(paid, made);
    }
    EXPECT_FALSE(QFileInfo::exists(m_dataRoot + "posting.lock"));
}

INSTANTIATE_TEST_SUITE_P(
    Copies, RaceTest,
    ::testing::Values(RaceCase{"TwoCopiesTransactions", Layout::TwoCopiesOnOneMachine, Work::Transactions},
                      RaceCase{"TwoCopiesPayments", Layout::TwoCopiesOnOneMachine, Work::Payments},
                      RaceCase{"HostAndUserTransactions", Layout::HostAndUser, Work::Transactions},
                      RaceCase{"HostAndUserPayments", Layout::HostAndUser, Work::Payments}),
    [](const auto& info) { return std::string(info.param.name); });

// The host's share vanishes while it posts 100 to Ana; the user, another computer, then
// posts 1 to Ana. Whoever takes the lock first completes the host's posting, so both count;
// the host's own settings file, which only it reaches, is completed when it starts again.
TEST_F(ConcurrentPostingTest, APostingCutShortByALostShareIsCompletedByTheOtherComputer)
{
    layOut(Layout::HostAndUser);
    platform::setProgramFolder(folder("host"));
    datafiles::SettingsStore host;
    host.setNetworkPathTest(onShare);
    datafiles::LoadSettingsFile(host);
    ASSERT_TRUE(host.OptionHost.value());

    const QString away = program.filePath("share-away");
    // Replacements of the company file, header, items, settings and host file, the journal
    // written and made visible, then the renames: the share goes before the second.
    posting::setWriteStepHook([&](int step) {
        if (step == 9)
            QDir().rename(folder("share"), away);
        return true;
    });
    datafiles::TransactionHeader h = header(QStringLiteral("100"));
    fromOwnCompany(h);
    toContact(h, m_dataRoot + "Contacts/Bank.QVC", 1, QStringLiteral("Ana"));
    const QString path = m_dataRoot + "Transactions/42.QVT";
    posting::TransactionPosting posting(host);
    const posting::TransactionResult cut =
        posting.post({posting::SaveKind::SaveAs, h, path, lineItemBytes(path)});
    posting::setWriteStepHook({});
    EXPECT_EQ(cut.outcome, posting::Outcome::Deferred) << cut.notice.text.toStdString();
    ASSERT_TRUE(QDir().rename(away, folder("share")));
    ASSERT_TRUE(posting::PostingJournal::exists(m_dataRoot));

    // The host's lock stayed on the share; its holder no longer counts its lease up, so the
    // user takes it over once it has stood unchanged for the lease time.
    ChildProcess user = raceChild({folder("user"), QStringLiteral("Other"), program.filePath("go"), "transactions", "1"},
                                  program.filePath("out-user"), {{"POSTING_RACE_LEASE_MS", "300"}});
    QFile(program.filePath("go")).open(QIODevice::WriteOnly);
    user.wait();
    ASSERT_TRUE(user.exited(0)) << user.describe();

    EXPECT_EQ(balanceOf(m_dataRoot + "Contacts/Bank.QVC", 1), "108");
    EXPECT_EQ(hostLines(hostFile()).value(1), "899");
    EXPECT_EQ(hostLines(hostFile()).value(2), "43");
    EXPECT_EQ(storedLines(path + "H").value(0), "42");
    EXPECT_FALSE(posting::PostingJournal::exists(m_dataRoot));

    // The host starts again: its own part (its settings file) is completed.
    platform::setProgramFolder(folder("host"));
    EXPECT_EQ(posting::CompletePendingPosting(m_dataRoot).state, posting::PendingPosting::State::Completed);
    EXPECT_EQ(storedLines(datafiles::settingsFilePath()).value(46), "900");
    EXPECT_FALSE(QFileInfo::exists(posting::PostingJournal::ownPath(m_dataRoot)));
}

// A lock that another computer left when it died is taken over once it has not changed for
// the lease time; one whose holder lives is honoured, and the message names the holder.
TEST_F(ConcurrentPostingTest, AnotherComputersLockIsHonouredWhileItLivesAndTakenOverWhenDead)
{
    layOut(Layout::HostAndUser);
    platform::setProgramFolder(folder("host"));
    datafiles::SettingsStore host;
    host.setNetworkPathTest(onShare);
    datafiles::LoadSettingsFile(host);
    datafiles::TransactionHeader h = header(QStringLiteral("100"));
    fromOwnCompany(h);
    toContact(h, m_dataRoot + "Contacts/Bank.QVC", 1, QStringLiteral("Ana"));
    const QString path = m_dataRoot + "Transactions/42.QVT";
    posting::TransactionPosting posting(host);

    // Alive: the user holds the lock and counts its lease up.
    const QString release = program.filePath("release");
    ChildProcess holder = raceChild({folder("user"), QStringLiteral("Other"), program.filePath("go"), "hold", release},
                                    program.filePath("out-hold"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFileInfo::exists(release + ".held"); }, 60000));
    PostingLock::setTiming({300, 600000, 100, 600000});
    const posting::TransactionResult busy = posting.post({posting::SaveKind::SaveAs, h, path, lineItemBytes(path)});
    EXPECT_EQ(busy.refusal, posting::Refusal::PostingBusy);
    EXPECT_TRUE(busy.notice.text.startsWith("Other (")) << busy.notice.text.toStdString();
    EXPECT_TRUE(busy.notice.text.contains(m_dataRoot)) << busy.notice.text.toStdString();
    EXPECT_EQ(host.Balance.value(), "1000");
    QFile(release).open(QIODevice::WriteOnly);
    holder.wait();
    ASSERT_TRUE(holder.exited(0)) << holder.describe();

    // Dead: a lock of another computer that nobody counts up any more.
    datafiles::LockHolder dead;
    dead.computer = QStringLiteral("Gone");
    dead.process = 4242;
    dead.boot = QStringLiteral("another boot");
    dead.token = QStringLiteral("deadbeef");
    QFile lock(m_dataRoot + "posting.lock");
    ASSERT_TRUE(lock.open(QIODevice::WriteOnly));
    lock.write(PostingLock::encode(dead, 7));
    lock.close();
    PostingLock::setTiming({600000, 300, 100, 600000});
    const posting::TransactionResult posted = posting.post({posting::SaveKind::SaveAs, h, path, lineItemBytes(path)});
    ASSERT_EQ(posted.outcome, posting::Outcome::Posted) << posted.notice.text.toStdString();
    EXPECT_EQ(host.Balance.value(), "900");
    EXPECT_FALSE(QFileInfo::exists(m_dataRoot + "posting.lock"));
}

} // namespace
