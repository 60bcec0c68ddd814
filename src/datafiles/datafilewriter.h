#pragma once
// The one way the small data files reach the disk: whole, through the safe writer, with a
// failure that tells a refused permission apart. Tests install their own writer to make a
// write fail as a machine without rights would.

#include <QByteArray>
#include <QString>
#include <functional>

namespace datafiles {

struct DataFileWrite {
    bool ok = false;
    bool permissionDenied = false; // the folder or file may not be written by this user
    QString error;                 // a sentence naming the file, when !ok
    explicit operator bool() const { return ok; }
};

using DataFileWriteFunction = std::function<DataFileWrite(const QString& path, const QByteArray& bytes)>;

// Writes the bytes as the file's whole new content.
DataFileWrite writeDataFile(const QString& path, const QByteArray& bytes);

// Writes the bytes as the file's whole new content under the posting lock: through a fenced
// replacement (platform::writeFencedReplacement) that is renamed over the file right after
// `lastCheck` says the lock is still the writer's. A writer that slept between that check and
// its rename finds its replacement taken away by the lock's new holder and writes nothing.
// `lockLost` is set when the check refused, or the replacement was taken away; nothing was
// written then.
DataFileWrite writeDataFileFenced(const QString& path, const QByteArray& bytes, const std::function<bool()>& lastCheck,
                                  bool& lockLost);

// Replaces the writer (tests); an empty function restores the real one.
void setDataFileWriter(DataFileWriteFunction writer);

} // namespace datafiles
