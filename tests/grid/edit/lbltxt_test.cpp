// The cell editor on its own: line breaks taken out of its text, the order of its key and
// edge events, the selection when it takes the focus, claimed keys, and focus changes that
// only follow the active window.

#include "grid/celltextbox.h"
#include "grid/lbltxt.h"
#include "platform/keys.h"
#include "support/qtprinters.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QStringList>
#include <QTest>
#include <gtest/gtest.h>

using grid::lblTxt;

namespace {

// A shown, active window holding one editor and a second focus target, with every event of
// the editor written down in order.
class EditorFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        window.resize(300, 60);
        editor = new lblTxt(&window);
        editor->setGeometry(10, 10, 120, 15);
        other = new QWidget(&window);
        other->setFocusPolicy(Qt::StrongFocus);
        other->setGeometry(150, 10, 20, 20);
        QObject::connect(editor, &lblTxt::Change, [this] { events += "Change:" + editor->Text(); });
        QObject::connect(editor, &lblTxt::KeyDown, [this](int& code, int& shift) {
            events += QStringLiteral("KeyDown %1 %2").arg(code).arg(shift);
            if (consumeKeys)
                code = 0;
        });
        QObject::connect(editor, &lblTxt::Right, [this] { events += "Right"; });
        QObject::connect(editor, &lblTxt::Left, [this] { events += "Left"; });
        QObject::connect(editor, &lblTxt::GotFocus, [this] { events += "GotFocus"; });
        QObject::connect(editor, &lblTxt::LostFocus, [this] { events += "LostFocus"; });
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        other->setFocus();
        events.clear();
    }

    QWidget* box() const { return editor->textBox(); }

    QWidget window;
    lblTxt* editor = nullptr;
    QWidget* other = nullptr;
    QStringList events;
    bool consumeKeys = false;
};

} // namespace

TEST_F(EditorFixture, LineBreakPairsAreTakenOutWithOneChangeForTheFinalText)
{
    struct Case {
        QString given;
        QString kept;
    };
    const Case cases[] = {
        {"ab\r\ncd", "abcd"},
        {"ab\r\n", "ab"},
        {"\r\nab", "ab"},
        {"a\r\n\r\nb", "ab"},
        {"\r\r\n\n", ""}, // the pair found second is made by the first removal
        {"a\nb", "a\nb"},  // lone LF stays
        {"a\rb", "a\rb"},  // lone CR stays
    };
    for (const Case& c : cases) {
        editor->setText("start");
        events.clear();
        editor->setText(c.given);
        EXPECT_EQ(editor->Text(), c.kept) << c.given.toStdString();
        EXPECT_EQ(events, QStringList{"Change:" + c.kept}) << c.given.toStdString();
    }
    editor->setText(QString());
    events.clear();
    editor->setText("\r\n");
    EXPECT_EQ(editor->Text(), QString());
    EXPECT_EQ(events.count(), 1);
}

TEST_F(EditorFixture, PastedLineBreaksAreTakenOutToo)
{
    QApplication::clipboard()->setText("ab\r\ncd");
    editor->setText(QString());
    editor->setFocus();
    events.clear();
    QTest::keyClick(box(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(editor->Text(), "abcd");
    EXPECT_EQ(events.filter("Change:"), QStringList{"Change:abcd"});
}

// Keys without a classic key code (punctuation, accented letters) are typed like any other.
TEST_F(EditorFixture, KeysWithoutAKeyCodeAreTypedAsUsual)
{
    editor->setFocus();
    QTest::keyClicks(box(), QStringLiteral("1.5-x,"));
    for (const QString& letter : {QStringLiteral("\u010D"), QStringLiteral("\u017E")})
        QTest::sendKeyEvent(QTest::Click, box(), Qt::Key_unknown, letter, Qt::NoModifier);
    EXPECT_EQ(editor->Text(), QStringLiteral("1.5-x,\u010D\u017E"));
}

TEST_F(EditorFixture, TypingRaisesKeyDownThenChange)
{
    editor->setFocus();
    events.clear();
    QTest::keyClick(box(), Qt::Key_A);
    EXPECT_EQ(events, (QStringList{"KeyDown 65 0", "Change:a"}));
}

TEST_F(EditorFixture, EdgeEventsFollowKeyDownOnlyAtTheEdgeWithNothingSelected)
{
    editor->setText("abc");
    editor->setFocus(); // selects all
    events.clear();
    QTest::keyClick(box(), Qt::Key_Right);
    EXPECT_EQ(events, QStringList{"KeyDown 39 0"}) << "all selected: no edge";

    events.clear();
    QTest::keyClick(box(), Qt::Key_Right); // caret at the end now
    EXPECT_EQ(events, (QStringList{"KeyDown 39 0", "Right"}));

    events.clear();
    QTest::keyClick(box(), Qt::Key_Left); // from the end: not an edge
    EXPECT_EQ(events, QStringList{"KeyDown 37 0"});

    editor->SelectText(0, 0);
    events.clear();
    QTest::keyClick(box(), Qt::Key_Left);
    EXPECT_EQ(events, (QStringList{"KeyDown 37 0", "Left"}));

    editor->setText(QString());
    events.clear();
    QTest::keyClick(box(), Qt::Key_Right);
    QTest::keyClick(box(), Qt::Key_Left);
    EXPECT_EQ(events, (QStringList{"KeyDown 39 0", "Right", "KeyDown 37 0", "Left"})) << "empty editor";
}

TEST_F(EditorFixture, ConsumedKeyNeverReachesTheTextBox)
{
    editor->setText("abc");
    editor->setFocus();
    consumeKeys = true;
    QTest::keyClick(box(), Qt::Key_X);
    EXPECT_EQ(editor->Text(), "abc");
}

// Shift+Insert pastes in a line edit; a key the grid claims must do only what the grid says.
TEST_F(EditorFixture, ClaimedInsertKeysDoNotPasteOrCopy)
{
    QApplication::clipboard()->setText("pasted");
    editor->setClaimedKeys([](int code, int) { return code == platform::Key::Insert; });
    editor->setText("abc");
    editor->setFocus();
    consumeKeys = true;
    QTest::keyClick(box(), Qt::Key_Insert, Qt::ShiftModifier);
    QTest::keyClick(box(), Qt::Key_Insert, Qt::ControlModifier);
    EXPECT_EQ(editor->Text(), "abc");
    EXPECT_TRUE(events.contains("KeyDown 45 1"));
    EXPECT_TRUE(events.contains("KeyDown 45 2"));
}

// A window's menu shortcut on a key the grid acts on must not take the key from the editor.
TEST_F(EditorFixture, ClaimedKeysComeBeforeTheWindowsShortcuts)
{
    editor->setClaimedKeys([](int code, int) { return code == platform::Key::Insert; });
    QAction action(&window);
    action.setShortcut(QKeySequence(Qt::Key_Insert));
    window.addAction(&action);
    int triggered = 0;
    QObject::connect(&action, &QAction::triggered, [&] { ++triggered; });
    editor->setFocus();
    events.clear();
    QTest::keyClick(box(), Qt::Key_Insert);
    EXPECT_EQ(triggered, 0);
    EXPECT_EQ(events, QStringList{"KeyDown 45 0"});

    editor->setClaimedKeys(nullptr);
    QTest::keyClick(box(), Qt::Key_Insert);
    EXPECT_EQ(triggered, 1) << "unclaimed, the shortcut runs as usual";
}

TEST_F(EditorFixture, FocusSelectsAllUnlessDisableSelectAllWasSet)
{
    editor->setText("abcdef");
    editor->SelectText(1, 2);
    editor->DisableSelectAll = true;
    editor->setFocus();
    EXPECT_EQ(editor->textBox()->selectionStart(), 1);
    EXPECT_EQ(editor->textBox()->selectedText(), "bc");
    EXPECT_FALSE(editor->DisableSelectAll);

    other->setFocus();
    editor->setFocus();
    EXPECT_EQ(editor->textBox()->selectedText(), "abcdef");
    EXPECT_EQ(events, (QStringList{"Change:abcdef", "GotFocus", "LostFocus", "GotFocus"}));
}

TEST_F(EditorFixture, DisabledEditorTakesNoFocusAndRaisesNothing)
{
    editor->setEnabled(false);
    editor->setFocus();
    QTest::keyClick(box(), Qt::Key_A);
    EXPECT_FALSE(editor->textBox()->hasFocus());
    EXPECT_FALSE(editor->Enabled());
    EXPECT_EQ(events, QStringList{});
}

// A message box or another window taking the keyboard is not the user leaving the cell.
TEST_F(EditorFixture, AnotherWindowTakingTheKeyboardIsNoFocusMove)
{
    editor->setFocus();
    events.clear();
    QWidget dialog;
    dialog.setWindowModality(Qt::ApplicationModal);
    dialog.resize(50, 50);
    dialog.show();
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    dialog.close();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    EXPECT_TRUE(editor->textBox()->hasFocus());
    EXPECT_TRUE(events.isEmpty()) << events.join(", ").toStdString();
}

TEST_F(EditorFixture, TextBoxSitsOnePixelAboveTheControlAndReachesItsBottom)
{
    editor->resize(80, 15);
    EXPECT_EQ(box()->geometry(), QRect(0, -1, 80, 16));
    EXPECT_EQ(box()->font().pixelSize(), 13); // 9.75 pt on a 96 dpi screen, as the cells are drawn
}
