#include "grid/history/removecolumnagainrecord.h"

#include "grid/gridcore.h"

namespace grid {

void RemoveColumnAgainRecord::redo(GridCore& grid) const
{
    grid.RemoveColumn(m_column);
}

} // namespace grid
