#pragma once
// What the grid uses of the document window that holds it (the item groups, contact
// companies or transactions window): appending a row, the active-column label, the text and
// format bars, visibility and the transfer hand-offs. A window implements the members that
// concern it; the others do nothing.

#include <QString>
#include <cstdint>

namespace grid {

class GridSelection;

class GridWindow {
public:
    virtual ~GridWindow() = default;

    // Whether the window is shown.
    virtual bool Visible() const = 0;
    // Appends one empty row to the window's grid and marks the document changed, unless the
    // document is at its row limit (then the window shows its own message).
    virtual void DODARED() = 0;
    // Sets the caption of the window's ActiveColumn label; the window's rule runs on it.
    virtual void setActiveColumn(const QString& caption) = 0;
    // Shows the cell that took the focus in the window's text bar (TextText), format buttons
    // (cmdBold, cmdItalic, cmdUnderlined) and colour swatch (Picture1). This only shows the
    // cell: it is not the user's edit of the text bar, so the bar's rule (which writes its
    // text into the grid) must not run for it.
    virtual void showCell(const QString& text, bool bold, bool italic, bool underline, uint32_t color) = 0;
    // The selection and editing part of the window's grid List1, or nullptr.
    virtual GridSelection* gridSelection() = 0;

    // Item groups window: transfers the selected item into the open transaction.
    virtual void TransfersItem() {}
    // Contact companies window: both captions SelectedContactFrom and SelectedContactTo.
    virtual void setSelectedContacts(const QString& name) { (void)name; }
    virtual QString SelectedContactFrom() const { return QString(); }
    // Contact companies window: shows the transfer frame TransferItems and puts the focus
    // on its button TRANSFERITEMSTO.
    virtual void showTransferItems() {}
    // Transactions window: offers to open an item group.
    virtual void OPENITEMS() {}
};

} // namespace grid
