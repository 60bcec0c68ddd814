#include "services/formcells.h"

#include "datafiles/settingsstore.h"
#include "services/formvalues.h"

namespace services {

namespace {

// The own company's seven details, from the given cell of a column down.
void companyBlock(FormCells& cells, const datafiles::SettingsStore& store, const QString& column, int firstRow)
{
    const datafiles::TextField* details[] = {&store.CompanyName, &store.CompanyAddress, &store.CompanyCity,
                                             &store.CompanyZip,  &store.CompanyEMail,   &store.CompanyFax,
                                             &store.CompanyPhone};
    int row = firstRow;
    for (const datafiles::TextField* detail : details)
        cells.push_back({column + QString::number(row++), detail->value()});
}

QString cell(const char* column, int row)
{
    return QLatin1String(column) + QString::number(row);
}

} // namespace

FormCells recordFormCells(const datafiles::SettingsStore& store, const SelectedRow& row, const QDateTime& now)
{
    FormCells cells;
    companyBlock(cells, store, QStringLiteral("B"), 2);
    cells.push_back({QStringLiteral("D15"), now});
    cells.push_back({QStringLiteral("D17"), row.windowCaption});
    cells.push_back({QStringLiteral("D19"), double(row.row)});
    cells.push_back({QStringLiteral("D21"), row.cell(1)});
    cells.push_back({QStringLiteral("D23"), row.cell(2)});
    for (int i = 3; i <= SelectedRow::Columns; ++i) {
        cells.push_back({cell("B", 2 * i + 19), row.header(i)});
        cells.push_back({cell("D", 2 * i + 19), row.cell(i)});
    }
    return cells;
}

FormCells paymentFormCells(const datafiles::SettingsStore& store, const PaymentFormValues& payment)
{
    FormCells cells;
    companyBlock(cells, store, QStringLiteral("A"), 2);
    const QString* transaction[] = {&payment.TransactionNumber, &payment.DateandTime, &payment.TransactionValue,
                                    &payment.fromcompany,       &payment.fromcontact, &payment.tocompany,
                                    &payment.tocontact};
    int row = 13;
    for (const QString* text : transaction)
        cells.push_back({cell("K", row++), *text});
    cells.push_back({QStringLiteral("D13"), payment.PaymentValue});
    cells.push_back({QStringLiteral("D15"), payment.AmountPaid});
    // The map leaves D17 between the amount paid and the balance; the payment's date, shown
    // beside them in the window, goes there.
    cells.push_back({QStringLiteral("D17"), payment.PaymentDate});
    cells.push_back({QStringLiteral("D19"), payment.Balance});
    cells.push_back({QStringLiteral("A22"), payment.Note});
    return cells;
}

} // namespace services
