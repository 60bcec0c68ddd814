#pragma once
// A user at the real program: clicks and keys through Qt's own input simulation into the
// program's real widgets, and answers the real dialogs (message boxes, input boxes, file
// dialogs) as they come up, in the order the test expects them. A dialog that is not expected
// fails the test and is closed, so the run never hangs on it.

#include <QString>
#include <QStringList>
#include <QTimer>
#include <deque>
#include <functional>

class QAction;
class QMenuBar;
class QWidget;

namespace grid {
class List;
}

namespace e2e {

class ScriptedUser {
public:
    ScriptedUser();
    ~ScriptedUser();

    // The next dialog: a message box whose text contains `text` (empty: any text), answered
    // with the button of that caption ("OK", "&Yes", "&No", "Cancel").
    void expectMessage(const QString& text, const QString& button = QStringLiteral("OK"));
    // An input box whose prompt contains `prompt`, answered with `typed` and Enter.
    void expectInput(const QString& prompt, const QString& typed);
    // A file dialog, answered with the path typed into its name field and Enter.
    void expectFile(const QString& path);
    // Fails when an expected dialog never came.
    void expectNothingPending(const char* step);
    // Every dialog text seen, in order.
    const QStringList& seen() const { return m_seen; }

    // Mouse and keys.
    static void click(QWidget* widget);
    // Brings the window to the front with the keyboard focus, as a click on its frame does.
    static void activate(QWidget* window);
    // Chooses a menu entry through the menu bar, the names of the entries from the top.
    static void choose(QWidget* window, const QList<QAction*>& path);
    // A click into a cell of a grid: its row opens and the cell's editor takes the focus.
    static void clickCell(grid::List& list, int row, int column);
    // Text typed into the widget that has the focus, then Enter when `enter`.
    static void type(const QString& text, bool enter = false);
    static void typeInto(QWidget* widget, const QString& text);
    // A key pressed on the widget that has the focus.
    static void key(int key);
    // Lets the program run until the condition holds (a guard against hangs only).
    static bool waitFor(const std::function<bool()>& condition, int timeoutMs = 20000);

private:
    struct Expected {
        enum class Kind { Message, Input, File } kind;
        QString text;
        QString answer;
    };
    void poll();
    void answer(QWidget* modal);

    std::deque<Expected> m_expected;
    QStringList m_seen;
    QTimer m_timer;
    bool m_answering = false;
};

} // namespace e2e
