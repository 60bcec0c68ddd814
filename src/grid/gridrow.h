#pragma once
// One row of the grid: cells 0 to 32 (cell c holds column c; cell 0 holds no column), kept
// packed so that a long list of short cells costs little more than its characters.

#include "grid/gridcell.h"

#include <QString>
#include <QStringView>
#include <cstdint>
#include <span>
#include <vector>

namespace grid {

// A cell whose text is a view into a buffer of the caller's: how a reader hands over a row.
struct GridCellView {
    QStringView Text;
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    uint32_t Color = 0;
};

class GridRow {
public:
    static constexpr int CellCount = 33; // cells 0..32

    // Reading: any c outside 0..32, or beyond the last stored cell, reads as an empty cell.
    GridCell cell(int c) const;
    QString text(int c) const;
    // The same text as a view into the row, valid while the row is unchanged: how a writer
    // reads a long list without a string per cell.
    QStringView textView(int c) const;
    bool bold(int c) const { return flags(c) & BoldFlag; }
    bool italic(int c) const { return flags(c) & ItalicFlag; }
    bool underline(int c) const { return flags(c) & UnderlineFlag; }
    uint32_t color(int c) const;
    bool isEmptyCell(int c) const;

    // Writing: c outside 0..32 is ignored.
    void setCell(int c, const GridCell& value);
    void setText(int c, const QString& text);
    void setBold(int c, bool on) { setFlag(c, BoldFlag, on); }
    void setItalic(int c, bool on) { setFlag(c, ItalicFlag, on); }
    void setUnderline(int c, bool on) { setFlag(c, UnderlineFlag, on); }
    void setColor(int c, uint32_t color);
    void clearCell(int c) { setCell(c, GridCell{}); }
    // The whole row at once: cells[k] becomes cell k + 1 (cells past 32 are ignored) and every
    // other cell is empty. The texts take one allocation, where filling cell by cell grows
    // the row's text once per cell.
    void setCells(std::span<const GridCell> cells);
    void setCells(std::span<const GridCellView> cells);

    // The texts of every cell at once, texts[c] for cell c, each cell keeping its format: one
    // rebuild of the row where setting the texts one by one moves the row's text once per cell.
    // The views may point into this row.
    void setTexts(std::span<const QStringView, CellCount> texts);

    // Cells first..last (clipped to 0..32) cleared.
    void clearCells(int first, int last);
    // Cells first..last-1 move to first+1..last; cell first is cleared.
    void shiftCellsRight(int first, int last);
    // Cells first+1..last move to first..last-1; cell last is cleared.
    void shiftCellsLeft(int first, int last);

    // Number of stored cell slots: every cell from this index on is empty.
    int extent() const { return int(m_ends.size()); }
    // True when cell 0 or a cell above column `columns` holds anything (text, flag or colour).
    bool hasContentOutsideColumns(int columns) const;

    // Heap bytes held by this row (for memory figures).
    size_t heapBytes() const;

private:
    enum : uint8_t { BoldFlag = 1, ItalicFlag = 2, UnderlineFlag = 4 };
    struct Format {
        uint32_t color = 0;
        uint8_t flags = 0;
        bool operator==(const Format&) const = default;
    };

    template <typename Cell>
    static Format formatOf(const Cell& cell);
    template <typename Cell>
    void fillCells(std::span<const Cell> cells);
    uint8_t flags(int c) const;
    void setFlag(int c, uint8_t flag, bool on);
    Format format(int c) const;
    void setFormat(int c, const Format& format);
    int textStart(int c) const { return c == 0 ? 0 : int(m_ends[c - 1]); }
    void ensureSlots(int count);
    void trim();

    QString m_text;                 // the texts of cells 0..extent-1, run together
    std::vector<uint32_t> m_ends;   // m_ends[c]: offset in m_text where cell c's text ends
    std::vector<Format> m_formats;  // empty while no cell has a flag or colour, else one per slot
};

} // namespace grid
