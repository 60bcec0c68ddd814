#pragma once
// What the grid's content and history need from the widget that shows them: redraws, scroll
// bar refits, column layout and the selected row's editors. The core calls these at the
// points where the control redraws or re-lays itself; a view that ignores them is valid.

namespace grid {

class GridView {
public:
    virtual ~GridView() = default;

    // Draw column Stol (1..32), every column and then the gutter (-1), or the gutter and the
    // area below the last row (-2). The core calls it only while DoNotRender is off.
    virtual void renderColumn(int Stol) = 0;
    // Refit both scroll bars to the row count, the column widths and the size.
    virtual void setScrollers() = 0;
    // Size the row-number gutter to the digits of ListCount.
    virtual void fitCounterColumn() = 0;
    // Hide the selected row's editors and its marker; iSelected keeps its value.
    virtual void deselectRow() = 0;
    // The columns from `first` on changed place, width or number (added, removed, resized):
    // re-place their bodies, the column area's width, the caption labels and header lines,
    // and anchor the column area in its viewport.
    virtual void columnsChanged(int first) = 0;
    // The rows from `first` on were inserted, removed, moved or replaced wholesale (a clear,
    // its undo, a reader's reset): a row at or below `first` may now hold another row's cells.
    virtual void rowsChanged(int first) = 0;
    // A member is about to change the grid: a cell edit in progress ends now with its own
    // record, so the history holds it below the member's step and the edit is never typed
    // back over the change.
    virtual void changeBegins() = 0;
    // The member's change is done: the open row's editors show their cells as they are now.
    virtual void changeEnded() = 0;
    // The caption of column `index` changed.
    virtual void columnCaptionChanged(int index) = 0;
    // Column `index`'s editor was enabled or disabled.
    virtual void columnEditChanged(int index) = 0;
    // The column area and the header strip go back to the gutter's edge (no sideways scroll).
    virtual void resetHorizontalScroll() = 0;
    // The document's content changed: a cell's text or format, the rows, the columns, their
    // widths or captions, by any path (a member, undo, redo, a direct write). A change made
    // inside a ChangeScope is told once, when the outermost scope closes.
    virtual void contentChanged() {}
    // The active cell moved: iSelected or EditColumn took another value.
    virtual void activeCellChanged() {}
    // Height in pixels of the area that shows the rows: the grid's height less the header
    // strip and the horizontal scroll strip.
    virtual int rowAreaHeight() const = 0;
};

} // namespace grid
