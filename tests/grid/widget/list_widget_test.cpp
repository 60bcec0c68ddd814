// The grid widget: its parts' places and colours, the gutter, the scroll bars and arrows,
// and the mouse over the columns.

#include "support/qtprinters.h"

#include "listfixture.h"

#include "grid/cmdbutton.h"
#include "grid/gridpainter.h"
#include "grid/gridselection.h"
#include "grid/lbltxt.h"

#include <QFontMetrics>
#include <QLabel>

using namespace grid;
using namespace gridtest;

namespace {

constexpr uint32_t BorderColor = 0xE3C1AA;
constexpr uint32_t SelectedColor = 0xF1E1D5;
constexpr uint32_t SelectedRowColor = 0xD3DAE2;
constexpr uint32_t BackColor = 0xC9D7E7;
constexpr uint32_t HeaderBack = 0xD4D4D4;
constexpr uint32_t HeaderBorder = 0xA2A2A2;
constexpr uint32_t ScrollBack = 0xF1F1F1;
constexpr uint32_t ScrollFore = 0xD4D4D4;

int countColour(const QImage& image, const QRect& rect, const QColor& colour)
{
    int n = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x)
            n += image.pixelColor(x, y) == colour;
    return n;
}

int underscoreWidth(const List& list)
{
    return QFontMetrics(list.cellFont()).horizontalAdvance(QLatin1Char('_'));
}

} // namespace

TEST_F(ListFixture, ANewGridShowsOneColumnAndOneRowWithoutScrollBars)
{
    EXPECT_EQ(list.ListCount(), 1);
    EXPECT_EQ(list.ColumnCount(), 1);
    EXPECT_EQ(list.gutterWidth(), underscoreWidth(list) + 3);
    EXPECT_EQ(list.areaLeft(), list.gutterWidth());
    EXPECT_EQ(list.columnLeftOnGrid(1), list.gutterWidth());
    EXPECT_FALSE(list.scrollBars().vertical.visible);
    EXPECT_FALSE(list.DrsnikV()->isVisible());
    for (cmdButton* arrow : {list.btnGor(), list.btnDol(), list.btnLevo(), list.btnDesno()})
        EXPECT_FALSE(arrow->Enabled());
    EXPECT_EQ(list.btnDol()->geometry(), QRect(384, 300 - 32, 16, 16));
    EXPECT_EQ(list.btnDesno()->geometry(), QRect(368, 284, 16, 16));
    EXPECT_EQ(list.btnLevo()->geometry(), QRect(list.gutterWidth(), 284, 16, 16));
}

TEST_F(ListFixture, GridLinesHeaderAndStripsHaveTheirColours)
{
    rows(3);
    list.AddColumn(0, 50, "Price");
    const QImage img = shot();
    const int G = list.gutterWidth();
    // Row lines at exact multiples of the row height below the header, under each row.
    for (int y : {20, 36, 52, 68})
        EXPECT_EQ(img.pixelColor(G + 50, y), rgb(BorderColor)) << y;
    EXPECT_EQ(img.pixelColor(G + 50, 30), rgb(BackColor));
    // The gap between the columns, and the gutter's right edge.
    EXPECT_EQ(img.pixelColor(G + 100, 30), rgb(BorderColor));
    EXPECT_EQ(img.pixelColor(G - 1, 30), rgb(BorderColor));
    // Below the last row and its line the area is plain.
    EXPECT_EQ(img.pixelColor(G + 100, 100), rgb(BackColor));
    // Header: background, bottom line, line after each column.
    EXPECT_EQ(img.pixelColor(G + 60, 1), rgb(HeaderBack));
    EXPECT_EQ(img.pixelColor(G + 60, 19), rgb(HeaderBorder));
    EXPECT_EQ(img.pixelColor(G + 100, 5), rgb(HeaderBorder));
    EXPECT_EQ(img.pixelColor(G + 151, 5), rgb(HeaderBorder));
    EXPECT_EQ(img.pixelColor(G - 1, 5), rgb(HeaderBorder));
    EXPECT_EQ(img.pixelColor(383, 5), rgb(HeaderBorder)); // PicTopD's left line
    // Scroll strips and corners.
    EXPECT_EQ(img.pixelColor(392, 150), rgb(ScrollBack));
    EXPECT_EQ(img.pixelColor(200, 292), rgb(ScrollBack));
    EXPECT_EQ(img.pixelColor(392, 292), rgb(ScrollFore));
    EXPECT_EQ(img.pixelColor(2, 292), rgb(ScrollFore));
    EXPECT_EQ(img.pixelColor(2, 284), rgb(HeaderBorder));
    // The gutter background.
    EXPECT_EQ(img.pixelColor(1, 150), rgb(SelectedColor));
}

TEST_F(ListFixture, CellTextIsDrawnInItsColourInsideItsCell)
{
    rows(3);
    list.AddColumn(0, 120, "B");
    list.ChangeItem(2, 2, "MMMMMM");
    list.SetColor(2, 2, 0x0000FF);
    list.SetBold(2, 2, true);
    list.ChangeItem(1, 1, "plain");
    const QImage img = shot();
    const int G = list.gutterWidth();
    const QRect cell(G + 101, 36, 120, 16);
    EXPECT_GT(countColour(img, cell, QColor(255, 0, 0)), 10);
    // The colour stays in its cell: not in the row above or the neighbouring column.
    EXPECT_EQ(countColour(img, QRect(G + 101, 20, 120, 16), QColor(255, 0, 0)), 0);
    EXPECT_EQ(countColour(img, QRect(G, 36, 100, 16), QColor(255, 0, 0)), 0);
    EXPECT_GT(countColour(img, QRect(G, 20, 100, 16), QColor(0, 0, 0)), 5);
}

TEST_F(ListFixture, TextWiderThanItsColumnIsCutAtTheColumnEdge)
{
    list.LetWidthColumn(1, 20);
    list.AddColumn(0, 100, "");
    list.ChangeItem(1, 1, "MMMMMMMMMMMM");
    list.SetColor(1, 1, 0x0000FF);
    const QImage img = shot();
    const int G = list.gutterWidth();
    EXPECT_GT(countColour(img, QRect(G, 20, 20, 16), QColor(255, 0, 0)), 0);
    EXPECT_EQ(countColour(img, QRect(G + 20, 20, 100, 16), QColor(255, 0, 0)), 0);
}

TEST_F(ListFixture, SelectedRowAndActiveColumnFormACross)
{
    rows(4);
    list.AddColumn(0, 80, "");
    list.SelectItem(2, 1, 1);
    EXPECT_EQ(list.iSelected(), 2);
    EXPECT_EQ(list.EditColumn(), 1);
    EXPECT_EQ(list.selection().editor(2)->geometry(), QRect(list.gutterWidth() + 101, 20 + 16 + 1, 80, 15));
    EXPECT_EQ(list.rowMarkerTop(), 16);
    EXPECT_EQ(list.columnBackColor(1), SelectedRowColor);
    EXPECT_EQ(list.columnBackColor(2), BackColor);
    const QImage img = shot();
    const int G = list.gutterWidth();
    EXPECT_EQ(img.pixelColor(G + 90, 45), rgb(SelectedColor));     // the active cell
    EXPECT_EQ(img.pixelColor(G + 140, 45), rgb(SelectedRowColor)); // the rest of the row
    EXPECT_EQ(img.pixelColor(G + 90, 60), rgb(SelectedRowColor));  // the active column's body
    EXPECT_EQ(img.pixelColor(G + 140, 60), rgb(BackColor));
    EXPECT_EQ(img.pixelColor(G - 2, 45), rgb(BorderColor));        // the row marker
    list.DeselectRow();
    EXPECT_EQ(list.columnBackColor(1), BackColor);
    EXPECT_EQ(shot().pixelColor(G + 90, 45), rgb(BackColor));
    EXPECT_EQ(list.iSelected(), 2);
}

TEST_F(ListFixture, GutterWidensAtTheTenthRow)
{
    rows(9);
    const int nine = list.gutterWidth();
    rows(10);
    EXPECT_EQ(list.gutterWidth(), nine + underscoreWidth(list) + 1);
    EXPECT_EQ(list.areaLeft(), list.gutterWidth());
    EXPECT_EQ(list.btnLevo()->x(), list.gutterWidth());
    rows(99);
    EXPECT_EQ(list.gutterWidth(), nine + underscoreWidth(list) + 1);
    const QImage img = shot();
    EXPECT_EQ(img.pixelColor(list.gutterWidth() - 1, 30), rgb(BorderColor));
    EXPECT_EQ(img.pixelColor(list.gutterWidth() - 1, 5), rgb(HeaderBorder));
}

TEST_F(ListFixture, ResizeKeepsTheLastRowAtTheBottom)
{
    rows(20);
    list.resize(400, 240);
    list.core().setScrollTop(-150);
    list.resize(400, 236); // V = 200, C = 320
    EXPECT_EQ(list.ScrollTop(), -120);
    list.core().setScrollTop(-100);
    list.resize(400, 240);
    EXPECT_EQ(list.ScrollTop(), -100);
    list.resize(400, 400);
    EXPECT_EQ(list.ScrollTop(), 0);
}

TEST_F(ListFixture, ResizeMovesTheScrolledColumnAreaBackIntoView)
{
    const int G = list.gutterWidth();
    list.LetWidthColumn(1, 399); // columns 400 wide with their gaps
    list.resize(300 + 16 + G, 200);
    EXPECT_TRUE(list.scrollBars().horizontal.visible);
    list.core(); // scroll fully right with the arrow
    while (list.btnDesno()->Enabled() && list.areaLeft() > G - 100) {
        const double before = list.areaLeft();
        press(*list.btnDesno(), {5, 5});
        release(*list.btnDesno(), {5, 5});
        if (list.areaLeft() == before)
            break;
    }
    EXPECT_EQ(list.areaLeft(), G - 100);
    list.resize(350 + 16 + G, 200);
    EXPECT_EQ(list.areaLeft(), G - 50);
    list.resize(400 + 16 + G, 200);
    EXPECT_EQ(list.areaLeft(), G);
    EXPECT_FALSE(list.scrollBars().horizontal.visible);
}

TEST_F(ListFixture, HeldArrowStepsAtOnceThenAfter500ThenEvery50)
{
    rows(40); // V = 264, C = 640
    cmdButton& down = *list.btnDol();
    ASSERT_TRUE(down.Enabled());
    press(down, {5, 5});
    EXPECT_EQ(list.ScrollTop(), -16);
    EXPECT_TRUE(list.tmrScroll().isActive());
    EXPECT_EQ(list.tmrScroll().interval(), 500);
    EXPECT_EQ(list.tmrScrollTag(), "D");
    EXPECT_EQ(list.BtnImg(1)->pos(), QPoint(4, 4));
    list.tmrScroll_Timer();
    EXPECT_EQ(list.ScrollTop(), -32);
    EXPECT_EQ(list.tmrScroll().interval(), 50);
    for (int i = 0; i < 30; ++i)
        list.tmrScroll_Timer();
    EXPECT_EQ(list.ScrollTop(), -376);
    EXPECT_TRUE(list.tmrScroll().isActive()); // ticking on without effect at the end
    release(down, {5, 5});
    EXPECT_FALSE(list.tmrScroll().isActive());
    EXPECT_EQ(list.BtnImg(1)->pos(), QPoint(3, 3));
    EXPECT_NEAR(list.scrollBars().vertical.pos + list.scrollBars().vertical.size, 264 - 16, 1e-3);
}

TEST_F(ListFixture, ArrowStepSequencesAcrossTheWholeRange)
{
    rows(40);
    std::vector<int> tops;
    press(*list.btnDol(), {5, 5});
    tops.push_back(list.ScrollTop());
    for (int i = 0; i < 25; ++i) {
        list.tmrScroll_Timer();
        tops.push_back(list.ScrollTop());
    }
    release(*list.btnDol(), {5, 5});
    EXPECT_EQ(tops[22], -368);
    EXPECT_EQ(tops[23], -376);
    EXPECT_EQ(tops[25], -376);
    press(*list.btnGor(), {5, 5});
    EXPECT_EQ(list.ScrollTop(), -360);
    for (int i = 0; i < 30; ++i)
        list.tmrScroll_Timer();
    release(*list.btnGor(), {5, 5});
    EXPECT_EQ(list.ScrollTop(), 0);
    // The rows still overflow at the top, so Up stays enabled there, and a step up is refused.
    EXPECT_TRUE(list.btnGor()->Enabled());
    press(*list.btnGor(), {5, 5});
    list.tmrScroll_Timer();
    release(*list.btnGor(), {5, 5});
    EXPECT_EQ(list.ScrollTop(), 0);
}

TEST_F(ListFixture, RightPressOnAnArrowDoesNotStepButItsReleaseReselects)
{
    rows(40);
    list.SelectItem(3, 1, 1);
    list.DeselectRow();
    press(*list.btnDol(), {5, 5}, Qt::RightButton);
    EXPECT_EQ(list.ScrollTop(), 0);
    EXPECT_FALSE(list.tmrScroll().isActive());
    release(*list.btnDol(), {5, 5}, Qt::RightButton);
    EXPECT_TRUE(list.rowMarkerVisible());
}

TEST_F(ListFixture, ArrowPicturesFollowTheEnabledState)
{
    const QImage grey = list.BtnImg(1)->pixmap().toImage();
    EXPECT_EQ(grey.pixelColor(4, 3), QColor(160, 160, 164));
    rows(40);
    const QImage black = list.BtnImg(1)->pixmap().toImage();
    EXPECT_EQ(black.pixelColor(4, 3), QColor(0, 0, 0));
    EXPECT_EQ(black.pixelColor(4, 6), QColor(0, 0, 0));
    EXPECT_EQ(black.pixelColor(0, 3).alpha(), 0);
}

TEST_F(ListFixture, VerticalThumbDragAndTrackPress)
{
    rows(40);
    list.core().setScrollTop(-160);
    list.SetScrollers();
    ASSERT_NEAR(list.scrollBars().vertical.pos, 74, 1e-3);
    EXPECT_EQ(list.DrsnikV()->geometry(), QRect(384, 20 + 74, 16, 96));
    // Grab the thumb 6 pixels below its top, through the thumb itself.
    press(*list.DrsnikV(), {5, 6});
    EXPECT_EQ(list.MouseY, 6);
    EXPECT_EQ(list.ScrollTop(), -160);
    moveHeld(list, {390, 20 + 106});
    EXPECT_FLOAT_EQ(list.scrollBars().vertical.pos, 100);
    EXPECT_EQ(list.ScrollTop(), -232);
    moveHeld(list, {390, 299});
    EXPECT_EQ(list.ScrollTop(), -376);
    release(list, {390, 299});
    // A press on the track jumps the thumb's middle under the pointer.
    list.core().setScrollTop(-160);
    list.SetScrollers();
    press(list, {390, 20 + 200});
    EXPECT_EQ(list.MouseY, 48);
    EXPECT_FLOAT_EQ(list.scrollBars().vertical.pos, 152);
    release(list, {390, 20 + 200});
    // The right button neither moves the thumb nor takes a grab offset.
    const float pos = list.scrollBars().vertical.pos;
    press(list, {390, 40}, Qt::RightButton);
    EXPECT_EQ(list.MouseY, 48);
    EXPECT_FLOAT_EQ(list.scrollBars().vertical.pos, pos);
    release(list, {390, 40}, Qt::RightButton);
}

TEST_F(ListFixture, HorizontalThumbDragMovesTheColumnArea)
{
    list.LetWidthColumn(1, 300);
    list.AddColumn(0, 300, "");
    const GridMeasures m = list.measures();
    const ScrollBarState bars = list.scrollBars();
    ASSERT_TRUE(bars.horizontal.visible);
    EXPECT_FLOAT_EQ(bars.horizontal.pos, m.gutterWidth + 16);
    press(list, {bars.horizontal.pos + 2, 290});
    EXPECT_EQ(list.MouseX, 2);
    moveHeld(list, {1000, 290});
    EXPECT_NEAR(list.areaLeft(), m.gutterWidth + m.viewWidth() - m.areaWidth, 1e-3);
    EXPECT_NEAR(list.scrollBars().horizontal.pos + list.scrollBars().horizontal.size, 400 - 32, 1e-3);
    moveHeld(list, {-50, 290});
    EXPECT_DOUBLE_EQ(list.areaLeft(), m.gutterWidth);
    release(list, {-50, 290});
}

TEST_F(ListFixture, ReleaseOverAStripReselectsTheRow)
{
    rows(40);
    list.SelectItem(5, 1, 1);
    list.DeselectRow();
    press(list, {390, 200});
    release(list, {390, 200});
    EXPECT_TRUE(list.rowMarkerVisible());
    EXPECT_EQ(list.selection().editor(1)->y(), 20 + 4 * 16 + list.ScrollTop() + 1);
}

TEST_F(ListFixture, PressOnTheRowsSelectsTheRowUnderThePointer)
{
    rows(10);
    list.resize(400, 120); // V = 84: rows overflow
    list.AddColumn(0, 50, "");
    list.core().setScrollTop(-32);
    const int G = list.gutterWidth();
    press(list, {G + 120.0, 21});
    release(list, {G + 120.0, 21});
    EXPECT_EQ(list.iSelected(), 3);
    EXPECT_EQ(list.EditColumn(), 2);
    press(list, {G + 10.0, 160 - 60});
    release(list, {G + 10.0, 160 - 60});
    EXPECT_EQ(list.iSelected(), 8);
    EXPECT_EQ(list.EditColumn(), 1);
}

TEST_F(ListFixture, PressBelowTheRowsOrWithTheRightButtonDoesNothing)
{
    rows(3);
    const int G = list.gutterWidth();
    // Y 68 is the last that acts: it asks for row 4, which only takes the selection away.
    list.SelectItem(1, 1, 1);
    press(list, {G + 10.0, 68});
    release(list, {G + 10.0, 68});
    EXPECT_FALSE(list.rowMarkerVisible());
    EXPECT_EQ(list.iSelected(), 1);
    list.SelectItem(1, 1, 1);
    press(list, {G + 99.0, 69});
    release(list, {G + 99.0, 69});
    press(list, {G + 10.0, 69});
    release(list, {G + 10.0, 69});
    EXPECT_FALSE(list.splitterVisible());
    EXPECT_TRUE(list.rowMarkerVisible());
    list.DeselectRow();
    press(list, {G + 10.0, 30}, Qt::RightButton);
    release(list, {G + 10.0, 30}, Qt::RightButton);
    EXPECT_FALSE(list.rowMarkerVisible());
    // A press on the row past the last selects nothing and takes the selection away.
    list.SelectItem(2, 1, 1);
    list.SelectItem(4, 1, 1);
    EXPECT_FALSE(list.rowMarkerVisible());
    EXPECT_EQ(list.iSelected(), 2);
}

TEST_F(ListFixture, DraggingAColumnBorderGivesWidthsFrom6To510)
{
    list.AddColumn(0, 50, "");
    const int G = list.gutterWidth();
    struct Case { double to; int width; };
    for (const Case c : {Case{-500, 6}, Case{5000, 510}, Case{double(G + 149), 150}}) {
        list.LetWidthColumn(1, 100);
        const double border = list.columnLeftOnGrid(1) + 100;
        press(list, {border + 1, 10});
        ASSERT_TRUE(list.splitterVisible());
        EXPECT_EQ(list.splitterLeft(), int(border) - 1);
        EXPECT_EQ(list.MouseX, 2);
        moveHeld(list, {c.to + 2, 10});
        release(list, {c.to + 2, 10});
        EXPECT_FALSE(list.splitterVisible());
        EXPECT_EQ(list.GetWidthColumn(1), c.width) << c.to;
    }
    // Press and release on the border of a 600-pixel column lowers it to 510.
    list.AddColumn(0, 600, "");
    const double border3 = list.columnLeftOnGrid(3) + 600;
    list.resize(2000, 300);
    press(list, {border3, 10});
    release(list, {border3, 10});
    EXPECT_EQ(list.GetWidthColumn(3), 510);
    EXPECT_EQ(list.core().UndoStack().top() != nullptr, true);
}

TEST_F(ListFixture, SizingPointerOverBordersOnly)
{
    rows(3);
    const int G = list.gutterWidth();
    moveFree(list, {G + 100.0, 30});
    EXPECT_EQ(list.MousePointer(), 9);
    moveFree(list, {G + 50.0, 30});
    EXPECT_EQ(list.MousePointer(), 0);
    moveFree(list, {G + 100.0, 10});
    EXPECT_EQ(list.MousePointer(), 9);
    moveFree(list, {G + 100.0, 69});
    EXPECT_EQ(list.MousePointer(), 0);
    moveFree(list, {G + 100.0, 30});
    moveFree(list, {392, 100}); // over the vertical strip
    EXPECT_EQ(list.MousePointer(), 0);
}

TEST_F(ListFixture, RightReleaseOffersItemGroupsOnlyInTheTransactionsWindow)
{
    rows(3);
    const int G = list.gutterWidth();
    const char* const others[] = {"frmItems", "frmContacts", "frmPayments", "", "frmtransactions"};
    // A window open under every name, so that an offer sent anywhere is counted.
    for (const char* window : others)
        host.open(window);
    host.open("frmTransactions");
    const auto offers = [&] {
        qsizetype n = 0;
        for (const auto& [name, window] : host.windows)
            n += window->calls.count(QStringLiteral("OPENITEMS"));
        return n;
    };
    for (const char* window : others) {
        host.activeList = window;
        press(list, {G + 10.0, 30}, Qt::RightButton);
        release(list, {G + 10.0, 30}, Qt::RightButton);
    }
    EXPECT_EQ(offers(), 0);
    host.activeList = "frmTransactions";
    press(list, {G + 10.0, 30}, Qt::RightButton);
    release(list, {G + 10.0, 30}, Qt::RightButton);
    EXPECT_EQ(offers(), 1);
    release(list, {G + 10.0, 30}, Qt::LeftButton);
    EXPECT_EQ(offers(), 1);
}

TEST(GridPainterRows, TheDrawnWindowCoversTheViewOnly)
{
    struct Case { int scrollTop, view, count, first, last; };
    const Case cases[] = {
        {0, 264, 3, 0, 3},
        {0, 264, 65000, 0, 18},
        {-8, 264, 65000, 0, 18},
        {-24, 264, 65000, 2, 20},
        {-16 * 64000, 264, 65000, 64000, 64018},
        {-16 * 64990, 264, 65000, 64990, 65000},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(GridPainter::firstRow(c.scrollTop), c.first) << c.scrollTop;
        EXPECT_EQ(GridPainter::lastRow(c.scrollTop, c.view, c.count), c.last) << c.scrollTop;
    }
}

TEST_F(ListFixture, TheSelectedRowsEditorsFollowEveryScroll)
{
    rows(40);
    list.LetWidthColumn(1, 300);
    list.AddColumn(0, 300, "");
    list.SelectItem(3, 1, 2);
    lblTxt* second = list.selection().editor(2);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->y(), 20 + 32 + 1);
    press(*list.btnDol(), {5, 5});
    EXPECT_EQ(second->y(), 20 + 32 - 16 + 1);
    EXPECT_EQ(list.rowMarkerTop(), 16);
    list.tmrScroll_Timer();
    EXPECT_EQ(second->y(), 20 + 32 - 32 + 1);
    release(*list.btnDol(), {5, 5});
    press(*list.btnDesno(), {5, 5});
    EXPECT_EQ(list.areaLeft(), list.gutterWidth() - 15);
    EXPECT_EQ(second->x(), list.columnLeftOnGrid(2));
    release(*list.btnDesno(), {5, 5});
    EXPECT_EQ(list.EditColumn(), 2);
    EXPECT_TRUE(second->isVisible());
}

TEST_F(ListFixture, EnterOnTheGridItselfIsPassedOnAsGridKeyDown)
{
    rows(3);
    std::vector<std::array<int, 4>> keys;
    QObject::connect(&list, &List::GridKeyDown, [&](int k, int s, int r, int c) { keys.push_back({k, s, r, c}); });
    list.SelectItem(2, 1, 0);
    list.setFocus();
    QTest::keyClick(&list, Qt::Key_Return);
    ASSERT_EQ(keys.size(), 1u);
    EXPECT_EQ(keys[0][0], 13);
    EXPECT_EQ(keys[0][2], 2);
}

TEST_F(ListFixture, ATinyGridStillLaysOutAndPaints)
{
    rows(30);
    list.SelectItem(2, 1, 1);
    for (QSize size : {QSize(40, 50), QSize(10, 10), QSize(0, 0), QSize(31, 35)}) {
        list.resize(size);
        const QImage img = shot();
        EXPECT_EQ(img.size(), size);
        EXPECT_LE(list.ScrollTop(), 0);
    }
    list.resize(400, 300);
    EXPECT_EQ(list.btnDol()->geometry(), QRect(384, 268, 16, 16));
    EXPECT_TRUE(list.scrollBars().vertical.visible);
}

TEST_F(ListFixture, AnArrowDisabledWhileHeldStopsRepeatingAtTheRelease)
{
    rows(40);
    press(*list.btnDol(), {5, 5});
    ASSERT_TRUE(list.tmrScroll().isActive());
    list.Clear(); // the rows fit again: the arrows are disabled under the pointer
    list.RemoveItem(1);
    ASSERT_FALSE(list.btnDol()->Enabled());
    release(*list.btnDol(), {5, 5});
    EXPECT_FALSE(list.tmrScroll().isActive());
    EXPECT_EQ(list.BtnImg(1)->pos(), QPoint(3, 3));
}

// The editors laid over a selected row draw each cell's text on the very pixels where the
// grid drew it, so the text does not move when the row is selected. Glyph pixels depend on
// the fonts of the machine, so the two drawings are compared with each other in one run, on
// the same background: the box around the text's dark pixels is the same.
TEST_F(ListFixture, TheEditorsDrawTheTextWhereTheCellsDrawIt)
{
    const auto inkBox = [](const QImage& image, const QRect& area) {
        QRect box;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                if (qGray(image.pixel(x, y)) < 96)
                    box |= QRect(x, y, 1, 1);
        return box;
    };
    struct Format {
        const char* name;
        bool bold, italic, underline;
    };
    const Format formats[] = {
        {"plain", false, false, false},
        {"bold", true, false, false},
        {"italic", false, true, false},
        {"underlined", false, false, true},
    };
    rows(3);
    list.AddColumn(0, 120, "B");
    // Row 2 of column 2, without the grid line below it.
    const QRect cell(int(list.columnLeftOnGrid(2)), 20 + 16, 120, 16);
    for (const Format& f : formats) {
        SCOPED_TRACE(f.name);
        list.ChangeItem(2, 2, "Hjg|y Wq");
        list.SetBold(2, 2, f.bold);
        list.SetItallic(2, 2, f.italic);
        list.SetUnderlined(2, 2, f.underline);
        // Drawn by the grid: row 3 open with column 2 active, so column 2's body has the
        // colour of the selected row's editors.
        list.SelectItem(3, 1, 2);
        const QRect painted = inkBox(shot(), cell);
        ASSERT_FALSE(painted.isEmpty());
        // Drawn by the editor: row 2 open, no editor focused (no caret).
        list.SelectItem(2, 1);
        ASSERT_TRUE(list.selection().editor(2)->isVisible());
        ASSERT_EQ(list.selection().editor(2)->BackColor(), list.SelectedRowColor());
        EXPECT_EQ(inkBox(shot(), cell), painted);
    }
}
