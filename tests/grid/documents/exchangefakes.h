#pragma once
// Stand-ins for what the spreadsheet members read of the settings store and the windows:
// plain fields the test sets, and progress bars and window steps that record what was done.

#include "grid/documents/exchangehost.h"
#include "grid/documents/progressdisplay.h"
#include "grid/documents/transactionformsettings.h"
#include "grid/documents/transactionformsource.h"

#include <QMap>
#include <QString>
#include <QStringList>
#include <vector>

// A progress bar that refuses values above its maximum, as the windows' bars do.
struct FakeProgress : grid::ProgressDisplay {
    float max = 100;
    std::vector<float> maxima;
    std::vector<float> values;
    void setMax(float m) override
    {
        max = m;
        maxima.push_back(m);
    }
    void setValue(float v) override
    {
        if (v <= max)
            values.push_back(v);
    }
};

struct FakeHost : grid::ExchangeHost {
    QString excelStatus = QStringLiteral("RADI");
    QString printExcelFile = QStringLiteral("No");
    QString activeList = QStringLiteral("frmItems");
    QMap<QString, FakeProgress> bars{{QStringLiteral("frmItems"), {}},
                                     {QStringLiteral("frmContacts"), {}},
                                     {QStringLiteral("frmTransactions"), {}},
                                     {QStringLiteral("frmPayments"), {}}};

    QString lblEXCELSTATUS() const override { return excelStatus; }
    QString PrintExcelFile() const override { return printExcelFile; }
    void setPrintExcelFile(const QString& caption) override { printExcelFile = caption; }
    QString ActiveList() const override { return activeList; }
    // The spreadsheet members reach the windows only through their progress bars.
    grid::GridWindow* window(const QString&) override { return nullptr; }
    grid::ProgressDisplay* ProgressBar1(const QString& formName) override
    {
        return bars.contains(formName) ? &bars[formName] : nullptr;
    }
    // Every progress value set on any bar, by window.
    QMap<QString, std::vector<float>> progressValues() const
    {
        QMap<QString, std::vector<float>> out;
        for (auto it = bars.begin(); it != bars.end(); ++it)
            if (!it->values.empty())
                out.insert(it.key(), it->values);
        return out;
    }
};

struct FakeFormSettings : grid::TransactionFormSettings {
    QString companyName = QStringLiteral("Own Co"), companyAddress = QStringLiteral("1 Main St"),
            companyCity = QStringLiteral("Springfield"), companyZip = QStringLiteral("12345"),
            companyEMail = QStringLiteral("own@example.com"), companyFax = QStringLiteral("555-0101"),
            companyPhone = QStringLiteral("555-0100");
    bool single = true, host = false, user = false;
    QString myHostSystem, connectedHost;
    QString chosenForm;
    // The settings window steps in the order they were taken; the picker may choose a form.
    QStringList steps;
    QString pickerChooses;

    QString CompanyName() const override { return companyName; }
    QString CompanyAddress() const override { return companyAddress; }
    QString CompanyCity() const override { return companyCity; }
    QString CompanyZip() const override { return companyZip; }
    QString CompanyEMail() const override { return companyEMail; }
    QString CompanyFax() const override { return companyFax; }
    QString CompanyPhone() const override { return companyPhone; }
    bool OptionSingleMachine() const override { return single; }
    bool OptionHost() const override { return host; }
    bool OptionUser() const override { return user; }
    QString MyHostSystem() const override { return myHostSystem; }
    QString lblConnectedtohostsystem() const override { return connectedHost; }
    QString TransactionFormPath() const override { return chosenForm; }
    void showSettingsWindowAgain() override { steps << QStringLiteral("settings shown again"); }
    void setSettingsTab(int tab) override { steps << QStringLiteral("tab %1").arg(tab); }
    void pressTransaction() override
    {
        steps << QStringLiteral("Transaction pressed");
        if (!pickerChooses.isEmpty())
            chosenForm = pickerChooses;
    }
};

struct FakeTransaction : grid::TransactionFormSource {
    QString number = QStringLiteral("T-0042"), dateTime = QStringLiteral("10.12.2026 09:30:00"),
            value = QStringLiteral("123.5");
    QString fromMyCompany = QStringLiteral("Own Co"), toMyCompany = QStringLiteral("Own Co");
    bool fromIsOwn = true, toIsOwn = false;
    QString fromCompany, toCompany = QStringLiteral("/data/Contacts/Acme Ltd.QVC");
    QString fromContact, toContact = QStringLiteral("Jane Roe");
    QString copies;
    QStringList pleaseWait; // "shown" / "hidden" in order
    FakeProgress bar;

    QString TransactionNumber() const override { return number; }
    QString DateandTime() const override { return dateTime; }
    QString Value() const override { return value; }
    QString FromMyCompany() const override { return fromMyCompany; }
    bool FromMyCompanyChecked() const override { return fromIsOwn; }
    QString ToMyCompany() const override { return toMyCompany; }
    bool ToMyCompanyChecked() const override { return toIsOwn; }
    QString fromcompany() const override { return fromCompany; }
    QString tocompany() const override { return toCompany; }
    QString fromcontact() const override { return fromContact; }
    QString tocontact() const override { return toContact; }
    QString copiesText() const override { return copies; }
    void setCopiesText(const QString& text) override { copies = text; }
    void setPleaseWaitVisible(bool visible) override
    {
        pleaseWait << (visible ? QStringLiteral("shown") : QStringLiteral("hidden"));
    }
    grid::ProgressDisplay* ProgressBar1() override { return &bar; }
};
