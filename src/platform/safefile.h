#pragma once
// Whole-file writes that never leave a half-written file: the bytes go to a temporary file
// in the same folder, are flushed and then renamed over the target. A failure leaves the
// old file as it was and is reported. A writer killed before its rename leaves its
// temporary file behind; such leftovers are removed once they are surely dead.

#include <QByteArray>
#include <QString>
#include <functional>

namespace platform {

struct FileResult {
    bool ok = false;
    QString error; // a sentence naming the file, for the user, when !ok
    bool missingSource = false; // a rename failed because what it renames is gone
    explicit operator bool() const { return ok; }
};

// Whether a write first removes the stale temporary files of earlier writes of its target.
// Removing them lists the target's folder, which a copy of many files into one folder
// should not do for every file.
enum class StaleTemporaries { Remove, Keep };

// Replaces the file's content with the bytes (creating it when missing). The stale
// temporary files of earlier writes of the same target are removed first, unless told.
FileResult writeFileAtomically(const QString& path, const QByteArray& bytes,
                               StaleTemporaries stale = StaleTemporaries::Remove);

// Creates a new file holding the bytes only when no file of that name exists yet, in one
// step, so that two machines cannot both take a lock: the bytes are written to a temporary
// file first and then linked to the name, which fails when the name exists. So the file is
// never seen without its bytes, and a crash leaves no empty lock. On a file system without
// hard links the file is created exclusively (O_EXCL) and written at once. Fails when it
// exists. Stale temporary files of earlier attempts are removed first, as a write does.
// `mode` is the new file's permission bits (before the umask). `beforeLink`, when given, is
// asked once the bytes are flushed and right before the name is made: a failure it gives
// makes nothing, removes the temporary file and is returned (a writer that must still hold
// a lock at the moment its file becomes visible checks it there).
struct ExclusiveCreation {
    unsigned mode = 0666;
    std::function<FileResult()> beforeLink;
};
FileResult createExclusive(const QString& path, const QByteArray& bytes, const ExclusiveCreation& how = {});

// The two halves of a write, for a writer that replaces several files as one change: the
// bytes go to a new temporary file beside the target, flushed to the disk and named in
// `replacement`; replaceWith later renames it over the target. These temporary files are
// named ".<name>.~p<hex>", apart from those of writeFileAtomically, so that no age-based
// sweep removes one that a journal still names; their writer sweeps them itself.
FileResult writeReplacement(const QString& path, const QByteArray& bytes, QString& replacement);
// Renames the replacement over the target; the folder is flushed when told (a caller that
// renames several files into one folder flushes it once, with syncFolder).
FileResult replaceWith(const QString& replacement, const QString& path, bool flushFolder = true);
// Flushes a folder, so that the names changed in it last.
void syncFolder(const QString& folder);
// Whether a file name is a replacement's temporary file.
bool isReplacementFileName(const QString& fileName);

// A replacement written by a holder of the posting lock that renames it over its file right
// after its last check of the lock: ".<name>.~l<hex>". Whoever takes the lock next removes
// every such file first, so that a holder that slept between its check and its rename finds
// its replacement gone and changes nothing (replaceWith then fails with
// `FileResult::missingSource` set).
FileResult writeFencedReplacement(const QString& path, const QByteArray& bytes, QString& replacement);
bool isFencedFileName(const QString& fileName);

// Takes the file at `path` away only while it is still the one meant. A look followed by an
// unlink would remove whatever another holder put at the name between the two; instead the
// name is first renamed to `aside`, a name only this caller uses, and `isTheOne` looks at the
// file there. What is not the one meant is put back (linked, so that a file put at the name
// meanwhile is never replaced); when the name is taken again by then, it stays at `aside`.
enum class Taken {
    Taken,     // it was the one: it now lies at `aside`, for the caller to remove or keep
    Missing,   // no file stood at `path`
    PutBack,   // another file stood there: it is back at `path`
    LeftAside, // another file stood there, and `path` was taken again meanwhile: it is at `aside`
    Failed,    // the rename failed; `error` says why
};
Taken takeIfStill(const QString& path, const QString& aside, const std::function<bool(const QString& aside)>& isTheOne,
                  QString* error = nullptr);

// The file a write of the path replaces: the target of a symbolic link, else the path.
QString resolvedTarget(const QString& path);

// Writes all the bytes to an open file, however many calls it takes; false on an error
// (errno tells it).
bool writeAll(int fd, const QByteArray& bytes);

// Reads a whole file; nullopt-like failure through ok=false.
FileResult readWholeFile(const QString& path, QByteArray& bytes);

// The temporary files these writers make beside a target are named ".<name>.~<hex>".
// Whether a file name is one of them, of any target or of the target named.
bool isTemporaryFileName(const QString& fileName);
bool isTemporaryFileOf(const QString& fileName, const QString& targetName);

// How long, in seconds, a temporary file in the folder must have stood unchanged before it
// is taken for a dead writer's: a live writer changes it all the time and renames it within
// moments. An hour on this machine's own disks; a day on a network share, where another
// machine, whose clock may differ from ours by hours, may be writing it. The mounts file
// can be another one (tests).
qint64 staleTemporaryFileAge(const QString& folder,
                             const QString& mountsPath = QStringLiteral("/proc/self/mounts"));

// Removes the stale temporary files beside the target (its symbolic link followed);
// returns how many were removed. Failures are passed over.
int removeStaleTemporaryFiles(const QString& target);

// Removes the stale temporary files anywhere below the folder, without following symbolic
// links at any part of the way, at the moment of each removal too; returns how many were
// removed. Failures are passed over.
int removeStaleTemporaryFilesBelow(const QString& folder);
// Tests: called with the path of each file right before that removal (a test stops there).
void setStaleRemovalHook(std::function<void(const QString& path)> hook);

} // namespace platform
