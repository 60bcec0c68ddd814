// The spreadsheet module's entry points.

#include "platform/calc/calcmoduleentry.h"

#include "platform/calc/calcspreadsheet.h"
#include "platform/calc/sharedoffice.h"

extern "C" platform::Spreadsheet* quorvane_calc_new(const platform::calc::CalcOptions* options)
{
    return new platform::calc::CalcSpreadsheet(*options);
}

extern "C" void quorvane_calc_end_office()
{
    platform::calc::SharedOffice::end();
}
