#include "grid/documents/listdocument.h"

namespace grid {

ListDocument::ListDocument()
{
    setRowCount(1);
}

void ListDocument::setRowCount(int rows)
{
    m_rows.clear();
    m_rows.resize(size_t(rows) + 1);
}

bool ListDocument::inside(int row, int column) const
{
    return row >= 1 && row <= rowCount() && column >= 1 && column <= MaxColumns;
}

const GridRow& ListDocument::row(int r) const
{
    static const GridRow none;
    return r >= 1 && r <= rowCount() ? m_rows[size_t(r)] : none;
}

int ListDocument::lastColumnOf(int row) const
{
    const GridRow& cells = this->row(row);
    for (int c = cells.extent() - 1; c >= 1; --c)
        if (!cells.isEmptyCell(c))
            return c;
    return 0;
}

ListFileCell ListDocument::at(int row, int column) const
{
    if (!inside(row, column))
        return {};
    const GridCell cell = m_rows[size_t(row)].cell(column);
    return {cell.Text, cell.Bold, cell.Italic, cell.Underline, int32_t(cell.Color)};
}

void ListDocument::setCell(int row, int column, const ListFileCell& cell)
{
    if (inside(row, column))
        m_rows[size_t(row)].setCell(column, GridCell{cell.text, cell.bold, cell.italic, cell.underline, uint32_t(cell.color)});
}

void ListDocument::setRow(int row, GridRow cells)
{
    if (row >= 1 && row <= rowCount())
        m_rows[size_t(row)] = std::move(cells);
}

QString ListDocument::caption(int column) const
{
    return columns.value(column - 1).caption;
}

int ListDocument::width(int column) const
{
    return columns.value(column - 1).width.value_or(0);
}

} // namespace grid
