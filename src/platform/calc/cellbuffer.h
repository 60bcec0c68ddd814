#pragma once
// Cell writes held back and handed to the office as rectangular blocks, so that filling a
// sheet costs a few calls rather than one per cell.

#include <QString>
#include <cstddef>
#include <vector>

namespace platform::calc {

class CellBuffer {
public:
    struct Value {
        enum class Kind {
            Text,      // text: "" leaves the cell empty
            TypedNumber, // a text that reads as a number: the number, unless the cell is a text cell
            Number,    // a number given as one
            Date,      // a date and time, as its serial number
        };
        Kind kind = Kind::Text;
        QString text;  // Text and TypedNumber: the text as written
        double number = 0;
        int decimals = 0; // TypedNumber: the digits written after the decimal point
    };

    // A rectangle of cells, values row by row. Rows and columns are 1-based.
    struct Block {
        int firstRow = 0;
        int firstColumn = 0;
        int rows = 0;
        int columns = 0;
        std::vector<Value> values;
    };

    // Holds a write; a later write to the same cell wins.
    void put(int row, int column, Value value);

    std::size_t size() const { return entries_.size(); }
    bool empty() const { return entries_.empty(); }

    // The held writes as blocks that cover exactly the written cells (no cell in between is
    // touched), and an empty buffer.
    std::vector<Block> takeBlocks();

private:
    struct Entry {
        int row;
        int column;
        Value value;
    };
    void sortLatestLast();

    std::vector<Entry> entries_;
};

// True when the text is a number as the program writes one: an optional "-", digits without
// leading zeros ("007" is an identifier, not seven) and optionally "." and more digits, at most
// 15 digits in all so that a double holds it exactly. decimals is the count of digits after
// the ".", which the cell then shows ("24.50" is 24.5 shown with two decimals). Anything else
// ("1E5", "+3", "1,5", ".5", "-0", blanks) is not, and goes into a cell as text.
bool readsAsNumber(const QString& text, double& value, int& decimals);

} // namespace platform::calc
