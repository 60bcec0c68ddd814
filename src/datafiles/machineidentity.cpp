#include "datafiles/machineidentity.h"

#include "datafiles/fileprocedures.h"
#include "platform/systeminfo.h"

namespace datafiles {

QString thisComputerName()
{
    return platform::computerName();
}

QString thisUserNameOrUnknown()
{
    const QString name = GetWindowsUserName();
    return name.isEmpty() ? QStringLiteral("Unknown") : name;
}

} // namespace datafiles
