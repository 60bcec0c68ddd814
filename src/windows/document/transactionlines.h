#pragma once
// The transactions window as the item groups window's transfer (TransfersItem) sees it: its
// line-item grid, the value of the transaction, its changed mark, a few of its menus and its
// place on the screen. The transactions window implements it; the program's window registry
// hands it out (WindowShell::transactionLines).

#include <QString>

namespace grid {
class DocumentList;
}

namespace windows {

class TransactionLines {
public:
    virtual ~TransactionLines() = default;

    // Whether the window is shown.
    virtual bool Visible() const = 0;

    // The line-item grid List1: after napravikolone its columns are 1 "Item Name", 2 "Price",
    // 3 "Quantity" and 4 "Total".
    virtual grid::DocumentList& List1() = 0;

    // Gives a grid with fewer than two columns the four line-item columns and 30 rows;
    // does nothing otherwise.
    virtual void napravikolone() = 0;

    // Shows the window (its activation runs) and enables its New menu.
    virtual void showForTransfer() = 0;

    // Appends one empty line after the last line and marks the transaction changed, unless
    // the transaction is at its row limit (then the window shows its own message).
    virtual void DODARED() = 0;

    // The caption of the header menu Value: the transaction's total value as text.
    virtual QString Value() const = 0;
    virtual void setValue(const QString& caption) = 0;

    // Marks the transaction changed (lblChangeStatus "1"): it is to be saved, and asks
    // "Save Changes?" before it is discarded.
    virtual void markChanged() = 0;

    // Enables the Delete Row menu.
    virtual void enableDeleteRow() = 0;

    // Moves the window to Left and Top, in twips; its size stays.
    virtual void moveTo(int leftTwips, int topTwips) = 0;

    // Gives the window the focus and then its grid; nothing while the window is hidden.
    virtual void focusGrid() = 0;
};

} // namespace windows
