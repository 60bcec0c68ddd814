#include "windows/transactions/transactionformview.h"

#include "grid/documents/documentlist.h"
#include "windows/transactions/frmtransactions.h"

#include <QFrame>

namespace windows {

QString TransactionFormView::TransactionNumber() const
{
    return m_window.header().TransactionNumber.Caption;
}

QString TransactionFormView::DateandTime() const
{
    return m_window.header().DateandTime.Caption;
}

QString TransactionFormView::Value() const
{
    return m_window.header().Value.Caption;
}

QString TransactionFormView::FromMyCompany() const
{
    return m_window.header().FromMyCompany.Caption;
}

bool TransactionFormView::FromMyCompanyChecked() const
{
    return m_window.header().FromMyCompany.Checked;
}

QString TransactionFormView::ToMyCompany() const
{
    return m_window.header().ToMyCompany.Caption;
}

bool TransactionFormView::ToMyCompanyChecked() const
{
    return m_window.header().ToMyCompany.Checked;
}

QString TransactionFormView::fromcompany() const
{
    return m_window.header().fromcompany.Caption;
}

QString TransactionFormView::tocompany() const
{
    return m_window.header().tocompany.Caption;
}

QString TransactionFormView::fromcontact() const
{
    return m_window.header().fromcontact.Caption;
}

QString TransactionFormView::tocontact() const
{
    return m_window.header().tocontact.Caption;
}

QString TransactionFormView::copiesText() const
{
    return m_window.List1().toolTip();
}

void TransactionFormView::setCopiesText(const QString& text)
{
    m_window.List1().setToolTip(text);
}

void TransactionFormView::setPleaseWaitVisible(bool visible)
{
    m_window.PleaseWait()->setVisible(visible);
}

grid::ProgressDisplay* TransactionFormView::ProgressBar1()
{
    return m_window.progressDisplay();
}

} // namespace windows
