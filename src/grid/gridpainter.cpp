#include "grid/gridpainter.h"

#include "grid/list.h"
#include "platform/colors.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

namespace grid {

namespace {
constexpr int RowMarkerWidth = 51;
constexpr int CaptionTop = 2;
constexpr int CaptionInset = 3;

QColor qc(uint32_t color)
{
    return platform::toQColor(color);
}
} // namespace

GridPainter::GridPainter(const List& list, QPainter& painter)
    : list_(list), p_(painter), layout_(list.gridLayout())
{
}

int GridPainter::firstRow(int scrollTop)
{
    return roundPixel(-double(scrollTop) / Size::RowHeight);
}

int GridPainter::lastRow(int scrollTop, int viewHeight, int listCount)
{
    const int last = roundPixel(double(viewHeight) / Size::RowHeight + 2 + firstRow(scrollTop));
    return std::min(last, listCount);
}

void GridPainter::line(int x1, int y1, int x2, int y2, unsigned color)
{
    if (y1 == y2 && x1 != x2)
        p_.fillRect(QRect(std::min(x1, x2 + 1), y1, std::abs(x2 - x1), 1), qc(color));
    else if (x1 == x2 && y1 != y2)
        p_.fillRect(QRect(x1, std::min(y1, y2 + 1), 1, std::abs(y2 - y1)), qc(color));
}

void GridPainter::paint(const QRect& exposed)
{
    exposed_ = exposed;
    p_.fillRect(exposed, qc(GridColors::BackColor));
    paintColumnArea();
    if (exposed_.intersects(layout_.picCnt))
        paintGutter();
    paintHeader();
    paintStrips();
    paintSplitter();
}

void GridPainter::paintColumnArea()
{
    const GridLayout& l = layout_;
    const GridCore& core = list_.core();
    const GridColors& colors = core.colors();
    const int V = l.view.height();
    p_.save();
    p_.setClipRect(l.view);
    const QRect area(l.areaLeft, Size::Header, list_.areaWidth(), V);
    p_.fillRect(area, qc(colors.BorderColor));
    const int first = firstRow(core.ScrollTop());
    const int last = lastRow(core.ScrollTop(), V, core.ListCount());
    for (int k = 1; k <= core.ColumnCount(); ++k) {
        const int left = l.areaLeft + core.columnLeft(k);
        const int right = left + core.GetWidthColumn(k);
        const QRect span(left, l.view.top(), right - left + 1, l.view.height()); // with its gap
        if (span.intersects(l.view) && span.intersects(exposed_))
            paintColumn(k, first, last);
    }
    // StolpecHide: a plain cover below the last row while the rows do not fill the area.
    const int content = Size::RowHeight * core.ListCount();
    if (V > content) {
        const int top = content + 1;
        p_.fillRect(QRect(l.areaLeft, Size::Header + top, list_.areaWidth(), V - top), qc(GridColors::BackColor));
    }
    p_.restore();
}

void GridPainter::paintColumn(int k, int first, int last)
{
    const GridCore& core = list_.core();
    const GridLayout& l = layout_;
    const int width = core.GetWidthColumn(k);
    const int left = l.areaLeft + core.columnLeft(k);
    const int top = Size::Header + (first - 1) * Size::RowHeight + core.ScrollTop();
    const QRect body(left, top, width, Size::Header + l.view.height() - top);
    p_.save();
    p_.setClipRect(body.intersected(l.view));
    p_.fillRect(body, qc(list_.columnBackColor(k)));
    for (int r = std::max(first, 0); r <= last; ++r) {
        const GridRow& row = core.row(r);
        const QString text = row.text(k);
        if (text.isEmpty())
            continue;
        const bool b = row.bold(k), i = row.italic(k), u = row.underline(k);
        p_.setFont(list_.cellFont(b, i, u));
        p_.setPen(qc(row.color(k)));
        const int bandTop = top + (r - first) * Size::RowHeight;
        p_.drawText(left, bandTop + list_.cellAscent(b, i, u), text);
    }
    const uint32_t border = core.colors().BorderColor;
    for (int r = first; r <= last; ++r) {
        const int y = top + (r - first + 1) * Size::RowHeight;
        line(left, y, left + width, y, border);
    }
    p_.restore();
}

void GridPainter::paintGutter()
{
    const GridCore& core = list_.core();
    const GridLayout& l = layout_;
    const QRect gutter = l.picCnt;
    if (gutter.width() <= 0 || gutter.height() <= 0)
        return;
    const int first = firstRow(core.ScrollTop());
    const int last = lastRow(core.ScrollTop(), gutter.height(), core.ListCount());
    const int top = Size::Header + (first - 1) * Size::RowHeight + core.ScrollTop();
    p_.save();
    p_.setClipRect(gutter);
    p_.fillRect(gutter, qc(core.colors().SelectedColor));
    const int ascent = list_.cellAscent();
    p_.setFont(list_.cellFont());
    p_.setPen(qc(GridColors::CounterForeColor));
    for (int r = first; r <= last; ++r)
        p_.drawText(0, top + (r - first) * Size::RowHeight + ascent, QString::number(r));
    const int w = gutter.width();
    line(w - 1, top, w - 1, Size::Header + gutter.height(), core.colors().BorderColor);
    if (list_.rowMarkerVisible()) {
        const int markerTop = Size::Header + list_.rowMarkerTop();
        p_.fillRect(QRect(0, markerTop, RowMarkerWidth, Size::RowHeight + 1), qc(core.colors().BorderColor));
        p_.drawText(0, markerTop + ascent, QString::number(list_.rowMarkerRow()));
    }
    p_.restore();
}

void GridPainter::paintHeader()
{
    const GridCore& core = list_.core();
    const GridLayout& l = layout_;
    const GridColors& colors = core.colors();
    const int W = list_.width();
    const int T = Size::Header;
    p_.fillRect(l.picTop, qc(colors.HeaderBackColor));
    line(0, T - 1, W, T - 1, colors.HeaderBorderColor);
    // picHeader: the captions and the lines after each column, moving with the column area.
    p_.fillRect(QRect(l.areaLeft, 0, list_.areaWidth(), T - 1), qc(colors.HeaderBackColor));
    p_.setFont(list_.cellFont());
    p_.setPen(Qt::black);
    const int ascent = list_.cellAscent();
    for (int b = 1; b <= core.ColumnCount(); ++b) {
        const int left = l.areaLeft + core.columnLeft(b);
        const int width = core.GetWidthColumn(b);
        line(left + width, 0, left + width, T - 1, colors.HeaderBorderColor);
        const QRect label(left + CaptionInset, CaptionTop, std::max(0, width - 2 * CaptionInset), T - 1 - CaptionTop);
        p_.save();
        p_.setClipRect(label);
        p_.drawText(label.left(), CaptionTop + ascent, core.GetColumnHeader(b));
        p_.restore();
    }
    // picTopL above the gutter and PicTopD above the vertical strip.
    const int G = l.picTopL.width();
    p_.fillRect(l.picTopL, qc(colors.HeaderBackColor));
    line(0, T - 1, G, T - 1, colors.HeaderBorderColor);
    line(G - 1, 0, G - 1, T - 1, colors.HeaderBorderColor);
    const QRect d = l.PicTopD;
    p_.fillRect(d, qc(colors.HeaderBackColor));
    line(d.left(), T - 1, d.left() + d.width(), T - 1, colors.HeaderBorderColor);
    line(d.left(), 0, d.left(), T - 1, colors.HeaderBorderColor);
}

void GridPainter::paintStrips()
{
    const GridColors& colors = list_.core().colors();
    const GridLayout& l = layout_;
    p_.fillRect(l.PicScrV, qc(colors.ScrollBackColor));
    p_.fillRect(l.PicScrH, qc(colors.ScrollBackColor));
    const QRect s = l.shpDolLevo;
    p_.fillRect(s, qc(colors.ScrollForeColor));
    line(0, s.top(), s.width(), s.top(), colors.HeaderBorderColor);
    line(s.width() - 1, s.top(), s.width() - 1, s.top() + s.height(), colors.HeaderBorderColor);
    p_.fillRect(l.PicKot, qc(colors.ScrollForeColor));
}

void GridPainter::paintSplitter()
{
    if (!list_.splitterVisible())
        return;
    const GridLayout& l = layout_;
    p_.fillRect(QRect(list_.splitterLeft(), Size::Header, 2, l.view.height()),
                qc(list_.core().colors().HeaderBorderColor));
}

} // namespace grid
