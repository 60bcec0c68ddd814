#include "grid/history/columncaptionrecord.h"

#include "grid/gridcore.h"
#include "grid/history/historytext.h"

namespace grid {

void ColumnCaptionRecord::undo(GridCore& grid) const
{
    grid.SetColumnHeader(m_column, m_previous);
}

QString ColumnCaptionRecord::payload() const
{
    return QString::number(m_column) + historytext::FieldSeparator + m_previous;
}

} // namespace grid
