#pragma once
// The program's private office as its start-up check leaves it: started and taking
// connections, but not yet connected to. The first spreadsheet command takes it over, so it
// does not wait for a second office to start; an office nobody took ends with the program.
// Nothing here talks to the office, so the check runs without the code that does.

#include "platform/calc/calcoptions.h"

#include <QString>
#include <memory>

class QTemporaryDir;

namespace platform::calc {

class OfficeLaunch;

namespace StartedOffice {

// Starts the private office for the program the options name and waits until it takes
// connections. False, with error set, when it cannot be started or does not come up; then
// nothing of it is left. An office started here earlier and still running is kept.
bool start(const CalcOptions& options, QString& error);

// Makes start() with these options the program's start-up check of the spreadsheet program
// (platform::setSpreadsheetCheck); install it after the factory.
void installAsCheck(const CalcOptions& options);

// The office start() left running for that program, with the profile folder it runs in, for
// the caller to connect to and end; empty pointers when there is none (or it has ended).
struct TakenOver {
    std::unique_ptr<QTemporaryDir> profile;
    std::unique_ptr<OfficeLaunch> launch;
};
TakenOver takeOver(const QString& officeProgram);

// Ends the offices start() left that nobody took over, and removes their profiles.
void end();

} // namespace StartedOffice

} // namespace platform::calc
