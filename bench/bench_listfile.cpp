// The list file and find and replace on a full-size document: 65,000 rows of 32 columns,
// every cell holding text.

#include "grid/documents/gridfile.h"
#include "grid/documents/gridfinder.h"
#include "grid/documents/listfilescrambler.h"
#include "grid/gridcore.h"

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

constexpr int Rows = 65000;
constexpr int Columns = 32;

void fill(grid::GridCore& g)
{
    g.ClearEntireList();
    g.setColumnCaption(1, QStringLiteral("Item Name"));
    for (int c = 2; c <= Columns; ++c)
        g.AddColumn(0, 80, QStringLiteral("Column %1").arg(c));
    g.resetRows(Rows);
    for (int r = 1; r <= Rows; ++r) {
        for (int c = 1; c <= Columns; ++c) {
            QString text = QStringLiteral("Item %1 col %2").arg(r).arg(c);
            if (c == 1 && r % 10 == 0)
                text += QStringLiteral(" marker");
            g.setCell(r, c, grid::GridCell{text, c == 2, false, c == 3, c == 4 ? 0xFFu : 0u});
        }
    }
    g.ClearUndoRedo();
}

struct Setup {
    QTemporaryDir dir;
    grid::GridCore core;
    QString path;
    Setup()
    {
        fill(core);
        path = dir.filePath(QStringLiteral("big.QVI"));
        grid::GridFile file(core);
        if (!file.SaveFileAs(path, true).ok)
            std::abort();
    }
};

Setup& setup()
{
    static Setup s;
    return s;
}

void BM_SaveScrambled(benchmark::State& state)
{
    Setup& s = setup();
    grid::GridFile file(s.core);
    const QString target = s.dir.filePath(QStringLiteral("saved.QVI"));
    for (auto _ : state)
        if (!file.SaveFileAs(target, true).ok)
            state.SkipWithError("save failed");
    state.counters["bytes"] = double(QFile(target).size());
}
BENCHMARK(BM_SaveScrambled)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_OpenScrambled(benchmark::State& state)
{
    Setup& s = setup();
    grid::GridCore target;
    grid::GridFile file(target);
    for (auto _ : state)
        if (!file.OpenFile(s.path).ok)
            state.SkipWithError("open failed");
    if (target.ListCount() != Rows || target.GetItem(Rows, Columns) != s.core.GetItem(Rows, Columns))
        state.SkipWithError("read back differs");
}
BENCHMARK(BM_OpenScrambled)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_Scramble(benchmark::State& state)
{
    QFile f(setup().path);
    f.open(QIODevice::ReadOnly);
    QByteArray bytes = f.readAll();
    for (auto _ : state)
        grid::ListFileScrambler::apply(bytes);
    state.SetBytesProcessed(int64_t(state.iterations()) * bytes.size());
}
BENCHMARK(BM_Scramble)->Unit(benchmark::kMillisecond);

// A text only in the last cell: every cell is searched once.
void BM_FindTextWholeGrid(benchmark::State& state)
{
    Setup& s = setup();
    grid::GridFinder finder(s.core);
    const bool exact = state.range(0);
    for (auto _ : state) {
        s.core.setiSelected(0);
        if (!finder.FindText(QStringLiteral("item 65000 col 32"), exact) && !exact)
            state.SkipWithError("not found");
    }
}
BENCHMARK(BM_FindTextWholeGrid)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Replace all in every tenth row (6,500 replacements, one history step each), then put the
// text back untimed.
void BM_ReplaceAll(benchmark::State& state)
{
    Setup& s = setup();
    grid::GridFinder finder(s.core);
    for (auto _ : state) {
        s.core.setiSelected(0);
        finder.FindAndReplaceText(QStringLiteral("MARKER"), QStringLiteral("replaced"), true, false);
        state.PauseTiming();
        finder.FindAndReplaceText(QStringLiteral("replaced"), QStringLiteral("marker"), true, true);
        s.core.ClearUndoRedo();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ReplaceAll)->Unit(benchmark::kMillisecond)->Iterations(5);

// Undo of that replace-all, 6,500 steps at once.
void BM_UndoReplaceAll(benchmark::State& state)
{
    Setup& s = setup();
    grid::GridFinder finder(s.core);
    for (auto _ : state) {
        state.PauseTiming();
        s.core.setiSelected(0);
        finder.FindAndReplaceText(QStringLiteral("marker"), QStringLiteral("replaced"), true, true);
        state.ResumeTiming();
        s.core.undo(32767);
        state.PauseTiming();
        s.core.ClearUndoRedo();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_UndoReplaceAll)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace
