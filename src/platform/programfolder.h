#pragma once
// The program folder: the folder of the executable when it is writable, otherwise
// ~/.local/share/quorvane. The data folder tree lies below it. Tests set it to a temporary
// folder.

#include <QString>

namespace platform {

// The program folder, without a trailing separator.
QString programFolder();
// Sets it (tests, or a run from elsewhere); "" restores the default.
void setProgramFolder(const QString& folder);

} // namespace platform
