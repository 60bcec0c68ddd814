// The Forms page of the settings window: the four pickers of the form templates, sharing the
// start-up window's file dialog, so that the path chosen last is proposed again.

#include "datafiles/datafoldertree.h"
#include "datafiles/fileprocedures.h"
#include "datafiles/settingsstore.h"
#include "platform/prompts.h"
#include "shell/frmbalance.h"

#include <QPushButton>
#include <QTabWidget>

namespace shell {

namespace {

struct PickerKind {
    const char* title;
    QString folder; // below a data root
};

PickerKind pickerKind(services::FormKind kind)
{
    switch (kind) {
    case services::FormKind::Item:
        return {"SELECT ITEM FORM", datafiles::ItemTemplateFolder};
    case services::FormKind::Contact:
        return {"SELECT CONTACT FORM", datafiles::ContactTemplateFolder};
    case services::FormKind::Transaction:
        return {"SELECT TRANSACTION FORM", datafiles::TransactionTemplateFolder};
    case services::FormKind::Payment:
        break;
    }
    return {"SELECT PAYMENT FORM", datafiles::PaymentTemplateFolder};
}

} // namespace

datafiles::TemplateButton& frmBalance::templateField(services::FormKind kind)
{
    switch (kind) {
    case services::FormKind::Item:
        return m_store.Item;
    case services::FormKind::Contact:
        return m_store.Contact;
    case services::FormKind::Transaction:
        return m_store.Transaction;
    case services::FormKind::Payment:
        break;
    }
    return m_store.Payment;
}

QPushButton* frmBalance::templateButton(services::FormKind kind) const
{
    switch (kind) {
    case services::FormKind::Item:
        return Item;
    case services::FormKind::Contact:
        return Contact;
    case services::FormKind::Transaction:
        return Transaction;
    case services::FormKind::Payment:
        break;
    }
    return Payment;
}

void frmBalance::pressTemplateButton(services::FormKind kind)
{
    templateButton(kind)->click();
}

void frmBalance::pickTemplate(services::FormKind kind)
{
    if (m_store.OptionUser.value() && m_store.CheckReadWrite.Value.value() == 0) {
        platform::prompts().MsgBox(
            QStringLiteral("Network users are not allowed to edit files. Contact your network host for assistance. "),
            platform::MsgStyle::Critical);
        return;
    }
    datafiles::CreateDataFolders();
    PROVERICOMANYINFO();
    if (SSTab1->currentIndex() == CompanyTab)
        return;

    const PickerKind picker = pickerKind(kind);
    platform::CommonDialog& dialog = *m_templateDialog;
    dialog.DialogTitle = QString::fromLatin1(picker.title);
    dialog.Filter = QStringLiteral("Excel files (*.XLS)|*.XLS|Excel Templates (*.XLT) |*.XLT|");
    dialog.CancelError = true;
    if (m_store.OptionSingleMachine.value())
        dialog.InitDir = datafiles::programPath(QStringLiteral("System/RAzar/")) + picker.folder;
    else if (m_store.OptionHost.value())
        dialog.InitDir = m_store.MyHostSystem.value() + QStringLiteral("QVNET/RAzar/") + picker.folder;
    else if (m_store.OptionUser.value())
        dialog.InitDir = m_store.lblConnectedtohostsystem.value() + QStringLiteral("QVNET/RAzar/") + picker.folder;
    // A cancelled dialog leaves the choice as it was.
    if (!platform::prompts().ShowOpen(dialog))
        return;
    if (!dialog.FileName.isEmpty() && datafiles::FileExists(dialog.FileName))
        templateField(kind).ToolTipText = dialog.FileName;
}

} // namespace shell
