#pragma once
// The checks both postings share: the network folder and the network user, an earlier
// posting a crash cut short, and whether every file a posting would change may be written.

#include "posting/postingresult.h"

#include <QString>

namespace datafiles {
class SettingsStore;
}

namespace posting {

class FileChangeSet;

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

// Completes a posting that a crash cut short before a new one reads anything; refuses when
// it cannot be completed.
CheckResult completeEarlierPosting();

// Every file of the change set, and the journal, must be writable (the file when it exists,
// and its folder), so that a posting is refused before its first change rather than fail
// half way.
CheckResult checkWritable(const FileChangeSet& files);

// Amounts kept as general number texts compare equal within a rounding error of the double
// arithmetic behind them ("10" and "10.00", "0.3" and 0.1 + 0.2).
bool sameAmount(double a, double b);
bool moreThan(double a, double b);

} // namespace posting
