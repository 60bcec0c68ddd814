#pragma once
// The settings a private office profile starts with, so that the office starts quickly and
// leaves nothing behind beside the workbooks it opens.

#include <QString>

class QIODevice;

namespace platform::calc {

namespace OfficeProfile {

// Writes our settings into a profile folder the office has not used yet; a folder the office
// has already set up keeps what it holds. False when the folder cannot be written.
bool prepare(const QString& profileDir);

// The office's program folder, where its executables, libraries and type libraries lie.
QString programDir();

// The version of the installed office ("7.4"), read from its configuration; "" when it
// cannot be found.
QString installedVersion();

// The version a main configuration file of the office names ("7.4"); "" when none.
QString versionIn(QIODevice& configuration);

} // namespace OfficeProfile

} // namespace platform::calc
