#include "datafiles/datafoldertree.h"
#include "datafiles/paymentfile.h"
#include "datafiles/paymentheaderexchange.h"
#include "datafiles/transactionheaderfile.h"
#include "postingfixture.h"
#include "posting/paymentposting.h"
#include "posting/postingjournal.h"
#include "posting/writestephook.h"
#include "support/qtprinters.h"

#include <QFile>
#include <functional>

using namespace postingtest;
using namespace posting;
using datafiles::PaymentRecord;
using datafiles::TransactionHeader;

namespace {

class PaymentPostingTest : public PostingTest {
protected:
    ~PaymentPostingTest() override { setWriteStepHook({}); }

    // A saved transaction of that value with that much paid on it.
    QString transaction(TransactionHeader h, const QString& paid = QString())
    {
        h.AmountPaid.Caption = paid;
        const QString path = transactionsFolder() + QStringLiteral("9.QVTH");
        EXPECT_TRUE(datafiles::SaveTransactionHeader(path, h));
        return path;
    }
    // The payments window after Open Transaction, with the payment typed.
    PaymentRecord opened(const QString& headerPath, const QString& payment = QString())
    {
        PaymentRecord record;
        EXPECT_EQ(datafiles::LoadHeaderForPayment(headerPath, record, store),
                  datafiles::PaymentHeaderLoad::Loaded);
        if (!payment.isNull())
            record.setPaymentValueText(payment);
        return record;
    }
    // As the window asks first, an existing payment file is written over.
    PaymentResult pay(const PaymentRecord& record)
    {
        return posting.post({record, paymentFile(), QFileInfo::exists(paymentFile())});
    }
    QString paymentFile() const { return paymentsFolder() + QStringLiteral("8.QVP"); }

    PaymentPosting posting{store};
};

struct OwnCase {
    const char* name;
    bool ownSends;
    const char* contactAfter; // from 7
    const char* ownAfter;     // from 1000
};

void PrintTo(const OwnCase& c, std::ostream* os)
{
    *os << c.name;
}

class OwnCompanyPaymentTest : public PaymentPostingTest, public ::testing::WithParamInterface<OwnCase> {};

// A payment moves money back against its transaction: the sender's balance rises and the
// receiver's falls, and with it the header, the counter, the settings file and the payment
// file are written.
TEST_P(OwnCompanyPaymentTest, MovesTheBalancesAndWritesEveryFile)
{
    const OwnCase& c = GetParam();
    const QString bank = company(QStringLiteral("Bank.QVC"), {{"Ana", "7"}});
    TransactionHeader h = header(QStringLiteral("1000"));
    contactAndOwnCompany(h, bank, QStringLiteral("Ana"), !c.ownSends);
    const QString headerPath = transaction(h);
    const PaymentRecord record = opened(headerPath, QStringLiteral("250"));
    ASSERT_TRUE(posting.checkEntry(record));
    ASSERT_TRUE(posting.checkParties(record));
    EXPECT_EQ(posting.nextFileName(), "8.QVP");

    const PaymentResult result = pay(record);
    ASSERT_EQ(result.outcome, Outcome::Posted) << result.notice.text.toStdString();
    EXPECT_EQ(store.Balance.value(), c.ownAfter);
    EXPECT_EQ(balanceOf(bank, 1), c.contactAfter);
    EXPECT_EQ(store.PaymentNumber.value(), "8");
    EXPECT_EQ(storedSetting(47), c.ownAfter);
    EXPECT_EQ(storedSetting(61), "8");
    EXPECT_EQ(result.contactFiles, QStringList{bank});

    const QStringList headerLines = storedLines(headerPath);
    EXPECT_EQ(headerLines.value(2), "1000");
    EXPECT_EQ(headerLines.value(15), "250");
    EXPECT_EQ(headerLines.value(16), "750");
    PaymentRecord reread;
    ASSERT_EQ(datafiles::LoadPaymentFile(paymentFile(), reread), datafiles::LineFileReader::Status::Accepted);
    EXPECT_EQ(reread, result.payment);
    EXPECT_EQ(reread.AmountPaid.Caption, "0");
    EXPECT_EQ(reread.AmountPaid.ToolTipText, "250");
    EXPECT_EQ(reread.Balance.Caption, "750");
}

INSTANTIATE_TEST_SUITE_P(Cases, OwnCompanyPaymentTest,
                         ::testing::Values(OwnCase{"OwnCompanySends", true, "-243", "1250"},
                                           OwnCase{"OwnCompanyReceives", false, "257", "750"}),
                         [](const auto& info) { return std::string(info.param.name); });

struct ContactCase {
    const char* name;
    bool contactSends;
    const char* cell;
    const char* payment;
    const char* after;
};

void PrintTo(const ContactCase& c, std::ostream* os)
{
    *os << c.name;
}

class ContactPaymentTest : public PaymentPostingTest, public ::testing::WithParamInterface<ContactCase> {};

TEST_P(ContactPaymentTest, MovesTheCellExactly)
{
    const ContactCase& c = GetParam();
    const QString bank = company(QStringLiteral("Bank.QVC"), {{"Ana", QString::fromLatin1(c.cell)}});
    TransactionHeader h = header(QStringLiteral("500"));
    contactAndOwnCompany(h, bank, QStringLiteral("Ana"), c.contactSends);
    const PaymentResult result = pay(opened(transaction(h), QString::fromLatin1(c.payment)));
    ASSERT_EQ(result.outcome, Outcome::Posted) << result.notice.text.toStdString();
    EXPECT_EQ(balanceOf(bank, 1), c.after);
}

INSTANTIATE_TEST_SUITE_P(Cases, ContactPaymentTest,
                         ::testing::Values(ContactCase{"SenderGainsAFraction", true, "-300", "100.5", "-199.5"},
                                           ContactCase{"ReceiverLosesAHalf", false, "7", "2.5", "4.5"},
                                           ContactCase{"EmptyCellCountsAsZero", true, "", "2.5", "2.5"}),
                         [](const auto& info) { return std::string(info.param.name); });

// A transaction paid in two parts; a third payment is refused because the header on disk
// says it is paid, whatever texts the amounts have.
TEST_F(PaymentPostingTest, PaidInFullIsDecidedByTheAmountsOnDisk)
{
    TransactionHeader h = header(QStringLiteral("500"));
    fromOwnCompany(h);
    toContact(h, company(QStringLiteral("Bank.QVC"), {{"Ana", "0"}}), 1, QStringLiteral("Ana"));
    const QString headerPath = transaction(h);
    ASSERT_EQ(pay(opened(headerPath, QStringLiteral("200"))).outcome, Outcome::Posted);
    const PaymentRecord rest = opened(headerPath);
    EXPECT_EQ(rest.PaymentValue().Text, "300");
    ASSERT_EQ(pay(rest).outcome, Outcome::Posted);
    EXPECT_EQ(storedLines(headerPath).value(15), "500");
    EXPECT_EQ(store.Balance.value(), "1500");

    const Snapshot before = snapshot({program.path()});
    const PaymentResult again = pay(opened(headerPath, QStringLiteral("1")));
    EXPECT_EQ(again.refusal, Refusal::PaidInFull);
    EXPECT_EQ(again.notice.text, "This Transaction was paid in full amount!");
    EXPECT_EQ(again.notice.title, "Quorvane can't complete this payment");
    EXPECT_EQ(snapshot({program.path()}), before);

    // "10" paid on "10.00" is paid in full too.
    h.Value.Caption = QStringLiteral("10.00");
    const PaymentRecord tens = opened(transaction(h, QStringLiteral("10")), QStringLiteral("1"));
    EXPECT_EQ(posting.checkEntry(tens).refusal, Refusal::PaidInFull);
}

// Decimal amounts settle exactly: paying what is open leaves 0, not a rounding remainder,
// and the transaction then counts as paid.
TEST_F(PaymentPostingTest, PayingWhatIsOpenLeavesNothingOpen)
{
    TransactionHeader h = header(QStringLiteral("0.3"));
    contactAndOwnCompany(h, company(QStringLiteral("Bank.QVC"), {{"Ana", "0"}}), QStringLiteral("Ana"), true);
    const QString headerPath = transaction(h, QStringLiteral("0.1"));
    const PaymentRecord record = opened(headerPath);
    EXPECT_EQ(record.PaymentValue().Text, "0.2");
    const PaymentResult result = pay(record);
    ASSERT_EQ(result.outcome, Outcome::Posted) << result.notice.text.toStdString();
    EXPECT_EQ(storedLines(headerPath).value(15), "0.3");
    EXPECT_EQ(storedLines(headerPath).value(16), "0");
    EXPECT_EQ(result.payment.Balance.Caption, "0");
    EXPECT_EQ(posting.checkEntry(opened(headerPath)).refusal, Refusal::PaidInFull);
}

// The window's copy of the header can be out of date (a payment or a new value saved since it
// was loaded): the header on disk decides what is still open, and only its amount paid and
// balance change.
TEST_F(PaymentPostingTest, TheHeaderOnDiskDecidesWhatIsOpen)
{
    TransactionHeader h = header(QStringLiteral("500"));
    fromOwnCompany(h);
    toContact(h, company(QStringLiteral("Bank.QVC"), {{"Ana", "0"}}), 1, QStringLiteral("Ana"));
    const QString headerPath = transaction(h);
    const PaymentRecord stale = opened(headerPath, QStringLiteral("250"));
    transaction(h, QStringLiteral("400")); // 400 paid since

    const Snapshot before = snapshot({program.path()});
    const CheckResult over = posting.checkEntry(stale);
    EXPECT_EQ(over.refusal, Refusal::Overpayment);
    EXPECT_EQ(over.notice.text, "Incorect Payment Value!");
    EXPECT_EQ(pay(stale).refusal, Refusal::Overpayment);
    EXPECT_EQ(snapshot({program.path()}), before);

    PaymentRecord rest = stale;
    rest.setPaymentValueText(QStringLiteral("100"));
    h.Value.Caption = QStringLiteral("600"); // and the transaction is worth more now
    h.DateandTime.Caption = QStringLiteral("later");
    transaction(h, QStringLiteral("400"));
    const PaymentResult result = pay(rest);
    ASSERT_EQ(result.outcome, Outcome::Posted) << result.notice.text.toStdString();
    const QStringList lines = storedLines(headerPath);
    EXPECT_EQ(lines.value(1), "later");
    EXPECT_EQ(lines.value(2), "600");
    EXPECT_EQ(lines.value(15), "500");
    EXPECT_EQ(lines.value(16), "100");
    EXPECT_EQ(result.payment.TransactionValue.Caption, "600");
    EXPECT_EQ(result.payment.AmountPaid.Caption, "400");
    EXPECT_EQ(result.payment.AmountPaid.ToolTipText, "500");
    EXPECT_EQ(result.payment.Balance.Caption, "100");
}

struct PaymentRefused {
    const char* name;
    std::function<void(PaymentRecord&, const QString& bank, const QString& shop)> change;
    Refusal refusal;
    const char* text; // "" when the text names a temporary path
};

void PrintTo(const PaymentRefused& c, std::ostream* os)
{
    *os << c.name;
}

class PaymentRefusalTest : public PaymentPostingTest, public ::testing::WithParamInterface<PaymentRefused> {};

TEST_P(PaymentRefusalTest, ChangesNothing)
{
    const PaymentRefused& c = GetParam();
    const QString bank = company(QStringLiteral("Bank.QVC"), {{"Ana", "7"}, {"Bor", "3"}});
    const QString shop = company(QStringLiteral("Shop.QVC"), {{"Cene", "5"}});
    TransactionHeader h = header(QStringLiteral("100"));
    fromContact(h, bank, 1, QStringLiteral("Ana"));
    toContact(h, shop, 1, QStringLiteral("Cene"));
    PaymentRecord record = opened(transaction(h), QStringLiteral("40"));
    c.change(record, bank, shop);
    const Snapshot before = snapshot({program.path()});

    const PaymentResult result = pay(record);
    EXPECT_EQ(result.outcome, Outcome::Refused);
    EXPECT_EQ(result.refusal, c.refusal) << result.notice.text.toStdString();
    if (*c.text) {
        EXPECT_EQ(result.notice.text, c.text);
    }
    EXPECT_FALSE(result.notice.text.isEmpty());
    EXPECT_EQ(snapshot({program.path()}), before);
    EXPECT_EQ(store.Balance.value(), "1000");
    EXPECT_EQ(store.PaymentNumber.value(), "7");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PaymentRefusalTest,
    ::testing::Values(
        PaymentRefused{"NoTransactionChosen", [](auto& p, auto&, auto&) { p.TransactionNumber.Caption = ""; },
                       Refusal::NoTransaction, "Please select the Transaction for payment"},
        PaymentRefused{"HeaderFileGone", [](auto& p, auto&, auto&) { QFile::remove(p.lblChangeStatus.ToolTipText); },
                       Refusal::HeaderMissing, "File Don't Exist!"},
        PaymentRefused{"SenderUnknown", [](auto& p, auto&, auto&) { p.fromcompany.Caption = ""; },
                       Refusal::FromInformationMissing, "Missing the Transaction From information"},
        PaymentRefused{"ReceiverFileUnknown", [](auto& p, auto&, auto&) { p.tocompany.ToolTipText = ""; },
                       Refusal::ToInformationMissing, "Missing the Transaction To File Information"},
        PaymentRefused{"NoValue", [](auto& p, auto&, auto&) { p.setPaymentValueText(""); }, Refusal::NoPaymentValue,
                       "Missing the Transaction Value Information"},
        PaymentRefused{"ValueBelowACent", [](auto& p, auto&, auto&) { p.setPaymentValueText("0.009"); },
                       Refusal::BadPaymentValue, "Incorect Transaction Value Information"},
        PaymentRefused{"ValueNotANumber", [](auto& p, auto&, auto&) { p.setPaymentValueText("abc"); },
                       Refusal::BadPaymentValue, "Incorect Transaction Value Information"},
        PaymentRefused{"MoreThanIsOpen", [](auto& p, auto&, auto&) { p.setPaymentValueText("100.5"); },
                       Refusal::Overpayment, "Incorect Payment Value!"},
        PaymentRefused{"SenderFileGone", [](auto&, auto& bank, auto&) { QFile::remove(bank); },
                       Refusal::FromFileMissing, ""},
        PaymentRefused{"SenderLocked", [](auto&, auto& bank, auto&) { lock(bank, "PC-2"); }, Refusal::FromLocked,
                       "File for the Company that this transfer is coming from is open for editing by PC-2. "
                       "Therefore, this payment will not be completed!"},
        PaymentRefused{"ReceiverFileGone", [](auto&, auto&, auto& shop) { QFile::remove(shop); },
                       Refusal::ToFileMissing, ""},
        PaymentRefused{"ReceiverLockedSenderUntouched", [](auto&, auto&, auto& shop) { lock(shop, "PC-3"); },
                       Refusal::ToLocked,
                       "File for the Company that this transfer is going to is open for editing by PC-3. "
                       "Therefore, this payment will not be completed!"},
        PaymentRefused{"SenderRowHoldsAnother", [](auto& p, auto&, auto&) { p.fromcompanyiselected.Caption = "2"; },
                       Refusal::FromContactNotFound,
                       "Ana  not found in the file Bank.QVC 's file. To save transaction, again select contact and "
                       "click on 'Transfer from'."},
        PaymentRefused{"ReceiverRowHoldsAnother", [](auto& p, auto&, auto&) { p.tocontact.Caption = "Dora"; },
                       Refusal::ToContactNotFound,
                       "Dora is not found on the location you selected in the Shop.QVC 's file. To save "
                       "transaction, again select contact and click on 'Transfer to'."}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(PaymentPostingTest, MissingCompanyFilesAreNamed)
{
    const QString bank = company(QStringLiteral("Bank.QVC"), {{"Ana", "7"}});
    TransactionHeader h = header(QStringLiteral("100"));
    fromContact(h, bank, 1, QStringLiteral("Ana"));
    toOwnCompany(h);
    const PaymentRecord record = opened(transaction(h), QStringLiteral("40"));
    QFile::remove(bank);
    const CheckResult check = posting.checkParties(record);
    EXPECT_EQ(check.refusal, Refusal::FromFileMissing);
    EXPECT_EQ(check.notice.text, "Missing  From Company File(" + bank + ")");
}

TEST_F(PaymentPostingTest, AFailedWritePutsEveryFileBack)
{
    TransactionHeader h = header(QStringLiteral("100"));
    fromContact(h, company(QStringLiteral("Bank.QVC"), {{"Ana", "7"}}), 1, QStringLiteral("Ana"));
    toOwnCompany(h);
    const PaymentRecord record = opened(transaction(h), QStringLiteral("40"));
    const Snapshot before = snapshot({program.path()});
    for (const int failing : {1, 2, 3, 4, 5, 6}) { // company, header, settings, payment file, journal, its name
        SCOPED_TRACE(failing);
        setWriteStepHook([failing](int step) { return step != failing; });
        const PaymentResult result = pay(record);
        EXPECT_EQ(result.outcome, Outcome::NotWritten);
        EXPECT_EQ(snapshot({program.path()}), before);
        EXPECT_EQ(store.PaymentNumber.value(), "7");
        EXPECT_FALSE(PostingJournal::exists());
    }
}

} // namespace
