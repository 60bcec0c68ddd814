#include "platform/msgboxstyle.h"

namespace platform {

MsgBoxStyle MsgBoxStyle::fromStyle(int style)
{
    MsgBoxStyle s;
    switch (style & 0x7) {
    case 1: s.buttons = {Answer::OK, Answer::Cancel}; break;
    case 3: s.buttons = {Answer::Yes, Answer::No, Answer::Cancel}; break;
    case 4: s.buttons = {Answer::Yes, Answer::No}; break;
    case 5: s.buttons = {Answer::Retry, Answer::Cancel}; break;
    default: s.buttons = {Answer::OK}; break; // the abort set is not used
    }
    switch (style & 0x70) {
    case 16: s.icon = Icon::Critical; break;
    case 32: s.icon = Icon::Question; break;
    case 48: s.icon = Icon::Warning; break;
    case 64: s.icon = Icon::Information; break;
    default: s.icon = Icon::None; break;
    }
    const int defaultIndex = (style >> 8) & 0x3;
    s.defaultButton = s.buttons.value(defaultIndex, s.buttons.first());
    if (s.buttons.contains(Answer::Cancel))
        s.escapeAnswer = Answer::Cancel;
    else if (s.buttons.contains(Answer::No))
        s.escapeAnswer = Answer::No;
    else
        s.escapeAnswer = Answer::OK;
    return s;
}

} // namespace platform
