#pragma once
// Installs LibreOffice Calc as the program's spreadsheet program.

#include "platform/calc/calcoptions.h"

namespace platform::calc {

// From now on platform::newSpreadsheet() gives Calc instances run with these options.
void install(const CalcOptions& options = CalcOptions());

} // namespace platform::calc
