#pragma once
// The running program: the one settings store, the start-up window and the settings window,
// and the registry of every other window. It is what the grids, the spreadsheet exchange,
// the transaction form and the data files call back into, and it carries out the start-up
// order and the shut-down. Nothing below the shell and the windows knows it; they know only
// the interfaces it implements.

#include "datafiles/settingsstore.h"
#include "datafiles/shellhooks.h"
#include "grid/documents/exchangehost.h"
#include "grid/documents/transactionformsettings.h"
#include "services/formtemplatepicker.h"
#include "shell/windowregistry.h"

#include <functional>
#include <memory>
#include <optional>
#include <QStringList>

namespace shell {

class frmBalance;
class frmMain;
class ProgramWindows;

class Program final : public grid::ExchangeHost,
                      public grid::TransactionFormSettings,
                      public datafiles::ShellHooks,
                      public services::FormTemplatePicker {
public:
    // How the program ends its run: by default the application's event loop is left.
    using EndRun = std::function<void()>;

    explicit Program(EndRun endRun = {});
    ~Program() override;
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // The start-up: the data folder tree, what interrupted saves and postings left behind
    // (a posting cut short is completed before anything reads the data files), the settings
    // loaded, the welcome frame and the login prompt as the settings ask, then the start-up
    // window is shown. The spreadsheet probe follows once the window has been drawn.
    void start();
    // Whether the start-up has finished: from then on the program is running.
    bool started() const { return m_started; }

    datafiles::SettingsStore& store() { return m_store; }
    frmMain& startupWindow() { return *m_main; }
    // The settings window; the first call makes it, hidden (and loads the settings when the
    // start-up has not loaded them yet).
    frmBalance& settingsWindow();
    WindowRegistry& windows() { return m_windows; }

    // The launcher: a document window with its stored placement, the payments window, and
    // the settings window (with the shared values refreshed in host or user mode). A window
    // that is not built yet is not shown.
    void openDocumentWindow(const QString& formName);
    void showPaymentsWindow();
    void showSettingsWindow();

    // Unloads the item groups, contact companies, transactions and payments windows, writes
    // the settings file and ends the program. A window whose changes the user saves at "Save
    // Changes?" closes like one whose changes he drops. When a window stays open (the user
    // kept his changes, or they could not be saved) nothing further is unloaded, nothing is
    // written, and false is returned: the program goes on, and the work with it. A settings
    // file that cannot be written is reported by the writer; the program still ends.
    bool shutDown();

    // The settings window's company check: while a detail of the own company is empty, the
    // user is told, the document windows are hidden and the settings window comes up on its
    // Company tab.
    void PROVERICOMANYINFO();
    // Ends the program at once: no window runs its closing steps and no settings are written.
    void endNow();
    bool ended() const { return m_ended; }

    // Whether the spreadsheet probe of this start-up has run.
    bool startupProbeDone() const { return m_probed; }

    // grid::GridHost
    QString ActiveList() const override;
    grid::GridWindow* window(const QString& name) override;
    // grid::ExchangeHost
    QString lblEXCELSTATUS() const override;
    QString PrintExcelFile() const override;
    void setPrintExcelFile(const QString& caption) override;
    grid::ProgressDisplay* ProgressBar1(const QString& formName) override;

    // grid::TransactionFormSettings
    QString CompanyName() const override;
    QString CompanyAddress() const override;
    QString CompanyCity() const override;
    QString CompanyZip() const override;
    QString CompanyEMail() const override;
    QString CompanyFax() const override;
    QString CompanyPhone() const override;
    bool OptionSingleMachine() const override;
    bool OptionHost() const override;
    bool OptionUser() const override;
    QString MyHostSystem() const override;
    QString lblConnectedtohostsystem() const override;
    QString TransactionFormPath() const override;
    void showSettingsWindowAgain() override;
    void setSettingsTab(int tab) override;
    void pressTransaction() override;

    // datafiles::ShellHooks
    void NemaNetwork() override;
    void UPISEPCNAME() override;
    void SaznaUserName() override;
    void SHOWPASSWORD() override;
    void hideSettingsWindow() override;
    void showStartupWindow() override;
    void showWelcome() override;
    bool settingsWindowVisible() const override;
    int settingsSelectedTab() const override;

    // services::FormTemplatePicker: the settings window in front on its Forms tab, with the
    // kind's template button pressed.
    void pickFormTemplate(services::FormKind kind) override;

private:
    bool completePendingPosting(const QString& folder, const std::optional<QStringList>& sweepBeside = std::nullopt);
    void loadSettings();
    void runStartupProbe();
    void connectSettingsWindow();
    void hideDocumentWindows();

    EndRun m_endRun;
    datafiles::SettingsStore m_store;
    std::unique_ptr<frmMain> m_main;
    std::unique_ptr<frmBalance> m_balance;
    WindowRegistry m_windows;
    std::unique_ptr<ProgramWindows> m_programWindows;
    bool m_settingsLoaded = false;
    bool m_started = false;
    bool m_leftNetworkAtStart = false; // the settings fell back to this machine alone as they loaded
    bool m_probeWaits = false;
    bool m_ended = false;
    bool m_probed = false;
};

} // namespace shell
