#pragma once
// This machine's identity as the settings window's UPISEPCNAME and SaznaUserName put it
// into the store: the computer name, and the login name or "Unknown" when there is none.

#include <QString>

namespace datafiles {

QString thisComputerName();
QString thisUserNameOrUnknown();

} // namespace datafiles
