#pragma once
// The grid's exchange with spreadsheet workbooks: the import of a workbook's first rows
// (importexcel) and the export of the rows into a new workbook that is shown or printed
// (exporttoexcel).

#include <QString>
#include <cstdint>

namespace grid {

class ExcelSession;
class ExchangeHost;
class GridCore;

class ExcelExchange {
public:
    ExcelExchange(GridCore& grid, ExchangeHost& host);

    // Reads sheet rows 1 to Rows, columns A to AF, of the workbook's active sheet into the
    // grid rows of the same numbers, columns 1 to 32: a non-empty sheet cell replaces the
    // text of its grid cell, an empty one leaves it as it is; Rows empty rows are appended.
    // When a value lands beyond the grid's columns, columns named after their sheet columns
    // are appended up to the last that holds one, so that nothing read is left hidden. A
    // document has no column beyond AF: before the grid changes, the user is told which
    // sheet columns past AF hold values in those rows and so are left out, and may stop the
    // import there. The cells are written without history. True when the rows were read;
    // on any failure the user is told, and on a failure or a stop the grid is left as it
    // was and false is returned.
    bool importexcel(const QString& FileName, int32_t Rows);

    // Writes every row that holds text in columns 1 to ColumnCount into the sheet row of the
    // same number, all 32 cells, into a new workbook; then shows it to the user, or, when
    // PrintExcelFile asks for it, prints it with the number of copies the user types. The
    // print request is "No" again on every way out. True when the workbook was shown or
    // printed.
    bool exporttoexcel();

private:
    bool showToUser(ExcelSession& excel);
    bool printCopies(ExcelSession& excel);

    GridCore& m_grid;
    ExchangeHost& m_host;
};

} // namespace grid
