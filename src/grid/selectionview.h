#pragma once
// What the grid's selection and in-cell editing need from the grid widget: its measures in
// pixels, the horizontal position of the column area, the column bodies' background colours,
// the row marker, the focus target that takes the focus away from the editors, and repaints.

#include <QRect>
#include <cstdint>

class QWidget;

namespace grid {

class SelectionView {
public:
    virtual ~SelectionView() = default;

    // The widget the cell editors are children of: the grid itself, whose pixel coordinates
    // the editors are placed in.
    virtual QWidget* editorParent() = 0;

    // The grid's size, the header strip's height (picTop), the row-number gutter's width
    // (picCnt) and the scroll strips' thickness (PicScrV's width, PicScrH's height).
    virtual int gridWidth() const = 0;
    virtual int gridHeight() const = 0;
    virtual int headerHeight() const = 0;
    virtual int gutterWidth() const = 0;
    virtual int vScrollWidth() const = 0;
    virtual int hScrollHeight() const = 0;

    // Left edge of the column area (picOzadje) in the grid; setting it moves the caption
    // strip (picHeader) along.
    virtual int columnAreaLeft() const = 0;
    virtual void setColumnAreaLeft(int left) = 0;

    // Background colour of column body k; setting it does not redraw.
    virtual uint32_t columnBodyColor(int k) const = 0;
    virtual void setColumnBodyColor(int k, uint32_t color) = 0;

    // The row marker (PicEdit) at `top` within the gutter, showing `row`; or hidden.
    virtual void showRowMarker(int top, int row) = 0;
    virtual void hideRowMarker() = 0;

    // Gives the keyboard focus to the vertical scroll bar (PicScrV).
    virtual void focusScrollBar() = 0;
    // The grid's mouse pointer back to the default shape.
    virtual void setDefaultPointer() = 0;
    // Repaint the whole grid.
    virtual void repaintGrid() = 0;

    // The rectangle the rows show in, in the grid's pixels: right of the gutter, below the
    // header strip, and left of and above the scroll strips.
    QRect rowArea() const
    {
        return QRect(gutterWidth(), headerHeight(), gridWidth() - vScrollWidth() - gutterWidth(),
                     gridHeight() - hScrollHeight() - headerHeight());
    }
};

} // namespace grid
