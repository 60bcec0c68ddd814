#pragma once
// Key codes and the modifier mask as the program's handlers expect them.

#include <Qt>

namespace platform {

namespace Key {
constexpr int Back = 8;
constexpr int Tab = 9;
constexpr int Enter = 13;
constexpr int Escape = 27;
constexpr int PageUp = 33;
constexpr int PageDown = 34;
constexpr int End = 35;
constexpr int Home = 36;
constexpr int Left = 37;
constexpr int Up = 38;
constexpr int Right = 39;
constexpr int Down = 40;
constexpr int Insert = 45;
constexpr int Delete = 46;
} // namespace Key

namespace Mask {
constexpr int Shift = 1;
constexpr int Ctrl = 2;
constexpr int Alt = 4;
} // namespace Mask

// The classic key code of a Qt key: letters and digits give their upper-case character
// code, F1..F12 give 112..123, the named keys as in Key; 0 for a key without a code.
int keyCode(int qtKey);
// The modifier mask (Shift 1, Ctrl 2, Alt 4); the keypad flag and others are ignored.
int shiftMask(Qt::KeyboardModifiers modifiers);
// The mouse button mask (left 1, right 2, middle 4); other buttons are ignored.
int buttonMask(Qt::MouseButtons buttons);

} // namespace platform
