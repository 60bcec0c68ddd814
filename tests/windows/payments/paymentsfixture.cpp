#include "paymentsfixture.h"

#include "datafiles/datafoldertree.h"
#include "datafiles/hostfile.h"
#include "datafiles/settingsfile.h"
#include "datafiles/transactionheaderfile.h"
#include "grid/documents/listdocument.h"
#include "grid/documents/listfilereader.h"
#include "platform/safefile.h"
#include "posting/storedlines.h"

#include <QFile>
#include <QFileInfo>
#include <QLabel>

namespace paymentstest {

Installation::Installation(QString user, QString computer) : user(std::move(user)), computer(std::move(computer))
{
    store.setShell(this);
    store.CompanyName = QStringLiteral("Firma");
    store.Balance = QStringLiteral("1000");
    store.PaymentNumber = QStringLiteral("7");
}

Installation::~Installation()
{
    store.setShell(nullptr);
}

void Installation::beHost(const QString& sharedFolder, bool usersMayWrite)
{
    store.setNetworkPathTest([](const QString&) { return true; });
    store.MyHostName = sharedFolder + QStringLiteral("/Firma.QVNET");
    store.MyHostSystem = sharedFolder + QLatin1Char('/');
    store.OptionHost = true;
    store.CheckReadWrite.Value = usersMayWrite ? 1 : 0;
    if (QFileInfo(sharedFolder).isDir()) {
        EXPECT_TRUE(datafiles::WriteHostFile(store));
    }
}

void Installation::beUser(const QString& sharedFolder, bool mayWrite)
{
    store.setNetworkPathTest([](const QString&) { return true; });
    store.lblConnectedtohostname = sharedFolder + QStringLiteral("/Firma.QVNET");
    store.lblConnectedtohostsystem = sharedFolder + QLatin1Char('/');
    store.OptionUser = true;
    store.CheckReadWrite.Value = mayWrite ? 1 : 0;
}

windows::ControlPlace Installation::showPostedCompanyFile(const QString& path)
{
    shownCompanyFiles << path;
    return {0, 0, 5220, 6210};
}

void Installation::SaznaUserName()
{
    if (auto once = std::exchange(onNextUserName, nullptr))
        once();
    store.lblUserName = user;
}

datafiles::TransactionHeader header(const QString& value, const QString& paid)
{
    datafiles::TransactionHeader h;
    h.TransactionNumber.Caption = QStringLiteral("41");
    h.DateandTime.Caption = QStringLiteral("1.12.2026 10:00:00");
    h.Value.Caption = value;
    h.AmountPaid.Caption = paid;
    h.FromMyCompany = {QStringLiteral("Firma"), true};
    h.ToMyCompany = {QStringLiteral("Firma"), true};
    return h;
}

void fromOwnCompany(datafiles::TransactionHeader& h)
{
    h.FromMyCompany = {QStringLiteral("Firma"), true};
    h.fromcompany = {};
    h.fromcontact = {};
}

void toOwnCompany(datafiles::TransactionHeader& h)
{
    h.ToMyCompany = {QStringLiteral("Firma"), true};
    h.tocompany = {};
    h.tocontact = {};
}

void fromContact(datafiles::TransactionHeader& h, const QString& file, int row, const QString& contact)
{
    h.FromMyCompany.Checked = false;
    h.fromcompany = {file, true};
    h.fromcontact = {contact, true};
    h.fromcompanyiselected.Caption = QString::number(row);
}

void toContact(datafiles::TransactionHeader& h, const QString& file, int row, const QString& contact)
{
    h.ToMyCompany.Checked = false;
    h.tocompany = {file, true};
    h.tocontact = {contact, true};
    h.tocompanyiselected.Caption = QString::number(row);
}

QString cellOf(const QString& path, int row, int column)
{
    grid::ListDocument document;
    EXPECT_TRUE(grid::ListFileReader::read(postingtest::contentOf(path), document, path).ok) << path.toStdString();
    return document.at(row, column).text;
}

QStringList storedLines(const QString& path)
{
    return posting::StoredLines::read(path, 1).lines;
}

std::optional<QByteArray> bytesOf(const QString& path)
{
    if (!QFile::exists(path))
        return std::nullopt;
    return postingtest::contentOf(path);
}

PaymentsTest::PaymentsTest()
{
    datafiles::CreateDataFolders();
    EXPECT_TRUE(datafiles::SaveSettingsFile(machine.store));
}

PaymentsTest::~PaymentsTest()
{
    window.reset();
}

windows::frmPayments& PaymentsTest::openWindow()
{
    window = std::make_unique<windows::frmPayments>(machine.context(prompts.script()));
    window->show();
    return *window;
}

QString PaymentsTest::contactsFolder() const
{
    return program.filePath(QStringLiteral("System/RAzar/Contacts/"));
}

QString PaymentsTest::transactionsFolder() const
{
    return program.filePath(QStringLiteral("System/RAzar/Transactions/"));
}

QString PaymentsTest::paymentsFolder() const
{
    return program.filePath(QStringLiteral("System/RAzar/Payments/"));
}

QString PaymentsTest::company(const QString& name, const std::vector<Contact>& contacts, const QString& folder)
{
    const QString path = (folder.isEmpty() ? contactsFolder() : folder) + name;
    EXPECT_TRUE(postingtest::writeCompanyFile(path, contacts)) << path.toStdString();
    return path;
}

QString PaymentsTest::transaction(const QString& name, const datafiles::TransactionHeader& h, const QString& folder)
{
    const QString path = (folder.isEmpty() ? transactionsFolder() : folder) + name;
    EXPECT_TRUE(platform::writeFileAtomically(path, postingtest::lineItemBytes(path)));
    EXPECT_TRUE(datafiles::SaveTransactionHeader(path + QStringLiteral("H"), h));
    return path;
}

void PaymentsTest::openTransaction(const QString& path)
{
    prompts->queueOpen(path);
    window->cmdFind_Click();
}

bool PaymentsTest::save(const QString& file, int savedMessages)
{
    prompts->queueSave(file);
    for (int k = 0; k < savedMessages; ++k)
        prompts->queueAnswer(platform::Answer::OK);
    return window->cmdSave_Click();
}

QString PaymentsTest::shown(const QString& label) const
{
    return window->label(label)->text();
}

QString PaymentsTest::tip(const QString& label) const
{
    return window->label(label)->toolTip();
}

} // namespace paymentstest
