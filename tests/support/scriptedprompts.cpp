#include "support/scriptedprompts.h"

#include <QFileInfo>
#include <gtest/gtest.h>

namespace testsupport {

namespace {

const char* kindName(PromptKind kind)
{
    switch (kind) {
    case PromptKind::MsgBox: return "message box";
    case PromptKind::InputBox: return "input box";
    case PromptKind::ShowOpen: return "open dialog";
    case PromptKind::ShowSave: return "save dialog";
    case PromptKind::ShowColor: return "colour dialog";
    }
    return "prompt";
}

std::function<bool(platform::CommonDialog&)> chooseFile(const QString& path)
{
    return [path](platform::CommonDialog& d) {
        d.FileName = path;
        d.FileTitle = QFileInfo(path).fileName();
        return true;
    };
}

bool cancel(platform::CommonDialog&)
{
    return false;
}

} // namespace

void ScriptedPrompts::queueAnswer(platform::Answer answer)
{
    answers_.push_back([answer](const RecordedPrompt&) { return answer; });
}

void ScriptedPrompts::queueAnswer(std::function<platform::Answer(const RecordedPrompt&)> answer)
{
    answers_.push_back(std::move(answer));
}

void ScriptedPrompts::queueInput(const QString& text)
{
    inputs_.push_back(text);
}

void ScriptedPrompts::queueOpen(const QString& path)
{
    opens_.push_back(chooseFile(path));
}

void ScriptedPrompts::queueOpenCancel()
{
    opens_.push_back(cancel);
}

void ScriptedPrompts::queueSave(const QString& path)
{
    saves_.push_back(chooseFile(path));
}

void ScriptedPrompts::queueSaveCancel()
{
    saves_.push_back(cancel);
}

void ScriptedPrompts::queueColor(uint32_t color)
{
    colors_.push_back([color](platform::CommonDialog& d) {
        d.Color = color;
        return true;
    });
}

void ScriptedPrompts::queueColorCancel()
{
    colors_.push_back(cancel);
}

int ScriptedPrompts::pendingAnswers() const
{
    return int(answers_.size() + inputs_.size() + opens_.size() + saves_.size() + colors_.size());
}

CheckedList<QString> ScriptedPrompts::texts() const
{
    CheckedList<QString> out;
    for (const RecordedPrompt& p : recorded_)
        out << p.text;
    return out;
}

void ScriptedPrompts::clear()
{
    recorded_.clear();
    answers_.clear();
    inputs_.clear();
    opens_.clear();
    saves_.clear();
    colors_.clear();
}

const RecordedPrompt& ScriptedPrompts::record(RecordedPrompt prompt)
{
    if (prompt.title.isEmpty())
        prompt.title = platform::DefaultTitle;
    recorded_.append(std::move(prompt));
    return recorded_.constLast();
}

void ScriptedPrompts::unexpected(const RecordedPrompt& prompt)
{
    ADD_FAILURE() << "Unexpected " << kindName(prompt.kind) << ": \"" << prompt.text.toStdString()
                  << "\" (style " << prompt.style << ", title \"" << prompt.title.toStdString() << "\")";
}

platform::Answer ScriptedPrompts::MsgBox(const QString& text, int style, const QString& title)
{
    const RecordedPrompt& p = record({PromptKind::MsgBox, text, style, title, QString(), {}});
    if (answers_.empty()) {
        unexpected(p);
        return platform::Answer::Cancel;
    }
    auto answer = std::move(answers_.front());
    answers_.pop_front();
    return answer(p);
}

QString ScriptedPrompts::InputBox(const QString& prompt, const QString& title, const QString& defaultText)
{
    const RecordedPrompt& p = record({PromptKind::InputBox, prompt, 0, title, defaultText, {}});
    if (inputs_.empty()) {
        unexpected(p);
        return QString();
    }
    const QString text = inputs_.front();
    inputs_.pop_front();
    return text;
}

bool ScriptedPrompts::answerDialog(PromptKind kind, std::deque<DialogAnswer>& queue,
                                   platform::CommonDialog& dialog)
{
    const RecordedPrompt& p = record({kind, dialog.DialogTitle, dialog.Flags, dialog.DialogTitle, QString(), dialog});
    if (queue.empty()) {
        unexpected(p);
        return false;
    }
    auto answer = std::move(queue.front());
    queue.pop_front();
    return answer(dialog);
}

bool ScriptedPrompts::ShowOpen(platform::CommonDialog& dialog)
{
    return answerDialog(PromptKind::ShowOpen, opens_, dialog);
}

bool ScriptedPrompts::ShowSave(platform::CommonDialog& dialog)
{
    return answerDialog(PromptKind::ShowSave, saves_, dialog);
}

bool ScriptedPrompts::ShowColor(platform::CommonDialog& dialog)
{
    return answerDialog(PromptKind::ShowColor, colors_, dialog);
}

} // namespace testsupport
