#pragma once
// What a posting tells the window that asked for it: whether it posted, and if not why, with
// the message the window shows (its text, title and message box style, as the program words
// it). The window owns its own state; it takes what the posting wrote from the result.

#include "datafiles/paymentrecord.h"
#include "datafiles/transactionheader.h"
#include "platform/prompts.h"

#include <QString>
#include <QStringList>

namespace posting {

// Why a posting did not happen; each has its own message.
enum class Refusal {
    None,
    // Network mode
    NetworkFolderMissing,   // the shared transactions (payments) folder cannot be reached
    NetworkUserMayNotWrite, // a user whose host lets network users only read
    HostFileUnreadable,     // the host file could not be read to apply the posting to it
    // The transaction header
    NoValue,                // the value is not a number of at least 0.1
    OldValueNotNumber,      // the value already posted does not read as a number
    FromCompanyUnnamed,     // the own company sends but has no name (the window then shows
                            // the settings window)
    FromPartyMissing,       // no sending contact (the window then offers the contact window)
    ToCompanyUnnamed,       // the own company receives but has no name
    ToPartyMissing,         // no receiving contact (the window then offers the contact window)
    BothOwnCompany,         // from and to the own company
    TransactionFileExists,  // Save As onto a transaction that exists already
    // The payment
    NoTransaction,          // no transaction chosen for the payment
    HeaderMissing,          // the transaction's header file is gone
    HeaderUnreadable,       // the header file cannot be read, or its amounts are not numbers
    PaidInFull,             // the header on disk says the transaction is paid
    FromInformationMissing, // the payment's From party is incomplete
    ToInformationMissing,   // the payment's To party is incomplete
    NoPaymentValue,         // the payment value is empty
    BadPaymentValue,        // not a number, or below 0.01
    Overpayment,            // more than the header on disk leaves open
    UnstorableText,         // a text holds a character its file cannot store (also a transaction's header)
    NoPaymentFile,          // no payment file name was given
    PaymentFileExists,      // another posting wrote a payment file of that name meanwhile
    // The parties' company files
    FromFileMissing,
    ToFileMissing,
    FromLocked,             // an edit lock stands on the file: the message names its holder
    ToLocked,
    FileUnreadable,         // a company file could not be read
    FromContactNotFound,    // the contact's row no longer holds the contact
    ToContactNotFound,
    BalanceNotNumber,       // a contact's balance cell does not read as a number
    BalanceAmbiguous,       // a balance reads as one number or another ("1,500")
    BalanceTooLarge,        // a new balance or amount would be beyond the range of the number
                            // form, or need more digits than it writes
    OwnValueUnreadable,     // the own balance or a counter the posting moves cannot be read or
                            // held exactly: the message names its file and line
    NotWritable,            // a file the posting would change may not be written
    PendingPostingUnfinished, // an earlier posting cut short could not be completed
    PostingBusy,            // another posting keeps the posting lock: the message names it
};

// A message as the window shows it; an empty title means the program's title.
struct Notice {
    QString text;
    QString title;
    int style = platform::MsgStyle::Critical;
    bool operator==(const Notice&) const = default;
};

// The result of a check made before the window asks for a file name.
struct [[nodiscard]] CheckResult {
    Refusal refusal = Refusal::None;
    Notice notice;
    explicit operator bool() const { return refusal == Refusal::None; }
};

enum class Outcome {
    Posted,     // every balance and file is changed
    Refused,    // nothing was changed; `notice` says why
    NotWritten, // a file could not be written; everything was put back as it was
    Deferred,   // a file could not be written and not everything could be put back: the
                // posting is completed at the next start (or before the next posting); the
                // window treats it as posted and shows `notice`
};

struct [[nodiscard]] TransactionResult {
    Outcome outcome = Outcome::Refused;
    Refusal refusal = Refusal::None;
    Notice notice;
    // Once posted (or deferred):
    QString FileName;                   // the transaction's path as written (".QVT" appended)
    datafiles::TransactionHeader header; // as written, with oldvalue equal to its Value
    QStringList contactFiles;           // the contact parties' company files, From first

    bool posted() const { return outcome == Outcome::Posted || outcome == Outcome::Deferred; }
};

struct [[nodiscard]] PaymentResult {
    Outcome outcome = Outcome::Refused;
    Refusal refusal = Refusal::None;
    Notice notice;
    // Once posted (or deferred):
    QString FileName;                 // the payment file written
    datafiles::PaymentRecord payment; // as written to the payment file
    QStringList contactFiles;         // the contact parties' company files, From first

    bool posted() const { return outcome == Outcome::Posted || outcome == Outcome::Deferred; }
};

} // namespace posting
