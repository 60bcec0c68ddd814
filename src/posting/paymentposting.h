#pragma once
// The posting of a payment against a saved transaction: the paid amount moves back against
// the transaction (the From party's balance rises, the To party's falls), the transaction's
// header file takes the new amount paid and open balance, the payment counter rises and
// the payment file is written, with the settings file and in network mode the host file,
// all or nothing. The header file on disk, not the window's copy of it, decides whether the
// transaction is paid and how much is still open.
//
// The payments window calls, in this order, after its own "was already saved" question:
//   1. checkEntry: the network checks, the transaction chosen, paid in full, the parties,
//      the payment value and that it does not pay more than the header on disk leaves open,
//      and that the payment file can hold every text the payment keeps.
//   2. reloadSharedValues (host and user mode), then checkParties: the company files exist
//      and carry no edit lock.
//   3. Its file dialog, proposing nextFileName(), and its overwrite question.
//   4. post, which checks everything again and more (the contacts' rows and balances, that
//      every file may be written) before its first change.
//   5. On a posted result the window shows result.payment (the amounts as the header on
//      disk gave them), shows "Payment Saved" once for each of result.contactFiles (then the
//      contact window shows the last one, read again from disk), and takes the caption
//      "Payment [ <file name> ]". On any other result it shows result.notice.

#include "datafiles/paymentrecord.h"
#include "posting/postingresult.h"

#include <QString>

namespace datafiles {
class SettingsStore;
}

namespace posting {

struct PaymentSave {
    // The payments window's record; lblChangeStatus's tooltip names the header file.
    datafiles::PaymentRecord payment;
    // The payment file chosen (the window has asked before writing over an existing one).
    QString FileName;
    // Whether the user agreed to write over a payment file of that name. Without it a file
    // found there under the posting lock (another posting took the name meanwhile) refuses.
    bool replaceExisting = false;
};

class PaymentPosting {
public:
    explicit PaymentPosting(datafiles::SettingsStore& store) : m_store(store) {}

    CheckResult checkEntry(const datafiles::PaymentRecord& payment) const;
    void reloadSharedValues();
    CheckResult checkParties(const datafiles::PaymentRecord& payment) const;

    // The file name the dialog proposes: the next payment number and ".QVP" ("8.QVP").
    QString nextFileName() const;

    // Posts the payment and writes its files; the settings store changes (own balance,
    // PaymentNumber) only when the posting is made.
    PaymentResult post(const PaymentSave& save);

private:
    datafiles::SettingsStore& m_store;
};

} // namespace posting
