#include "grid/history/columnwidthrecord.h"

#include "grid/gridcore.h"
#include "grid/history/historytext.h"

namespace grid {

void ColumnWidthRecord::undo(GridCore& grid) const
{
    grid.LetWidthColumn(m_column, m_previous);
}

QString ColumnWidthRecord::payload() const
{
    return QString::number(m_column) + historytext::FieldSeparator + QString::number(m_previous);
}

} // namespace grid
