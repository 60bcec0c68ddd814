#include "datafiles/settingsstore.h"

#include "datafiles/fileprocedures.h"
#include "datafiles/machineidentity.h"
#include "platform/prompts.h"
#include "platform/systeminfo.h"
#include "platform/vb.h"

namespace datafiles {

namespace {

constexpr int NetworkTab = 4;

// Stands in for the windows while none is attached: it changes the store and shows nothing.
class StoreOnlyShell : public ShellHooks {
public:
    explicit StoreOnlyShell(SettingsStore& store) : m_store(store) {}
    void NemaNetwork() override { m_store.selectSingleMachineMode(); }
    void UPISEPCNAME() override { m_store.lblComputerName = thisComputerName(); }
    void SaznaUserName() override { m_store.lblUserName = thisUserNameOrUnknown(); }
    void SHOWPASSWORD() override {}
    void hideSettingsWindow() override {}
    void showStartupWindow() override {}
    void showWelcome() override {}
    bool settingsWindowVisible() const override { return false; }
    int settingsSelectedTab() const override { return 0; }

private:
    SettingsStore& m_store;
};

} // namespace

SettingsStore::SettingsStore() : m_standIn(std::make_unique<StoreOnlyShell>(*this))
{
    installReactions();
}

SettingsStore::~SettingsStore() = default;

SettingsStore::MoneyValues SettingsStore::freshestMoney(const MoneyValues& onDisk) const
{
    const auto freshest = [](const QString& mine, const QString& synced, const QString& disk) {
        return mine == synced ? disk : mine;
    };
    return {freshest(Balance.value(), m_syncedMoney.Balance, onDisk.Balance),
            freshest(InvoiceNumber.value(), m_syncedMoney.InvoiceNumber, onDisk.InvoiceNumber),
            freshest(PaymentNumber.value(), m_syncedMoney.PaymentNumber, onDisk.PaymentNumber)};
}

void SettingsStore::takeMoney(const MoneyValues& values, const MoneyValues& onDisk)
{
    Balance = values.Balance;
    InvoiceNumber = values.InvoiceNumber;
    PaymentNumber = values.PaymentNumber;
    // A value taken from the file that its rule replaced (one that is no number becomes "0")
    // is synced as the field holds it: it was not changed here, so the next posting reads the
    // file again instead of taking the replacement for a value set here.
    const auto synced = [](const TextField& field, const QString& taken, const QString& disk) {
        return taken == disk ? field.value() : disk;
    };
    m_syncedMoney = {synced(Balance, values.Balance, onDisk.Balance),
                     synced(InvoiceNumber, values.InvoiceNumber, onDisk.InvoiceNumber),
                     synced(PaymentNumber, values.PaymentNumber, onDisk.PaymentNumber)};
}

void SettingsStore::installReactions()
{
    Balance.setReaction([this] { keepNumeric(Balance); });
    InvoiceNumber.setReaction([this] { keepNumeric(InvoiceNumber); });
    PaymentNumber.setReaction([this] { keepNumeric(PaymentNumber); });
    OptionSingleMachine.setReaction([this] { selectOption(OptionSingleMachine); });
    OptionHost.setReaction([this] { selectOption(OptionHost); });
    OptionUser.setReaction([this] { selectOption(OptionUser); });
    MyHostName.setReaction([this] { checkMyHostName(); });
    CheckReadWrite.Value.watch([this] { hostReadWriteLineDamaged = false; });
    CheckUseMyPassword.Value.watch([this] { hostUseMyPasswordLineDamaged = false; });
    lblConnectedtohostname.setReaction([this] { checkConnectedHostName(); });
}

void SettingsStore::setShell(ShellHooks* shell)
{
    m_shell = shell;
}

ShellHooks& SettingsStore::shell()
{
    return m_shell ? *m_shell : *m_standIn;
}

void SettingsStore::setNetworkPathTest(NetworkPathTest test)
{
    m_networkPathTest = std::move(test);
}

bool SettingsStore::isNetworkPath(const QString& path) const
{
    return m_networkPathTest ? m_networkPathTest(path) : platform::isNetworkPath(path);
}

// A balance or counter that does not read as a number becomes "0"; the user is told only
// where he can see the field.
void SettingsStore::keepNumeric(TextField& field)
{
    if (platform::vb::IsNumeric(field.value()))
        return;
    if (shell().settingsWindowVisible() && shell().settingsSelectedTab() != NetworkTab)
        platform::prompts().MsgBox(QStringLiteral("YOU CAN ENTER ONLY NUMBERS!"),
                                   platform::MsgStyle::Critical);
    field = QStringLiteral("0");
}

// An option that becomes selected clears the other two of its group; clearing one runs
// nothing.
void SettingsStore::selectOption(OptionField& chosen)
{
    if (!chosen.value())
        return;
    for (OptionField* option : {&OptionSingleMachine, &OptionHost, &OptionUser})
        if (option != &chosen)
            *option = false;
    enableSwitchesForMode();
}

void SettingsStore::enableSwitchesForMode()
{
    CheckReadWrite.Enabled = OptionHost.value();
    CheckUseMyPassword.Enabled = OptionHost.value();
}

// Whether a host path is seen to lie off the network. A host file that is not there proves
// nothing: a share that is not mounted looks like a missing path or an empty local folder,
// and a stored host path must outlive it (the network start reports the unreachable host
// and keeps the paths for when the share is back). Only while the user is choosing a new
// host file in the settings window is a file not yet made judged by its folder.
bool SettingsStore::isLocalHostPath(const QString& path)
{
    if (path.isEmpty())
        return false;
    if (FileExists(path))
        return !isNetworkPath(path);
    if (!shell().settingsWindowVisible())
        return false;
    const QString folder = GetFolderOfPath(path);
    return FolderExists(folder) && !isNetworkPath(folder);
}

// A host file of our own must lie on the network.
void SettingsStore::checkMyHostName()
{
    if (!isLocalHostPath(MyHostName.value()))
        return;
    if (shell().settingsWindowVisible())
        platform::prompts().MsgBox(
            QStringLiteral("Select from directories available at your network drives. "),
            platform::MsgStyle::Critical);
    MyHostName = QString();
    MyHostSystem = QString();
    shell().NemaNetwork();
}

// The host file used as a user must lie on the network; this is reported even while the
// settings window is hidden.
void SettingsStore::checkConnectedHostName()
{
    if (lblConnectedtohostname.value() == QLatin1String("0")) {
        lblConnectedtohostname = QString();
        return;
    }
    const QString path = lblConnectedtohostname.value();
    if (!isLocalHostPath(path))
        return;
    platform::prompts().MsgBox(
        path + QStringLiteral(" Host is not located on your Network or host file is corupted. QVNET "
                              "switched to single mode. Note that you must manually switch back to "
                              "network mode once you successfully host / establish connection to host"),
        platform::MsgStyle::Critical);
    lblConnectedtohostname = QString();
    lblConnectedtohostsystem = QString();
    shell().NemaNetwork();
}

void SettingsStore::selectSingleMachineMode()
{
    OptionSingleMachine = true;
    OptionHost = false;
    CheckReadWrite.Value = 0;
    CheckUseMyPassword.Value = 0;
    OptionUser = false;
}

NetworkMode SettingsStore::networkMode() const
{
    if (OptionHost.value())
        return NetworkMode::Host;
    if (OptionUser.value())
        return NetworkMode::User;
    return NetworkMode::SingleMachine;
}

QString SettingsStore::modeHostFile() const
{
    switch (networkMode()) {
    case NetworkMode::Host:
        return MyHostName.value();
    case NetworkMode::User:
        return lblConnectedtohostname.value();
    case NetworkMode::SingleMachine:
        break;
    }
    return QString();
}

} // namespace datafiles
