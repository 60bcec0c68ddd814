#pragma once
// The host file of network mode: the marker line and the 17 values a host shares with its
// users (own balance, counters, company details, password, the two switches, and who wrote
// it, when and where), scrambled at rest; with the network start that reads it.

#include <QString>

namespace datafiles {

class SettingsStore;

inline const QString HostMarker = QStringLiteral("This is QVNET file. Please don't delete or change it");
inline constexpr int HostFileLines = 18;

// The shared data folder "QVNET" beside a host file.
QString HostDataFolder(const QString& hostFilePath);

// Writes the host file at MyHostName from the store (refreshing this machine's user and
// computer names first), under the posting lock of the host's data folder: while another
// computer's posting keeps that lock past the wait a posting allows, the user is told, naming
// it, and nothing is written. A refused permission shows the hosting message and falls back
// to single-machine mode; any other failure is shown naming the file. Nothing is written, and
// nothing shown, while MyHostName is empty. True when the file was written.
bool WriteHostFile(SettingsStore& store);

// Outside single-machine mode: checks that the mode's host file and its data folder can be
// reached (otherwise message H or U and single-machine mode), then reads the shared values
// into the store. A file that is not a host file as stored gives single-machine mode with
// both switches disabled, silently. A host file cut short, or whose balance or counters are
// no numbers, is read as far as it goes, kept beside itself ("<name>.damaged") and reported
// once naming its damaged lines. The file itself is never changed. True when the shared
// values were read.
bool ReadHostFile(SettingsStore& store);

// Takes the host's two switches (lines 14 and 15) from the host file at MyHostName into the
// store, nothing else: no password is applied and nothing is written. A file that cannot be
// read as a host file leaves the switches as they are. True when they were read.
bool ReadHostSwitches(SettingsStore& store);

// Whether the host file at MyHostName was written by this user on this computer; only then
// are its password and switches taken and lblisthissamehost set to "YES".
void CheckSameHost(SettingsStore& store);

} // namespace datafiles
