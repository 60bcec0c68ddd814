#include "grid/documents/gridfinder.h"
#include "grid/documents/selectionfindview.h"
#include "grid/celltextbox.h"
#include "grid/edit/fakegridwidget.h"
#include "grid/gridcore.h"
#include "grid/gridselection.h"
#include "grid/lbltxt.h"

#include "support/qtprinters.h"

#include <QTest>
#include <gtest/gtest.h>

using namespace grid;

TEST(SelectionFindView, AHitOpensItsRowScrolledIntoViewWithTheMatchHighlighted)
{
    // 400 x 200: header 20, gutter 30, scroll strips 16, so rows show in 164 pixels and
    // columns from x = 30 to x = 384.
    FakeGridWidget widget;
    GridCore core(&widget);
    core.ClearEntireList();
    core.LetWidthColumn(1, 200);
    core.AddColumn(0, 200, QStringLiteral("B"));
    core.AddColumn(0, 200, QStringLiteral("C"));
    core.resetRows(120);
    core.setCellText(80, 3, QStringLiteral("a Needle here"));
    GridSelection selection(core, widget);
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
