#pragma once
// GridLayout: where each part of the grid lies for the current measures, and the offset
// corrections a resize makes so that no empty space shows past the last row or column.

#include "grid/gridmeasures.h"

#include <QRect>

namespace grid {

struct GridLayout {
    // Parts in the control's coordinates (children of the strips mapped out of them).
    QRect picTop, picTopL, PicTopD, picCnt, PicScrV, btnGor, btnDol, PicScrH, shpDolLevo, btnLevo,
        btnDesno, PicKot;
    QRect view;          // the rows' visible rectangle: x from G to W - 16, y from 20 to H - 16
    int areaLeft = 0;    // picOzadje and picHeader, rounded to a pixel for drawing

    static GridLayout of(const GridMeasures& m);
};

// ScrollTop after a resize: 0 when every row fits, V - C when the last row ended above the
// bottom of the view, else unchanged.
int clampScrollTop(const GridMeasures& m);
// The column area's left edge after a resize.
double clampAreaLeft(const GridMeasures& m);
// The gutter width for a row count: one "_" width plus one per digit, plus 2.
int gutterWidthFor(int listCount, int underscoreWidth);

} // namespace grid
