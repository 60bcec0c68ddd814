#pragma once
// What the spreadsheet module offers the program that loads it, by unmangled names.

#include "platform/calc/calcoptions.h"
#include "platform/spreadsheet.h"

// The module's file, beside the program.
#define QUORVANE_CALC_MODULE_FILE "quorvane-calc.so"

extern "C" {
// A new Calc instance with these options, for the caller to own.
platform::Spreadsheet* quorvane_calc_new(const platform::calc::CalcOptions* options);
// Ends the program's private office.
void quorvane_calc_end_office();
}
