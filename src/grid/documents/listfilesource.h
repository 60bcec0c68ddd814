#pragma once
// What the list file writer reads of a document: its columns and the cells of its rows.

#include "grid/documents/listfilecell.h"

#include <QString>

namespace grid {

class ListFileSource {
public:
    virtual ~ListFileSource() = default;

    virtual int columnCount() const = 0;
    virtual QString caption(int column) const = 0; // column 1 to columnCount()
    virtual int width(int column) const = 0;
    virtual int rowCount() const = 0;
    // The cell of row 1 to rowCount(), column 1 to columnCount().
    virtual ListFileCell cell(int row, int column) const = 0;
};

} // namespace grid
