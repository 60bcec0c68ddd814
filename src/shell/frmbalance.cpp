#include "shell/frmbalance.h"

#include "datafiles/datafoldertree.h"
#include "datafiles/fileprocedures.h"
#include "datafiles/hostfile.h"
#include "datafiles/machineidentity.h"
#include "datafiles/settingsfile.h"
#include "datafiles/settingsstore.h"
#include "grid/documents/excelsteps.h"
#include "platform/prompts.h"
#include "platform/safefile.h"
#include "platform/spreadsheet.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>

namespace shell {

namespace {

const QString Working = QStringLiteral("RADI");
const QString NotWorking = QStringLiteral("NERADI");

const QString ExcelFailed = QStringLiteral(
    "Quorvane for Excel (FX) failed to initialize Microsoft Excel. You can still continue to use QVFX "
    "but your export to excel buttons will not be available");

const QString NetworkUnreachable = QStringLiteral(
    "Quorvane was not able to access network and switched to a single user mode. Note that you must "
    "manually switch back to network mode once you successfully establish connection to network drive");

// Starts the spreadsheet program hidden and quits it again.
bool spreadsheetStarts()
{
    const std::unique_ptr<platform::Spreadsheet> excel = platform::newSpreadsheet();
    if (!excel->start())
        return false;
    if (!excel->setVisible(false))
        return false;
    excel->setDisplayAlerts(false);
    excel->quit();
    return true;
}

// A host data folder below a host file's folder; an empty folder names none.
bool hostDataFolderExists(const QString& hostFolder)
{
    return !hostFolder.isEmpty() && datafiles::FolderExists(hostFolder + QStringLiteral("QVNET/RAzar/"));
}

} // namespace

frmBalance::frmBalance(datafiles::SettingsStore& store, QWidget* parent) : QWidget(parent), m_store(store)
{
    setObjectName(QStringLiteral("frmBalance"));
    setWindowTitle(QString());
    resize(540, 400);

    SSTab1 = new QTabWidget(this);
    SSTab1->setObjectName(QStringLiteral("SSTab1"));
    for (const QString& caption : {QStringLiteral("Balance"), QStringLiteral("Company"), QStringLiteral("Password"),
                                   QStringLiteral("Forms"), QStringLiteral("Network")})
        SSTab1->addTab(new QWidget(SSTab1), caption);

    closeButton = new QPushButton(QStringLiteral("X"), this);
    closeButton->setObjectName(QStringLiteral("close"));
    closeButton->setToolTip(QStringLiteral("Close"));
    closeButton->setFixedSize(24, 24);
    connect(closeButton, &QPushButton::clicked, this, &QWidget::hide);

    lblEXCELSTATUS = new QLabel(m_store.lblEXCELSTATUS.value(), this);
    lblEXCELSTATUS->setObjectName(QStringLiteral("lblEXCELSTATUS"));
    lblEXCELSTATUS->hide();
    m_store.lblEXCELSTATUS.watch([this] { lblEXCELSTATUS->setText(m_store.lblEXCELSTATUS.value()); });
}

void frmBalance::Form_Load()
{
    datafiles::CreateDataFolders();
    datafiles::LoadSettingsFile(m_store);
}

void frmBalance::ExcelTest()
{
    bool works = false;
    // Starting the office takes a moment, in which the program cannot answer the user.
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    try {
        works = spreadsheetStarts();
    } catch (...) {
        works = false;
    }
    QGuiApplication::restoreOverrideCursor();
    if (works) {
        m_store.lblEXCELSTATUS = Working;
        return;
    }
    m_store.lblEXCELSTATUS = NotWorking;
    platform::prompts().MsgBox(ExcelFailed, platform::MsgStyle::Critical, grid::ExcelSteps::ExcelErrorTitle);
    // Nothing reads the marker; the next start's settings load empties the folder again.
    (void)platform::writeFileAtomically(datafiles::tempFolder() + QStringLiteral("Temp.tmp"), "ERROR");
}

void frmBalance::NemaNetwork()
{
    m_store.selectSingleMachineMode();
}

void frmBalance::UPISEPCNAME()
{
    m_store.lblComputerName = datafiles::thisComputerName();
}

void frmBalance::SaznaUserName()
{
    m_store.lblUserName = datafiles::thisUserNameOrUnknown();
}

void frmBalance::refreshSharedValues()
{
    if (!m_store.OptionHost.value() && !m_store.OptionUser.value())
        return;
    if (hostDataFolderExists(m_store.MyHostSystem.value())
        || hostDataFolderExists(m_store.lblConnectedtohostsystem.value())) {
        datafiles::ReadHostFile(m_store);
        return;
    }
    platform::prompts().MsgBox(NetworkUnreachable, platform::MsgStyle::Critical);
    NemaNetwork();
}

void frmBalance::pressTransaction()
{
    // The Forms page and its template pickers are not built yet: nothing is chosen.
}

void frmBalance::closeEvent(QCloseEvent* event)
{
    // The window holds the settings for the whole run: closing it only hides it.
    event->ignore();
    hide();
}

void frmBalance::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    SSTab1->setGeometry(8, 8, width() - 16, height() - 16);
    closeButton->move(width() - closeButton->width() - 8, 6);
    closeButton->raise();
}

} // namespace shell
