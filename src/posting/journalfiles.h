#pragma once
// The files of a posting and of its completion as they are read, written and renamed: a file
// below the shared folder through a handle on that folder, by its name there, with no link
// followed at any part of the name at the moment of each call, so that a user of the share who
// turns a file or a folder of it into a link makes the write fail rather than land outside the
// share; a file outside it (this installation's own, sealed in the journal) by its path, where
// its link leads, as every save of it does.

#include "platform/confinedfolder.h"
#include "platform/safefile.h"
#include "posting/postingjournal.h"

#include <QByteArray>
#include <QSet>
#include <QString>
#include <map>
#include <optional>

namespace posting {

class JournalFiles {
public:
    // For the journal of the posting lock's folder.
    explicit JournalFiles(const QString& folder);

    // The name below the shared folder of a path spelled inside it, else an empty text.
    QString belowShare(const QString& path) const { return m_share.relativeName(path); }

    // What a digest read found: the digest (empty when there is no file) or why there is none.
    struct Digest {
        std::optional<QByteArray> digest;
        int error = 0;     // the error number when there is no digest
        QString message;   // then: a sentence naming the file
        bool linked() const { return error == ELOOP || error == EXDEV; }
    };
    // The digest of a file of the journal, or of its replacement.
    Digest digestOf(const JournalEntry& entry) const;
    Digest replacementDigestOf(const JournalEntry& entry) const;
    // The digest of a file a posting is about to write (named by its path as the posting
    // names it), before the journal's entry for it is made.
    Digest digestOf(const QString& path) const;

    // Writes the replacement of a file beside it; `replacement` gets its file name.
    [[nodiscard]] platform::FileResult writeReplacement(const QString& path, const QByteArray& bytes,
                                                        QString& replacement) const;
    // Renames an entry's replacement over its file; the folder is flushed by flushFolders.
    [[nodiscard]] platform::FileResult rename(const JournalEntry& entry);
    // Removes the replacement of a file (the file's path and the replacement's name), when it
    // stands.
    void removeReplacement(const QString& path, const QString& replacement) const;
    // Flushes every folder a rename changed.
    void flushFolders();

    // Removes a replacement file found below the shared folder by a sweep (a path spelled
    // inside it); true when removed.
    bool removeBelowShare(const QString& path) const;

private:
    Digest digestBelow(const QString& relative, const QString& path) const;

    platform::ConfinedFolder m_share;
    std::map<QString, platform::FileHandle> m_changed; // by name below the share
    QSet<QString> m_changedOutside;
};

} // namespace posting
