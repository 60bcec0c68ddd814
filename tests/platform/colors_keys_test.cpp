#include "platform/colors.h"
#include "platform/keys.h"

#include <gtest/gtest.h>

using platform::RGB;

TEST(Colors, SystemColoursTranslateThroughTheFixedTable)
{
    const uint32_t cases[][2] = {
        {platform::SysColor::ButtonFace, RGB(240, 240, 240)},
        {platform::SysColor::Window, RGB(255, 255, 255)},
        {platform::SysColor::WindowText, 0},
        {platform::SysColor::Highlight, RGB(51, 153, 255)},
        {platform::SysColor::ButtonShadow, RGB(160, 160, 160)},
        {0x80000009u, 0},                 // caption text
        {0x8000000Au, RGB(180, 180, 180)}, // active border
        {0x8000001Fu, 0},                 // no such system colour
        {0xE3C1AAu, 0xE3C1AAu},           // plain values pass as they are
        {0x00FFFFFFu, 0x00FFFFFFu},
    };
    for (const auto& c : cases)
        EXPECT_EQ(platform::OleTranslateColor(c[0]), c[1]) << std::hex << c[0];
}

TEST(Colors, QtColourRoundTripKeepsChannelOrder)
{
    const QColor q = platform::toQColor(0x3E280Fu); // &HBBGGRR
    EXPECT_EQ(q, QColor(0x0F, 0x28, 0x3E));
    EXPECT_EQ(platform::fromQColor(q), 0x3E280Fu);
}

TEST(Keys, QtKeysMapToClassicCodes)
{
    const int cases[][2] = {
        {Qt::Key_Return, 13}, {Qt::Key_Enter, 13}, {Qt::Key_Left, 37}, {Qt::Key_Up, 38},
        {Qt::Key_Right, 39}, {Qt::Key_Down, 40}, {Qt::Key_Insert, 45}, {Qt::Key_Delete, 46},
        {Qt::Key_A, 65}, {Qt::Key_Z, 90}, {Qt::Key_5, 53}, {Qt::Key_F1, 112}, {Qt::Key_F12, 123},
        {Qt::Key_Backspace, 8}, {Qt::Key_Escape, 27}, {Qt::Key_Eacute, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(platform::keyCode(c[0]), c[1]) << c[0];
}

TEST(Keys, ModifierMaskIgnoresTheKeypadFlag)
{
    EXPECT_EQ(platform::shiftMask(Qt::ControlModifier | Qt::KeypadModifier), 2);
    EXPECT_EQ(platform::shiftMask(Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier), 7);
    EXPECT_EQ(platform::shiftMask(Qt::NoModifier), 0);
    EXPECT_EQ(platform::keyCode(Qt::Key_Insert), 45);
}

TEST(Keys, MouseButtonMaskIgnoresOtherButtons)
{
    EXPECT_EQ(platform::buttonMask(Qt::LeftButton), 1);
    EXPECT_EQ(platform::buttonMask(Qt::LeftButton | Qt::RightButton | Qt::MiddleButton), 7);
    EXPECT_EQ(platform::buttonMask(Qt::BackButton), 0);
}
