#pragma once
// How the transactions window starts a payment against the transaction it shows ("Enter
// Payment"). The payments window implements it; the program's window registry hands the
// transactions window an implementation that makes the payments window on first use.

#include <QString>

namespace windows {

class PaymentEntry {
public:
    virtual ~PaymentEntry() = default;

    // Brings the payments window to the front, empties it and fills it from the header of
    // the transaction saved at transactionPath (its line-item file, as CommonDialog3 holds
    // it; the header is that path followed by "H"), proposing the open balance as the
    // payment. The header is read as it was last saved. A missing header, or a payment lock
    // held by someone else, is reported and leaves the window empty. The payment lock this
    // takes in network mode belongs to the payments window, which releases it as it
    // releases any other of its own.
    virtual void enterPayment(const QString& transactionPath) = 0;
};

} // namespace windows
