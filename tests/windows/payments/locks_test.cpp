// The payment lock in host and user mode: the window releases the lock it wrote, whichever
// way the payment was started, and never a lock of another user or another computer; two
// installations sharing one data folder never both get the same transaction.

#include "paymentsfixture.h"

#include "datafiles/paymentfile.h"

#include <QDir>
#include <QLineEdit>
#include <QTemporaryDir>

namespace paymentstest {
namespace {

using platform::Answer;

class PaymentLocks : public PaymentsTest {
public:
    PaymentLocks()
    {
        for (const char* folder : {"Contacts", "Transactions", "Payments"})
            QDir().mkpath(sharedFolder(folder));
        machine.beHost(share.path());
    }

    QString sharedFolder(const char* kind) const { return share.path() + "/QVNET/RAzar/" + kind + "/"; }
    // A transaction of 500 from the own company to Ana of the shared Bank.QVC.
    QString sharedTransaction(const QString& name = QStringLiteral("41.QVT"))
    {
        datafiles::TransactionHeader h = header(QStringLiteral("500"));
        fromOwnCompany(h);
        toContact(h, company(QStringLiteral("Bank.QVC"), {{"Ana", "0"}}, sharedFolder("Contacts")), 1,
                  QStringLiteral("Ana"));
        return transaction(name, h, sharedFolder("Transactions"));
    }
    static std::optional<QByteArray> lockOf(const QString& transactionPath)
    {
        return bytesOf(transactionPath + "H.tmp");
    }
    static void writeLock(const QString& transactionPath, const QByteArray& holder)
    {
        QFile lock(transactionPath + "H.tmp");
        ASSERT_TRUE(lock.open(QIODevice::WriteOnly));
        lock.write(holder);
    }

    QTemporaryDir share;
};

TEST_F(PaymentLocks, OpenTransactionTakesTheLockNamingThisUser)
{
    openWindow();
    const QString path = sharedTransaction();
    openTransaction(path);
    EXPECT_EQ(shown("TransactionNumber"), "41");
    EXPECT_EQ(lockOf(path), QByteArray("anna"));
    EXPECT_EQ(window->heldLock().headerPath(), path + "H");

    // A choice cancelled, or refused, leaves the payment shown and its lock held.
    prompts->queueOpenCancel();
    window->cmdFind_Click();
    EXPECT_EQ(lockOf(path), QByteArray("anna"));
    EXPECT_TRUE(window->heldLock().holds());
    machine.store.CheckReadWrite.Value = 0;
    machine.store.OptionUser = true;
    machine.store.lblConnectedtohostsystem = share.path() + "/";
    prompts->queueOpen(path);
    prompts->queueAnswer(Answer::OK);
    window->cmdFind_Click();
    EXPECT_EQ(prompts->recorded().last().text,
              "Network users are not allowed to edit files. Contact your network host for assistance. ");
    EXPECT_EQ(shown("TransactionNumber"), "41");
    EXPECT_EQ(lockOf(path), QByteArray("anna"));
    machine.store.OptionHost = true;

    // Choosing it again reloads it: the window's own lock does not refuse it.
    openTransaction(path);
    EXPECT_EQ(shown("TransactionNumber"), "41");
    EXPECT_EQ(lockOf(path), QByteArray("anna"));
    EXPECT_EQ(prompts->recorded().last().kind, testsupport::PromptKind::ShowOpen);
}

struct ReleaseCase {
    const char* name;
    std::function<void(PaymentLocks&, windows::frmPayments&, const QString& other)> leave;
};

void PrintTo(const ReleaseCase& c, std::ostream* os)
{
    *os << c.name;
}

class LockRelease : public PaymentLocks, public ::testing::WithParamInterface<ReleaseCase> {};

// Every way the window leaves a payment releases the lock it wrote for it; a payment
// started from the transactions window holds its lock like any other.
TEST_P(LockRelease, ReleasesTheLockItWrote)
{
    for (bool startedFromTransactions : {false, true}) {
        SCOPED_TRACE(startedFromTransactions ? "Enter Payment" : "Open Transaction");
        machine.CommonDialog4 = {};
        openWindow();
        const QString path = sharedTransaction();
        const QString other = sharedTransaction(QStringLiteral("42.QVT"));
        if (startedFromTransactions)
            window->enterPayment(path);
        else
            openTransaction(path);
        ASSERT_EQ(lockOf(path), QByteArray("anna"));
        GetParam().leave(*this, *window, other);
        EXPECT_FALSE(lockOf(path));
        window.reset();
        EXPECT_FALSE(lockOf(other));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Ways, LockRelease,
    ::testing::Values(
        ReleaseCase{"Closing", [](PaymentLocks&, windows::frmPayments& w, const QString&) { w.close(); }},
        ReleaseCase{"OpenTransactionOfAnother",
                    [](PaymentLocks& t, windows::frmPayments&, const QString& other) { t.openTransaction(other); }},
        ReleaseCase{"EnterPaymentOfAnother",
                    [](PaymentLocks&, windows::frmPayments& w, const QString& other) { w.enterPayment(other); }},
        ReleaseCase{"OpenPayment",
                    [](PaymentLocks& t, windows::frmPayments& w, const QString&) {
                        datafiles::PaymentRecord stored;
                        stored.TransactionNumber = {QStringLiteral("40"), QStringLiteral("40")};
                        ASSERT_TRUE(datafiles::SavePaymentFile(t.sharedFolder("Payments") + "3.QVP", stored));
                        t.prompts->queueOpen(t.sharedFolder("Payments") + "3.QVP");
                        w.cmdOpen_Click();
                        ASSERT_EQ(w.windowTitle(), "Payment [ 3.QVP ]");
                    }}),
    [](const auto& info) { return std::string(info.param.name); });

// A lock another user holds refuses the load and is never deleted by this window: not by
// a later Open Transaction, not by Open Payment, not when the window closes.
TEST_F(PaymentLocks, AnotherUsersLockIsNeverDeleted)
{
    openWindow();
    const QString path = sharedTransaction();
    writeLock(path, "bob");
    prompts->queueAnswer(Answer::OK);
    openTransaction(path);
    EXPECT_EQ(prompts->recorded().last().text, path + "H is already open for payment by bob");
    EXPECT_EQ(prompts->recorded().last().style, platform::MsgStyle::OkOnly);
    EXPECT_EQ(prompts->recorded().last().title, "Quorvane");
    EXPECT_EQ(shown("TransactionNumber"), "");
    EXPECT_EQ(window->windowTitle(), "Payment [ Unsaved ]");
    EXPECT_FALSE(window->heldLock().holds());

    prompts->queueOpenCancel();
    window->cmdFind_Click();
    prompts->queueOpenCancel();
    window->cmdOpen_Click();
    window->close();
    EXPECT_EQ(lockOf(path), QByteArray("bob"));
}

struct TakeOverCase {
    const char* name;
    const char* holder;
};

void PrintTo(const TakeOverCase& c, std::ostream* os)
{
    *os << c.name;
}

class LockTakenOver : public PaymentLocks, public ::testing::WithParamInterface<TakeOverCase> {};

// The lock this window wrote was removed and written again by another computer meanwhile,
// by another user or under the same user name: it is that computer's now and stays.
TEST_P(LockTakenOver, StaysWhenTheWindowCloses)
{
    openWindow();
    const QString path = sharedTransaction();
    openTransaction(path);
    ASSERT_TRUE(window->heldLock().holds());
    ASSERT_TRUE(QFile::remove(path + "H.tmp"));
    writeLock(path, GetParam().holder);
    // Written on the other computer at another moment.
    QFile lock(path + "H.tmp");
    ASSERT_TRUE(lock.open(QIODevice::ReadWrite));
    ASSERT_TRUE(lock.setFileTime(QDateTime(QDate(2026, 12, 10), QTime(12, 5, 0)), QFileDevice::FileModificationTime));
    lock.close();

    window->close();
    EXPECT_EQ(lockOf(path), QByteArray(GetParam().holder));
}

INSTANTIATE_TEST_SUITE_P(Holders, LockTakenOver,
                         ::testing::Values(TakeOverCase{"AnotherUser", "bob"}, TakeOverCase{"SameUserName", "anna"}),
                         [](const auto& info) { return std::string(info.param.name); });

// Two installations, each with its own program folder, settings and user, share the host's
// data folder. Whichever order they come in, and even when the second takes the lock in the
// moment between the first one's test and its write, exactly one gets the transaction.
class TwoInstallations : public PaymentLocks {
protected:
    TwoInstallations()
    {
        desk.beUser(share.path(), true);
        deskWindow = std::make_unique<windows::frmPayments>(desk.context(prompts.script()));
        deskWindow->show();
        EXPECT_TRUE(QDir(deskProgram.filePath(QStringLiteral("System/RAzar/Payments"))).exists());
    }
    ~TwoInstallations() override { deskWindow.reset(); }

    void deskOpens(const QString& path)
    {
        prompts->queueOpen(path);
        deskWindow->cmdFind_Click();
    }

    testsupport::TempProgramFolder deskProgram;
    Installation desk{QStringLiteral("bob"), QStringLiteral("DESK-7")};
    std::unique_ptr<windows::frmPayments> deskWindow;
};

TEST_F(TwoInstallations, OneAfterTheOther)
{
    openWindow();
    const QString path = sharedTransaction();
    openTransaction(path);
    ASSERT_EQ(shown("TransactionNumber"), "41");

    prompts->queueAnswer(Answer::OK);
    deskOpens(path);
    EXPECT_EQ(prompts->recorded().last().text, path + "H is already open for payment by anna");
    EXPECT_EQ(deskWindow->record().TransactionNumber.Caption, "");
    EXPECT_EQ(lockOf(path), QByteArray("anna"));
    EXPECT_EQ(QDir(sharedFolder("Transactions")).entryList({"*.tmp"}, QDir::Files | QDir::Hidden).size(), 1);

    // The host pays a part and lets the transaction go; the desk then gets it with what is
    // still open.
    window->PaymentValue()->setText(QStringLiteral("200"));
    ASSERT_TRUE(save(sharedFolder("Payments") + "8.QVP", 1));
    window->close();
    EXPECT_FALSE(lockOf(path));
    deskOpens(path);
    EXPECT_EQ(deskWindow->record().TransactionNumber.Caption, "41");
    EXPECT_EQ(deskWindow->PaymentValue()->text(), "300");
    EXPECT_EQ(lockOf(path), QByteArray("bob"));
    deskWindow->close();
    EXPECT_FALSE(lockOf(path));
}

TEST_F(TwoInstallations, AtTheSameMoment)
{
    openWindow();
    const QString path = sharedTransaction();
    // The host has tested for a lock and read the header; just before it writes its lock,
    // the desk opens the same transaction.
    machine.onNextUserName = [&] { deskOpens(path); };
    prompts->queueOpen(path);
    prompts->queueAnswer(Answer::OK);
    window->cmdFind_Click();

    EXPECT_EQ(deskWindow->record().TransactionNumber.Caption, "41");
    EXPECT_TRUE(deskWindow->heldLock().holds());
    EXPECT_EQ(prompts->recorded().last().text, path + "H is already open for payment by bob");
    EXPECT_EQ(window->record().TransactionNumber.Caption, "");
    EXPECT_FALSE(window->heldLock().holds());
    EXPECT_EQ(lockOf(path), QByteArray("bob"));

    // The host's window closing takes nothing of the desk's.
    window->close();
    EXPECT_EQ(lockOf(path), QByteArray("bob"));
}

} // namespace
} // namespace paymentstest
