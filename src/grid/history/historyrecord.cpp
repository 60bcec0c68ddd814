#include "grid/history/historyrecord.h"

#include "grid/gridcore.h"

namespace grid {

QStringList HistoryRecord::lines() const
{
    return {tag() + payload()};
}

bool HistoryRecord::cellExists(const GridCore& grid, int row, int column)
{
    return grid.cellExists(row, column);
}

void HistoryRecord::writeCell(GridCore& grid, int row, int column, const GridCell& cell)
{
    if (grid.cellExists(row, column))
        grid.setCell(row, column, cell);
}

void HistoryRecord::pushCounterpart(GridCore& grid, std::unique_ptr<HistoryRecord> record)
{
    grid.pushCounterpart(std::move(record));
}

void HistoryRecord::setColumnHistoryOff(GridCore& grid, bool off)
{
    grid.m_columnHistoryOff = off;
}

HistoryRecord::ColumnHistoryOff::ColumnHistoryOff(GridCore& grid) : m_grid(grid)
{
    setColumnHistoryOff(m_grid, true);
}

HistoryRecord::ColumnHistoryOff::~ColumnHistoryOff()
{
    setColumnHistoryOff(m_grid, false);
}

int HistoryRecord::dropLastRows(GridCore& grid, int count)
{
    return grid.dropLastRows(count);
}

void HistoryRecord::restoreRowCount(GridCore& grid, int count)
{
    grid.restoreRowCount(count);
}

} // namespace grid
