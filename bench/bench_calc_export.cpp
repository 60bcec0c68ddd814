// Exporting a full list into a new workbook of the spreadsheet program: 65,000 rows by 32
// columns written by address, as the grid's export does, and stored as the workbook file
// that showing hands over. Also reading cells back one by one, as the import does.

#include "platform/calc/calcspreadsheet.h"

#include <benchmark/benchmark.h>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <vector>

namespace {

constexpr int rows = 65000;
constexpr int columns = 32;

// range(0): 0 times filling the sheet, 1 also storing the .xls file that showing hands over.
void BM_ExportFullListToNewWorkbook(benchmark::State& state)
{
    const bool store = state.range(0) != 0;
    // The grid's texts and the addresses are made up front: only the spreadsheet work counts.
    std::vector<QString> texts;
    texts.reserve(std::size_t(columns));
    for (int c = 1; c <= columns; ++c)
        texts.push_back(c % 4 == 2 ? QString::number(c * 12.5) : QStringLiteral("Item text %1").arg(c));
    QStringList letters;
    for (int c = 1; c <= columns; ++c)
        letters << platform::columnLetters(c);

    QTemporaryDir folder;
    platform::calc::CalcSpreadsheet calc;
    if (!calc.start()) {
        state.SkipWithError(calc.lastError().toUtf8().constData());
        return;
    }
    for (auto _ : state) {
        if (!calc.addWorkbook()) {
            state.SkipWithError(calc.lastError().toUtf8().constData());
            return;
        }
        for (int r = 1; r <= rows; ++r) {
            const QString row = QString::number(r);
            for (int c = 0; c < columns; ++c)
                calc.writeCell(letters[c] + row, texts[std::size_t(c)]);
        }
        calc.flush();
        // Showing the export stores it as a workbook file first; timed only when asked.
        if (!store)
            state.PauseTiming();
        const bool stored = calc.saveAs(folder.filePath(QStringLiteral("export.xls")));
        if (!store)
            state.ResumeTiming();
        if (!stored) {
            state.SkipWithError(calc.lastError().toUtf8().constData());
            return;
        }
    }
    state.counters["cells"] = benchmark::Counter(double(rows) * columns * double(state.iterations()),
                                                 benchmark::Counter::kIsRate);
    calc.quit();
}

// The office works in a process of its own: rates are per wall-clock second, not per
// second of this program's processor time.
BENCHMARK(BM_ExportFullListToNewWorkbook)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

// Reading cells back one by one, as the import does: 2,000 rows by 32 columns.
void BM_ReadCellsOneByOne(benchmark::State& state)
{
    platform::calc::CalcSpreadsheet calc;
    if (!calc.start() || !calc.addWorkbook()) {
        state.SkipWithError(calc.lastError().toUtf8().constData());
        return;
    }
    constexpr int readRows = 2000;
    QStringList addresses;
    for (int r = 1; r <= readRows; ++r)
        for (int c = 1; c <= columns; ++c) {
            addresses << platform::columnLetters(c) + QString::number(r);
            calc.writeCell(addresses.back(), QStringLiteral("text %1").arg(c));
        }
    for (auto _ : state)
        for (const QString& a : addresses)
            benchmark::DoNotOptimize(calc.readCell(a));
    state.counters["cells"] = benchmark::Counter(double(addresses.size()) * double(state.iterations()),
                                                 benchmark::Counter::kIsRate);
    calc.quit();
}

BENCHMARK(BM_ReadCellsOneByOne)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

} // namespace
