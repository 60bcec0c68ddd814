#pragma once
// The settings file "System/RAzar/sys/0.dat": the settings store's 71 saved fields in line
// order, scrambled at rest; saved at the moments the shell chooses, loaded once per run.

#include "datafiles/linefield.h"
#include "datafiles/linefilereader.h"

namespace datafiles {

class SettingsStore;

inline constexpr int SettingsFileLines = 71;

// The 71 lines of the settings file and the fields they belong to.
LineTable settingsLines(SettingsStore& store);

// Writes the settings file; a failure is shown to the user, naming the file, and false is
// returned.
bool SaveSettingsFile(SettingsStore& store);

// Takes the own balance and counters from the settings file where the store's were not
// changed here since they were read (another copy of the program may have posted since).
// Single-machine mode; a missing or damaged file changes nothing.
void RefreshMoneyFromSettingsFile(SettingsStore& store);

// Empties the scratch folder and reads the settings file into the store, each field's rule
// running as its line is assigned. Without a file the welcome frame is shown with the
// first-run message; a file that cannot be read in either scramble state leaves the store
// as it was and is reported. A file cut short, or one whose balance or counters are no
// numbers, is read as far as it goes and reported naming its damaged lines. A damaged or
// unreadable file is kept beside itself ("0.dat.damaged") before the next save writes over
// it. Outside single-machine mode the load ends with the network start (ReadHostFile).
LineFileReader::Status LoadSettingsFile(SettingsStore& store);

} // namespace datafiles
