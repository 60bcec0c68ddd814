#pragma once
// "#SETCLH#": a column's caption was set; the record keeps the caption from before.

#include "grid/history/historyrecord.h"

#include <utility>

namespace grid {

class ColumnCaptionRecord final : public HistoryRecord {
public:
    ColumnCaptionRecord(int column, QString previous) : m_column(column), m_previous(std::move(previous)) {}
    QString tag() const override { return QStringLiteral("#SETCLH#"); }
    void undo(GridCore& grid) const override;
    void redo(GridCore& grid) const override { undo(grid); }

protected:
    QString payload() const override;

private:
    int m_column;
    QString m_previous;
};

} // namespace grid
