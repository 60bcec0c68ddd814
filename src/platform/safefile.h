#pragma once
// Whole-file writes that never leave a half-written file: the bytes go to a temporary file
// in the same folder, are flushed and then renamed over the target. A failure leaves the
// old file as it was and is reported.

#include <QByteArray>
#include <QString>

namespace platform {

struct FileResult {
    bool ok = false;
    QString error; // a sentence naming the file, for the user, when !ok
    explicit operator bool() const { return ok; }
};

// Replaces the file's content with the bytes (creating it when missing).
FileResult writeFileAtomically(const QString& path, const QByteArray& bytes);

// Creates a new file holding the bytes only when no file of that name exists yet, in one
// step (O_EXCL), so that two machines cannot both take a lock. Fails when it exists.
FileResult createExclusive(const QString& path, const QByteArray& bytes);

// Reads a whole file; nullopt-like failure through ok=false.
FileResult readWholeFile(const QString& path, QByteArray& bytes);

} // namespace platform
