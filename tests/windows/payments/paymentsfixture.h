#pragma once
// What the payments window tests stand on: an installation (its settings store, the
// start-up window's CommonDialog4, its user and computer, a contact companies window that
// records the company files it is asked to show and a settings window that records the
// template pickers it is asked for), a temporary program folder, a pinned clock, scripted
// prompts, and transactions and contact company files made as the other windows save them.
// Several installations can share one data folder, as the programs of several computers do.

#include "datafiles/settingsstore.h"
#include "datafiles/shellhooks.h"
#include "datafiles/transactionheader.h"
#include "platform/commondialog.h"
#include "posting/postingfiles.h"
#include "support/pinnedclock.h"
#include "support/scopedprompts.h"
#include "support/tempprogramfolder.h"
#include "services/formtemplatepicker.h"
#include "windows/document/postedcompanyfileview.h"
#include "windows/payments/frmpayments.h"

#include <QStringList>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <optional>

namespace paymentstest {

using postingtest::Contact;

class Installation : public datafiles::ShellHooks,
                     public windows::PostedCompanyFileView,
                     public services::FormTemplatePicker {
public:
    explicit Installation(QString user = QStringLiteral("anna"), QString computer = QStringLiteral("PC-ANNA"));
    ~Installation() override;
    Installation(const Installation&) = delete;
    Installation& operator=(const Installation&) = delete;

    datafiles::SettingsStore store;
    platform::CommonDialog CommonDialog4;
    QString user;
    QString computer;
    // The company files the contact companies window was asked to show, in order.
    testsupport::CheckedList<QString> shownCompanyFiles;
    // The form kinds whose template picker the settings window was asked to bring up.
    std::vector<services::FormKind> pickedTemplates;
    // Runs once, the next time the data files ask for this user's name: the moment a load
    // for payment is about to write the payment lock.
    std::function<void()> onNextUserName;

    windows::PaymentsContext context(platform::Prompts& prompts) { return {store, CommonDialog4, prompts, this, this}; }
    // Host mode on a shared folder, publishing its host file there when the folder exists
    // (usersMayWrite: its switch for network users); user mode connected to such a host.
    void beHost(const QString& sharedFolder, bool usersMayWrite = true);
    void beUser(const QString& sharedFolder, bool mayWrite);

    // PostedCompanyFileView: the contact window docked at the left, 5220 twips wide.
    windows::ControlPlace showPostedCompanyFile(const QString& path) override;

    // FormTemplatePicker
    void pickFormTemplate(services::FormKind kind) override { pickedTemplates.push_back(kind); }

    // ShellHooks
    void NemaNetwork() override { store.selectSingleMachineMode(); }
    void UPISEPCNAME() override { store.lblComputerName = computer; }
    void SaznaUserName() override;
    void SHOWPASSWORD() override {}
    void hideSettingsWindow() override {}
    void showStartupWindow() override {}
    void showWelcome() override {}
    bool settingsWindowVisible() const override { return false; }
    int settingsSelectedTab() const override { return 0; }
};

// A transaction header of that value, made by the transactions window, with the own
// company "Firma" named on both sides until a party is set.
datafiles::TransactionHeader header(const QString& value, const QString& paid = QString());
void fromOwnCompany(datafiles::TransactionHeader& h);
void toOwnCompany(datafiles::TransactionHeader& h);
void fromContact(datafiles::TransactionHeader& h, const QString& file, int row, const QString& contact);
void toContact(datafiles::TransactionHeader& h, const QString& file, int row, const QString& contact);

// Column `column` of `row` of a list file.
QString cellOf(const QString& path, int row, int column);
// A data file's stored lines (either scramble state).
QStringList storedLines(const QString& path);
// The bytes of a file; nothing when it is missing.
std::optional<QByteArray> bytesOf(const QString& path);

class PaymentsTest : public ::testing::Test {
public:
    PaymentsTest();
    ~PaymentsTest() override;

    // The window of the installation, made afresh.
    windows::frmPayments& openWindow();

    // Folders of the single-machine data root, ending with "/".
    QString contactsFolder() const;
    QString transactionsFolder() const;
    QString paymentsFolder() const;
    // A contact company file in a folder (the local contacts folder by default).
    QString company(const QString& name, const std::vector<Contact>& contacts, const QString& folder = QString());
    // A saved transaction: its line items at folder & name and its header beside them.
    // Returns the line items' path, as CommonDialog4 and CommonDialog3 hold it.
    QString transaction(const QString& name, const datafiles::TransactionHeader& h,
                        const QString& folder = QString());

    // Open Transaction, choosing the transaction at path.
    void openTransaction(const QString& path);
    // Save, naming the payment file `file` in the dialog; savedMessages "Payment Saved" are
    // answered. True when the window posted.
    bool save(const QString& file, int savedMessages);

    // What the window shows in a label, and in its tooltip.
    QString shown(const QString& label) const;
    QString tip(const QString& label) const;

    testsupport::TempProgramFolder program;
    testsupport::PinnedClock clock{QDateTime(QDate(2026, 12, 10), QTime(12, 0, 0))};
    testsupport::ScopedPrompts prompts;
    Installation machine;
    std::unique_ptr<windows::frmPayments> window;
};

} // namespace paymentstest
