#include "grid/documents/gridfinder.h"
#include "grid/documents/selectionfindview.h"
#include "grid/celltextbox.h"
#include "grid/gridcore.h"
#include "grid/gridselection.h"
#include "grid/gridview.h"
#include "grid/lbltxt.h"
#include "grid/selectionview.h"

#include "printers.h"

#include <QPoint>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

using namespace grid;

namespace {

// A shown widget 400 x 200: header 20, gutter 30, scroll strips 16, so rows show in 164
// pixels and columns from x = 30 to x = 384.
class FakeGrid final : public QWidget, public GridView, public SelectionView {
public:
    FakeGrid() { resize(400, 200); }

    QWidget* editorParent() override { return this; }
    QPoint editorParentOrigin() const override { return QPoint(0, 0); }
    int gridWidth() const override { return width(); }
    int gridHeight() const override { return height(); }
    int headerHeight() const override { return 20; }
    int gutterWidth() const override { return 30; }
    int vScrollWidth() const override { return 16; }
    int hScrollHeight() const override { return 16; }
    int columnAreaLeft() const override { return areaLeft; }
    void setColumnAreaLeft(int left) override { areaLeft = left; }
    uint32_t columnBodyColor(int) const override { return 0; }
    void setColumnBodyColor(int, uint32_t) override {}
    void showRowMarker(int, int) override {}
    void hideRowMarker() override {}
    void focusScrollBar() override {}
    void setDefaultPointer() override {}
    void repaintColumnArea() override {}
    void repaintGrid() override {}
    void renderColumn(int) override {}
    void setScrollers() override {}
    void fitCounterColumn() override {}
    void deselectRow() override {}
    void columnsChanged(int) override {}
    void columnCaptionChanged(int) override {}
    void columnEditChanged(int) override {}
    void resetHorizontalScroll() override { areaLeft = 30; }
    int rowAreaHeight() const override { return 164; }

    int areaLeft = 30;
};

} // namespace

TEST(SelectionFindView, AHitOpensItsRowScrolledIntoViewWithTheMatchHighlighted)
{
    FakeGrid widget;
    GridCore core(&widget);
    core.ClearEntireList();
    core.LetWidthColumn(1, 200);
    core.AddColumn(0, 200, QStringLiteral("B"));
    core.AddColumn(0, 200, QStringLiteral("C"));
    core.resetRows(120);
    core.setCellText(80, 3, QStringLiteral("a Needle here"));
    GridSelection selection(core, widget, &widget);
    selection.syncEditors();
    widget.show();
    widget.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&widget));

    SelectionFindView view(core, selection, widget);
    GridFinder finder(core, &view);
    ASSERT_TRUE(finder.FindText(QStringLiteral("needle")));

    EXPECT_EQ(core.iSelected(), 80);
    EXPECT_EQ(core.ScrollTop(), 164 - 80 * 16);       // the row's bottom at the view's bottom
    EXPECT_EQ(widget.areaLeft, 384 - 402 - 200);      // column 3's right edge at the scroll bar
    lblTxt* editor = selection.editor(3);
    ASSERT_NE(editor, nullptr);
    EXPECT_TRUE(QTest::qWaitFor([&] { return editor->textBox()->hasFocus(); }));
    EXPECT_EQ(editor->textBox()->selectedText(), QStringLiteral("Needle"));
}
