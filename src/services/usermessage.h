#pragma once
// A message that a service leaves to its window: the text, the message box style and the
// title, as the program words them. The window shows it through its prompts.

#include "platform/prompts.h"

#include <QString>

namespace services {

struct UserMessage {
    QString text;
    int style = platform::MsgStyle::OkOnly;
    QString title; // "" shows the program's title

    void show(platform::Prompts& prompts) const { prompts.MsgBox(text, style, title); }

    bool operator==(const UserMessage&) const = default;
};

} // namespace services
