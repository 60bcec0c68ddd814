// Entering cells, the click hand-off, edge moves into columns that cannot be edited and
// editors of a row no longer selected: cases where a literal reading of the control's rules
// would record, write or move what it should not.

#include "selectionfixture.h"

#include "grid/history/historystack.h"

using grid::GridHost;

// Entering a cell only shows it in the window's bars: the text bar's rule (which writes
// into the grid and records a step) is for the user's edits of the bar.
TEST_F(SelectionFixture, EnteringCellsLeavesBothHistoryStacksAsTheyWere)
{
    RecordingWindow& items = host.open(GridHost::Items, &sel);
    host.activeList = GridHost::Items;
    core.ChangeItem(4, 1, "y");
    core.ChangeItem(5, 1, "x");
    core.undo();
    const QStringList undoBefore = core.UndoStack().lines();
    const QStringList redoBefore = core.RedoStack().lines();
    ASSERT_EQ(redoBefore.size(), 1);

    sel.SelectItem(2, 1, 1);
    key(1, Qt::Key_End);
    key(1, Qt::Key_Right);
    sel.SelectItem(3, 1, 2);
    sel.SelectItem(3, 1, 3);
    sel.SelectItem(3, 2);

    EXPECT_EQ(core.UndoStack().lines(), undoBefore);
    EXPECT_EQ(core.RedoStack().lines(), redoBefore);
    EXPECT_EQ(items.textBar, "r3c3");
}

// The window's bar writes into the published column, so the column must be the entered one
// by the time the cell is shown.
TEST_F(SelectionFixture, TheTextBarWritesIntoTheCellBeingEnteredNotThePreviousColumn)
{
    RecordingWindow& items = host.open(GridHost::Items, &sel);
    host.activeList = GridHost::Items;
    sel.SelectItem(3, 1, 2);
    sel.SelectItem(3, 1, 3);
    EXPECT_EQ(items.activeColumnAtShow, "3");

    items.typeInTextBar("from the bar");
    EXPECT_EQ(core.GetItem(3, 3), "from the bar");
    EXPECT_EQ(core.GetItem(3, 2), "r3c2");
}

// The click hand-off belongs to the transactions window's grid; a click on another window's
// grid leaves the transaction alone.
TEST_F(SelectionFixture, OnlyAClickOnTheTransactionsGridOffersToOpenAnItemGroup)
{
    FakeGridWidget otherWidget;
    grid::GridCore transactionsCore{&otherWidget};
    grid::GridSelection transactionsGrid{transactionsCore, otherWidget, &otherWidget};
    transactionsGrid.setHost(&host);
    transactionsCore.AddRow();
    RecordingWindow& transactions = host.open(GridHost::Transactions, &transactionsGrid);
    host.open(GridHost::Contacts, &sel);
    host.activeList = GridHost::Contacts;

    core.setEditColumn(2);
    sel.surfaceClicked();
    EXPECT_TRUE(transactions.calls.isEmpty());
    EXPECT_EQ(transactionsCore.iSelected(), 0);

    otherWidget.show();
    transactionsCore.setEditColumn(2);
    transactionsGrid.surfaceClicked();
    EXPECT_EQ(transactions.calls, QStringList{"OPENITEMS"});
    EXPECT_EQ(transactionsCore.iSelected(), 1);

    // Column 5 on, or the item groups window shown: no offer.
    transactions.calls.clear();
    transactionsCore.setEditColumn(5);
    transactionsGrid.surfaceClicked();
    transactionsCore.setEditColumn(1);
    host.open(GridHost::Items, nullptr, true);
    transactionsGrid.surfaceClicked();
    EXPECT_TRUE(transactions.calls.isEmpty());
}

// The transactions window's item columns 1 to 4 cannot be edited: Left at the start of
// column 5, or Right at the end of the last column into column 1 of the next row, changes
// nothing, and the next key is an ordinary key (no guidance message: the scripted prompts
// fail the test on one).
TEST_F(SelectionFixture, AnEdgeMoveTowardsAColumnThatCannotTakeTheFocusChangesNothing)
{
    makeTransactionsGrid();
    sel.SelectItem(2, 1, 5);
    ASSERT_EQ(focused(), 5);
    const int areaLeft = widget.areaLeft;

    key(5, Qt::Key_Home);
    key(5, Qt::Key_Left);
    EXPECT_EQ(core.EditColumn(), 5);
    EXPECT_EQ(focused(), 5);
    EXPECT_EQ(ed(5)->BackColor(), core.colors().SelectedColor);
    EXPECT_EQ(ed(4)->BackColor(), core.colors().SelectedRowColor);
    EXPECT_EQ(widget.areaLeft, areaLeft);

    key(5, Qt::Key_End);
    key(5, Qt::Key_Right);
    EXPECT_EQ(core.iSelected(), 2);
    EXPECT_EQ(focused(), 5);

    key(5, Qt::Key_Z);
    EXPECT_EQ(core.GetItem(2, 5), "z");
    EXPECT_TRUE(prompts->recorded().isEmpty());
}

TEST_F(SelectionFixture, AClosedRowsEditorNeverWritesIntoTheSelectedRow)
{
    sel.SelectItem(2, 1, 1);
    sel.DeselectRow();
    ed(1)->setText("stale");
    EXPECT_EQ(core.GetItem(2, 1), "r2c1");
}

// Find moves iSelected without reopening the row: the open editors still show row 2 and
// must not type into row 4.
TEST_F(SelectionFixture, AnEditorOfARowNoLongerSelectedNeverWritesIntoTheSelectedRow)
{
    sel.SelectItem(2, 1, 1);
    core.setiSelected(4);
    QTest::keyClicks(box(1), "typed");
    EXPECT_EQ(core.GetItem(4, 1), "r4c1");
    EXPECT_EQ(core.GetItem(2, 1), "r2c1");
    sel.SelectItem(4, 1, 1);
    EXPECT_TRUE(core.UndoStack().isEmpty());
}

// Ctrl+Insert moves the edited row down; the visit's step still names the row it was made
// in, so undoing both steps gives the document back as it was.
TEST_F(SelectionFixture, AVisitEndedByAnInsertedRowIsRecordedForItsOwnRow)
{
    sel.SelectItem(3, 1, 2);
    QTest::keyClicks(box(2), "typed");
    key(2, Qt::Key_Insert, Qt::ControlModifier);
    EXPECT_EQ(core.GetItem(4, 2), "typed");
    ASSERT_EQ(core.UndoStack().stepCount(), 2);

    core.undo(2);
    EXPECT_EQ(core.ListCount(), 5);
    EXPECT_EQ(core.GetItem(3, 2), "r3c2");
    EXPECT_EQ(core.GetItem(4, 2), "r4c2");
}
