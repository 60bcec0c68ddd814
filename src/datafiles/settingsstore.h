#pragma once
// Every setting of the program and the run-time values all windows share, one field per
// setting, named as the settings file and the windows name them. Setting a field runs its
// rule at once (numbers only, the option group of the network modes, the network-path test
// of the host paths); the settings window shows the store and adds the user's own clicks.

#include "datafiles/networkmode.h"
#include "datafiles/shellhooks.h"
#include "datafiles/storefield.h"

#include <QString>
#include <functional>
#include <memory>

namespace datafiles {

class SettingsStore {
public:
    SettingsStore();
    ~SettingsStore();
    SettingsStore(const SettingsStore&) = delete;
    SettingsStore& operator=(const SettingsStore&) = delete;

    // Placement, bars and recent files of the item groups window (settings lines 1-13).
    TextField frmItemsWindowState{QStringLiteral("0")};
    TextField frmItemsHeight{QStringLiteral("6210")};
    TextField frmItemsWidth{QStringLiteral("9060")};
    TextField frmItemsLeft{QStringLiteral("1275")};
    TextField frmItemsTop{QStringLiteral("1380")};
    TextField frmItemstoolbarchecked{QStringLiteral("True")};
    TextField frmItemstextbarchecked{QStringLiteral("True")};
    RecentFileSlot frmItemsfile1, frmItemsfile2, frmItemsfile3;

    // The same for the contact companies window (lines 14-26).
    TextField frmContactsWindowState{QStringLiteral("0")};
    TextField frmContactsHeight{QStringLiteral("6210")};
    TextField frmContactsWidth{QStringLiteral("9060")};
    TextField frmContactsLeft{QStringLiteral("1275")};
    TextField frmContactsTop{QStringLiteral("1380")};
    TextField frmContactstoolbarchecked{QStringLiteral("True")};
    TextField frmContactstextbarchecked{QStringLiteral("True")};
    RecentFileSlot frmContactsfile1, frmContactsfile2, frmContactsfile3;

    // The same for the transactions window (lines 27-39).
    TextField frmTransactionsWindowState{QStringLiteral("0")};
    TextField frmTransactionsHeight{QStringLiteral("6210")};
    TextField frmTransactionsWidth{QStringLiteral("9060")};
    TextField frmTransactionsLeft{QStringLiteral("1275")};
    TextField frmTransactionsTop{QStringLiteral("1380")};
    TextField frmTransactionstoolbarchecked{QStringLiteral("True")};
    TextField frmTransactionstextbarchecked{QStringLiteral("True")};
    RecentFileSlot frmTransactionsfile1, frmTransactionsfile2, frmTransactionsfile3;

    // Placement of the file search window (lines 40-46).
    TextField frmFileSearchWindowState{QStringLiteral("0")};
    TextField frmFileSearchHeight{QStringLiteral("6210")};
    TextField frmFileSearchWidth{QStringLiteral("4800")};
    TextField frmFileSearchLeft{QStringLiteral("1275")};
    TextField frmFileSearchTop{QStringLiteral("1380")};
    TextField frmFileSearchtoolbarchecked{QStringLiteral("True")};
    TextField frmFileSearchtextbarchecked{QStringLiteral("True")};

    // Own balance and counters, kept numeric (lines 47, 48, 61).
    TextField Balance{QStringLiteral("0")};
    TextField InvoiceNumber{QStringLiteral("0")};
    TextField PaymentNumber{QStringLiteral("0")};

    // The own company (lines 49-55) and the login password in plain text (line 56).
    TextField CompanyName, CompanyAddress, CompanyCity, CompanyZip, CompanyEMail, CompanyFax,
        CompanyPhone;
    TextField CURRENTPASSWORD;

    // Chosen form templates, "" for the default one (lines 57-60).
    TemplateButton Item, Contact, Transaction, Payment;

    // Line 62: kept and written back, used by nothing.
    TextField Reserved;

    // The network mode, one option selected (lines 63-65), and the host's two switches,
    // enabled while Host is selected (lines 66, 67).
    OptionField OptionSingleMachine{true};
    OptionField OptionHost, OptionUser;
    CheckBoxField CheckReadWrite, CheckUseMyPassword;

    // This machine's host file and its folder (with the trailing separator), and the host
    // file used as a user and its folder (lines 68-71).
    TextField MyHostName, MyHostSystem, lblConnectedtohostname, lblConnectedtohostsystem;

    // Run-time values, not saved.
    TextField ActiveList;
    TextField PrintExcelFile{QStringLiteral("No")};
    TextField lblEXCELSTATUS{QStringLiteral("NERADI")};
    TextField lblComputerName, lblUserName, lblServerCreationDate, lblServerCreatedbyPC,
        lblisthissamehost;
    // Whether a host file read in this run found the host's password switch on and asked for
    // the login, with no reading since that found it off. While it holds, reading the host
    // file again asks for no login: only a switch turned on anew does.
    bool hostLoginAsked = false;
    // Whether the host file last read held neither 0 nor 1 on a switch's line (14 for
    // CheckReadWrite, 15 for CheckUseMyPassword), with the switch not set since. Writing the
    // host file then keeps that line as the file holds it: a damaged switch is never written
    // back as "off", which would clear the host's password at the next reading.
    bool hostReadWriteLineDamaged = false;
    bool hostUseMyPasswordLineDamaged = false;

    // The own balance and counters as they were last read from the settings or host file, or
    // written there by a posting. A value that still equals its synced one was not changed on
    // this machine since, so a posting or a save takes the value on disk, which another copy
    // or computer may have posted to meanwhile; a value changed here (the settings window)
    // is the user's and is kept.
    struct MoneyValues {
        QString Balance, InvoiceNumber, PaymentNumber;
        bool operator==(const MoneyValues&) const = default;
    };
    MoneyValues money() const { return {Balance.value(), InvoiceNumber.value(), PaymentNumber.value()}; }
    const MoneyValues& syncedMoney() const { return m_syncedMoney; }
    void markMoneySynced() { m_syncedMoney = money(); }
    // Each value of the store, or the one on disk where the store's was not changed here.
    MoneyValues freshestMoney(const MoneyValues& onDisk) const;
    // Takes the values, counting onDisk as what the file holds now (a value kept from this
    // machine's own change stays unsynced until it is written).
    void takeMoney(const MoneyValues& values, const MoneyValues& onDisk);

    // The windows above; nullptr uses a stand-in that changes only the store.
    void setShell(ShellHooks* shell);
    ShellHooks& shell();

    // How a host path is recognised as lying on the network; tests decide it themselves. A
    // host path is refused as local only when its file is there (or, while the settings
    // window is shown, when the folder it would be made in is there) and lies off the
    // network; a path that cannot be found is kept.
    using NetworkPathTest = std::function<bool(const QString& path)>;
    void setNetworkPathTest(NetworkPathTest test); // empty restores the platform's test
    bool isNetworkPath(const QString& path) const;

    // The body of NemaNetwork: Single selected, Host and User cleared, both switches 0; the
    // four host paths keep their values.
    void selectSingleMachineMode();

    NetworkMode networkMode() const;
    // The host file of the current mode: MyHostName, lblConnectedtohostname or "".
    QString modeHostFile() const;

private:
    void installReactions();
    void keepNumeric(TextField& field);
    void selectOption(OptionField& chosen);
    void enableSwitchesForMode();
    bool isLocalHostPath(const QString& path);
    void checkMyHostName();
    void checkConnectedHostName();

    std::unique_ptr<ShellHooks> m_standIn;
    ShellHooks* m_shell = nullptr;
    NetworkPathTest m_networkPathTest;
    MoneyValues m_syncedMoney{QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("0")};
};

} // namespace datafiles
