// frmTransactions' Save and Save As: the checks the window answers with its own follow-ups,
// the dialog of Save As, the posting through the posting service and what the window shows
// of it.

#include "windows/transactions/frmtransactions.h"

#include "datafiles/fileprocedures.h"
#include "grid/documents/documentlist.h"
#include "platform/commondialog.h"
#include "platform/prompts.h"
#include "posting/postingchecks.h"
#include "windows/document/settingswindow.h"
#include "windows/document/sidewindow.h"
#include "windows/transactions/lineitems.h"

namespace windows {

namespace {

using datafiles::TransactionHeader;
using posting::Refusal;
using posting::SaveKind;

// Whether two headers name the same parties: the own company on the same sides, and the same
// contacts in the same company files and rows.
bool sameParties(const TransactionHeader& a, const TransactionHeader& b)
{
    const auto sameSide = [](bool ownA, bool ownB, const auto& companyA, const auto& companyB, const auto& contactA,
                             const auto& contactB, const auto& rowA, const auto& rowB) {
        if (ownA != ownB)
            return false;
        return ownA
            || (companyA.Checked == companyB.Checked && companyA.Caption == companyB.Caption
                && contactA.Caption == contactB.Caption && rowA.Caption == rowB.Caption);
    };
    return sameSide(a.FromMyCompany.Checked, b.FromMyCompany.Checked, a.fromcompany, b.fromcompany, a.fromcontact,
                    b.fromcontact, a.fromcompanyiselected, b.fromcompanyiselected)
        && sameSide(a.ToMyCompany.Checked, b.ToMyCompany.Checked, a.tocompany, b.tocompany, a.tocontact, b.tocontact,
                    a.tocompanyiselected, b.tocompanyiselected);
}

} // namespace

// Only a transaction that was never saved asks for a name. One opened from a file is saved
// to that file, whatever the dialog's title says and also when the file has gone since, so
// that its value is never posted a second time in full.
bool frmTransactions::saveNeedsSaveAs()
{
    return isUnsaved() || dialog().FileName.isEmpty();
}

void frmTransactions::closeSideWindowsBeforePosting()
{
    // Their own "Save Changes?" runs; a window the user keeps open does not stop the save.
    if (m_partners.contacts)
        (void)m_partners.contacts->closeWindow();
    if (m_partners.items)
        (void)m_partners.items->closeWindow();
}

bool frmTransactions::cmdSave_Click()
{
    closeSideWindowsBeforePosting();
    if (saveNeedsSaveAs() || !isWritable())
        return saveas_Click();
    if (!checkEntry(SaveKind::Save))
        return false;
    m_posting.reloadSharedValues();
    if (partiesChangedSincePosted())
        return false;
    return postTransaction(SaveKind::Save, dialog().FileName);
}

bool frmTransactions::saveas_Click()
{
    if (!checkEntry(SaveKind::SaveAs))
        return false;
    m_posting.reloadSharedValues();
    const Identity before = identity();
    const std::optional<SaveAsChoice> choice = chooseSaveAsPath(m_posting.nextFileName());
    if (!choice)
        return false;
    if (!postTransaction(SaveKind::SaveAs, choice->path)) {
        restore(before);
        return false;
    }
    return true;
}

bool frmTransactions::checkEntry(SaveKind kind)
{
    refreshValue();
    posting::CheckResult check = m_posting.checkEntry(m_header, kind);
    // The value is written with 15 significant digits; a sum of totals that needs more would
    // be posted rounded, and the balances would no longer add up to the lines.
    if (check)
        check = posting::checkWrittenExactly(lineItemsSum(List1().core()),
                                             QStringLiteral("The value of this transaction (the sum of its line totals)"),
                                             QStringLiteral("transaction"));
    if (!check) {
        showRefusal(check.notice, check.refusal);
        return false;
    }
    return true;
}

void frmTransactions::showRefusal(const posting::Notice& notice, Refusal refusal)
{
    prompts().MsgBox(notice.text, notice.style, notice.title);
    switch (refusal) {
    case Refusal::NoValue:
        if (!m_partners.items || !m_partners.items->Visible())
            OPENITEMS();
        break;
    case Refusal::FromCompanyUnnamed:
        if (m_partners.settings)
            m_partners.settings->showSettingsWindow();
        break;
    case Refusal::FromPartyMissing:
    case Refusal::ToPartyMissing:
        ShowContactsForTransfer();
        break;
    default:
        break;
    }
}

// The value of a saved transaction stays posted to the parties it was saved with; a Save
// posts only the change of the value, so it cannot move it to other parties.
bool frmTransactions::partiesChangedSincePosted()
{
    if (!m_posted || sameParties(*m_posted, m_header))
        return false;
    prompts().MsgBox(QStringLiteral("The parties of this transaction have changed since it was saved, and its "
                                    "value is posted to the parties it was saved with. To save it, choose those "
                                    "parties again, or save it as a new transaction with Save As."),
                     platform::MsgStyle::Critical, posting::HeaderMenuTitle);
    return true;
}

bool frmTransactions::postTransaction(SaveKind kind, const QString& path)
{
    refreshValue();
    const QString written = posting::TransactionPosting::fileName(path);
    if (const platform::FileResult storable = List1().checkStorable(written); !storable) {
        prompts().MsgBox(storable.error, platform::MsgStyle::Critical);
        return false;
    }
    // Save As never writes over a transaction that exists: the posting refuses it.
    if (kind == SaveKind::Save && !mayWriteOver(written))
        return false;
    const posting::TransactionResult result =
        m_posting.post({kind, m_header, path, List1().SaveFileBytes(written, true)});
    if (!result.posted()) {
        showRefusal(result.notice, result.refusal);
        return false;
    }
    takePosted(result);
    return true;
}

void frmTransactions::takePosted(const posting::TransactionResult& result)
{
    platform::CommonDialog& d = dialog();
    const bool moved = result.FileName != d.FileName;
    m_header = result.header;
    m_posted = result.header;
    d.FileName = result.FileName;
    d.FileTitle = datafiles::GetFileNameOnly(result.FileName);
    List1().SaveFileWritten(result.FileName, true);
    wroteWholeFile(result.FileName);
    setlblChangeStatus(QStringLiteral("0"));
    setWindowTitle(QStringLiteral("Transaction [ ") + d.FileTitle + QStringLiteral(" ]"));
    setWritable(true);
    if (moved)
        DELETECURRENTUSERNAME(); // the window has left the document it held
    PISEFILEADRES();
    showHeader();

    if (result.outcome == posting::Outcome::Deferred)
        prompts().MsgBox(result.notice.text, result.notice.style, result.notice.title);
    for (int k = 0; k < result.contactFiles.size(); ++k)
        prompts().MsgBox(QStringLiteral("Transaction Saved"), platform::MsgStyle::Information);
    // The contact companies window shows the last party's company file as the posting left it.
    if (SideWindow* contacts = m_partners.contacts; contacts && !result.contactFiles.isEmpty()) {
        contacts->Show();
        moveBeside(contacts->dockTopLeft());
        contacts->showWrittenDocument(result.contactFiles.last());
    }
}

} // namespace windows
