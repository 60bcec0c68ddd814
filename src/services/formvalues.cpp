#include "services/formvalues.h"

#include "grid/gridcore.h"

namespace services {

SelectedRow SelectedRow::fromGrid(const grid::GridCore& grid, const QString& windowCaption)
{
    SelectedRow selected;
    selected.windowCaption = windowCaption;
    selected.row = grid.iSelected();
    for (int k = 1; k <= Columns; ++k) {
        selected.cells[std::size_t(k - 1)] = grid.GetItem(selected.row, k);
        selected.headers[std::size_t(k - 1)] = grid.GetColumnHeader(k);
    }
    return selected;
}

} // namespace services
