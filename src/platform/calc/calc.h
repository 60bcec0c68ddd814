#pragma once
// Installs LibreOffice Calc as the program's spreadsheet program.

#include "platform/calc/calcoptions.h"

namespace platform::calc {

// From now on platform::newSpreadsheet() gives Calc instances run with these options.
void install(const CalcOptions& options = CalcOptions());

// Ends the program's private office now; the next spreadsheet command starts it again, with
// the environment the program has then. It ends by itself when the program ends.
void endOffice();

} // namespace platform::calc
