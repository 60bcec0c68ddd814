#pragma once
// The three kinds of line of a list file, written and read: the header line (column count,
// captions, widths), the row-count line and the cell line. A cell line is read from the
// right, so that its text may hold "#".

#include "grid/documents/listfilecell.h"
#include "grid/documents/listfilecolumn.h"

#include <QList>
#include <QString>
#include <QStringView>
#include <optional>

namespace grid {

class GridRow;
class ListFileSource;

class ListFileLines {
public:
    struct Header {
        std::optional<int> count; // the count written before the entries
        QList<ListFileColumn> entries;
    };
    struct CellLine {
        int row = 0;
        int column = 0;
        // A field that does not read leaves the cell's value as it was.
        std::optional<bool> bold, underline, italic;
        std::optional<int32_t> color;
        QStringView text; // a piece of the line
    };

    // Append one line without its line end.
    static void appendHeaderLine(QString& out, const ListFileSource& source);
    static void appendRowCountLine(QString& out, int rows);
    static void appendCellLine(QString& out, const ListFileCell& cell, int row, int column);
    // The same for cell `column` of a grid row, read in place.
    static void appendCellLine(QString& out, const GridRow& cells, int row, int column);

    // Empty when the line has no "|" after its first character.
    static std::optional<Header> parseHeaderLine(QStringView line);
    // The number after the first two characters; empty when it does not read as one. A
    // number beyond the 32-bit range, a double's range included, comes back as the largest
    // (or smallest) 64-bit value.
    static std::optional<qint64> parseRowCountLine(QStringView line);
    // Empty when the line has too few "#" or its row or column does not read as a number.
    static std::optional<CellLine> parseCellLine(QStringView line);

    // A whole number in [low, high]: plain decimal digits directly, anything else by the
    // classic numeric conversion. Empty when it does not convert or is out of range.
    static std::optional<qint64> parseWhole(QStringView text, qint64 low, qint64 high);

private:
    // The most characters a 64-bit number takes in decimal, its minus sign included.
    static constexpr int MaxNumberLength = 20;
    // Writes the number in decimal at `out`; gives the number of characters written.
    static int putNumber(char16_t* out, qint64 value);
    static void appendNumber(QString& out, qint64 value);
    // A carriage return would end the line early: CR LF and a lone CR are written as LF.
    static void appendLineSafe(QString& out, QStringView text);
    static void appendCellLine(QString& out, QStringView text, int32_t color, bool bold,
                               bool underline, bool italic, int row, int column);
    static std::optional<bool> parseFlag(QChar digit);
};

} // namespace grid
