#pragma once
// "#REMITM#": a row was removed, with its cells of every column; replaying it inserts an
// empty row at that index (or appends one) and writes the cells back into it.

#include "grid/history/historyrecord.h"

#include <utility>
#include <vector>

namespace grid {

class RemoveItemRecord final : public HistoryRecord {
public:
    using Cells = std::vector<std::pair<int, GridCell>>; // column, cell
    RemoveItemRecord(int row, Cells cells) : m_row(row), m_cells(std::move(cells)) {}
    int row() const { return m_row; }
    const Cells& cells() const { return m_cells; }
    QString tag() const override { return QStringLiteral("#REMITM#"); }
    void undo(GridCore& grid) const override;
    void redo(GridCore& grid) const override { undo(grid); }

protected:
    QString payload() const override;

private:
    int m_row;
    Cells m_cells;
};

} // namespace grid
