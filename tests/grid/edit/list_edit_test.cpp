// The cell editors inside the grid widget: a click opens the row under the pointer with the
// clicked column's editor focused, typing writes the cell, leaving records one step, the
// editors stay inside the row area and follow scrolling, keys reach the window as GridKeyDown.

#include "support/qtprinters.h"
#include "recordinghost.h"

#include "grid/celltextbox.h"
#include "grid/cmdbutton.h"
#include "grid/gridselection.h"
#include "grid/history/celltextrecord.h"
#include "grid/history/historystack.h"
#include "grid/lbltxt.h"
#include "grid/list.h"

#include <QPointer>
#include <QSignalSpy>
#include <functional>
#include <QTest>
#include <gtest/gtest.h>

using grid::GridHost;

namespace {

// A shown, active grid of 30 rows and 3 columns (widths 100, 60, 60), cells "r<row>c<col>".
class ListEditFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        list.setHost(&host);
        list.resize(400, 200);
        fill();
        list.show();
        list.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&list));
    }
    // The 30 rows and 3 columns, with no history.
    void fill()
    {
        list.ClearEntireList();
        list.LetWidthColumn(1, 100);
        list.AddColumn(0, 60, "B");
        list.AddColumn(0, 60, "C");
        list.AddMoreThanOneRow(29);
        for (int r = 1; r <= 30; ++r)
            for (int c = 1; c <= 3; ++c)
                list.core().setCellText(r, c, QStringLiteral("r%1c%2").arg(r).arg(c));
        list.ClearUndoRedo();
    }
    // Every row's texts, top to bottom.
    QList<QStringList> rows() const
    {
        QList<QStringList> all;
        for (int r = 1; r <= list.ListCount(); ++r)
            all += row(r);
        return all;
    }
    QStringList row(int r) const
    {
        QStringList texts;
        for (int c = 1; c <= list.ColumnCount(); ++c)
            texts += list.GetItem(r, c);
        return texts;
    }
    // The middle of cell (r, c) on the grid, with no vertical scroll.
    QPoint cell(int r, int c) const
    {
        const int left = int(list.columnLeftOnGrid(c));
        return QPoint(left + list.GetWidthColumn(c) / 2, 20 + 16 * (r - 1) + 8 + list.ScrollTop());
    }
    grid::lblTxt* ed(int k) { return list.selection().editor(k); }
    QWidget* box(int k) { return ed(k)->textBox(); }
    // A click at a point of the grid, delivered to whatever lies there.
    void click(QPoint at)
    {
        QWidget* target = list.childAt(at) ? list.childAt(at) : &list;
        QTest::mouseClick(target, Qt::LeftButton, {}, target->mapFrom(&list, at));
    }

    grid::List list;
    RecordingHost host;
};

} // namespace

TEST_F(ListEditFixture, AClickOpensTheRowWithTheClickedColumnsEditorFocused)
{
    click(cell(3, 2));
    EXPECT_EQ(list.iSelected(), 3);
    EXPECT_EQ(list.EditColumn(), 2);
    ASSERT_TRUE(ed(2)->isVisible());
    EXPECT_TRUE(box(2)->hasFocus());
    EXPECT_EQ(ed(1)->Text(), "r3c1");
    const QRect onGrid(ed(2)->mapTo(&list, QPoint(0, 0)), ed(2)->size());
    EXPECT_EQ(onGrid, QRect(int(list.columnLeftOnGrid(2)), 20 + 32 + 1, 60, 15));
}

TEST_F(ListEditFixture, TypingWritesTheCellAndLeavingItRecordsOneStep)
{
    click(cell(3, 2));
    QTest::keyClicks(box(2), "typed");
    EXPECT_EQ(list.GetItem(3, 2), "typed");
    EXPECT_TRUE(list.core().UndoStack().isEmpty());
    click(cell(5, 1));
    ASSERT_EQ(list.core().UndoStack().stepCount(), 1);
    EXPECT_EQ(list.core().UndoStack().top()->tag(), "#SETTXT#");
    list.undo();
    EXPECT_EQ(list.GetItem(3, 2), "r3c2");
}

TEST_F(ListEditFixture, KeysTheGridDoesNotHandleReachTheWindowAsGridKeyDown)
{
    QSignalSpy spy(&list, &grid::List::GridKeyDown);
    click(cell(1, 3));
    QTest::keyClick(box(3), Qt::Key_Up);
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(spy.at(0), (QList<QVariant>{38, 0, 1, 3}));

    // Enter while the grid itself has the focus.
    list.SelectItem(1, 2);
    QWidget* gridFocus = QApplication::focusWidget();
    ASSERT_TRUE(gridFocus && list.isAncestorOf(gridFocus));
    ASSERT_FALSE(box(3)->hasFocus());
    QTest::keyClick(gridFocus, Qt::Key_Return);
    ASSERT_EQ(spy.count(), 2);
    EXPECT_EQ(spy.at(1), (QList<QVariant>{13, 0, 1, 3}));
}

TEST_F(ListEditFixture, DownAtTheBottomOfTheViewScrollsTheRowIntoView)
{
    // 200 - 20 - 16 = 164 pixels of rows: rows 1 to 10 whole.
    click(cell(10, 1));
    QTest::keyClick(box(1), Qt::Key_Down);
    EXPECT_EQ(list.iSelected(), 11);
    EXPECT_EQ(list.ScrollTop(), 164 - 11 * 16);
    EXPECT_EQ(ed(1)->mapTo(&list, QPoint(0, 0)).y(), 20 + 164 - 16 + 1);
    EXPECT_TRUE(box(1)->hasFocus());
}

// Tab from the last column of the last row wholly in view goes on to the next row, into its
// first cell that takes typing, and brings that row into view, wherever the grid was scrolled
// to before; what is typed next lands there.
TEST_F(ListEditFixture, TabFromTheLastRowInViewGoesOnToTheNextRowsFirstTypedCell)
{
    struct Case {
        const char* view;
        int stepsDown;  // presses on the down arrow before the row is clicked
        int lastInView; // the last row wholly in view then
    };
    // 200 - 20 - 16 = 164 pixels of rows: ten rows and a part of the eleventh.
    const Case cases[] = {
        {"at the top", 0, 10},
        {"five rows down", 5, 15},
        {"one row short of the bottom", 19, 29},
    };
    for (const Case& c : cases) {
        for (const bool firstTakesTyping : {true, false}) {
            SCOPED_TRACE(std::string(c.view) + (firstTakesTyping ? "" : ", column 1 takes no typing"));
            fill();
            list.EnableEdit(1);
            if (!firstTakesTyping)
                list.DisableEdit(1);
            const int first = firstTakesTyping ? 1 : 2;
            list.SelectItem(1, 1, 1);
            for (int step = 0; step < c.stepsDown; ++step) {
                QTest::mousePress(list.btnDol(), Qt::LeftButton, {}, QPoint(8, 8));
                QTest::mouseRelease(list.btnDol(), Qt::LeftButton, {}, QPoint(8, 8));
            }
            ASSERT_EQ(list.ScrollTop(), -16 * c.stepsDown);

            click(cell(c.lastInView, 3));
            ASSERT_TRUE(box(3)->hasFocus());
            QTest::keyClicks(box(3), "x");
            QTest::keyClick(box(3), Qt::Key_Tab);
            EXPECT_EQ(list.iSelected(), c.lastInView + 1);
            EXPECT_EQ(list.EditColumn(), first);
            ASSERT_TRUE(box(first)->hasFocus());
            // The new row lies wholly inside the rows' area, its editors on it.
            const int top = ed(first)->mapTo(&list, QPoint(0, 0)).y();
            EXPECT_EQ(top, 20 + 16 * c.lastInView + list.ScrollTop() + 1);
            EXPECT_GE(top, 20);
            EXPECT_LE(top + 15, 20 + 164);
            QTest::keyClicks(box(first), "y");
            // Each cell's text was selected as it took the keyboard, so the typing replaced it.
            EXPECT_EQ(list.GetItem(c.lastInView, 3), QStringLiteral("x"));
            EXPECT_EQ(list.GetItem(c.lastInView + 1, first), QStringLiteral("y"));
            EXPECT_EQ(list.GetItem(c.lastInView + 1, 3), QStringLiteral("r%1c3").arg(c.lastInView + 1));
            list.DeselectRow();
        }
    }
}

TEST_F(ListEditFixture, TheEditorsFollowTheScrollAndNeverCoverTheHeader)
{
    click(cell(2, 1));
    const int before = ed(1)->mapTo(&list, QPoint(0, 0)).y();
    for (int step = 0; step < 2; ++step) {
        QTest::mousePress(list.btnDol(), Qt::LeftButton, {}, QPoint(8, 8));
        QTest::mouseRelease(list.btnDol(), Qt::LeftButton, {}, QPoint(8, 8));
    }
    ASSERT_EQ(list.ScrollTop(), -32);
    const int top = ed(1)->mapTo(&list, QPoint(0, 0)).y();
    EXPECT_EQ(top, before - 32);
    ASSERT_EQ(top, 5) << "row 2 now lies under the header strip";
    EXPECT_TRUE(box(1)->hasFocus());

    // The header keeps its own colour where the editor stands.
    const QImage shot = list.grab().toImage();
    const int x = int(list.columnLeftOnGrid(1)) + 50;
    EXPECT_EQ(shot.pixelColor(x, 12), shot.pixelColor(x, 2));
}

TEST_F(ListEditFixture, AClickOnTheTransactionsGridOffersToOpenAnItemGroup)
{
    RecordingWindow& transactions = host.open(GridHost::Transactions, &list.selection());
    host.activeList = GridHost::Transactions;
    for (int c = 1; c <= 3; ++c)
        list.DisableEdit(c);
    click(cell(4, 2));
    EXPECT_EQ(transactions.calls.filter("OPENITEMS").size(), 1);
    EXPECT_EQ(list.iSelected(), 1);
}

TEST_F(ListEditFixture, FocusLeavingTheGridClosesTheRow)
{
    QWidget elsewhere;
    auto* field = new QWidget(&elsewhere);
    field->setFocusPolicy(Qt::StrongFocus);
    elsewhere.show();
    click(cell(2, 2));
    QTest::keyClicks(box(2), "typed");
    elsewhere.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&elsewhere));
    field->setFocus();
    EXPECT_FALSE(ed(1)->isVisible());
    EXPECT_EQ(list.iSelected(), 2);
    EXPECT_EQ(list.core().UndoStack().stepCount(), 1) << "the visit was recorded";
}

// A column inserted or removed in front of the open row's editors moves the cells away from
// the editors that show them: typing on must not write into another column's cells. A
// column added at the end moves nothing, and the editing goes on.
TEST_F(ListEditFixture, AColumnInsertedOrRemovedUnderTheOpenRowLeavesTheOtherCellsAlone)
{
    struct Case {
        const char* change;
        std::function<void()> apply;
        QStringList after; // row 2 after the change and the typing that follows it
    };
    const Case cases[] = {
        {"column 1 removed", [&] { list.RemoveColumn(1); }, {"x", "r2c3"}},
        {"column inserted at 2", [&] { list.AddColumn(2, 60, "N"); }, {"r2c1", "", "x", "r2c3"}},
        {"column added at the end", [&] { list.AddColumn(0, 60, "N"); }, {"r2c1", "xy", "r2c3", ""}},
    };
    for (const Case& c : cases) {
        fill();
        click(cell(2, 2));
        ASSERT_TRUE(box(2)->hasFocus()) << c.change;
        QTest::keyClicks(box(2), "x");
        c.apply();
        QTest::keyClicks(box(2), "y");
        EXPECT_EQ(row(2), c.after) << c.change;
    }
    // The typing before the change is a step of its own below the change's, and the typing
    // after it one above.
    click(cell(3, 1));
    list.undo();
    EXPECT_EQ(row(2), (QStringList{"r2c1", "x", "r2c3", ""}));
    list.undo(2);
    EXPECT_EQ(row(2), (QStringList{"r2c1", "r2c2", "r2c3"}));
}

// Rows inserted or removed at or above the open row, or the rows cleared, by a call, an undo
// or a redo, move other cells under its editors: the row closes and typing on changes no
// cell. What was typed before the change is recorded first, as its own step below the
// change's (ClearEntireList then empties the history). A change below the open row leaves
// the row open: the typing before the change and the typing after it are a step each.
TEST_F(ListEditFixture, RowsInsertedOrRemovedUnderTheOpenRowLeaveTheOtherCellsAlone)
{
    enum class After { Open, Closed, ClosedRecorded };
    struct Case {
        const char* change;
        std::function<void()> before; // before the row is opened
        int row, column;              // the cell opened and typed into
        QString typed;                // before the change; an undo would take the typing back
        std::function<void()> apply;
        After after;
    };
    const auto none = [] {};
    const Case cases[] = {
        {"row 1 removed", none, 3, 2, "x", [&] { list.RemoveItem(1); }, After::ClosedRecorded},
        {"the open row removed", none, 3, 2, "x", [&] { list.RemoveItem(3); }, After::ClosedRecorded},
        {"row 4 removed", none, 3, 2, "x", [&] { list.RemoveItem(4); }, After::Open},
        {"row inserted at 1", none, 3, 2, "x", [&] { list.AddRow("", 1); }, After::ClosedRecorded},
        {"row inserted at the open row", none, 3, 2, "x", [&] { list.AddRow("", 3); }, After::ClosedRecorded},
        {"row inserted at 4", none, 3, 2, "x", [&] { list.AddRow("", 4); }, After::Open},
        {"row appended", none, 3, 2, "x", [&] { list.AddRow(); }, After::Open},
        {"rows appended", none, 3, 2, "x", [&] { list.AddMoreThanOneRow(2); }, After::ClosedRecorded},
        {"undo of a removal of row 1", [&] { list.RemoveItem(1); }, 3, 2, "", [&] { list.undo(); }, After::Closed},
        {"redo of a removal of row 1", [&] { list.RemoveItem(1); list.undo(); }, 3, 2, "", [&] { list.redo(); },
         After::Closed},
        {"undo of rows appended", [&] { list.AddMoreThanOneRow(2); }, 3, 2, "", [&] { list.undo(); }, After::Open},
        {"Clear", none, 3, 2, "x", [&] { list.Clear(); }, After::ClosedRecorded},
        {"undo of a Clear", [&] { list.Clear(); }, 1, 2, "", [&] { list.undo(); }, After::Closed},
        // In column 1, whose editor stays when the other columns go.
        {"ClearEntireList", none, 3, 1, "x", [&] { list.ClearEntireList(); }, After::Closed},
    };
    for (const Case& c : cases) {
        fill();
        c.before();
        click(cell(c.row, c.column));
        QPointer<QWidget> typing = box(c.column);
        ASSERT_TRUE(typing->hasFocus()) << c.change;
        const QString original = list.GetItem(c.row, c.column);
        QTest::keyClicks(typing, c.typed);
        c.apply();
        EXPECT_EQ(ed(1)->isVisible(), c.after == After::Open) << c.change;
        QList<QStringList> expected = rows();
        if (c.after == After::Open)
            expected[c.row - 1][c.column - 1] = c.typed + "y";
        QTest::keyClicks(typing, "y");
        EXPECT_EQ(rows(), expected) << c.change;

        list.DeselectRow();
        const QStringList visits = list.core().UndoStack().lines().filter("#SETTXT#");
        QStringList recorded;
        if (c.after == After::Open && !c.typed.isEmpty())
            recorded += grid::CellTextRecord(c.row, c.column, c.typed).lines();
        if (c.after != After::Closed)
            recorded += grid::CellTextRecord(c.row, c.column, original).lines();
        EXPECT_EQ(visits, recorded) << c.change;
    }
}

// Opening a row loads every cell whole into its editor, however long: nothing is cut and
// nothing recorded, and typing goes on at the end of the whole text.
TEST_F(ListEditFixture, ALongCellIsNeitherCutNorRecordedWhenItsRowIsOpened)
{
    const QString longText = QStringLiteral("0123456789").repeated(4000);
    list.core().setCellText(3, 2, longText);
    list.core().setCellText(3, 3, longText);
    click(cell(3, 2));
    EXPECT_EQ(list.GetItem(3, 2), longText);
    EXPECT_EQ(list.GetItem(3, 3), longText);
    EXPECT_EQ(ed(3)->Text(), longText);
    QTest::keyClick(box(2), Qt::Key_End);
    QTest::keyClick(box(2), Qt::Key_X);
    EXPECT_EQ(list.GetItem(3, 2), longText + "x");
    click(cell(5, 1));
    EXPECT_EQ(list.core().UndoStack().lines(), grid::CellTextRecord(3, 2, longText).lines());
}
