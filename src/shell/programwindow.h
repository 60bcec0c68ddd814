#pragma once
// One window of the program as the window registry holds it: its top-level widget, and what
// the grid, the spreadsheet exchange and the launcher reach through it. A window that plays
// no part in one of these keeps the default (nullptr). Windows never include the shell, so a
// window is registered through a small adapter written here that implements this class for it.
// The adapter does not own the form: the registry deletes it, or it deletes itself when it
// closes, so the adapter must not touch it in its destructor.

#include <QWidget>

namespace grid {
class GridWindow;
class ProgressDisplay;
} // namespace grid

namespace shell {

class LaunchedWindow;

class ProgramWindow {
public:
    virtual ~ProgramWindow() = default;

    // The window itself, a top-level widget without parent.
    virtual QWidget& form() = 0;
    // Closes the window for the program's shut-down, running its own closing steps; false when
    // it stays open. By default that is closing the form.
    virtual bool closeForShutDown() { return form().close(); }

    // What the grid calls back into (the document windows).
    virtual grid::GridWindow* gridWindow() { return nullptr; }
    // The progress bar the spreadsheet exchange fills (the document windows).
    virtual grid::ProgressDisplay* ProgressBar1() { return nullptr; }
    // What the launcher sets when it opens the window with its stored placement (the item
    // groups, contact companies and transactions windows).
    virtual LaunchedWindow* launched() { return nullptr; }
};

// The usual adapter's base: it keeps the form it was given and hands it out.
template <typename Form>
class RegisteredForm : public ProgramWindow {
public:
    explicit RegisteredForm(Form* form) : m_form(form) {}
    QWidget& form() override { return *m_form; }
    Form& window() { return *m_form; }

private:
    Form* m_form;
};

} // namespace shell
