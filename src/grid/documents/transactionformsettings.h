#pragma once
// What the transaction form reads of the settings store, and the settings window's form
// picker it opens when no form is found. The settings window implements it; tests use a
// fake.

#include <QString>

namespace grid {

class TransactionFormSettings {
public:
    virtual ~TransactionFormSettings() = default;

    // The own company's details.
    virtual QString CompanyName() const = 0;
    virtual QString CompanyAddress() const = 0;
    virtual QString CompanyCity() const = 0;
    virtual QString CompanyZip() const = 0;
    virtual QString CompanyEMail() const = 0;
    virtual QString CompanyFax() const = 0;
    virtual QString CompanyPhone() const = 0;

    // The network mode: exactly one of the three is true.
    virtual bool OptionSingleMachine() const = 0;
    virtual bool OptionHost() const = 0;
    virtual bool OptionUser() const = 0;
    // The folder of the host file (host mode) and of the connected host's file (user
    // mode), each ending with "/".
    virtual QString MyHostSystem() const = 0;
    virtual QString lblConnectedtohostsystem() const = 0;

    // The path of the transaction form chosen in the settings window (the tooltip of its
    // Transaction button); "" when none was chosen.
    virtual QString TransactionFormPath() const = 0;

    // The steps that bring up the form picker: hide the settings window and show it again,
    // put it on the given tab (3 is the Forms tab), then press its Transaction button,
    // which runs the picker at once and stores the choice in TransactionFormPath().
    virtual void showSettingsWindowAgain() = 0;
    virtual void setSettingsTab(int tab) = 0;
    virtual void pressTransaction() = 0;
};

} // namespace grid
