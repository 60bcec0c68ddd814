// The grid core on a full document: 65,000 rows of 32 short cells appended, filled cell by
// cell as the readers do, every cell changed once, and all of those changes undone. Memory is
// read from /proc/self/statm. A row inserted at the top of a long document is timed beside a
// plain vector insert of the same rows.

#include "besidebaseline.h"
#include "grid/gridcore.h"

#include <QString>
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <memory>
#include <span>
#include <vector>

namespace {

constexpr int Rows = 65000;
constexpr int Columns = 32;

double residentMegabytes()
{
    long pages = 0, resident = 0;
    if (FILE* f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2)
            resident = 0;
        std::fclose(f);
    }
    return double(resident) * double(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

QString shortText(int row, int column)
{
    return QString::number(row) + u'c' + QString::number(column); // 3 to 8 characters
}

std::unique_ptr<grid::GridCore> emptyGrid()
{
    auto grid = std::make_unique<grid::GridCore>();
    for (int c = 2; c <= Columns; ++c)
        grid->AddColumn(0, 60, QString());
    grid->ClearUndoRedo();
    return grid;
}

// Appending rows as a user or the import does: AddRow with column 1, the other cells written.
void fill(grid::GridCore& grid)
{
    grid.setCellText(1, 1, shortText(1, 1));
    for (int c = 2; c <= Columns; ++c)
        grid.setCellText(1, c, shortText(1, c));
    for (int r = 2; r <= Rows; ++r) {
        grid.AddRow(shortText(r, 1));
        for (int c = 2; c <= Columns; ++c)
            grid.setCellText(r, c, shortText(r, c));
    }
}

double cellHeapMegabytes(const grid::GridCore& grid)
{
    size_t bytes = 0;
    for (int r = 0; r <= grid.ListCount(); ++r)
        bytes += grid.row(r).heapBytes() + sizeof(grid::GridRow);
    return double(bytes) / (1024.0 * 1024.0);
}

void BM_AppendRows(benchmark::State& state)
{
    double before = 0, after = 0, cells = 0;
    for (auto _ : state) {
        state.PauseTiming();
        before = residentMegabytes();
        auto grid = emptyGrid();
        state.ResumeTiming();
        fill(*grid);
        state.PauseTiming();
        grid->ClearUndoRedo();
        after = residentMegabytes();
        cells = cellHeapMegabytes(*grid);
        grid.reset();
        state.ResumeTiming();
    }
    state.counters["rows"] = Rows;
    state.counters["cells_MB_rss"] = after - before;
    state.counters["cells_MB_heap"] = cells;
}
BENCHMARK(BM_AppendRows)->Unit(benchmark::kMillisecond)->Iterations(1);

// 1,000 rows of cells, made beforehand so that only the writes are timed; row r of the grid
// takes row r % 1000.
std::vector<grid::GridCell> madeTexts()
{
    std::vector<grid::GridCell> values;
    for (int k = 0; k < 1000; ++k)
        for (int c = 1; c <= Columns; ++c)
            values.push_back(grid::GridCell{QStringLiteral("Item %1 col %2").arg(k).arg(c)});
    return values;
}

// Times `write` filling a grid of Rows empty rows, one row of made texts at a time.
template <class Write>
void timeFill(benchmark::State& state, Write&& write)
{
    for (auto _ : state) {
        state.PauseTiming();
        auto grid = emptyGrid();
        grid->resetRows(Rows);
        const std::vector<grid::GridCell> values = madeTexts();
        state.ResumeTiming();
        for (int r = 1; r <= Rows; ++r)
            write(*grid, r, std::span(values).subspan(size_t(r % 1000) * Columns, Columns));
        state.PauseTiming();
        grid.reset();
        state.ResumeTiming();
    }
    state.counters["cells"] = double(Rows) * Columns;
}

// The core's share of reading a document in, cell by cell through direct access, as the
// spreadsheet import does.
void BM_FillCellsInOrder(benchmark::State& state)
{
    timeFill(state, [](grid::GridCore& grid, int r, std::span<const grid::GridCell> row) {
        for (int c = 1; c <= Columns; ++c)
            grid.setCell(r, c, row[size_t(c - 1)]);
    });
}
BENCHMARK(BM_FillCellsInOrder)->Unit(benchmark::kMillisecond)->Iterations(3);

// The same cells written a whole row at a time, as the list-file reader does.
void BM_FillWholeRows(benchmark::State& state)
{
    timeFill(state, [](grid::GridCore& grid, int r, std::span<const grid::GridCell> row) { grid.setRowCells(r, row); });
}
BENCHMARK(BM_FillWholeRows)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_ChangeEveryCell(benchmark::State& state)
{
    double before = 0, after = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto grid = emptyGrid();
        fill(*grid);
        grid->ClearUndoRedo();
        before = residentMegabytes();
        state.ResumeTiming();
        for (int r = 1; r <= Rows; ++r)
            for (int c = 1; c <= Columns; ++c)
                grid->ChangeItem(r, c, shortText(c, r));
        state.PauseTiming();
        after = residentMegabytes();
        grid.reset();
        state.ResumeTiming();
    }
    state.counters["changes"] = double(Rows) * Columns;
    state.counters["history_MB_rss"] = after - before;
}
BENCHMARK(BM_ChangeEveryCell)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_UndoAllChanges(benchmark::State& state)
{
    bool restored = true;
    for (auto _ : state) {
        state.PauseTiming();
        auto grid = emptyGrid();
        fill(*grid);
        grid->ClearUndoRedo();
        for (int r = 1; r <= Rows; ++r)
            for (int c = 1; c <= Columns; ++c)
                grid->ChangeItem(r, c, shortText(c, r));
        state.ResumeTiming();
        grid->undo(Rows * Columns);
        state.PauseTiming();
        restored = grid->UndoStack().isEmpty() && grid->GetItem(Rows, Columns) == shortText(Rows, Columns);
        grid.reset();
        state.ResumeTiming();
    }
    if (!restored)
        state.SkipWithError("undo did not restore the cells");
    state.counters["steps"] = double(Rows) * Columns;
}
BENCHMARK(BM_UndoAllChanges)->Unit(benchmark::kMillisecond)->Iterations(1);

// A row inserted at the top of a document of 325,000 rows of 32 cells, as a user's Insert
// does, beside the least any grid must do: a plain insert into a vector of as many rows.
// The grid's rows come in the way a document is opened (made apart, then handed over
// whole), and both rows are taken out again untimed. The grid's time must not grow with the
// rows below the new one. Rows handed over whole may hold cells beyond the columns, so the
// first insert after them looks at every row once; the figures are medians.
void BM_InsertRowAtTopBesidePlainInsert(benchmark::State& state)
{
    const int rows = int(state.range(0));
    const std::vector<grid::GridCell> cells(Columns, grid::GridCell{QStringLiteral("ab")});
    auto grid = emptyGrid();
    {
        std::vector<grid::GridRow> made(size_t(rows) + 1);
        for (int r = 1; r <= rows; ++r)
            made[size_t(r)].setCells(std::span(cells));
        grid->resetRows(std::move(made));
    }
    // Moving a row moves its handles, never its cells: one short cell each does as well.
    std::vector<grid::GridRow> plain(size_t(rows) + 1);
    for (grid::GridRow& row : plain)
        row.setText(1, QStringLiteral("ab"));
    BesideBaseline figures;
    for (auto _ : state) {
        const bool ok = figures.turn(
            state,
            [&] {
                plain.insert(plain.begin() + 1, grid::GridRow());
                return true;
            },
            [&] { return grid->AddRow(QStringLiteral("new"), 1) == 1; });
        if (!ok) {
            state.SkipWithError("the row was not inserted at the top");
            break;
        }
        plain.erase(plain.begin() + 1);
        grid->RemoveItem(1, true);
        grid->ClearUndoRedo();
    }
    if (grid->ListCount() != rows || grid->GetItem(1, 1) != QStringLiteral("ab"))
        state.SkipWithError("the rows did not come back");
    figures.report(state);
    state.counters["rows"] = rows;
}
BENCHMARK(BM_InsertRowAtTopBesidePlainInsert)
    ->Arg(65000)
    ->Arg(325000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(15)
    ->UseManualTime();

} // namespace
