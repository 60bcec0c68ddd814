#include "grid/history/removerowsrecord.h"

#include "grid/gridcore.h"

namespace grid {

void RemoveRowsRecord::redo(GridCore& grid) const
{
    grid.AddMoreThanOneRow(m_count);
}

} // namespace grid
