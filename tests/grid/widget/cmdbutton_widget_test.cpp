// The flat button: its looks, the order of its events and the pointer-over test.

#include "grid/cmdbutton.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStringList>
#include <gtest/gtest.h>

using grid::cmdButton;

namespace {

struct Recorder {
    QStringList events;
    explicit Recorder(cmdButton& b)
    {
        QObject::connect(&b, &cmdButton::Click, [this] { events << "Click"; });
        QObject::connect(&b, &cmdButton::KeyDown,
                         [this](int k, int s) { events << QString("KeyDown %1 %2").arg(k).arg(s); });
        QObject::connect(&b, &cmdButton::EnabledIsChanged,
                         [this](bool e) { events << QString("Enabled %1").arg(e); });
        QObject::connect(&b, &cmdButton::MouseDown, [this](int bt, int, double x, double y) {
            events << QString("MouseDown %1 %2 %3").arg(bt).arg(x).arg(y);
        });
        QObject::connect(&b, &cmdButton::MouseUp, [this](int bt, int, double x, double y) {
            events << QString("MouseUp %1 %2 %3").arg(bt).arg(x).arg(y);
        });
        QObject::connect(&b, &cmdButton::MouseMove,
                         [this](int bt, int, double, double) { events << QString("MouseMove %1").arg(bt); });
    }
};

void send(QWidget& w, QEvent::Type type, QPointF pos, Qt::MouseButton button, Qt::MouseButtons held)
{
    QMouseEvent event(type, pos, w.mapToGlobal(pos), button, held, Qt::NoModifier);
    QApplication::sendEvent(&w, &event);
}
void press(QWidget& w, QPointF pos, Qt::MouseButton b = Qt::LeftButton) { send(w, QEvent::MouseButtonPress, pos, b, b); }
void moveHeld(QWidget& w, QPointF pos) { send(w, QEvent::MouseMove, pos, Qt::NoButton, Qt::LeftButton); }
void release(QWidget& w, QPointF pos, Qt::MouseButton b = Qt::LeftButton) { send(w, QEvent::MouseButtonRelease, pos, b, Qt::NoButton); }

struct ButtonFixture : ::testing::Test {
    cmdButton button;
    Recorder rec{button};
    ButtonFixture()
    {
        button.resize(16, 16);
        button.show();
    }
};

constexpr uint32_t Light = 0xDEDEDE;
constexpr uint32_t Dark = 0xA2A2A2;

} // namespace

TEST_F(ButtonFixture, ClickComesBeforeTheRaisedLookAndMouseUp)
{
    press(button, {5, 6});
    EXPECT_TRUE(button.showsPressedLook());
    EXPECT_EQ(button.edgeColor(0), Dark);
    EXPECT_EQ(button.edgeColor(2), Light);
    bool pressedAtClick = false;
    QObject::connect(&button, &cmdButton::Click, [&] { pressedAtClick = button.showsPressedLook(); });
    release(button, {5, 6});
    EXPECT_EQ(rec.events, QStringList({"MouseDown 1 5 6", "Click", "MouseUp 1 5 6"}));
    EXPECT_TRUE(pressedAtClick);
    EXPECT_FALSE(button.showsPressedLook());
    EXPECT_EQ(button.edgeColor(0), Light);
    EXPECT_EQ(button.edgeColor(1), Light);
    EXPECT_EQ(button.edgeColor(3), Dark);
}

TEST_F(ButtonFixture, RightButtonPressIsIgnoredButItsReleaseIsReported)
{
    press(button, {5, 5}, Qt::RightButton);
    EXPECT_FALSE(button.showsPressedLook());
    release(button, {5, 5}, Qt::RightButton);
    EXPECT_EQ(rec.events, QStringList({"MouseUp 2 5 5"}));
}

TEST_F(ButtonFixture, DraggingOffAndBackTogglesTheLookOnlyAtTheBoundary)
{
    press(button, {8, 8});
    moveHeld(button, {30, 8});
    EXPECT_FALSE(button.showsPressedLook());
    EXPECT_TRUE(button.LeftWhileHeld());
    EXPECT_FALSE(button.Pressed());
    moveHeld(button, {40, 8});
    EXPECT_FALSE(button.showsPressedLook());
    moveHeld(button, {8, 8});
    EXPECT_TRUE(button.showsPressedLook());
    EXPECT_TRUE(button.Pressed());
    EXPECT_FALSE(button.LeftWhileHeld());
    release(button, {8, 8});
    EXPECT_TRUE(rec.events.contains("Click"));
}

TEST_F(ButtonFixture, ReleaseOutsideTheButtonDoesNotClick)
{
    // Far outside, just past the right and bottom edges, and left of it.
    for (QPointF at : {QPointF(200, 8), QPointF(16, 8), QPointF(8, 16), QPointF(-1, 8), QPointF(8, 239)}) {
        rec.events.clear();
        press(button, {8, 8});
        release(button, at);
        EXPECT_FALSE(rec.events.contains("Click")) << at.x() << "," << at.y();
        EXPECT_TRUE(rec.events.last().startsWith("MouseUp"));
    }
    rec.events.clear();
    press(button, {8, 8});
    release(button, {15, 15});
    EXPECT_TRUE(rec.events.contains("Click"));
}

TEST_F(ButtonFixture, EnterClicksBeforeKeyDownAndOtherKeysOnlyReport)
{
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(&button, &enter);
    QKeyEvent a(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier);
    QApplication::sendEvent(&button, &a);
    EXPECT_EQ(rec.events, QStringList({"Click", "KeyDown 13 0", "KeyDown 65 0"}));
    EXPECT_FALSE(button.showsPressedLook());
}

TEST_F(ButtonFixture, EveryEnabledWriteIsReportedAndADisabledButtonStaysSilent)
{
    button.SetEnabled(true);
    button.SetEnabled(false);
    button.SetEnabled(false);
    EXPECT_EQ(rec.events, QStringList({"Enabled 1", "Enabled 0", "Enabled 0"}));
    rec.events.clear();
    press(button, {5, 5});
    release(button, {5, 5});
    EXPECT_TRUE(rec.events.isEmpty());
    EXPECT_FALSE(button.showsPressedLook());
}

TEST_F(ButtonFixture, CaptionIsCentredAndMovesOneDownRightWhilePressed)
{
    button.SetCaption(QString());
    const int expectedTop = int(std::nearbyint((16 - button.captionSize().height()) / 2.0));
    EXPECT_EQ(button.CaptionTop(), expectedTop);
    EXPECT_EQ(button.CaptionLeft(), 8);
    press(button, {3, 3});
    EXPECT_EQ(button.captionPos(), QPoint(button.CaptionLeft() + 1, button.CaptionTop() + 1));
    release(button, {3, 3});
    EXPECT_EQ(button.captionPos(), QPoint(button.CaptionLeft(), button.CaptionTop()));
}

TEST_F(ButtonFixture, ResizeWhilePressedShowsRaisedButKeepsTheFlag)
{
    press(button, {3, 3});
    button.resize(20, 20);
    EXPECT_FALSE(button.showsPressedLook());
    EXPECT_TRUE(button.Pressed());
    moveHeld(button, {4, 4});
    EXPECT_FALSE(button.showsPressedLook());
}

TEST(CmdButtonBlend, EdgeColoursFollowTheBackColour)
{
    EXPECT_EQ(cmdButton::pvAlphaBlend(0xFFFFFF, 0xD4D4D4, 60), 0xDEDEDEu);
    EXPECT_EQ(cmdButton::pvAlphaBlend(0x000000, 0xD4D4D4, 60), 0xA2A2A2u);
    EXPECT_EQ(cmdButton::pvAlphaBlend(0xFFFFFF, 0, 128), 0x808080u);
    EXPECT_EQ(cmdButton::pvAlphaBlend(0, 0xFFFFFF, 128), 0x7F7F7Fu);
}

TEST_F(ButtonFixture, PaintedEdgesHaveTheLookColours)
{
    button.resize(16, 16);
    QImage img = button.grab().toImage();
    EXPECT_EQ(img.pixelColor(5, 0), QColor(0xDE, 0xDE, 0xDE));
    EXPECT_EQ(img.pixelColor(0, 5), QColor(0xDE, 0xDE, 0xDE));
    EXPECT_EQ(img.pixelColor(5, 15), QColor(0xA2, 0xA2, 0xA2));
    EXPECT_EQ(img.pixelColor(15, 5), QColor(0xA2, 0xA2, 0xA2));
    EXPECT_EQ(img.pixelColor(7, 7), QColor(0xD4, 0xD4, 0xD4));
}

TEST_F(ButtonFixture, FocusMakesTheCaptionBoldAndRecentresIt)
{
    button.resize(80, 20);
    button.SetCaption("Transfer");
    const int normalWidth = button.captionSize().width();
    const int normalLeft = button.CaptionLeft();
    QFocusEvent in(QEvent::FocusIn);
    QApplication::sendEvent(&button, &in);
    EXPECT_GT(button.captionSize().width(), normalWidth);
    EXPECT_LT(button.CaptionLeft(), normalLeft);
    EXPECT_EQ(button.CaptionLeft(), int(std::nearbyint((80 - button.captionSize().width()) / 2.0)));
    QFocusEvent out(QEvent::FocusOut);
    QApplication::sendEvent(&button, &out);
    EXPECT_EQ(button.captionSize().width(), normalWidth);
    EXPECT_EQ(button.CaptionLeft(), normalLeft);
}
