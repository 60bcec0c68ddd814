#pragma once
// One column of the grid as the core keeps it: width in pixels, caption and whether its cell
// editor may take the focus.

#include <QString>

namespace grid {

struct GridColumn {
    int Width = 0;
    QString Caption;
    bool Editable = true;
};

} // namespace grid
