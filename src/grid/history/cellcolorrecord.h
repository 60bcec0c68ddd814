#pragma once
// "#SETCLR#": a cell's colour was set; the record keeps the colour from before.

#include "grid/history/historyrecord.h"

#include <cstdint>

namespace grid {

class CellColorRecord final : public HistoryRecord {
public:
    CellColorRecord(int row, int column, uint32_t previous)
        : m_row(row), m_column(column), m_previous(previous) {}
    QString tag() const override { return QStringLiteral("#SETCLR#"); }
    void undo(GridCore& grid) const override;
    void redo(GridCore& grid) const override { undo(grid); }

protected:
    QString payload() const override;

private:
    int m_row;
    int m_column;
    uint32_t m_previous;
};

} // namespace grid
