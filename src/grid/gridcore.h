#pragma once
// The grid's content and edit history without any widget: rows of formatted cells, 1 to 32
// columns with widths, captions and editing state, the selection and scroll state that the
// row operations keep, and the undo and redo stacks with their replay.
//
// Public API, by the control's member names:
//   rows      AddRow, AddMoreThanOneRow, RemoveItem, Clear, ClearEntireList
//   cells     GetItem, ChangeItem, GetItallic, GetUnderlined, GetColor,
//             SetBold, SetItallic, SetUnderlined, SetColor
//   columns   AddColumn, RemoveColumn, GetWidthColumn, LetWidthColumn, GetColumnHeader,
//             SetColumnHeader, DisableEdit, EnableEdit
//   history   undo, redo, ClearUndoRedo
//   drawing   RenderColumn, RenderAllColumns, SetScrollers: forwarded to the GridView
//             (RenderColumn only while DoNotRender is off)
//   state     ListCount, ColumnCount, iSelected, EditColumn, ScrollTop, DoNotRender, the replay
//             flags and the colours.
// Every change records one history step by the push rules below and tells the view what to
// redraw; every change of the rows, by any path (a call, undo, redo, a reader's reset), also
// tells it from which row on the rows moved, so an open row there can close. Row and column
// arguments outside the grid are answered with an empty result or by doing nothing.
//
// Readers and writers that work beside the history (the list file, the spreadsheet import,
// find and replace, the cell editor) use the "direct access" members: they read and write
// cells, the row count and captions without records or redraws, then redraw and clear the
// history themselves as their own rules say.
//
// Every member that changes the grid runs inside a ChangeScope: before the change the view
// ends a cell edit in progress with its record, after it the view shows the cells anew. A
// writer beside the history that records its changes (find and replace) opens one itself.
//
// Every change of the content, by any path (a member, undo, redo, the direct access members),
// is told to the view (GridView::contentChanged): at once, or once for a whole ChangeScope.
// A document window marks its document changed through it alone. A move of the active cell
// (iSelected or EditColumn taking another value) is told as well (GridView::activeCellChanged).
//
// The view is not owned; it must outlive the core or be replaced by setView(nullptr) first.

#include "grid/gridcell.h"
#include "grid/gridcolors.h"
#include "grid/gridcolumn.h"
#include "grid/gridrow.h"
#include "grid/history/historystack.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace grid {

class GridView;

class GridCore {
public:
    static constexpr int MaxColumns = 32;
    static constexpr int RowHeight = 16;
    static constexpr int MinColumnWidth = 5;    // AddColumn raises narrower widths to this
    static constexpr int MaxColumnWidth = 510;  // LetWidthColumn lowers wider widths to this

    // A new grid: one empty column 100 wide with an empty caption, one empty row, no
    // selection, no scroll offset and no history. With no view, a view that shows nothing.
    explicit GridCore(GridView* view = nullptr);
    ~GridCore();
    GridCore(const GridCore&) = delete;
    GridCore& operator=(const GridCore&) = delete;

    void setView(GridView* view);

    // One change of the grid as the view sees it: GridView::changeBegins when the outermost
    // scope opens, GridView::changeEnded when it closes (also when the change fails).
    class ChangeScope {
    public:
        explicit ChangeScope(GridCore& grid);
        ~ChangeScope();
        ChangeScope(const ChangeScope&) = delete;
        ChangeScope& operator=(const ChangeScope&) = delete;

    private:
        GridCore& m_grid;
    };

    // ---- State
    int ListCount() const { return m_listCount; }
    int ColumnCount() const { return int(m_columns.size()) - 1; }
    int iSelected() const { return m_selected; }
    void setiSelected(int row);
    int EditColumn() const { return m_editColumn; }
    void setEditColumn(int column);
    int ScrollTop() const { return m_scrollTop; }
    void setScrollTop(int offset) { m_scrollTop = offset < 0 ? offset : 0; }
    bool DoNotRender() const { return m_doNotRender; }
    void setDoNotRender(bool on) { m_doNotRender = on; }
    bool UndoReplaying() const { return m_undoReplaying; }
    bool RedoReplaying() const { return m_redoReplaying; }
    bool ColumnHistoryOff() const { return m_columnHistoryOff; }
    GridColors& colors() { return m_colors; }
    const GridColors& colors() const { return m_colors; }

    // ---- Rows
    // Inserts an empty row before row Index (1..ListCount) or appends one (any other Index);
    // St1 becomes the text of its column 1. Returns the new row's number. Records "#ADDITM#".
    int AddRow(const QString& St1 = QString(), int Index = 0);
    // Appends NumberOfRows empty rows (nothing below 1); one "#ADDMT1#" step; hides the
    // selected row's editors.
    void AddMoreThanOneRow(int NumberOfRows);
    // Removes row Index (1..ListCount; any other Index does nothing). Removing the only row
    // leaves one empty row and the history as it was. NeIzrisi suppresses the redraw and the
    // scroll adjustment.
    void RemoveItem(int Index, bool NeIzrisi = false);
    // Empties all rows down to one; columns unchanged; one "#CLEARs#" step.
    void Clear();
    // One column, one row, no history, no scroll offset; draws nothing.
    void ClearEntireList();

    // ---- Cells (rows 1..ListCount, columns 1..ColumnCount)
    QString GetItem(int line, int Colum) const;
    void ChangeItem(int Row, int Column, const QString& Text);
    bool GetItallic(int line, int Column) const;
    bool GetUnderlined(int line, int Column) const;
    uint32_t GetColor(int line, int Column) const;
    void SetBold(int line, int Column, bool Vrednost);
    void SetItallic(int line, int Column, bool Vrednost);
    void SetUnderlined(int line, int Column, bool Vrednost);
    void SetColor(int line, int Column, uint32_t Vrednost);

    // ---- Columns
    // Index 0 appends; 1..ColumnCount+1 inserts at that number; nothing at 32 columns or for
    // any other Index. Widths below 5 become 5.
    void AddColumn(int Index, int Width, const QString& HeaderTitle);
    // Removes column Index; on a one-column grid empties the rows (Clear) instead.
    void RemoveColumn(int Index);
    int GetWidthColumn(int Index) const;
    // Widths above 510 become 510; a negative width is refused.
    void LetWidthColumn(int Index, int Width);
    QString GetColumnHeader(int Index) const;
    void SetColumnHeader(int Index, const QString& NovNaslov);
    void DisableEdit(int Stol);
    void EnableEdit(int Stol);
    // Whether column Stol's cell editor may take the focus; false outside 1..ColumnCount.
    bool isEditEnabled(int Stol) const;
    // Left edge of column Index in the column area: Left(i) = Left(i-1) + Width(i-1) + 1,
    // the template column 0 standing at -2 with width 1, so column 1 is at 0.
    int columnLeft(int Index) const;
    // Width of the column area: the sum over the columns of width + 1.
    int columnAreaWidth() const;

    // ---- History
    // Undoes up to Number steps (below 1 counts as 1; bounded by the stack's text-record
    // count, written to *NumberUsed). False, with nothing changed, when there is nothing to
    // undo. A step that fails is skipped. Replay flags and DoNotRender are reset on every exit.
    bool undo(int Number = 1, int* NumberUsed = nullptr);
    // The same for redo. A step that fails ends the redo and its exception reaches the
    // caller, with the flags and DoNotRender already reset.
    bool redo(int Number = 1, int* NumberUsed = nullptr);
    void ClearUndoRedo();
    // The record of a text change made by ChangeItem, the cell editor or find and replace:
    // "#SETTXT#" with the text from before onto the undo stack, and the redo stack emptied,
    // whatever the flags say.
    void recordTextEdit(int row, int column, const QString& oldText);

    const HistoryStack& UndoStack() const { return m_undo; }
    const HistoryStack& RedoStack() const { return m_redo; }

    // ---- Drawing, forwarded to the view
    void RenderColumn(int Stol);
    void RenderAllColumns() { RenderColumn(-1); }
    void SetScrollers();

    // ---- Direct access: no history record, no redraw
    // Rows 0..ListCount, cells 0..32 (row 0 and cell 0 hold no grid cell but may be
    // written); anything else reads empty and is not written.
    const GridRow& row(int r) const;
    GridCell cell(int r, int c) const;
    bool setCell(int r, int c, const GridCell& value);
    bool setCellText(int r, int c, const QString& text);
    // Row r (0..ListCount) holds exactly these cells, cells[k] in column k + 1, and nothing
    // else; the fast way for a reader to fill a whole row.
    bool setRowCells(int r, std::span<const GridCell> cells);
    // ListCount := count (at least 1) with every cell empty; refits the gutter and tells the
    // view that every row changed.
    void resetRows(int count);
    // The same with the rows a reader has filled: rows[r] becomes row r (rows[0] holds no
    // row), so a long document moves in without a copy. An empty vector gives one empty row.
    void resetRows(std::vector<GridRow> rows);
    // Sets a caption without a record (the list file's header).
    void setColumnCaption(int Index, const QString& caption);

private:
    friend class HistoryRecord;
    class ReplayScope;
    enum class Stack { None, Undo, Redo };

    bool inGrid(int r, int c) const;
    bool cellExists(int r, int c) const;
    bool directRow(int r) const;
    bool directCell(int r, int c) const;
    GridView& view() const;

    int replayTextSteps(HistoryStack& from, HistoryStack& to, int most);
    Stack pushByRule(std::unique_ptr<HistoryRecord> record);
    void pushOntoUndo(std::unique_ptr<HistoryRecord> record, bool emptyRedo);
    void pushCounterpart(std::unique_ptr<HistoryRecord> record);

    void insertRowAt(int Index);
    void removeRowAt(int Index, int oldCount);
    bool rowsHoldOtherCells(int first, int last) const;
    bool rowsMayHoldOtherCells(int first, int last);
    void noteDirectWrite(int r, int c);
    void refillOnlyRow(Stack removalRecordedOn);
    void keepLastRowInView();
    int dropLastRows(int count);
    void restoreRowCount(int count);

    void appendColumn(int Width, const QString& HeaderTitle);
    void insertColumn(int Index, int Width, const QString& HeaderTitle);
    void recordColumnRemoval(int Index);

    GridView* m_view = nullptr;
    std::vector<GridRow> m_rows;        // element r is row r; element 0 holds no row
    std::vector<GridColumn> m_columns;  // element i is column i; element 0 is the template
    int m_listCount = 0;
    int m_selected = 0;
    int m_editColumn = 0;
    int m_scrollTop = 0;
    bool m_doNotRender = false;
    bool m_undoReplaying = false;
    bool m_redoReplaying = false;
    bool m_columnHistoryOff = false;
    int m_changeDepth = 0; // open ChangeScopes
    // Whether some row from 1 on may hold cell 0 or a cell above the columns. Only the direct
    // access members can put such a cell there, and each of them sets this; a scan that finds
    // none clears it. So a row insert or removal on an ordinary grid moves whole rows at once
    // instead of looking at every row below it first.
    bool m_otherCellsMayExist = false;
    bool m_editedInScope = false;
    // The content changed: told to the view now, or when the outermost ChangeScope closes.
    void noteEdited();
    GridColors m_colors;
    HistoryStack m_undo;
    HistoryStack m_redo;
};

} // namespace grid
