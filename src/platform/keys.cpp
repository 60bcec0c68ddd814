#include "platform/keys.h"

namespace platform {

int keyCode(int qtKey)
{
    if ((qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) || (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9))
        return qtKey; // Qt uses the upper-case character codes for these
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F12)
        return 112 + (qtKey - Qt::Key_F1);
    switch (qtKey) {
    case Qt::Key_Backspace: return Key::Back;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return Key::Tab;
    case Qt::Key_Return:
    case Qt::Key_Enter: return Key::Enter;
    case Qt::Key_Shift: return 16;
    case Qt::Key_Control: return 17;
    case Qt::Key_Alt: return 18;
    case Qt::Key_Escape: return Key::Escape;
    case Qt::Key_Space: return 32;
    case Qt::Key_PageUp: return Key::PageUp;
    case Qt::Key_PageDown: return Key::PageDown;
    case Qt::Key_End: return Key::End;
    case Qt::Key_Home: return Key::Home;
    case Qt::Key_Left: return Key::Left;
    case Qt::Key_Up: return Key::Up;
    case Qt::Key_Right: return Key::Right;
    case Qt::Key_Down: return Key::Down;
    case Qt::Key_Insert: return Key::Insert;
    case Qt::Key_Delete: return Key::Delete;
    default: return 0;
    }
}

int shiftMask(Qt::KeyboardModifiers modifiers)
{
    int mask = 0;
    if (modifiers & Qt::ShiftModifier)
        mask |= Mask::Shift;
    if (modifiers & Qt::ControlModifier)
        mask |= Mask::Ctrl;
    if (modifiers & Qt::AltModifier)
        mask |= Mask::Alt;
    return mask;
}

int buttonMask(Qt::MouseButtons buttons)
{
    int mask = 0;
    if (buttons & Qt::LeftButton)
        mask |= 1;
    if (buttons & Qt::RightButton)
        mask |= 2;
    if (buttons & Qt::MiddleButton)
        mask |= 4;
    return mask;
}

} // namespace platform
