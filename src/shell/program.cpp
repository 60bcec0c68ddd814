#include "shell/program.h"

#include "datafiles/datafoldertree.h"
#include "datafiles/machineidentity.h"
#include "datafiles/postinglock.h"
#include "datafiles/settingsstore.h"
#include "datafiles/settingsfile.h"
#include "platform/prompts.h"
#include "platform/safefile.h"
#include "posting/postingjournal.h"
#include "shell/documentlaunch.h"
#include "shell/formnames.h"
#include "shell/frmbalance.h"
#include "shell/frmmain.h"
#include "shell/preparedatafolder.h"
#include "shell/programwindows.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QTabWidget>
#include <QTimer>

namespace shell {

namespace {

// The settings as a new settings window holds them: where a damaged placement falls back to.
const datafiles::SettingsStore& initialSettings()
{
    static const datafiles::SettingsStore initial;
    return initial;
}

} // namespace

Program::Program(EndRun endRun) : m_endRun(std::move(endRun))
{
    if (!m_endRun)
        m_endRun = [] { QCoreApplication::exit(0); };
    // The program ends through the start-up window only, never because its last window hid.
    QApplication::setQuitOnLastWindowClosed(false);
    m_store.setShell(this);
    m_main = std::make_unique<frmMain>(*this);
    m_programWindows = std::make_unique<ProgramWindows>(*this);
    m_programWindows->registerAll();
    QObject::connect(m_main.get(), &frmMain::firstShown, m_main.get(), [this] {
        // A host that asks for its password shows the window while the settings are still
        // loading; the probe then waits for the end of the start-up.
        if (m_started)
            runStartupProbe();
        else
            m_probeWaits = true;
    });
}

Program::~Program()
{
    m_windows.dropAll();
    m_programWindows.reset();
    m_balance.reset();
    m_main.reset();
    m_store.setShell(nullptr);
}

void Program::start()
{
    datafiles::CreateDataFolders();
    prepareDataFolder();
    // A posting that a crash cut short is completed before the settings file, which it may
    // change, is read.
    const QString local = posting::PostingJournal::localFolder();
    bool localClear = completePendingPosting(local);
    (void)datafiles::removeLeftoverTemporaryFiles();
    loadSettings();
    // In network mode the shared folder has its own: a posting another computer or this one
    // left unfinished there, and the leftovers of killed writers. Its journals may name
    // this computer's own files (the settings file), so the replacements of the local data
    // folder are removed only once the shared folder's journals are done with; while the
    // share is out of reach, or was at this start (the settings fell back to this machine
    // alone), they are left for a later start.
    if (m_store.networkMode() != datafiles::NetworkMode::SingleMachine) {
        const QString shared = datafiles::PostingLock::folderFor(m_store);
        localClear = completePendingPosting(shared, QStringList{local}) && localClear;
        (void)platform::removeStaleTemporaryFilesBelow(QDir::cleanPath(shared + QStringLiteral("/..")));
        if (localClear)
            (void)completePendingPosting(local, QStringList{shared});
    } else if (localClear && !m_leftNetworkAtStart) {
        (void)completePendingPosting(local, QStringList{});
    }
    if (m_store.CompanyName.value().isEmpty())
        m_main->showWelcome();
    if (!m_store.CURRENTPASSWORD.value().isEmpty()) {
        m_main->SHOWPASSWORD();
        m_main->txtpassword->clear();
    } else {
        m_main->HIDEPASSWORD();
    }
    m_main->show();
    m_started = true;
    if (m_probeWaits)
        QTimer::singleShot(0, m_main.get(), [this] { runStartupProbe(); });
}

// Completes what a posting cut short left in the folder. One that cannot be completed is
// told; its journal stays for the next posting or start. While another copy or computer
// posts there, that one completes it. Taking the lock writes and flushes a file and starts a
// thread; at most starts nothing is left over, and then the folder is only looked at. With
// `sweepBeside`, the replacement files of postings killed before their journal are removed
// too, except those a journal of those folders names. True when the folder is clear: every
// posting cut short there is completed or set aside.
bool Program::completePendingPosting(const QString& folder, const std::optional<QStringList>& sweepBeside)
{
    if (!QFileInfo(folder).isDir() || !posting::hasPostingLeftovers(folder))
        return true;
    datafiles::PostingLock lock(folder);
    lock.setCompletes(false);
    const datafiles::PostingLock::Status locked = lock.acquire();
    if (locked != datafiles::PostingLock::Status::Held)
        return false;
    (void)lock.removeBreakMarkers();
    const posting::PendingPosting pending = posting::completeUnderLock(folder, [&lock] { return lock.stillHeld(); });
    switch (pending.state) {
    case posting::PendingPosting::State::Failed:
        platform::prompts().MsgBox(pending.message, platform::MsgStyle::Critical);
        return false;
    case posting::PendingPosting::State::Damaged:
    case posting::PendingPosting::State::Stale:
        platform::prompts().MsgBox(pending.message, platform::MsgStyle::Critical);
        break;
    default:
        break;
    }
    if (sweepBeside)
        (void)posting::removeDeadReplacements(folder, *sweepBeside);
    return true;
}

// The probe starts the spreadsheet program, which takes a moment; it runs once the start-up
// window is on the screen, so the window does not wait for it. Until it has run no other
// handler can run, so no spreadsheet command sees its result missing.
void Program::runStartupProbe()
{
    if (m_probed || m_ended)
        return;
    m_probed = true;
    frmBalance::ExcelTest(m_store);
}

// The settings are loaded once in a run: the data folder tree, then the settings file (and
// in network mode the host file it names).
void Program::loadSettings()
{
    if (m_settingsLoaded)
        return;
    m_settingsLoaded = true;
    datafiles::CreateDataFolders();
    datafiles::LoadSettingsFile(m_store);
}

// The window only shows the store and adds the user's clicks, so it is made when first
// needed: it shows whatever the store holds by then, and nothing it does before it is made
// reaches beyond its own controls.
frmBalance& Program::settingsWindow()
{
    if (!m_balance) {
        m_balance = std::make_unique<frmBalance>(m_store);
        connectSettingsWindow();
        loadSettings();
    }
    return *m_balance;
}

// The settings window shares the start-up window's template dialog and hides the other
// windows for its company check.
void Program::connectSettingsWindow()
{
    m_balance->setTemplateDialog(&m_main->CommonDialog5);
    m_balance->setHideOtherWindows([this] { hideDocumentWindows(); });
}

// The document windows and the file search window keep their documents and state while
// hidden; one that was never opened is not made for this.
void Program::hideDocumentWindows()
{
    for (const QString& name :
         {FormName::Items, FormName::Contacts, FormName::Payments, FormName::Transactions, FormName::FileSearch})
        if (ProgramWindow* window = m_windows.find(name); window && window->form().isVisible())
            window->form().hide();
    m_main->showMinimized();
}

void Program::PROVERICOMANYINFO()
{
    settingsWindow().PROVERICOMANYINFO();
}

void Program::pickFormTemplate(services::FormKind kind)
{
    frmBalance& settings = settingsWindow();
    settings.hide();
    settings.show();
    settings.SSTab1->setCurrentIndex(frmBalance::FormsTab);
    settings.pressTemplateButton(kind);
}

void Program::openDocumentWindow(const QString& formName)
{
    const std::optional<DocumentWindowFields> stored = documentWindowFields(m_store, formName);
    if (!stored)
        return;
    ProgramWindow* window = m_windows.get(formName);
    if (!window || !window->launched())
        return;
    openWithStoredPlacement(window->form(), *window->launched(), *stored,
                            *documentWindowFields(initialSettings(), formName), screenRects());
}

void Program::showPaymentsWindow()
{
    try {
        if (ProgramWindow* payments = m_windows.get(FormName::Payments)) {
            payments->form().hide();
            payments->form().show();
            payments->form().raise();
            payments->form().activateWindow();
        }
    } catch (...) {
    }
}

void Program::showSettingsWindow()
{
    frmBalance& settings = settingsWindow();
    if (settings.isVisible())
        settings.hide();
    settings.show();
    settings.raise();
    settings.activateWindow();
    try {
        settings.refreshSharedValues();
    } catch (...) {
    }
}

bool Program::shutDown()
{
    for (const QString& name : {FormName::Items, FormName::Contacts, FormName::Transactions, FormName::Payments})
        if (!m_windows.unload(name))
            return false;
    (void)datafiles::SaveSettingsFile(m_store);
    endNow();
    return true;
}

void Program::endNow()
{
    if (m_ended)
        return;
    m_ended = true;
    for (const QString& name : m_windows.loaded())
        m_windows.find(name)->form().hide();
    if (m_balance)
        m_balance->hide();
    m_main->hide();
    m_endRun();
}

QString Program::ActiveList() const
{
    return m_store.ActiveList.value();
}

grid::GridWindow* Program::window(const QString& name)
{
    ProgramWindow* window = m_windows.find(name);
    return window ? window->gridWindow() : nullptr;
}

QString Program::lblEXCELSTATUS() const
{
    return m_store.lblEXCELSTATUS.value();
}

QString Program::PrintExcelFile() const
{
    return m_store.PrintExcelFile.value();
}

void Program::setPrintExcelFile(const QString& caption)
{
    m_store.PrintExcelFile = caption;
}

grid::ProgressDisplay* Program::ProgressBar1(const QString& formName)
{
    ProgramWindow* window = m_windows.find(formName);
    return window ? window->ProgressBar1() : nullptr;
}

QString Program::CompanyName() const { return m_store.CompanyName.value(); }
QString Program::CompanyAddress() const { return m_store.CompanyAddress.value(); }
QString Program::CompanyCity() const { return m_store.CompanyCity.value(); }
QString Program::CompanyZip() const { return m_store.CompanyZip.value(); }
QString Program::CompanyEMail() const { return m_store.CompanyEMail.value(); }
QString Program::CompanyFax() const { return m_store.CompanyFax.value(); }
QString Program::CompanyPhone() const { return m_store.CompanyPhone.value(); }
bool Program::OptionSingleMachine() const { return m_store.OptionSingleMachine.value(); }
bool Program::OptionHost() const { return m_store.OptionHost.value(); }
bool Program::OptionUser() const { return m_store.OptionUser.value(); }
QString Program::MyHostSystem() const { return m_store.MyHostSystem.value(); }
QString Program::lblConnectedtohostsystem() const { return m_store.lblConnectedtohostsystem.value(); }
QString Program::TransactionFormPath() const { return m_store.Transaction.ToolTipText.value(); }

void Program::showSettingsWindowAgain()
{
    frmBalance& settings = settingsWindow();
    settings.hide();
    settings.show();
}

void Program::setSettingsTab(int tab)
{
    settingsWindow().SSTab1->setCurrentIndex(tab);
}

void Program::pressTransaction()
{
    settingsWindow().pressTransaction();
}

// These three change the store only, as the settings window's own do: the data files call
// them while the settings load and from inside the store's rules, where no window is made.
void Program::NemaNetwork()
{
    if (!m_started)
        m_leftNetworkAtStart = true;
    m_store.selectSingleMachineMode();
}

void Program::UPISEPCNAME()
{
    m_store.lblComputerName = datafiles::thisComputerName();
}

void Program::SaznaUserName()
{
    m_store.lblUserName = datafiles::thisUserNameOrUnknown();
}

void Program::SHOWPASSWORD()
{
    m_main->SHOWPASSWORD();
}

void Program::hideSettingsWindow()
{
    if (m_balance)
        m_balance->hide();
}

void Program::showStartupWindow()
{
    m_main->show();
}

void Program::showWelcome()
{
    m_main->showWelcome();
}

bool Program::settingsWindowVisible() const
{
    return m_balance && m_balance->isVisible();
}

int Program::settingsSelectedTab() const
{
    return m_balance ? m_balance->SSTab1->currentIndex() : 0;
}

} // namespace shell
