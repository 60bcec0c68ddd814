// Drawing the grid widget: one full screen of a 65,000-row grid (and of 10- and 100-row grids;
// a full screen costs the same whatever the row count), one column as a cell edit redraws it,
// and one step of a held down arrow with the repaint after it.

#include "grid/cmdbutton.h"
#include "grid/list.h"

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <benchmark/benchmark.h>

#include <memory>

namespace {

constexpr int Columns = 8;
constexpr int Width = 1024;
constexpr int Height = 720;

std::unique_ptr<grid::List> filledGrid(int rows)
{
    auto list = std::make_unique<grid::List>();
    list->resize(Width, Height);
    for (int c = 2; c <= Columns; ++c)
        list->AddColumn(0, 120, QStringLiteral("Column %1").arg(c));
    list->AddMoreThanOneRow(rows - 1);
    for (int r = 1; r <= rows; ++r) {
        grid::GridCore& core = list->core();
        for (int c = 1; c <= Columns; ++c)
            core.setCellText(r, c, QStringLiteral("Item %1.%2").arg(r).arg(c));
        if (r % 3 == 0)
            core.SetBold(r, 1, true);
        if (r % 5 == 0)
            core.SetColor(r, 2, 0x0000FF);
    }
    list->ClearUndoRedo();
    return list;
}

void paint(grid::List& list, QImage& target)
{
    list.render(&target);
}

void BM_DrawScreenful(benchmark::State& state)
{
    const auto list = filledGrid(int(state.range(0)));
    QImage target(Width, Height, QImage::Format_RGB32);
    for (auto _ : state) {
        paint(*list, target);
        benchmark::DoNotOptimize(target.constBits());
    }
    state.counters["rows"] = double(list->ListCount());
}
BENCHMARK(BM_DrawScreenful)->Arg(10)->Arg(100)->Arg(65000)->Unit(benchmark::kMicrosecond);

// What one cell edit costs: its column is redrawn, nothing else.
void BM_RedrawOneColumn(benchmark::State& state)
{
    const auto list = filledGrid(65000);
    QImage target(Width, Height, QImage::Format_RGB32);
    const grid::GridLayout l = list->gridLayout();
    const QRect column(l.areaLeft + list->core().columnLeft(3), l.view.top(), list->GetWidthColumn(3), l.view.height());
    for (auto _ : state) {
        list->render(&target, QPoint(), QRegion(column));
        benchmark::DoNotOptimize(target.constBits());
    }
}
BENCHMARK(BM_RedrawOneColumn)->Unit(benchmark::kMicrosecond);

// The down arrow held on a 65,000-row grid: one timer tick (one row down) and the repaint
// that follows it, per iteration. Only the rows in view are drawn, so a step costs the
// same anywhere in the grid; the scroll starts at the top and, should it reach the bottom,
// starts again there outside the timing (a whole run to the bottom is some 65,000 steps).
void BM_ArrowScrollStep(benchmark::State& state)
{
    const auto list = filledGrid(65000);
    QImage target(Width, Height, QImage::Format_RGB32);
    grid::cmdButton& down = *list->btnDol();
    const QPointF at(5, 5);
    QMouseEvent pressEvent(QEvent::MouseButtonPress, at, at, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&down, &pressEvent);
    paint(*list, target);
    for (auto _ : state) {
        const int before = list->ScrollTop();
        list->tmrScroll_Timer();
        paint(*list, target);
        benchmark::DoNotOptimize(target.constBits());
        if (list->ScrollTop() == before) {
            state.PauseTiming();
            list->core().setScrollTop(0);
            list->SetScrollers();
            state.ResumeTiming();
        }
    }
    QMouseEvent releaseEvent(QEvent::MouseButtonRelease, at, at, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&down, &releaseEvent);
    state.counters["scroll_top"] = double(list->ScrollTop());
}
BENCHMARK(BM_ArrowScrollStep)->Unit(benchmark::kMicrosecond);

} // namespace
