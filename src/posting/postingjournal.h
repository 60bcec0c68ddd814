#pragma once
// The journal that makes a posting all or nothing across a crash, across a lost network
// share and across computers. A posting writes the new content of every file it changes to
// a replacement file beside that file (flushed to the disk), then the journal naming each
// file and its replacement, and only then renames the replacements over the files; once the
// last rename is done the journal is removed. Everything happens under the posting lock,
// and the journal lies beside the lock, in the shared folder in network mode: whoever takes
// the lock next (another computer, another copy of the program, or this one at its next
// start) completes a posting cut short by renaming what is left. Nothing else is written
// under the lock meanwhile, so rolling forward is always right, and it changes nothing for
// the files already renamed.
//
// A file below the shared folder is named relative to it, so that every computer finds it
// under its own path to the share. A file outside it (this computer's settings file, or a
// transaction saved elsewhere) is named by its path on the computer that posted, and only
// that computer completes it: another one leaves it in a journal of that computer's own
// ("posting.<computer>.jnl"), completed when that computer next takes the lock.

#include "platform/safefile.h"

#include <QByteArray>
#include <QString>
#include <optional>
#include <utility>
#include <vector>

namespace posting {

// One file of a posting: the file, its replacement beside it and the replacement's size.
struct JournalEntry {
    QString path;        // the file, as this computer names it
    QString replacement; // the replacement's file name, in the file's folder
    qint64 size = 0;
    QString computer;    // for a file outside the shared folder: the computer it belongs to
    bool operator==(const JournalEntry&) const = default;
};

class PostingJournal {
public:
    // The folder of a single machine's postings: its data folder "System/RAzar/".
    static QString localFolder();
    // "posting.jnl" in the folder of the posting lock.
    static QString path(const QString& folder = localFolder());
    static bool exists(const QString& folder = localFolder());
    // This computer's own journal of files only it can reach, in that folder.
    static QString ownPath(const QString& folder);
    // The key naming this computer in journals (its name and machine id).
    static QString computerKey();

    // The journal's bytes: a mark, each entry, and a checksum of all; paths below the
    // shared folder of `folder` are kept relative to it.
    static QByteArray encode(const QString& folder, const std::vector<JournalEntry>& entries);
    // The entries of a whole, undamaged journal; nullopt for anything else.
    static std::optional<std::vector<JournalEntry>> decode(const QString& folder, const QByteArray& bytes);

    // Writes the journal through the safe writer, flushed to the disk.
    [[nodiscard]] static platform::FileResult write(const QString& folder, const std::vector<JournalEntry>& entries,
                                                    const QString& journal = QString());
    // Removes it, and makes the removal last.
    [[nodiscard]] static platform::FileResult remove(const QString& journal);

    // Writes each file's replacement and then the journal: the state a posting cut short
    // right after its journal leaves (the first half of a change; tests lay it out too).
    [[nodiscard]] static platform::FileResult stage(const QString& folder,
                                                    const std::vector<std::pair<QString, QByteArray>>& files);
};

// What the completion of a posting cut short found.
struct PendingPosting {
    enum class State {
        None,      // no journal: nothing to do
        Completed, // the posting's files are all written now
        Damaged,   // the journal, or a file it names, was damaged; it was set aside
        Failed,    // a file could not be written; the journal stays for the next attempt
        Busy,      // another copy or computer holds the posting lock and completes it
    };
    State state = State::None;
    QString message; // for Damaged, Failed and Busy: a sentence for the user
};

// Completes, under the posting lock of the folder, a posting left unfinished there. The
// start-up calls it for the local data folder before the settings file is read, and for the
// shared folder once the network mode is known; every posting does it as it takes the lock.
[[nodiscard]] PendingPosting CompletePendingPosting(const QString& folder = PostingJournal::localFolder());

// The completion itself, for a caller that holds the lock of the folder.
[[nodiscard]] PendingPosting completeUnderLock(const QString& folder);

// Under the lock, with nothing left unfinished: removes the replacement files that postings
// killed before their journal left below the folder's shared folder (none of them can be
// needed any more). Returns how many. The start-up calls it.
int removeDeadReplacements(const QString& folder);

// Whether the folder holds anything that completing a posting cut short there and removing
// dead replacements would act on: the posting lock (a posting going on, or the lock of one
// that died), the folder's journal or this computer's own one, or a replacement file below
// the folder's shared folder. It only looks: nothing is written or locked, so a start with
// nothing left over leaves the folder as it was. What it sees is no promise: anything found
// is handled under the lock, which looks again.
bool hasPostingLeftovers(const QString& folder);

} // namespace posting
