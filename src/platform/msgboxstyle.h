#pragma once
// What a classic message box style number asks for: which buttons, which icon and which
// button is the default.

#include "platform/prompts.h"

#include <QList>

namespace platform {

struct MsgBoxStyle {
    enum class Icon { None, Critical, Question, Warning, Information };

    QList<Answer> buttons;   // in the order they are shown
    Icon icon = Icon::None;
    Answer defaultButton = Answer::OK;
    Answer escapeAnswer = Answer::OK; // what closing the box without a button gives

    static MsgBoxStyle fromStyle(int style);
};

} // namespace platform
