#include "grid/history/celltextrecord.h"

#include "grid/gridcore.h"
#include "grid/history/historytext.h"

namespace grid {

void CellTextRecord::swap(GridCore& grid) const
{
    // A record for a cell that no longer exists changes nothing and leaves no counterpart.
    if (!cellExists(grid, m_row, m_column))
        return;
    const QString current = grid.row(m_row).text(m_column);
    grid.setCellText(m_row, m_column, m_previous);
    pushCounterpart(grid, std::make_unique<CellTextRecord>(m_row, m_column, current));
}

QString CellTextRecord::payload() const
{
    using namespace historytext;
    return QString::number(m_row) + FieldSeparator + QString::number(m_column) + FieldSeparator + m_previous;
}

} // namespace grid
