#include "shell/frmbalance.h"

#include "datafiles/datafoldertree.h"
#include "datafiles/htmlhelp.h"
#include "datafiles/machineidentity.h"
#include "datafiles/settingsstore.h"
#include "grid/documents/excelsteps.h"
#include "platform/onscreen.h"
#include "platform/prompts.h"
#include "platform/safefile.h"
#include "platform/spreadsheet.h"
#include "shell/launcherlabel.h"
#include "shell/settingsbinding.h"
#include "shell/shellpictures.h"
#include "shell/storabletext.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFormLayout>
#include <QFrame>
#include <QGridLayout>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QTabWidget>
#include <QVBoxLayout>

namespace shell {

namespace {

const QString Working = QStringLiteral("RADI");
const QString NotWorking = QStringLiteral("NERADI");

const QString ExcelFailed = QStringLiteral(
    "Quorvane for Excel (FX) failed to initialize Microsoft Excel. You can still continue to use QVFX "
    "but your export to excel buttons will not be available");

// Help is a convenience: whatever goes wrong in showing it is passed over.
void showHelpTopic(const QString& page)
{
    try {
        datafiles::HTMLHelp::showTopic(page);
    } catch (...) {
    }
}

QLabel* caption(const QString& text, QWidget* page)
{
    auto* label = new QLabel(text, page);
    label->setWordWrap(true);
    return label;
}

// The comma key, alone or with Shift (which gives "<" on most layouts).
bool isCommaKey(const QKeyEvent& key)
{
    return key.key() == Qt::Key_Comma || (key.key() == Qt::Key_Less && (key.modifiers() & Qt::ShiftModifier));
}

} // namespace

frmBalance::frmBalance(datafiles::SettingsStore& store, QWidget* parent) : QWidget(parent), m_store(store)
{
    setObjectName(QStringLiteral("frmBalance"));
    setWindowTitle(QString());
    resize(560, 420);
    m_templateDialog = &m_ownTemplateDialog;

    SSTab1 = new QTabWidget(this);
    SSTab1->setObjectName(QStringLiteral("SSTab1"));
    const QStringList captions{QStringLiteral("Balance"), QStringLiteral("Company"), QStringLiteral("Password"),
                               QStringLiteral("Forms"), QStringLiteral("Network")};
    QList<QWidget*> pages;
    for (const QString& tab : captions) {
        pages << new QWidget(SSTab1);
        SSTab1->addTab(pages.last(), tab);
    }
    buildBalancePage(pages[BalanceTab]);
    buildCompanyPage(pages[CompanyTab]);
    buildPasswordPage(pages[PasswordTab]);
    buildFormsPage(pages[FormsTab]);
    buildNetworkPage(pages[NetworkTab]);
    // Connected once the pages exist: from here on every change of page, by the user or by
    // code, runs the page's refresh.
    connect(SSTab1, &QTabWidget::currentChanged, this, &frmBalance::SSTab1_Click);

    closeButton = new QPushButton(QStringLiteral("X"), this);
    closeButton->setObjectName(QStringLiteral("close"));
    closeButton->setToolTip(QStringLiteral("Close"));
    closeButton->setFixedSize(24, 24);
    connect(closeButton, &QPushButton::clicked, this, &QWidget::hide);

    lblEXCELSTATUS = new QLabel(this);
    lblEXCELSTATUS->setObjectName(QStringLiteral("lblEXCELSTATUS"));
    lblEXCELSTATUS->hide();
    SettingsBinding::show(lblEXCELSTATUS, m_store.lblEXCELSTATUS);
}

QLineEdit* frmBalance::boundEdit(const QString& name, datafiles::TextField& field, QWidget* page)
{
    auto* edit = new QLineEdit(page);
    edit->setObjectName(name);
    SettingsBinding::bind(edit, field);
    return edit;
}

LauncherLabel* frmBalance::helpImage(const QString& name, const QString& topic, QWidget* page)
{
    auto* image = new LauncherLabel(name, page);
    image->setPixmap(ShellPictures::help(32));
    image->setFixedSize(32, 32);
    image->setCursor(Qt::PointingHandCursor);
    image->setToolTip(QStringLiteral("Help"));
    connect(image, &LauncherLabel::clicked, this, [topic] { showHelpTopic(topic); });
    return image;
}

void frmBalance::buildBalancePage(QWidget* page)
{
    auto* form = new QFormLayout;
    Balance = boundEdit(QStringLiteral("Balance"), m_store.Balance, page);
    InvoiceNumber = boundEdit(QStringLiteral("InvoiceNumber"), m_store.InvoiceNumber, page);
    PaymentNumber = boundEdit(QStringLiteral("PaymentNumber"), m_store.PaymentNumber, page);
    for (QLineEdit* number : {Balance, InvoiceNumber, PaymentNumber})
        number->installEventFilter(this);
    form->addRow(caption(QStringLiteral("Company balance:"), page), Balance);
    form->addRow(caption(QStringLiteral("Invoice number:"), page), InvoiceNumber);
    form->addRow(caption(QStringLiteral("Payment number:"), page), PaymentNumber);
    CmdUpdateNetwork = new QPushButton(QStringLiteral("Update Network"), page);
    CmdUpdateNetwork->setObjectName(QStringLiteral("CmdUpdateNetwork"));
    connect(CmdUpdateNetwork, &QPushButton::clicked, this, &frmBalance::CmdUpdateNetwork_Click);
    form->addRow(QString(), CmdUpdateNetwork);
    Image8 = helpImage(QStringLiteral("Image8"), QStringLiteral("Balance.htm"), page);

    auto* layout = new QVBoxLayout(page);
    layout->addLayout(form);
    layout->addStretch();
    layout->addWidget(Image8, 0, Qt::AlignRight);
}

void frmBalance::buildCompanyPage(QWidget* page)
{
    auto* form = new QFormLayout;
    const struct {
        QLineEdit** edit;
        const char* name;
        datafiles::TextField* field;
        const char* label;
    } rows[] = {
        {&CompanyName, "CompanyName", &m_store.CompanyName, "Company name:"},
        {&CompanyAddress, "CompanyAddress", &m_store.CompanyAddress, "Address:"},
        {&CompanyCity, "CompanyCity", &m_store.CompanyCity, "City:"},
        {&CompanyZip, "CompanyZip", &m_store.CompanyZip, "Zip:"},
        {&CompanyEMail, "CompanyEMail", &m_store.CompanyEMail, "E-mail:"},
        {&CompanyFax, "CompanyFax", &m_store.CompanyFax, "Fax:"},
        {&CompanyPhone, "CompanyPhone", &m_store.CompanyPhone, "Phone:"},
    };
    for (const auto& row : rows) {
        *row.edit = boundEdit(QString::fromLatin1(row.name), *row.field, page);
        refuseUnstorableCharacters(*row.edit);
        form->addRow(caption(QString::fromLatin1(row.label), page), *row.edit);
    }
    CmdUpdateNetwork2 = new QPushButton(QStringLiteral("Update Network"), page);
    CmdUpdateNetwork2->setObjectName(QStringLiteral("CmdUpdateNetwork2"));
    connect(CmdUpdateNetwork2, &QPushButton::clicked, CmdUpdateNetwork, &QPushButton::click);
    form->addRow(QString(), CmdUpdateNetwork2);
    Image9 = helpImage(QStringLiteral("Image9"), QStringLiteral("Settings2.htm"), page);

    auto* layout = new QVBoxLayout(page);
    layout->addLayout(form);
    layout->addStretch();
    layout->addWidget(Image9, 0, Qt::AlignRight);
}

void frmBalance::buildPasswordPage(QWidget* page)
{
    const auto passwordBox = [page](const QString& name, int maxLength) {
        auto* edit = new QLineEdit(page);
        edit->setObjectName(name);
        edit->setEchoMode(QLineEdit::Password);
        edit->setStyleSheet(QStringLiteral("lineedit-password-character: 42"));
        if (maxLength > 0)
            edit->setMaxLength(maxLength);
        refuseUnstorableCharacters(edit);
        return edit;
    };
    OldPassword = passwordBox(QStringLiteral("OldPassword"), 0);
    NewPassword = passwordBox(QStringLiteral("NewPassword"), 10);
    ConfirmNewPassword = passwordBox(QStringLiteral("ConfirmNewPassword"), 10);
    cmdSavePassword = new QPushButton(QStringLiteral("Save"), page);
    cmdSavePassword->setObjectName(QStringLiteral("cmdSavePassword"));
    cmdPasswordON = new QPushButton(QStringLiteral("Security is OFF"), page);
    cmdPasswordON->setObjectName(QStringLiteral("cmdPasswordON"));
    connect(cmdSavePassword, &QPushButton::clicked, this, &frmBalance::cmdSavePassword_Click);
    connect(cmdPasswordON, &QPushButton::clicked, this, &frmBalance::cmdPasswordON_Click);
    Image10 = helpImage(QStringLiteral("Image10"), QStringLiteral("Password.htm"), page);

    auto* form = new QFormLayout;
    form->addRow(caption(QStringLiteral("Old password:"), page), OldPassword);
    form->addRow(caption(QStringLiteral("New password:"), page), NewPassword);
    form->addRow(caption(QStringLiteral("Confirm new password:"), page), ConfirmNewPassword);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdSavePassword);
    buttons->addWidget(cmdPasswordON);
    buttons->addStretch();
    form->addRow(QString(), buttons);

    auto* layout = new QVBoxLayout(page);
    layout->addLayout(form);
    layout->addStretch();
    layout->addWidget(Image10, 0, Qt::AlignRight);
}

namespace {

// A button whose picture is the style's, fetched when the button is first shown. The style
// reads its pictures from the desktop's icon theme on disk, which would cost the making of the
// window a good part of its time; its Forms page is seldom seen.
class StylePictureButton : public QPushButton {
public:
    StylePictureButton(QStyle::StandardPixmap picture, const QString& text, QWidget* parent)
        : QPushButton(text, parent), m_picture(picture)
    {
    }

protected:
    void showEvent(QShowEvent* event) override
    {
        if (icon().isNull())
            setIcon(style()->standardIcon(m_picture));
        QPushButton::showEvent(event);
    }

private:
    QStyle::StandardPixmap m_picture;
};

} // namespace

void frmBalance::buildFormsPage(QWidget* page)
{
    auto* grid = new QGridLayout;
    const auto formButton = [&](const QString& word, services::FormKind kind, QStyle::StandardPixmap picture) {
        QPushButton* button = new StylePictureButton(picture, word, page);
        button->setObjectName(word);
        button->setIconSize(QSize(32, 32));
        button->setMinimumSize(150, 56);
        SettingsBinding::showAsToolTip(button, templateField(kind).ToolTipText);
        connect(button, &QPushButton::clicked, this, [this, kind] { pickTemplate(kind); });
        return button;
    };
    Item = formButton(QStringLiteral("Item"), services::FormKind::Item, QStyle::SP_FileIcon);
    Contact = formButton(QStringLiteral("Contact"), services::FormKind::Contact, QStyle::SP_DirHomeIcon);
    Transaction = formButton(QStringLiteral("Transaction"), services::FormKind::Transaction,
                             QStyle::SP_FileDialogDetailedView);
    Payment = formButton(QStringLiteral("Payment"), services::FormKind::Payment, QStyle::SP_DialogApplyButton);
    grid->addWidget(caption(QStringLiteral("Choose the Excel workbook each form is printed and exported with:"),
                            page),
                    0, 0, 1, 2);
    grid->addWidget(Item, 1, 0);
    grid->addWidget(Contact, 1, 1);
    grid->addWidget(Transaction, 2, 0);
    grid->addWidget(Payment, 2, 1);
    Image11 = helpImage(QStringLiteral("Image11"), QStringLiteral("Forms.htm"), page);

    auto* layout = new QVBoxLayout(page);
    layout->addLayout(grid);
    layout->addStretch();
    layout->addWidget(Image11, 0, Qt::AlignRight);
}

void frmBalance::buildNetworkPage(QWidget* page)
{
    OptionSingleMachine = new QRadioButton(QStringLiteral("Single"), page);
    OptionSingleMachine->setObjectName(QStringLiteral("OptionSingleMachine"));
    OptionHost = new QRadioButton(QStringLiteral("Host "), page);
    OptionHost->setObjectName(QStringLiteral("OptionHost"));
    OptionUser = new QRadioButton(QStringLiteral("User     Connected to:"), page);
    OptionUser->setObjectName(QStringLiteral("OptionUser"));
    SettingsBinding::bind(OptionSingleMachine, m_store.OptionSingleMachine, [this] { OptionSingleMachine_Click(); });
    SettingsBinding::bind(OptionHost, m_store.OptionHost, [this] { OptionHost_Click(); });
    SettingsBinding::bind(OptionUser, m_store.OptionUser, [this] { OptionUser_Click(); });

    CheckReadWrite = new QCheckBox(QStringLiteral("Allow network users to write "), page);
    CheckReadWrite->setObjectName(QStringLiteral("CheckReadWrite"));
    CheckUseMyPassword = new QCheckBox(QStringLiteral("Protect with my password"), page);
    CheckUseMyPassword->setObjectName(QStringLiteral("CheckUseMyPassword"));
    SettingsBinding::bind(CheckReadWrite, m_store.CheckReadWrite, [this] { CheckReadWrite_Click(); });
    SettingsBinding::bind(CheckUseMyPassword, m_store.CheckUseMyPassword, [this] { CheckUseMyPassword_Click(); });

    const auto pathLabel = [](QLabel* label, const QString& name) {
        label->setObjectName(name);
        label->setWordWrap(true);
        label->setFrameShape(QFrame::StyledPanel);
        label->setMinimumHeight(24);
        label->setTextInteractionFlags(Qt::NoTextInteraction);
        return label;
    };
    MyHostName = new LauncherLabel(QStringLiteral("MyHostName"), page);
    pathLabel(MyHostName, QStringLiteral("MyHostName"))->setCursor(Qt::PointingHandCursor);
    MyHostName->setToolTip(QStringLiteral("Click to create a host"));
    MyHostSystem = pathLabel(new QLabel(page), QStringLiteral("MyHostSystem"));
    lblConnectedtohostname = new LauncherLabel(QStringLiteral("lblConnectedtohostname"), page);
    pathLabel(lblConnectedtohostname, QStringLiteral("lblConnectedtohostname"))->setCursor(Qt::PointingHandCursor);
    lblConnectedtohostname->setToolTip(QStringLiteral("Click to connect to a host"));
    lblConnectedtohostsystem = pathLabel(new QLabel(page), QStringLiteral("lblConnectedtohostsystem"));
    SettingsBinding::show(MyHostName, m_store.MyHostName);
    SettingsBinding::show(MyHostSystem, m_store.MyHostSystem);
    SettingsBinding::show(lblConnectedtohostname, m_store.lblConnectedtohostname);
    SettingsBinding::show(lblConnectedtohostsystem, m_store.lblConnectedtohostsystem);
    connect(MyHostName, &LauncherLabel::clicked, this, &frmBalance::MyHostName_Click);
    connect(lblConnectedtohostname, &LauncherLabel::clicked, this, &frmBalance::lblConnectedtohostname_Click);

    frameNetInfo = new QFrame(page);
    frameNetInfo->setObjectName(QStringLiteral("frameNetInfo"));
    auto* info = new QVBoxLayout(frameNetInfo);
    const struct {
        QLabel** label;
        const char* name;
        datafiles::TextField* field;
    } infoLabels[] = {
        {&lblComputerName, "lblComputerName", &m_store.lblComputerName},
        {&lblUserName, "lblUserName", &m_store.lblUserName},
        {&lblServerCreationDate, "lblServerCreationDate", &m_store.lblServerCreationDate},
        {&lblServerCreatedbyPC, "lblServerCreatedbyPC", &m_store.lblServerCreatedbyPC},
        {&lblisthissamehost, "lblisthissamehost", &m_store.lblisthissamehost},
    };
    for (const auto& entry : infoLabels) {
        *entry.label = new QLabel(frameNetInfo);
        (*entry.label)->setObjectName(QString::fromLatin1(entry.name));
        SettingsBinding::show(*entry.label, *entry.field);
        info->addWidget(*entry.label);
    }
    frameNetInfo->hide();
    Image7 = helpImage(QStringLiteral("Image7"), QStringLiteral("Net.htm"), page);

    auto* grid = new QGridLayout;
    grid->addWidget(OptionSingleMachine, 0, 0, 1, 2);
    grid->addWidget(OptionHost, 1, 0);
    grid->addWidget(MyHostName, 1, 1);
    grid->addWidget(MyHostSystem, 2, 1);
    grid->addWidget(CheckReadWrite, 3, 1);
    grid->addWidget(CheckUseMyPassword, 4, 1);
    grid->addWidget(OptionUser, 5, 0);
    grid->addWidget(lblConnectedtohostname, 5, 1);
    grid->addWidget(lblConnectedtohostsystem, 6, 1);
    grid->setColumnStretch(1, 1);

    auto* layout = new QVBoxLayout(page);
    layout->addLayout(grid);
    layout->addStretch();
    layout->addWidget(frameNetInfo);
    layout->addWidget(Image7, 0, Qt::AlignRight);
}

void frmBalance::ExcelTest(datafiles::SettingsStore& store)
{
    bool works = false;
    // Starting the office takes a moment, in which the program cannot answer the user.
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    try {
        works = platform::spreadsheetStarts();
    } catch (...) {
        works = false;
    }
    QGuiApplication::restoreOverrideCursor();
    if (works) {
        store.lblEXCELSTATUS = Working;
        return;
    }
    store.lblEXCELSTATUS = NotWorking;
    platform::prompts().MsgBox(ExcelFailed, platform::MsgStyle::Critical, grid::ExcelSteps::ExcelErrorTitle);
    // Nothing reads the marker; the next start's settings load empties the folder again.
    (void)platform::writeFileAtomically(datafiles::tempFolder() + QStringLiteral("Temp.tmp"), "ERROR");
}

int frmBalance::NameOfPC(QString& MachineName) const
{
    MachineName = datafiles::thisComputerName();
    return 0;
}

void frmBalance::UPISEPCNAME()
{
    QString name;
    NameOfPC(name);
    m_store.lblComputerName = name;
}

void frmBalance::SaznaUserName()
{
    m_store.lblUserName = datafiles::thisUserNameOrUnknown();
}

void frmBalance::NemaNetwork()
{
    m_store.selectSingleMachineMode();
}

// The shared values of the Balance and Company pages are the host's: they are read again
// whenever one of these pages is chosen. The Password page shows the password's state.
void frmBalance::SSTab1_Click(int tab)
{
    if (tab == BalanceTab || tab == CompanyTab)
        refreshSharedValues();
    else if (tab == PasswordTab)
        ShowSecurityState();
}

void frmBalance::PROVERICOMANYINFO()
{
    const struct {
        QLineEdit* edit;
        const char* word;
    } fields[] = {
        {CompanyName, "Name"}, {CompanyAddress, "Address"}, {CompanyCity, "City"}, {CompanyZip, "Zip"},
        {CompanyEMail, "EMail"}, {CompanyFax, "Fax"},       {CompanyPhone, "Phone"},
    };
    for (const auto& field : fields) {
        if (!field.edit->text().isEmpty())
            continue;
        platform::prompts().MsgBox(QStringLiteral("Please Enter Your Company ") + QString::fromLatin1(field.word));
        if (isVisible()) {
            HideDocumentWindows();
            SSTab1->setCurrentIndex(CompanyTab);
            return;
        }
        hide();
        show();
        raise();
        activateWindow();
        SSTab1->setCurrentIndex(CompanyTab);
        field.edit->setFocus();
        HideDocumentWindows();
        return;
    }
}

void frmBalance::HideDocumentWindows()
{
    if (m_hideOtherWindows)
        m_hideOtherWindows();
}

void frmBalance::closeEvent(QCloseEvent* event)
{
    // The window holds the settings for the whole run: closing it only hides it.
    event->ignore();
    hide();
}

// Every way the window is brought up (the launcher, the company check, a template needed)
// finds it wholly on the screen, its frame included.
void frmBalance::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    platform::keepOnScreen(*this);
}

void frmBalance::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    SSTab1->setGeometry(8, 8, width() - 16, height() - 16);
    closeButton->move(width() - closeButton->width() - 8, 6);
    closeButton->raise();
}

// The comma key in a number field: the user is told that decimals take a dot, and the
// field starts again from "0". The comma itself is dropped, so the field ends as "0".
bool frmBalance::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && isCommaKey(*static_cast<QKeyEvent*>(event))) {
        for (auto [edit, field] : {std::pair{Balance, &m_store.Balance}, std::pair{InvoiceNumber, &m_store.InvoiceNumber},
                                   std::pair{PaymentNumber, &m_store.PaymentNumber}}) {
            if (watched != edit)
                continue;
            platform::prompts().MsgBox(QStringLiteral("For decimals, enter dat only!"), platform::MsgStyle::Critical);
            *field = QStringLiteral("0");
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace shell
