#include "grid/history/cellflagrecord.h"

#include "grid/gridcore.h"
#include "grid/history/historytext.h"

namespace grid {

QString CellFlagRecord::tag() const
{
    switch (m_flag) {
    case Flag::Bold: return QStringLiteral("#SETBLD#");
    case Flag::Italic: return QStringLiteral("#SETITA#");
    case Flag::Underline: return QStringLiteral("#SETUND#");
    }
    return QString();
}

void CellFlagRecord::undo(GridCore& grid) const
{
    switch (m_flag) {
    case Flag::Bold: grid.SetBold(m_row, m_column, m_previous); break;
    case Flag::Italic: grid.SetItallic(m_row, m_column, m_previous); break;
    case Flag::Underline: grid.SetUnderlined(m_row, m_column, m_previous); break;
    }
}

QString CellFlagRecord::payload() const
{
    using namespace historytext;
    return QString::number(m_row) + FieldSeparator + QString::number(m_column) + FieldSeparator
           + complementText(m_previous);
}

} // namespace grid
