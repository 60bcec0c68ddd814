#include "windows/transactions/frmtransactions.h"

#include "datafiles/settingsstore.h"
#include "datafiles/transactionheaderfile.h"
#include "grid/documents/documentlist.h"
#include "platform/clock.h"
#include "platform/commondialog.h"
#include "platform/onscreen.h"
#include "platform/prompts.h"
#include "platform/twips.h"
#include "platform/vb.h"
#include "services/printcopies.h"
#include "windows/document/paymententry.h"
#include "windows/document/settingswindow.h"
#include "windows/document/sidewindow.h"
#include "windows/transactions/lineitems.h"
#include "windows/transactions/transactionformview.h"

#include <QAction>
#include <QMenu>
#include <array>
#include <utility>

namespace windows {

namespace {

using datafiles::HeaderMenu;
using datafiles::TransactionHeader;

// The header entries and the record fields they show.
const std::array<std::pair<const char*, HeaderMenu TransactionHeader::*>, 14> HeaderEntries = {{
    {"TransactionNumber", &TransactionHeader::TransactionNumber},
    {"DateandTime", &TransactionHeader::DateandTime},
    {"Value", &TransactionHeader::Value},
    {"FromMyCompany", &TransactionHeader::FromMyCompany},
    {"fromcompany", &TransactionHeader::fromcompany},
    {"fromcontact", &TransactionHeader::fromcontact},
    {"ToMyCompany", &TransactionHeader::ToMyCompany},
    {"tocompany", &TransactionHeader::tocompany},
    {"tocontact", &TransactionHeader::tocontact},
    {"AmountPaid", &TransactionHeader::AmountPaid},
    {"Balance", &TransactionHeader::Balance},
    {"fromcompanyiselected", &TransactionHeader::fromcompanyiselected},
    {"tocompanyiselected", &TransactionHeader::tocompanyiselected},
    {"oldvalue", &TransactionHeader::oldvalue},
}};

const QString OpenItemsQuestion = QStringLiteral(
    "To transfer item, open items group file, select the item and click 'Transfer Item' button (or Enter key). "
    "Open items group now? ");
const QString FromHint = QStringLiteral(
    "To transfer items from one Company, open that Company file, select Contact Name and then click 'Transfer "
    "From'. ");
const QString ToHint = QStringLiteral(
    "To transfer items to one Company, open that Company file, select Contact Name and then click 'Transfer To'. ");

} // namespace

frmTransactions::frmTransactions(const DocumentContext& context, const TransactionPartners& partners, QWidget* parent)
    : DocumentWindow(description(), context, parent),
      m_partners(partners),
      m_posting(context.store),
      m_header(designHeader()),
      m_formView(std::make_unique<TransactionFormView>(*this))
{
    if (m_partners.formSettings)
        List1().setTransactionForm(m_partners.formSettings, m_formView.get());
    buildHeaderMenus();
    showHeader();
}

frmTransactions::~frmTransactions()
{
    List1().setTransactionForm(nullptr, nullptr);
}

TransactionHeader frmTransactions::designHeader()
{
    TransactionHeader h;
    h.TransactionNumber.Caption = QStringLiteral("0");
    h.Value.Caption = QStringLiteral("0");
    h.FromMyCompany.Checked = true;
    return h;
}

void frmTransactions::buildHeaderMenus()
{
    for (const char* hidden : {"fromcompanyiselected", "tocompanyiselected", "oldvalue"})
        menu(QString::fromLatin1(hidden))->setVisible(false);
    const auto onMenu = [this](const char* name, auto handler) {
        connect(menu(QString::fromLatin1(name)), &QAction::triggered, this, handler);
    };
    onMenu("FromMyCompany", [this] { FromMyCompany_Click(); });
    onMenu("ToMyCompany", [this] { ToMyCompany_Click(); });
    onMenu("fromcompany", [this] { fromcompany_Click(); });
    onMenu("fromcontact", [this] { fromcompany_Click(); });
    onMenu("tocompany", [this] { tocompany_Click(); });
    onMenu("tocontact", [this] { tocompany_Click(); });
    onMenu("additem", [this] { OPENITEMS(); });
    onMenu("enterPayment", [this] { enterPayment_Click(); });
    onMenu("exportform", [this] { exportform_Click(); });
    onMenu("printexcel", [this] { printexcel_Click(); });
    // A check mark the user clicks shows what the record holds again, whatever the click did.
    for (const auto& [name, field] : HeaderEntries)
        onMenu(name, [this] { showHeader(); });
    // What a menu shows is always the record, with Value the sum of the lines shown.
    for (const char* parent : {"header", "p"})
        if (QMenu* shown = menu(QString::fromLatin1(parent))->menu())
            connect(shown, &QMenu::aboutToShow, this, [this] { showHeader(); });
}

const TransactionHeader& frmTransactions::header()
{
    refreshValue();
    return m_header;
}

QString frmTransactions::Value() const
{
    return lineItemsValue(static_cast<const DocumentWindow&>(*this).List1().core());
}

void frmTransactions::deleterow_Click()
{
    List1().ClearUndoRedo();
    DocumentWindow::deleterow_Click();
}

void frmTransactions::refreshValue()
{
    m_header.Value.Caption = lineItemsValue(List1().core());
}

void frmTransactions::showHeader()
{
    refreshValue();
    for (const auto& [name, field] : HeaderEntries) {
        QAction* entry = menu(QString::fromLatin1(name));
        const HeaderMenu& value = m_header.*field;
        entry->setText(menuText(value.Caption));
        if (entry->isCheckable())
            entry->setChecked(value.Checked);
    }
}

void frmTransactions::markChanged()
{
    DocumentWindow::markChanged();
}

// ---------------------------------------------------------------------------------------
// What the item transfer and the contact hand-off write

void frmTransactions::showForTransfer()
{
    show();
    if (QAction* entry = menu(QStringLiteral("new")))
        entry->setEnabled(true);
}

void frmTransactions::setValue(const QString& caption)
{
    m_header.Value.Caption = caption;
    showHeader();
}

void frmTransactions::enableDeleteRow()
{
    if (QAction* entry = menu(QStringLiteral("deleterow")))
        entry->setEnabled(true);
}

void frmTransactions::moveTo(int leftTwips, int topTwips)
{
    moveBeside(QPoint(leftTwips, topTwips));
}

void frmTransactions::focusGrid()
{
    if (!isVisible())
        return;
    activateWindow();
    List1().setFocus(Qt::OtherFocusReason);
}

void frmTransactions::showAt(int leftTwips, int topTwips)
{
    if (isVisible())
        return;
    napravikolone();
    moveBeside(QPoint(leftTwips, topTwips));
    show();
    platform::keepOnScreen(*this, platform::Fit::KeepPlace);
}

// A contact handed over becomes the side's party: its company and contact entries checked,
// the own company unchecked, the contact's row kept for the posting to find it again. A
// party that really changes is a change of the transaction, to be posted by the next save.
void frmTransactions::takeContact(PartySide side, const ContactParty& party)
{
    const TransactionHeader before = m_header;
    const bool from = side == PartySide::From;
    HeaderMenu& mine = from ? m_header.FromMyCompany : m_header.ToMyCompany;
    HeaderMenu& company = from ? m_header.fromcompany : m_header.tocompany;
    HeaderMenu& contact = from ? m_header.fromcontact : m_header.tocontact;
    HeaderMenu& row = from ? m_header.fromcompanyiselected : m_header.tocompanyiselected;
    mine.Checked = false;
    company = HeaderMenu{party.companyFile, true};
    contact = HeaderMenu{party.contact, true};
    row.Caption = party.row;
    if (m_header != before)
        markChanged();
    showHeader();
}

// ---------------------------------------------------------------------------------------
// Activation, new and open

void frmTransactions::napravikolone()
{
    EnsureDefaultColumns();
}

void frmTransactions::Form_Activate()
{
    DocumentWindow::Form_Activate(); // ActiveList, the line-item columns, the layout
    SetHeaderDefaults();
    showHeader();
    if (m_partners.settings)
        m_partners.settings->PROVERICOMANYINFO();
}

// A transaction read from its file keeps the number and date it was saved with; only one
// that has no file yet takes the next number and the present moment.
void frmTransactions::SetHeaderDefaults()
{
    if (isUnsaved()) {
        const double number = platform::vb::CDbl(store().InvoiceNumber.value()).value_or(0);
        m_header.TransactionNumber.Caption = platform::vb::CStr(number);
        m_header.DateandTime.Caption = platform::vb::GeneralDate(platform::now());
    }
    m_header.FromMyCompany.Caption = store().CompanyName.value();
    m_header.ToMyCompany.Caption = store().CompanyName.value();
}

void frmTransactions::clearDocumentExtras()
{
    m_header.TransactionNumber.Caption = store().InvoiceNumber.value();
    m_header.Value.Caption = QStringLiteral("0");
    m_header.AmountPaid.Caption.clear();
    m_header.Balance.Caption.clear();
    m_posted.reset();
    showHeader();
}

// The header file is read once the line items are. A header file that is missing or cannot
// be read leaves no header of the transaction shown before: this one opens read-only with
// the header a new window has, so it can never be posted with another transaction's parties
// or with the value posted for another one.
bool frmTransactions::loadCompanionFiles(const QString& path)
{
    TransactionHeader read = designHeader();
    if (datafiles::LoadTransactionHeader(path + QStringLiteral("H"), read) == datafiles::LineFileReader::Status::Accepted) {
        m_header = read;
        m_posted = read;
        return true;
    }
    m_header = designHeader();
    m_header.FromMyCompany.Caption = store().CompanyName.value();
    m_header.ToMyCompany.Caption = store().CompanyName.value();
    m_posted.reset();
    return false;
}

void frmTransactions::afterDocumentOpened()
{
    showHeader();
}

// ---------------------------------------------------------------------------------------
// The parties

void frmTransactions::chooseOwnCompany(bool fromSide)
{
    const TransactionHeader before = m_header;
    HeaderMenu& mine = fromSide ? m_header.FromMyCompany : m_header.ToMyCompany;
    HeaderMenu& company = fromSide ? m_header.fromcompany : m_header.tocompany;
    HeaderMenu& contact = fromSide ? m_header.fromcontact : m_header.tocontact;
    mine.Checked = true;
    company = HeaderMenu{};
    contact = HeaderMenu{};
    if (m_header != before)
        markChanged();
    showHeader();
}

void frmTransactions::FromMyCompany_Click()
{
    chooseOwnCompany(true);
}

void frmTransactions::ToMyCompany_Click()
{
    chooseOwnCompany(false);
}

void frmTransactions::fromcompany_Click()
{
    prompts().MsgBox(FromHint, platform::MsgStyle::Information);
    ShowContactsForTransfer();
    showHeader();
}

void frmTransactions::tocompany_Click()
{
    prompts().MsgBox(ToHint, platform::MsgStyle::Information);
    ShowContactsForTransfer();
    showHeader();
}

// ---------------------------------------------------------------------------------------
// The windows beside this one

// Beside the window at its left, as far as the screen allows: a window that would run off the
// screen's edge is made narrower (or lower) there rather than moved over the docked window.
void frmTransactions::moveBeside(const QPoint& twips)
{
    move(qRound(twips.x() / double(platform::TwipsPerPixelX)), qRound(twips.y() / double(platform::TwipsPerPixelY)));
    platform::keepOnScreen(*this, platform::Fit::KeepPlace);
}

bool frmTransactions::DockContactsWindow()
{
    SideWindow* contacts = m_partners.contacts;
    if (!contacts)
        return false;
    if (!contacts->Visible()) {
        contacts->Show();
        contacts->cmdNew_Click();
    }
    moveBeside(contacts->dockTopLeft());
    return true;
}

void frmTransactions::ShowContactsForTransfer()
{
    if (DockContactsWindow())
        m_partners.contacts->cmdOpen_Click();
}

void frmTransactions::OPENITEMS()
{
    if (prompts().MsgBox(OpenItemsQuestion, platform::MsgStyle::YesNo) != platform::Answer::Yes)
        return;
    SideWindow* items = m_partners.items;
    if (!items)
        return;
    items->Show();
    items->cmdNew_Click();
    moveBeside(items->dockTopLeft());
    items->cmdOpen_Click();
}

// A payment is entered against the header file as it is saved, so the transaction must have
// one and show nothing that is not in it.
void frmTransactions::enterPayment_Click()
{
    if (isUnsaved() || dialog().FileName.isEmpty()) {
        prompts().MsgBox(QStringLiteral("Save this transaction before you enter a payment for it."),
                         platform::MsgStyle::Critical);
        return;
    }
    if (isChanged()) {
        prompts().MsgBox(QStringLiteral("This transaction has changes that are not saved. Save it before you "
                                        "enter a payment for it."),
                         platform::MsgStyle::Critical);
        return;
    }
    if (m_partners.payments)
        m_partners.payments->enterPayment(dialog().FileName);
}

// ---------------------------------------------------------------------------------------
// The transaction form

// The copies count on the grid's tooltip is what tells the form to print rather than show;
// it is emptied before a show and after a print, so no later show prints.
void frmTransactions::exportform_Click()
{
    if (!beginSpreadsheetCommand())
        return;
    List1().setToolTip(QString());
    (void)List1().exporttotransactionform(); // the grid tells the user what failed
}

void frmTransactions::printexcel_Click()
{
    if (!beginSpreadsheetCommand())
        return;
    const services::CopiesAnswer answer = services::AskPrintCopies(prompts());
    if (answer.refusal) {
        answer.refusal->show(prompts());
        return;
    }
    if (!answer.copies)
        return;
    List1().setToolTip(QString::number(*answer.copies));
    (void)List1().exporttotransactionform();
    List1().setToolTip(QString());
}

} // namespace windows
