// Amounts that binary floating point cannot hold, through the posting service as the windows
// call it: a transaction from the own company to a contact, Save As, then payments against
// it. Every balance, the amounts paid and open in the header, and the payment proposed next
// come out to the last digit, and paid in full and over-payment are decided exactly.

#include "datafiles/paymentheaderexchange.h"
#include "datafiles/transactionheaderfile.h"
#include "postingfixture.h"
#include "posting/paymentposting.h"
#include "posting/transactionposting.h"
#include "support/qtprinters.h"

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

} // namespace
