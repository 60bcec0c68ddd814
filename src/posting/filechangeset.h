#pragma once
// The files one posting changes, with their new contents, written as one change: first the
// journal, then each file through the safe writer in the order added, then the journal is
// removed. When a file cannot be written, the files already replaced are put back as they
// were and the journal removed, so the posting has not happened; only when even that fails
// does the journal stay, and the posting is completed later (CompletePendingPosting).

#include <QByteArray>
#include <QString>
#include <optional>
#include <vector>

namespace posting {

class FileChangeSet {
public:
    enum class Outcome {
        Written,   // every file holds its new content
        PutBack,   // a write failed; every file is as it was before
        Deferred,  // a write failed and the old contents could not all be put back; the
                   // journal stays and the posting is completed at the next start or posting
    };
    struct Result {
        Outcome outcome = Outcome::Written;
        QString error; // a sentence naming the file that failed, unless Written
    };

    // Adds a file; a path added again replaces the earlier content. A caller that has just
    // read the file may give what it holds now (`before`), which is what a failed write puts
    // back; otherwise the file is read as the change is committed.
    void add(const QString& path, const QByteArray& bytes,
             const std::optional<QByteArray>& before = std::nullopt);
    bool isEmpty() const { return m_files.empty(); }
    const std::vector<QString>& paths() const { return m_order; }
    QByteArray bytesOf(const QString& path) const;

    [[nodiscard]] Result commit() const;

private:
    // What a file held before: its bytes, or nothing when it did not exist.
    using Before = std::optional<QByteArray>;
    struct File {
        QString path;
        QByteArray bytes;
        std::optional<QByteArray> known; // its content before, as its reader found it
    };

    bool putBack(const std::vector<Before>& before, size_t written) const;

    std::vector<File> m_files;
    std::vector<QString> m_order;
};

} // namespace posting
