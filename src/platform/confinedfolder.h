#pragma once
// A handle on a shared folder through which the files below it are read, written, renamed and
// removed by names relative to it, following no symbolic link at any part of the name at the
// moment of each call. Anybody who can write to a share can turn a file or a folder in it into
// a link to a file elsewhere on a computer that uses the share; a name resolved again at each
// call would then make that computer read, replace or remove the file the link leads to. Here
// such a call fails instead (ELOOP), whenever the link was made.
//
// Every operation returns 0 or the error number: ENOENT (or ENOTDIR) when the file or a folder
// on its way is missing, ELOOP when a symbolic link stands anywhere on its way, EXDEV when the
// name would climb out of the folder, EFBIG when a file is larger than the caller reads.

#include <QByteArray>
#include <QString>

struct stat;

namespace platform {

// An open file descriptor, closed when the handle goes.
class FileHandle {
public:
    FileHandle() = default;
    explicit FileHandle(int fd) : m_fd(fd) {}
    FileHandle(FileHandle&& other) noexcept : m_fd(other.m_fd) { other.m_fd = -1; }
    FileHandle& operator=(FileHandle&& other) noexcept;
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    ~FileHandle();

    int fd() const { return m_fd; }
    bool isOpen() const { return m_fd >= 0; }

private:
    int m_fd = -1;
};

class ConfinedFolder {
public:
    // Opens the folder; the path to it is taken as it is, links and all.
    explicit ConfinedFolder(const QString& root);

    bool isOpen() const { return m_root.isOpen(); }
    // The folder's path, clean and absolute, with a trailing "/".
    const QString& root() const { return m_path; }
    // The name below the folder of a path spelled inside it ("a/b.QVC"), or an empty text
    // when the path is not spelled inside it.
    QString relativeName(const QString& path) const;

    // Opens a file for reading.
    int openForReading(const QString& relative, FileHandle& file) const;
    // Reads a whole file of at most `limit` bytes; a larger one is refused (EFBIG) by its size
    // before any of it is read.
    int readWhole(const QString& relative, qint64 limit, QByteArray& bytes) const;
    // Opens the folder that holds the name, for the operations below, and gives the name's
    // last part.
    int openParent(const QString& relative, FileHandle& folder, QByteArray& leaf) const;

    // A sentence for the user: the file could not be `done` ("read", "written"), and why.
    static QString failure(const QString& path, const QString& done, int error);

    // Tests: walk the name part by part, as on a kernel without openat2, instead.
    static void setWalkOnly(bool walkOnly);

private:
    int open(const QString& relative, int flags, FileHandle& file) const;

    FileHandle m_root;
    QString m_path;
};

// In a folder opened by openParent, on a name in it (no "/"):
// the file's status, the name not followed (0, ENOENT, ...);
int statIn(int folder, const QByteArray& name, struct stat& info);
// a new temporary file holding the bytes, flushed to the disk, with the permissions of the
// file it is to replace, named as writeReplacement (".<name>.~p<hex>") or, `fenced`, as
// writeFencedReplacement (".<name>.~l<hex>") names it; a name that is a link or not a regular
// file, or a file that cannot be written to, is refused;
int writeReplacementIn(int folder, const QByteArray& name, const QByteArray& bytes, QByteArray& replacement,
                       bool fenced = false);
// renames `from` over `to`, where `to` must be no symbolic link;
int replaceIn(int folder, const QByteArray& from, const QByteArray& to);
// removes the file;
int removeIn(int folder, const QByteArray& name);
// flushes the folder, so that the names changed in it last.
void syncFolderHandle(int folder);

// While one lives on a thread, readWholeFile reads a file spelled below its folder through a
// handle on that folder, following no link: what a posting reads in a shared folder under its
// lock is what lies there, never a file elsewhere that a link, made and taken away again
// before the posting writes, leads to. Scopes nest; the innermost holds.
class ConfinedReads {
public:
    explicit ConfinedReads(const QString& folder);
    ~ConfinedReads();
    ConfinedReads(const ConfinedReads&) = delete;
    ConfinedReads& operator=(const ConfinedReads&) = delete;

    // The file's bytes read through the innermost scope's folder, as readWholeFile tells them;
    // false when no scope holds the path, which is then read by its path.
    static bool read(const QString& path, QByteArray& bytes, bool& ok, QString& error);

private:
    ConfinedFolder m_folder;
    ConfinedReads* m_outer;
};

} // namespace platform
