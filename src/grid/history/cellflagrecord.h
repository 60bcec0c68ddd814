#pragma once
// "#SETBLD#", "#SETITA#", "#SETUND#": a cell's bold, italic or underline flag was set; the
// record keeps the flag from before and replays it through the matching setter.

#include "grid/history/historyrecord.h"

namespace grid {

class CellFlagRecord final : public HistoryRecord {
public:
    enum class Flag { Bold, Italic, Underline };
    CellFlagRecord(Flag flag, int row, int column, bool previous)
        : m_flag(flag), m_row(row), m_column(column), m_previous(previous) {}
    Flag flag() const { return m_flag; }
    int row() const { return m_row; }
    int column() const { return m_column; }
    bool previous() const { return m_previous; }
    QString tag() const override;
    void undo(GridCore& grid) const override;
    void redo(GridCore& grid) const override { undo(grid); }

protected:
    QString payload() const override;

private:
    Flag m_flag;
    int m_row;
    int m_column;
    bool m_previous;
};

} // namespace grid
