#pragma once
// frmPayments: the payments window, in which one payment is entered against a saved
// transaction. It is not a document window: it has no grid, no menus and no recent files.
// Its labels, check boxes and text boxes show one PaymentRecord, which holds the window's
// whole state; the data files fill and read the record, and the widgets show it and pass
// the user's typing back into it.
//
// Open Transaction chooses the transaction with the start-up window's CommonDialog4 and
// loads its header, proposing the open balance as the payment; in network mode that load
// writes the transaction's payment lock, which the window then holds (HeldPaymentLock) and
// releases when its content is replaced or it closes, whichever way the payment was started
// (Open Transaction or the transactions window's "Enter Payment"). Save posts the payment
// through the posting service, all or nothing, and names the window after the payment file
// written; a saved or opened payment is never saved again. Open Payment shows a stored
// payment file. Print and export fill the payment form with what the window shows, through
// the form service.

#include "datafiles/paymentrecord.h"
#include "platform/commondialog.h"
#include "windows/document/controlplace.h"
#include "windows/document/paymententry.h"
#include "windows/payments/heldpaymentlock.h"
#include "windows/payments/paymentscontext.h"

#include <QHash>
#include <QString>
#include <QWidget>

class QAbstractButton;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;

namespace posting {
struct PaymentResult;
}
namespace services {
struct FormResult;
struct FormServiceInputs;
struct PaymentFormValues;
}

namespace windows {

class frmPayments : public QWidget, public PaymentEntry {
    Q_OBJECT
public:
    // The caption of a payment being entered.
    static inline const QString UnsavedCaption = QStringLiteral("Payment [ Unsaved ]");

    explicit frmPayments(const PaymentsContext& context, QWidget* parent = nullptr);
    ~frmPayments() override;

    // ---- Members other windows call
    // Empties the window before a header is loaded into it; the caption, lblChangeStatus
    // and the tooltips of PaymentDate and Note stay.
    void CLEARALL();
    // PaymentEntry: "Enter Payment" of the transactions window.
    void enterPayment(const QString& transactionPath) override;

    // ---- Commands and handlers, named as the controls that run them
    void cmdFind_Click();        // "Open Transaction "
    void cmdOpen_Click();        // "Open Payment "
    bool cmdSave_Click();        // "Save": true when the payment was posted and written
    void cmdPrintOptions_Click(); // "Print": the payment form, printed
    void exporttoexcel_Click();   // "Export to Excel Form": the payment form, shown
    void Help_Click();
    void PaymentDate_Click();    // "Click to Refresh "
    void PaymentValue_LostFocus();

    // ---- State
    const datafiles::PaymentRecord& record() const { return m_record; }
    // The window's own file dialog, which holds the payment file last opened or saved.
    platform::CommonDialog& CommonDialog1() { return m_commonDialog1; }
    const HeldPaymentLock& heldLock() const { return m_lock; }

    // ---- Controls, by their names
    // A tool bar button: cmdFind, cmdOpen, cmdSave, exporttoexcel, Help, cmdPrintOptions.
    QAbstractButton* button(const QString& name) const { return m_buttons.value(name); }
    // A label of the right column or a hidden one (lblChangeStatus, fromcompanyiselected,
    // tocompanyiselected); nullptr for another name.
    QLabel* label(const QString& name) const { return m_labels.value(name); }
    QLineEdit* PaymentValue() const { return m_paymentValue; }
    QPlainTextEdit* Note() const { return m_note; }
    QCheckBox* FromMyCompany() const { return m_fromMyCompany; }
    QCheckBox* ToMyCompany() const { return m_toMyCompany; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildToolBar();
    void buildCaptionLabels();
    void buildValueControls();
    void buildHiddenControls();
    QLabel* valueLabel(const QString& name, int top, int width);

    // Shows the record in the controls; the amounts alone after a change of the value.
    void showRecord();
    void showAmounts();
    void PaymentValue_Change(const QString& text);

    void Form_Activate();
    void Form_Unload();

    // "Save Changes?" when lblChangeStatus reads as 1: true when the command may go on.
    bool mayReplaceContent();
    // The window's content gives way to a new payment: its payment lock is released, the
    // caption is the unsaved one and the fields are emptied.
    void startNewPayment();
    void loadHeader(const QString& headerPath);
    void releaseLock();

    // Folders of the current network mode, ending with "/".
    QString transactionsFolder() const;
    QString paymentsFolder() const;
    // Host or user mode: the shared data folder must be reachable (Open Payment).
    bool networkDataFolderCheck();
    // Host or user mode: the shared payments folder, and a network user who may not write.
    bool networkPaymentCheck();

    // The steps of Save after its checks: the file name, the posting and what it shows.
    bool askPaymentFile();
    bool isWrittenByThePosting(const QString& path) const;
    void showPosted(const posting::PaymentResult& result);
    void placeBeside(const ControlPlace& place);

    // The payment form: the texts the window shows now, saved or not.
    services::PaymentFormValues formValues() const;
    services::FormServiceInputs formInputs();
    void showFormResult(const services::FormResult& result);
    void showNotice(const QString& text, const QString& title, int style);

    PaymentsContext m_context;
    datafiles::PaymentRecord m_record;
    platform::CommonDialog m_commonDialog1;
    HeldPaymentLock m_lock;
    bool m_showing = false;
    bool m_placed = false;
    bool m_unloaded = false;

    QHash<QString, QAbstractButton*> m_buttons;
    QHash<QString, QLabel*> m_labels;
    QLineEdit* m_paymentValue = nullptr;
    QPlainTextEdit* m_note = nullptr;
    QCheckBox* m_fromMyCompany = nullptr;
    QCheckBox* m_toMyCompany = nullptr;
};

} // namespace windows
