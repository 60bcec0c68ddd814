#pragma once
// The payment file (".QVP"): a snapshot of one saved payment, the 35 values of the payments
// window's controls with the note last, scrambled at rest. Opening it shows the payment
// again; it changes no balance, no header and no lock.

#include "datafiles/linefield.h"
#include "datafiles/linefilereader.h"
#include "datafiles/paymentrecord.h"

#include <QString>
#include <optional>

namespace datafiles {

inline constexpr int PaymentFileLines = 35;

// The 35 lines of the payment file and the controls they belong to. The note (line 35)
// is written with each line break as CR LF, and read as everything after line 34.
LineTable paymentFileLines(PaymentRecord& payment);

// The first text, in the order of the file, that the payment file cannot hold, named as the
// payments window shows its field; nullopt when it can hold them all.
std::optional<UnstorableText> firstUnstorableText(const PaymentRecord& payment);

// Writes the payment file. A failure is shown to the user, naming the file, and false is
// returned.
bool SavePaymentFile(const QString& path, const PaymentRecord& payment);

// Empties the scratch folder and reads the payment file into the payment; a note of
// several lines comes back whole, with "\n" between its lines. A missing file shows "File
// Don't Exist!"; a file that cannot be read, or whose transaction number (line 7) is not a
// number in either scramble state, is reported naming the file. In those cases the payment
// is left as it was.
LineFileReader::Status LoadPaymentFile(const QString& path, PaymentRecord& payment);

} // namespace datafiles
