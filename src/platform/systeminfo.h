#pragma once
// What the program asks of the machine it runs on.

#include <QString>
#include <QStringList>

namespace platform {

// The login name of the user running the program; "" when there is none.
QString userName();
// The host name up to its first dot.
QString computerName();
// The processor speed in MHz, from "cpu MHz" of /proc/cpuinfo (rounded); 0 when absent.
int processorSpeedMHz();
// The same, read from another cpuinfo file (tests).
int processorSpeedMHz(const QString& cpuinfoPath);
// The mount points of the real (non-virtual) file systems, "/" first.
QStringList drives();
// The same, from another mounts file in the format of /proc/self/mounts (tests).
QStringList drives(const QString& mountsPath);
// The desktop's folder of network mounts where one exists ("" otherwise).
QString networkPlacesFolder();
// True when the folder lies on a network file system (cifs, smb, nfs, fuse) or is written
// as a network path ("//server/..." or "\\server\...").
bool isNetworkPath(const QString& folder);
// The same, with the mount table read from another mounts file (tests).
bool isNetworkPath(const QString& folder, const QString& mountsPath);

} // namespace platform
