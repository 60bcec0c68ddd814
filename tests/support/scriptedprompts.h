#pragma once
// A scripted stand-in for the program's prompts: each kind of prompt takes its answers from
// a queue the test fills, every prompt shown is recorded, and a prompt with no queued answer
// fails the running test.

#include "platform/commondialog.h"
#include "support/checkedlist.h"
#include "platform/prompts.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <deque>
#include <functional>

namespace testsupport {

enum class PromptKind { MsgBox, InputBox, ShowOpen, ShowSave, ShowColor };

// One prompt as it was shown.
struct RecordedPrompt {
    PromptKind kind = PromptKind::MsgBox;
    QString text;        // message or input prompt; the dialog title for file and colour dialogs
    int style = 0;       // message box style; the dialog's Flags for file and colour dialogs
    QString title;       // "" given by the caller is recorded as "Quorvane"
    QString defaultText; // input box only
    platform::CommonDialog dialog; // file and colour dialogs: the state as it was shown
};

class ScriptedPrompts : public platform::Prompts {
public:
    // Answers for the next prompt of each kind, taken in order.
    void queueAnswer(platform::Answer answer);
    void queueAnswer(std::function<platform::Answer(const RecordedPrompt&)> answer);
    void queueInput(const QString& text); // "" answers as Cancel does
    void queueOpen(const QString& path);  // the chosen file
    void queueOpenCancel();
    void queueSave(const QString& path);
    void queueSaveCancel();
    void queueColor(uint32_t color);
    void queueColorCancel();

    // Answers still waiting in the queues.
    int pendingAnswers() const;
    // Every prompt shown so far, in order. Asking for one that was not shown fails the test
    // rather than crashing it.
    const CheckedList<RecordedPrompt>& recorded() const { return recorded_; }
    // The texts of the prompts shown so far (message and input texts, dialog titles), checked
    // in the same way.
    CheckedList<QString> texts() const;
    // Forgets the record and every queued answer.
    void clear();

    platform::Answer MsgBox(const QString& text, int style = platform::MsgStyle::OkOnly,
                            const QString& title = QString()) override;
    QString InputBox(const QString& prompt, const QString& title = QString(),
                     const QString& defaultText = QString()) override;
    bool ShowOpen(platform::CommonDialog& dialog) override;
    bool ShowSave(platform::CommonDialog& dialog) override;
    bool ShowColor(platform::CommonDialog& dialog) override;

private:
    using DialogAnswer = std::function<bool(platform::CommonDialog&)>;

    const RecordedPrompt& record(RecordedPrompt prompt);
    bool answerDialog(PromptKind kind, std::deque<DialogAnswer>& queue, platform::CommonDialog& dialog);
    static void unexpected(const RecordedPrompt& prompt);

    CheckedList<RecordedPrompt> recorded_;
    std::deque<std::function<platform::Answer(const RecordedPrompt&)>> answers_;
    std::deque<QString> inputs_;
    std::deque<DialogAnswer> opens_;
    std::deque<DialogAnswer> saves_;
    std::deque<DialogAnswer> colors_;
};

} // namespace testsupport
