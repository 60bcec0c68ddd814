#pragma once
// GridPainter: paints a List from its numbers: the header strip with its captions, the
// row-number gutter, the column bodies with their cells and grid lines, the scroll strips
// and the corner pieces. Only the rows in view are drawn.

#include "grid/gridlayout.h"

#include <QRect>

class QPainter;

namespace grid {

class List;

class GridPainter {
public:
    GridPainter(const List& list, QPainter& painter);
    // Paints the parts that meet the exposed rectangle.
    void paint(const QRect& exposed);

    // The window of rows a pass draws: first lies in the band just above the view.
    static int firstRow(int scrollTop);
    static int lastRow(int scrollTop, int viewHeight, int listCount);

private:
    void paintColumnArea();
    void paintColumn(int k, int first, int last);
    void paintGutter();
    void paintHeader();
    void paintStrips();
    void paintSplitter();
    // Lines from the first point up to, not including, the second, so that adjoining lines
    // never draw a pixel twice; only horizontal and vertical ones are needed.
    void line(int x1, int y1, int x2, int y2, unsigned color);

    const List& list_;
    QPainter& p_;
    const GridLayout layout_; // taken once: every part of a pass is placed from the same numbers
    QRect exposed_;
};

} // namespace grid
