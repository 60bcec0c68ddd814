#pragma once
// frmItems: the item groups window, the document window for item groups (list files of kind
// QVI in the data root's "Items/" folder). Its document behaviour is the shared one; its
// description gives the texts, folder, settings fields, menus and tool bar of item groups.
// Its own are the transfer of the selected item into the open transaction, and the item form
// of the selected row, printed or shown in the spreadsheet program.

#include "windows/document/documentwindow.h"
#include "windows/document/transactionlines.h"

namespace windows {

class frmItems : public DocumentWindow {
    Q_OBJECT
public:
    explicit frmItems(const DocumentContext& context, QWidget* parent = nullptr);

    // What sets item groups apart from the other document kinds.
    static const DocumentKind& description();

    // Transfers the selected item (its name and price) with a quantity the user gives into
    // the transaction open in the transactions window: the line goes into the transaction's
    // selected empty row, or, once the user agrees, over the line there; the transaction's
    // value grows by the line's total (less the total of a line written over) and the
    // transaction is marked changed. A transactions window not yet shown is shown docked to
    // the right of this one, with its row 1 as the target.
    void TransfersItem() override;

    // ---- The item form of the selected row (File > Print > "Selected Item " and Data >
    // Export Data > "Selected Item into Excel Form"), filled with the own company, the date
    // and time, this window's caption, the row's number and every column of the row. Both
    // want an item with a name and a price of at least LowestPrice; the print asks for the
    // copies. Nothing of the document changes.
    void printselecteditem_Click();
    void exportform_Click();

    // The lowest price an item may have to be transferred or printed.
    static constexpr double LowestPrice = 0.1;

private:
    bool checkPrice(const QString& price);
    void showTransactionsBeside(TransactionLines& transactions);
};

} // namespace windows
