#pragma once
// frmTransactions: the transactions window, the document window for transactions. A
// transaction is its line items, a list file of kind QVT in the data root's "Transactions/"
// folder shown in the grid, and its header file beside it (the same path followed by "H").
//
// The header (number, date and time, value, the From and To parties, the amount paid and the
// balance, the parties' rows, and the value already posted) is a plain TransactionHeader
// record; the window shows it in its Header and Payment menus, a caption holding a value and
// a check mark a choice, and changes it only through the record. Its Value is always the sum
// of the line totals (column 4) the grid shows.
//
// Save and Save As post the transaction through the posting service, which changes the
// balances and writes every file of the transaction as one change; the window shows what
// came of it. The item groups, contact companies, settings and payments windows are reached
// through the narrow interfaces it is given (TransactionPartners); any of them may be absent,
// and then the steps that need it are passed over. The item groups window writes its
// transfers through TransactionLines and the contact companies window hands over the parties
// through TransactionParties, both implemented here.

#include "datafiles/transactionheader.h"
#include "posting/transactionposting.h"
#include "windows/document/documentwindow.h"
#include "windows/document/transactionlines.h"
#include "windows/document/transactionparties.h"

#include <memory>
#include <optional>

namespace grid {
class TransactionFormSettings;
}
namespace posting {
struct Notice;
enum class Refusal;
}

namespace windows {

class PaymentEntry;
class SettingsWindow;
class SideWindow;
class TransactionFormView;

// The windows the transactions window works with; none is owned, each must outlive it.
struct TransactionPartners {
    SettingsWindow* settings = nullptr;
    SideWindow* items = nullptr;
    SideWindow* contacts = nullptr;
    PaymentEntry* payments = nullptr;
    grid::TransactionFormSettings* formSettings = nullptr;
};

class frmTransactions : public DocumentWindow, public TransactionLines, public TransactionParties {
    Q_OBJECT
public:
    explicit frmTransactions(const DocumentContext& context, const TransactionPartners& partners = {},
                             QWidget* parent = nullptr);
    ~frmTransactions() override;

    // What sets transactions apart from the other document kinds.
    static const DocumentKind& description();

    // The transaction's header as the window holds it.
    // The transaction's header as the window holds it, Value the sum of the lines shown.
    const datafiles::TransactionHeader& header();

    // ---- Members other windows call by name
    bool Visible() const override { return isVisible(); }
    grid::DocumentList& List1() override { return DocumentWindow::List1(); }
    void DODARED() override { DocumentWindow::DODARED(); }
    // Gives an empty grid the line-item columns ("Item Name", "Price", "Quantity", "Total")
    // and its empty rows; a grid with two columns or more is left alone.
    void napravikolone() override;

    // ---- TransactionLines: the item transfer writes a line
    void showForTransfer() override;
    QString Value() const override;
    // The transfer's own figure; the header shows the lines' sum in any case.
    void setValue(const QString& caption) override;
    void markChanged() override;
    void enableDeleteRow() override;
    void moveTo(int leftTwips, int topTwips) override;
    void focusGrid() override;

    // ---- TransactionParties: the contact hand-off
    void showAt(int leftTwips, int topTwips) override;
    void takeContact(PartySide side, const ContactParty& party) override;
    // Offers to open an item group and, on Yes, brings the item groups window up docked at
    // the left with a new group and its Open dialog.
    void OPENITEMS() override;

    // ---- Commands, named as the controls that run them
    // Save posts the change of the value since the transaction was last posted; a
    // transaction never saved goes to Save As, which posts its whole value under the next
    // invoice number. True when the transaction was posted and written.
    bool cmdSave_Click() override;
    bool saveas_Click() override;
    // The own company as the sending (receiving) party.
    void FromMyCompany_Click();
    void ToMyCompany_Click();
    // The company or contact entry of a side: the hint, then the contact companies window
    // with its Open dialog, where the user hands the contact over.
    void fromcompany_Click();
    void tocompany_Click();
    // Starts a payment against the transaction as it is saved.
    void enterPayment_Click();
    // The transaction form filled and shown in the spreadsheet program; and printed, in the
    // number of copies asked (the Print menu and the tool bar's Print button).
    void exportform_Click();
    void printexcel_Click();
    void cmdPrintOptions_Click() override { printexcel_Click(); }

protected:
    void Form_Activate() override;
    bool loadCompanionFiles(const QString& path) override;
    void afterDocumentOpened() override;
    void documentChanged() override { showHeader(); }
    // The history is emptied before the line goes: a deleted line cannot be undone.
    void deleterow_Click() override;
    void clearDocumentExtras() override;

private:
    void buildHeaderMenus();
    // Shows the record in the header and payment menus, Value first made the lines' sum.
    void showHeader();
    void refreshValue();
    // Number, date and time for a transaction without a file; the own company's name on
    // both sides always.
    void SetHeaderDefaults();
    // The header a window starts with, before anything is chosen or read.
    static datafiles::TransactionHeader designHeader();
    // The own company as the party of one side: its company and contact entries emptied.
    void chooseOwnCompany(bool fromSide);

    // The contact companies window beside this one: shown (New when it was hidden), docked,
    // and with its Open dialog (ShowContactsForTransfer) or without (DockContactsWindow).
    void ShowContactsForTransfer();
    bool DockContactsWindow();
    void moveBeside(const QPoint& twips);

    // ---- Save and Save As
    bool saveNeedsSaveAs();
    void closeSideWindowsBeforePosting();
    bool checkEntry(posting::SaveKind kind);
    bool postTransaction(posting::SaveKind kind, const QString& path);
    void takePosted(const posting::TransactionResult& result);
    void showRefusal(const posting::Notice& notice, posting::Refusal refusal);
    bool partiesChangedSincePosted();

    TransactionPartners m_partners;
    posting::TransactionPosting m_posting;
    datafiles::TransactionHeader m_header;
    // The header as it was last read from or written to the header file: the parties the
    // transaction's value is posted to. Nothing for a transaction without a header file.
    std::optional<datafiles::TransactionHeader> m_posted;
    std::unique_ptr<TransactionFormView> m_formView;
};

} // namespace windows
