#pragma once
// What the grid's spreadsheet members read and write of the settings store and of the
// document windows: the start-up probe's result, the one-shot print request and the windows'
// progress bars, beside the ActiveList and the windows by name that every grid's host gives.
// The program around the grids implements it with its GridHost; tests use a fake.

#include "grid/gridhost.h"

#include <QString>

namespace grid {

class ProgressDisplay;

class ExchangeHost : public GridHost {
public:
    // "RADI" when the spreadsheet program could be started as the settings loaded,
    // "NERADI" when not.
    virtual QString lblEXCELSTATUS() const = 0;

    // "Yes" asks the next export to print instead of showing the workbook; "No" otherwise.
    virtual QString PrintExcelFile() const = 0;
    virtual void setPrintExcelFile(const QString& caption) = 0;

    // The progress bar of the document window with that form name; nullptr when that
    // window has none or does not exist.
    virtual ProgressDisplay* ProgressBar1(const QString& formName) = 0;
};

} // namespace grid
