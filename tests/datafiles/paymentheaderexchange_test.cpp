#include "datafiles/linefilereader.h"
#include "datafiles/paymentheaderexchange.h"
#include "datafiles/paymentlockfile.h"
#include "datafiles/postinglock.h"
#include "datafiles/scramble.h"
#include "datafiles/settingsstore.h"
#include "platform/vb.h"
#include "recordingshell.h"
#include "support/pinnedclock.h"
#include "support/scopedprompts.h"
#include "support/tempprogramfolder.h"
#include "testfiles.h"

#include "support/qtprinters.h"

#include <QFile>
#include <functional>
#include <sys/wait.h>
#include <unistd.h>
#include <gtest/gtest.h>

using namespace datafiles;
using namespace datafilestest;
using testsupport::PinnedClock;
using testsupport::ScopedPrompts;
using testsupport::TempProgramFolder;

namespace {

const QDateTime Now(QDate(2026, 12, 10), QTime(14, 5, 0));

// The header of transaction 21, typed in by hand: a contact company sent it to my company,
// value 150, 50 paid so far, 100 open.
const QStringList HeaderLines = {
    "21", "10.12.2026 9:30:00", "150", "Firma d.o.o.", "False",
    "C:\\Quorvane\\System\\RAzar\\Contacts\\Kupci.QVC", "True", QStringLiteral("Ana Šubic"), "True",
    "Firma d.o.o.", "True", "", "False", "", "False", "50", "100", "3", ""};

// A header file's plain bytes: no line end after its last line.
QByteArray plainHeader(const QStringList& lines)
{
    return plainLines(lines, LastLineEnd::Omitted);
}

struct PaymentFixture {
    TempProgramFolder program;
    SettingsStore store;
    RecordingShell shell{store};
    PinnedClock clock{Now};
    QString header = program.filePath("System/RAzar/Transactions/21.QVTH");
    PaymentRecord payment;

    PaymentFixture() { payment.CLEARALL(); }
    void writeHeader(const QStringList& lines) { program.writeFile("System/RAzar/Transactions/21.QVTH", scrambled(plainHeader(lines))); }
    QString lock() const { return PaymentLockFile::pathFor(header); }
    void hostMode() { store.OptionHost = true; }
};

PaymentRecord cleared()
{
    PaymentRecord r;
    r.CLEARALL();
    return r;
}

} // namespace

TEST(LoadHeaderForPayment, ProposesTheOpenBalanceAndSavingWritesTheNewAmountsBack)
{
    PaymentFixture f;
    ScopedPrompts prompts;
    f.writeHeader(HeaderLines);
    ASSERT_EQ(LoadHeaderForPayment(f.header, f.payment, f.store), PaymentHeaderLoad::Loaded);

    const PaymentRecord& p = f.payment;
    EXPECT_EQ(p.TransactionNumber, (PaymentLabel{"21", "21"}));
    EXPECT_EQ(p.DateandTime, (PaymentLabel{"10.12.2026 9:30:00", "10.12.2026 9:30:00"}));
    EXPECT_EQ(p.TransactionValue, (PaymentLabel{"150", "150"}));
    EXPECT_EQ(p.FromMyCompany.Caption, "Firma d.o.o.");
    EXPECT_EQ(p.FromMyCompany.Value, 0);
    EXPECT_EQ(p.fromcompany, (PaymentLabel{"Kupci.QVC", HeaderLines[5]}));
    EXPECT_EQ(p.fromcontact, (PaymentLabel{QStringLiteral("Ana Šubic"), QStringLiteral("Ana Šubic")}));
    EXPECT_EQ(p.ToMyCompany.Value, 1);
    EXPECT_EQ(p.tocompany, (PaymentLabel{"Firma d.o.o.", "Firma d.o.o."}));
    EXPECT_EQ(p.tocontact, (PaymentLabel{}));
    EXPECT_EQ(p.AmountPaid, (PaymentLabel{"50", "150"}));
    EXPECT_EQ(p.PaymentValue().Text, "100");
    EXPECT_EQ(p.Balance, (PaymentLabel{"0", "100"}));
    EXPECT_EQ(p.fromcompanyiselected.Caption, "3");
    EXPECT_EQ(p.PaymentDate.Caption, platform::vb::GeneralDate(Now));
    EXPECT_EQ(p.lblChangeStatus.ToolTipText, f.header);
    EXPECT_FALSE(QFile::exists(f.lock())) << "no lock on a single machine";

    ASSERT_TRUE(SaveHeaderFromPayment(p.lblChangeStatus.ToolTipText, p));
    const QStringList expected = withLine(withLine(HeaderLines, 16, "150"), 17, "0");
    EXPECT_EQ(contentOf(f.header), scrambled(plainHeader(expected)));
}

TEST(LoadHeaderForPayment, EmptyAmountsCountAsZeroAndTheWholeValueIsProposed)
{
    PaymentFixture f;
    ScopedPrompts prompts;
    f.writeHeader(withLine(withLine(HeaderLines, 16, ""), 17, ""));
    ASSERT_EQ(LoadHeaderForPayment(f.header, f.payment, f.store), PaymentHeaderLoad::Loaded);
    EXPECT_EQ(f.payment.AmountPaid, (PaymentLabel{"0", "150"}));
    EXPECT_EQ(f.payment.PaymentValue().Text, "150");
    EXPECT_EQ(f.payment.Balance.Caption, "0");
    EXPECT_EQ(f.payment.Balance.ToolTipText, "");
}

TEST(LoadHeaderForPayment, PartyFlagsTickMyCompanyOnlyOnAnExactTrue)
{
    // Lines 5 to 9: my-company flag, company file, company flag, contact, contact flag.
    const struct {
        QStringList lines5to9;
        int ticked;
        QString companyShown;
    } cases[] = {
        {{"True", "", "False", "", "False"}, 1, "Firma d.o.o."},
        {{"true", "", "False", "", "False"}, 0, "Firma d.o.o."},
        {{"-1", "", "False", "", "False"}, 0, "Firma d.o.o."},
        {{"True", "", "True", "", "False"}, 0, "Firma d.o.o."},
        {{"True", "", "False", "", "True"}, 0, "Firma d.o.o."},
        {{"False", "/c/Kupci.QVC", "True", "Ana", "True"}, 0, "Kupci.QVC"},
    };
    for (const auto& c : cases) {
        PaymentFixture f;
        ScopedPrompts prompts;
        QStringList lines = HeaderLines;
        for (int i = 0; i < 5; ++i)
            lines[4 + i] = c.lines5to9[i];
        f.writeHeader(lines);
        ASSERT_EQ(LoadHeaderForPayment(f.header, f.payment, f.store), PaymentHeaderLoad::Loaded);
        EXPECT_EQ(f.payment.FromMyCompany.Value, c.ticked) << c.lines5to9.join('|').toStdString();
        EXPECT_EQ(f.payment.fromcompany.Caption, c.companyShown) << c.lines5to9.join('|').toStdString();
    }
}

TEST(SaveHeaderFromPayment, RebuildsThePartyLinesFromTheCheckBoxes)
{
    PaymentFixture f;
    ScopedPrompts prompts;
    f.writeHeader(withLine(withLine(withLine(HeaderLines, 5, "True"), 7, "False"), 9, "False"));
    ASSERT_EQ(LoadHeaderForPayment(f.header, f.payment, f.store), PaymentHeaderLoad::Loaded);
    ASSERT_EQ(f.payment.FromMyCompany.Value, 1);
    ASSERT_TRUE(SaveHeaderFromPayment(f.header, f.payment));
    const QStringList written = LineFileReader::linesOf(scrambled(contentOf(f.header)));
    // The sending company's file and contact (lines 6 and 8) were in the file; a ticked box
    // writes my company as the sender with both empty.
    EXPECT_EQ(written.mid(3, 6), QStringList({"Firma d.o.o.", "True", "", "False", "", "False"}));
}

TEST(LoadHeaderForPayment, AStandingLockRefusesTheLoadNamingItsHolder)
{
    PaymentFixture f;
    f.writeHeader(HeaderLines);
    const QByteArray header = contentOf(f.header);
    f.program.writeFile("System/RAzar/Transactions/21.QVTH.tmp", "ana");
    ScopedPrompts prompts;
    prompts->queueAnswer(platform::Answer::OK);
    EXPECT_EQ(LoadHeaderForPayment(f.header, f.payment, f.store), PaymentHeaderLoad::Locked);
    ASSERT_EQ(prompts->recorded().size(), 1);
    EXPECT_EQ(prompts->recorded()[0].text, f.header + " is already open for payment by ana");
    EXPECT_EQ(prompts->recorded()[0].style, platform::MsgStyle::OkOnly);
    EXPECT_EQ(prompts->recorded()[0].title, "Quorvane");
    EXPECT_EQ(f.payment, cleared());
    EXPECT_EQ(contentOf(f.header), header);
}

TEST(LoadHeaderForPayment, OutsideSingleMachineModeTheLoadTakesTheLockForThisUser)
{
    PaymentFixture f;
    f.hostMode();
    f.writeHeader(HeaderLines);
    {
        ScopedPrompts prompts;
        ASSERT_EQ(LoadHeaderForPayment(f.header, f.payment, f.store), PaymentHeaderLoad::Loaded);
    }
    EXPECT_EQ(contentOf(f.lock()), "tester") << "the user name alone, no line end, not scrambled";

    ScopedPrompts prompts;
    prompts->queueAnswer(platform::Answer::OK);
    PaymentRecord again = cleared();
    EXPECT_EQ(LoadHeaderForPayment(f.header, again, f.store), PaymentHeaderLoad::Locked);
    EXPECT_EQ(prompts->texts(), QStringList({f.header + " is already open for payment by tester"}));
    EXPECT_EQ(again, cleared());
}

// A payment killed in network mode leaves its lock. When the note beside it names a process
// of this computer that has ended, under this user, the next load takes it over; a lock of a
// process still running, of another computer or without a note is honoured.
TEST(LoadHeaderForPayment, ALockLeftByAnEndedProcessOfThisComputerIsTakenOver)
{
    const pid_t ended = [] {
        const pid_t child = ::fork();
        if (child == 0)
            ::_exit(0);
        int status = 0;
        ::waitpid(child, &status, 0);
        return child;
    }();
    struct Case {
        const char* name;
        std::function<void(LockHolder&)> owner; // nullptr: no note at all
        bool takenOver;
    };
    const std::vector<Case> cases{
        {"EndedProcessHere", [&](LockHolder& h) { h.process = ended; h.started = 0; }, true},
        {"EarlierBootHere", [](LockHolder& h) { h.boot = QStringLiteral("an earlier boot"); }, true},
        {"RunningProcessHere", [](LockHolder&) {}, false},
        {"AnotherComputer", [&](LockHolder& h) { h.computer = QStringLiteral("Other"); h.process = ended; }, false},
        {"NoNote", nullptr, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PaymentFixture f;
        f.hostMode();
        f.writeHeader(HeaderLines);
        f.program.writeFile("System/RAzar/Transactions/21.QVTH.tmp", "tester");
        if (c.owner) {
            LockHolder owner = PostingLock::self();
            owner.token = PostingLock::machineId();
            c.owner(owner);
            f.program.writeFile("System/RAzar/Transactions/21.QVTH.tmp.owner", PostingLock::encode(owner, 0));
        }
        ScopedPrompts prompts;
        if (!c.takenOver)
            prompts->queueAnswer(platform::Answer::OK);
        EXPECT_EQ(LoadHeaderForPayment(f.header, f.payment, f.store),
                  c.takenOver ? PaymentHeaderLoad::Loaded : PaymentHeaderLoad::Locked);
        EXPECT_EQ(contentOf(f.lock()), "tester");
        if (c.takenOver) { // this process holds it now
            EXPECT_FALSE(PaymentLockFile::isLeftByEndedProcess(f.header, "tester"));
        }
    }
}

namespace {

// Another machine takes the lock in the moment between the lock test and the taking.
class QuickerMachine : public RecordingShell {
public:
    QuickerMachine(SettingsStore& store, QString lock) : RecordingShell(store), m_lock(std::move(lock)) {}
    void SaznaUserName() override
    {
        RecordingShell::SaznaUserName();
        writeBytes(m_lock, "marko");
    }

private:
    QString m_lock;
};

} // namespace

TEST(LoadHeaderForPayment, TheLockIsTakenInOneStepSoTwoMachinesCannotBothHaveIt)
{
    PaymentFixture f;
    f.hostMode();
    QuickerMachine other(f.store, f.lock());
    f.writeHeader(HeaderLines);
    ScopedPrompts prompts;
    prompts->queueAnswer(platform::Answer::OK);
    EXPECT_EQ(LoadHeaderForPayment(f.header, f.payment, f.store), PaymentHeaderLoad::Locked);
    EXPECT_EQ(prompts->texts(), QStringList({f.header + " is already open for payment by marko"}));
    EXPECT_EQ(f.payment, cleared());
    EXPECT_EQ(contentOf(f.lock()), "marko");

    EXPECT_EQ(PaymentLockFile::take(f.header, "tester"), PaymentLockFile::Take::HeldByOther);
    EXPECT_EQ(contentOf(f.lock()), "marko");
    PaymentLockFile::release(f.header);
    EXPECT_FALSE(QFile::exists(f.lock()));
    EXPECT_EQ(PaymentLockFile::take(f.header, QStringLiteral("Žan")), PaymentLockFile::Take::Taken);
    EXPECT_EQ(contentOf(f.lock()), "\x8E" "an");
    EXPECT_EQ(PaymentLockFile::holder(f.header), QStringLiteral("Žan"));
}

TEST(LoadHeaderForPayment, AFailedLoadLeavesThePaymentAndItsSaveTargetAsTheyWere)
{
    PaymentFixture f;
    f.hostMode();
    f.payment.lblChangeStatus.ToolTipText = "/earlier/20.QVTH";
    f.payment.TransactionNumber = {"20", "20"};
    const PaymentRecord before = f.payment;

    const QByteArray unreadable = plainHeader(withLine(HeaderLines, 1, "No"));
    for (const QByteArray& found : {unreadable, scrambled(unreadable)}) {
        writeBytes(f.header, found);
        ScopedPrompts prompts;
        prompts->queueAnswer(platform::Answer::OK);
        EXPECT_EQ(LoadHeaderForPayment(f.header, f.payment, f.store), PaymentHeaderLoad::Unreadable);
        EXPECT_EQ(f.payment, before);
        ASSERT_EQ(prompts->recorded().size(), 1);
        EXPECT_TRUE(prompts->recorded()[0].text.contains(f.header));
        EXPECT_EQ(contentOf(f.header), found);
        EXPECT_FALSE(QFile::exists(f.lock()));
    }

    QFile::remove(f.header);
    ScopedPrompts prompts;
    prompts->queueAnswer(platform::Answer::OK);
    EXPECT_EQ(LoadHeaderForPayment(f.header, f.payment, f.store), PaymentHeaderLoad::Missing);
    EXPECT_EQ(prompts->texts(), QStringList({"File Don't Exist!"}));
    EXPECT_EQ(prompts->recorded()[0].title, "Transaction Header File");
    EXPECT_EQ(f.payment, before);
}
