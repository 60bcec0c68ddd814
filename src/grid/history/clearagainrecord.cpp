#include "grid/history/clearagainrecord.h"

#include "grid/gridcore.h"

namespace grid {

void ClearAgainRecord::redo(GridCore& grid) const
{
    grid.Clear();
}

} // namespace grid
