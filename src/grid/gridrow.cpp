#include "grid/gridrow.h"

#include <algorithm>

namespace grid {

namespace {
bool inRange(int c) { return c >= 0 && c < GridRow::CellCount; }
} // namespace

GridCell GridRow::cell(int c) const
{
    GridCell out;
    if (!inRange(c) || c >= extent())
        return out;
    out.Text = text(c);
    const Format f = format(c);
    out.Bold = f.flags & BoldFlag;
    out.Italic = f.flags & ItalicFlag;
    out.Underline = f.flags & UnderlineFlag;
    out.Color = f.color;
    return out;
}

QString GridRow::text(int c) const
{
    if (!inRange(c) || c >= extent())
        return QString();
    const int start = textStart(c);
    return m_text.mid(start, int(m_ends[c]) - start);
}

QStringView GridRow::textView(int c) const
{
    if (!inRange(c) || c >= extent())
        return QStringView();
    const int start = textStart(c);
    return QStringView(m_text).mid(start, int(m_ends[c]) - start);
}

uint32_t GridRow::color(int c) const
{
    return format(c).color;
}

bool GridRow::isEmptyCell(int c) const
{
    if (!inRange(c) || c >= extent())
        return true;
    return int(m_ends[c]) == textStart(c) && format(c) == Format{};
}

uint8_t GridRow::flags(int c) const
{
    return format(c).flags;
}

GridRow::Format GridRow::format(int c) const
{
    if (!inRange(c) || c >= int(m_formats.size()))
        return Format{};
    return m_formats[c];
}

void GridRow::ensureSlots(int count)
{
    if (count <= extent())
        return;
    if (int(m_ends.capacity()) < count)
        m_ends.reserve(std::min(CellCount, (count + 7) / 8 * 8));
    const uint32_t end = m_ends.empty() ? 0 : m_ends.back();
    m_ends.resize(count, end);
    if (!m_formats.empty())
        m_formats.resize(count);
}

void GridRow::trim()
{
    while (!m_ends.empty() && isEmptyCell(extent() - 1)) {
        m_ends.pop_back();
        if (m_formats.size() > m_ends.size())
            m_formats.pop_back();
    }
    if (m_ends.empty()) {
        m_text = QString();
        std::vector<uint32_t>().swap(m_ends);
        std::vector<Format>().swap(m_formats);
    }
}

void GridRow::setText(int c, const QString& text)
{
    if (!inRange(c))
        return;
    if (c >= extent()) {
        if (text.isEmpty())
            return;
        ensureSlots(c + 1);
    }
    const int start = textStart(c);
    const int oldLength = int(m_ends[c]) - start;
    const int delta = int(text.size()) - oldLength;
    // A longer text grows the buffer to exactly the new length, in one step: growing by the
    // string's own doubling and squeezing the slack away again cost two reallocations for
    // every cell a reader fills.
    const int newLength = int(m_text.size()) + delta;
    if (newLength > m_text.capacity())
        m_text.reserve(newLength);
    m_text.replace(start, oldLength, text);
    for (size_t k = c; k < m_ends.size(); ++k)
        m_ends[k] = uint32_t(int(m_ends[k]) + delta);
    if (m_text.capacity() > m_text.size() + m_text.size() / 4 + 16)
        m_text.squeeze();
    if (text.isEmpty())
        trim();
}

void GridRow::setFormat(int c, const Format& value)
{
    if (!inRange(c))
        return;
    if (value == Format{} && c >= int(m_formats.size()))
        return;
    ensureSlots(c + 1);
    if (m_formats.empty())
        m_formats.resize(m_ends.size());
    m_formats[c] = value;
    if (value == Format{})
        trim();
}

void GridRow::setFlag(int c, uint8_t flag, bool on)
{
    Format f = format(c);
    f.flags = on ? uint8_t(f.flags | flag) : uint8_t(f.flags & ~flag);
    setFormat(c, f);
}

void GridRow::setColor(int c, uint32_t color)
{
    Format f = format(c);
    f.color = color;
    setFormat(c, f);
}

template <typename Cell>
GridRow::Format GridRow::formatOf(const Cell& cell)
{
    Format f;
    f.color = cell.Color;
    f.flags = uint8_t((cell.Bold ? BoldFlag : 0) | (cell.Italic ? ItalicFlag : 0) | (cell.Underline ? UnderlineFlag : 0));
    return f;
}

void GridRow::setCell(int c, const GridCell& value)
{
    if (!inRange(c))
        return;
    setText(c, value.Text);
    setFormat(c, formatOf(value));
}

template <typename Cell>
void GridRow::fillCells(std::span<const Cell> cells)
{
    cells = cells.first(std::min(cells.size(), size_t(CellCount - 1)));
    qsizetype length = 0;
    bool formatted = false;
    for (const Cell& cell : cells) {
        length += cell.Text.size();
        formatted = formatted || formatOf(cell) != Format{};
    }
    GridRow row;
    if (length > 0)
        row.m_text.reserve(length);
    row.m_ends.reserve(cells.size() + 1);
    row.m_ends.push_back(0); // cell 0
    if (formatted)
        row.m_formats.resize(cells.size() + 1);
    for (const Cell& cell : cells) {
        if (!cell.Text.isEmpty()) // never share the caller's buffer
            row.m_text.append(cell.Text);
        row.m_ends.push_back(uint32_t(row.m_text.size()));
        if (formatted)
            row.m_formats[row.m_ends.size() - 1] = formatOf(cell);
    }
    row.trim();
    *this = std::move(row);
}

void GridRow::setCells(std::span<const GridCell> cells)
{
    fillCells(cells);
}

void GridRow::setCells(std::span<const GridCellView> cells)
{
    fillCells(cells);
}

void GridRow::setTexts(std::span<const QStringView, CellCount> texts)
{
    qsizetype length = 0;
    for (const QStringView text : texts)
        length += text.size();
    QString joined; // apart from m_text, which the views may point into
    joined.reserve(length);
    m_ends.resize(CellCount);
    for (int c = 0; c < CellCount; ++c) {
        joined.append(texts[size_t(c)]);
        m_ends[size_t(c)] = uint32_t(joined.size());
    }
    m_text = std::move(joined);
    if (!m_formats.empty())
        m_formats.resize(CellCount);
    trim();
}

void GridRow::clearCells(int first, int last)
{
    first = std::max(first, 0);
    last = std::min(last, extent() - 1);
    for (int c = last; c >= first; --c)
        clearCell(c);
}

void GridRow::shiftCellsRight(int first, int last)
{
    first = std::max(first, 0);
    last = std::min(last, CellCount - 1);
    if (first > last || first >= extent())
        return;
    for (int c = last; c > first; --c)
        setCell(c, cell(c - 1));
    clearCell(first);
}

void GridRow::shiftCellsLeft(int first, int last)
{
    first = std::max(first, 0);
    last = std::min(last, CellCount - 1);
    if (first > last || first >= extent())
        return;
    for (int c = first; c < last; ++c)
        setCell(c, cell(c + 1));
    clearCell(last);
}

bool GridRow::hasContentOutsideColumns(int columns) const
{
    if (!isEmptyCell(0))
        return true;
    for (int c = std::max(columns + 1, 1); c < extent(); ++c)
        if (!isEmptyCell(c))
            return true;
    return false;
}

size_t GridRow::heapBytes() const
{
    return (m_text.isEmpty() ? 0 : size_t(m_text.capacity()) * 2 + 16)
           + m_ends.capacity() * sizeof(uint32_t) + m_formats.capacity() * sizeof(Format);
}

} // namespace grid
