#include "grid/history/cleargrouprecord.h"

#include "grid/history/clearagainrecord.h"
#include "grid/history/historytext.h"

namespace grid {

QStringList ClearGroupRecord::lines() const
{
    QStringList out;
    out += tag() + QString::number(m_rowCount);
    auto next = m_rows.begin();
    for (int j = 1; j <= m_rowCount; ++j) {
        if (next != m_rows.end() && next->row == j) {
            QStringList cells;
            for (const auto& [column, cell] : next->cells)
                cells += historytext::cellText(column, cell);
            out += QString::number(j) + historytext::RowSeparator + cells.join(historytext::CellSeparator);
            ++next;
        } else {
            out += QString();
        }
    }
    out += QStringLiteral("#CLEARe#");
    return out;
}

void ClearGroupRecord::undo(GridCore& grid) const
{
    restoreRowCount(grid, m_rowCount);
    for (const Row& row : m_rows)
        for (const auto& [column, cell] : row.cells)
            writeCell(grid, row.row, column, cell);
    pushCounterpart(grid, std::make_unique<ClearAgainRecord>());
}

} // namespace grid
