// Amounts that binary floating point cannot hold, through the posting service as the windows
// call it: a transaction from the own company to a contact, Save As, then payments against
// it. Every balance, the amounts paid and open in the header, and the payment proposed next
// come out to the last digit, and paid in full and over-payment are decided exactly.

#include "datafiles/datafoldertree.h"
#include "datafiles/hostfile.h"
#include "datafiles/linefilereader.h"
#include "datafiles/paymentheaderexchange.h"
#include "datafiles/settingsfile.h"
#include "datafiles/transactionheaderfile.h"
#include "platform/vb.h"
#include "postingfixture.h"
#include "posting/paymentposting.h"
#include "posting/postingchecks.h"
#include "posting/transactionposting.h"
#include "support/qtprinters.h"

#include <QDir>
#include <QStringList>
#include <vector>

using namespace postingtest;
using namespace posting;
using datafiles::PaymentRecord;
using datafiles::TransactionHeader;

namespace {

class ExactAmountsTest : public PostingTest {
protected:
    // The transaction saved as 42.QVT, from the own company to Ana in Bank.QVC; its header's
    // path.
    QString saveAs(const QString& value, const QString& paid = QString(), const QString& open = QString())
    {
        TransactionHeader h = header(value);
        h.AmountPaid.Caption = paid;
        h.Balance.Caption = open;
        fromOwnCompany(h);
        toContact(h, bank, 1, QStringLiteral("Ana"));
        const QString path = transactionsFolder() + QStringLiteral("%1.QVT").arg(++m_invoices);
        const TransactionResult result =
            transactions.post({SaveKind::SaveAs, h, path, lineItemBytes(path)});
        EXPECT_EQ(result.outcome, Outcome::Posted) << result.notice.text.toStdString();
        m_posted = result.header;
        return path + QStringLiteral("H");
    }
    // The payments window after Open Transaction: what it proposes, or the payment typed.
    PaymentRecord opened(const QString& headerPath, const QString& payment = QString())
    {
        PaymentRecord record;
        EXPECT_EQ(datafiles::LoadHeaderForPayment(headerPath, record, store), datafiles::PaymentHeaderLoad::Loaded);
        if (!payment.isNull())
            record.setPaymentValueText(payment);
        return record;
    }
    PaymentResult pay(const QString& headerPath, const QString& payment)
    {
        const QString file = paymentsFolder() + QStringLiteral("%1.QVP").arg(++m_payments);
        return payments.post({opened(headerPath, payment), file});
    }

    // Host mode: the own balance and counters are kept in the host file on a share.
    QString hostFile() const { return program.filePath(QStringLiteral("share/Firma.QVNET")); }
    void becomeHost()
    {
        for (const char* folder : {"Contacts", "Transactions", "Payments"})
            QDir().mkpath(program.filePath(QStringLiteral("share/QVNET/RAzar/")) + QLatin1String(folder));
        store.setNetworkPathTest([](const QString& path) { return path.contains(QLatin1String("/share/")); });
        store.OptionHost = true;
        store.MyHostName = hostFile();
        store.MyHostSystem = program.filePath(QStringLiteral("share/"));
        ASSERT_TRUE(datafiles::WriteHostFile(store));
    }
    QString ownValuesFile() const { return store.OptionHost.value() ? hostFile() : datafiles::settingsFilePath(); }
    // The file that keeps the own values gets `text` on line n, and this run reads it again as
    // a start does, answering the message about damage that is no number.
    void storeOwnValueLine(int n, const QString& text)
    {
        const QString path = ownValuesFile();
        const bool host = path == hostFile();
        QStringList lines = host ? hostLines(path) : storedLines(path);
        lines[n - 1] = text;
        datafiles::LineFileWriter writer(datafiles::LastLineEnd::Written);
        for (const QString& line : lines)
            writer.add(line);
        ASSERT_TRUE(writer.writeTo(path).ok);
        if (!platform::vb::IsNumeric(text))
            prompts->queueAnswer(platform::Answer::OK);
        if (host)
            ASSERT_TRUE(datafiles::ReadHostFile(store));
        else
            ASSERT_EQ(datafiles::LoadSettingsFile(store), datafiles::LineFileReader::Status::Accepted);
    }
    TransactionResult saveAsFromOwnCompany(const QString& value)
    {
        TransactionHeader h = header(value);
        fromOwnCompany(h);
        toContact(h, bank, 1, QStringLiteral("Ana"));
        const QString path = transactionsFolder() + QStringLiteral("%1.QVT").arg(++m_invoices);
        return transactions.post({SaveKind::SaveAs, h, path, lineItemBytes(path)});
    }

    const QString bank = company(QStringLiteral("Bank.QVC"), {{"Ana", "0"}});
    TransactionPosting transactions{store};
    PaymentPosting payments{store};
    TransactionHeader m_posted;
    int m_invoices = 41;
    int m_payments = 7;
};

struct ExactCase {
    const char* name;
    const char* ownBefore;
    const char* value;
    std::vector<const char*> payments;
    const char* ownAfter;
    const char* contactAfter;
    const char* paid;     // header line 16
    const char* open;     // header line 17
    const char* proposed; // the payment Open Transaction proposes next
};

void PrintTo(const ExactCase& c, std::ostream* os)
{
    *os << c.name;
}

class ExactPostingTable : public ExactAmountsTest, public ::testing::WithParamInterface<ExactCase> {};

TEST_P(ExactPostingTable, BalancesPaidOpenAndProposedAreExact)
{
    const ExactCase& c = GetParam();
    store.Balance = QString::fromLatin1(c.ownBefore);
    const QString headerPath = saveAs(QString::fromLatin1(c.value));
    for (const char* payment : c.payments) {
        const PaymentResult result = pay(headerPath, QString::fromLatin1(payment));
        ASSERT_EQ(result.outcome, Outcome::Posted) << payment << ": " << result.notice.text.toStdString();
    }
    EXPECT_EQ(store.Balance.value(), c.ownAfter);
    EXPECT_EQ(storedSetting(47), c.ownAfter);
    EXPECT_EQ(balanceOf(bank, 1), c.contactAfter);
    const QStringList lines = storedLines(headerPath);
    EXPECT_EQ(lines.value(15), c.paid);
    EXPECT_EQ(lines.value(16), c.open);
    EXPECT_EQ(opened(headerPath).PaymentValue().Text, c.proposed);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ExactPostingTable,
    ::testing::Values(
        ExactCase{"TenthLeftOpen", "1000", "100.1", {"100"}, "999.9", "0.1", "100", "0.1", "0.1"},
        ExactCase{"CentLeftOpen", "1000", "1000.01", {"1000"}, "999.99", "0.01", "1000", "0.01", "0.01"},
        ExactCase{"OwnBalanceLessAValue", "100.1", "100", {}, "0.1", "100", "", "", "100"},
        ExactCase{"TenthsPaidInParts", "0", "0.3", {"0.1", "0.1", "0.1"}, "0", "0", "0.3", "0", "0"},
        ExactCase{"FiveCentsOpenOnAHundredMillion", "0", "100000000.05", {"100000000", "0.05"}, "0", "0",
                  "100000000.05", "0", "0"},
        ExactCase{"CentsOnTenMillion", "0.01", "10000000.01", {"9999999.99", "0.02"}, "0.01", "0", "10000000.01",
                  "0", "0"}),
    [](const auto& info) { return std::string(info.param.name); });

// Over-payment is refused by a cent on ten million; the exact open balance is accepted and
// then the transaction is paid in full.
TEST_F(ExactAmountsTest, OverpaymentAndPaidInFullAreDecidedExactly)
{
    const QString headerPath = saveAs(QStringLiteral("10000000"));
    const PaymentRecord over = opened(headerPath, QStringLiteral("10000000.01"));
    const CheckResult refused = payments.checkEntry(over);
    EXPECT_EQ(refused.refusal, Refusal::Overpayment);
    EXPECT_EQ(payments.post({over, paymentsFolder() + QStringLiteral("8.QVP")}).refusal, Refusal::Overpayment);
    EXPECT_EQ(storedLines(headerPath).value(15), "");

    ASSERT_EQ(pay(headerPath, QStringLiteral("9999999.99")).outcome, Outcome::Posted);
    EXPECT_EQ(payments.checkEntry(opened(headerPath, QStringLiteral("0.02"))).refusal, Refusal::Overpayment);
    ASSERT_EQ(pay(headerPath, QStringLiteral("0.01")).outcome, Outcome::Posted);
    EXPECT_EQ(payments.checkEntry(opened(headerPath, QStringLiteral("0.01"))).refusal, Refusal::PaidInFull);
    EXPECT_EQ(storedLines(headerPath).value(15), "10000000");
}

// Save As of a transaction that was paid makes a new invoice with nothing paid: its header
// is as New leaves it, and a payment proposes the whole value.
TEST_F(ExactAmountsTest, SaveAsOfAPaidTransactionMakesAnUnpaidInvoice)
{
    const QString paidHeader = saveAs(QStringLiteral("14.9"));
    ASSERT_EQ(pay(paidHeader, QStringLiteral("3")).outcome, Outcome::Posted);
    TransactionHeader reopened;
    ASSERT_EQ(datafiles::LoadTransactionHeader(paidHeader, reopened), datafiles::LineFileReader::Status::Accepted);
    EXPECT_EQ(reopened.AmountPaid.Caption, "3");
    EXPECT_EQ(reopened.Balance.Caption, "11.9");

    const QString copy = saveAs(QStringLiteral("14.9"), reopened.AmountPaid.Caption, reopened.Balance.Caption);
    EXPECT_EQ(m_posted.AmountPaid.Caption, "");
    EXPECT_EQ(m_posted.Balance.Caption, "");
    const QStringList lines = storedLines(copy);
    EXPECT_EQ(lines.value(0), "43");
    EXPECT_EQ(lines.value(15), "");
    EXPECT_EQ(lines.value(16), "");
    const PaymentRecord proposed = opened(copy);
    EXPECT_EQ(proposed.AmountPaid.Caption, "0");
    EXPECT_EQ(proposed.PaymentValue().Text, "14.9");
    EXPECT_EQ(storedLines(paidHeader).value(15), "3"); // the invoice it was made from keeps its payment
}

enum class Kept { SettingsFile, HostFile, SettingsWindow };

// A posting the own values stand in the way of: nothing is posted, and the message names the
// value, where it is kept ("%1": the file's path) and what is wrong with it.
struct RefusedCase {
    const char* name;
    Kept kept;
    int line;             // the own value's line in its file (0: none changed)
    const char* stored;   // what that line holds, or what was typed in the settings window
    const char* payment;  // the payment typed; nullptr: a Save As of 250.75 from the own company
    Refusal refusal;
    const char* text;     // then " Therefore, this payment (transaction) will not be completed!"
};

void PrintTo(const RefusedCase& c, std::ostream* os)
{
    *os << c.name;
}

class RefusedAmounts : public ExactAmountsTest, public ::testing::WithParamInterface<RefusedCase> {};

TEST_P(RefusedAmounts, PostNothingAndSayWhy)
{
    const RefusedCase& c = GetParam();
    if (c.kept == Kept::HostFile)
        becomeHost();
    const QString headerPath = saveAs(QStringLiteral("500")); // to pay against; the own values are sound
    if (c.kept == Kept::SettingsWindow)
        (c.line == 47 ? store.Balance : c.line == 48 ? store.InvoiceNumber : store.PaymentNumber) =
            QString::fromLatin1(c.stored);
    else if (c.line > 0)
        storeOwnValueLine(c.line, QString::fromLatin1(c.stored));
    const PaymentRecord payment = c.payment ? opened(headerPath, QString::fromLatin1(c.payment)) : PaymentRecord();
    const Snapshot before = snapshot({program.path()});
    const QString ownValuesBefore = store.money().Balance + store.money().InvoiceNumber + store.money().PaymentNumber;

    Refusal refusal = Refusal::None;
    Notice notice;
    if (c.payment) {
        const PaymentResult result = payments.post({payment, paymentsFolder() + QStringLiteral("8.QVP")});
        refusal = result.refusal;
        notice = result.notice;
    } else {
        const TransactionResult result = saveAsFromOwnCompany(QStringLiteral("250.75"));
        refusal = result.refusal;
        notice = result.notice;
    }
    EXPECT_EQ(refusal, c.refusal);
    EXPECT_EQ(notice.text, QString::fromLatin1(c.text).arg(ownValuesFile())
                               + QStringLiteral(" Therefore, this %1 will not be completed!")
                                     .arg(c.payment ? "payment" : "transaction"));
    EXPECT_EQ(notice.title, HeaderMenuTitle);
    EXPECT_EQ(notice.style, platform::MsgStyle::Critical);
    EXPECT_EQ(snapshot({program.path()}), before);
    EXPECT_EQ(store.money().Balance + store.money().InvoiceNumber + store.money().PaymentNumber, ownValuesBefore);
}

INSTANTIATE_TEST_SUITE_P(
    Table, RefusedAmounts,
    ::testing::Values(
        RefusedCase{"SettingsBalanceNotANumber", Kept::SettingsFile, 47, "abc", nullptr, Refusal::OwnValueUnreadable,
                    "The balance of your company on line 47 of the settings file \"%1\" is not a number (\"abc\")."},
        RefusedCase{"SettingsBalanceOfTooManyDigits", Kept::SettingsFile, 47, "123456789012345678901234567890123456789",
                    nullptr, Refusal::OwnValueUnreadable,
                    "The balance of your company on line 47 of the settings file \"%1\" is "
                    "\"123456789012345678901234567890123456789\", which has more digits than Quorvane can hold "
                    "exactly."},
        RefusedCase{"HostBalanceNotANumber", Kept::HostFile, 2, "abc", nullptr, Refusal::OwnValueUnreadable,
                    "The balance of your company on line 2 of the host file \"%1\" is not a number (\"abc\")."},
        RefusedCase{"HostBalanceOfTooManyDigits", Kept::HostFile, 2, "-99999999999999999999999999999999999999.9",
                    nullptr, Refusal::OwnValueUnreadable,
                    "The balance of your company on line 2 of the host file \"%1\" is "
                    "\"-99999999999999999999999999999999999999.9\", which has more digits than Quorvane can hold "
                    "exactly."},
        RefusedCase{"SettingsInvoiceNumberInExponentForm", Kept::SettingsFile, 48, "1E+50", nullptr,
                    Refusal::OwnValueUnreadable,
                    "The invoice number on line 48 of the settings file \"%1\" is \"1E+50\", which is not a whole "
                    "number from 0 of at most 15 digits."},
        RefusedCase{"HostInvoiceNumberInExponentForm", Kept::HostFile, 3, "1E+50", nullptr,
                    Refusal::OwnValueUnreadable,
                    "The invoice number on line 3 of the host file \"%1\" is \"1E+50\", which is not a whole "
                    "number from 0 of at most 15 digits."},
        RefusedCase{"SettingsInvoiceNumberBelowZero", Kept::SettingsFile, 48, "-5", nullptr,
                    Refusal::OwnValueUnreadable,
                    "The invoice number on line 48 of the settings file \"%1\" is \"-5\", which is not a whole "
                    "number from 0 of at most 15 digits."},
        RefusedCase{"HostInvoiceNumberBelowZero", Kept::HostFile, 3, "-5", nullptr, Refusal::OwnValueUnreadable,
                    "The invoice number on line 3 of the host file \"%1\" is \"-5\", which is not a whole "
                    "number from 0 of at most 15 digits."},
        RefusedCase{"HostPaymentNumberBelowZero", Kept::HostFile, 12, "-1", "100", Refusal::OwnValueUnreadable,
                    "The payment number on line 12 of the host file \"%1\" is \"-1\", which is not a whole "
                    "number from 0 of at most 15 digits."},
        RefusedCase{"InvoiceNumberWithAFraction", Kept::SettingsFile, 48, "41.5", nullptr, Refusal::OwnValueUnreadable,
                    "The invoice number on line 48 of the settings file \"%1\" is \"41.5\", which is not a whole "
                    "number from 0 of at most 15 digits."},
        RefusedCase{"InvoiceNumberGroupedOrNot", Kept::SettingsFile, 48, "1,000", nullptr, Refusal::OwnValueUnreadable,
                    "The invoice number on line 48 of the settings file \"%1\" is \"1,000\", which reads as 1000 to "
                    "some and as 1 to others: a comma before three digits may group thousands or separate decimals. "
                    "Write it with \".\" as the decimal separator and without grouping, and save again."},
        RefusedCase{"InvoiceNumberAtItsLast", Kept::SettingsFile, 48, "999999999999999", nullptr,
                    Refusal::OwnValueUnreadable,
                    "The invoice number on line 48 of the settings file \"%1\" is \"999999999999999\", and the next "
                    "number would have more than 15 digits."},
        RefusedCase{"InvoiceNumberEmpty", Kept::SettingsFile, 48, "", nullptr, Refusal::OwnValueUnreadable,
                    "The invoice number on line 48 of the settings file \"%1\" is empty."},
        RefusedCase{"InvoiceNumberTypedInTheSettingsWindow", Kept::SettingsWindow, 48, "1E+50", nullptr,
                    Refusal::OwnValueUnreadable,
                    "The invoice number set in the settings window is \"1E+50\", which is not a whole number from 0 "
                    "of at most 15 digits."},
        RefusedCase{"SettingsPaymentNumberNotANumber", Kept::SettingsFile, 61, "x7", "100", Refusal::OwnValueUnreadable,
                    "The payment number on line 61 of the settings file \"%1\" is not a number (\"x7\")."},
        RefusedCase{"HostPaymentNumberBeyondTheCount", Kept::HostFile, 12, "1E+16", "100", Refusal::OwnValueUnreadable,
                    "The payment number on line 12 of the host file \"%1\" is \"1E+16\", which is not a whole "
                    "number from 0 of at most 15 digits."},
        RefusedCase{"BalanceNeedingTooManyDigits", Kept::SettingsFile, 47, "1e-40", "10", Refusal::BalanceTooLarge,
                    "The balance of your company would need more digits than Quorvane writes an amount with (15 "
                    "significant digits), so it could not be kept exactly."},
        RefusedCase{"BalanceBeyondFifteenDigits", Kept::SettingsFile, 47, "10000000000000", "0.01",
                    Refusal::BalanceTooLarge,
                    "The balance of your company would become about 10000000000000, with more digits than Quorvane "
                    "writes an amount with (15 significant digits), so it could not be kept exactly."},
        RefusedCase{"PaymentTypedWithACommaBeforeThreeDigits", Kept::SettingsFile, 0, "", "1,500",
                    Refusal::BalanceAmbiguous,
                    "This payment value is \"1,500\", which reads as 1500 to some and as 1.5 to others: a comma "
                    "before three digits may group thousands or separate decimals. Write it with \".\" as the "
                    "decimal separator and without grouping, and save again."}),
    [](const auto& info) { return std::string(info.param.name); });

// A damaged own balance that a posting does not move is written back as it was found; the
// next posting that moves it is refused. Once the user sets the balance in the settings
// window, that value is posted.
TEST_F(ExactAmountsTest, ADamagedBalanceIsKeptUntilTheUserSetsIt)
{
    storeOwnValueLine(47, QStringLiteral("abc"));
    const QString shop = company(QStringLiteral("Shop.QVC"), {{"Bor", "10"}});
    TransactionHeader h = header(QStringLiteral("100"));
    fromContact(h, shop, 1, QStringLiteral("Bor"));
    toContact(h, bank, 1, QStringLiteral("Ana"));
    const QString path = transactionsFolder() + QStringLiteral("42.QVT");
    const TransactionResult between = transactions.post({SaveKind::SaveAs, h, path, lineItemBytes(path)});
    ASSERT_EQ(between.outcome, Outcome::Posted) << between.notice.text.toStdString();
    EXPECT_EQ(storedSetting(47), "abc");
    EXPECT_EQ(storedSetting(48), "42");
    ++m_invoices;

    const TransactionResult refused = saveAsFromOwnCompany(QStringLiteral("250.75"));
    EXPECT_EQ(refused.refusal, Refusal::OwnValueUnreadable);
    EXPECT_TRUE(refused.notice.text.contains("on line 47 of the settings file")) << refused.notice.text.toStdString();
    EXPECT_EQ(storedSetting(47), "abc");
    --m_invoices;

    store.Balance = QStringLiteral("500");
    const TransactionResult mended = saveAsFromOwnCompany(QStringLiteral("250.75"));
    ASSERT_EQ(mended.outcome, Outcome::Posted) << mended.notice.text.toStdString();
    EXPECT_EQ(storedSetting(47), "249.25");
    EXPECT_EQ(storedSetting(48), "43");
}

} // namespace
