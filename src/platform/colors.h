#pragma once
// Colours are 32-bit &HBBGGRR values (red in the low byte). A value with the top bit set
// names a system colour; it is translated through a fixed table of the classic values so
// that drawings are the same on every machine.

#include <QColor>
#include <cstdint>

namespace platform {

// Plain &HBBGGRR for any colour value, system colours included. An unknown system colour
// index gives black.
uint32_t OleTranslateColor(uint32_t color);

// Builds a &HBBGGRR value.
constexpr uint32_t RGB(int r, int g, int b)
{
    return uint32_t(r & 0xFF) | (uint32_t(g & 0xFF) << 8) | (uint32_t(b & 0xFF) << 16);
}

// The Qt colour of any colour value (translated first).
QColor toQColor(uint32_t color);
// The &HBBGGRR value of a Qt colour.
uint32_t fromQColor(const QColor& color);

// A few system colours by their classic numbers.
namespace SysColor {
constexpr uint32_t ButtonFace = 0x8000000F;
constexpr uint32_t ButtonShadow = 0x80000010;
constexpr uint32_t ButtonText = 0x80000012;
constexpr uint32_t Highlight = 0x8000000D;
constexpr uint32_t HighlightText = 0x8000000E;
constexpr uint32_t Window = 0x80000005;
constexpr uint32_t WindowText = 0x80000008;
constexpr uint32_t ThreeDHighlight = 0x80000014;
constexpr uint32_t ThreeDDarkShadow = 0x80000015;
constexpr uint32_t ThreeDLight = 0x80000016;
} // namespace SysColor

} // namespace platform
