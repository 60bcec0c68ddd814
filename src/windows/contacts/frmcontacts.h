#pragma once
// frmContacts: the contact companies window, the document window for contact company files
// (list files of kind QVC in the data root's "Contacts/" folder: one contact a row, its name
// in column 1 and its balance in column 2). Its document behaviour is the shared one, with
// the texts, folder, settings fields, menus and tool bar of contact companies from its
// description. What is its own: handing the selected contact to the transaction as its
// sender or receiver, through the Transfer menu or the transfer frame TransferItems that the
// grid shows on Enter while the transactions window is open; the contact form, printed or
// shown in the spreadsheet program with the selected contact; and showing a company file
// that a posting has just written.
//
// The postings change balances in the contact company files themselves, never through this
// window. So that no posting and no save of this window undoes the other, the window writes
// its file as a posting does: under the posting lock of the data folder, which first
// completes a posting cut short there (its completion would otherwise later rename its own,
// older content over what the window wrote), and no posting changes the file between the
// window's look at it and its write. When postings changed balances in the file after the
// window read it, Save keeps them: a contact's balance the user left as read takes the posted
// one, beside the user's other edits, without a question; where the user changed that
// balance too, or the contact's row no longer holds it, the question names it first.

#include "windows/document/documentwindow.h"
#include "windows/document/postedcompanyfileview.h"
#include "windows/document/transactionparties.h"

class QAbstractButton;
class QFrame;

namespace windows {

class frmContacts : public DocumentWindow, public PostedCompanyFileView {
    Q_OBJECT
public:
    explicit frmContacts(const DocumentContext& context, QWidget* parent = nullptr);

    // What sets contact companies apart from the other document kinds.
    static const DocumentKind& description();

    // ---- Handing the selected contact to the transaction (the Transfer menu's From and To)
    // The contact of the row selected now, with its name at this moment, becomes the
    // transaction's sender or receiver; the transactions window is shown beside this one
    // when it was hidden, this window releases its edit lock (the posting writes the file)
    // and hides. A row without a name, or a list that was never saved, is refused with a
    // message and nothing changes. True when the contact was handed over.
    bool TransferFrom();
    bool TransferTo();

    // ---- The contact form of the selected row (File > Print > "Selected Contact" and
    // Data > Export Data > "Selected Contact into Excel Form"), filled with the own company,
    // the date and time, this window's caption, the row's number and every column of the row.
    // The print wants a contact with a balance of at least 0.1 and asks for the copies; the
    // export shows the form for any balance. Nothing of the document changes.
    void printselectedcontact_Click();
    void exportform_Click();

    // ---- PostedCompanyFileView
    // Docks the window at the left of the screen, shows it, and shows the file as a posting
    // left it, after "Save Changes?" for unsaved work of its own (Cancel keeps that work on
    // screen). The file is not recorded among the recent files.
    ControlPlace showPostedCompanyFile(const QString& path) override;

    // ---- The transfer frame
    QFrame* TransferItems() const { return m_transferItems; }
    // TRANSFERITEMSFROM, TRANSFERITEMSTO, SelectedContactFrom, SelectedContactTo and
    // CloseDialog; the frame hides once a contact was handed over, and on CloseDialog.
    QAbstractButton* transferControl(const QString& name) const;

    // ---- GridWindow
    void setSelectedContacts(const QString& name) override;
    QString SelectedContactFrom() const override;
    void showTransferItems() override;
    void showCell(const QString& text, bool bold, bool italic, bool underline, uint32_t color) override;

protected:
    bool networkUserOpensReadOnly() override;
    void afterDocumentOpened() override;
    std::unique_ptr<WriteHold> holdForWriting() override;
    ChangedFileAnswer changedOnDisk(const QString& path, bool userAgreed) override;
    void fileMatchesDocument(const QString& path, const std::optional<services::FileStamp>& stamp) override;

private:
    void buildTransferFrame();
    bool handOff(PartySide side);
    ControlPlace dockAtLeft();
    void transferFromFrame(PartySide side);
    // The transactions window that receives the contacts handed over; nullptr in a program
    // without one, where nothing is handed over.
    TransactionParties* transaction() const;

    QFrame* m_transferItems = nullptr;
    // The file's bytes as the grid read or wrote them, where they are known for sure.
    std::optional<QByteArray> m_fileAsRead;
};

} // namespace windows
