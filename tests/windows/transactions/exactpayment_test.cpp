// The real transactions window with the real payments window behind its "Enter Payment": Save
// As of a transaction that was paid makes an unpaid invoice, and the payment proposed and the
// balance left are exact amounts.

#include "transactionfixture.h"

#include "windows/payments/frmpayments.h"

namespace transactiontest {
namespace {

class PaymentBehind : public TransactionWindow {
protected:
    PaymentBehind()
    {
        bank = company(QStringLiteral("Bank.QVC"), {{"Ana", "7"}});
        openWindow();
    }
    windows::TransactionPartners partners() override { return {&settings, &items, &contacts, &paymentsWindow, nullptr}; }
    // A saved transaction of one line worth `value`, with `paid` of it paid; open in the window.
    QString openPaid(const QString& name, const QString& value, const QString& paid, const QString& open)
    {
        const QString path = transaction(name);
        TransactionHeader h = headerToContact(QStringLiteral("42"), value, bank);
        h.AmountPaid.Caption = paid;
        h.Balance.Caption = open;
        writeTransaction(path, h, 1);
        openThroughDialog(path);
        setLine(1, QStringLiteral("Desk"), value, QStringLiteral("1"), value);
        window->setlblChangeStatus(QStringLiteral("0"));
        return path;
    }
    void enterPayment()
    {
        prompts.script().clear();
        window->menu(QStringLiteral("enterPayment"))->trigger();
    }
    const datafiles::PaymentRecord& payment() const { return paymentsWindow.record(); }

    QString bank;
    platform::CommonDialog CommonDialog4;
    windows::frmPayments paymentsWindow{{program.store, CommonDialog4, prompts.script(), nullptr, nullptr}};
};

// Open 42.QVT (14.9, 3 paid) and Save As 43.QVT: the new invoice's header shows nothing paid,
// as New leaves it, and Enter Payment proposes its whole value.
TEST_F(PaymentBehind, SaveAsOfAPaidTransactionMakesAnUnpaidInvoice)
{
    const QString paid = openPaid(QStringLiteral("42.QVT"), QStringLiteral("14.9"), QStringLiteral("3"),
                                  QStringLiteral("11.9"));
    enterPayment();
    EXPECT_EQ(payment().PaymentValue().Text, QStringLiteral("11.9"));

    prompts.script().clear();
    prompts->queueSave(transaction(QStringLiteral("43.QVT")));
    prompts->queueAnswer(Answer::OK); // "Transaction Saved"
    ASSERT_TRUE(window->saveas_Click());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Transaction [ 43.QVT ]"));
    EXPECT_EQ(shown("AmountPaid"), QString());
    EXPECT_EQ(shown("Balance"), QString());
    const QStringList lines = headerLines(transaction(QStringLiteral("43.QVT")));
    EXPECT_EQ(lines.value(2), QStringLiteral("14.9"));
    EXPECT_EQ(lines.value(15), QString());
    EXPECT_EQ(lines.value(16), QString());
    EXPECT_EQ(headerLines(paid).value(15), QStringLiteral("3"));

    enterPayment();
    EXPECT_EQ(payment().TransactionValue.Caption, QStringLiteral("14.9"));
    EXPECT_EQ(payment().AmountPaid.Caption, QStringLiteral("0"));
    EXPECT_EQ(payment().PaymentValue().Text, QStringLiteral("14.9"));
    EXPECT_EQ(payment().Balance.Caption, QStringLiteral("0"));
}

// What is open of 100.1 after 100 paid is 0.1, in the header the window shows and in the
// payment proposed; typing less leaves the exact rest.
TEST_F(PaymentBehind, WhatIsOpenIsExact)
{
    openPaid(QStringLiteral("42.QVT"), QStringLiteral("100.1"), QStringLiteral("100"), QStringLiteral("0.1"));
    enterPayment();
    EXPECT_EQ(payment().PaymentValue().Text, QStringLiteral("0.1"));
    EXPECT_EQ(payment().AmountPaid.ToolTipText, QStringLiteral("100.1"));

    openPaid(QStringLiteral("44.QVT"), QStringLiteral("1000.01"), QString(), QString());
    enterPayment();
    paymentsWindow.PaymentValue()->setText(QStringLiteral("1000"));
    EXPECT_EQ(payment().Balance.Caption, QStringLiteral("0.01"));
    EXPECT_EQ(payment().AmountPaid.ToolTipText, QStringLiteral("1000"));
}

} // namespace
} // namespace transactiontest
