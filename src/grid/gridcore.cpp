#include "grid/gridcore.h"

#include "grid/gridview.h"
#include "grid/history/additemrecord.h"
#include "grid/history/addcolumnrecord.h"
#include "grid/history/addrowsrecord.h"
#include "grid/history/cellcolorrecord.h"
#include "grid/history/cellflagrecord.h"
#include "grid/history/celltextrecord.h"
#include "grid/history/cleargrouprecord.h"
#include "grid/history/columncaptionrecord.h"
#include "grid/history/columnwidthrecord.h"
#include "grid/history/removecolumngrouprecord.h"
#include "grid/history/removeitemrecord.h"
#include "grid/nullgridview.h"

#include <algorithm>
#include <array>
#include <utility>

namespace grid {

namespace {
NullGridView& nullView()
{
    static NullGridView view;
    return view;
}
} // namespace

// Holds the replay flags and DoNotRender for one undo or redo call and resets them on every
// way out, a failing step included, so the grid always draws again afterwards.
class GridCore::ReplayScope {
public:
    ReplayScope(GridCore& grid, bool& flag) : m_grid(grid), m_flag(flag)
    {
        m_flag = true;
        m_grid.m_doNotRender = true;
    }
    ~ReplayScope()
    {
        m_flag = false;
        m_grid.m_doNotRender = false;
    }
    ReplayScope(const ReplayScope&) = delete;
    ReplayScope& operator=(const ReplayScope&) = delete;

private:
    GridCore& m_grid;
    bool& m_flag;
};

GridCore::ChangeScope::ChangeScope(GridCore& grid) : m_grid(grid)
{
    if (m_grid.m_changeDepth++ == 0)
        m_grid.view().changeBegins();
}

GridCore::ChangeScope::~ChangeScope()
{
    if (--m_grid.m_changeDepth == 0) {
        m_grid.view().changeEnded();
        if (std::exchange(m_grid.m_editedInScope, false))
            m_grid.view().contentChanged();
    }
}

void GridCore::noteEdited()
{
    if (m_changeDepth > 0)
        m_editedInScope = true;
    else
        view().contentChanged();
}

GridCore::GridCore(GridView* view) : m_view(view), m_colors(GridColors::defaults())
{
    m_rows.resize(1);
    GridColumn templateColumn;
    templateColumn.Width = 1;
    m_columns.push_back(templateColumn);
    AddColumn(0, 100, QString());
    AddRow(QString(), 0);
    RenderColumn(-1);
    ClearUndoRedo();
}

GridCore::~GridCore() = default;

void GridCore::setView(GridView* view)
{
    m_view = view;
}

GridView& GridCore::view() const
{
    return m_view ? *m_view : nullView();
}

void GridCore::setiSelected(int row)
{
    if (std::exchange(m_selected, row) != row)
        view().activeCellChanged();
}

void GridCore::setEditColumn(int column)
{
    if (std::exchange(m_editColumn, column) != column)
        view().activeCellChanged();
}

bool GridCore::inGrid(int r, int c) const
{
    return r >= 1 && r <= m_listCount && c >= 1 && c <= ColumnCount();
}

bool GridCore::cellExists(int r, int c) const
{
    return r >= 1 && r <= m_listCount && c >= 1 && c < GridRow::CellCount;
}

// ---------------------------------------------------------------- history pushes

GridCore::Stack GridCore::pushByRule(std::unique_ptr<HistoryRecord> record)
{
    if (m_undoReplaying) {
        m_redo.push(std::move(record));
        return Stack::Redo;
    }
    pushOntoUndo(std::move(record), !m_redoReplaying);
    return Stack::Undo;
}

void GridCore::pushOntoUndo(std::unique_ptr<HistoryRecord> record, bool emptyRedo)
{
    m_undo.push(std::move(record));
    if (emptyRedo)
        m_redo.clear();
}

void GridCore::pushCounterpart(std::unique_ptr<HistoryRecord> record)
{
    if (m_undoReplaying)
        m_redo.push(std::move(record));
    else
        m_undo.push(std::move(record));
}

void GridCore::recordTextEdit(int row, int column, const QString& oldText)
{
    m_undo.pushText(row, column, oldText);
    m_redo.clear();
}

void GridCore::ClearUndoRedo()
{
    m_undo.clear();
    m_redo.clear();
}

// ---------------------------------------------------------------- drawing

void GridCore::RenderColumn(int Stol)
{
    if (!m_doNotRender)
        view().renderColumn(Stol);
}

void GridCore::SetScrollers()
{
    view().setScrollers();
}

// ---------------------------------------------------------------- rows

bool GridCore::rowsHoldOtherCells(int first, int last) const
{
    const int columns = ColumnCount();
    for (int r = std::max(first, 0); r <= last && r < int(m_rows.size()); ++r)
        if (m_rows[r].hasContentOutsideColumns(columns))
            return true;
    return false;
}

// Whether rows first..last hold such cells, asked only while some row may. A scan that finds
// none anywhere settles it until a direct write puts one there again.
bool GridCore::rowsMayHoldOtherCells(int first, int last)
{
    if (!m_otherCellsMayExist)
        return false;
    if (rowsHoldOtherCells(first, last))
        return true;
    m_otherCellsMayExist = rowsHoldOtherCells(1, first - 1) || rowsHoldOtherCells(last + 1, int(m_rows.size()) - 1);
    return false;
}

void GridCore::noteDirectWrite(int r, int c)
{
    if (r >= 1 && (c < 1 || c > ColumnCount()))
        m_otherCellsMayExist = true;
}

// Rows move over the grid's columns only: cell 0 and cells above ColumnCount stay with their
// row number. Moving whole rows is the same thing whenever none of them holds such cells.
void GridCore::insertRowAt(int Index)
{
    const int oldCount = m_listCount - 1;
    if (!rowsMayHoldOtherCells(Index, oldCount)) {
        m_rows.insert(m_rows.begin() + Index, GridRow());
        return;
    }
    const int columns = ColumnCount();
    m_rows.resize(m_listCount + 1);
    for (int r = m_listCount; r > Index; --r)
        for (int c = 1; c <= columns; ++c)
            m_rows[r].setCell(c, m_rows[r - 1].cell(c));
    m_rows[Index].clearCells(1, columns);
}

void GridCore::removeRowAt(int Index, int oldCount)
{
    if (!rowsMayHoldOtherCells(Index, oldCount)) {
        m_rows.erase(m_rows.begin() + Index);
        return;
    }
    const int columns = ColumnCount();
    for (int r = Index; r < oldCount; ++r)
        for (int c = 1; c <= columns; ++c)
            m_rows[r].setCell(c, m_rows[r + 1].cell(c));
    m_rows[oldCount].clearCells(1, columns);
}

int GridCore::AddRow(const QString& St1, int Index)
{
    ChangeScope change(*this);
    const bool insert = Index >= 1 && Index <= m_listCount;
    ++m_listCount;
    if (insert) {
        insertRowAt(Index);
    } else {
        m_rows.resize(m_listCount + 1);
        Index = m_listCount;
    }
    view().fitCounterColumn();
    m_rows[Index].setText(1, St1);
    view().rowsChanged(Index);
    pushByRule(std::make_unique<AddItemRecord>(Index));
    noteEdited();
    RenderAllColumns();
    SetScrollers();
    return Index;
}

void GridCore::AddMoreThanOneRow(int NumberOfRows)
{
    if (NumberOfRows < 1)
        return;
    ChangeScope change(*this);
    const int first = m_listCount + 1;
    m_listCount += NumberOfRows;
    m_rows.resize(m_listCount + 1);
    view().fitCounterColumn();
    view().rowsChanged(first);
    pushByRule(std::make_unique<AddRowsRecord>(NumberOfRows));
    noteEdited();
    RenderAllColumns();
    SetScrollers();
    view().deselectRow();
}

void GridCore::RemoveItem(int Index, bool NeIzrisi)
{
    // A stale or missing selection (0, or a row that is gone) removes nothing.
    if (Index < 1 || Index > m_listCount)
        return;
    ChangeScope change(*this);
    const int oldCount = m_listCount;
    --m_listCount;
    RemoveItemRecord::Cells cells;
    for (int c = 1; c <= ColumnCount(); ++c)
        cells.emplace_back(c, m_rows[Index].cell(c));
    const Stack recordedOn = pushByRule(std::make_unique<RemoveItemRecord>(Index, std::move(cells)));
    removeRowAt(Index, oldCount);
    if (m_listCount == 0)
        refillOnlyRow(recordedOn);
    m_rows.resize(m_listCount + 1);
    view().rowsChanged(Index);
    noteEdited();
    if (!NeIzrisi) {
        keepLastRowInView();
        RenderColumn(-1);
    }
    view().fitCounterColumn();
    SetScrollers();
}

// The only row was removed: one empty row takes its place, and the two records this call
// pushed (the removal and the refill) come off their stacks again, leaving every other step.
void GridCore::refillOnlyRow(Stack removalRecordedOn)
{
    const bool undoReplaying = m_undoReplaying;
    const bool redoReplaying = m_redoReplaying;
    m_undoReplaying = false;
    m_redoReplaying = true;
    AddRow(QString(), 0);
    m_undoReplaying = undoReplaying;
    m_redoReplaying = redoReplaying;
    m_undo.pop();
    if (removalRecordedOn == Stack::Undo)
        m_undo.pop();
    else if (removalRecordedOn == Stack::Redo)
        m_redo.pop();
}

void GridCore::keepLastRowInView()
{
    const int visible = view().rowAreaHeight();
    const int content = m_listCount * RowHeight;
    if (visible - content > m_scrollTop)
        m_scrollTop = std::min(visible - content, 0);
}

void GridCore::Clear()
{
    ChangeScope change(*this);
    std::vector<ClearGroupRecord::Row> rows;
    for (int r = 1; r <= m_listCount; ++r) {
        ClearGroupRecord::Row row{r, {}};
        for (int c = 1; c <= ColumnCount(); ++c) {
            if (!m_rows[r].text(c).isEmpty())
                row.cells.emplace_back(c, m_rows[r].cell(c));
        }
        if (!row.cells.empty())
            rows.push_back(std::move(row));
    }
    pushOntoUndo(std::make_unique<ClearGroupRecord>(m_listCount, std::move(rows)), !m_redoReplaying);
    m_listCount = 1;
    m_rows = std::vector<GridRow>(2);
    m_otherCellsMayExist = false;
    view().fitCounterColumn();
    view().rowsChanged(1);
    noteEdited();
    m_scrollTop = 0;
    RenderColumn(-1);
    SetScrollers();
}

void GridCore::ClearEntireList()
{
    ChangeScope change(*this);
    m_columns.resize(2);
    m_rows = std::vector<GridRow>(2);
    m_otherCellsMayExist = false;
    m_listCount = 1;
    view().fitCounterColumn();
    // Before the columns are re-laid, which would otherwise end a visit with a record.
    view().rowsChanged(1);
    ClearUndoRedo();
    noteEdited();
    m_scrollTop = 0;
    view().columnsChanged(2);
    view().resetHorizontalScroll();
    SetScrollers();
}

int GridCore::dropLastRows(int count)
{
    const int removed = std::clamp(count, 0, m_listCount - 1);
    m_listCount -= removed;
    m_rows.resize(m_listCount + 1);
    view().fitCounterColumn();
    if (removed > 0)
        view().rowsChanged(m_listCount + 1);
    if (removed > 0)
        noteEdited();
    return removed;
}

// The cleared rows come back, and their cells with them: every row may change.
void GridCore::restoreRowCount(int count)
{
    m_listCount = std::max(count, 1);
    m_rows.resize(m_listCount + 1);
    view().fitCounterColumn();
    view().rowsChanged(1);
    noteEdited();
}

// ---------------------------------------------------------------- cells

QString GridCore::GetItem(int line, int Colum) const
{
    return inGrid(line, Colum) ? m_rows[line].text(Colum) : QString();
}

bool GridCore::GetItallic(int line, int Column) const
{
    return inGrid(line, Column) && m_rows[line].italic(Column);
}

bool GridCore::GetUnderlined(int line, int Column) const
{
    return inGrid(line, Column) && m_rows[line].underline(Column);
}

uint32_t GridCore::GetColor(int line, int Column) const
{
    return inGrid(line, Column) ? m_rows[line].color(Column) : 0;
}

void GridCore::ChangeItem(int Row, int Column, const QString& Text)
{
    if (!inGrid(Row, Column))
        return;
    ChangeScope change(*this);
    const bool changes = m_rows[Row].text(Column) != Text;
    recordTextEdit(Row, Column, m_rows[Row].text(Column));
    m_rows[Row].setText(Column, Text);
    if (changes)
        noteEdited();
    RenderColumn(Column);
}

void GridCore::SetBold(int line, int Column, bool Vrednost)
{
    if (!inGrid(line, Column))
        return;
    ChangeScope change(*this);
    pushByRule(std::make_unique<CellFlagRecord>(CellFlagRecord::Flag::Bold, line, Column, m_rows[line].bold(Column)));
    const bool changes = m_rows[line].bold(Column) != Vrednost;
    m_rows[line].setBold(Column, Vrednost);
    if (changes)
        noteEdited();
    RenderColumn(Column);
}

void GridCore::SetItallic(int line, int Column, bool Vrednost)
{
    if (!inGrid(line, Column))
        return;
    ChangeScope change(*this);
    pushByRule(std::make_unique<CellFlagRecord>(CellFlagRecord::Flag::Italic, line, Column,
                                                m_rows[line].italic(Column)));
    const bool changes = m_rows[line].italic(Column) != Vrednost;
    m_rows[line].setItalic(Column, Vrednost);
    if (changes)
        noteEdited();
    RenderColumn(Column);
}

void GridCore::SetUnderlined(int line, int Column, bool Vrednost)
{
    if (!inGrid(line, Column))
        return;
    ChangeScope change(*this);
    pushByRule(std::make_unique<CellFlagRecord>(CellFlagRecord::Flag::Underline, line, Column,
                                                m_rows[line].underline(Column)));
    const bool changes = m_rows[line].underline(Column) != Vrednost;
    m_rows[line].setUnderline(Column, Vrednost);
    if (changes)
        noteEdited();
    RenderColumn(Column);
}

void GridCore::SetColor(int line, int Column, uint32_t Vrednost)
{
    if (!inGrid(line, Column))
        return;
    ChangeScope change(*this);
    pushByRule(std::make_unique<CellColorRecord>(line, Column, m_rows[line].color(Column)));
    const bool changes = m_rows[line].color(Column) != Vrednost;
    m_rows[line].setColor(Column, Vrednost);
    if (changes)
        noteEdited();
    RenderColumn(Column);
}

// ---------------------------------------------------------------- direct access

bool GridCore::directRow(int r) const
{
    return r >= 0 && r <= m_listCount;
}

bool GridCore::directCell(int r, int c) const
{
    return directRow(r) && c >= 0 && c < GridRow::CellCount;
}

const GridRow& GridCore::row(int r) const
{
    static const GridRow empty;
    return directRow(r) ? m_rows[r] : empty;
}

GridCell GridCore::cell(int r, int c) const
{
    return row(r).cell(c);
}

bool GridCore::setCell(int r, int c, const GridCell& value)
{
    if (!directCell(r, c))
        return false;
    noteDirectWrite(r, c);
    m_rows[r].setCell(c, value);
    noteEdited();
    return true;
}

bool GridCore::setCellText(int r, int c, const QString& text)
{
    if (!directCell(r, c))
        return false;
    if (m_rows[r].text(c) == text)
        return true;
    if (!text.isEmpty())
        noteDirectWrite(r, c);
    m_rows[r].setText(c, text);
    noteEdited();
    return true;
}

bool GridCore::setRowCells(int r, std::span<const GridCell> cells)
{
    if (!directRow(r))
        return false;
    if (cells.size() > size_t(ColumnCount()))
        noteDirectWrite(r, GridRow::CellCount - 1);
    m_rows[r].setCells(cells);
    noteEdited();
    return true;
}

void GridCore::resetRows(int count)
{
    m_listCount = std::max(count, 1);
    m_rows = std::vector<GridRow>(m_listCount + 1);
    m_otherCellsMayExist = false;
    view().fitCounterColumn();
    view().rowsChanged(1);
    noteEdited();
}

void GridCore::resetRows(std::vector<GridRow> rows)
{
    if (rows.size() < 2)
        rows.resize(2);
    m_listCount = int(rows.size()) - 1;
    m_rows = std::move(rows);
    // Rows made elsewhere may hold anything; the first insert or removal looks once.
    m_otherCellsMayExist = true;
    view().fitCounterColumn();
    view().rowsChanged(1);
    noteEdited();
}

void GridCore::setColumnCaption(int Index, const QString& caption)
{
    if (Index < 1 || Index > ColumnCount())
        return;
    m_columns[Index].Caption = caption;
    view().columnCaptionChanged(Index);
    noteEdited();
}

// ---------------------------------------------------------------- columns

int GridCore::columnLeft(int Index) const
{
    if (Index < 0 || Index > ColumnCount())
        return 0;
    int left = -2;
    for (int i = 1; i <= Index; ++i)
        left += m_columns[i - 1].Width + 1;
    return left;
}

int GridCore::columnAreaWidth() const
{
    int sum = 0;
    for (int i = 1; i <= ColumnCount(); ++i)
        sum += m_columns[i].Width + 1;
    return sum;
}

void GridCore::AddColumn(int Index, int Width, const QString& HeaderTitle)
{
    Width = std::max(Width, MinColumnWidth);
    if (ColumnCount() >= MaxColumns || Index < 0 || Index > ColumnCount() + 1)
        return;
    ChangeScope change(*this);
    int added = Index;
    if (Index == 0) {
        appendColumn(Width, HeaderTitle);
        added = ColumnCount();
    } else {
        insertColumn(Index, Width, HeaderTitle);
    }
    if (!m_columnHistoryOff && !m_undoReplaying)
        pushOntoUndo(std::make_unique<AddColumnRecord>(added), !m_redoReplaying);
    noteEdited();
}

void GridCore::appendColumn(int Width, const QString& HeaderTitle)
{
    m_columns.push_back(GridColumn{Width, HeaderTitle, true});
    const int n = ColumnCount();
    view().columnsChanged(n);
    RenderColumn(n);
    RenderColumn(-2);
    SetScrollers();
}

// The new column starts empty; the columns from Index on move one place to the right with
// their cells, widths, captions and editing state. Its editor takes the editing state of the
// column to its left (the template's, enabled, for column 1).
void GridCore::insertColumn(int Index, int Width, const QString& HeaderTitle)
{
    const bool editable = m_columns[Index - 1].Editable;
    m_columns.insert(m_columns.begin() + Index, GridColumn{Width, HeaderTitle, editable});
    const int n = ColumnCount();
    for (int r = 1; r <= m_listCount; ++r)
        m_rows[r].shiftCellsRight(Index, n);
    view().columnsChanged(Index);
    for (int k = Index; k <= n; ++k)
        RenderColumn(k);
    RenderColumn(-2);
    SetScrollers();
}

void GridCore::recordColumnRemoval(int Index)
{
    RemoveColumnGroupRecord::Cells cells;
    for (int r = 1; r <= m_listCount; ++r) {
        if (!m_rows[r].text(Index).isEmpty())
            cells.emplace_back(r, m_rows[r].cell(Index));
    }
    pushOntoUndo(std::make_unique<RemoveColumnGroupRecord>(Index, m_columns[Index].Caption, m_columns[Index].Width,
                                                           m_listCount, std::move(cells)),
                 !m_redoReplaying);
}

void GridCore::RemoveColumn(int Index)
{
    if (ColumnCount() < 2) {
        Clear();
        return;
    }
    if (Index < 1 || Index > ColumnCount())
        return;
    ChangeScope change(*this);
    const int oldCount = ColumnCount();
    if (!m_columnHistoryOff)
        recordColumnRemoval(Index);
    for (int r = 1; r <= m_listCount; ++r)
        m_rows[r].shiftCellsLeft(Index, oldCount);
    m_columns.erase(m_columns.begin() + Index);
    view().columnsChanged(Index);
    noteEdited();
    RenderAllColumns();
    SetScrollers();
}

int GridCore::GetWidthColumn(int Index) const
{
    return Index >= 1 && Index <= ColumnCount() ? m_columns[Index].Width : 0;
}

void GridCore::LetWidthColumn(int Index, int Width)
{
    Width = std::min(Width, MaxColumnWidth);
    if (Index < 1 || Index > ColumnCount() || Width < 0)
        return;
    ChangeScope change(*this);
    const int old = m_columns[Index].Width;
    m_columns[Index].Width = Width;
    view().columnsChanged(Index);
    RenderColumn(Index);
    SetScrollers();
    pushByRule(std::make_unique<ColumnWidthRecord>(Index, old));
    if (Width != old)
        noteEdited();
}

QString GridCore::GetColumnHeader(int Index) const
{
    return Index >= 1 && Index <= ColumnCount() ? m_columns[Index].Caption : QString();
}

void GridCore::SetColumnHeader(int Index, const QString& NovNaslov)
{
    if (Index < 1 || Index > ColumnCount())
        return;
    ChangeScope change(*this);
    const QString old = m_columns[Index].Caption;
    m_columns[Index].Caption = NovNaslov;
    view().columnCaptionChanged(Index);
    pushByRule(std::make_unique<ColumnCaptionRecord>(Index, old));
    if (NovNaslov != old)
        noteEdited();
}

void GridCore::DisableEdit(int Stol)
{
    if (Stol < 1 || Stol > ColumnCount())
        return;
    m_columns[Stol].Editable = false;
    view().columnEditChanged(Stol);
}

void GridCore::EnableEdit(int Stol)
{
    if (Stol < 1 || Stol > ColumnCount())
        return;
    m_columns[Stol].Editable = true;
    view().columnEditChanged(Stol);
}

bool GridCore::isEditEnabled(int Stol) const
{
    return Stol >= 1 && Stol <= ColumnCount() && m_columns[Stol].Editable;
}

// ---------------------------------------------------------------- undo and redo

// Replays the text steps on top of `from`, at most `most` of them, as "#SETTXT#" records
// would one by one: each puts its text into its cell and leaves the cell's text from before
// on `to`; a step for a cell that no longer exists changes nothing and leaves nothing. The
// steps of one row, which a replace-all leaves side by side, rebuild that row once and then
// leave `from` together. Returns the number of steps taken, 0 when the top step is no text
// step.
int GridCore::replayTextSteps(HistoryStack& from, HistoryStack& to, int most)
{
    std::array<QStringView, GridRow::CellCount> texts;
    int taken = 0;
    while (taken < most && from.isTextStep(0)) {
        const int row = from.textStep(0).row;
        if (row >= 1 && row <= m_listCount)
            for (int c = 0; c < GridRow::CellCount; ++c)
                texts[size_t(c)] = m_rows[row].textView(c);
        int widest = 0;
        int inRow = 0;
        for (; taken + inRow < most && from.isTextStep(inRow); ++inRow) {
            const HistoryStack::TextStep step = from.textStep(inRow);
            if (step.row != row)
                break;
            if (!cellExists(step.row, step.column))
                continue;
            to.pushText(step.row, step.column, texts[size_t(step.column)]);
            texts[size_t(step.column)] = step.previous;
            widest = std::max(widest, step.column);
        }
        if (widest > 0) {
            noteDirectWrite(row, widest);
            m_rows[row].setTexts(texts);
        }
        from.drop(inRow); // only now: the texts written came from there
        taken += inRow;
    }
    return taken;
}

bool GridCore::undo(int Number, int* NumberUsed)
{
    // A cell edit in progress is the newest change: it is recorded first, so it is the one
    // that this undo takes back.
    ChangeScope change(*this);
    if (m_undo.isEmpty())
        return false;
    {
        ReplayScope scope(*this, m_undoReplaying);
        Number = std::clamp(Number, 1, m_undo.recordCount());
        if (NumberUsed)
            *NumberUsed = Number;
        for (int step = 0; step < Number && !m_undo.isEmpty(); ++step) {
            if (const int taken = replayTextSteps(m_undo, m_redo, Number - step)) {
                step += taken - 1;
                continue;
            }
            std::unique_ptr<HistoryRecord> record = m_undo.pop();
            try {
                record->undo(*this);
            } catch (...) {
                // An undo step that fails is skipped; the replay goes on with the next one.
            }
        }
    }
    RenderAllColumns();
    SetScrollers();
    return true;
}

bool GridCore::redo(int Number, int* NumberUsed)
{
    // A cell edit in progress is a new change: recorded first, it leaves nothing to redo.
    ChangeScope change(*this);
    if (m_redo.isEmpty())
        return false;
    {
        ReplayScope scope(*this, m_redoReplaying);
        Number = std::clamp(Number, 1, m_redo.recordCount());
        if (NumberUsed)
            *NumberUsed = Number;
        for (int step = 0; step < Number && !m_redo.isEmpty(); ++step) {
            if (const int taken = replayTextSteps(m_redo, m_undo, Number - step)) {
                step += taken - 1;
                continue;
            }
            std::unique_ptr<HistoryRecord> record = m_redo.pop();
            record->redo(*this);
        }
    }
    RenderAllColumns();
    SetScrollers();
    return true;
}

} // namespace grid
