// Bringing a window's frame onto its screen: moved in, or made smaller where it is larger;
// a window placed beside another keeps its corner and is made smaller instead of moved.

#include "platform/onscreen.h"

#include <QCoreApplication>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

using platform::Fit;

TEST(OnScreen, AFrameIsBroughtWhollyIntoTheArea)
{
    const QRect area(0, 0, 1600, 1000);
    const struct {
        const char* name;
        QRect frame;
        Fit fit;
        QRect expected;
    } cases[] = {
        {"already within stays", QRect(100, 100, 600, 400), Fit::Move, QRect(100, 100, 600, 400)},
        {"filling the area exactly stays", QRect(0, 0, 1600, 1000), Fit::Move, QRect(0, 0, 1600, 1000)},
        {"15 px below the bottom moves up", QRect(0, 615, 600, 400), Fit::Move, QRect(0, 600, 600, 400)},
        {"off the left and top moves in", QRect(-30, -20, 600, 400), Fit::Move, QRect(0, 0, 600, 400)},
        {"off the right moves left", QRect(1300, 100, 600, 400), Fit::Move, QRect(1000, 100, 600, 400)},
        {"higher than the area shrinks", QRect(0, 0, 600, 1015), Fit::Move, QRect(0, 0, 600, 1000)},
        {"larger every way shrinks to the area", QRect(-5, -5, 32767, 32767), Fit::Move, QRect(0, 0, 1600, 1000)},
        {"beside: narrower instead of moved", QRect(348, 0, 1300, 400), Fit::KeepPlace, QRect(348, 0, 1252, 400)},
        {"beside: lower edge cut", QRect(348, 700, 600, 400), Fit::KeepPlace, QRect(348, 700, 600, 300)},
        {"beside, but its corner off the area: moved", QRect(1700, 0, 600, 400), Fit::KeepPlace,
         QRect(1000, 0, 600, 400)},
    };
    for (const auto& c : cases)
        EXPECT_EQ(platform::fitInto(c.frame, area, c.fit), c.expected) << c.name;
    EXPECT_EQ(platform::fitInto(QRect(5, 5, 10, 10), QRect()), QRect(5, 5, 10, 10)) << "no area";
}

TEST(OnScreen, AWindowLiesWhollyOnOneAreaOrNot)
{
    const QList<QRect> two{QRect(0, 0, 1280, 800), QRect(1280, 0, 1024, 768)};
    EXPECT_TRUE(platform::liesWhollyOnOne(QRect(1300, 10, 400, 300), two));
    EXPECT_FALSE(platform::liesWhollyOnOne(QRect(1200, 10, 400, 300), two)) << "across both";
    EXPECT_FALSE(platform::liesWhollyOnOne(QRect(0, 0, 0, 300), two)) << "no size";
    EXPECT_FALSE(platform::liesWhollyOnOne(QRect(0, 0, 10, 10), {})) << "no screen";
}

// A shown window larger than its screen ends with its frame on the screen; the user's own
// window state is left to the window system.
TEST(OnScreen, AShownWindowIsMadeToFitItsScreen)
{
    QWidget window;
    const QRect area = platform::screenAreas().value(0);
    ASSERT_FALSE(area.isEmpty());
    window.resize(area.width() + 100, area.height() + 100);
    window.move(area.topLeft() + QPoint(50, 50));
    window.show();
    platform::keepOnScreen(window);
    EXPECT_TRUE(area.contains(window.frameGeometry()));

    QWidget hidden;
    hidden.move(area.bottomRight());
    platform::keepOnScreen(hidden);
    EXPECT_EQ(hidden.pos(), area.bottomRight()) << "a hidden window is not placed";
}

// Placed as it is shown, before the window system has put it on the screen: what the window
// system does before the window is first exposed (here: a frame that pushes it down) is
// fitted again at that exposure.
TEST(OnScreen, AWindowPlacedAsItIsShownIsFittedAgainWhenFirstExposed)
{
    class PlacedAsShown : public QWidget {
    protected:
        void showEvent(QShowEvent* event) override
        {
            QWidget::showEvent(event);
            platform::keepOnScreen(*this);
            const QRect area = platform::screenAreas().value(0);
            move(area.left() + 20, area.bottom() - height() + 30);
        }
    };
    PlacedAsShown window;
    window.resize(300, 200);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QCoreApplication::processEvents();
    EXPECT_TRUE(platform::screenAreas().value(0).contains(window.frameGeometry()));
}

} // namespace
