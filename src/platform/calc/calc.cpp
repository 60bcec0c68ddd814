// Installs the Calc implementation as the spreadsheet factory.

#include "platform/calc/calc.h"

#include "platform/calc/calcspreadsheet.h"
#include "platform/calc/sharedoffice.h"
#include "platform/calc/startedoffice.h"

namespace platform::calc {

void install(const CalcOptions& options)
{
    setSpreadsheetFactory([options] { return std::make_unique<CalcSpreadsheet>(options); });
    StartedOffice::installAsCheck(options);
}

void endOffice()
{
    SharedOffice::end();
}

} // namespace platform::calc
