#pragma once
// Moves a transaction's header between its header file and the payment being entered:
// filling the payment from the header (with the open balance proposed as the payment and
// the payment lock taken outside single-machine mode), and writing the header back with the
// new amount paid and balance once the payment is posted.

#include "datafiles/linefield.h"
#include "datafiles/paymentrecord.h"

#include <QString>

namespace datafiles {

class SettingsStore;

// The 19 header lines as the payment reads them from and writes them to its controls.
LineTable paymentHeaderLines(PaymentRecord& payment);

enum class PaymentHeaderLoad {
    Loaded,     // the payment shows the header; lblChangeStatus's tooltip names its file
    Locked,     // another payment holds the transaction; the holder was named to the user
    Missing,    // no header file; "File Don't Exist!" was shown
    Unreadable, // the header could not be read in either scramble state; reported
};

// Fills the payment (emptied by CLEARALL beforehand) from the header file at headerPath.
// Only a successful load changes the payment: then lblChangeStatus's tooltip holds
// headerPath, empty amounts read as "0", the whole open balance is proposed as the payment
// value, PaymentDate is now, and outside single-machine mode the payment lock names this
// user. A lock already standing, found before reading or met while taking it, refuses the
// load with "<path> is already open for payment by <user>".
PaymentHeaderLoad LoadHeaderForPayment(const QString& headerPath, PaymentRecord& payment,
                                       SettingsStore& store);

// Writes the header file at path from the payment: the party lines rebuilt from the two
// check boxes, line 16 the total paid including this payment (AmountPaid's tooltip), line
// 17 the balance after it. A failure is shown, naming the file, and false is returned.
bool SaveHeaderFromPayment(const QString& path, const PaymentRecord& payment);

} // namespace datafiles
