#pragma once
// The prompts of a test's child process, which runs a posting or a save that asks nothing:
// any prompt ends the child with exit status 3, its text on stderr, so the test sees it.

#include "platform/commondialog.h"
#include "platform/prompts.h"

#include <QString>
#include <cstdio>
#include <unistd.h>

namespace testsupport {

[[noreturn]] inline void unexpectedPrompt(const QString& text)
{
    std::fprintf(stderr, "unexpected prompt: %s\n", text.toLocal8Bit().constData());
    std::fflush(stderr);
    _exit(3);
}

class NoPrompts : public platform::Prompts {
public:
    platform::Answer MsgBox(const QString& text, int, const QString&) override { unexpectedPrompt(text); }
    QString InputBox(const QString& text, const QString&, const QString&) override { unexpectedPrompt(text); }
    bool ShowOpen(platform::CommonDialog&) override { unexpectedPrompt(QStringLiteral("open dialog")); }
    bool ShowSave(platform::CommonDialog&) override { unexpectedPrompt(QStringLiteral("save dialog")); }
    bool ShowColor(platform::CommonDialog&) override { unexpectedPrompt(QStringLiteral("colour dialog")); }
};

} // namespace testsupport
