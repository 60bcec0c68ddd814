#include "crashscenario.h"

#include "datafiles/datafoldertree.h"
#include "datafiles/hostfile.h"
#include "datafiles/paymentheaderexchange.h"
#include "datafiles/settingsfile.h"
#include "datafiles/settingsstore.h"
#include "datafiles/transactionheaderfile.h"
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

QString share()
{
    return datafiles::programPath(QStringLiteral("share/"));
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
    {"TransactionAlone", Kind::Transaction, false},
    {"TransactionOnTheHost", Kind::Transaction, true},
    {"PaymentAlone", Kind::Payment, false},
    {"PaymentOnTheHost", Kind::Payment, true},
};

bool prepare(const Scenario& scenario)
{
    datafiles::CreateDataFolders();
    datafiles::SettingsStore store;
    store.setNetworkPathTest(onShare);
    store.CompanyName = QStringLiteral("Firma");
    store.Balance = QStringLiteral("1000");
    store.InvoiceNumber = QStringLiteral("41");
    store.PaymentNumber = QStringLiteral("7");
    if (scenario.host) {
        for (const char* folder : {"Contacts", "Transactions", "Payments"})
            QDir().mkpath(share() + QStringLiteral("QVNET/RAzar/") + QLatin1String(folder));
        store.OptionHost = true;
        store.MyHostName = share() + QStringLiteral("Firma.QVNET");
        store.MyHostSystem = share();
        if (!datafiles::WriteHostFile(store))
            return false;
    }
    if (!datafiles::SaveSettingsFile(store) || !postingtest::writeCompanyFile(bankFile(store), {{"Ana", "7"}}))
        return false;
    if (scenario.kind == Kind::Payment)
        return datafiles::SaveTransactionHeader(paymentHeader(store),
                                                between(QStringLiteral("500"), bankFile(store), false));
    return true;
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
    return 4 + (scenario.host ? 1 : 0); // company, header, items or payment, settings, host
}

int writeSteps(const Scenario& scenario)
{
    return files(scenario) + 2 + files(scenario) + 1;
}

QString postingFolder(const Scenario& scenario)
{
    return scenario.host ? share() + QStringLiteral("QVNET/RAzar/") : datafiles::programPath(QStringLiteral("System/RAzar/"));
}

} // namespace crashtest
