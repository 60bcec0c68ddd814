#pragma once
// How the transactions window starts a payment against the transaction it shows: the
// payments window implements it (the program's window registry hands it out); the
// transactions window never includes that window.

#include <QString>

namespace windows {

class PaymentStart {
public:
    virtual ~PaymentStart() = default;

    // Brings the payments window to the front (hidden, then shown, so it is the active
    // window), empties every field of it (CLEARALL) and loads the transaction's header file
    // at headerPath for a payment (LoadHeaderForPayment), which proposes the balance still
    // open as the payment. The header file's own messages (missing, already open for
    // payment) are the payments window's.
    virtual void startPayment(const QString& headerPath) = 0;
};

} // namespace windows
