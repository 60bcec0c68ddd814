#pragma once
// The edit lock of a document and the locks one window holds. A lock is the file named as
// the document's path followed by ".tmp", holding the name of the computer that edits the
// document in Windows-1250 without a line end; other installations read it, so its name and
// content stay as they are. Its first line is the holder.
//
// A window takes a lock in one exclusive step, which fails when any lock file is there
// already, so two computers can never both take it and nobody's lock is overwritten. A
// window releases only the locks it holds, and only while they still name this computer:
// another machine's lock is never deleted, and the document itself is never touched.

#include "platform/safefile.h"

#include <QSet>
#include <QString>
#include <optional>

namespace services {

class EditLockFile {
public:
    // The lock file of a document: its whole path followed by ".tmp".
    static QString pathOf(const QString& document);
    // The holder named by the lock beside the document: nothing when there is no lock
    // file, "" for an empty or unreadable one, its first line otherwise.
    static std::optional<QString> holderOf(const QString& document);
    // Whether a holder's name is this computer's, as the lock file stores names.
    static bool namesComputer(const QString& holder, const QString& computer);
};

class HeldLocks {
public:
    struct Take {
        enum class Status {
            Held,    // the lock names this computer and is held now (made, or found so)
            Foreign, // a lock file names someone else; holder is that name
            Failed,  // the lock file could not be made; error names it
        };
        Status status = Status::Failed;
        QString holder;
        QString error;
    };

    // Makes the lock of the document naming the computer, only when no lock file is there.
    // A lock file that names this computer already (one this computer left behind) is taken
    // over as it is.
    [[nodiscard]] Take take(const QString& document, const QString& computer);
    // Counts a lock file found naming this computer as held.
    void adopt(const QString& document) { m_held.insert(document); }
    bool holds(const QString& document) const { return m_held.contains(document); }
    bool isEmpty() const { return m_held.isEmpty(); }

    // Gives up every held lock but the one of `keep`: the lock file is deleted when it still
    // names the computer and left as it is otherwise.
    void release(const QString& computer, const QString& keep = QString());

private:
    QSet<QString> m_held;
};

} // namespace services
