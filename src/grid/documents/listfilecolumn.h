#pragma once
// One entry of a list file's header line: a column's caption and width in pixels.

#include <QString>
#include <optional>

namespace grid {

struct ListFileColumn {
    QString caption;
    std::optional<int> width; // empty when the file's width does not read as a number

    bool operator==(const ListFileColumn&) const = default;
};

} // namespace grid
