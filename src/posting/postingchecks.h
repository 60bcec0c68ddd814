#pragma once
// The checks both postings share: the network folder and the network user, an earlier
// posting a crash cut short, and whether every file a posting would change may be written.

#include "platform/decimal.h"
#include "posting/contactbalances.h"
#include "posting/filechangeset.h"
#include "posting/postingresult.h"
#include "posting/sharedvalues.h"

#include <QString>
#include <functional>
#include <optional>

namespace datafiles {
class PostingLock;
class SettingsStore;
}

namespace posting {

// The title of the messages about the transaction's header and its parties.
inline const QString HeaderMenuTitle = QStringLiteral("Transactions Header Menu");

// A refusal with its message.
CheckResult refuse(Refusal refusal, const QString& text, const QString& title = QString(),
                   int style = platform::MsgStyle::Critical);

// In host and user mode: the shared folder below "QVNET/RAzar/" (kindFolder, as
// "Transactions/") must be reachable through the host's or the connected host's folder, and
// a network user whose host does not let users write is refused. kindName is the folder's
// name in the message ("Transactions").
CheckResult checkNetwork(const datafiles::SettingsStore& store, const QString& kindFolder,
                         const QString& kindName);

// Takes the posting lock of the store's data (waiting a short while for another posting),
// which first completes a posting cut short there; refuses, naming the holder, when another
// posting keeps it, and when what was cut short cannot be completed.
CheckResult takePostingLock(datafiles::PostingLock& lock, const QString& kind);

// Every file of the change set, and the journal, must be writable (the file when it exists,
// and its folder), so that a posting is refused before its first change rather than fail
// half way.
CheckResult checkWritable(const FileChangeSet& files, const QString& folder);

// The refusals and outcomes below name the posting in their messages: kind is
// "transaction" or "payment".

// An edit lock on a party's company file, naming who holds it.
CheckResult lockedRefusal(ContactBalances::Side side, const QString& holder, const QString& kind);

// A contact party that cannot be posted; notFound gives the posting's own sentence for a row
// that no longer holds its contact.
CheckResult contactRefusal(const ContactBalances& balances, ContactBalances::Status status,
                           const QString& kind,
                           const std::function<QString(const ContactBalances::Party&)>& notFound);

// The own company's balance or the host file standing in the way.
CheckResult sharedValuesRefusal(SharedValues::Status status, const SharedValues& shared,
                                const QString& kind);

// Commits the files; once the posting is made (or deferred) the store takes the new shared
// values. The message is for anything but Posted.
Outcome commitPosting(const FileChangeSet& files, const SharedValues& shared, const QString& kind,
                      const datafiles::PostingLock& lock, Notice& notice);

// A text that reads as an amount (an exact decimal within the range of the number form).
std::optional<platform::Decimal> amountOf(const QString& text);

// The sentence that ends a refusal: " Therefore, this payment will not be completed!"
QString notCompleted(const QString& kind);

// How the messages name a side of a transfer: "coming from" or "going to".
QString sideWord(ContactBalances::Side side);

// An amount the posting would write must be written exactly: no more significant digits than
// the number form writes. `what` names it in the message ("The amount paid").
CheckResult checkWrittenExactly(const platform::Decimal& amount, const QString& what, const QString& kind);
// The sentence for a stored balance whose text means one number to one reader and another to
// the next ("1,500").
QString ambiguousBalance(const QString& what, const QString& text);
// The sentence for an amount that is not written exactly: too large to hold, or needing more
// digits than are written.
QString notWritten(const QString& what, const platform::Decimal& amount);

} // namespace posting
