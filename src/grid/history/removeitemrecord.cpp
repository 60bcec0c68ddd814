#include "grid/history/removeitemrecord.h"

#include "grid/gridcore.h"
#include "grid/history/historytext.h"

namespace grid {

void RemoveItemRecord::undo(GridCore& grid) const
{
    // The cells go into the row AddRow made: the last one when the grid no longer reaches
    // the recorded place.
    const int row = grid.AddRow(QString(), m_row);
    for (const auto& [column, cell] : m_cells)
        writeCell(grid, row, column, cell);
}

QString RemoveItemRecord::payload() const
{
    QStringList cells;
    for (const auto& [column, cell] : m_cells)
        cells += historytext::cellText(column, cell);
    return QString::number(m_row) + historytext::RowSeparator + cells.join(historytext::CellSeparator);
}

} // namespace grid
