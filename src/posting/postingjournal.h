#pragma once
// The journal that makes a posting all or nothing across a crash. Before the first file of a
// posting is replaced, the new content of every file it changes is written, whole and with a
// checksum, to one file beside the settings file; once the last file is replaced the journal
// is removed. A journal found later belongs to a posting that was cut short: completing it
// writes its files again, which changes nothing for those already written, so no posting
// counts twice and none is left half done.

#include "platform/safefile.h"

#include <QByteArray>
#include <QString>
#include <optional>
#include <vector>

namespace posting {

// One file of a posting and its whole new content.
struct JournalEntry {
    QString path;
    QByteArray bytes;
    bool operator==(const JournalEntry&) const = default;
};

class PostingJournal {
public:
    // "System/RAzar/sys/posting.jnl" below the program folder, beside the settings file.
    static QString path();
    static bool exists();

    // The journal's bytes: a mark, each entry's path and content, and a checksum of all.
    static QByteArray encode(const std::vector<JournalEntry>& entries);
    // The entries of a whole, undamaged journal; nullopt for anything else.
    static std::optional<std::vector<JournalEntry>> decode(const QByteArray& bytes);

    // Writes the journal through the safe writer, flushed to the disk.
    [[nodiscard]] static platform::FileResult write(const std::vector<JournalEntry>& entries);
    // Removes it, and makes the removal last.
    [[nodiscard]] static platform::FileResult remove();
};

// What the start-up learns of a posting that a crash cut short.
struct PendingPosting {
    enum class State {
        None,      // no journal: nothing to do
        Completed, // the posting's files are all written now
        Damaged,   // the journal was damaged; it was set aside, nothing was written
        Failed,    // a file could not be written; the journal stays for the next attempt
    };
    State state = State::None;
    QString message; // for Damaged and Failed: a sentence for the user naming the file
};

// Completes a posting left unfinished by a crash. The start-up calls it once the program
// folder is known and before anything reads the data files (the settings file first); a
// posting calls it before it reads anything either. It shows nothing itself.
[[nodiscard]] PendingPosting CompletePendingPosting();

} // namespace posting
