#pragma once
// A window that stands in for the document windows while they are not built: it records what
// the launcher sets on it and, holding changes, asks "Save Changes?" as it closes, keeping
// itself open on Cancel.

#include "platform/prompts.h"
#include "shell/launchedwindow.h"
#include "shell/programwindow.h"
#include "support/checkedlist.h"

#include <QCloseEvent>
#include <QString>
#include <QStringList>
#include <QWidget>

namespace shelltest {

class TestWindow : public QWidget {
public:
    explicit TestWindow(const QString& caption) { setWindowTitle(caption); }

    bool changed = false;
    bool toolbarChecked = true;
    bool textbarChecked = true;
    bool mainbarVisible = true;
    bool textTextVisible = true;
    QString recentCaption[3];
    bool recentVisible[3] = {false, false, false};
    testsupport::CheckedList<QString> calls;

protected:
    void closeEvent(QCloseEvent* event) override
    {
        calls << QStringLiteral("close");
        if (changed
            && platform::prompts().MsgBox(QStringLiteral("Save Changes?"), platform::MsgStyle::YesNoCancelQuestionCancel,
                                          windowTitle())
                   == platform::Answer::Cancel) {
            event->ignore();
            return;
        }
        event->accept();
    }
};

// Its registration: the form and the launcher's steps.
class TestEntry : public shell::RegisteredForm<TestWindow>, public shell::LaunchedWindow {
public:
    explicit TestEntry(TestWindow* window) : RegisteredForm(window) {}

    shell::LaunchedWindow* launched() override { return this; }

    void setBarMenus(bool toolbarChecked, bool textbarChecked) override
    {
        window().calls << QStringLiteral("setBarMenus");
        window().toolbarChecked = toolbarChecked;
        window().textbarChecked = textbarChecked;
    }
    void showCheckedBars() override
    {
        window().calls << QStringLiteral("showCheckedBars");
        window().mainbarVisible = window().toolbarChecked;
        window().textTextVisible = window().textbarChecked;
    }
    void Reposition() override { window().calls << QStringLiteral("Reposition"); }
    void setRecentFileCaption(int slot, const QString& caption) override
    {
        window().recentCaption[slot - 1] = caption;
    }
    void showRecentFileMenu(int slot) override { window().recentVisible[slot - 1] = true; }
};

} // namespace shelltest
