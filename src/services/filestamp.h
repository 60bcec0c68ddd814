#pragma once
// What tells one version of a file on disk from another: its device and inode, its size
// and its modification time to the nanosecond. Every writer of the program replaces a file
// by renaming a complete new one over it (a new inode), and a write in place changes the
// time, so a file written by anyone since its stamp was taken (a posting of a balance,
// another computer on the shared folder) no longer has that stamp. Permissions are not part
// of it: a file only made read-only or writable again is the same file. A stamp errs only
// towards "changed": the same bytes written again count as a change.

#include <QString>
#include <cstdint>
#include <optional>

namespace services {

class FileStamp {
public:
    // The stamp of the file at path as it is now; nothing when there is no file there.
    [[nodiscard]] static std::optional<FileStamp> of(const QString& path);

    friend bool operator==(const FileStamp&, const FileStamp&) = default;

private:
    uint64_t m_device = 0;
    uint64_t m_inode = 0;
    int64_t m_size = 0;
    int64_t m_modified = 0; // nanoseconds
};

} // namespace services
