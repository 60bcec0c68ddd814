#pragma once
// The cell maps of the item, contact and payment forms: which cell of the template's active
// sheet receives which value, in the order the cells are written.

#include <QDateTime>
#include <QString>
#include <variant>
#include <vector>

namespace datafiles {
class SettingsStore;
}

namespace services {

struct PaymentFormValues;
struct SelectedRow;

struct FormCell {
    QString address;
    // A text (which the spreadsheet takes as a number when it reads as one), a number, or a
    // date and time value.
    std::variant<QString, double, QDateTime> value;

    bool operator==(const FormCell&) const = default;
};

using FormCells = std::vector<FormCell>;

// The item and contact forms: the own company in B2 to B8, the date and time in D15, the
// window's caption in D17, the row's number in D19, its columns 1 and 2 (name, and price or
// balance) in D21 and D23, then for each column i from 3 to 32 its caption in B(2i + 19) and
// the row's text in D(2i + 19), caption first. Every cell is written, the columns the grid
// does not have emptied.
FormCells recordFormCells(const datafiles::SettingsStore& store, const SelectedRow& row, const QDateTime& now);

// The payment form, all texts: the own company in A2 to A8; the transaction's number, date,
// value, From company and contact, To company and contact in K13 to K19; the payment's
// value, the amount paid, the payment's date and the balance in D13, D15, D17 and D19; the
// note in A22.
FormCells paymentFormCells(const datafiles::SettingsStore& store, const PaymentFormValues& payment);

} // namespace services
