#pragma once
// What find needs from the grid widget to show a hit: the geometry of the column area, the
// sideways scroll, the row selection and the highlight in a cell editor. The grid widget
// implements it; without a widget, find only moves the grid's selected row.

namespace grid {

class FindView {
public:
    virtual ~FindView() = default;

    // Height in pixels of the area that shows the rows.
    virtual int rowAreaHeight() const = 0;
    // Left edge of the column area within the control (negative or small when scrolled).
    virtual int columnAreaLeft() const = 0;
    // Moves the column area and the caption strip to this left edge, then refits the scroll
    // bars.
    virtual void setColumnAreaLeft(int left) = 0;
    // Width of the row-number gutter: where the visible columns begin.
    virtual int gutterWidth() const = 0;
    // Where the visible columns end: the control's width less the vertical scroll bar's.
    virtual int columnViewRight() const = 0;
    // SelectItem(row, 1, column): selects the row and gives the column's editor the focus.
    virtual void selectItem(int row, int column) = 0;
    // The control repaints itself.
    virtual void repaint() = 0;
    // In the editor of the column: keep the next focus from selecting all, and select
    // `length` characters from the zero-based `start`.
    virtual void highlight(int column, int start, int length) = 0;
};

} // namespace grid
