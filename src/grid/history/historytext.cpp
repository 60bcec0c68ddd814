#include "grid/history/historytext.h"

namespace grid::historytext {

QString colorText(uint32_t color)
{
    return QString::number(int32_t(color));
}

QString flagsText(const GridCell& cell)
{
    QString out;
    out += cell.Bold ? u'1' : u'0';
    out += cell.Underline ? u'1' : u'0';
    out += cell.Italic ? u'1' : u'0';
    return out;
}

QString complementText(bool flag)
{
    return flag ? QStringLiteral("0") : QStringLiteral("-1");
}

QString cellText(int column, const GridCell& cell)
{
    return QString::number(column) + FieldSeparator + cell.Text + FieldSeparator + flagsText(cell)
           + FieldSeparator + colorText(cell.Color);
}

QString columnCellText(const GridCell& cell)
{
    if (cell.Text.isEmpty())
        return QString();
    return cell.Text + FieldSeparator + flagsText(cell) + FieldSeparator + colorText(cell.Color);
}

} // namespace grid::historytext
