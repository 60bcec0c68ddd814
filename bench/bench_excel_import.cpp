// Importing a workbook's 1,000 rows into the grid through the spreadsheet program, beside
// the office's own opening of the same workbook in a running office (loaded and closed):
// the ratio says what our reading costs on top of the office's.

#include "besidebaseline.h"
#include "quietexchangehost.h"

#include "grid/documents/excelexchange.h"
#include "grid/gridcore.h"
#include "platform/calc/calc.h"
#include "platform/calc/calcoptions.h"
#include "platform/calc/calcspreadsheet.h"
#include "platform/calc/officeprocess.h"
#include "platform/calc/unoarguments.h"

#include <com/sun/star/frame/XComponentLoader.hpp>
#include <com/sun/star/util/XCloseable.hpp>

#include <QTemporaryDir>

namespace {

using namespace css;
using rtl::OUString;

constexpr int rows = 1000;
constexpr int columns = 32;

// A workbook whose rows are full in every column.
bool makeWorkbook(const QString& path, QString& error)
{
    platform::calc::CalcSpreadsheet calc;
    if (!calc.start() || !calc.addWorkbook()) {
        error = calc.lastError();
        return false;
    }
    for (int r = 1; r <= rows; ++r)
        for (int c = 1; c <= columns; ++c)
            calc.writeCell(platform::columnLetters(c) + QString::number(r),
                           c % 4 == 2 ? QString::number(r * c) : QStringLiteral("Item %1/%2").arg(r).arg(c));
    if (!calc.saveAs(path)) {
        error = calc.lastError();
        return false;
    }
    return true;
}

// The baseline: the office opens the workbook, as it opens any file, and closes it again.
bool officeOpens(platform::calc::OfficeProcess& office, const QString& path)
{
    try {
        const uno::Reference<lang::XComponent> doc =
            uno::Reference<frame::XComponentLoader>(office.desktop(), uno::UNO_QUERY_THROW)
                ->loadComponentFromURL(platform::calc::fileUrl(path), OUString("_blank"), 0,
                                       platform::calc::properties({platform::calc::property("Hidden", uno::Any(true))}));
        uno::Reference<util::XCloseable>(doc, uno::UNO_QUERY_THROW)->close(true);
        return true;
    } catch (const uno::Exception&) {
        return false;
    }
}

bool weImport(const QString& path)
{
    QuietExchangeHost host;
    grid::GridCore grid;
    for (int c = 2; c <= columns; ++c)
        grid.AddColumn(0, 50, QString());
    return grid::ExcelExchange(grid, host).importexcel(path, rows) && grid.ListCount() == rows + 1;
}

void BM_ImportThousandRowsBesideTheOfficeOpeningThem(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString book = dir.filePath(QStringLiteral("rows.xls"));
    QString error;
    platform::calc::OfficeProcess office;
    platform::calc::OfficeProcess::Launch launch;
    launch.program = platform::calc::CalcOptions().officeProgram;
    if (!makeWorkbook(book, error) || !office.start(launch, error)) {
        state.SkipWithError(error.toUtf8().constData());
        return;
    }
    platform::calc::install();
    // The program's office runs from its first command on: that start is not the import's.
    weImport(book);
    officeOpens(office, book);
    BesideBaseline figures;
    for (auto _ : state) {
        if (!figures.turn(state, [&] { return officeOpens(office, book); }, [&] { return weImport(book); })) {
            state.SkipWithError("the import or the office's opening failed");
            break;
        }
    }
    figures.report(state);
    platform::setSpreadsheetFactory({});
}

BENCHMARK(BM_ImportThousandRowsBesideTheOfficeOpeningThem)->Unit(benchmark::kMillisecond)->Iterations(9)->UseManualTime();

} // namespace
