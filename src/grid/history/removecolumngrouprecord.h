#pragma once
// "#REMCLs#" ... "#REMCLe#": a column was removed. One step holding its number, caption,
// width and the cells of every row that held text; it prints as a start record, one record
// per row and an end record. Undo adds the column back and refills those cells.

#include "grid/history/historyrecord.h"

#include <utility>
#include <vector>

namespace grid {

class RemoveColumnGroupRecord final : public HistoryRecord {
public:
    using Cells = std::vector<std::pair<int, GridCell>>; // row, cell; only cells with text
    RemoveColumnGroupRecord(int column, QString caption, int width, int rowCount, Cells cells)
        : m_column(column), m_caption(std::move(caption)), m_width(width), m_rowCount(rowCount),
          m_cells(std::move(cells)) {}
    QString tag() const override { return QStringLiteral("#REMCLs#"); }
    QStringList lines() const override;
    int recordCount() const override { return m_rowCount + 2; }
    void undo(GridCore& grid) const override;

private:
    int m_column;
    QString m_caption;
    int m_width;
    int m_rowCount;
    Cells m_cells;
};

} // namespace grid
