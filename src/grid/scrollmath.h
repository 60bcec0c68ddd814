#pragma once
// ScrollBarState and the arithmetic of the grid's own scroll bars: thumb sizes and
// positions, the grab offset of a press, and the offsets a thumb drag gives.

#include "grid/gridmeasures.h"

#include <optional>

namespace grid {

struct Thumb {
    bool visible = false;
    float pos = 0;    // top (vertical) or left (horizontal), in its strip's coordinates
    float size = 0;   // height or width
};

struct ScrollBarState {
    Thumb vertical;
    Thumb horizontal;
    bool upEnabled = false;
    bool downEnabled = false;
    bool leftEnabled = false;
    bool rightEnabled = false;
};

// Fits both thumbs and the four arrows to the content and the current offsets. The thumbs
// are never shorter than 10 pixels; the offsets are read, never changed.
void fitScrollBars(const GridMeasures& m, ScrollBarState& state);

// The grab offset of a press at p on a strip whose thumb spans start..start+size: the offset
// into the thumb when the press hits it, else half the thumb so that its middle jumps there.
int grabOffset(double p, float start, float size);

// The new thumb position for a drag to d: held between lo and hi.
float dragThumbTo(double d, float lo, float hi);

// Vertical drag: the thumb's lowest and highest top, and the unrounded ScrollTop that a top
// gives; nullopt when the thumb fills the whole track.
float verticalThumbMin();
float verticalThumbMax(const GridMeasures& m, float thumbHeight);
std::optional<double> scrollTopForThumb(const GridMeasures& m, float top, float thumbHeight);

// Horizontal drag: the same for the thumb's left edge, in the control's coordinates, and
// the left edge of the column area that it gives.
float horizontalThumbMin(const GridMeasures& m);
float horizontalThumbMax(const GridMeasures& m, float thumbWidth);
std::optional<double> areaLeftForThumb(const GridMeasures& m, float left, float thumbWidth);

// Bringing a cell into view. The ScrollTop that shows row `row` (1-based) in a row area
// `visibleHeight` pixels high: the row's top at the area's top when it lies above, its
// bottom at the area's bottom when it lies below; nullopt when it is already in view.
std::optional<int> scrollTopShowingRow(int row, int scrollTop, int visibleHeight);
// The left edge of the column area that shows a column starting `columnLeft` pixels into
// the area and `width` wide between the view's left and right edges; nullopt when it
// already shows.
std::optional<int> areaLeftShowingColumn(int columnLeft, int width, int areaLeft, int viewLeft,
                                         int viewRight);

} // namespace grid
