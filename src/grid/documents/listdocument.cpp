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

const ListDocument::StoredCell* ListDocument::find(int row, int column) const
{
    if (!inside(row, column))
        return nullptr;
    const auto& cells = m_rows[size_t(row)];
    return size_t(column) < cells.size() ? &cells[size_t(column)] : nullptr;
}

ListDocument::StoredCell* ListDocument::slot(int row, int column)
{
    if (!inside(row, column))
        return nullptr;
    auto& cells = m_rows[size_t(row)];
    if (cells.size() <= size_t(column)) {
        if (cells.empty())
            cells.reserve(MaxColumns + 1);
        cells.resize(size_t(column) + 1);
    }
    return &cells[size_t(column)];
}

int ListDocument::lastColumnOf(int row) const
{
    if (row < 1 || row > rowCount())
        return 0;
    const auto& cells = m_rows[size_t(row)];
    return cells.empty() ? 0 : int(cells.size()) - 1;
}

ListDocument::CellRef ListDocument::ref(int row, int column) const
{
    const StoredCell* cell = find(row, column);
    if (!cell)
        return {};
    return {QStringView(m_text).mid(cell->offset, cell->length), bool(cell->flags & BoldFlag),
            bool(cell->flags & ItalicFlag), bool(cell->flags & UnderlineFlag), cell->color};
}

ListFileCell ListDocument::at(int row, int column) const
{
    const CellRef cell = ref(row, column);
    return {cell.text.toString(), cell.bold, cell.italic, cell.underline, cell.color};
}

void ListDocument::setCell(int row, int column, const ListFileCell& cell)
{
    StoredCell* stored = slot(row, column);
    if (!stored)
        return;
    stored->offset = m_text.size();
    stored->length = cell.text.size();
    m_text.append(cell.text);
    stored->color = cell.color;
    stored->flags = uint8_t((cell.bold ? BoldFlag : 0) | (cell.italic ? ItalicFlag : 0)
                            | (cell.underline ? UnderlineFlag : 0));
}

void ListDocument::adoptText(const QString& text)
{
    m_text = text;
}

void ListDocument::setTextPiece(int row, int column, QStringView piece)
{
    const qsizetype offset = piece.data() - m_text.constData();
    if (offset < 0 || offset + piece.size() > m_text.size())
        return; // not a piece of the adopted text
    if (StoredCell* stored = slot(row, column)) {
        stored->offset = offset;
        stored->length = piece.size();
    }
}

void ListDocument::setFlag(int row, int column, uint8_t flag, bool on)
{
    if (StoredCell* stored = slot(row, column))
        stored->flags = on ? uint8_t(stored->flags | flag) : uint8_t(stored->flags & ~flag);
}

void ListDocument::setColor(int row, int column, int32_t color)
{
    if (StoredCell* stored = slot(row, column))
        stored->color = color;
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
