#pragma once
// GridMeasures: the numbers from which the grid's parts are placed, scrolled and drawn,
// with the fixed sizes of the header strip, the scroll strips and their arrows.

#include "platform/vb.h"

namespace grid {

// A fractional position or size in pixels, rounded to a whole pixel the way every
// assignment to a pixel property rounds it (half to even).
inline int roundPixel(double v)
{
    return int(platform::vb::RoundHalfEven(v));
}

namespace Size {
constexpr int RowHeight = 16;
constexpr int Header = 20;       // picTop
constexpr int Strip = 16;        // PicScrV width, PicScrH height
constexpr int Arrow = 16;        // each arrow button is square
constexpr int MinThumb = 10;
constexpr int HorizontalStep = 15;
} // namespace Size

struct GridMeasures {
    int width = 0;          // the control, in pixels
    int height = 0;
    int gutterWidth = 0;    // G: picCnt
    double areaLeft = 0;    // left edge of the column area picOzadje
    int areaWidth = 0;      // Wc: sum of (column width + 1)
    int scrollTop = 0;      // 0 or negative
    int listCount = 1;
    int rowHeight = Size::RowHeight;

    int viewHeight() const { return height - Size::Header - Size::Strip; }        // V
    int contentHeight() const { return listCount * rowHeight; }                   // C
    int viewWidth() const { return width - Size::Strip - gutterWidth; }           // W
    int verticalTrack() const { return viewHeight() - 2 * Size::Arrow; }          // T
    int horizontalTrack() const { return viewWidth() - 2 * Size::Arrow; }         // TH
    double horizontalOffset() const { return areaLeft - gutterWidth; }            // X
};

} // namespace grid
