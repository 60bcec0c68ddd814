#include "datafiles/paymentrecord.h"

#include "platform/vb.h"

namespace datafiles {

using platform::vb::CDbl;
using platform::vb::CStr;

void PaymentRecord::setPaymentValueText(const QString& text)
{
    if (m_paymentValue.Text == text)
        return;
    m_paymentValue.Text = text;
    PaymentValue_Change();
}

void PaymentRecord::PaymentValue_Change()
{
    const auto payment = CDbl(m_paymentValue.Text);
    const auto paidBefore = CDbl(AmountPaid.Caption);
    if (!payment || !paidBefore)
        return;
    if (const auto value = CDbl(TransactionValue.Caption))
        Balance.Caption = CStr(*value - (*payment + *paidBefore));
    AmountPaid.ToolTipText = CStr(*payment + *paidBefore);
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
