#include "grid/documents/documentlist.h"

#include "grid/documents/excelexchange.h"
#include "grid/documents/exchangehost.h"
#include "grid/documents/selectionfindview.h"
#include "grid/documents/transactionform.h"

namespace grid {

DocumentList::DocumentList(QWidget* parent)
    : List(parent),
      m_file(core()),
      m_findView(std::make_unique<SelectionFindView>(core(), selection(), *this)),
      m_finder(core(), m_findView.get())
{
}

DocumentList::~DocumentList() = default;

void DocumentList::setExchangeHost(ExchangeHost* host)
{
    m_host = host;
    setHost(host);
    m_exchange = host ? std::make_unique<ExcelExchange>(core(), *host) : nullptr;
    rebuildTransactionForm();
}

void DocumentList::setTransactionForm(TransactionFormSettings* settings, TransactionFormSource* transaction)
{
    m_formSettings = settings;
    m_formTransaction = transaction;
    rebuildTransactionForm();
}

void DocumentList::rebuildTransactionForm()
{
    m_form.reset();
    if (m_host && m_formSettings && m_formTransaction)
        m_form = std::make_unique<TransactionForm>(core(), *m_host, *m_formSettings, *m_formTransaction);
}

bool DocumentList::importexcel(const QString& FileName, int32_t Rows)
{
    // The imported cells are one change of the document, told once.
    GridCore::ChangeScope change(core());
    return m_exchange && m_exchange->importexcel(FileName, Rows);
}

bool DocumentList::exporttoexcel()
{
    return m_exchange && m_exchange->exporttoexcel();
}

bool DocumentList::exporttotransactionform()
{
    return m_form && m_form->exporttotransactionform();
}

} // namespace grid
