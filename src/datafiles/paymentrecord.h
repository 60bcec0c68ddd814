#pragma once
// The payment being entered or shown: the contents of the payments window's labels, check
// boxes and text boxes, with the payment value's rule that keeps the balance current.

#include <QString>

namespace datafiles {

struct PaymentLabel {
    QString Caption;
    QString ToolTipText;
    bool operator==(const PaymentLabel&) const = default;
};

struct PaymentCheckBox {
    QString Caption;
    int Value = 0; // 0 clear, 1 ticked
    QString ToolTipText;
    bool operator==(const PaymentCheckBox&) const = default;
};

struct PaymentTextBox {
    QString Text;
    QString ToolTipText;
    bool operator==(const PaymentTextBox&) const = default;
};

class PaymentRecord {
public:
    PaymentCheckBox FromMyCompany{QStringLiteral("From My Company"), 0, QString()};
    PaymentCheckBox ToMyCompany{QStringLiteral("To My Company"), 0, QString()};
    PaymentLabel TransactionNumber;
    PaymentLabel DateandTime;
    PaymentLabel TransactionValue;
    PaymentLabel fromcompany;
    PaymentLabel fromcontact;
    PaymentLabel tocompany;
    PaymentLabel tocontact;
    PaymentLabel AmountPaid;
    PaymentLabel Balance;
    PaymentLabel PaymentDate{QString(), QStringLiteral("Click to Refresh ")};
    PaymentLabel lblChangeStatus{QStringLiteral("0"), QString()};
    PaymentLabel fromcompanyiselected;
    PaymentLabel tocompanyiselected;
    PaymentTextBox Note;

    // The payment value box. Its text is set through setPaymentValueText, which runs the
    // value rule on a real change, as typing into the box does.
    const PaymentTextBox& PaymentValue() const { return m_paymentValue; }
    void setPaymentValueText(const QString& text);
    void setPaymentValueToolTipText(const QString& text) { m_paymentValue.ToolTipText = text; }

    // The value rule: Balance = TransactionValue - (PaymentValue + AmountPaid), and
    // AmountPaid's tooltip = PaymentValue + AmountPaid; each skipped when one of its
    // numbers does not read.
    void PaymentValue_Change();

    // Empties the record before a header is loaded into it; the check boxes' captions,
    // lblChangeStatus and the tooltips of PaymentDate and Note stay.
    void CLEARALL();

    bool operator==(const PaymentRecord&) const = default;

private:
    PaymentTextBox m_paymentValue;
};

} // namespace datafiles
