#include "scripteduser.h"

#include "grid/gridcore.h"
#include "grid/list.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QCompleter>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

namespace e2e {

ScriptedUser::ScriptedUser()
{
    m_timer.setInterval(50);
    QObject::connect(&m_timer, &QTimer::timeout, [this] { poll(); });
    m_timer.start();
}

ScriptedUser::~ScriptedUser() = default;

void ScriptedUser::expectMessage(const QString& text, const QString& button)
{
    m_expected.push_back({Expected::Kind::Message, text, button});
}

void ScriptedUser::expectInput(const QString& prompt, const QString& typed)
{
    m_expected.push_back({Expected::Kind::Input, prompt, typed});
}

void ScriptedUser::expectFile(const QString& path)
{
    m_expected.push_back({Expected::Kind::File, QString(), path});
}

void ScriptedUser::expectNothingPending(const char* step)
{
    for (const Expected& e : m_expected)
        ADD_FAILURE() << step << ": a dialog never came: " << e.text.toStdString() << " / " << e.answer.toStdString();
    m_expected.clear();
}

void ScriptedUser::poll()
{
    if (m_answering)
        return;
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || !modal->isVisible())
        return;
    m_answering = true;
    answer(modal);
    m_answering = false;
}

namespace {

QString kindName(QWidget* modal)
{
    if (qobject_cast<QMessageBox*>(modal))
        return QStringLiteral("message");
    if (qobject_cast<QInputDialog*>(modal))
        return QStringLiteral("input");
    if (qobject_cast<QFileDialog*>(modal))
        return QStringLiteral("file dialog");
    return QString::fromLatin1(modal->metaObject()->className());
}

// Types into a line edit as a user would: everything selected first, then the text, any
// completion list closed, then Enter.
void typeAndEnter(QLineEdit* edit, const QString& text)
{
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClicks(edit, text);
    if (QCompleter* completer = edit->completer(); completer && completer->popup() && completer->popup()->isVisible())
        completer->popup()->hide();
    QTest::keyClick(edit, Qt::Key_Return);
}

} // namespace

void ScriptedUser::answer(QWidget* modal)
{
    QString text;
    if (auto* box = qobject_cast<QMessageBox*>(modal))
        text = box->text();
    else if (auto* input = qobject_cast<QInputDialog*>(modal))
        text = input->labelText();
    else
        text = modal->windowTitle();
    m_seen << kindName(modal) + QStringLiteral(": ") + text;
    const QWidget* over = modal->parentWidget() ? modal->parentWidget()->window() : nullptr;
    fprintf(stderr, "[user] %s: %s (over %s)\n", qPrintable(kindName(modal)), qPrintable(text),
            over ? qPrintable(over->windowTitle()) : "nothing");

    const auto unexpected = [&](const QString& why) {
        ADD_FAILURE() << "unexpected " << kindName(modal).toStdString() << " \"" << text.toStdString() << "\" (" << why.toStdString() << ")";
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            if (QAbstractButton* escape = box->escapeButton())
                escape->click();
            else
                box->reject();
        } else if (auto* dialog = qobject_cast<QDialog*>(modal)) {
            dialog->reject();
        } else {
            modal->close();
        }
    };
    if (m_expected.empty())
        return unexpected(QStringLiteral("nothing was expected"));
    const Expected e = m_expected.front();
    m_expected.pop_front();

    switch (e.kind) {
    case Expected::Kind::Message: {
        auto* box = qobject_cast<QMessageBox*>(modal);
        if (!box)
            return unexpected(QStringLiteral("a message box was expected: ") + e.text);
        if (!e.text.isEmpty() && !text.contains(e.text))
            return unexpected(QStringLiteral("expected a message with: ") + e.text);
        for (QAbstractButton* button : box->buttons()) {
            if (button->text().remove(QLatin1Char('&')) == QString(e.answer).remove(QLatin1Char('&'))) {
                QTest::mouseClick(button, Qt::LeftButton);
                return;
            }
        }
        return unexpected(QStringLiteral("no button ") + e.answer);
    }
    case Expected::Kind::Input: {
        auto* input = qobject_cast<QInputDialog*>(modal);
        if (!input)
            return unexpected(QStringLiteral("an input box was expected: ") + e.text);
        if (!text.contains(e.text))
            return unexpected(QStringLiteral("expected an input box with: ") + e.text);
        QLineEdit* edit = input->findChild<QLineEdit*>();
        if (!edit)
            return unexpected(QStringLiteral("the input box has no field"));
        typeAndEnter(edit, e.answer);
        return;
    }
    case Expected::Kind::File: {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        if (!dialog)
            return unexpected(QStringLiteral("a file dialog was expected for ") + e.answer);
        QLineEdit* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        if (!edit)
            return unexpected(QStringLiteral("the file dialog has no name field"));
        // In the folder the dialog shows, the name alone, as a user types it.
        const QFileInfo wanted(e.answer);
        const bool here = QFileInfo(dialog->directory().path()).canonicalFilePath()
                          == QFileInfo(wanted.path()).canonicalFilePath();
        edit->setFocus();
        edit->setText(here ? wanted.fileName() : e.answer);
        if (QCompleter* completer = edit->completer(); completer && completer->popup())
            completer->popup()->hide();
        auto* buttons = dialog->findChild<QDialogButtonBox*>();
        QAbstractButton* accept = nullptr;
        for (QAbstractButton* b : buttons ? buttons->buttons() : QList<QAbstractButton*>())
            if (buttons->buttonRole(b) == QDialogButtonBox::AcceptRole)
                accept = b;
        if (!accept)
            return unexpected(QStringLiteral("the file dialog has no accept button"));
        // The dialog weighs the typed name before its button takes it; Enter in the name
        // field does the same as the button.
        waitFor([&] { return accept->isEnabled(); }, 2000);
        if (accept->isEnabled())
            QTest::mouseClick(accept, Qt::LeftButton);
        else
            QTest::keyClick(edit, Qt::Key_Return);
        if (!waitFor([&] { return !dialog->isVisible(); }, 60000)) {
            fprintf(stderr, "[user] the file dialog stays: name %s, directory %s, button %d\n", qPrintable(edit->text()),
                    qPrintable(dialog->directory().path()), accept->isEnabled());
            return unexpected(QStringLiteral("the file dialog does not take ") + e.answer);
        }
        return;
    }
    }
}

void ScriptedUser::click(QWidget* widget)
{
    QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, widget->rect().center());
}

void ScriptedUser::activate(QWidget* window)
{
    // An activation the program itself asked for a moment ago may still arrive after ours:
    // the user clicks again until the window is in front.
    for (int attempt = 0; attempt < 5 && !window->isActiveWindow(); ++attempt) {
        window->raise();
        window->activateWindow();
        (void)QTest::qWaitForWindowActive(window, 1000);
    }
    EXPECT_TRUE(window->isActiveWindow())
        << window->windowTitle().toStdString() << " visible " << window->isVisible() << " state "
        << int(window->windowState()) << " active "
        << (QApplication::activeWindow() ? QApplication::activeWindow()->windowTitle().toStdString() : "none");
}

void ScriptedUser::choose(QWidget* window, const QList<QAction*>& path)
{
    QMenuBar* bar = window->findChild<QMenuBar*>();
    ASSERT_NE(bar, nullptr);
    ASSERT_FALSE(path.isEmpty());
    QAction* top = path.front();
    ASSERT_NE(top, nullptr);
    QMenu* open = top->menu();
    const QRect place = bar->actionGeometry(top);
    // (A narrow window keeps its last menus behind the bar's extension button, whose menu
    // runs its own loop; the scenario reaches such commands by their keys instead.)
    ASSERT_TRUE(bar->actionAt(place.center()) == top && bar->rect().contains(place))
        << "menu " << top->text().toStdString() << " is not on the bar";
    QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, place.center());
    // A menu bar that was still closing another window's menu takes the second click.
    if (open && !waitFor([&] { return open->isVisible(); }, 1000))
        QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, place.center());
    for (int i = 1; i < path.size(); ++i) {
        ASSERT_NE(open, nullptr);
        ASSERT_TRUE(waitFor([&] { return open->isVisible(); }, 60000)) << "menu not shown";
        QAction* entry = path[i];
        ASSERT_NE(entry, nullptr);
        const QPoint at = open->actionGeometry(entry).center();
        QTest::mouseMove(open, at);
        QTest::mouseClick(open, Qt::LeftButton, Qt::NoModifier, at);
        open = entry->menu();
    }
}

void ScriptedUser::clickCell(grid::List& list, int row, int column)
{
    const grid::GridCore& core = list.core();
    const int width = core.columnLeft(column + 1) - core.columnLeft(column);
    const int x = int(list.columnLeftOnGrid(column)) + std::max(2, width / 2);
    const int y = list.headerHeight() + grid::GridCore::RowHeight * (row - 1) + core.ScrollTop()
                  + grid::GridCore::RowHeight / 2;
    const QPoint at(x, y);
    QWidget* target = list.childAt(at);
    if (target && target->isVisible())
        QTest::mouseClick(target, Qt::LeftButton, Qt::NoModifier, target->mapFrom(&list, at));
    else
        QTest::mouseClick(&list, Qt::LeftButton, Qt::NoModifier, at);
}

void ScriptedUser::type(const QString& text, bool enter)
{
    QWidget* focus = QApplication::focusWidget();
    ASSERT_NE(focus, nullptr) << "nothing has the focus";
    QTest::keyClicks(focus, text);
    if (enter)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
}

void ScriptedUser::key(int key)
{
    QWidget* focus = QApplication::focusWidget();
    ASSERT_NE(focus, nullptr) << "nothing has the focus";
    QTest::keyClick(focus, Qt::Key(key));
}

void ScriptedUser::typeInto(QWidget* widget, const QString& text)
{
    widget->setFocus();
    if (auto* edit = qobject_cast<QLineEdit*>(widget))
        edit->selectAll();
    QTest::keyClicks(widget, text);
}

bool ScriptedUser::waitFor(const std::function<bool()>& condition, int timeoutMs)
{
    return QTest::qWaitFor(condition, timeoutMs);
}

} // namespace e2e
