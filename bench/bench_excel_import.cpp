// Importing a workbook's rows into the grid through the spreadsheet program: every one of
// the 32 cells of each sheet row is read by address, as the import does.

#include "grid/documents/excelexchange.h"
#include "grid/documents/exchangehost.h"
#include "grid/gridcore.h"
#include "platform/calc/calc.h"
#include "platform/calc/calcspreadsheet.h"

#include <benchmark/benchmark.h>
#include <QTemporaryDir>

namespace {

constexpr int rows = 1000;
constexpr int columns = 32;

struct QuietHost : grid::ExchangeHost {
    QString lblEXCELSTATUS() const override { return QStringLiteral("RADI"); }
    QString PrintExcelFile() const override { return QStringLiteral("No"); }
    void setPrintExcelFile(const QString&) override {}
    QString ActiveList() const override { return QString(); }
    grid::GridWindow* window(const QString&) override { return nullptr; }
    grid::ProgressDisplay* ProgressBar1(const QString&) override { return nullptr; }
};

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

void BM_ImportFullRows(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString book = dir.filePath(QStringLiteral("rows.xls"));
    QString error;
    if (!makeWorkbook(book, error)) {
        state.SkipWithError(error.toUtf8().constData());
        return;
    }
    platform::calc::install();
    QuietHost host;
    for (auto _ : state) {
        grid::GridCore grid;
        for (int c = 2; c <= columns; ++c)
            grid.AddColumn(0, 50, QString());
        if (!grid::ExcelExchange(grid, host).importexcel(book, rows)) {
            state.SkipWithError("the import failed");
            break;
        }
        benchmark::DoNotOptimize(grid.ListCount());
    }
    state.counters["rows"] = benchmark::Counter(double(rows) * double(state.iterations()), benchmark::Counter::kIsRate);
    platform::setSpreadsheetFactory({});
}

BENCHMARK(BM_ImportFullRows)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

} // namespace
