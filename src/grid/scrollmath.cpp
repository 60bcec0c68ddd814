#include "grid/scrollmath.h"

namespace grid {

namespace {

void fitVertical(const GridMeasures& m, ScrollBarState& s)
{
    const double V = m.viewHeight();
    const double C = m.contentHeight();
    if (V >= C) {
        s.vertical.visible = false;
        s.upEnabled = s.downEnabled = false;
        return;
    }
    s.vertical.visible = true;
    s.upEnabled = s.downEnabled = true;
    const double T = m.verticalTrack();
    const float h = float(T * V / C);
    s.vertical.size = h < Size::MinThumb ? float(Size::MinThumb) : h;
    s.vertical.pos = float(Size::Arrow + (T - s.vertical.size) * m.scrollTop / (V - C));
}

void fitHorizontal(const GridMeasures& m, ScrollBarState& s)
{
    const double W = m.viewWidth();
    const double Wc = m.areaWidth;
    if (W >= Wc) {
        s.horizontal.visible = false;
        s.leftEnabled = s.rightEnabled = false;
        return;
    }
    const double TH = m.horizontalTrack();
    const float w = float(TH * W / Wc);
    s.horizontal.size = w < Size::MinThumb ? float(Size::MinThumb) : w;
    s.horizontal.pos =
        float(Size::Arrow + m.gutterWidth + (TH - s.horizontal.size) * m.horizontalOffset() / (W - Wc));
    s.horizontal.visible = true;
    s.leftEnabled = s.rightEnabled = true;
}

} // namespace

void fitScrollBars(const GridMeasures& m, ScrollBarState& state)
{
    fitVertical(m, state);
    fitHorizontal(m, state);
}

int grabOffset(double p, float start, float size)
{
    if (start <= p && p <= start + size)
        return roundPixel(p - start);
    return roundPixel(size / 2.0);
}

float dragThumbTo(double d, float lo, float hi)
{
    if (d < lo)
        return lo;
    if (d <= hi)
        return float(d);
    return hi;
}

float verticalThumbMin()
{
    return float(Size::Arrow);
}

float verticalThumbMax(const GridMeasures& m, float thumbHeight)
{
    return float(m.viewHeight() - Size::Arrow - double(thumbHeight));
}

std::optional<double> scrollTopForThumb(const GridMeasures& m, float top, float thumbHeight)
{
    const double V = m.viewHeight();
    const double freeTrack = V - 2 * Size::Arrow - double(thumbHeight);
    if (freeTrack == 0)
        return std::nullopt;
    return (V - m.contentHeight()) * (double(top) - Size::Arrow) / freeTrack;
}

float horizontalThumbMin(const GridMeasures& m)
{
    return float(m.gutterWidth + Size::Arrow);
}

float horizontalThumbMax(const GridMeasures& m, float thumbWidth)
{
    return float(m.width - Size::Arrow - Size::Strip - double(thumbWidth));
}

std::optional<double> areaLeftForThumb(const GridMeasures& m, float left, float thumbWidth)
{
    const double freeTrack = m.horizontalTrack() - double(thumbWidth);
    if (freeTrack == 0)
        return std::nullopt;
    const double G = m.gutterWidth;
    return float(G + (double(left) - Size::Arrow - G) * (m.viewWidth() - m.areaWidth) / freeTrack);
}

std::optional<int> scrollTopShowingRow(int row, int scrollTop, int visibleHeight)
{
    const int height = Size::RowHeight;
    if (height * (row - 1) + scrollTop < 0)
        return -height * (row - 1);
    if (visibleHeight < height * row + scrollTop)
        return visibleHeight - height * row;
    return std::nullopt;
}

std::optional<int> areaLeftShowingColumn(int columnLeft, int width, int areaLeft, int viewLeft,
                                         int viewRight)
{
    if (columnLeft + areaLeft < viewLeft)
        return viewLeft - columnLeft;
    if (viewRight < columnLeft + width + areaLeft)
        return viewRight - columnLeft - width;
    return std::nullopt;
}

} // namespace grid
