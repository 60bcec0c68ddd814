#pragma once
// The per-channel colour mix behind every derived colour of the grid and the flat button.

#include <cstdint>

namespace grid {

// Mixes two colours channel by channel; lAlpha is the weight of the first colour out of 255.
// System colours are translated to plain RGB first. lAlpha is held to 0..255, so no channel
// can leave its byte.
uint32_t BlendColor(uint32_t clrFirst, uint32_t clrSecond, int lAlpha);

} // namespace grid
