#pragma once
// What a list file that was cut short still tells of itself. A whole list file holds its
// header line and its row-count line, and ends every line, its last one too, with CR LF; a
// copy or a write that stopped part way leaves a file that ends inside a line, or before
// its row count. The rows after the cut are missing, and nothing in the file says what they
// held.

#include <QString>
#include <optional>

namespace grid {

struct ListFileCut {
    // The number of rows the file says it holds; empty when it ends before its row-count
    // line, or inside it.
    std::optional<int> declaredRows;
    // The last row that a cell line read from the file filled; 0 when none did.
    int lastRowFound = 0;

    friend bool operator==(const ListFileCut&, const ListFileCut&) = default;

    // The rows the file should hold and those found in it, as one sentence for the user.
    QString rowsSentence() const;
    // What the user is told of the file at path: that it is incomplete, and its rows.
    QString described(const QString& path) const;
};

} // namespace grid
