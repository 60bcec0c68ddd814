#pragma once
// The settings window: it shows the one settings store on five pages. Made when it is first
// needed, it stays loaded to the end of the program, hidden when the user closes it. Every
// control is bound to its field of the store, so that a value typed here, a value read from
// a file and a value set by another window are one and the same; the store runs its own
// rules (numbers only, the one network mode, host paths on the network) and the window adds
// what the user's clicks do: passwords, the form template pickers, creating a host and
// connecting to one. The start-up loads the settings, not the window; the spreadsheet probe
// of the start-up (ExcelTest) runs once the start-up window is on the screen.

#include "datafiles/storefield.h"
#include "platform/commondialog.h"
#include "services/formtemplate.h"

#include <QWidget>
#include <functional>

class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;

namespace datafiles {
class SettingsStore;
}

namespace shell {

class LauncherLabel;

class frmBalance : public QWidget {
    Q_OBJECT
public:
    enum Tab { BalanceTab = 0, CompanyTab = 1, PasswordTab = 2, FormsTab = 3, NetworkTab = 4 };

    explicit frmBalance(datafiles::SettingsStore& store, QWidget* parent = nullptr);

    // What the window needs of the program around it: the start-up window's file dialog the
    // template pickers share (CommonDialog5), and hiding the document windows and the file
    // search window and minimising the start-up window (the company check).
    void setTemplateDialog(platform::CommonDialog* dialog) { m_templateDialog = dialog; }
    void setHideOtherWindows(std::function<void()> hide) { m_hideOtherWindows = std::move(hide); }

    // The window's pages: 0 "Balance", 1 "Company", 2 "Password", 3 "Forms", 4 "Network".
    QTabWidget* SSTab1;
    // The close button "X": hides the window.
    QPushButton* closeButton;
    // The spreadsheet probe's result, not visible.
    QLabel* lblEXCELSTATUS;

    // Balance page.
    QLineEdit* Balance;
    QLineEdit* InvoiceNumber;
    QLineEdit* PaymentNumber;
    QPushButton* CmdUpdateNetwork;
    LauncherLabel* Image8;
    // Company page.
    QLineEdit* CompanyName;
    QLineEdit* CompanyAddress;
    QLineEdit* CompanyCity;
    QLineEdit* CompanyZip;
    QLineEdit* CompanyEMail;
    QLineEdit* CompanyFax;
    QLineEdit* CompanyPhone;
    QPushButton* CmdUpdateNetwork2;
    LauncherLabel* Image9;
    // Password page.
    QLineEdit* OldPassword;
    QLineEdit* NewPassword;
    QLineEdit* ConfirmNewPassword;
    QPushButton* cmdSavePassword;
    QPushButton* cmdPasswordON;
    LauncherLabel* Image10;
    // Forms page: each button's tooltip is the chosen template's path.
    QPushButton* Item;
    QPushButton* Contact;
    QPushButton* Transaction;
    QPushButton* Payment;
    LauncherLabel* Image11;
    // Network page.
    QRadioButton* OptionSingleMachine;
    QRadioButton* OptionHost;
    QRadioButton* OptionUser;
    QCheckBox* CheckReadWrite;
    QCheckBox* CheckUseMyPassword;
    LauncherLabel* MyHostName;
    QLabel* MyHostSystem;
    LauncherLabel* lblConnectedtohostname;
    QLabel* lblConnectedtohostsystem;
    LauncherLabel* Image7;
    QFrame* frameNetInfo; // not visible: who made the host, when and where
    QLabel* lblComputerName;
    QLabel* lblUserName;
    QLabel* lblServerCreationDate;
    QLabel* lblServerCreatedbyPC;
    QLabel* lblisthissamehost;
    // The window's own file dialog, for the host file.
    platform::CommonDialog CommonDialog1;

    // Whether the spreadsheet program can be started. "RADI" when it can; otherwise "NERADI",
    // the message, and "System/Temp/Temp.tmp" holding "ERROR". It needs only the store, so the
    // start-up runs it without making the window.
    void ExcelTest() { ExcelTest(m_store); }
    static void ExcelTest(datafiles::SettingsStore& store);

    // Machine identity: this computer's name (NameOfPC gives it, UPISEPCNAME puts it into
    // the store) and this user's login name or "Unknown" (SaznaUserName).
    int NameOfPC(QString& MachineName) const;
    void UPISEPCNAME();
    void SaznaUserName();
    // Falls back to single-machine mode; the host paths are kept.
    void NemaNetwork();

    // The company check: while a detail of the own company is empty, names the first empty
    // one, hides the document windows and brings this window up on its Company page.
    void PROVERICOMANYINFO();

    // Makes the new password (NewPassword) the current one and stores it.
    void SAVENEWPASSWORDNOW();

    // In host or user mode: refreshes the shared values from the host file when a host data
    // folder can be reached, otherwise tells the user and falls back to single-machine mode.
    void refreshSharedValues();

    // Presses the Forms page's button of the kind, which picks that form's template.
    void pressTemplateButton(services::FormKind kind);
    void pressTransaction() { pressTemplateButton(services::FormKind::Transaction); }

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildBalancePage(QWidget* page);
    void buildCompanyPage(QWidget* page);
    void buildPasswordPage(QWidget* page);
    void buildFormsPage(QWidget* page);
    void buildNetworkPage(QWidget* page);
    LauncherLabel* helpImage(const QString& name, const QString& topic, QWidget* page);
    QLineEdit* boundEdit(const QString& name, datafiles::TextField& field, QWidget* page);

    // Tabs.
    void SSTab1_Click(int tab);
    void HideDocumentWindows();
    // Password page.
    void cmdSavePassword_Click();
    void cmdPasswordON_Click();
    void ShowSecurityState();
    bool storeNewPassword();
    // Forms page.
    void pickTemplate(services::FormKind kind);
    datafiles::TemplateButton& templateField(services::FormKind kind);
    QPushButton* templateButton(services::FormKind kind) const;
    // Network page.
    void OptionSingleMachine_Click();
    void OptionHost_Click();
    void OptionUser_Click();
    void CheckReadWrite_Click();
    void CheckUseMyPassword_Click();
    void MyHostName_Click();
    void createHost(const QString& hostFolder);
    void lblConnectedtohostname_Click();
    void CmdUpdateNetwork_Click();
    bool hostDataFolderReachable() const;
    void fallBackFromUnreachableNetwork();
    void refuseHost(const QString& message);
    void refuseConnection(const QString& message);

    datafiles::SettingsStore& m_store;
    platform::CommonDialog* m_templateDialog = nullptr;
    platform::CommonDialog m_ownTemplateDialog; // until the program hands over CommonDialog5
    std::function<void()> m_hideOtherWindows;
    // The folders of the last host file chosen to create a host and to connect to one.
    QString m_hostFolderChosen;
    QString m_connectFolderChosen;
};

} // namespace shell
