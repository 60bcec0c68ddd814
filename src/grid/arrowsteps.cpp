#include "grid/arrowsteps.h"

namespace grid {

std::optional<int> stepUp(const GridMeasures& m)
{
    if (m.scrollTop >= 0)
        return std::nullopt;
    if (m.scrollTop >= -m.rowHeight)
        return 0;
    return m.scrollTop + m.rowHeight;
}

std::optional<int> stepDown(const GridMeasures& m)
{
    const int V = m.viewHeight();
    const int C = m.contentHeight();
    // Refused once the last row's bottom edge is in view.
    if (C + m.scrollTop <= V)
        return std::nullopt;
    if (V + m.rowHeight >= C + m.scrollTop)
        return V - C;
    return m.scrollTop - m.rowHeight;
}

std::optional<double> stepLeft(const GridMeasures& m)
{
    const double G = m.gutterWidth;
    if (m.areaLeft >= G)
        return std::nullopt;
    if (G - Size::HorizontalStep <= m.areaLeft)
        return G;
    return m.areaLeft + Size::HorizontalStep;
}

std::optional<double> stepRight(const GridMeasures& m)
{
    const double G = m.gutterWidth;
    const double W = m.viewWidth();
    const double Wc = m.areaWidth;
    if (W >= Wc)
        return std::nullopt;
    if (G + W + Size::HorizontalStep >= m.areaLeft + Wc)
        return G + W - Wc;
    return m.areaLeft - Size::HorizontalStep;
}

} // namespace grid
