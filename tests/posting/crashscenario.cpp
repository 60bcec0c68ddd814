#include "crashscenario.h"

#include "datafiles/datafoldertree.h"
#include "datafiles/hostfile.h"
#include "datafiles/paymentheaderexchange.h"
#include "datafiles/settingsfile.h"
#include "datafiles/settingsstore.h"
#include "datafiles/transactionheaderfile.h"
#include "platform/programfolder.h"
#include "postingfiles.h"
#include "posting/paymentposting.h"
#include "posting/transactionposting.h"

#include <QDir>

namespace crashtest {

namespace {

bool onShare(const QString& path)
{
    return path.contains(QLatin1String("/share/"));
}

QString bankFile(const datafiles::SettingsStore& store)
{
    return datafiles::DataRoot(store) + QStringLiteral("Contacts/Bank.QVC");
}

QString paymentHeader(const datafiles::SettingsStore& store)
{
    return datafiles::DataRoot(store) + QStringLiteral("Transactions/9.QVTH");
}

// A transaction between the own company and the bank's first contact.
datafiles::TransactionHeader between(const QString& value, const QString& bank, bool ownSends)
{
    datafiles::TransactionHeader h;
    h.TransactionNumber.Caption = QStringLiteral("9");
    h.Value.Caption = value;
    h.FromMyCompany = {QStringLiteral("Firma"), ownSends};
    h.ToMyCompany = {QStringLiteral("Firma"), !ownSends};
    datafiles::HeaderMenu& company = ownSends ? h.tocompany : h.fromcompany;
    datafiles::HeaderMenu& contact = ownSends ? h.tocontact : h.fromcontact;
    company = {bank, true};
    contact = {QStringLiteral("Ana"), true};
    (ownSends ? h.tocompanyiselected : h.fromcompanyiselected).Caption = QStringLiteral("1");
    return h;
}

} // namespace

const Scenario Scenarios[ScenarioCount] = {
    {"TransactionAlone", Kind::Transaction, Mode::Alone},
    {"TransactionOnTheHost", Kind::Transaction, Mode::Host},
    {"TransactionAsAUser", Kind::Transaction, Mode::User},
    {"PaymentAlone", Kind::Payment, Mode::Alone},
    {"PaymentOnTheHost", Kind::Payment, Mode::Host},
    {"PaymentAsAUser", Kind::Payment, Mode::User},
};

QString share()
{
    return datafiles::programPath(QStringLiteral("share/"));
}

QString hostFile()
{
    return share() + QStringLiteral("Firma.QVNET");
}

namespace {

// The company, its balance and counters, and network users allowed to write.
void fillCompany(datafiles::SettingsStore& store)
{
    store.setNetworkPathTest(onShare);
    store.CompanyName = QStringLiteral("Firma");
    store.Balance = QStringLiteral("1000");
    store.InvoiceNumber = QStringLiteral("41");
    store.PaymentNumber = QStringLiteral("7");
    store.CheckReadWrite.Value = 1;
}

// Settings in host mode, for the share's host file.
void makeHost(datafiles::SettingsStore& store)
{
    store.OptionHost = true;
    store.MyHostName = hostFile();
    store.MyHostSystem = share();
}

} // namespace

bool prepare(const Scenario& scenario)
{
    datafiles::CreateDataFolders();
    datafiles::SettingsStore store;
    fillCompany(store);
    if (scenario.mode != Mode::Alone)
        for (const char* folder : {"Contacts", "Transactions", "Payments"})
            QDir().mkpath(share() + QStringLiteral("QVNET/RAzar/") + QLatin1String(folder));
    if (scenario.mode == Mode::Host) {
        makeHost(store);
        if (!datafiles::WriteHostFile(store))
            return false;
    } else if (scenario.mode == Mode::User) {
        // The host is another computer; this one only connects to its file.
        datafiles::SettingsStore host;
        fillCompany(host);
        makeHost(host);
        if (!datafiles::WriteHostFile(host))
            return false;
        store.OptionUser = true;
        store.lblConnectedtohostname = hostFile();
        store.lblConnectedtohostsystem = share();
    }
    if (!datafiles::SaveSettingsFile(store) || !postingtest::writeCompanyFile(bankFile(store), {{"Ana", "7"}}))
        return false;
    if (scenario.kind == Kind::Payment)
        return datafiles::SaveTransactionHeader(paymentHeader(store),
                                                between(QStringLiteral("500"), bankFile(store), false));
    return true;
}

bool preparePeer(const QString& peerFolder)
{
    const QString ownFolder = platform::programFolder();
    const QString sharedFile = hostFile();
    const QString shared = share();
    QDir().mkpath(peerFolder);
    platform::setProgramFolder(peerFolder);
    datafiles::CreateDataFolders();
    datafiles::SettingsStore other;
    other.setNetworkPathTest(onShare);
    other.CompanyName = QStringLiteral("Firma");
    other.OptionUser = true;
    other.lblConnectedtohostname = sharedFile;
    other.lblConnectedtohostsystem = shared;
    const bool saved = datafiles::SaveSettingsFile(other);
    platform::setProgramFolder(ownFolder);
    return saved;
}

bool post(const Scenario& scenario)
{
    datafiles::SettingsStore store;
    store.setNetworkPathTest(onShare);
    datafiles::LoadSettingsFile(store);
    if (scenario.kind == Kind::Transaction) {
        const QString path = datafiles::DataRoot(store) + QStringLiteral("Transactions/42.QVT");
        posting::TransactionPosting posting(store);
        return posting
            .post({posting::SaveKind::SaveAs, between(QStringLiteral("250"), bankFile(store), true), path,
                   postingtest::lineItemBytes(path)})
            .posted();
    }
    datafiles::PaymentRecord payment;
    if (datafiles::LoadHeaderForPayment(paymentHeader(store), payment, store) != datafiles::PaymentHeaderLoad::Loaded)
        return false;
    payment.setPaymentValueText(QStringLiteral("100"));
    posting::PaymentPosting posting(store);
    return posting.post({payment, datafiles::DataRoot(store) + QStringLiteral("Payments/8.QVP")}).posted();
}

int files(const Scenario& scenario)
{
    return 4 + (scenario.mode != Mode::Alone ? 1 : 0); // company, header, items or payment, settings, host
}

int writeSteps(const Scenario& scenario)
{
    return files(scenario) + 2 + files(scenario) + 1;
}

QString postingFolder(const Scenario& scenario)
{
    return scenario.mode != Mode::Alone ? share() + QStringLiteral("QVNET/RAzar/")
                                        : datafiles::programPath(QStringLiteral("System/RAzar/"));
}

} // namespace crashtest
