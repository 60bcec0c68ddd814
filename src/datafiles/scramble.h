#pragma once
// The scrambling of the small data files at rest: bit 7 of every byte toggled, so applying
// it twice gives the bytes back ("abc" is stored as E1 E2 E3, CR LF as 8D 8A).

#include "platform/safefile.h"

#include <QByteArray>
#include <QString>

namespace datafiles {

// The bytes with bit 7 of each toggled.
QByteArray scrambled(QByteArray bytes);

// Toggles the file at path: read whole, toggled in memory, written back whole through the
// safe writer. A read-only file (owner-write bit clear) or one that cannot be read is left
// as it is. The data files' own readers and writers never need it; it stays for files that
// are toggled as a whole.
platform::FileResult ScrambleFile(const QString& path);

} // namespace datafiles
