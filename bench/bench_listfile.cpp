// The list file and find and replace on a full-size document: 65,000 rows of 32 columns,
// every cell holding text (a scrambled file of about 69 MB). Open + save is also measured at
// 325,000 rows, to show that its cost grows linearly, and beside a plain program that does the
// least any program must do with the same file: read its bytes, unscramble them, split the
// lines, join them again, scramble them and write them safely (temporary file, fsync,
// rename). Every run of open + save prints both times and their ratio, and the peak memory
// of open + save above what the opened grid itself holds.

#include "besidebaseline.h"
#include "grid/documents/gridfile.h"
#include "grid/documents/gridfinder.h"
#include "grid/documents/listfilescrambler.h"
#include "grid/gridcore.h"

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <malloc.h>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int Rows = 65000;
constexpr int Columns = 32;

void fill(grid::GridCore& g, int rows)
{
    g.ClearEntireList();
    g.setColumnCaption(1, QStringLiteral("Item Name"));
    for (int c = 2; c <= Columns; ++c)
        g.AddColumn(0, 80, QStringLiteral("Column %1").arg(c));
    g.resetRows(rows);
    for (int r = 1; r <= rows; ++r) {
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
    explicit Setup(int rows)
    {
        fill(core, rows);
        path = dir.filePath(QStringLiteral("big.QVI"));
        grid::GridFile file(core);
        if (!file.SaveFileAs(path, true).ok)
            std::abort();
        if (rows != Rows)
            core.ClearEntireList(); // only the full-size grid is searched
    }
};

Setup& setup(int rows = Rows)
{
    static std::map<int, std::unique_ptr<Setup>> setups;
    auto& s = setups[rows];
    if (!s)
        s = std::make_unique<Setup>(rows);
    return *s;
}

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// ---- Memory: the process's peak resident size is reset before a measured step and read
// after it; the heap in use before and after tells what the opened grid itself holds.

long statusKilobytes(const char* field)
{
    long value = -1;
    if (FILE* f = std::fopen("/proc/self/status", "r")) {
        char line[256];
        const size_t n = std::strlen(field);
        while (std::fgets(line, sizeof line, f))
            if (std::strncmp(line, field, n) == 0 && line[n] == ':')
                value = std::atol(line + n + 1);
        std::fclose(f);
    }
    return value;
}

double heapInUse()
{
    const struct mallinfo2 info = mallinfo2();
    return double(info.uordblks) + double(info.hblkhd);
}

struct PeakProbe {
    double rssBefore = 0;
    bool ok = false;
    void start()
    {
        malloc_trim(0); // free heap pages go back, so that reusing them shows as growth
        if (FILE* f = std::fopen("/proc/self/clear_refs", "w")) {
            ok = std::fputs("5", f) >= 0; // resets the peak to the present size
            ok = std::fclose(f) == 0 && ok;
        }
        rssBefore = double(statusKilobytes("VmRSS")) * 1024;
    }
    double growth() const { return double(statusKilobytes("VmHWM")) * 1024 - rssBefore; }
};

constexpr double MB = 1024.0 * 1024.0;

// ---- The plain program: what any program must do with the file, written straightforwardly.

const std::vector<char>& baselineKeyStream()
{
    static const std::vector<char> stream = [] {
        std::vector<char> bytes(size_t(grid::ListFileScrambler::ChunkSize) + 1);
        for (size_t i = 0; i < bytes.size(); ++i)
            bytes[i] = "kq#47@trBNm"[(i + 1) % 11];
        return bytes;
    }();
    return stream;
}

void baselineScramble(std::string& bytes)
{
    const char* __restrict key = baselineKeyStream().data();
    const size_t chunk = size_t(grid::ListFileScrambler::ChunkSize);
    size_t offset = 0;
    while (offset < bytes.size()) {
        const size_t left = bytes.size() - offset;
        const size_t n = left > chunk + 1 ? chunk : left;
        char* __restrict data = bytes.data() + offset;
        for (size_t i = 0; i < n; ++i)
            data[i] = char(data[i] ^ key[i]);
        offset += n;
    }
}

bool baselineOpenSave(const std::string& from, const std::string& to)
{
    std::string bytes;
    {
        const int fd = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
        struct stat st {};
        if (fd < 0 || ::fstat(fd, &st) != 0)
            return false;
        bytes.resize(size_t(st.st_size));
        size_t got = 0;
        while (got < bytes.size()) {
            const ssize_t n = ::read(fd, bytes.data() + got, bytes.size() - got);
            if (n <= 0)
                break;
            got += size_t(n);
        }
        ::close(fd);
        if (got != bytes.size())
            return false;
    }
    baselineScramble(bytes);
    std::vector<std::string_view> lines;
    for (size_t pos = 0; pos < bytes.size();) {
        const void* cr = std::memchr(bytes.data() + pos, '\r', bytes.size() - pos);
        const size_t end = cr ? size_t(static_cast<const char*>(cr) - bytes.data()) : bytes.size();
        lines.emplace_back(bytes.data() + pos, end - pos);
        pos = end + 1;
        if (pos < bytes.size() && bytes[pos] == '\n')
            ++pos;
    }
    std::string out;
    out.reserve(bytes.size());
    for (const std::string_view line : lines) {
        out.append(line);
        out.append("\r\n");
    }
    lines = {};
    bytes = {};
    baselineScramble(out);
    const std::string temp = to + ".~tmp";
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0)
        return false;
    size_t written = 0;
    while (written < out.size()) {
        const ssize_t n = ::write(fd, out.data() + written, out.size() - written);
        if (n <= 0)
            break;
        written += size_t(n);
    }
    const bool ok = written == out.size() && ::fsync(fd) == 0;
    return ::close(fd) == 0 && ok && ::rename(temp.c_str(), to.c_str()) == 0;
}

void BM_ListFileBaselineOpenSave(benchmark::State& state)
{
    const int rows = int(state.range(0));
    Setup& s = setup(rows);
    const std::string from = QFile::encodeName(s.path).toStdString();
    const std::string to = QFile::encodeName(s.dir.filePath(QStringLiteral("baseline.QVI"))).toStdString();
    double peak = 0;
    for (auto _ : state) {
        PeakProbe probe;
        probe.start();
        const auto start = Clock::now();
        if (!baselineOpenSave(from, to))
            state.SkipWithError("baseline failed");
        state.SetIterationTime(secondsSince(start));
        peak = std::max(peak, probe.growth());
    }
    const double fileBytes = double(QFile(s.path).size());
    state.counters["file_MB"] = fileBytes / MB;
    state.counters["peak_MB"] = peak / MB;
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(fileBytes));
}
BENCHMARK(BM_ListFileBaselineOpenSave)->Arg(Rows)->Arg(5 * Rows)->UseManualTime()
    ->Unit(benchmark::kMillisecond)->Iterations(5);

// Ours: OpenFile of the scrambled file into a grid, then SaveFile of the grid, scrambled, to
// another path. Each iteration runs the baseline first, untimed, so that both meet the same
// load of the machine; printed beside ours: the baseline's time in these runs and the ratio,
// the grid's own memory and the peak above it, as megabytes and as a share of the file.
void BM_ListFileOpenSave(benchmark::State& state)
{
    const int rows = int(state.range(0));
    Setup& s = setup(rows);
    const std::string from = QFile::encodeName(s.path).toStdString();
    const std::string to = QFile::encodeName(s.dir.filePath(QStringLiteral("baseline.QVI"))).toStdString();
    const QString target = s.dir.filePath(QStringLiteral("saved.QVI"));
    auto grid = std::make_unique<grid::GridCore>();
    double total = 0;
    double baselineTotal = 0;
    double peak = 0;
    double gridBytes = 0;
    bool probed = true;
    for (auto _ : state) {
        const auto baselineStart = Clock::now();
        if (!baselineOpenSave(from, to))
            state.SkipWithError("baseline failed");
        baselineTotal += secondsSince(baselineStart);

        grid->ClearEntireList();
        PeakProbe probe;
        probe.start();
        probed = probed && probe.ok;
        const double heapBefore = heapInUse();
        const auto start = Clock::now();
        grid::GridFile file(*grid);
        if (!file.OpenFile(s.path).ok)
            state.SkipWithError("open failed");
        if (!file.SaveFile(target, true).ok)
            state.SkipWithError("save failed");
        const double seconds = secondsSince(start);
        state.SetIterationTime(seconds);
        total += seconds;
        gridBytes = heapInUse() - heapBefore;
        peak = std::max(peak, probe.growth() - gridBytes);
    }
    if (grid->ListCount() != rows || grid->GetItem(rows, Columns) != QStringLiteral("Item %1 col %2").arg(rows).arg(Columns))
        state.SkipWithError("read back differs");
    if (QFile(target).size() != QFile(s.path).size())
        state.SkipWithError("saved file differs in size");
    if (!probed)
        state.SkipWithError("the peak memory could not be reset");
    const double fileBytes = double(QFile(s.path).size());
    const double iterations = double(state.iterations());
    state.counters["baseline_ms"] = baselineTotal / iterations * 1000;
    state.counters["x_baseline"] = total / baselineTotal;
    state.counters["file_MB"] = fileBytes / MB;
    state.counters["grid_MB"] = gridBytes / MB;
    state.counters["peak_MB"] = peak / MB;
    state.counters["peak_x_file"] = peak / fileBytes;
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(fileBytes));
}
BENCHMARK(BM_ListFileOpenSave)->Arg(Rows)->Arg(5 * Rows)->UseManualTime()
    ->Unit(benchmark::kMillisecond)->Iterations(5);

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

// ---- Undo and redo of a replace-all of every cell (65,000 x 32 = 2,080,000 replacements,
// one history step each), each beside a plain restore of the same cells: the rows rebuilt
// one at a time, with no history, from copies of the texts they must hold afterwards. The
// replace itself and the checks run untimed.

using RowCopies = std::vector<grid::GridRow>;

RowCopies rowsOf(const grid::GridCore& core)
{
    RowCopies rows(size_t(core.ListCount()) + 1);
    for (int r = 1; r <= core.ListCount(); ++r)
        rows[size_t(r)] = core.row(r);
    return rows;
}

// Rebuilds every row of `target` from the cells of `source`, a whole row at a time.
bool restorePlainly(RowCopies& target, const RowCopies& source)
{
    std::vector<grid::GridCellView> cells(Columns);
    for (size_t r = 1; r < source.size(); ++r) {
        for (int c = 1; c <= Columns; ++c) {
            const grid::GridRow& from = source[r];
            cells[size_t(c - 1)] = grid::GridCellView{from.textView(c), from.bold(c), from.italic(c),
                                                      from.underline(c), from.color(c)};
        }
        target[r].setCells(std::span<const grid::GridCellView>(cells));
    }
    return true;
}

bool sameTexts(const grid::GridCore& core, const RowCopies& rows)
{
    for (int r = 1; r <= core.ListCount(); ++r)
        for (int c = 1; c <= Columns; ++c)
            if (core.row(r).textView(c) != rows[size_t(r)].textView(c))
                return false;
    return true;
}

constexpr int EveryCell = Rows * Columns;

void replaceEveryCell(grid::GridCore& core)
{
    grid::GridFinder finder(core);
    core.setiSelected(0);
    finder.FindAndReplaceText(QStringLiteral("Item"), QStringLiteral("Thing"), true, true);
}

void BM_UndoReplaceAllBesidePlainRestore(benchmark::State& state)
{
    Setup& s = setup();
    const RowCopies before = rowsOf(s.core);
    BesideBaseline figures;
    for (auto _ : state) {
        replaceEveryCell(s.core);
        if (s.core.UndoStack().stepCount() != EveryCell) {
            state.SkipWithError("the replace did not make one step per cell");
            break;
        }
        RowCopies plain = rowsOf(s.core);
        const bool ok = figures.turn(
            state, [&] { return restorePlainly(plain, before); },
            [&] { return s.core.undo(EveryCell) && s.core.UndoStack().isEmpty(); });
        if (!ok || !sameTexts(s.core, before)) {
            state.SkipWithError("the undo did not put every cell back");
            break;
        }
        s.core.ClearUndoRedo();
    }
    figures.report(state);
    state.counters["steps"] = EveryCell;
}
BENCHMARK(BM_UndoReplaceAllBesidePlainRestore)->Unit(benchmark::kMillisecond)->Iterations(5)->UseManualTime();

void BM_RedoReplaceAllBesidePlainRestore(benchmark::State& state)
{
    Setup& s = setup();
    BesideBaseline figures;
    for (auto _ : state) {
        replaceEveryCell(s.core);
        const RowCopies after = rowsOf(s.core);
        s.core.undo(EveryCell);
        RowCopies plain = rowsOf(s.core);
        const bool ok = figures.turn(
            state, [&] { return restorePlainly(plain, after); },
            [&] { return s.core.redo(EveryCell) && s.core.RedoStack().isEmpty(); });
        if (!ok || !sameTexts(s.core, after)) {
            state.SkipWithError("the redo did not make every replacement again");
            break;
        }
        s.core.undo(EveryCell);
        s.core.ClearUndoRedo();
    }
    figures.report(state);
    state.counters["steps"] = EveryCell;
}
BENCHMARK(BM_RedoReplaceAllBesidePlainRestore)->Unit(benchmark::kMillisecond)->Iterations(5)->UseManualTime();

} // namespace
