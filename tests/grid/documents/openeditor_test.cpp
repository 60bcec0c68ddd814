// Grid members called while a cell editor holds the keyboard focus, as the window's toolbar
// buttons, menu commands and shortcuts call them: the edit typed so far becomes a step of its
// own before the member's change, the editors show the cells as they are afterwards, and the
// next key types into what the cell now holds. And find's highlight, which must not outlive
// the focus it was made for.

#include "support/qtprinters.h"

#include "grid/documents/gridfinder.h"
#include "grid/documents/selectionfindview.h"
#include "grid/edit/recordinghost.h"
#include "grid/celltextbox.h"
#include "grid/gridselection.h"
#include "grid/lbltxt.h"
#include "grid/list.h"

#include <QTest>
#include <functional>
#include <gtest/gtest.h>

using grid::GridHost;

namespace {

// A shown, active grid of 5 rows and 3 columns (widths 100, 60, 60), cells "r<row>c<col>",
// except cell (3, 2), which holds "old"; find works on the widget.
class OpenEditorFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        list.setHost(&host);
        list.resize(400, 200);
        list.show();
        list.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&list));
        fill();
    }
    void fill()
    {
        list.ClearEntireList();
        list.LetWidthColumn(1, 100);
        list.AddColumn(0, 60, "B");
        list.AddColumn(0, 60, "C");
        list.AddMoreThanOneRow(4);
        for (int r = 1; r <= 5; ++r)
            for (int c = 1; c <= 3; ++c)
                list.core().setCellText(r, c, QStringLiteral("r%1c%2").arg(r).arg(c));
        list.core().setCellText(3, 2, "old");
        list.ClearUndoRedo();
    }
    QList<QStringList> rows() const
    {
        QList<QStringList> all;
        for (int r = 1; r <= list.ListCount(); ++r) {
            QStringList texts;
            for (int c = 1; c <= list.ColumnCount(); ++c)
                texts += list.GetItem(r, c);
            all += texts;
        }
        return all;
    }
    grid::lblTxt* ed(int k) { return list.selection().editor(k); }
    QWidget* box(int k) { return ed(k)->textBox(); }

    grid::List list;
    RecordingHost host;
    grid::SelectionFindView findView{list.core(), list.selection(), list};
    grid::GridFinder finder{list.core(), &findView};
};

} // namespace

// The user types "midq" over "old" in cell (3, 2), a member runs, the user types "z". The
// typed cell may have moved (row, column); its editor shows what the cell holds, or is gone
// with its row. Undoing everything afterwards gives the grid back as it was, so the typed
// edit kept its step, in its place.
TEST_F(OpenEditorFixture, AMemberCalledWhileAnEditorHasTheFocusEndsTheEditAndTheEditorsShowTheChange)
{
    struct Case {
        const char* member;
        std::function<void()> before; // before the cell is entered
        std::function<void()> call;
        int row, column;              // where the typed cell is after the call
        QString after;                // the typed cell after the call
        bool editorShown;             // whether the row is still open (editor 2 shows the cell)
        QString afterKey;             // the typed cell after one more key
    };
    const auto none = [] {};
    const Case cases[] = {
        {"undo", none, [&] { EXPECT_TRUE(list.undo()); }, 3, 2, "old", true, "oldz"},
        {"redo after an edit",
         [&] {
             list.ChangeItem(5, 1, "redone?");
             list.undo();
         },
         [&] { EXPECT_FALSE(list.redo()) << "the typed edit is a new change"; }, 3, 2, "midq", true, "midqz"},
        {"ChangeItem of the cell", none, [&] { list.ChangeItem(3, 2, "set"); }, 3, 2, "set", true, "setz"},
        {"ChangeItem of another cell", none, [&] { list.ChangeItem(3, 1, "left"); }, 3, 2, "midq", true, "midqz"},
        {"FindAndReplaceText", none, [&] { EXPECT_TRUE(finder.FindAndReplaceText("MID", "Mid", true)); }, 3, 2,
         "Midq", true, "Midqz"},
        {"SetBold", none, [&] { list.SetBold(3, 2, true); }, 3, 2, "midq", true, "midqz"},
        {"SetItallic", none, [&] { list.SetItallic(3, 2, true); }, 3, 2, "midq", true, "midqz"},
        {"SetUnderlined", none, [&] { list.SetUnderlined(3, 2, true); }, 3, 2, "midq", true, "midqz"},
        {"SetColor", none, [&] { list.SetColor(3, 2, 255); }, 3, 2, "midq", true, "midqz"},
        {"a row inserted above", none, [&] { list.AddRow("", 1); }, 4, 2, "midq", false, "midq"},
        {"a row removed above", none, [&] { list.RemoveItem(1); }, 2, 2, "midq", false, "midq"},
        {"a column inserted in front", none, [&] { list.AddColumn(1, 60, "N"); }, 3, 3, "midq", false, "midq"},
        {"a column removed in front", none, [&] { list.RemoveColumn(1); }, 3, 1, "midq", false, "midq"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.member);
        fill();
        const QList<QStringList> original = rows();
        c.before();
        list.SelectItem(3, 1, 2);
        ASSERT_TRUE(box(2)->hasFocus());
        QTest::keyClicks(box(2), "mid");
        QTest::keyClick(box(2), Qt::Key_Q);
        ASSERT_EQ(list.GetItem(3, 2), "midq");

        c.call();
        EXPECT_EQ(list.GetItem(c.row, c.column), c.after);
        EXPECT_EQ(ed(2)->isVisible(), c.editorShown);
        if (c.editorShown) {
            EXPECT_EQ(ed(2)->Text(), c.after);
        }
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Z);
        EXPECT_EQ(list.GetItem(c.row, c.column), c.afterKey);
        if (c.editorShown) {
            EXPECT_EQ(ed(2)->Text(), c.afterKey);
        }

        list.DeselectRow();
        while (list.undo()) {
        }
        EXPECT_EQ(rows(), original);
    }
}

// The other editors of the row follow too, with the formats, and the window's bars show the
// focused cell as it is now.
TEST_F(OpenEditorFixture, TheRowsEditorsAndTheWindowsBarsShowTheCellsAfterTheMember)
{
    RecordingWindow& items = host.open(GridHost::Items, &list.selection());
    host.activeList = GridHost::Items;
    list.SelectItem(3, 1, 2);
    QTest::keyClicks(box(2), "midq");

    list.ChangeItem(3, 1, "left");
    list.SetBold(3, 2, true);
    list.SetColor(3, 2, 255);
    EXPECT_EQ(ed(1)->Text(), "left");
    EXPECT_TRUE(ed(2)->Bold());
    EXPECT_EQ(ed(2)->ForeColor(), 255u);
    EXPECT_EQ(items.calls.last(), "showCell midq 100 255");
    EXPECT_TRUE(box(2)->hasFocus());

    // Each member's step stands above the typed edit, each in its place.
    list.undo();
    EXPECT_EQ(ed(2)->ForeColor(), 0u);
    list.undo();
    EXPECT_FALSE(ed(2)->Bold());
    list.undo();
    EXPECT_EQ(ed(1)->Text(), "r3c1");
    list.undo();
    EXPECT_EQ(ed(2)->Text(), "old");
    EXPECT_FALSE(list.undo());
}

// A column added at the end of an open row gets its editor over the row at once, and a new
// column width moves the editors to the columns' new places.
TEST_F(OpenEditorFixture, TheOpenRowsEditorsFollowAnAddedColumnAndNewWidths)
{
    list.SelectItem(3, 1, 2);
    list.AddColumn(0, 60, "D");
    list.ChangeItem(3, 4, "new");
    ASSERT_NE(ed(4), nullptr);
    EXPECT_TRUE(ed(4)->isVisible());
    EXPECT_EQ(ed(4)->Text(), "new");
    list.LetWidthColumn(1, 150);
    for (int k = 1; k <= 4; ++k) {
        EXPECT_EQ(ed(k)->geometry(), QRect(int(list.columnLeftOnGrid(k)), ed(1)->y(), list.GetWidthColumn(k), 15))
            << "editor " << k;
    }
    EXPECT_TRUE(box(2)->hasFocus());
}

// Find highlights the match in the found cell's editor, run from the grid's own window or
// from a window of its own (a find dialog; the editor's focus then comes when the grid's
// window is active again). The highlight stands, and the next time the editor takes the
// focus it selects its whole text again.
TEST_F(OpenEditorFixture, FindsHighlightDoesNotKeepTheNextFocusFromSelectingAll)
{
    const auto selected = [this] { return ed(3)->textBox()->selectedText(); };
    for (const bool fromAnotherWindow : {false, true}) {
        SCOPED_TRACE(fromAnotherWindow ? "from another window" : "from the grid's window");
        fill();
        list.ChangeItem(4, 3, "a needle here");
        QWidget dialog;
        if (fromAnotherWindow) {
            dialog.resize(50, 50);
            dialog.show();
            dialog.activateWindow();
            ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
        }
        ASSERT_TRUE(finder.FindText("needle"));
        if (fromAnotherWindow) {
            dialog.close();
            list.activateWindow();
            ASSERT_TRUE(QTest::qWaitForWindowActive(&list));
        }
        ASSERT_TRUE(box(3)->hasFocus());
        EXPECT_EQ(selected(), "needle");
        EXPECT_FALSE(ed(3)->DisableSelectAll);

        box(1)->setFocus();
        box(3)->setFocus();
        EXPECT_EQ(selected(), "a needle here");
    }
}
