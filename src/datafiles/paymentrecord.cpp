#include "datafiles/paymentrecord.h"

#include "platform/decimal.h"

namespace datafiles {

using platform::Decimal;

void PaymentRecord::setPaymentValueText(const QString& text)
{
    if (m_paymentValue.Text == text)
        return;
    m_paymentValue.Text = text;
    PaymentValue_Change();
}

// The amounts are exact decimals: a payment of 100 against 100.1 leaves 0.1, not binary noise.
void PaymentRecord::PaymentValue_Change()
{
    const auto payment = Decimal::fromText(m_paymentValue.Text);
    const auto paidBefore = Decimal::fromText(AmountPaid.Caption);
    if (!payment || !paidBefore)
        return;
    if (const auto value = Decimal::fromText(TransactionValue.Caption))
        Balance.Caption = (*value - (*payment + *paidBefore)).text();
    AmountPaid.ToolTipText = (*payment + *paidBefore).text();
}

void PaymentRecord::CLEARALL()
{
    FromMyCompany.Value = 0;
    ToMyCompany.Value = 0;
    for (PaymentLabel* label : {&TransactionNumber, &DateandTime, &TransactionValue, &fromcompany,
                                &fromcontact, &tocompany, &tocontact}) {
        label->Caption.clear();
    }
    setPaymentValueText(QString());
    for (PaymentLabel* label : {&AmountPaid, &Balance, &PaymentDate, &fromcompanyiselected,
                                &tocompanyiselected}) {
        label->Caption.clear();
    }
    Note.Text.clear();
    for (PaymentLabel* label : {&TransactionNumber, &DateandTime, &TransactionValue, &fromcompany,
                                &fromcontact, &tocompany, &tocontact, &AmountPaid, &Balance,
                                &fromcompanyiselected, &tocompanyiselected}) {
        label->ToolTipText.clear();
    }
    m_paymentValue.ToolTipText.clear();
}

} // namespace datafiles
