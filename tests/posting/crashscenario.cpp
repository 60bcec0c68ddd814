#include "crashscenario.h"

#include <cstdio>

#include "datafiles/datafoldertree.h"
#include "datafiles/paymentheaderexchange.h"
#include "datafiles/settingsfile.h"
#include "datafiles/settingsstore.h"
#include "datafiles/transactionheaderfile.h"
#include "postingfiles.h"
#include "posting/paymentposting.h"
#include "posting/transactionposting.h"


namespace crashtest {

namespace {

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

bool prepare(const Scenario& scenario)
{
    datafiles::CreateDataFolders();
    datafiles::SettingsStore store;
    postingtest::fillFirma(store);
    if (scenario.mode == Mode::Host && !postingtest::makeHost(store, share()))
        return false;
    if (scenario.mode == Mode::User) {
        // The host is another computer; this one only connects to its file.
        datafiles::SettingsStore host;
        postingtest::fillFirma(host);
        if (!postingtest::makeHost(host, share()))
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
    return postingtest::makeUserOf(peerFolder, share());
}

bool post(const Scenario& scenario)
{
    datafiles::SettingsStore store;
    store.setNetworkPathTest(postingtest::onShare);
    datafiles::LoadSettingsFile(store);
    if (scenario.kind == Kind::Transaction) {
        const QString path = datafiles::DataRoot(store) + QStringLiteral("Transactions/42.QVT");
        posting::TransactionPosting posting(store);
        const posting::TransactionResult result = posting.post(
            {posting::SaveKind::SaveAs, between(QStringLiteral("250"), bankFile(store), true), path,
             postingtest::lineItemBytes(path)});
        std::fprintf(stderr, "%s\n", result.notice.text.toLocal8Bit().constData());
        return result.posted();
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
