#include "grid/history/cellcolorrecord.h"

#include "grid/gridcore.h"
#include "grid/history/historytext.h"

namespace grid {

void CellColorRecord::undo(GridCore& grid) const
{
    grid.SetColor(m_row, m_column, m_previous);
}

QString CellColorRecord::payload() const
{
    using namespace historytext;
    return QString::number(m_row) + FieldSeparator + QString::number(m_column) + FieldSeparator
           + colorText(m_previous);
}

} // namespace grid
