#pragma once
// What the transaction form reads of the transactions window: the transaction's header, the
// copies text its print command hands over, and its progress frame and bar. The
// transactions window implements it; tests use a fake.

#include <QString>

namespace grid {

class ProgressDisplay;

class TransactionFormSource {
public:
    virtual ~TransactionFormSource() = default;

    // Header captions.
    virtual QString TransactionNumber() const = 0;
    virtual QString DateandTime() const = 0;
    virtual QString Value() const = 0;
    // The own company as a party: its name, and whether it is the sending (receiving) one.
    virtual QString FromMyCompany() const = 0;
    virtual bool FromMyCompanyChecked() const = 0;
    virtual QString ToMyCompany() const = 0;
    virtual bool ToMyCompanyChecked() const = 0;
    // Full paths of the parties' contact company files, and the contacts' names.
    virtual QString fromcompany() const = 0;
    virtual QString tocompany() const = 0;
    virtual QString fromcontact() const = 0;
    virtual QString tocontact() const = 0;

    // The copies text of the window's grid (its tooltip): "" shows the filled form, any
    // other text is the number of copies to print.
    virtual QString copiesText() const = 0;
    virtual void setCopiesText(const QString& text) = 0;

    // The progress frame PleaseWait and the progress bar inside it.
    virtual void setPleaseWaitVisible(bool visible) = 0;
    virtual ProgressDisplay* ProgressBar1() = 0;
};

} // namespace grid
