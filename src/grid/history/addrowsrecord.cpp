#include "grid/history/addrowsrecord.h"

#include "grid/history/removerowsrecord.h"

namespace grid {

void AddRowsRecord::undo(GridCore& grid) const
{
    // The grid keeps at least one row; only the rows actually taken off are redone.
    const int removed = dropLastRows(grid, m_count);
    pushCounterpart(grid, std::make_unique<RemoveRowsRecord>(removed));
}

} // namespace grid
