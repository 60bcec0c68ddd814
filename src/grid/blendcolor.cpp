#include "grid/blendcolor.h"

#include "platform/colors.h"
#include "platform/vb.h"

#include <algorithm>

namespace grid {

uint32_t BlendColor(uint32_t clrFirst, uint32_t clrSecond, int lAlpha)
{
    lAlpha = std::clamp(lAlpha, 0, 255);
    const uint32_t first = platform::OleTranslateColor(clrFirst);
    const uint32_t second = platform::OleTranslateColor(clrSecond);
    uint32_t result = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const int a = int((first >> shift) & 0xFF);
        const int b = int((second >> shift) & 0xFF);
        const double mixed = double(a * lAlpha + b * (255 - lAlpha)) / 255.0;
        result |= uint32_t(platform::vb::RoundHalfEven(mixed)) << shift;
    }
    return result | (first & 0xFF000000u);
}

} // namespace grid
