#pragma once
// One cell as a list file carries it: text, the three flags and the text colour.

#include <QString>
#include <cstdint>

namespace grid {

struct ListFileCell {
    QString text;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    int32_t color = 0; // &HBBGGRR, system colours keep their top bit

    bool operator==(const ListFileCell&) const = default;
};

} // namespace grid
