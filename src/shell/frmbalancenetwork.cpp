// The Network page of the settings window and the "Update Network" buttons: choosing the
// network mode, creating a host, connecting to one, and the host's two switches.

#include "datafiles/datafoldertree.h"
#include "datafiles/fileprocedures.h"
#include "datafiles/hostfile.h"
#include "datafiles/settingsstore.h"
#include "platform/prompts.h"
#include "platform/systeminfo.h"
#include "shell/frmbalance.h"
#include "shell/hosttreecopy.h"

#include <QDir>
#include <QFileInfo>

namespace shell {

namespace {

const QString HostFilter = QStringLiteral("QV Network Files (*.QVNET)|*.QVNET|");
const QString Yes = QStringLiteral("YES");
const QString NotPublishedByUser = QStringLiteral(
    "Only the network host can update the network. The balance, numbers and company details shown here are "
    "the host's; what you change here is replaced with the host's values when they are read again.");

void critical(const QString& text)
{
    platform::prompts().MsgBox(text, platform::MsgStyle::Critical);
}

// A host data folder below a host file's folder; an empty folder names none.
bool hostDataFolderExists(const QString& hostFolder)
{
    return !hostFolder.isEmpty() && datafiles::FolderExists(hostFolder + QStringLiteral("QVNET/RAzar/"));
}

// Where a host file dialog opens: the folder last chosen for that purpose while it is there,
// else the desktop's network places, else the user's home folder; never the folder the
// program happened to be started from.
QString hostDialogFolder(const QStringList& lastChosen)
{
    for (const QString& folder : lastChosen)
        if (!folder.isEmpty() && QFileInfo(folder).isDir())
            return folder;
    const QString places = platform::networkPlacesFolder();
    return places.isEmpty() ? QDir::homePath() : places;
}

} // namespace

// Either host folder will do, whatever the mode: the one of this machine's host and the one
// of the host it uses.
bool frmBalance::hostDataFolderReachable() const
{
    return hostDataFolderExists(m_store.MyHostSystem.value())
        || hostDataFolderExists(m_store.lblConnectedtohostsystem.value());
}

void frmBalance::fallBackFromUnreachableNetwork()
{
    critical(QStringLiteral(
        "Quorvane was not able to access network and switched to a single user mode. Note that you must manually "
        "switch back to network mode once you successfully establish connection to network drive"));
    NemaNetwork();
}

void frmBalance::refreshSharedValues()
{
    if (!m_store.OptionHost.value() && !m_store.OptionUser.value())
        return;
    if (hostDataFolderReachable())
        datafiles::ReadHostFile(m_store);
    else
        fallBackFromUnreachableNetwork();
}

void frmBalance::OptionSingleMachine_Click()
{
    // The store enables the host's switches for the mode.
}

void frmBalance::OptionHost_Click()
{
    if (m_store.OptionHost.value() && m_store.MyHostName.value().isEmpty() && isVisible())
        MyHostName_Click();
    const QString host = m_store.MyHostName.value();
    if (!host.isEmpty() && isVisible() && !datafiles::FileExists(host)) {
        critical(QStringLiteral("Quorvane was not able to access and create ") + host
                 + QStringLiteral(" . Check your network access and writing rights"));
        m_store.MyHostName = QString();
        m_store.MyHostSystem = QString();
        NemaNetwork();
        return;
    }
    // A host that went back to working alone had its switches turned off on the screen only;
    // its users still work by the host file. Coming back, the switches show the host file
    // again, so that the next write of the host file does not turn them off unasked.
    if (m_store.OptionHost.value())
        (void)datafiles::ReadHostSwitches(m_store);
}

void frmBalance::OptionUser_Click()
{
    if (m_store.OptionUser.value() && isVisible() && m_store.lblConnectedtohostname.value().isEmpty()) {
        lblConnectedtohostname_Click(); // a connection made reads the host file itself
        return;
    }
    const QString host = m_store.lblConnectedtohostname.value();
    if (!host.isEmpty() && isVisible() && !datafiles::FileExists(host)) {
        critical(QStringLiteral("Quorvane is not able to access ") + host);
        m_store.lblConnectedtohostname = QString();
        m_store.lblConnectedtohostsystem = QString();
        NemaNetwork();
        return;
    }
    // A user that went back to working alone had the host's switches turned off; coming back
    // to the host it knows, it works by the host file again at once (its switches, and the
    // shared values with them), not only once a page of shared values has been opened.
    if (m_store.OptionUser.value() && !host.isEmpty())
        datafiles::ReadHostFile(m_store);
}

void frmBalance::CheckReadWrite_Click()
{
    if (!m_store.MyHostName.value().isEmpty())
        (void)datafiles::WriteHostFile(m_store);
}

void frmBalance::CheckUseMyPassword_Click()
{
    datafiles::CheckBoxField& box = m_store.CheckUseMyPassword;
    if (m_store.CURRENTPASSWORD.value().isEmpty() && box.Value.value() == 1 && isVisible()) {
        critical(QStringLiteral("Your current password is empty. To create new password, select Password Tab"));
        box.Value = 0;
        CheckUseMyPassword_Click();
        return;
    }
    if (box.Value.value() == 0 && m_store.OptionHost.value() && isVisible())
        platform::prompts().MsgBox(QStringLiteral("Your host password security is disabled"),
                                   platform::MsgStyle::Information);
    // Reading the host file back applies the switch to this host as it applies to its users.
    // A host file that could not be written would give back the old switch; the user's
    // choice stays on the screen instead, and the failure has been reported.
    if (!m_store.MyHostName.value().isEmpty() && !datafiles::WriteHostFile(m_store))
        return;
    datafiles::ReadHostFile(m_store);
}

void frmBalance::refuseHost(const QString& message)
{
    critical(message);
    m_store.OptionSingleMachine = true;
    m_store.OptionHost = false;
    m_store.OptionUser = false;
    m_store.MyHostName = QString();
    m_store.MyHostSystem = QString();
}

void frmBalance::refuseConnection(const QString& message)
{
    critical(message);
    m_store.OptionSingleMachine = true;
    m_store.OptionHost = false;
    m_store.OptionUser = false;
    m_store.lblConnectedtohostname = QString();
    m_store.lblConnectedtohostsystem = QString();
}

// Creates a host, or takes this machine's own existing host over. Only in host mode: a click
// on the label in another mode must never copy the local data tree over a shared one.
void frmBalance::MyHostName_Click()
{
    if (!m_store.OptionHost.value())
        return;
    QString computer;
    NameOfPC(computer);
    CommonDialog1.DialogTitle = QStringLiteral("Save Quorvane Network Host:");
    CommonDialog1.Filter = HostFilter;
    CommonDialog1.FileName = m_store.CompanyName.value() + QStringLiteral(" on ") + computer;
    m_store.lblComputerName = computer;
    CommonDialog1.InitDir = hostDialogFolder({m_hostFolderChosen, m_store.MyHostSystem.value()});
    CommonDialog1.CancelError = true;
    // Cancel always means no host: the proposed name is no path at all.
    if (!platform::prompts().ShowSave(CommonDialog1)) {
        NemaNetwork();
        return;
    }
    const QString chosen = CommonDialog1.FileName;
    m_hostFolderChosen = datafiles::GetFolderOfPath(chosen);
    m_store.MyHostName = chosen; // refused (and emptied) when it lies off the network
    if (datafiles::FileExists(chosen)) {
        datafiles::CheckSameHost(m_store);
        if (m_store.lblisthissamehost.value() != Yes) {
            if (datafiles::FileExists(m_store.MyHostName.value()))
                refuseHost(QStringLiteral(
                    "Host already exist. To connect to an existing host, select the 'User' option "));
            return;
        }
    }
    if (m_store.MyHostName.value().isEmpty())
        return;
    const QString folder = datafiles::GetFolderOfPath(m_store.MyHostName.value());
    m_store.MyHostSystem = folder;
    if (m_store.lblisthissamehost.value() != Yes && datafiles::FolderExists(folder + QStringLiteral("QVNET"))) {
        refuseHost(QStringLiteral(
            "One QV host in this directory already exist. You can only have one QVNet host per one directory"));
        return;
    }
    m_store.lblisthissamehost = QString();
    createHost(folder);
}

// The host data folder beside the host file, filled with this machine's data tree, then the
// host file. A host whose data could not be copied is no host: the user is told what failed
// and the machine goes on alone, its host path emptied, rather than looking like a host that
// users cannot use.
void frmBalance::createHost(const QString& hostFolder)
{
    const QString shared = hostFolder + QStringLiteral("QVNET");
    for (const QString& sub : {QString(), QStringLiteral("/Sound"), QStringLiteral("/RAzar"), QStringLiteral("/Temp")})
        if (!datafiles::FolderExists(shared + sub))
            QDir().mkdir(shared + sub);
    const platform::FileResult copied =
        HostTreeCopy::copy(datafiles::programPath(QStringLiteral("System/RAzar")), shared + QStringLiteral("/RAzar"), this);
    if (!copied) {
        refuseHost(QStringLiteral("Quorvane could not create the host in %1. %2 Quorvane stays in single user mode.")
                       .arg(hostFolder, copied.error));
        return;
    }
    (void)datafiles::WriteHostFile(m_store);
}

void frmBalance::lblConnectedtohostname_Click()
{
    CommonDialog1.InitDir = hostDialogFolder({m_connectFolderChosen, m_store.lblConnectedtohostsystem.value()});
    CommonDialog1.DialogTitle = QStringLiteral("Open Quorvane Network Connection:");
    CommonDialog1.Filter = HostFilter;
    CommonDialog1.CancelError = true;
    if (!platform::prompts().ShowOpen(CommonDialog1)) {
        m_store.OptionSingleMachine = true;
        NemaNetwork();
        return;
    }
    const QString chosen = CommonDialog1.FileName;
    m_connectFolderChosen = datafiles::GetFolderOfPath(chosen);
    m_store.lblConnectedtohostname = chosen; // refused (and emptied) when it lies off the network
    if (!datafiles::FileExists(chosen)) {
        refuseConnection(QStringLiteral("Host don't exist or it can't be accessed"));
        return;
    }
    if (!m_store.lblConnectedtohostname.value().isEmpty()) {
        const QString folder = datafiles::GetFolderOfPath(m_store.lblConnectedtohostname.value());
        m_store.lblConnectedtohostsystem = folder;
        if (!datafiles::FolderExists(folder + QStringLiteral("QVNET"))) {
            refuseConnection(QStringLiteral("QVNET host folder in this directory don't exist or it can't be accessed"));
            return;
        }
    }
    datafiles::ReadHostFile(m_store);
}

// Publishes the shared values to this machine's host file. A user publishes nothing here,
// and is told so rather than left to find the values put back: the host file this machine
// would write is its own (MyHostName), not the host it uses, and writing a user's values into
// a host this machine made earlier would change that host's balance and counters under its
// own users.
void frmBalance::CmdUpdateNetwork_Click()
{
    if (m_store.OptionSingleMachine.value())
        return;
    if (!hostDataFolderReachable()) {
        fallBackFromUnreachableNetwork();
        return;
    }
    if (m_store.OptionUser.value() && m_store.CheckReadWrite.Value.value() == 0)
        critical(QStringLiteral("Network users are not allowed to edit files. Contact your network host for assistance."));
    else if (m_store.OptionUser.value())
        platform::prompts().MsgBox(NotPublishedByUser, platform::MsgStyle::Information);
    else if (m_store.OptionHost.value())
        (void)datafiles::WriteHostFile(m_store);
}

} // namespace shell
