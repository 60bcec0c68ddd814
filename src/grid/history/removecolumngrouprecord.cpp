#include "grid/history/removecolumngrouprecord.h"

#include "grid/gridcore.h"
#include "grid/history/historytext.h"
#include "grid/history/removecolumnagainrecord.h"

namespace grid {

QStringList RemoveColumnGroupRecord::lines() const
{
    using namespace historytext;
    QStringList out;
    out += tag() + QString::number(m_column) + FieldSeparator + m_caption + FieldSeparator
           + QString::number(m_width);
    auto next = m_cells.begin();
    for (int j = 1; j <= m_rowCount; ++j) {
        if (next != m_cells.end() && next->first == j) {
            out += columnCellText(next->second);
            ++next;
        } else {
            out += QString();
        }
    }
    out += QStringLiteral("#REMCLe#") + QString::number(m_column);
    return out;
}

void RemoveColumnGroupRecord::undo(GridCore& grid) const
{
    const ColumnHistoryOff off(grid);
    const int before = grid.ColumnCount();
    grid.AddColumn(m_column, m_width, m_caption);
    if (grid.ColumnCount() == before) // no room or no such place: nothing to refill
        return;
    for (const auto& [row, cell] : m_cells)
        writeCell(grid, row, m_column, cell);
    pushCounterpart(grid, std::make_unique<RemoveColumnAgainRecord>(m_column));
}

} // namespace grid
