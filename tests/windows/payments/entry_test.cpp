// Choosing the transaction to pay and entering the payment: what the window shows after Open
// Transaction and "Enter Payment", the payment value as it is typed and left, the payment
// date, and the refusals before anything is loaded.

#include "paymentsfixture.h"

#include "platform/vb.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>

namespace paymentstest {
namespace {

using platform::Answer;
using platform::MsgStyle::Critical;
using testsupport::PromptKind;

class PaymentEntry : public PaymentsTest {
protected:
    // A transaction of 500 from the own company to Ana of Bank.QVC, with `paid` paid on it.
    QString bankTransaction(const QString& paid = QString())
    {
        datafiles::TransactionHeader h = header(QStringLiteral("500"), paid);
        fromOwnCompany(h);
        toContact(h, company(QStringLiteral("Bank.QVC"), {{"Ana", "500"}}), 1, QStringLiteral("Ana"));
        return transaction(QStringLiteral("41.QVT"), h);
    }

    // Gives the keyboard focus to the payment value, as a click into it does.
    void focusPaymentValue()
    {
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        window->PaymentValue()->setFocus(Qt::MouseFocusReason);
        ASSERT_TRUE(window->PaymentValue()->hasFocus());
    }
    // Leaves the payment value for the note, as a click into the note does.
    void leavePaymentValue() { window->Note()->setFocus(Qt::MouseFocusReason); }
};

TEST_F(PaymentEntry, OpenTransactionShowsTheHeaderAndProposesTheOpenBalance)
{
    openWindow();
    const QString path = bankTransaction(QStringLiteral("250"));
    openTransaction(path);

    const testsupport::RecordedPrompt& dialog = prompts->recorded().last();
    EXPECT_EQ(dialog.kind, PromptKind::ShowOpen);
    EXPECT_EQ(dialog.dialog.Filter, "Transaction (*.QVT)|*.QVT|");
    EXPECT_EQ(dialog.dialog.InitDir, transactionsFolder());
    EXPECT_TRUE(dialog.dialog.CancelError);
    EXPECT_EQ(machine.CommonDialog4.FileName, path);

    EXPECT_EQ(window->windowTitle(), "Payment [ Unsaved ]");
    EXPECT_EQ(shown("TransactionNumber"), "41");
    EXPECT_EQ(shown("DateandTime"), "1.12.2026 10:00:00");
    EXPECT_EQ(shown("TransactionValue"), "500");
    EXPECT_EQ(shown("fromcompany"), "Firma");
    EXPECT_EQ(shown("fromcontact"), "");
    EXPECT_EQ(shown("tocompany"), "Bank.QVC");
    EXPECT_EQ(tip("tocompany"), contactsFolder() + "Bank.QVC");
    EXPECT_EQ(shown("tocontact"), "Ana");
    EXPECT_TRUE(window->FromMyCompany()->isChecked());
    EXPECT_FALSE(window->ToMyCompany()->isChecked());
    EXPECT_EQ(shown("tocompanyiselected"), "1");
    EXPECT_EQ(tip("lblChangeStatus"), path + "H");
    // The open balance of 250 is proposed: nothing stays open after it.
    EXPECT_EQ(window->PaymentValue()->text(), "250");
    EXPECT_EQ(shown("AmountPaid"), "250");
    EXPECT_EQ(tip("AmountPaid"), "500");
    EXPECT_EQ(shown("Balance"), "0");
    EXPECT_EQ(shown("PaymentDate"), platform::vb::GeneralDate(clock.when()));
    EXPECT_EQ(tip("PaymentDate"), "Click to Refresh ");
    // In single-machine mode no payment lock is written.
    EXPECT_FALSE(QFile::exists(path + "H.tmp"));
    EXPECT_FALSE(window->heldLock().holds());
}

// Typing into the payment value keeps the balance and the total paid current.
TEST_F(PaymentEntry, TypingThePaymentKeepsTheBalanceCurrent)
{
    openWindow();
    openTransaction(bankTransaction(QStringLiteral("150")));
    window->PaymentValue()->clear();
    QTest::keyClicks(window->PaymentValue(), QStringLiteral("120"));
    EXPECT_EQ(window->record().PaymentValue().Text, "120");
    EXPECT_EQ(shown("Balance"), "230");
    EXPECT_EQ(shown("AmountPaid"), "150");
    EXPECT_EQ(tip("AmountPaid"), "270");

    // A text that is no number leaves both as they were.
    QTest::keyClicks(window->PaymentValue(), QStringLiteral("x"));
    EXPECT_EQ(shown("Balance"), "230");
    EXPECT_EQ(tip("AmountPaid"), "270");
}

struct LeavingCase {
    const char* name;
    const char* typed;
    const char* message; // "" for none
    const char* valueAfter;
    const char* balanceAfter;
};

void PrintTo(const LeavingCase& c, std::ostream* os)
{
    *os << c.name;
}

class LeavingTheValue : public PaymentEntry, public ::testing::WithParamInterface<LeavingCase> {};

// Leaving the payment value for another control checks it; with an open balance of 350.
TEST_P(LeavingTheValue, ChecksTheValue)
{
    const LeavingCase& c = GetParam();
    openWindow();
    openTransaction(bankTransaction(QStringLiteral("150")));
    focusPaymentValue();
    window->PaymentValue()->clear();
    QTest::keyClicks(window->PaymentValue(), QString::fromLatin1(c.typed));
    if (*c.message)
        prompts->queueAnswer(Answer::OK);
    leavePaymentValue();

    if (*c.message) {
        ASSERT_FALSE(prompts->recorded().isEmpty());
        EXPECT_EQ(prompts->recorded().last().text, QString::fromLatin1(c.message));
        EXPECT_EQ(prompts->recorded().last().style, Critical);
    } else {
        EXPECT_EQ(prompts->recorded().last().kind, PromptKind::ShowOpen);
    }
    EXPECT_EQ(window->PaymentValue()->text(), QString::fromLatin1(c.valueAfter));
    EXPECT_EQ(shown("Balance"), QString::fromLatin1(c.balanceAfter));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LeavingTheValue,
    ::testing::Values(LeavingCase{"MoreThanIsOpen", "400", "Incorect Payment Value!", "0", "350"},
                      LeavingCase{"Empty", "", "YOU CAN ENTER ONLY NUMBERS!", "0", "350"},
                      LeavingCase{"NotANumber", "abc", "YOU CAN ENTER ONLY NUMBERS!", "0", "350"},
                      LeavingCase{"ExactlyWhatIsOpen", "350", "", "350", "0"},
                      LeavingCase{"PartOfIt", "100.5", "", "100.5", "249.5"}),
    [](const auto& info) { return std::string(info.param.name); });

// Moving to another window is no leaving of the field: nothing is checked then.
TEST_F(PaymentEntry, AnotherWindowTakingTheFocusChecksNothing)
{
    openWindow();
    openTransaction(bankTransaction());
    focusPaymentValue();
    QTest::keyClicks(window->PaymentValue(), QStringLiteral("abc"));
    QWidget other;
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    EXPECT_EQ(prompts->recorded().last().kind, PromptKind::ShowOpen);
    EXPECT_EQ(window->PaymentValue()->text(), "500abc");
}

TEST_F(PaymentEntry, AClickOnThePaymentDateTakesTheTimeNow)
{
    openWindow();
    openTransaction(bankTransaction());
    clock.advanceSeconds(3600);
    QTest::mouseClick(window->label(QStringLiteral("PaymentDate")), Qt::LeftButton);
    EXPECT_EQ(shown("PaymentDate"), platform::vb::GeneralDate(clock.when()));
    EXPECT_EQ(window->record().PaymentDate.Caption, shown("PaymentDate"));
}

// CLEARALL empties the fields but keeps the caption, the change mark, the header path and
// the payment date's tooltip.
TEST_F(PaymentEntry, ClearAllKeepsWhatIsNotAField)
{
    openWindow();
    const QString path = bankTransaction();
    openTransaction(path);
    QTest::keyClicks(window->Note(), QStringLiteral("first line"));
    window->CLEARALL();
    for (const char* label : {"TransactionNumber", "DateandTime", "TransactionValue", "fromcompany", "fromcontact",
                              "tocompany", "tocontact", "AmountPaid", "Balance", "PaymentDate", "tocompanyiselected"}) {
        EXPECT_EQ(shown(QString::fromLatin1(label)), "") << label;
        if (QLatin1String(label) != QLatin1String("PaymentDate")) {
            EXPECT_EQ(tip(QString::fromLatin1(label)), "") << label;
        }
    }
    EXPECT_EQ(window->PaymentValue()->text(), "");
    EXPECT_EQ(window->Note()->toPlainText(), "");
    EXPECT_FALSE(window->FromMyCompany()->isChecked());
    EXPECT_EQ(window->FromMyCompany()->text(), "Firma");
    EXPECT_EQ(tip("PaymentDate"), "Click to Refresh ");
    EXPECT_EQ(shown("lblChangeStatus"), "0");
    EXPECT_EQ(tip("lblChangeStatus"), path + "H");
    EXPECT_EQ(window->windowTitle(), "Payment [ Unsaved ]");
}

// The transactions window's "Enter Payment": the window comes up emptied and loads the
// header beside the transaction's file.
TEST_F(PaymentEntry, EnterPaymentLoadsTheTransactionShownThere)
{
    openWindow();
    openTransaction(bankTransaction(QStringLiteral("100")));
    QTest::keyClicks(window->Note(), QStringLiteral("for the first one"));
    window->hide();

    datafiles::TransactionHeader other = header(QStringLiteral("80"));
    other.TransactionNumber.Caption = QStringLiteral("42");
    toOwnCompany(other);
    fromContact(other, company(QStringLiteral("Shop.QVC"), {{"Bo", "0"}}), 1, QStringLiteral("Bo"));
    const QString path = transaction(QStringLiteral("42.QVT"), other);
    window->enterPayment(path);

    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(machine.store.ActiveList.value(), "frmPayments");
    EXPECT_EQ(shown("TransactionNumber"), "42");
    EXPECT_EQ(shown("fromcompany"), "Shop.QVC");
    EXPECT_EQ(shown("fromcontact"), "Bo");
    EXPECT_EQ(window->PaymentValue()->text(), "80");
    EXPECT_EQ(window->Note()->toPlainText(), "");
    EXPECT_EQ(tip("lblChangeStatus"), path + "H");
    // CommonDialog4 keeps the transaction chosen with Open Transaction.
    EXPECT_NE(machine.CommonDialog4.FileName, path);
}

// A transaction never saved, or one whose header is gone: the window comes up empty and says
// the file is missing, never reading a file named "H" wherever the program runs.
TEST_F(PaymentEntry, EnterPaymentWithoutAHeaderShowsTheWindowEmpty)
{
    openWindow();
    openTransaction(bankTransaction());
    const QString stray = QDir::current().filePath(QStringLiteral("H"));
    ASSERT_FALSE(QFile::exists(stray));
    for (const QString& path : {QString(), transactionsFolder() + "gone.QVT"}) {
        prompts->queueAnswer(Answer::OK);
        window->enterPayment(path);
        EXPECT_EQ(prompts->recorded().last().text, "File Don't Exist!");
        EXPECT_EQ(prompts->recorded().last().title, "Transaction Header File");
        EXPECT_EQ(prompts->recorded().last().style, Critical);
        EXPECT_EQ(shown("TransactionNumber"), "");
        EXPECT_EQ(window->windowTitle(), "Payment [ Unsaved ]");
    }
}

// Cancel in the dialog loads nothing and keeps the payment shown as it was, caption included.
TEST_F(PaymentEntry, CancelInTheDialogKeepsThePaymentShown)
{
    openWindow();
    openTransaction(bankTransaction());
    window->PaymentValue()->setText(QStringLiteral("120"));
    const datafiles::PaymentRecord before = window->record();
    prompts->queueOpenCancel();
    window->cmdFind_Click();
    EXPECT_EQ(window->record(), before);
    EXPECT_EQ(window->PaymentValue()->text(), "120");
    EXPECT_EQ(window->windowTitle(), "Payment [ Unsaved ]");

    // A file that is not there ends the command as quietly.
    openTransaction(transactionsFolder() + "missing.QVT");
    EXPECT_EQ(window->record(), before);
}

struct NetworkCase {
    const char* name;
    bool host;          // host mode, else user mode
    bool reachable;     // the shared data folder exists
    bool userMayWrite;  // user mode: the host's switch
    const char* openTransactionMessage; // after its dialog; "" when it loads
    const char* openPaymentMessage;     // before its dialog; "" when the dialog opens
};

void PrintTo(const NetworkCase& c, std::ostream* os)
{
    *os << c.name;
}

class NetworkRefusals : public PaymentEntry, public ::testing::WithParamInterface<NetworkCase> {};

TEST_P(NetworkRefusals, AreMadeWhereEachCommandMakesThem)
{
    const NetworkCase& c = GetParam();
    QTemporaryDir shared;
    const QString sharedFolder = shared.path() + (c.reachable ? "" : "/unplugged");
    if (c.host)
        machine.beHost(sharedFolder);
    else
        machine.beUser(sharedFolder, c.userMayWrite);
    QDir().mkpath(shared.path() + "/QVNET/RAzar/Payments");
    QDir().mkpath(shared.path() + "/QVNET/RAzar/Transactions");
    datafiles::TransactionHeader h = header(QStringLiteral("500"));
    toOwnCompany(h);
    fromContact(h, company(QStringLiteral("Bank.QVC"), {{"Ana", "0"}}), 1, QStringLiteral("Ana"));
    const QString path = transaction(QStringLiteral("41.QVT"), h, shared.path() + "/QVNET/RAzar/Transactions/");
    openWindow();

    if (*c.openTransactionMessage)
        prompts->queueAnswer(Answer::OK);
    openTransaction(path);
    if (*c.openTransactionMessage) {
        EXPECT_EQ(prompts->recorded().at(0).kind, PromptKind::ShowOpen);
        EXPECT_EQ(prompts->recorded().last().text, QString::fromLatin1(c.openTransactionMessage));
        EXPECT_EQ(prompts->recorded().last().style, Critical);
        EXPECT_EQ(shown("TransactionNumber"), "");
        EXPECT_FALSE(QFile::exists(path + "H.tmp"));
    } else {
        EXPECT_EQ(shown("TransactionNumber"), "41");
    }

    prompts->clear();
    if (*c.openPaymentMessage) {
        prompts->queueAnswer(Answer::OK);
        window->cmdOpen_Click();
        ASSERT_EQ(prompts->recorded().size(), 1);
        EXPECT_EQ(prompts->recorded().last().text, QString::fromLatin1(c.openPaymentMessage));
    } else {
        prompts->queueOpenCancel();
        window->cmdOpen_Click();
        ASSERT_EQ(prompts->recorded().size(), 1);
        EXPECT_EQ(prompts->recorded().last().kind, PromptKind::ShowOpen);
        EXPECT_EQ(prompts->recorded().last().dialog.InitDir, sharedFolder + "/QVNET/RAzar/Payments/");
        EXPECT_EQ(prompts->recorded().last().dialog.Filter, "QV Payment (*.QVP)|*.QVP|");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NetworkRefusals,
    ::testing::Values(
        NetworkCase{"HostReachable", true, true, true, "", ""},
        NetworkCase{"HostUnreachable", true, false, true,
                    "Network connection error. Can't find Network Payments Directory.",
                    "Network connection error. Can't find Network Directory."},
        NetworkCase{"UserMayWrite", false, true, true, "", ""},
        NetworkCase{"UserMayOnlyRead", false, true, false,
                    "Network users are not allowed to edit files. Contact your network host for assistance. ", ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(PaymentEntry, TheWindowIsAFixedDialogNamedTheActiveOne)
{
    openWindow();
    EXPECT_EQ(window->size(), QSize(352, 345));
    EXPECT_EQ(machine.store.ActiveList.value(), "frmPayments");
    const QStringList tips = {"Open Transaction ", "Open Payment ", "Save", "Export to Excel Form", "Help", "Print"};
    const QStringList names = {"cmdFind", "cmdOpen", "cmdSave", "exporttoexcel", "Help", "cmdPrintOptions"};
    for (int k = 0; k < names.size(); ++k) {
        ASSERT_NE(window->button(names[k]), nullptr) << names[k].toStdString();
        EXPECT_EQ(window->button(names[k])->toolTip(), tips[k]);
        EXPECT_EQ(window->button(names[k])->geometry().left(), (120 + 360 * k) / 15);
    }
    for (const char* hidden : {"lblChangeStatus", "fromcompanyiselected", "tocompanyiselected"})
        EXPECT_FALSE(window->label(QString::fromLatin1(hidden))->isVisible()) << hidden;
    EXPECT_FALSE(window->FromMyCompany()->isVisible());
}

} // namespace
} // namespace paymentstest
