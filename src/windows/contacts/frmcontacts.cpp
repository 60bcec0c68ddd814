#include "windows/contacts/frmcontacts.h"

#include "datafiles/datafoldertree.h"
#include "datafiles/htmlhelp.h"
#include "grid/documents/documentlist.h"
#include "grid/gridhost.h"
#include "platform/colors.h"
#include "platform/commondialog.h"
#include "platform/onscreen.h"
#include "platform/prompts.h"
#include "platform/twips.h"
#include "services/formresult.h"
#include "services/formservice.h"
#include "windows/document/windowshell.h"

#include <QAction>
#include <QFrame>
#include <QPushButton>
#include <QToolButton>
#include <algorithm>

namespace windows {

namespace {

constexpr int DockedWidth = 5220;
const QString NoContactName = QStringLiteral("Please select contact with the Name");
const QString ListNeverSaved = QStringLiteral(
    "Please save this Company first: the transaction finds its contact by the Company file and the contact's row.");
const QString TransferHint = QStringLiteral(
    " To Transfer Items from or to this company, select one Contact and click on 'Transfer' button (or Enter Key).");

int toPixels(int twips)
{
    return qRound(twips / double(platform::TwipsPerPixelX));
}

QRect pixelRect(int left, int top, int width, int height)
{
    return {toPixels(left), toPixels(top), toPixels(width), toPixels(height)};
}

QList<MenuEntry> contactMenus()
{
    using M = MenuEntry;
    return {
        M::command("file", "  File", ""),
        M::command("new", "New", "file"),
        M::command("open", "Open", "file"),
        M::command("close", "Close", "file"),
        M::separatorIn("mnuFileBar0", "file"),
        M::command("save", "Save", "file"),
        M::command("saveas", "Save As", "file"),
        M::separatorIn("mnuFileBar2", "file"),
        M::command("printexcel", "Print", "file"),
        M::command("printselectedcontact", "Selected Contact", "printexcel"),
        M::command("printentirelist", "Entire List", "printexcel"),
        M::separatorIn("mnuFileBar3", "file"),
        M::command("file1", "", "file"),
        M::command("file2", "", "file"),
        M::command("file3", "", "file"),
        M::command("edit", "Edit", ""),
        M::command("Copy", "Copy Formated Text", "edit", QKeySequence(Qt::CTRL | Qt::Key_C)),
        M::command("paste", "Paste Formated Text", "edit", QKeySequence(Qt::CTRL | Qt::Key_V)),
        M::command("add", "Add", ""),
        M::command("AddRow", "Add Row", "add"),
        M::command("AddColumn", "Add Column", "add"),
        M::command("deletemenu", "Delete", ""),
        M::command("deleterow", "Delete Row", "deletemenu"),
        M::command("deletecolumn", "Delete Column", "deletemenu"),
        M::command("insert", "Insert", ""),
        M::command("InserRow", "Row", "insert"),
        M::command("insertcolumn", "Column", "insert"),
        M::command("view", "View", ""),
        M::checkedCommand("toolbar", "Tool Bar", "view"),
        M::checkedCommand("textbar", "Text Bar", "view"),
        M::command("data", "Data", ""),
        M::command("import", "Import External Data", "data"),
        M::command("importfromexcel", "From File", "import"),
        M::command("export", "Export Data", "data"),
        M::command("exporttoexcel", "Company into Excel Spreadsheet", "export"),
        M::command("exportform", "Selected Contact into Excel Form", "export"),
        M::command("Transfer", "Transfer", ""),
        M::command("TransferFrom", "From", "Transfer"),
        M::command("TransferTo", "To", "Transfer"),
        M::command("Help", "Help", ""),
    };
}

DocumentKind contactKind()
{
    DocumentKind k;
    k.formName = grid::GridHost::Contacts;
    k.extension = QStringLiteral(".QVC");
    k.dataFolder = datafiles::ContactsFolder;
    k.defaultFileName = QStringLiteral("Company1.QVC");
    k.fileFilter = QStringLiteral("QV Contact Company (*.QVC)|*.QVC|");
    k.helpTopic = datafiles::HelpTopic::Contacts;
    k.captionWord = QStringLiteral("Company");
    k.readOnlyWord = QStringLiteral("Company READ-ONLY");
    k.networkFolderMissing = QStringLiteral("Network connection error. Can't find Network Contacts Directory.");
    k.networkUserMaySave =
        QStringLiteral("Network users are not allowed to edit files. Contact your network host for assistance. ");
    k.networkUserOpens = QStringLiteral("Network users are not allowed to edit files.");
    k.designedDirectoryQuestion = {
        QStringLiteral("Saving contact group files outside of the designed directory makes these files unavailable to "
                       "functions like easy access via Item Groups Listing button. If you latter decided to host your "
                       "files for multi users, files saved outside of the designed directory will not be available to "
                       "other users. Do you want to save this file in designed directory (recommended)?"),
        QStringLiteral("Saving contact group files outside of the designed directory makes these files unavailable to "
                       "functions like easy access via Item Groups Listing button. Files saved outside of the designed "
                       "directory will not be available to other users of your hosting directory. Do you want to save "
                       "this file in designed directory (recommended)?"),
        QStringLiteral("Saving contact group files outside of the designed directory makes these files unavailable to "
                       "functions like easy access via Item Groups Listing button. Files saved outside of the designed "
                       "directory will not be available to other users. Do you want to save this file in designed "
                       "directory (recommended) ?"),
    };
    k.rowLimitMessage = QStringLiteral(
        "Velkorn's Quorvane for Microsoft Excel integrate file size into .xls (MS Excel) format. Maximum records per "
        "one Company is therefore limited to 65 001 records (slightly smaller then current Excel spreadsheet "
        "limitation at 65,536, respectfully).            If you wish to add more Contacts into Company, create new "
        "Company file and save it with -2 on the end of the Company name. ");
    k.rowLimit = 65000;
    k.addedRowGoesLast = true;
    k.placement = {&SettingsStore::frmContactsWindowState, &SettingsStore::frmContactsLeft,
                   &SettingsStore::frmContactsTop,         &SettingsStore::frmContactsHeight,
                   &SettingsStore::frmContactsWidth,       &SettingsStore::frmContactstoolbarchecked,
                   &SettingsStore::frmContactstextbarchecked};
    k.recentFiles = {&SettingsStore::frmContactsfile1, &SettingsStore::frmContactsfile2,
                     &SettingsStore::frmContactsfile3};
    k.defaultColumns = {{QStringLiteral("Contact Name"), 220}, {QStringLiteral("Balance"), 60}};
    k.defaultExtraRows = 29;
    k.protectedColumns = 2;
    k.insertColumnQuestion = QStringLiteral("You can't insert column before first two... add new column after ?");
    k.deleteColumnRefusal = QStringLiteral(
        "You can't delete first two columns...Name and Balance are the minimum Contacts information required");
    // A network user may list the contact companies but not import into one.
    k.importRefusal = QStringLiteral(
        "Network users are not allowed to edit files. Contact your network host for assistance. ");
    k.menus = contactMenus();
    k.toolButtons = documentToolBar(QStringLiteral("List Contact Companies"));
    k.editingMenus = {QStringLiteral("saveas"), QStringLiteral("paste"), QStringLiteral("add"),
                      QStringLiteral("deletemenu"), QStringLiteral("insert"), QStringLiteral("import")};
    return k;
}

} // namespace

const DocumentKind& frmContacts::description()
{
    static const DocumentKind kind = contactKind();
    return kind;
}

frmContacts::frmContacts(const DocumentContext& context, QWidget* parent)
    : DocumentWindow(description(), context, parent)
{
    buildTransferFrame();
    if (QAction* from = menu(QStringLiteral("TransferFrom")))
        connect(from, &QAction::triggered, this, [this] { TransferFrom(); });
    if (QAction* to = menu(QStringLiteral("TransferTo")))
        connect(to, &QAction::triggered, this, [this] { TransferTo(); });
    onMenu(QStringLiteral("printselectedcontact"), [this] { printselectedcontact_Click(); });
    onMenu(QStringLiteral("exportform"), [this] { exportform_Click(); });
}

// The frame stands over the grid's top left corner where the layout never moves it.
void frmContacts::buildTransferFrame()
{
    m_transferItems = new QFrame(clientArea());
    m_transferItems->setObjectName(QStringLiteral("TransferItems"));
    m_transferItems->setFrameShape(QFrame::StyledPanel);
    m_transferItems->setGeometry(pixelRect(120, 360, 3300, 855));
    QPalette palette = m_transferItems->palette();
    palette.setColor(QPalette::Window, platform::toQColor(kind().backColor));
    m_transferItems->setPalette(palette);
    m_transferItems->setAutoFillBackground(true);

    const QString fromTip = QStringLiteral("Click to Transfer items from Selected Contact");
    const QString toTip = QStringLiteral("Click to Transfer items to Selected Contact");
    const auto addButton = [this](const char* name, const char* caption, const QString& tip, int top) {
        auto* b = new QPushButton(QString::fromLatin1(caption), m_transferItems);
        b->setObjectName(QString::fromLatin1(name));
        b->setToolTip(tip);
        b->setAutoDefault(true); // Enter on the focused button presses it
        b->setGeometry(pixelRect(120, top, 1215, 255));
        return b;
    };
    const auto addLabel = [this](const char* name, const QString& tip, QRect at) {
        auto* label = new QToolButton(m_transferItems);
        label->setObjectName(QString::fromLatin1(name));
        label->setToolTip(tip);
        label->setAutoRaise(true);
        label->setToolButtonStyle(Qt::ToolButtonTextOnly);
        label->setGeometry(at);
        return label;
    };
    // Two rows that do not touch, under the close box.
    QPushButton* from = addButton("TRANSFERITEMSFROM", "TRANSFER FROM", fromTip, 240);
    QPushButton* to = addButton("TRANSFERITEMSTO", "TRANSFER TO", toTip, 510);
    QToolButton* fromName = addLabel("SelectedContactFrom", fromTip, pixelRect(1440, 240, 1815, 255));
    QToolButton* toName = addLabel("SelectedContactTo", toTip, pixelRect(1440, 510, 1815, 255));
    QToolButton* close = addLabel("CloseDialog", QStringLiteral("Close Transfer Menu"), pixelRect(3000, 15, 255, 225));
    close->setText(QStringLiteral("X"));
    // The buttons are as wide as their captions need at the window's font; the contact names
    // and the close box stand to their right, and the frame grows to hold them.
    const int buttonWidth = std::max({from->width(), from->sizeHint().width(), to->sizeHint().width()});
    for (QPushButton* button : {from, to})
        button->resize(buttonWidth, button->height());
    const int nameLeft = from->x() + buttonWidth + toPixels(105);
    for (QToolButton* name : {fromName, toName})
        name->move(nameLeft, name->y());
    close->move(fromName->geometry().right() + 1 - close->width(), close->y());
    m_transferItems->resize(std::max(m_transferItems->width(), fromName->geometry().right() + 1 + toPixels(45)),
                            m_transferItems->height());
    QPalette closePalette = close->palette();
    closePalette.setColor(QPalette::ButtonText, platform::toQColor(0x40));
    close->setPalette(closePalette);

    connect(from, &QAbstractButton::clicked, this, [this] { transferFromFrame(PartySide::From); });
    connect(to, &QAbstractButton::clicked, this, [this] { transferFromFrame(PartySide::To); });
    connect(fromName, &QAbstractButton::clicked, this, [this] { transferFromFrame(PartySide::From); });
    connect(toName, &QAbstractButton::clicked, this, [this] { transferFromFrame(PartySide::To); });
    connect(close, &QAbstractButton::clicked, m_transferItems, &QWidget::hide);
    m_transferItems->hide();
}

QAbstractButton* frmContacts::transferControl(const QString& name) const
{
    return m_transferItems->findChild<QAbstractButton*>(name);
}

// ---------------------------------------------------------------------------------------
// The hand-off

TransactionParties* frmContacts::transaction() const
{
    return shell() ? shell()->transactionParties() : nullptr;
}

bool frmContacts::TransferFrom()
{
    return handOff(PartySide::From);
}

bool frmContacts::TransferTo()
{
    return handOff(PartySide::To);
}

// The row and the name are read once, as the user has them selected when the command
// starts; whatever the steps after it show or hide cannot change what is handed over.
bool frmContacts::handOff(PartySide side)
{
    const int row = List1().iSelected();
    const QString name = List1().GetItem(row, 1);
    const QString companyFile = dialog().FileName;
    TransactionParties* const transactions = transaction();
    if (!transactions)
        return false;
    if (isUnsaved() || companyFile.isEmpty()) {
        prompts().MsgBox(ListNeverSaved, platform::MsgStyle::Critical);
        return false;
    }
    if (name.isEmpty()) {
        prompts().MsgBox(NoContactName, platform::MsgStyle::Critical);
        return false;
    }
    // The posting refuses a company file that carries a lock, so this window lets go of it.
    DELETECURRENTUSERNAME();
    if (shell())
        shell()->PROVERICOMANYINFO();
    if (!transactions->Visible()) {
        const ControlPlace docked = dockAtLeft();
        transactions->showAt(docked.Left + docked.Width, docked.Top);
    }
    transactions->takeContact(side, {companyFile, name, QString::number(row)});
    hide();
    return true;
}

void frmContacts::transferFromFrame(PartySide side)
{
    if (handOff(side))
        m_transferItems->hide();
}

// ---------------------------------------------------------------------------------------
// The contact form

void frmContacts::printselectedcontact_Click()
{
    services::FormService service(formInputs());
    showFormResult(service.printContact(services::SelectedRow::fromGrid(List1().core(), windowTitle())));
}

void frmContacts::exportform_Click()
{
    services::FormService service(formInputs());
    showFormResult(service.exportContact(services::SelectedRow::fromGrid(List1().core(), windowTitle())));
}

// ---------------------------------------------------------------------------------------
// A company file a posting has written

ControlPlace frmContacts::showPostedCompanyFile(const QString& path)
{
    show();
    const ControlPlace docked = dockAtLeft();
    raise();
    activateWindow();
    (void)showWrittenDocument(path);
    return docked;
}

// Normal state, Left 0, Top 0, DockedWidth wide, the height kept as far as the screen holds
// it with the window's frame; where the window then stands, in twips.
ControlPlace frmContacts::dockAtLeft()
{
    if (windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen))
        setWindowState(Qt::WindowNoState);
    move(0, 0);
    resize(toPixels(DockedWidth), height());
    platform::keepOnScreen(*this);
    const int tx = platform::TwipsPerPixelX;
    const int ty = platform::TwipsPerPixelY;
    return {x() * tx, y() * ty, width() * tx, height() * ty};
}

// ---------------------------------------------------------------------------------------
// What the grid calls

void frmContacts::setSelectedContacts(const QString& name)
{
    transferControl(QStringLiteral("SelectedContactFrom"))->setText(name);
    transferControl(QStringLiteral("SelectedContactTo"))->setText(name);
}

QString frmContacts::SelectedContactFrom() const
{
    return transferControl(QStringLiteral("SelectedContactFrom"))->text();
}

void frmContacts::showTransferItems()
{
    m_transferItems->show();
    m_transferItems->raise();
    transferControl(QStringLiteral("TRANSFERITEMSTO"))->setFocus();
}

// While the frame is shown its labels name the contact of the row selected now, the one a
// click hands over.
void frmContacts::showCell(const QString& text, bool bold, bool italic, bool underline, uint32_t color)
{
    DocumentWindow::showCell(text, bold, italic, underline, color);
    if (!m_transferItems->isHidden())
        setSelectedContacts(List1().GetItem(List1().iSelected(), 1));
}

// ---------------------------------------------------------------------------------------
// Steps of the shared window

bool frmContacts::networkUserOpensReadOnly()
{
    if (!isNetworkUser())
        return false;
    prompts().MsgBox(kind().networkUserMaySave, platform::MsgStyle::Critical);
    prompts().MsgBox(kind().networkUserOpens, platform::MsgStyle::Critical);
    prompts().MsgBox(kind().networkUserMaySave, platform::MsgStyle::Critical);
    return true;
}

// The transfer hint is for a company the user opens to pick a party, not for one a posting
// has just written.
void frmContacts::afterDocumentOpened()
{
    const TransactionParties* transactions = transaction();
    if (!showsWrittenDocument() && transactions && transactions->Visible())
        prompts().MsgBox(TransferHint, platform::MsgStyle::Information);
}

} // namespace windows
