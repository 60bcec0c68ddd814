// The arithmetic of the grid's layout, scroll bars, arrow steps and column hit-testing,
// checked against worked figures.

#include "grid/arrowsteps.h"
#include "grid/columnhittest.h"
#include "grid/gridlayout.h"
#include "grid/scrollmath.h"

#include <cmath>
#include <gtest/gtest.h>

using namespace grid;

namespace {

// A control 300 high holding 40 rows: V = 264, C = 640, T = 232.
GridMeasures fortyRows(int scrollTop = 0)
{
    GridMeasures m;
    m.width = 400;
    m.height = 300;
    m.gutterWidth = 20;
    m.areaLeft = 20;
    m.areaWidth = 200;
    m.listCount = 40;
    m.scrollTop = scrollTop;
    return m;
}

// G = 20, W = 364, Wc = 600.
GridMeasures wideColumns(double areaLeft)
{
    GridMeasures m;
    m.width = 400;
    m.height = 100;
    m.gutterWidth = 20;
    m.areaLeft = areaLeft;
    m.areaWidth = 600;
    m.listCount = 1;
    return m;
}

} // namespace

TEST(GridLayoutTest, PartsFollowTheEdges)
{
    GridMeasures m = fortyRows();
    const GridLayout l = GridLayout::of(m);
    EXPECT_EQ(l.btnDol, QRect(384, 20 + 248, 16, 16));
    EXPECT_EQ(l.btnDesno, QRect(368, 284, 16, 16));
    EXPECT_EQ(l.PicKot, QRect(384, 284, 16, 16));
    EXPECT_EQ(l.PicTopD, QRect(383, 0, 17, 20));
    EXPECT_EQ(l.btnLevo, QRect(20, 284, 16, 16));
    EXPECT_EQ(l.view, QRect(20, 20, 364, 264));
    EXPECT_EQ(l.picCnt.height(), 300 - 36);
}

TEST(GridLayoutTest, ResizeClampsScrollTop)
{
    struct Case { int rows, height, scrollTop, expected; };
    const Case cases[] = {
        {3, 300, -40, 0},      // all rows fit: back to the top
        {20, 236, -150, -120}, // empty space below the last row: the last row meets the bottom
        {20, 236, -100, -100}, // still content below: unchanged
        {20, 236, -120, -120},
    };
    for (const Case& c : cases) {
        GridMeasures m = fortyRows(c.scrollTop);
        m.listCount = c.rows;
        m.height = c.height;
        EXPECT_EQ(clampScrollTop(m), c.expected) << c.rows << " rows, ScrollTop " << c.scrollTop;
    }
}

TEST(GridLayoutTest, ResizeClampsTheColumnAreaLeft)
{
    // Columns 400 wide in all; the room for columns is width - 16 - G.
    struct Case { int room; double left, expected; };
    const Case cases[] = {
        {300, 20 - 100, 20 - 100}, // scrolled fully right, still exactly fits
        {350, 20 - 100, 20 - 50},  // room grew: the area moves right
        {400, 20 - 50, 20},        // everything fits: back to the gutter
        {450, 20 - 50, 20},
        {450, 25, 25},             // a larger left stays
        {350, 20, 20},             // scrolled fully left: nothing moves
    };
    for (const Case& c : cases) {
        GridMeasures m;
        m.gutterWidth = 20;
        m.width = c.room + 16 + 20;
        m.height = 200;
        m.areaWidth = 400;
        m.areaLeft = c.left;
        EXPECT_DOUBLE_EQ(clampAreaLeft(m), c.expected) << "room " << c.room << " left " << c.left;
    }
}

TEST(GridLayoutTest, GutterWidensWithTheDigitCount)
{
    EXPECT_EQ(gutterWidthFor(9, 7), 10);
    EXPECT_EQ(gutterWidthFor(10, 7), 18);
    EXPECT_EQ(gutterWidthFor(99, 7), 18);
    EXPECT_EQ(gutterWidthFor(65000, 7), 42);
}

TEST(ScrollMathTest, ThumbSizeAndPositionOfTheWorkedExample)
{
    ScrollBarState s;
    fitScrollBars(fortyRows(-160), s);
    EXPECT_TRUE(s.vertical.visible);
    EXPECT_TRUE(s.upEnabled && s.downEnabled);
    EXPECT_NEAR(s.vertical.size, 95.7, 1e-4);
    EXPECT_NEAR(s.vertical.pos, 74.0, 1e-4);
    EXPECT_FALSE(s.horizontal.visible);
    EXPECT_FALSE(s.leftEnabled || s.rightEnabled);

    fitScrollBars(fortyRows(0), s);
    EXPECT_FLOAT_EQ(s.vertical.pos, 16);
    fitScrollBars(fortyRows(264 - 640), s);
    EXPECT_NEAR(s.vertical.pos + s.vertical.size, 264 - 16, 1e-4);
}

TEST(ScrollMathTest, ThumbsAreNeverShorterThanTenPixels)
{
    GridMeasures m = fortyRows(0);
    m.listCount = 65000;
    m.areaWidth = 100000;
    ScrollBarState s;
    fitScrollBars(m, s);
    EXPECT_FLOAT_EQ(s.vertical.size, 10);
    EXPECT_FLOAT_EQ(s.horizontal.size, 10);
    EXPECT_TRUE(s.horizontal.visible);
    EXPECT_FLOAT_EQ(s.horizontal.pos, 16 + 20);
}

TEST(ScrollMathTest, FittingContentHidesTheThumbAndKeepsTheOffset)
{
    GridMeasures m = fortyRows(-48);
    m.listCount = 5;
    ScrollBarState s;
    s.vertical.visible = s.upEnabled = s.downEnabled = true;
    fitScrollBars(m, s);
    EXPECT_FALSE(s.vertical.visible);
    EXPECT_FALSE(s.upEnabled || s.downEnabled);
    EXPECT_EQ(m.scrollTop, -48);
}

TEST(ScrollMathTest, VerticalDragAndTrackPress)
{
    const GridMeasures m = fortyRows(-160);
    ScrollBarState s;
    fitScrollBars(m, s);
    const float h = s.vertical.size;
    // Dragging the top to 100, to the bottom, and beyond either end.
    EXPECT_NEAR(*scrollTopForThumb(m, 100, h), -231.72, 0.01);
    EXPECT_EQ(std::lround(std::nearbyint(*scrollTopForThumb(m, 100, h))), -232);
    const float bottom = verticalThumbMax(m, h);
    EXPECT_NEAR(bottom, 152.3, 1e-4);
    EXPECT_NEAR(*scrollTopForThumb(m, bottom, h), -376, 1e-3);
    EXPECT_FLOAT_EQ(dragThumbTo(500, verticalThumbMin(), bottom), bottom);
    EXPECT_FLOAT_EQ(dragThumbTo(-20, verticalThumbMin(), bottom), 16);
    EXPECT_EQ(*scrollTopForThumb(m, 16, h), 0);
    // A press on the track at y = 200 grabs half the thumb and stops just short of the end.
    const int grab = grabOffset(200, s.vertical.pos, h);
    EXPECT_EQ(grab, 48);
    EXPECT_FLOAT_EQ(dragThumbTo(200 - grab, verticalThumbMin(), bottom), 152);
    // A press on the thumb keeps it where it was grabbed (both ends included).
    EXPECT_EQ(grabOffset(74, s.vertical.pos, h), 0);
    EXPECT_EQ(grabOffset(80, s.vertical.pos, h), 6);
    EXPECT_EQ(grabOffset(74 + h, s.vertical.pos, h), 96);
}

TEST(ScrollMathTest, HorizontalDragMapsTheThumbToTheColumnArea)
{
    GridMeasures m = wideColumns(20);
    ScrollBarState s;
    fitScrollBars(m, s);
    const float w = s.horizontal.size;
    EXPECT_NEAR(w, 332.0 * 364 / 600, 1e-3);
    EXPECT_FLOAT_EQ(s.horizontal.pos, 36);
    EXPECT_DOUBLE_EQ(*areaLeftForThumb(m, horizontalThumbMin(m), w), 20);
    const float right = horizontalThumbMax(m, w);
    EXPECT_NEAR(right + w, 400 - 32, 1e-4);
    EXPECT_NEAR(*areaLeftForThumb(m, right, w), 20 + 364 - 600, 1e-3);
    // The thumb of an area scrolled fully right sits at the right arrow.
    m.areaLeft = 20 + 364 - 600;
    fitScrollBars(m, s);
    EXPECT_NEAR(s.horizontal.pos, right, 1e-3);
}

TEST(ScrollMathTest, NoOffsetWhenTheThumbFillsTheTrack)
{
    GridMeasures m = fortyRows(0);
    EXPECT_FALSE(scrollTopForThumb(m, 16, 232).has_value());
    m = wideColumns(20);
    EXPECT_FALSE(areaLeftForThumb(m, 36, 332).has_value());
}

TEST(ArrowStepsTest, DownThenUpByRows)
{
    GridMeasures m = fortyRows(0);
    std::vector<int> downs;
    while (auto next = stepDown(m)) {
        downs.push_back(*next);
        m.scrollTop = *next;
        ASSERT_LT(downs.size(), 100u);
    }
    ASSERT_EQ(downs.size(), 24u);
    EXPECT_EQ(downs.front(), -16);
    EXPECT_EQ(downs[22], -368);
    EXPECT_EQ(downs.back(), -376); // an 8 pixel last step, then refusals
    std::vector<int> ups;
    while (auto next = stepUp(m)) {
        ups.push_back(*next);
        m.scrollTop = *next;
    }
    EXPECT_EQ(ups.front(), -360);
    EXPECT_EQ(ups[ups.size() - 2], -8);
    EXPECT_EQ(ups.back(), 0);
    EXPECT_FALSE(stepUp(m).has_value());
}

TEST(ArrowStepsTest, DownArrowMovesWheneverTheLastRowIsNotInView)
{
    // Content taller than the view by 1 to 4 pixels still scrolls to the end.
    for (int extra : {1, 4, 8}) {
        GridMeasures m = fortyRows(0);
        m.listCount = 10;
        m.height = 160 + 36 - extra; // V = 160 - extra, C = 160
        ASSERT_EQ(stepDown(m), -extra) << extra;
        m.scrollTop = -extra;
        EXPECT_FALSE(stepDown(m).has_value()) << extra;
    }
    GridMeasures fits = fortyRows(0);
    fits.listCount = 3;
    EXPECT_FALSE(stepDown(fits).has_value());
}

TEST(ArrowStepsTest, RightThenLeftBy15Pixels)
{
    GridMeasures m = wideColumns(20);
    std::vector<double> rights;
    while (auto next = stepRight(m)) {
        if (*next == m.areaLeft)
            break; // at the end the last step gives the same place
        rights.push_back(*next);
        m.areaLeft = *next;
    }
    ASSERT_GE(rights.size(), 3u);
    EXPECT_DOUBLE_EQ(rights[0], 5);
    EXPECT_DOUBLE_EQ(rights[1], -10);
    EXPECT_DOUBLE_EQ(rights[rights.size() - 2], -205);
    EXPECT_DOUBLE_EQ(rights.back(), -216);
    std::vector<double> lefts;
    while (auto next = stepLeft(m)) {
        lefts.push_back(*next);
        m.areaLeft = *next;
    }
    EXPECT_DOUBLE_EQ(lefts.front(), -201);
    EXPECT_DOUBLE_EQ(lefts[lefts.size() - 3], -6);
    EXPECT_DOUBLE_EQ(lefts[lefts.size() - 2], 9);
    EXPECT_DOUBLE_EQ(lefts.back(), 20);
    EXPECT_FALSE(stepLeft(m).has_value());
    m.areaWidth = 300;
    EXPECT_FALSE(stepRight(m).has_value());
}

TEST(ColumnHitTestTest, BorderZoneIsThreePixels)
{
    ColumnHitTest hit{30, {0, 101}, {100, 50}, 3, 0};
    struct Case { double x; int column; };
    const Case cases[] = {{128, 0}, {129, 1}, {130, 1}, {131, 1}, {132, 0}, {180, 2}, {182, 2}, {183, 0}};
    for (const Case& c : cases)
        EXPECT_EQ(hit.borderColumn(c.x), c.column) << c.x;
    // Overlapping zones of narrow columns: the highest column wins.
    ColumnHitTest narrow{0, {0, 2}, {1, 1}, 1, 0};
    EXPECT_EQ(narrow.borderColumn(2), 2);
}

TEST(ColumnHitTestTest, RowsAndColumnsOfAPress)
{
    ColumnHitTest hit{30, {0, 101}, {100, 50}, 10, -32};
    EXPECT_EQ(hit.rowsBottom(), 180);
    EXPECT_EQ(hit.rowAt(21), 3);
    EXPECT_EQ(hit.rowAt(160), 11);
    EXPECT_EQ(hit.editColumnAt(40), 1);
    EXPECT_EQ(hit.editColumnAt(131), 2);
    EXPECT_EQ(hit.editColumnAt(900), 2);
    ColumnHitTest three{30, {0}, {100}, 3, 0};
    EXPECT_EQ(three.rowsBottom(), 68);
}

TEST(ColumnHitTestTest, ResizeWidthsRunFrom6To510)
{
    ColumnHitTest hit{30, {0, 101}, {100, 50}, 3, 0};
    EXPECT_EQ(hit.splitterMin(2), 136);
    EXPECT_EQ(hit.widthForSplitter(2, hit.splitterMin(2)), 6);
    EXPECT_EQ(hit.widthForSplitter(2, hit.splitterMax(2)), 511); // lowered to 510 by the setter
    EXPECT_EQ(hit.widthForSplitter(1, hit.right(1) - 1), 100);
}

TEST(ColumnHitTestTest, SizingPointerOnlyBetweenGutterAndStrip)
{
    ColumnHitTest hit{30, {0, 101}, {100, 50}, 3, 0};
    EXPECT_TRUE(hit.showsSizingPointer(130, 30, 30, 384));
    EXPECT_FALSE(hit.showsSizingPointer(130, 69, 30, 384));
    EXPECT_FALSE(hit.showsSizingPointer(130, 30, 130, 384));
    EXPECT_FALSE(hit.showsSizingPointer(181, 30, 30, 180));
}

// Rows are 16 pixels; a 100-pixel row area shows six whole rows at ScrollTop 0.
TEST(ScrollMathTest, ScrollTopThatBringsARowIntoView)
{
    struct Case { int row, scrollTop, visible; std::optional<int> expected; };
    const Case cases[] = {
        {1, 0, 100, std::nullopt},  // already at the top
        {6, 0, 100, std::nullopt},  // last whole row in view
        {7, 0, 100, 100 - 7 * 16},  // just below: its bottom goes to the area's bottom
        {3, -48, 100, -32},         // above the top: its top goes to the area's top
        {4, -48, 100, std::nullopt},
        {1000, 0, 100, 100 - 1000 * 16},
    };
    for (const Case& c : cases)
        EXPECT_EQ(grid::scrollTopShowingRow(c.row, c.scrollTop, c.visible), c.expected)
            << "row " << c.row << " at " << c.scrollTop;
}

// A column 50 wide starting 200 into the area, shown between x = 30 and x = 230.
TEST(ScrollMathTest, AreaLeftThatBringsAColumnIntoView)
{
    struct Case { int columnLeft, width, areaLeft; std::optional<int> expected; };
    const Case cases[] = {
        {200, 50, -20, std::nullopt}, // 180..230 fits exactly
        {200, 50, 0, 230 - 200 - 50}, // 200..250 sticks out on the right
        {200, 50, -190, 30 - 200},    // 10..60 sticks out on the left
        {0, 50, 30, std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(grid::areaLeftShowingColumn(c.columnLeft, c.width, c.areaLeft, 30, 230), c.expected)
            << "column at " << c.columnLeft << " with area at " << c.areaLeft;
}
