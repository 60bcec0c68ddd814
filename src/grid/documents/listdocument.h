#pragma once
// The content of a list file as plain data: its form, password line, header, row count and
// rows. The reader fills it; the writer can write it back; the grid takes its rows over as
// they are, so that a document of millions of cells is neither copied nor held twice.

#include "grid/documents/listfilecell.h"
#include "grid/documents/listfilecolumn.h"
#include "grid/documents/listfilecut.h"
#include "grid/documents/listfilesource.h"
#include "grid/gridrow.h"

#include <QList>
#include <QString>
#include <optional>
#include <vector>

namespace grid {

class ListDocument : public ListFileSource {
public:
    enum class Form { Plain, Password, Scrambled };
    // Cells are kept per row for columns 1 to MaxColumns; the file may fill columns beyond
    // the header's count, and they stay with the row.
    static constexpr int MaxColumns = 32;

    ListDocument();

    Form form = Form::Plain;
    // Line 2 of the password form; empty optional when the file had none.
    std::optional<QString> passwordLine;
    // The header as written: the count in it and the entries that follow.
    std::optional<int> declaredColumnCount;
    QList<ListFileColumn> columns;
    // Set when the file read was cut short; the rows it still held are read all the same.
    std::optional<ListFileCut> cut;

    // Rows 1 to rowCount(). Setting the count drops every cell.
    void setRowCount(int rows);
    int rowCount() const override { return int(m_rows.size()) - 1; }

    // Cell of row 1..rowCount(), column 1..MaxColumns; anything else reads as empty, and
    // writing it does nothing.
    ListFileCell at(int row, int column) const;
    void setCell(int row, int column, const ListFileCell& cell);
    // The highest column of the row that holds anything (0 when none).
    int lastColumnOf(int row) const;

    // A whole row at once (row 1..rowCount(); anything else does nothing): the reader's way.
    void setRow(int row, GridRow cells);
    // The rows, element r being row r and element 0 no row; the document is left with none.
    std::vector<GridRow> takeRows() { return std::move(m_rows); }

    // ListFileSource: the columns are the header's entries.
    int columnCount() const override { return int(columns.size()); }
    QString caption(int column) const override;
    int width(int column) const override;
    const GridRow& row(int r) const override;

private:
    bool inside(int row, int column) const;

    std::vector<GridRow> m_rows;
};

} // namespace grid
