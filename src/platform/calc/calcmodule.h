#pragma once
// Installs LibreOffice Calc as the program's spreadsheet program with its code in a module of
// its own beside the program, loaded at the first spreadsheet command. The office's runtime
// libraries that code needs are then loaded only by a program that uses them, not at every
// start: the start-up check starts the office without them.

#include "platform/calc/calcoptions.h"

namespace platform::calc::module {

// From now on platform::newSpreadsheet() gives Calc instances run with these options; one
// that cannot be loaded fails its start, saying why.
void install(const CalcOptions& options = CalcOptions());

// Ends the program's private office now; the next spreadsheet command starts it again.
void endOffice();

} // namespace platform::calc::module
