#pragma once
// "#CLEARs#" ... "#CLEARe#": the grid was emptied down to one row. One step holding the row
// count and the cells that held text; it prints as a start record, one record per row and an
// end record. Undo puts the rows back (the formatting of cells without text is not kept).

#include "grid/history/historyrecord.h"

#include <utility>
#include <vector>

namespace grid {

class ClearGroupRecord final : public HistoryRecord {
public:
    struct Row {
        int row = 0;
        std::vector<std::pair<int, GridCell>> cells; // column, cell; only cells with text
    };
    // rows: only the rows that held text, in increasing order.
    ClearGroupRecord(int rowCount, std::vector<Row> rows)
        : m_rowCount(rowCount), m_rows(std::move(rows)) {}
    QString tag() const override { return QStringLiteral("#CLEARs#"); }
    QStringList lines() const override;
    int recordCount() const override { return m_rowCount + 2; }
    void undo(GridCore& grid) const override;

private:
    int m_rowCount;
    std::vector<Row> m_rows;
};

} // namespace grid
