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
        enum class Kind { Text, Number };
        Kind kind = Kind::Text;
        QString text;  // Text: "" leaves the cell empty
        double number = 0;
        bool isDate = false; // Number that is a date and time
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

// True when the text is a number written in its plainest form ("12", "-3.5", "0.25"), so
// that the sheet shows it exactly as written: no leading zeros ("007"), no trailing
// fraction zeros ("12.50"), no exponent, "." as separator, at most 15 digits. Such a text
// goes into a cell as a number; anything else as text.
bool readsAsPlainNumber(const QString& text, double& value);

} // namespace platform::calc
