#pragma once
// The journal that makes a posting all or nothing across a crash, across a lost network
// share and across computers. A posting writes the new content of every file it changes to
// a replacement file beside that file (flushed to the disk), then the journal naming each
// file and its replacement, and only then renames the replacements over the files; once the
// last rename is done the journal is removed. Everything happens under the posting lock,
// and the journal lies beside the lock, in the shared folder in network mode: whoever takes
// the lock next (another computer, another copy of the program, or this one at its next
// start) completes a posting cut short by renaming what is left.
//
// A journal is rolled forward only onto the files it was written for. For each file it
// records a digest of the file as the posting found it under the lock, and a digest of the
// new content. A completion first looks at every file: one still as found is replaced, one
// already holding the new content was replaced before the cut. Anything else means the
// files moved on since (a holder stopped past its lease wrote its journal late, after
// another computer had posted): the journal is stale, and it is set aside, renaming nothing.
// A replacement that is missing while its file is still as found was lost: the journal is
// damaged, never completed. The writer checks that it still holds the lock right before the
// journal becomes visible, and a journal is only ever removed by a holder of the lock that
// finds it still holding the bytes it wrote or completed.
//
// A file below the shared folder is named relative to it, so that every computer finds it
// under its own path to the share; such a name never climbs out of it, and such a file is
// read, written and renamed through a handle on the shared folder that follows no link at any
// part of its name (JournalFiles), so that a link put into the share at any moment refuses the
// posting or its completion instead of leading it outside the share. A file outside it
// (this computer's settings file, or a transaction saved elsewhere) is named by its path on
// the computer that posted, with that installation's name and a seal made with a key only it
// holds (InstallationKey): only that installation completes it, and only when the seal is
// its own, so no journal anybody writes into a share makes a computer rename a file outside
// it. Another computer leaves such entries in a journal of that installation's own
// ("posting.<id>.jnl"), completed when it next takes the lock.

#include "platform/safefile.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

namespace posting {

// One file of a posting.
struct JournalEntry {
    QString path;        // the file, as this computer names it
    QString replacement; // the replacement's file name, in the file's folder
    QByteArray before;   // the digest of the file as the posting found it; empty: there was none
    QByteArray after;    // the digest of the replacement's content
    QString computer;    // for a file outside the shared folder: the installation it belongs to
    QByteArray seal;     // for such a file: that installation's seal over the entry
    bool operator==(const JournalEntry&) const = default;
};

class PostingJournal {
public:
    // The folder of a single machine's postings: its data folder "System/RAzar/".
    static QString localFolder();
    // "posting.jnl" in the folder of the posting lock.
    static QString path(const QString& folder = localFolder());
    static bool exists(const QString& folder = localFolder());
    // This installation's own journal of files only it can reach, in that folder.
    static QString ownPath(const QString& folder);
    // The name of this installation in journals: the computer's name and machine id, and
    // the fingerprint of its key.
    static QString computerKey();

    // The shared folder of a lock's folder: below it files are named relative to it.
    static QString shareOf(const QString& folder);

    // No posting writes a journal anywhere near these: a posting changes a handful of files.
    // A journal beyond them is refused before it is read, whoever wrote it.
    static constexpr qint64 MaxBytes = 1 << 20;
    static constexpr quint32 MaxEntries = 512;
    static constexpr int MaxPathBytes = 4096; // the longest path the system opens

    // The digest journals keep of a file's content.
    static QByteArray digest(const QByteArray& bytes);
    // The digest of an open file's content from where it stands; nullopt when it cannot be read.
    static std::optional<QByteArray> digestOfOpen(int fd);
    // The digest of the file as it is now: empty when there is none, nullopt when it cannot
    // be read.
    static std::optional<QByteArray> digestOf(const QString& path);

    // The entry of one file of a posting in the journal of `folder`, sealed when the file
    // lies outside the folder's shared folder (the key is made when there is none yet).
    [[nodiscard]] static platform::FileResult entryFor(const QString& folder, const QString& path,
                                                       const QString& replacement, const QByteArray& before,
                                                       const QByteArray& after, JournalEntry& entry);

    // The journal's bytes: a mark, each entry, and a checksum of all; paths below the
    // shared folder of `folder` are kept relative to it.
    static QByteArray encode(const QString& folder, const std::vector<JournalEntry>& entries);
    // The entries of a whole, undamaged journal whose every name is sound (relative names
    // stay inside the shared folder, others are absolute and name their installation, and
    // each replacement is one of its file); nullopt for anything else.
    static std::optional<std::vector<JournalEntry>> decode(const QString& folder, const QByteArray& bytes);

    // Makes the journal of a posting visible, in one step that fails when a journal stands
    // there already: its bytes are written and flushed first, then `beforeVisible` is asked
    // (the holder's last check of its lock), then the name is made and the folder flushed.
    // `written` gets the bytes, for the removal.
    [[nodiscard]] static platform::FileResult publish(const QString& folder, const std::vector<JournalEntry>& entries,
                                                      const std::function<platform::FileResult()>& beforeVisible,
                                                      QByteArray& written);
    // Writes a journal through the safe writer, flushed to the disk (the journals of other
    // installations, and tests).
    [[nodiscard]] static platform::FileResult write(const QString& folder, const std::vector<JournalEntry>& entries,
                                                    const QString& journal = QString());
    // Removes the journal when it still holds `bytes`: one that holds other bytes belongs to
    // another holder and stays. The removal is made to last.
    // `beforeRemoval` is asked once the journal was found to be its own, right before it is
    // taken away; false leaves it (a failed step).
    [[nodiscard]] static platform::FileResult removeOwn(const QString& journal, const QByteArray& bytes,
                                                        const std::function<bool()>& beforeRemoval = {});
    // Removes it whatever it holds (tests), and makes the removal last.
    [[nodiscard]] static platform::FileResult remove(const QString& journal);

    // Writes each file's replacement and then the journal: the state a posting cut short
    // right after its journal leaves (the first half of a change; tests lay it out too).
    [[nodiscard]] static platform::FileResult stage(const QString& folder,
                                                    const std::vector<std::pair<QString, QByteArray>>& files);
};

// The failure of a write that found the posting lock of the folder no longer its holder's.
[[nodiscard]] platform::FileResult lockLostWhileWriting(const QString& folder);

// What the completion of a posting cut short found.
struct PendingPosting {
    enum class State {
        None,      // no journal: nothing to do
        Completed, // the posting's files are all written now
        Damaged,   // the journal, or a file it names, was damaged; it was set aside
        Stale,     // the files moved on since the journal was written; it was set aside
        Failed,    // a file could not be written; the journal stays for the next attempt
        Busy,      // another copy or computer holds the posting lock and completes it
    };
    State state = State::None;
    QString message; // for Damaged, Stale, Failed and Busy: a sentence for the user
};

// Completes, under the posting lock of the folder, a posting left unfinished there. The
// start-up calls it for the local data folder before the settings file is read, and for the
// shared folder once the network mode is known; every posting does it as it takes the lock.
[[nodiscard]] PendingPosting CompletePendingPosting(const QString& folder = PostingJournal::localFolder());

// The completion itself, for a caller that holds the lock of the folder; stillHeld tells,
// before each rename, whether it still does.
[[nodiscard]] PendingPosting completeUnderLock(const QString& folder, const std::function<bool()>& stillHeld);

// Under the lock, with nothing left unfinished: removes the replacement files that postings
// killed before their journal left below the folder's shared folder, except those that a
// journal of the folder or of `otherFolders` names (a journal waiting for its computer, or
// one the start has not reached yet). Returns how many were removed.
int removeDeadReplacements(const QString& folder, const QStringList& otherFolders = {});

// Whether the folder holds anything that completing a posting cut short there and removing
// dead replacements would act on: the posting lock (a posting going on, or the lock of one
// that died) or a breaker's marker, the folder's journal or this installation's own one, or
// a replacement file below the folder's shared folder. It only looks: nothing is written or
// locked, so a start with nothing left over leaves the folder as it was. What it sees is no
// promise: anything found is handled under the lock, which looks again.
bool hasPostingLeftovers(const QString& folder);

} // namespace posting
