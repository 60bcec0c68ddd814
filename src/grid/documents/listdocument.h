#pragma once
// The content of a list file as plain data: its form, password line, header, row count and
// cells. The reader fills it; the writer can write it back. Cell texts are kept as pieces
// of one text (for a file read, the file's own decoded text), so that a document of millions
// of cells costs no allocation per cell.

#include "grid/documents/listfilecell.h"
#include "grid/documents/listfilecolumn.h"
#include "grid/documents/listfilesource.h"

#include <QList>
#include <QString>
#include <QStringView>
#include <cstdint>
#include <optional>
#include <vector>

namespace grid {

class ListDocument : public ListFileSource {
public:
    enum class Form { Plain, Password, Scrambled };
    // Cells are kept per row for columns 0 to MaxColumns; the file may fill columns beyond
    // the header's count, and they stay with the row.
    static constexpr int MaxColumns = 32;

    // One cell's fields, its text a view into the document (valid while the document lives
    // unchanged).
    struct CellRef {
        QStringView text;
        bool bold = false;
        bool italic = false;
        bool underline = false;
        int32_t color = 0;
    };

    ListDocument();

    Form form = Form::Plain;
    // Line 2 of the password form; empty optional when the file had none.
    std::optional<QString> passwordLine;
    // The header as written: the count in it and the entries that follow.
    std::optional<int> declaredColumnCount;
    QList<ListFileColumn> columns;

    // Rows 1 to rowCount() (row 0 holds no row). Setting the count drops every cell.
    void setRowCount(int rows);
    int rowCount() const override { return int(m_rows.size()) - 1; }

    // Cell of row 1..rowCount(), column 1..MaxColumns; anything else, and an untouched cell,
    // reads as empty, and writing it does nothing.
    ListFileCell at(int row, int column) const;
    CellRef ref(int row, int column) const;
    void setCell(int row, int column, const ListFileCell& cell);
    // The highest column of the row that holds a cell slot (0 when none).
    int lastColumnOf(int row) const;

    // The reader's side: the text that the cells' texts are pieces of, then each field.
    // A text given to setTextPiece must lie inside the adopted text.
    void adoptText(const QString& text);
    void setTextPiece(int row, int column, QStringView piece);
    void setBold(int row, int column, bool on) { setFlag(row, column, BoldFlag, on); }
    void setItalic(int row, int column, bool on) { setFlag(row, column, ItalicFlag, on); }
    void setUnderline(int row, int column, bool on) { setFlag(row, column, UnderlineFlag, on); }
    void setColor(int row, int column, int32_t color);

    // ListFileSource: the columns are the header's entries.
    int columnCount() const override { return int(columns.size()); }
    QString caption(int column) const override;
    int width(int column) const override;
    ListFileCell cell(int row, int column) const override { return at(row, column); }

private:
    enum : uint8_t { BoldFlag = 1, ItalicFlag = 2, UnderlineFlag = 4 };
    struct StoredCell {
        qsizetype offset = 0; // into m_text
        qsizetype length = 0;
        int32_t color = 0;
        uint8_t flags = 0;
    };

    bool inside(int row, int column) const;
    StoredCell* slot(int row, int column);
    const StoredCell* find(int row, int column) const;
    void setFlag(int row, int column, uint8_t flag, bool on);

    QString m_text;
    std::vector<std::vector<StoredCell>> m_rows; // sparse: a row holds slots up to its last cell
};

} // namespace grid
