#include "grid/gridcolors.h"

#include "grid/blendcolor.h"

namespace grid {

GridColors GridColors::defaults()
{
    GridColors c;
    c.BorderColor = 0xE3C1AA;
    c.SelectedColor = BlendColor(0xFFFFFF, c.BorderColor, 130);
    c.ScrollForeColor = 0xD4D4D4;
    c.ScrollBackColor = BlendColor(0xFFFFFF, 0xD4D4D4, 170);
    c.HeaderBorderColor = BlendColor(0x000000, 0xD4D4D4, 60);
    c.HeaderBackColor = 0xD4D4D4;
    c.SelectedRowColor = BlendColor(BackColor, c.SelectedColor, 190);
    return c;
}

} // namespace grid
