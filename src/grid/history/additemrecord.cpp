#include "grid/history/additemrecord.h"

#include "grid/gridcore.h"

namespace grid {

void AddItemRecord::undo(GridCore& grid) const
{
    grid.RemoveItem(m_row, false);
}

} // namespace grid
