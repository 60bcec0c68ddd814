#pragma once
// What the transaction form reads of the transactions window: its header record, the copies
// text on its grid's tooltip and its progress frame.

#include "grid/documents/transactionformsource.h"

namespace windows {

class frmTransactions;

class TransactionFormView : public grid::TransactionFormSource {
public:
    explicit TransactionFormView(frmTransactions& window) : m_window(window) {}

    QString TransactionNumber() const override;
    QString DateandTime() const override;
    QString Value() const override;
    QString FromMyCompany() const override;
    bool FromMyCompanyChecked() const override;
    QString ToMyCompany() const override;
    bool ToMyCompanyChecked() const override;
    QString fromcompany() const override;
    QString tocompany() const override;
    QString fromcontact() const override;
    QString tocontact() const override;
    QString copiesText() const override;
    void setCopiesText(const QString& text) override;
    void setPleaseWaitVisible(bool visible) override;
    grid::ProgressDisplay* ProgressBar1() override;

private:
    frmTransactions& m_window;
};

} // namespace windows
