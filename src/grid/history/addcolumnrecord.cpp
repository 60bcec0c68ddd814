#include "grid/history/addcolumnrecord.h"

#include "grid/gridcore.h"
#include "grid/history/historytext.h"

namespace grid {

void AddColumnRecord::undo(GridCore& grid) const
{
    if (m_column < 1 || m_column > grid.ColumnCount())
        return;
    const ColumnHistoryOff off(grid);
    pushCounterpart(grid, std::make_unique<AddColumnRecord>(m_column, grid.GetColumnHeader(m_column),
                                                            grid.GetWidthColumn(m_column)));
    grid.RemoveColumn(m_column);
}

void AddColumnRecord::redo(GridCore& grid) const
{
    if (m_details)
        grid.AddColumn(m_column, m_details->width, m_details->caption);
    else
        grid.AddColumn(m_column, 0, QString());
}

QString AddColumnRecord::payload() const
{
    using namespace historytext;
    QString out = QString::number(m_column);
    if (m_details)
        out += FieldSeparator + m_details->caption + FieldSeparator + QString::number(m_details->width);
    return out;
}

} // namespace grid
