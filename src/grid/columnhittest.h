#pragma once
// ColumnHitTest: where a pointer position falls among the grid's columns and rows, and the
// limits of a column-border drag. Positions are in the control's pixels.

#include <vector>

namespace grid {

struct ColumnHitTest {
    double areaLeft = 0;         // left edge of the column area
    std::vector<int> lefts;      // Left(j) of columns 1..n, index 0 for column 1
    std::vector<int> widths;     // Width(j)
    int listCount = 1;
    int scrollTop = 0;

    double right(int column) const;
    // The column whose border zone (its last pixel, the gap and the next pixel) holds X;
    // the highest such column, 0 for none.
    int borderColumn(double X) const;
    // The lowest Y that lies below every row (the scroll offset is not counted).
    int rowsBottom() const;
    // The column of a press on the rows: the first whose right edge is at or beyond X.
    int editColumnAt(double X) const;
    // The row a press at Y asks for; above ListCount when below the last row.
    int rowAt(double Y) const;
    // Whether the pointer shows the sizing shape at (X, Y), the vertical strip starting at
    // stripLeft and the gutter ending at gutterWidth.
    bool showsSizingPointer(double X, double Y, int gutterWidth, int stripLeft) const;
    // The splitter's lowest and highest Left while column col is dragged.
    int splitterMin(int column) const;
    int splitterMax(int column) const;
    // The width a release gives for the splitter at splitterLeft.
    int widthForSplitter(int column, double splitterLeft) const;
};

} // namespace grid
