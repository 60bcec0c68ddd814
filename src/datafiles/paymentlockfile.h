#pragma once
// The payment lock: a small file beside a transaction's header file (its path followed by
// ".tmp") naming the user who is entering a payment for that transaction, so that no other
// machine loads the same transaction for payment meanwhile. Not scrambled, no line end.
// A lock that a killed process of this computer left is taken over (isLeftByEndedProcess).

#include <QString>

namespace datafiles {

class PaymentLockFile {
public:
    // The lock of the header at headerPath: headerPath & ".tmp".
    static QString pathFor(const QString& headerPath);

    static bool exists(const QString& headerPath);

    // The user named in the lock (its first line); "" when it cannot be read.
    static QString holder(const QString& headerPath);

    enum class Take {
        Taken,        // the lock is ours now
        HeldByOther,  // a lock already stood there (another machine was quicker)
        Failed,       // it could not be created for another reason
    };
    // Creates the lock naming userName, in one step that fails when a lock already exists.
    static Take take(const QString& headerPath, const QString& userName);

    // Removes the lock (and the note of who took it); a missing lock or a failure is passed
    // over.
    static void release(const QString& headerPath);

    // The lock itself names only a user. Beside it, a note the other installations do not
    // read ("<lock>.owner") names the computer and process that took it, so that a lock left
    // by a process of this computer that has ended (killed, or the computer restarted) is not
    // taken for a payment going on. Whether the lock at headerPath is such a one and names
    // userName; another computer's lock, and a lock without a note, never are.
    static bool isLeftByEndedProcess(const QString& headerPath, const QString& userName);
    static QString ownerPathFor(const QString& headerPath);
};

} // namespace datafiles
