#pragma once
// What the list file writer reads of a document: its columns and the cells of its rows.

#include "grid/gridrow.h"

#include <QString>

namespace grid {

class ListFileSource {
public:
    virtual ~ListFileSource() = default;

    virtual int columnCount() const = 0;
    virtual QString caption(int column) const = 0; // column 1 to columnCount()
    virtual int width(int column) const = 0;
    virtual int rowCount() const = 0;
    // Row 1 to rowCount(), whose cells 1 to columnCount() are written; read in place, without
    // a string for each cell.
    virtual const GridRow& row(int r) const = 0;
};

} // namespace grid
