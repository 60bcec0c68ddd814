#include "grid/documents/excelexchange.h"

#include "grid/documents/excelsession.h"
#include "grid/documents/excelsteps.h"
#include "grid/documents/exchangehost.h"
#include "grid/documents/progressdisplay.h"
#include "grid/gridcore.h"
#include "platform/prompts.h"
#include "platform/spreadsheet.h"

#include <QStringList>

#include <algorithm>
#include <array>
#include <optional>
#include <vector>

namespace grid {

using namespace ExcelSteps;

namespace {

using SheetRow = std::array<QString, GridCore::MaxColumns>;

// The width of a column the import adds, that of a column the user adds.
constexpr int NewColumnWidth = 100;

const QString nothingImported = QStringLiteral("Nothing was imported.");
const QString nothingExported = QStringLiteral("Nothing was exported.");

// Puts the print request back to "No" however the export ends, so that the next export
// shows the workbook unless a print command asks again.
class PrintRequestReset {
public:
    explicit PrintRequestReset(ExchangeHost& host) : m_host(host) {}
    ~PrintRequestReset() { m_host.setPrintExcelFile(QStringLiteral("No")); }
    PrintRequestReset(const PrintRequestReset&) = delete;
    PrintRequestReset& operator=(const PrintRequestReset&) = delete;

private:
    ExchangeHost& m_host;
};

// The progress bar's maximum for an import: the column count times the rows, halved. A
// product the bar cannot take (none, or beyond the 16-bit range it was sized for) leaves the
// maximum as the window set it.
void setImportMaximum(ProgressDisplay* bar, int columns, int32_t rows)
{
    const long long product = static_cast<long long>(columns) * rows;
    if (product >= 1 && product <= 32767)
        bar->setMax(float(product / 2.0));
}

// Reads sheet rows 1 to rows, all 32 cells each, moving the progress bar along the rows.
bool readRows(ExcelSession& excel, int32_t rows, ProgressDisplay* bar, std::vector<SheetRow>& sheet)
{
    sheet.reserve(size_t(std::max(rows, 0)));
    for (int32_t i = 1; i <= rows; ++i) {
        if (bar)
            bar->setValue(float(i));
        SheetRow& values = sheet.emplace_back();
        for (int k = 1; k <= GridCore::MaxColumns; ++k) {
            bool ok = false;
            values[size_t(k - 1)] = excel.readCell(cellAddress(k, i), &ok);
            if (!ok)
                return false;
        }
    }
    return true;
}

// Sheet row i goes to grid row i; an empty sheet cell leaves its grid cell as it is. The rows
// are appended first, so every sheet row's grid row exists whether it held text before or is
// one of the new ones.
void putRows(GridCore& grid, const std::vector<SheetRow>& sheet)
{
    if (!sheet.empty())
        grid.AddMoreThanOneRow(int(sheet.size()));
    for (size_t i = 0; i < sheet.size(); ++i)
        for (int k = 1; k <= GridCore::MaxColumns; ++k)
            if (const QString& text = sheet[i][size_t(k - 1)]; !text.isEmpty())
                grid.setCellText(int(i + 1), k, text);
}

// The columns the grid shows grow to the last sheet column that held a value, so that no
// imported value lies hidden beyond them, to be dropped by the next save. Each new column
// comes after the grid's own, which keep their places and meanings, and is named after its
// sheet column.
void addColumnsFor(GridCore& grid, const std::vector<SheetRow>& sheet)
{
    int last = 0;
    for (const SheetRow& values : sheet)
        for (int k = GridCore::MaxColumns; k > last; --k)
            if (!values[size_t(k - 1)].isEmpty()) {
                last = k;
                break;
            }
    for (int k = grid.ColumnCount() + 1; k <= last; ++k)
        grid.AddColumn(0, NewColumnWidth, platform::columnLetters(k));
}

// The sheet columns as the user knows them, by letter, runs of neighbours as one range:
// "AG", "AG to AJ", "AG to AJ, AM and BA to BC". A long list ends with how many more there are.
QString columnList(const std::vector<int>& columns)
{
    constexpr qsizetype MostRangesNamed = 8;
    QStringList ranges;
    size_t next = 0; // the first column not yet named
    while (next < columns.size() && ranges.size() < MostRangesNamed) {
        size_t last = next;
        while (last + 1 < columns.size() && columns[last + 1] == columns[last] + 1)
            ++last;
        const QString letters = platform::columnLetters(columns[next]);
        ranges << (last == next ? letters : letters + QStringLiteral(" to ") + platform::columnLetters(columns[last]));
        next = last + 1;
    }
    if (const size_t more = columns.size() - next; more > 0)
        ranges << QStringLiteral("%1 more column%2").arg(more).arg(more == 1 ? QString() : QStringLiteral("s"));
    if (ranges.size() == 1)
        return ranges.front();
    const QString last = ranges.takeLast();
    return ranges.join(QStringLiteral(", ")) + QStringLiteral(" and ") + last;
}

// Whether the user goes on with an import that leaves those sheet columns out.
bool mayLeaveOut(const QString& workbook, const std::vector<int>& columns)
{
    const bool one = columns.size() == 1;
    const QString text =
        QStringLiteral("The workbook\n%1\nholds values in sheet %2 %3, in the rows to be imported. A document has at "
                       "most %4 columns, A to %5, so %6 left out of the import.\n\nImport columns A to %5 without %7?")
            .arg(workbook, one ? QStringLiteral("column") : QStringLiteral("columns"), columnList(columns),
                 QString::number(GridCore::MaxColumns), platform::columnLetters(GridCore::MaxColumns),
                 one ? QStringLiteral("that column is") : QStringLiteral("those columns are"),
                 one ? QStringLiteral("it") : QStringLiteral("them"));
    return platform::prompts().MsgBox(text, platform::MsgStyle::YesNoQuestionNo, QStringLiteral("Columns Left Out"))
           == platform::Answer::Yes;
}

} // namespace

ExcelExchange::ExcelExchange(GridCore& grid, ExchangeHost& host) : m_grid(grid), m_host(host) {}

bool ExcelExchange::importexcel(const QString& FileName, int32_t Rows)
{
    if (!CheckExcelStatus(m_host))
        return false;
    ExcelSession excel;
    if (!excel.StartHiddenExcel()) {
        reportFailure(QStringLiteral("Quorvane could not start the spreadsheet program. ") + nothingImported,
                      excel.lastError());
        return false;
    }
    if (!excel.openWorkbook(FileName, true)) {
        reportFailure(QStringLiteral("Quorvane could not open the workbook\n%1\n").arg(FileName) + nothingImported,
                      excel.lastError());
        return false;
    }
    ProgressDisplay* bar = activeProgressBar(m_host);
    if (bar) {
        setImportMaximum(bar, m_grid.ColumnCount(), Rows);
        bar->setValue(1);
    }
    // Everything is read before the grid is touched, so a failure part-way leaves it as it was.
    std::vector<SheetRow> sheet;
    if (!readRows(excel, Rows, bar, sheet)) {
        reportFailure(QStringLiteral("Quorvane could not read the workbook\n%1\n").arg(FileName) + nothingImported,
                      excel.lastError());
        return false;
    }
    // The columns past the last a document holds are only looked for, never read in.
    std::vector<int> leftOut;
    if (Rows >= 1) {
        const std::optional<std::vector<int>> beyond = excel.filledColumns(GridCore::MaxColumns + 1, Rows);
        if (!beyond) {
            reportFailure(QStringLiteral("Quorvane could not read the workbook\n%1\n").arg(FileName) + nothingImported,
                          excel.lastError());
            return false;
        }
        leftOut = *beyond;
    }
    excel.QuitExcel();
    if (!leftOut.empty() && !mayLeaveOut(FileName, leftOut))
        return false;
    putRows(m_grid, sheet);
    addColumnsFor(m_grid, sheet);
    return true;
}

bool ExcelExchange::exporttoexcel()
{
    PrintRequestReset printRequestReset(m_host);
    if (!CheckExcelStatus(m_host))
        return false;
    ExcelSession excel;
    if (!excel.StartHiddenExcel() || !excel.addWorkbook()) {
        reportFailure(QStringLiteral("Quorvane could not start the spreadsheet program. ") + nothingExported,
                      excel.lastError());
        return false;
    }
    if (!writeRowsWithText(excel, m_grid, activeProgressBar(m_host), 0, 0)) {
        reportFailure(QStringLiteral("Quorvane could not write the rows into the new workbook. ") + nothingExported,
                      excel.lastError());
        return false;
    }
    if (m_host.PrintExcelFile() != QLatin1String("Yes"))
        return showToUser(excel);
    return printCopies(excel);
}

bool ExcelExchange::showToUser(ExcelSession& excel)
{
    if (excel.handOver())
        return true;
    reportFailure(QStringLiteral("Quorvane could not show the workbook in the spreadsheet program."), excel.lastError());
    return false;
}

bool ExcelExchange::printCopies(ExcelSession& excel)
{
    // A refused answer throws the filled workbook away unprinted.
    const std::optional<QString> copiesText = AskCopiesToPrint();
    if (!copiesText)
        return false;
    const std::optional<int> copies = copiesFrom(*copiesText);
    if (!copies || !excel.printOut(*copies, true)) {
        reportFailure(QStringLiteral("Quorvane could not print the workbook. Nothing was printed."), excel.lastError());
        return false;
    }
    return true;
}

} // namespace grid
