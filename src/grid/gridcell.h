#pragma once
// One cell of the grid as callers see it: its text, its bold, italic and underline flags and
// its text colour.

#include <QString>
#include <cstdint>

namespace grid {

struct GridCell {
    QString Text;          // "" is an empty cell
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    uint32_t Color = 0;    // &HBBGGRR; stored as given, system colours untranslated

    // True for a cell with no text, no flag and colour 0 (what a new or cleared cell holds).
    bool isEmpty() const { return Text.isEmpty() && !Bold && !Italic && !Underline && Color == 0; }
    bool operator==(const GridCell&) const = default;
};

} // namespace grid
