#pragma once
// The user-facing prompts the program asks through: message boxes, input boxes and the
// file and colour dialogs. Production shows Qt dialogs; tests install a scripted one.

#include <QString>

namespace platform {

struct CommonDialog;

// Message box styles as the program numbers them.
namespace MsgStyle {
constexpr int OkOnly = 0;            // OK alone, no icon
constexpr int YesNo = 4;             // Yes and No
constexpr int RetryCancel = 5;       // Retry and Cancel
constexpr int Critical = 16;         // OK with the critical icon
constexpr int Information = 64;      // OK with the information icon
constexpr int YesNoCriticalNo = 276; // Yes and No, critical icon, No the default
constexpr int YesNoQuestionNo = 292; // Yes and No, question icon, No the default
constexpr int YesNoCancelQuestionCancel = 547; // Yes, No and Cancel, question icon, Cancel the default
} // namespace MsgStyle

// Answers, with the classic numbers so stored or compared values stay the same.
enum class Answer { OK = 1, Cancel = 2, Retry = 4, Yes = 6, No = 7 };

// The title a box carries when the caller gives none.
inline const QString DefaultTitle = QStringLiteral("Quorvane");

class Prompts {
public:
    virtual ~Prompts() = default;

    // Shows a message box; an empty title means DefaultTitle. The style is one of MsgStyle
    // (other values are shown as their button/icon/default bits say).
    virtual Answer MsgBox(const QString& text, int style = MsgStyle::OkOnly,
                          const QString& title = QString()) = 0;

    // Shows an input box; Cancel gives "" as the classic one does.
    virtual QString InputBox(const QString& prompt, const QString& title = QString(),
                             const QString& defaultText = QString()) = 0;

    // Shows an open, save or colour dialog for the given dialog state. On OK the state's
    // FileName/FileTitle (or Color) are set and true is returned; on Cancel false, and the
    // state keeps its values.
    virtual bool ShowOpen(CommonDialog& dialog) = 0;
    virtual bool ShowSave(CommonDialog& dialog) = 0;
    virtual bool ShowColor(CommonDialog& dialog) = 0;
};

// The prompts in use. By default the Qt implementation; tests install a scripted one.
Prompts& prompts();
// Installs another implementation (not owned); nullptr restores the Qt one.
void setPrompts(Prompts* p);

} // namespace platform
