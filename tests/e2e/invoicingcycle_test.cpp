// One whole invoicing cycle in the installed program, on a virtual display, as a user would
// go through it: the first start with the company details and the opening balance, an item
// group, a contact company, a transaction built by transferring items and saved, changed and
// saved again, paid in two parts and refused a third payment, a second transaction between
// two contacts, the transaction form printed, and the program closed and started again.
// After each step the files on disk are read through the program's own readers.
//
// The program folder is the one this test program was installed into (tools of the test run
// it from there), with its templates and sounds; the office is the real one and prints to a
// print server of the test's own.

#include "scripteduser.h"

#include "datafiles/datafoldertree.h"
#include "datafiles/linefilereader.h"
#include "datafiles/settingsfile.h"
#include "datafiles/settingsstore.h"
#include "datafiles/transactionheader.h"
#include "datafiles/transactionheaderfile.h"
#include "grid/documents/gridfile.h"
#include "grid/documents/documentlist.h"
#include "grid/gridcore.h"
#include "platform/calc/calcmodule.h"
#include "platform/desktop.h"
#include "platform/programfolder.h"
#include "posting/companyfile.h"
#include "privatecups.h"
#include "shell/frmbalance.h"
#include "shell/frmmain.h"
#include "shell/launcherlabel.h"
#include "shell/program.h"
#include "shell/programwindow.h"
#include "shell/welcomeframe.h"
#include "windows/contacts/frmcontacts.h"
#include "windows/items/frmitems.h"
#include "windows/payments/frmpayments.h"
#include "windows/transactions/frmtransactions.h"

#include <QAbstractButton>
#include <QPushButton>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>
#include <ostream>

// Texts in failures as text.
inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}

namespace {

using e2e::ScriptedUser;

// The help file is not part of the cycle: its topics are noted, no viewer is started.
class NoHelpViewer : public platform::HelpViewer {
public:
    NoHelpViewer() { platform::setHelpViewer(this); }
    ~NoHelpViewer() override { platform::setHelpViewer(nullptr); }
    bool showTopic(const QString&, const QString&, const QString& topic) override
    {
        topics << topic;
        return true;
    }
    QStringList topics;
};

QString dataFolder(const QString& kind)
{
    return platform::programFolder() + QStringLiteral("/System/RAzar/") + kind;
}

QString cell(const QString& path, int row, int column)
{
    grid::GridCore core;
    grid::GridFile file(core);
    if (!file.OpenFile(path))
        return QStringLiteral("<unreadable>");
    return core.GetItem(row, column);
}

QString balance(const QString& companyFile, int row)
{
    posting::CompanyFile file;
    if (!file.open(companyFile))
        return QStringLiteral("<unreadable>");
    return file.balanceText(row);
}

datafiles::TransactionHeader header(const QString& transactionFile)
{
    datafiles::TransactionHeader h;
    EXPECT_EQ(datafiles::LoadTransactionHeader(transactionFile + QStringLiteral("H"), h),
              datafiles::LineFileReader::Status::Accepted)
        << transactionFile.toStdString();
    return h;
}

// The settings file as it rests: the own balance, the last invoice and payment numbers.
struct SettingsOnDisk {
    QString balance, invoiceNumber, paymentNumber;
};
SettingsOnDisk settingsOnDisk()
{
    datafiles::SettingsStore s;
    EXPECT_EQ(datafiles::LoadSettingsFile(s), datafiles::LineFileReader::Status::Accepted);
    return {s.Balance.value(), s.InvoiceNumber.value(), s.PaymentNumber.value()};
}

// With QUORVANE_SHOTS naming a folder, the windows are photographed there as the cycle uses
// them (tools/screenshot-cycle.sh); the test itself takes no pictures.
void shot(QWidget& window, const char* name)
{
    const QString folder = qEnvironmentVariable("QUORVANE_SHOTS");
    if (folder.isEmpty())
        return;
    QDir().mkpath(folder);
    window.grab().save(folder + QLatin1Char('/') + QString::fromLatin1(name) + QStringLiteral(".png"));
}

class InvoicingCycle : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(cups.start()) << cups.error().toStdString();
        platform::calc::module::install();
    }
    void TearDown() override
    {
        program.reset();
        cups.stop();
    }

    void startProgram()
    {
        program = std::make_unique<shell::Program>([this] { ++ends; });
        program->start();
        ASSERT_TRUE(ScriptedUser::waitFor([this] { return program->startupProbeDone(); }, 60000));
    }
    shell::frmMain& main() { return program->startupWindow(); }
    template <typename Window>
    Window& window(const QString& formName)
    {
        shell::ProgramWindow* entry = program->windows().find(formName);
        EXPECT_NE(entry, nullptr) << formName.toStdString();
        return static_cast<Window&>(entry->form());
    }
    windows::frmItems& items() { return window<windows::frmItems>(QStringLiteral("frmItems")); }
    windows::frmContacts& contacts() { return window<windows::frmContacts>(QStringLiteral("frmContacts")); }
    windows::frmTransactions& transactions()
    {
        return window<windows::frmTransactions>(QStringLiteral("frmTransactions"));
    }
    windows::frmPayments& payments() { return window<windows::frmPayments>(QStringLiteral("frmPayments")); }

    // A menu entry of a document window through its menu bar, by the entries' names.
    void choose(windows::DocumentWindow& w, std::initializer_list<const char*> names)
    {
        QList<QAction*> path;
        for (const char* name : names)
            path << w.menu(QString::fromLatin1(name));
        ScriptedUser::choose(&w, path);
    }
    // Types into a cell of a document window's grid.
    void typeCell(windows::DocumentWindow& w, int row, int column, const QString& text)
    {
        ScriptedUser::activate(&w);
        ScriptedUser::clickCell(w.List1(), row, column);
        ScriptedUser::type(text);
    }

    PrivateCups cups;
    NoHelpViewer help;
    ScriptedUser user;
    std::unique_ptr<shell::Program> program;
    int ends = 0;
};

TEST_F(InvoicingCycle, AsAUserWould)
{
    const QString itemsFile = dataFolder(QStringLiteral("Items/Tools.QVI"));
    const QString companyFile = dataFolder(QStringLiteral("Contacts/Clients.QVC"));

    // ---- First start: the welcome, the company details, the opening balance.
    user.expectMessage(QStringLiteral("Welcome to Quorvane!"));
    startProgram();
    ASSERT_TRUE(main().isVisible());
    ASSERT_TRUE(main().Welcome->isVisible());
    const QStringList details = {"Mizarstvo Kos", "Cesta 5", "Kranj", "4000", "info@kos.example", "04 111 222",
                                 "04 111 333"};
    const QList<QLineEdit*> fields = main().Welcome->companyFields();
    for (int i = 0; i < fields.size(); ++i)
        ScriptedUser::typeInto(fields[i], details[i]);
    user.expectMessage(QStringLiteral("Thank you!"));
    ScriptedUser::click(main().Welcome->Command3);
    user.expectNothingPending("welcome");
    EXPECT_FALSE(main().Welcome->isVisible());

    ScriptedUser::click(main().lblBalance);
    shell::frmBalance& settings = program->settingsWindow();
    ASSERT_TRUE(settings.isVisible());
    settings.SSTab1->setCurrentIndex(0);
    ScriptedUser::typeInto(settings.Balance, QStringLiteral("1000"));
    QTest::keyClick(settings.Balance, Qt::Key_Tab);
    shot(settings, "cycle-settings");
    ScriptedUser::click(settings.closeButton);
    user.expectNothingPending("opening balance");
    EXPECT_EQ(program->store().Balance.value(), QStringLiteral("1000"));
    EXPECT_EQ(program->store().CompanyName.value(), details.first());

    // ---- An item group with two items.
    ScriptedUser::click(main().lblItems);
    ASSERT_TRUE(items().isVisible());
    typeCell(items(), 1, 1, QStringLiteral("Oak board"));
    typeCell(items(), 1, 2, QStringLiteral("2.5"));
    typeCell(items(), 2, 1, QStringLiteral("Wood glue"));
    typeCell(items(), 2, 2, QStringLiteral("9.90"));
    shot(items(), "cycle-items");
    user.expectFile(itemsFile);
    ScriptedUser::click(items().button(QStringLiteral("cmdSave")));
    user.expectNothingPending("item group saved");
    EXPECT_EQ(cell(itemsFile, 1, 1), QStringLiteral("Oak board"));
    EXPECT_EQ(cell(itemsFile, 2, 2), QStringLiteral("9.90"));

    // ---- A contact company with two contacts and their balances.
    ScriptedUser::click(main().lblContacts);
    ASSERT_TRUE(contacts().isVisible());
    typeCell(contacts(), 1, 1, QStringLiteral("Ana"));
    typeCell(contacts(), 1, 2, QStringLiteral("7"));
    typeCell(contacts(), 2, 1, QStringLiteral("Lepko"));
    typeCell(contacts(), 2, 2, QStringLiteral("0"));
    shot(contacts(), "cycle-contacts");
    user.expectFile(companyFile);
    ScriptedUser::click(contacts().button(QStringLiteral("cmdSave")));
    user.expectNothingPending("contact company saved");
    EXPECT_EQ(balance(companyFile, 1), QStringLiteral("7"));
    EXPECT_EQ(balance(companyFile, 2), QStringLiteral("0"));

    // ---- A transaction from the own company to Ana, built by transferring items.
    ScriptedUser::click(main().lblTransactions);
    ASSERT_TRUE(transactions().isVisible());
    user.expectMessage(QStringLiteral("To transfer items to one Company"));
    user.expectFile(companyFile);
    user.expectMessage(QString());
    choose(transactions(), {"header", "tt", "TCompany", "tocompany"});
    user.expectNothingPending("the receiver's company chosen");
    ASSERT_TRUE(contacts().isVisible());
    ScriptedUser::activate(&contacts());
    // Enter on the contact brings up the transfer panel with "TRANSFER TO" ready; Enter
    // again hands the contact over as the receiver.
    ScriptedUser::clickCell(contacts().List1(), 1, 1);
    ScriptedUser::key(Qt::Key_Return);
    ASSERT_TRUE(ScriptedUser::waitFor([&] { return contacts().TransferItems()->isVisible(); }));
    ScriptedUser::key(Qt::Key_Return);
    user.expectNothingPending("Ana handed over");
    EXPECT_EQ(transactions().header().tocontact.Caption, QStringLiteral("Ana"));

    user.expectMessage(QStringLiteral("Open items group now?"), QStringLiteral("Yes"));
    user.expectFile(itemsFile);
    choose(transactions(), {"add", "additem"});
    user.expectNothingPending("the item group opened");
    // The first empty line of the transaction takes the first item.
    ScriptedUser::activate(&transactions());
    ScriptedUser::clickCell(transactions().List1(), 1, 1);
    const auto transferItem = [&](int row, const QString& name, const QString& quantity) {
        ScriptedUser::activate(&items());
        ScriptedUser::clickCell(items().List1(), row, 1);
        user.expectInput(QStringLiteral("Enter Transfer Quantity for ") + name, quantity);
        user.expectMessage(QStringLiteral("Transfer ") + name + QStringLiteral(" in amount of ") + quantity,
                           QStringLiteral("Yes"));
        choose(items(), {"TransferItem"});
        user.expectNothingPending("an item transferred");
    };
    transferItem(1, QStringLiteral("Oak board"), QStringLiteral("2"));
    transferItem(2, QStringLiteral("Wood glue"), QStringLiteral("1"));
    EXPECT_EQ(transactions().header().Value.Caption, QStringLiteral("14.9"));
    shot(transactions(), "cycle-transaction");

    // The posting closes the windows beside the transaction first: the contact list, marked
    // changed by the Enter that handed Ana over, is not saved (the posting writes the file).
    const QString firstTransaction = dataFolder(QStringLiteral("Transactions/1.QVT"));
    user.expectMessage(QStringLiteral("Save Changes?"), QStringLiteral("No"));
    user.expectFile(firstTransaction);
    user.expectMessage(QStringLiteral("Transaction Saved"));
    ScriptedUser::activate(&transactions());
    ScriptedUser::click(transactions().button(QStringLiteral("cmdSave")));
    user.expectNothingPending("the transaction saved");
    {
        SCOPED_TRACE("after the first save");
        const datafiles::TransactionHeader h = header(firstTransaction);
        EXPECT_EQ(h.TransactionNumber.Caption, QStringLiteral("1"));
        EXPECT_EQ(h.Value.Caption, QStringLiteral("14.9"));
        EXPECT_TRUE(h.FromMyCompany.Checked);
        EXPECT_EQ(h.tocontact, (datafiles::HeaderMenu{QStringLiteral("Ana"), true}));
        EXPECT_EQ(h.tocompany.Caption, companyFile);
        EXPECT_EQ(cell(firstTransaction, 2, 4), QStringLiteral("9.9"));
        EXPECT_EQ(balance(companyFile, 1), QStringLiteral("21.9"));
        EXPECT_EQ(balance(companyFile, 2), QStringLiteral("0"));
        const SettingsOnDisk s = settingsOnDisk();
        EXPECT_EQ(s.balance, QStringLiteral("985.1"));
        EXPECT_EQ(s.invoiceNumber, QStringLiteral("1"));
        EXPECT_TRUE(contacts().isVisible()); // showing the party's file
    }

    // ---- The transaction changed, the glue taken out, and saved again: only the difference
    // posts. A click on a line while the item groups window is closed offers to open one.
    ScriptedUser::activate(&transactions());
    user.expectMessage(QStringLiteral("Open items group now?"), QStringLiteral("Yes"));
    user.expectFile(itemsFile);
    ScriptedUser::clickCell(transactions().List1(), 2, 1);
    user.expectNothingPending("the item group opened again");
    ScriptedUser::activate(&transactions());
    ScriptedUser::clickCell(transactions().List1(), 2, 1);
    choose(transactions(), {"deletemenu", "deleterow"});
    EXPECT_EQ(transactions().header().Value.Caption, QStringLiteral("5"));
    user.expectMessage(QStringLiteral("Transaction Saved"));
    ScriptedUser::activate(&transactions());
    ScriptedUser::click(transactions().button(QStringLiteral("cmdSave")));
    user.expectNothingPending("the transaction saved again");
    {
        SCOPED_TRACE("after the second save");
        EXPECT_EQ(header(firstTransaction).Value.Caption, QStringLiteral("5"));
        EXPECT_EQ(cell(firstTransaction, 2, 4), QString());
        EXPECT_EQ(balance(companyFile, 1), QStringLiteral("12"));
        const SettingsOnDisk s = settingsOnDisk();
        EXPECT_EQ(s.balance, QStringLiteral("995"));
        EXPECT_EQ(s.invoiceNumber, QStringLiteral("1"));
    }

    // ---- Paid in two parts; a third payment is refused.
    const auto pay = [&](const QString& proposed, const QString& amount, const QString& file) {
        ScriptedUser::activate(&transactions());
        choose(transactions(), {"p", "enterPayment"});
        ASSERT_TRUE(ScriptedUser::waitFor([&] { return payments().isVisible(); }));
        EXPECT_EQ(payments().PaymentValue()->text(), proposed);
        ScriptedUser::activate(&payments());
        if (amount == QLatin1String("3"))
            shot(payments(), "cycle-payment");
        ScriptedUser::typeInto(payments().PaymentValue(), amount);
        QTest::keyClick(payments().PaymentValue(), Qt::Key_Tab);
        user.expectFile(file);
        user.expectMessage(QStringLiteral("Payment Saved"));
        ScriptedUser::click(payments().button(QStringLiteral("cmdSave")));
        user.expectNothingPending("a payment saved");
    };
    const QString firstPayment = dataFolder(QStringLiteral("Payments/P1.QVP"));
    const QString secondPayment = dataFolder(QStringLiteral("Payments/P2.QVP"));
    pay(QStringLiteral("5"), QStringLiteral("3"), firstPayment);
    {
        SCOPED_TRACE("after the first payment");
        const datafiles::TransactionHeader h = header(firstTransaction);
        EXPECT_EQ(h.AmountPaid.Caption, QStringLiteral("3"));
        EXPECT_EQ(h.Balance.Caption, QStringLiteral("2"));
        EXPECT_EQ(balance(companyFile, 1), QStringLiteral("9"));
        const SettingsOnDisk s = settingsOnDisk();
        EXPECT_EQ(s.balance, QStringLiteral("998"));
        EXPECT_EQ(s.paymentNumber, QStringLiteral("1"));
        EXPECT_TRUE(QFile::exists(firstPayment));
    }
    pay(QStringLiteral("2"), QStringLiteral("2"), secondPayment);
    {
        SCOPED_TRACE("paid in full");
        const datafiles::TransactionHeader h = header(firstTransaction);
        EXPECT_EQ(h.AmountPaid.Caption, QStringLiteral("5"));
        EXPECT_EQ(h.Balance.Caption, QStringLiteral("0"));
        // Every figure is back where it started, with no rounding on the way.
        EXPECT_EQ(balance(companyFile, 1), QStringLiteral("7"));
        const SettingsOnDisk s = settingsOnDisk();
        EXPECT_EQ(s.balance, QStringLiteral("1000"));
        EXPECT_EQ(s.paymentNumber, QStringLiteral("2"));
    }
    {
        SCOPED_TRACE("a third payment");
        ScriptedUser::activate(&transactions());
        choose(transactions(), {"p", "enterPayment"});
        ASSERT_TRUE(ScriptedUser::waitFor([&] { return payments().isVisible(); }));
        ScriptedUser::activate(&payments());
        user.expectMessage(QStringLiteral("Incorect Payment Value!"));
        ScriptedUser::typeInto(payments().PaymentValue(), QStringLiteral("1"));
        QTest::keyClick(payments().PaymentValue(), Qt::Key_Tab);
        user.expectMessage(QStringLiteral("This Transaction was paid in full amount!"));
        ScriptedUser::click(payments().button(QStringLiteral("cmdSave")));
        user.expectNothingPending("a third payment refused");
        EXPECT_EQ(header(firstTransaction).AmountPaid.Caption, QStringLiteral("5"));
        EXPECT_EQ(balance(companyFile, 1), QStringLiteral("7"));
        EXPECT_EQ(settingsOnDisk().paymentNumber, QStringLiteral("2"));
    }

    // ---- A second transaction, from Ana to Lepko, saved as a new file.
    ScriptedUser::activate(&transactions());
    ScriptedUser::click(transactions().button(QStringLiteral("cmdNew"))); // saved: nothing is asked
    user.expectNothingPending("a new transaction");
    user.expectMessage(QStringLiteral("To transfer items from one Company"));
    user.expectFile(companyFile);
    user.expectMessage(QString());
    choose(transactions(), {"header", "tf", "fCompany", "fromcompany"});
    user.expectNothingPending("the sender's company chosen");
    ScriptedUser::activate(&contacts());
    ScriptedUser::clickCell(contacts().List1(), 1, 1);
    ScriptedUser::key(Qt::Key_Return);
    ASSERT_TRUE(ScriptedUser::waitFor([&] { return contacts().TransferItems()->isVisible(); }));
    ScriptedUser::click(contacts().transferControl(QStringLiteral("TRANSFERITEMSFROM")));
    // The company still shown, marked changed by the Enter, is opened again for the receiver.
    user.expectMessage(QStringLiteral("To transfer items to one Company"));
    user.expectMessage(QStringLiteral("Save Changes?"), QStringLiteral("No"));
    user.expectFile(companyFile);
    user.expectMessage(QString());
    choose(transactions(), {"header", "tt", "TCompany", "tocompany"});
    user.expectNothingPending("the receiver's company chosen");
    ScriptedUser::activate(&contacts());
    ScriptedUser::clickCell(contacts().List1(), 2, 1);
    ScriptedUser::key(Qt::Key_Return);
    ASSERT_TRUE(ScriptedUser::waitFor([&] { return contacts().TransferItems()->isVisible(); }));
    ScriptedUser::key(Qt::Key_Return);
    EXPECT_EQ(transactions().header().fromcontact.Caption, QStringLiteral("Ana"));
    EXPECT_EQ(transactions().header().tocontact.Caption, QStringLiteral("Lepko"));

    ScriptedUser::activate(&transactions());
    if (shell::ProgramWindow* shown = program->windows().find(QStringLiteral("frmItems"));
        !shown || !shown->form().isVisible()) {
        user.expectMessage(QStringLiteral("Open items group now?"), QStringLiteral("Yes"));
        user.expectFile(itemsFile);
    }
    ScriptedUser::clickCell(transactions().List1(), 1, 1);
    user.expectNothingPending("the items for the second transaction");
    ScriptedUser::activate(&transactions());
    ScriptedUser::clickCell(transactions().List1(), 1, 1);
    transferItem(2, QStringLiteral("Wood glue"), QStringLiteral("2"));
    EXPECT_EQ(transactions().header().Value.Caption, QStringLiteral("19.8"));

    const QString secondTransaction = dataFolder(QStringLiteral("Transactions/2.QVT"));
    user.expectMessage(QStringLiteral("Save Changes?"), QStringLiteral("No"));
    user.expectFile(secondTransaction);
    user.expectMessage(QStringLiteral("Transaction Saved"));
    user.expectMessage(QStringLiteral("Transaction Saved"));
    ScriptedUser::activate(&transactions());
    ScriptedUser::click(transactions().button(QStringLiteral("cmdSave")));
    user.expectNothingPending("the second transaction saved");
    {
        SCOPED_TRACE("after the second transaction");
        const datafiles::TransactionHeader h = header(secondTransaction);
        EXPECT_EQ(h.TransactionNumber.Caption, QStringLiteral("2"));
        EXPECT_FALSE(h.FromMyCompany.Checked);
        EXPECT_EQ(h.fromcontact.Caption, QStringLiteral("Ana"));
        EXPECT_EQ(h.tocontact.Caption, QStringLiteral("Lepko"));
        EXPECT_EQ(balance(companyFile, 1), QStringLiteral("-12.8"));
        EXPECT_EQ(balance(companyFile, 2), QStringLiteral("19.8"));
        const SettingsOnDisk s = settingsOnDisk();
        EXPECT_EQ(s.balance, QStringLiteral("1000"));
        EXPECT_EQ(s.invoiceNumber, QStringLiteral("2"));
        EXPECT_EQ(header(firstTransaction).Value.Caption, QStringLiteral("5")); // the first one untouched
    }

    // ---- The transaction form printed to the print server: its number and total on the page.
    ScriptedUser::activate(&transactions());
    user.expectInput(QStringLiteral("Enter number of copies to print:"), QStringLiteral("1"));
    ScriptedUser::click(transactions().button(QStringLiteral("cmdPrintOptions")));
    user.expectNothingPending("the form printed");
    EXPECT_EQ(cups.waitForPrintedPages(60000), 1);
    EXPECT_EQ(cups.outputPages(), 1);
    const QString page = cups.outputText();
    EXPECT_TRUE(page.contains(QStringLiteral("19.8"))) << page.toStdString();
    EXPECT_TRUE(page.contains(QStringLiteral("Lepko"))) << page.toStdString();

    // ---- The program closed and started again: everything as it was left.
    main().close();
    ASSERT_TRUE(ScriptedUser::waitFor([&] { return ends == 1; }));
    program.reset();
    startProgram();
    EXPECT_FALSE(main().Welcome->isVisible());
    shot(main(), "cycle-startup");
    EXPECT_EQ(program->store().Balance.value(), QStringLiteral("1000"));
    EXPECT_EQ(program->store().InvoiceNumber.value(), QStringLiteral("2"));
    EXPECT_EQ(program->store().PaymentNumber.value(), QStringLiteral("2"));
    EXPECT_EQ(program->store().CompanyName.value(), details.first());
    ScriptedUser::click(main().lblTransactions);
    user.expectFile(secondTransaction);
    ScriptedUser::click(transactions().button(QStringLiteral("cmdOpen")));
    user.expectNothingPending("the second transaction opened again");
    EXPECT_EQ(transactions().header().Value.Caption, QStringLiteral("19.8"));
    EXPECT_EQ(transactions().header().TransactionNumber.Caption, QStringLiteral("2"));
    main().close();
    user.expectNothingPending("the end");
}

} // namespace
