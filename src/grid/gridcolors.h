#pragma once
// The grid's colours: its fixed back colour and the colours derived from the border colour at
// construction.

#include <cstdint>

namespace grid {

struct GridColors {
    // Background of every column body that is not highlighted; fixed in the control's design.
    static constexpr uint32_t BackColor = 0xC9D7E7;
    // Row-number colour, mixed from two constants (not from the current BorderColor).
    static constexpr uint32_t CounterForeColor = 0x6F553D;

    uint32_t BorderColor = 0;
    uint32_t SelectedColor = 0;
    uint32_t ScrollForeColor = 0;
    uint32_t ScrollBackColor = 0;
    uint32_t HeaderBorderColor = 0;
    uint32_t HeaderBackColor = 0;
    uint32_t SelectedRowColor = 0;

    // The colours a new grid gets, each derived colour mixed by BlendColor.
    static GridColors defaults();
};

} // namespace grid
