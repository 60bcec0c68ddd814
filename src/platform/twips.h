#pragma once
// Window sizes and positions are kept in twips; the grid draws in pixels. The screen is
// taken as 15 twips per pixel in both directions, on every machine.

namespace platform {

constexpr int TwipsPerPixelX = 15;
constexpr int TwipsPerPixelY = 15;

} // namespace platform
