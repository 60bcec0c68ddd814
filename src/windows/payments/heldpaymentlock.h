#pragma once
// The payment lock the payments window holds: the lock beside one transaction's header file
// that this window's own load wrote. The lock file names only a user, and installations on
// several computers may run under the same user name, so the window also remembers which
// file it wrote (its device, inode and modification time): a lock deleted meanwhile and
// written again by another computer is another file, and stays.
//
// The window releases only this lock, and only while the file is still the one it wrote and
// still names this user; another user's or another computer's lock is never deleted.

#include <QString>
#include <cstdint>
#include <optional>

namespace windows {

class HeldPaymentLock {
public:
    // After a header was loaded for payment: the lock beside it is this window's when it
    // stands there now naming userName (the load has just written it). Nothing is held
    // otherwise (single-machine mode, or the lock could not be written).
    void adoptIfWritten(const QString& headerPath, const QString& userName);

    bool holds() const { return !m_headerPath.isEmpty(); }
    // The header file whose lock is held; "" when none is.
    const QString& headerPath() const { return m_headerPath; }

    // Deletes the held lock when it is still the file this window wrote and still names
    // userName, and forgets it either way. Failures are passed over.
    void release(const QString& userName);

private:
    struct FileIdentity {
        uint64_t device = 0;
        uint64_t inode = 0;
        int64_t modifiedSeconds = 0;
        int64_t modifiedNanoseconds = 0;
        bool operator==(const FileIdentity&) const = default;
    };
    static std::optional<FileIdentity> identityOf(const QString& path);
    static bool namesUser(const QString& headerPath, const QString& userName);

    QString m_headerPath;
    FileIdentity m_identity;
};

} // namespace windows
