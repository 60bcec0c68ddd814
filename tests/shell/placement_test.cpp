// Where a window opens from its stored placement.

#include "shell/placement.h"

#include <gtest/gtest.h>

using shell::Placement;
using shell::StoredPlacement;

namespace {

const StoredPlacement Initial{"0", "1275", "1380", "6210", "9060"};
const Placement InitialPlacement{Qt::WindowNoState, QPoint(85, 92), QSize(604, 414)};

TEST(Placement, StoredValuesOpenTheWindowWhereTheyPutItAndDamagedOnesAtItsInitialPlace)
{
    const QList<QRect> twoScreens = {QRect(0, 0, 1280, 800), QRect(1280, 0, 1024, 768)};
    const struct {
        const char* name;
        StoredPlacement stored;
        Placement expected;
    } cases[] = {
        {"plain", {"0", "1500", "750", "4500", "6000"}, {Qt::WindowNoState, QPoint(100, 50), QSize(400, 300)}},
        {"fractions round half to even", {"0", "22.5", "37.5", "4500", "6000"},
         {Qt::WindowNoState, QPoint(2, 2), QSize(400, 300)}},
        {"blanks", {" 0 ", " 1500 ", "750 ", "4500", "6000"}, {Qt::WindowNoState, QPoint(100, 50), QSize(400, 300)}},
        {"minimised", {"1", "1500", "750", "4500", "6000"}, {Qt::WindowMinimized, QPoint(100, 50), QSize(400, 300)}},
        {"maximised", {"2", "1500", "750", "4500", "6000"}, {Qt::WindowMaximized, QPoint(100, 50), QSize(400, 300)}},
        {"an unknown state is normal", {"7", "1500", "750", "4500", "6000"},
         {Qt::WindowNoState, QPoint(100, 50), QSize(400, 300)}},
        {"on the second screen", {"0", "21000", "750", "4500", "6000"},
         {Qt::WindowNoState, QPoint(1400, 50), QSize(400, 300)}},
        {"filling the screen", {"0", "0", "0", "12000", "19200"}, {Qt::WindowNoState, QPoint(0, 0), QSize(1280, 800)}},
        {"partly off the screens", {"0", "-3000", "-1500", "4500", "6000"}, InitialPlacement},
        {"partly below the screen", {"0", "1500", "10500", "4500", "6000"}, InitialPlacement},
        {"across both screens", {"0", "18000", "750", "4500", "6000"}, InitialPlacement},
        {"higher and wider than any screen", {"0", "0", "0", "99999999", "99999999"}, InitialPlacement},
        {"one pixel wider than the screen", {"0", "0", "0", "4500", "19215"}, InitialPlacement},
        {"maximised with a size larger than the screen", {"2", "0", "0", "99999999", "99999999"}, InitialPlacement},
        {"not a number", {"0", "left", "750", "4500", "6000"}, InitialPlacement},
        {"empty", {"0", "1500", "", "4500", "6000"}, InitialPlacement},
        {"a state that is not a number", {"Maximized", "1500", "750", "4500", "6000"}, InitialPlacement},
        {"beyond every number of pixels", {"0", "1E+300", "750", "4500", "6000"}, InitialPlacement},
        {"wholly right of the screens", {"0", "34560", "750", "4500", "6000"}, InitialPlacement},
        {"wholly above", {"0", "1500", "-4500", "4500", "6000"}, InitialPlacement},
        {"no size", {"0", "1500", "750", "0", "6000"}, InitialPlacement},
        {"a negative size", {"0", "1500", "750", "4500", "-6000"}, InitialPlacement},
    };
    for (const auto& c : cases) {
        const Placement p = shell::placementToOpen(c.stored, Initial, twoScreens);
        EXPECT_EQ(p.state, c.expected.state) << c.name;
        EXPECT_EQ(p.position, c.expected.position) << c.name;
        EXPECT_EQ(p.size, c.expected.size) << c.name;
    }
}

TEST(Placement, WithoutAnyScreenTheInitialPlacementIsUsed)
{
    EXPECT_EQ(shell::placementToOpen({"0", "1500", "750", "4500", "6000"}, Initial, {}), InitialPlacement);
}

} // namespace
