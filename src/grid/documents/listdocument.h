#pragma once
// The content of a list file as plain data: its form, password line, header, row count and
// cells. The reader fills it; the writer can write it back.

#include "grid/documents/listfilecell.h"
#include "grid/documents/listfilecolumn.h"
#include "grid/documents/listfilesource.h"

#include <QList>
#include <QString>
#include <optional>
#include <vector>

namespace grid {

class ListDocument : public ListFileSource {
public:
    enum class Form { Plain, Password, Scrambled };
    // Cells are kept per row for columns 0 to MaxColumns; the file may fill columns beyond
    // the header's count, and they stay with the row.
    static constexpr int MaxColumns = 32;

    ListDocument();

    Form form = Form::Plain;
    // Line 2 of the password form; empty optional when the file had none.
    std::optional<QString> passwordLine;
    // The header as written: the count in it and the entries that follow.
    std::optional<int> declaredColumnCount;
    QList<ListFileColumn> columns;

    // Rows 1 to rowCount() (row 0 holds no row). Setting the count drops every cell.
    void setRowCount(int rows);
    int rowCount() const override { return int(rows_.size()) - 1; }

    // Cell of row 0..rowCount(), column 0..MaxColumns; an untouched cell reads as empty.
    const ListFileCell& at(int row, int column) const;
    ListFileCell& edit(int row, int column);
    // The highest column of the row that holds a cell slot (0 when none).
    int lastColumnOf(int row) const { return int(rows_[size_t(row)].size()) - 1; }

    // ListFileSource: the columns are the header's entries.
    int columnCount() const override { return int(columns.size()); }
    QString caption(int column) const override;
    int width(int column) const override;
    ListFileCell cell(int row, int column) const override { return at(row, column); }

private:
    std::vector<std::vector<ListFileCell>> rows_; // sparse: a row grows to its last cell
};

} // namespace grid
