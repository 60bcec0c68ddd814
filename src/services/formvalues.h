#pragma once
// What a window hands to the form service: the selected row of its grid for the item and
// contact forms, and the payment it shows for the payment form. Plain values, gathered by
// the window at the moment of the command.

#include <QString>
#include <array>

namespace grid {
class GridCore;
}

namespace services {

// One row of a document window's grid with the captions of its columns.
struct SelectedRow {
    static constexpr int Columns = 32;

    // The window's caption as it stands ("Items Group [ Unsaved ]").
    QString windowCaption;
    // The selected row (List1.iSelected); 0 when none is selected.
    int row = 0;
    // cell(k) and header(k) for columns 1 to 32; "" for a column the grid does not have.
    std::array<QString, Columns> cells;
    std::array<QString, Columns> headers;

    const QString& cell(int column) const { return cells[std::size_t(column - 1)]; }
    const QString& header(int column) const { return headers[std::size_t(column - 1)]; }

    // The grid's selected row (GetItem and GetColumnHeader of columns 1 to 32).
    static SelectedRow fromGrid(const grid::GridCore& grid, const QString& windowCaption);
};

// The payments window's texts as it shows them, saved or not.
struct PaymentFormValues {
    // The transaction paid (captions of its labels); an empty number means none is chosen.
    QString TransactionNumber;
    QString DateandTime;
    QString TransactionValue;
    QString fromcompany;
    QString fromcontact;
    QString tocompany;
    QString tocontact;
    // This payment: the value typed, the amount paid before it, the date of the payment, the
    // balance after it, and the note.
    QString PaymentValue;
    QString AmountPaid;
    QString PaymentDate;
    QString Balance;
    QString Note;
};

} // namespace services
