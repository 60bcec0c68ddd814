#pragma once
// "#SETWDT#": a column's width was set; the record keeps the width from before.

#include "grid/history/historyrecord.h"

namespace grid {

class ColumnWidthRecord final : public HistoryRecord {
public:
    ColumnWidthRecord(int column, int previous) : m_column(column), m_previous(previous) {}
    QString tag() const override { return QStringLiteral("#SETWDT#"); }
    void undo(GridCore& grid) const override;
    void redo(GridCore& grid) const override { undo(grid); }

protected:
    QString payload() const override;

private:
    int m_column;
    int m_previous;
};

} // namespace grid
