#pragma once
// The prompts shown as Qt dialogs: the implementation the program uses outside tests.

#include "platform/prompts.h"

class QWidget;

namespace platform {

class QtPrompts : public Prompts {
public:
    Answer MsgBox(const QString& text, int style = MsgStyle::OkOnly,
                  const QString& title = QString()) override;
    QString InputBox(const QString& prompt, const QString& title = QString(),
                     const QString& defaultText = QString()) override;
    bool ShowOpen(CommonDialog& dialog) override;
    bool ShowSave(CommonDialog& dialog) override;
    bool ShowColor(CommonDialog& dialog) override;

private:
    static QWidget* parentWindow();
    static bool showFileDialog(CommonDialog& dialog, bool save);
};

} // namespace platform
