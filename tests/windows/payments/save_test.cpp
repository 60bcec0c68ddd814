// Save through the window: a transaction paid in two parts and then refused as paid in full,
// the payment file's name, the refusals that change nothing, the contact window shown for
// each contact party, a payment saved once only, and Open Payment showing a stored payment.

#include "paymentsfixture.h"

#include "datafiles/paymentfile.h"
#include "datafiles/transactionheaderfile.h"
#include "platform/safefile.h"
#include "posting/writestephook.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>

namespace paymentstest {
namespace {

using platform::Answer;
using platform::MsgStyle::Critical;
using testsupport::PromptKind;

class PaymentSave : public PaymentsTest {
public:
    // Bank.QVC with Ana, balance 500.
    QString bank() { return company(QStringLiteral("Bank.QVC"), {{"Ana", "500"}}); }
    // A transaction of `value` from the own company to Ana of Bank.QVC.
    QString toAna(const QString& value = QStringLiteral("500"), const QString& paid = QString())
    {
        datafiles::TransactionHeader h = header(value, paid);
        fromOwnCompany(h);
        toContact(h, bank(), 1, QStringLiteral("Ana"));
        return transaction(QStringLiteral("41.QVT"), h);
    }
    QString lastText() { return prompts->recorded().isEmpty() ? QString() : prompts->recorded().last().text; }
    postingtest::Snapshot everything() const { return postingtest::snapshot({program.path()}); }
};

// The whole road: a part paid, the rest paid, a third payment refused as paid in full.
TEST_F(PaymentSave, APartThenTheRestThenNoMore)
{
    openWindow();
    const QString path = toAna();
    const QString ana = contactsFolder() + "Bank.QVC";

    openTransaction(path);
    window->PaymentValue()->setText(QStringLiteral("200"));
    QTest::keyClicks(window->Note(), QStringLiteral("first instalment"));
    ASSERT_TRUE(save(paymentsFolder() + "8.QVP", 1));

    // The dialog proposed the next payment number in the payments folder.
    const testsupport::RecordedPrompt& dialog = prompts->recorded().at(prompts->recorded().size() - 2);
    EXPECT_EQ(dialog.kind, PromptKind::ShowSave);
    EXPECT_EQ(dialog.dialog.FileName, "8.QVP");
    EXPECT_EQ(dialog.dialog.InitDir, paymentsFolder());
    EXPECT_EQ(dialog.dialog.Filter, "Payment (*.QVP)|*.QVP|");
    EXPECT_EQ(lastText(), "Payment Saved");
    EXPECT_EQ(prompts->recorded().last().style, platform::MsgStyle::Information);

    EXPECT_EQ(window->windowTitle(), "Payment [ 8.QVP ]");
    EXPECT_EQ(window->CommonDialog1().FileName, paymentsFolder() + "8.QVP");
    EXPECT_EQ(machine.store.Balance.value(), "1200");
    EXPECT_EQ(machine.store.PaymentNumber.value(), "8");
    EXPECT_EQ(cellOf(ana, 1, 2), "300");
    EXPECT_EQ(storedLines(path + "H").value(15), "200");
    EXPECT_EQ(storedLines(path + "H").value(16), "300");
    EXPECT_EQ(machine.shownCompanyFiles, QStringList{ana});
    // The window stands to the right of the contact window, at its top.
    EXPECT_EQ(window->pos(), QPoint(5220 / 15, 0));
    datafiles::PaymentRecord stored;
    ASSERT_EQ(datafiles::LoadPaymentFile(paymentsFolder() + "8.QVP", stored),
              datafiles::LineFileReader::Status::Accepted);
    EXPECT_EQ(stored, window->record());
    EXPECT_EQ(stored.Note.Text, "first instalment");
    EXPECT_EQ(stored.AmountPaid.Caption, "0");
    EXPECT_EQ(stored.AmountPaid.ToolTipText, "200");

    // The rest: the window proposes what is open now.
    openTransaction(path);
    EXPECT_EQ(window->PaymentValue()->text(), "300");
    EXPECT_EQ(shown("AmountPaid"), "200");
    EXPECT_EQ(window->Note()->toPlainText(), "");
    ASSERT_TRUE(save(paymentsFolder() + "9.QVP", 1));
    EXPECT_EQ(prompts->recorded().at(prompts->recorded().size() - 2).dialog.FileName, "9.QVP");
    EXPECT_EQ(window->windowTitle(), "Payment [ 9.QVP ]");
    EXPECT_EQ(machine.store.Balance.value(), "1500");
    EXPECT_EQ(cellOf(ana, 1, 2), "0");
    EXPECT_EQ(storedLines(path + "H").value(15), "500");
    EXPECT_EQ(storedLines(path + "H").value(16), "0");

    // No more: the transaction is paid in full, and nothing changes.
    openTransaction(path);
    EXPECT_EQ(window->PaymentValue()->text(), "0");
    window->PaymentValue()->setText(QStringLiteral("1"));
    const postingtest::Snapshot before = everything();
    prompts->queueAnswer(Answer::OK);
    EXPECT_FALSE(window->cmdSave_Click());
    EXPECT_EQ(lastText(), "This Transaction was paid in full amount!");
    EXPECT_EQ(prompts->recorded().last().title, "Quorvane can't complete this payment");
    EXPECT_EQ(prompts->recorded().last().style, Critical);
    EXPECT_EQ(everything(), before);
    EXPECT_EQ(machine.store.PaymentNumber.value(), "9");
    EXPECT_EQ(window->windowTitle(), "Payment [ Unsaved ]");
}

// "10" paid on a value written "10.00" is paid in full: the amounts are compared, not their
// texts, so the window does not go on to call the proposed 0 a wrong value.
TEST_F(PaymentSave, PaidInFullIsDecidedByTheAmounts)
{
    openWindow();
    openTransaction(toAna(QStringLiteral("10.00"), QStringLiteral("10")));
    prompts->queueAnswer(Answer::OK);
    EXPECT_FALSE(window->cmdSave_Click());
    EXPECT_EQ(lastText(), "This Transaction was paid in full amount!");
}

struct RefusalCase {
    const char* name;
    std::function<void(PaymentSave&, windows::frmPayments&, const QString& transactionPath)> arrange;
    const char* text;   // the message; "%1" is the To company file's path
    const char* title;  // "" for the program's title
};

void PrintTo(const RefusalCase& c, std::ostream* os)
{
    *os << c.name;
}

class SaveRefusals : public PaymentSave, public ::testing::WithParamInterface<RefusalCase> {};

// Each refusal comes before the file dialog and changes no byte anywhere.
TEST_P(SaveRefusals, ChangeNothing)
{
    const RefusalCase& c = GetParam();
    openWindow();
    const QString path = toAna();
    openTransaction(path);
    c.arrange(*this, *window, path);
    const postingtest::Snapshot before = everything();
    const QString balance = machine.store.Balance.value();
    prompts->clear();
    prompts->queueAnswer(Answer::OK);
    EXPECT_FALSE(window->cmdSave_Click());
    ASSERT_EQ(prompts->recorded().size(), 1);
    QString text = QString::fromLatin1(c.text);
    text.replace(QStringLiteral("%1"), contactsFolder() + "Bank.QVC");
    EXPECT_EQ(lastText(), text);
    EXPECT_EQ(prompts->recorded().last().title, *c.title ? QString::fromLatin1(c.title) : QStringLiteral("Quorvane"));
    EXPECT_EQ(prompts->recorded().last().style, Critical);
    EXPECT_EQ(everything(), before);
    EXPECT_EQ(machine.store.Balance.value(), balance);
    EXPECT_EQ(machine.store.PaymentNumber.value(), "7");
    EXPECT_EQ(window->windowTitle(), "Payment [ Unsaved ]");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SaveRefusals,
    ::testing::Values(
        RefusalCase{"NoTransactionChosen", [](PaymentSave&, windows::frmPayments& w, const QString&) { w.CLEARALL(); },
                    "Please select the Transaction for payment", ""},
        RefusalCase{"EmptyValue",
                    [](PaymentSave&, windows::frmPayments& w, const QString&) { w.PaymentValue()->clear(); },
                    "Missing the Transaction Value Information", ""},
        RefusalCase{"ValueBelowACent",
                    [](PaymentSave&, windows::frmPayments& w, const QString&) {
                        w.PaymentValue()->setText(QStringLiteral("0.009"));
                    },
                    "Incorect Transaction Value Information", ""},
        // Another machine paid meanwhile: the header on disk leaves 100 open, not 500.
        RefusalCase{"MoreThanTheHeaderOnDiskLeavesOpen",
                    [](PaymentSave& t, windows::frmPayments&, const QString& path) {
                        datafiles::TransactionHeader h = header(QStringLiteral("500"), QStringLiteral("400"));
                        fromOwnCompany(h);
                        toContact(h, t.bank(), 1, QStringLiteral("Ana"));
                        ASSERT_TRUE(datafiles::SaveTransactionHeader(path + "H", h));
                    },
                    "Incorect Payment Value!", ""},
        RefusalCase{"ToCompanyFileMissing",
                    [](PaymentSave& t, windows::frmPayments&, const QString&) {
                        ASSERT_TRUE(QFile::remove(t.bank()));
                    },
                    "Missing  To Company File(%1)", ""},
        RefusalCase{"ToCompanyFileLocked",
                    [](PaymentSave& t, windows::frmPayments&, const QString&) {
                        QFile lock(t.bank() + ".tmp");
                        ASSERT_TRUE(lock.open(QIODevice::WriteOnly));
                        lock.write("DESK-7");
                    },
                    "File for the Company that this transfer is going to is open for editing by DESK-7. "
                    "Therefore, this payment will not be completed!",
                    "Transactions Header Menu"}),
    [](const auto& info) { return std::string(info.param.name); });

// A text holding a character the payment file cannot store would be written as "?" and the
// payment reported saved. Save refuses it before the file dialog, naming the field and the
// character, and writes nothing; the text stays as typed. Central European text is stored
// as typed.
TEST_F(PaymentSave, ATextThePaymentFileCannotStoreRefusesTheSaveNamingFieldAndCharacter)
{
    const struct {
        const char* name;
        const char* folder; // below the transactions folder
        const char* note;   // typed, or pasted
        bool pasted;
        const char* told;
    } cases[] = {
        {"a note typed with a Danish letter", "", "Paid cash, S\u00f8ren", false,
         "the note holds the character \"\u00f8\" (U+00F8)"},
        {"a note pasted with a character beyond 16 bits", "", "Paid \U0001F600", true,
         "the note holds the character \"\U0001F600\" (U+1F600)"},
        {"a transaction kept in a folder whose name the file cannot store", "J\u00f8rgen/", "Paid cash", false,
         "the path of the transaction's header file holds the character \"\u00f8\" (U+00F8)"},
    };
    openWindow();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString folder = transactionsFolder() + QString::fromUtf8(c.folder);
        ASSERT_TRUE(QDir().mkpath(folder));
        datafiles::TransactionHeader h = header(QStringLiteral("500"));
        fromOwnCompany(h);
        toContact(h, bank(), 1, QStringLiteral("Ana"));
        openTransaction(transaction(QStringLiteral("41.QVT"), h, folder));
        window->Note()->setFocus();
        if (c.pasted) {
            QApplication::clipboard()->setText(QString::fromUtf8(c.note));
            window->Note()->paste();
        } else {
            QTest::keyClicks(window->Note(), QString::fromUtf8(c.note));
        }
        const postingtest::Snapshot before = everything();
        prompts->clear();
        prompts->queueAnswer(Answer::OK);
        window->button(QStringLiteral("cmdSave"))->click();

        ASSERT_EQ(prompts->recorded().size(), 1) << prompts->texts().join('|').toStdString();
        EXPECT_TRUE(lastText().startsWith("The payment was not saved: " + QString::fromUtf8(c.told) + ", which"))
            << lastText().toStdString();
        EXPECT_EQ(prompts->recorded().last().style, Critical);
        EXPECT_EQ(everything(), before);
        EXPECT_EQ(machine.store.PaymentNumber.value(), "7");
        EXPECT_EQ(window->windowTitle(), "Payment [ Unsaved ]");
        EXPECT_EQ(window->Note()->toPlainText(), QString::fromUtf8(c.note));
    }

    const QString stored = QString::fromUtf8("Pla\u010dano: \u0160\u00e1rka \u010eur\u010dov\u00e1, 5 \u20ac");
    openTransaction(toAna());
    QApplication::clipboard()->setText(stored);
    window->Note()->paste();
    ASSERT_TRUE(save(paymentsFolder() + "8.QVP", 1)) << prompts->texts().join('|').toStdString();
    datafiles::PaymentRecord read;
    ASSERT_EQ(datafiles::LoadPaymentFile(paymentsFolder() + "8.QVP", read), datafiles::LineFileReader::Status::Accepted);
    EXPECT_EQ(read.Note.Text, stored);
}

// The From party's company file is tested before anything is posted, as the To party's is:
// the own company's balance is not raised for a payment that cannot be completed.
TEST_F(PaymentSave, AMissingFromCompanyFileRefusesBeforeAnythingIsPosted)
{
    openWindow();
    datafiles::TransactionHeader h = header(QStringLiteral("500"));
    toOwnCompany(h);
    const QString shop = company(QStringLiteral("Shop.QVC"), {{"Bo", "0"}});
    fromContact(h, shop, 1, QStringLiteral("Bo"));
    openTransaction(transaction(QStringLiteral("41.QVT"), h));
    ASSERT_TRUE(QFile::remove(shop));
    const postingtest::Snapshot before = everything();
    prompts->clear();
    prompts->queueAnswer(Answer::OK);
    EXPECT_FALSE(window->cmdSave_Click());
    EXPECT_EQ(lastText(), "Missing  From Company File(" + shop + ")");
    EXPECT_EQ(prompts->recorded().size(), 1);
    EXPECT_EQ(machine.store.Balance.value(), "1000");
    EXPECT_EQ(everything(), before);
}

// A payment typed with a lone comma before three digits reads as one amount to one reader and
// as another to the next: Save refuses it before the file dialog, as a balance cell holding
// it is refused. A comma before other than three digits is the decimal separator.
TEST_F(PaymentSave, ACommaBeforeThreeDigitsIsAskedAboutNotGuessed)
{
    const struct {
        const char* typed;
        const char* whole; // the reading that groups thousands; nullptr: saved
        const char* decimal;
    } cases[] = {
        {"1,500", "1500", "1.5"},
        {"12,345", "12345", "12.345"},
        {"1,5", nullptr, "1.5"},
        {"1,50", nullptr, "1.5"},
    };
    openWindow();
    const QString path = toAna();
    int saved = 7;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        openTransaction(path);
        window->PaymentValue()->clear();
        QTest::keyClicks(window->PaymentValue(), QString::fromLatin1(c.typed));
        prompts->clear();
        if (c.whole) {
            const postingtest::Snapshot before = everything();
            prompts->queueAnswer(Answer::OK);
            EXPECT_FALSE(window->cmdSave_Click());
            EXPECT_EQ(prompts->recorded().size(), 1);
            EXPECT_EQ(lastText(), QStringLiteral("This payment value is \"%1\", which reads as %2 to some and as %3 to others: "
                                                 "a comma before three digits may group thousands or separate decimals. "
                                                 "Write it with \".\" as the decimal separator and without grouping, "
                                                 "and save again. Therefore, this payment will not be completed!")
                                      .arg(QString::fromLatin1(c.typed), QString::fromLatin1(c.whole),
                                           QString::fromLatin1(c.decimal)));
            EXPECT_EQ(prompts->recorded().last().title, "Transactions Header Menu");
            EXPECT_EQ(prompts->recorded().last().style, Critical);
            EXPECT_EQ(everything(), before);
            EXPECT_EQ(window->windowTitle(), "Payment [ Unsaved ]");
        } else {
            ASSERT_TRUE(save(paymentsFolder() + QStringLiteral("%1.QVP").arg(++saved), 1));
            EXPECT_EQ(storedLines(path + "H").value(15), "1.5");
            EXPECT_EQ(cellOf(contactsFolder() + "Bank.QVC", 1, 2), "498.5");
            toAna(); // unpaid again, Ana at 500, for the next case
        }
    }
}

// Cancel in the file dialog, and No to writing over an existing file, end Save quietly.
TEST_F(PaymentSave, TheFileDialogAndTheOverwriteQuestionMayStopIt)
{
    openWindow();
    openTransaction(toAna());
    const postingtest::Snapshot before = everything();
    prompts->queueSaveCancel();
    EXPECT_FALSE(window->cmdSave_Click());
    EXPECT_EQ(everything(), before);

    const QString existing = paymentsFolder() + "old.QVP";
    ASSERT_TRUE(platform::writeFileAtomically(existing, "old payment"));
    const postingtest::Snapshot withOld = everything();
    prompts->queueSave(existing);
    prompts->queueAnswer(Answer::No);
    EXPECT_FALSE(window->cmdSave_Click());
    EXPECT_EQ(lastText(), "File " + existing + " already existing. Overwrite the existing file?");
    EXPECT_EQ(prompts->recorded().last().style, platform::MsgStyle::YesNo);
    EXPECT_EQ(everything(), withOld);
    EXPECT_EQ(window->windowTitle(), "Payment [ Unsaved ]");

    prompts->queueSave(existing);
    prompts->queueAnswer(Answer::Yes);
    prompts->queueAnswer(Answer::OK);
    EXPECT_TRUE(window->cmdSave_Click());
    EXPECT_EQ(window->windowTitle(), "Payment [ old.QVP ]");
    EXPECT_EQ(machine.store.PaymentNumber.value(), "8");
}

// A payment file named as a file the payment itself changes would take that file's place:
// the transaction's header or the party's balances would be lost. It is refused before the
// overwrite question.
TEST_F(PaymentSave, APaymentFileNamedAsAFileThePaymentChangesIsRefused)
{
    openWindow();
    const QString path = toAna();
    openTransaction(path);
    const postingtest::Snapshot before = everything();
    for (const QString& name : {path + "H", contactsFolder() + "Bank.QVC"}) {
        SCOPED_TRACE(name.toStdString());
        prompts->clear();
        prompts->queueSave(name);
        // Whoever is asked whether to write over the file says yes.
        prompts->queueAnswer([](const testsupport::RecordedPrompt& asked) {
            return asked.style == platform::MsgStyle::YesNo ? Answer::Yes : Answer::OK;
        });
        EXPECT_FALSE(window->cmdSave_Click());
        EXPECT_EQ(lastText(), "The payment cannot be saved as \"" + name
                                  + "\": the payment itself changes that file. Please choose another name.");
        EXPECT_EQ(prompts->recorded().last().style, Critical);
        EXPECT_EQ(everything(), before);
        EXPECT_EQ(window->windowTitle(), "Payment [ Unsaved ]");
    }
}

// A posting whose last file cannot be written is put back whole and told as such: the window
// stays unsaved, nothing is reported saved, and the next Save posts it once.
TEST_F(PaymentSave, AFailedWriteIsToldAndChangesNothing)
{
    openWindow();
    openTransaction(toAna());
    window->PaymentValue()->setText(QStringLiteral("200"));
    const postingtest::Snapshot before = everything();
    posting::setWriteStepHook([](int step) { return step != 5; }); // journal, company, header, settings, payment
    prompts->queueSave(paymentsFolder() + "8.QVP");
    prompts->queueAnswer(Answer::OK);
    EXPECT_FALSE(window->cmdSave_Click());
    posting::setWriteStepHook({});
    EXPECT_EQ(prompts->recorded().last().style, Critical);
    EXPECT_FALSE(prompts->texts().contains("Payment Saved"));
    EXPECT_TRUE(machine.shownCompanyFiles.isEmpty());
    EXPECT_EQ(window->windowTitle(), "Payment [ Unsaved ]");
    EXPECT_EQ(everything(), before);
    EXPECT_EQ(machine.store.Balance.value(), "1000");
    EXPECT_EQ(machine.store.PaymentNumber.value(), "7");

    ASSERT_TRUE(save(paymentsFolder() + "8.QVP", 1));
    EXPECT_EQ(machine.store.Balance.value(), "1200");
    EXPECT_EQ(cellOf(contactsFolder() + "Bank.QVC", 1, 2), "300");
}

// Two contact parties: each company file is shown, From first, each with its message, and
// nothing is rounded.
TEST_F(PaymentSave, TwoContactPartiesAreEachShownAndTold)
{
    openWindow();
    datafiles::TransactionHeader h = header(QStringLiteral("500"));
    const QString shop = company(QStringLiteral("Shop.QVC"), {{"Zed", "1"}, {"Bo", "-300"}});
    fromContact(h, shop, 2, QStringLiteral("Bo"));
    toContact(h, bank(), 1, QStringLiteral("Ana"));
    openTransaction(transaction(QStringLiteral("41.QVT"), h));
    window->PaymentValue()->setText(QStringLiteral("100.5"));
    ASSERT_TRUE(save(paymentsFolder() + "8.QVP", 2));
    EXPECT_EQ(machine.shownCompanyFiles, (QStringList{shop, contactsFolder() + "Bank.QVC"}));
    EXPECT_EQ(prompts->texts().mid(prompts->texts().size() - 2), (QStringList{"Payment Saved", "Payment Saved"}));
    EXPECT_EQ(cellOf(shop, 2, 2), "-199.5");
    EXPECT_EQ(cellOf(contactsFolder() + "Bank.QVC", 1, 2), "399.5");
    EXPECT_EQ(machine.store.Balance.value(), "1000");
}

// A saved payment is never saved again, not even after a cancelled Open Transaction (which
// once gave it back its unsaved caption, so that a second Save posted it twice).
TEST_F(PaymentSave, ASavedPaymentIsNeverPostedTwice)
{
    openWindow();
    const QString path = toAna();
    openTransaction(path);
    window->PaymentValue()->setText(QStringLiteral("100"));
    ASSERT_TRUE(save(paymentsFolder() + "8.QVP", 1));
    const postingtest::Snapshot saved = everything();

    prompts->queueOpenCancel();
    window->cmdFind_Click();
    EXPECT_EQ(window->windowTitle(), "Payment [ 8.QVP ]");

    prompts->clear();
    prompts->queueAnswer(Answer::No);
    EXPECT_FALSE(window->cmdSave_Click());
    ASSERT_EQ(prompts->recorded().size(), 1);
    EXPECT_EQ(lastText(),
              "Payment [ 8.QVP ]was already saved. To avoid payment errors, you can't save the same payment more then "
              "once. If one transaction is not paid completely and you want to add payment, open that transaction "
              "and save new payment. Open Transaction now?");
    EXPECT_EQ(prompts->recorded().last().style, platform::MsgStyle::YesNo);
    EXPECT_EQ(everything(), saved);
    EXPECT_EQ(machine.store.Balance.value(), "1100");

    // Yes opens the transaction dialog.
    prompts->queueAnswer(Answer::Yes);
    prompts->queueOpenCancel();
    EXPECT_FALSE(window->cmdSave_Click());
    EXPECT_EQ(prompts->recorded().last().kind, PromptKind::ShowOpen);
    EXPECT_EQ(prompts->recorded().last().dialog.Filter, "Transaction (*.QVT)|*.QVT|");
    EXPECT_EQ(everything(), saved);

    // "Enter Payment" from the transactions window starts a new payment, which may be saved.
    window->enterPayment(path);
    EXPECT_EQ(window->windowTitle(), "Payment [ Unsaved ]");
    EXPECT_EQ(window->PaymentValue()->text(), "400");
    ASSERT_TRUE(save(paymentsFolder() + "9.QVP", 1));
    EXPECT_EQ(machine.store.Balance.value(), "1500");
}

// Open Payment shows a stored payment as it was saved and refuses to save it again.
TEST_F(PaymentSave, OpenPaymentShowsAStoredPayment)
{
    openWindow();
    openTransaction(toAna(QStringLiteral("500"), QStringLiteral("150")));
    window->PaymentValue()->setText(QStringLiteral("120"));
    QTest::keyClicks(window->Note(), QStringLiteral("cash"));
    ASSERT_TRUE(save(paymentsFolder() + "8.QVP", 1));
    const datafiles::PaymentRecord saved = window->record();

    openWindow();
    prompts->queueOpen(paymentsFolder() + "8.QVP");
    window->cmdOpen_Click();
    const testsupport::RecordedPrompt& dialog = prompts->recorded().last();
    EXPECT_EQ(dialog.dialog.InitDir, paymentsFolder());
    EXPECT_EQ(window->windowTitle(), "Payment [ 8.QVP ]");
    EXPECT_EQ(window->record(), saved);
    EXPECT_EQ(window->PaymentValue()->text(), "120");
    EXPECT_EQ(shown("AmountPaid"), "150");
    EXPECT_EQ(tip("AmountPaid"), "270");
    EXPECT_EQ(shown("Balance"), "230");
    EXPECT_EQ(shown("tocontact"), "Ana");
    EXPECT_EQ(window->Note()->toPlainText(), "cash");
    EXPECT_EQ(shown("lblChangeStatus"), "0");

    const postingtest::Snapshot before = everything();
    prompts->queueAnswer(Answer::No);
    EXPECT_FALSE(window->cmdSave_Click());
    EXPECT_TRUE(lastText().startsWith("Payment [ 8.QVP ]was already saved."));
    EXPECT_EQ(everything(), before);
}

// A payment file that cannot be read is reported and changes nothing in the window.
TEST_F(PaymentSave, OpenPaymentOfADamagedFileKeepsTheWindow)
{
    openWindow();
    openTransaction(toAna());
    const datafiles::PaymentRecord before = window->record();
    const QString damaged = paymentsFolder() + "bad.QVP";
    ASSERT_TRUE(platform::writeFileAtomically(damaged, "no payment here"));
    prompts->queueOpen(damaged);
    prompts->queueAnswer(Answer::OK);
    window->cmdOpen_Click();
    EXPECT_EQ(prompts->recorded().last().kind, PromptKind::MsgBox);
    EXPECT_EQ(window->record(), before);
    EXPECT_EQ(window->windowTitle(), "Payment [ Unsaved ]");
}

} // namespace
} // namespace paymentstest
