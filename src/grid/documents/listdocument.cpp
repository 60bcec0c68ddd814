#include "grid/documents/listdocument.h"

namespace grid {

namespace {
const ListFileCell& emptyCell()
{
    static const ListFileCell cell;
    return cell;
}
} // namespace

ListDocument::ListDocument()
{
    setRowCount(1);
}

void ListDocument::setRowCount(int rows)
{
    rows_.clear();
    rows_.resize(size_t(rows) + 1);
}

const ListFileCell& ListDocument::at(int row, int column) const
{
    if (row < 0 || row > rowCount() || column < 0)
        return emptyCell();
    const auto& cells = rows_[size_t(row)];
    return size_t(column) < cells.size() ? cells[size_t(column)] : emptyCell();
}

ListFileCell& ListDocument::edit(int row, int column)
{
    auto& cells = rows_[size_t(row)];
    if (cells.size() <= size_t(column))
        cells.resize(size_t(column) + 1);
    return cells[size_t(column)];
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
