#pragma once
// The payment lock: a small file beside a transaction's header file (its path followed by
// ".tmp") naming the user who is entering a payment for that transaction, so that no other
// machine loads the same transaction for payment meanwhile. Not scrambled, no line end.

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

    // Removes the lock; a missing lock or a failure is passed over.
    static void release(const QString& headerPath);
};

} // namespace datafiles
