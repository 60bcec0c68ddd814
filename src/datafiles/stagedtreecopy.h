#pragma once
// A copy of a folder tree that lands whole or not at all, and keeps what others write into
// the destination while it runs. The files are copied, without a flush for each, into a
// staging folder beside the destination that also holds the destination's own files (as
// links, so nothing of them is copied); the staging folder is then made durable at once and
// exchanged with the destination in one rename. Whatever changed in the destination since
// its files were linked (a document saved, an edit lock taken or let go) is carried into the
// staging folder before the exchange, and what changed in the last moments before it is
// carried into the new tree right after. A copy that fails or is killed leaves the
// destination as it was and at most a staging folder beside it, which a later copy removes
// once it is surely dead.

#include "platform/safefile.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <functional>
#include <optional>
#include <vector>

namespace datafiles {

// One version of a file: a file saved anew (a new file renamed over the name) or written in
// place gets another stamp.
struct FileStamp {
    quint64 device = 0;
    quint64 inode = 0;
    qint64 size = -1;
    qint64 modifiedNs = 0;
    bool operator==(const FileStamp&) const = default;
};

// A file of a copy's destination that is newer than the source's file of the same name and
// holds other bytes.
struct NewerFile {
    QString path; // relative to the destination, "/" between folders
    QDateTime modified;
    FileStamp stamp;
};

// The moments of a staged copy at which tests stop it, as another writer would find it.
enum class TreeCopyStep {
    DestinationLinked, // the destination's files are linked into the staging folder
    SourceCopied,      // the source's files are copied there too, not yet durable
    ChangesKept,       // what changed in the destination is carried over; the last check is next
    ExchangeNext,      // the copy may go on by its last check; it takes the destination's place next
    Exchanged,         // the copy has taken the destination's place; the last changes are next
};
// Called at each step (tests); an empty function removes it.
void setTreeCopyStepHook(std::function<void(TreeCopyStep)> hook);

struct TreeCopyOptions {
    // A file of the same name in the destination is replaced; without it that is a failure.
    bool overwrite = true;
    // When set, a destination file newer than the source's is replaced only when it is
    // listed here and has not changed since it was listed; every other newer file is kept.
    std::optional<std::vector<NewerFile>> replacedNewer;
    // Paths of the source (relative, "/" between folders) that are not copied.
    std::function<bool(const QString& relative)> leftOut;
    // Asked right before the exchange, and again before the last changes are carried into
    // the new tree: a sentence ends the copy with it as the error (the destination as it was,
    // when asked before the exchange).
    std::function<std::optional<QString>()> refusedBeforeExchange;
    // Called, on the copying thread, after each file of the source.
    std::function<void()> fileCopied;
};

class StagedTreeCopy {
public:
    // Copies the files and sub-folders of source, at every depth, into destination, which
    // may exist already and keeps every file the copy does not replace; a file of the same
    // name is replaced (its permissions kept, a read-only one refused). A copied file keeps
    // the time its source was last changed. Symbolic links in the source are not followed
    // and the temporary files of saves are not copied.
    static platform::FileResult copy(const QString& source, const QString& destination,
                                     const TreeCopyOptions& options = {});

    // The files of destination that are newer than source's files of the same name and
    // differ from them, newest first; leftOut as for a copy.
    static std::vector<NewerFile> newerFiles(const QString& source, const QString& destination,
                                             const std::function<bool(const QString&)>& leftOut = {});

    // Whether a name in the destination's folder is one of the staging folders of a copy to
    // the folder named `destinationName`.
    static bool isStagingName(const QString& name, const QString& destinationName);

    // Takes away the staging folders of copies to the folder `destinationName` in `folder`:
    // each is renamed to a fresh name first, so that a copy that is still running (or wakes
    // from a sleep) finds its staging folder gone and puts nothing in place, then removed.
    // A new holder of the posting lock calls it: such copies run under the lock, and one
    // whose holder lost the lock must not exchange its tree with what was posted since.
    static void revokeStaging(const QString& folder, const QString& destinationName);
};

} // namespace datafiles
