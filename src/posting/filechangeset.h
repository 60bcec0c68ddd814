#pragma once
// The files one posting changes, with their new contents, written as one change under the
// posting lock: first each file's replacement beside it, then the journal naming them, then
// the renames of the replacements over the files, then the journal is removed. A failure
// before the journal is whole leaves every file as it was (the replacements are removed); a
// rename that fails leaves the journal, and the posting is completed by whoever takes the
// lock next (CompletePendingPosting).

#include <QByteArray>
#include <QString>
#include <functional>
#include <vector>

namespace posting {

class FileChangeSet {
public:
    enum class Outcome {
        Written,   // every file holds its new content
        PutBack,   // nothing was changed: every file is as it was before
        Deferred,  // a rename failed after the journal was whole; the journal stays and the
                   // posting is completed before the next posting or at the next start
    };
    struct Result {
        Outcome outcome = Outcome::Written;
        QString error; // a sentence naming the file that failed, unless Written
    };

    // Adds a file; a path added again replaces the earlier content.
    void add(const QString& path, const QByteArray& bytes);
    bool isEmpty() const { return m_files.empty(); }
    const std::vector<QString>& paths() const { return m_order; }
    QByteArray bytesOf(const QString& path) const;

    // Commits into the journal of the lock's folder; stillHeld tells, before the journal
    // and before each rename, whether the lock is still ours.
    [[nodiscard]] Result commit(const QString& folder, const std::function<bool()>& stillHeld) const;

private:
    struct File {
        QString path;
        QByteArray bytes;
    };

    std::vector<File> m_files;
    std::vector<QString> m_order;
};

} // namespace posting
