// Selecting a row, the edit cycle of a cell, the key table, edge moves, the active column and
// the hand-offs to the windows, against a recording host.

#include "selectionfixture.h"

#include "grid/history/historystack.h"

#include <QDialog>
#include <QRegularExpression>

using grid::GridHost;

// ---------------------------------------------------------------- selecting a row

TEST_F(SelectionFixture, SelectItemOpensTheRowUnderItsEditorsWithTheColumnFocused)
{
    sel.SelectItem(2, 1, 2);
    EXPECT_EQ(core.iSelected(), 2);
    EXPECT_EQ(core.EditColumn(), 2);
    EXPECT_EQ(focused(), 2);
    EXPECT_EQ(ed(2)->textBox()->selectedText(), "r2c2");
    for (int k = 1; k <= 3; ++k) {
        EXPECT_TRUE(ed(k)->isVisible());
        EXPECT_EQ(ed(k)->Text(), QStringLiteral("r2c%1").arg(k));
    }
    // Row 2's top is 20 + 16, the editor one pixel lower; column 2 starts at 101 in the
    // column area, which stands at 30.
    EXPECT_EQ(ed(2)->geometry(), QRect(131, 37, 60, 15));
    EXPECT_TRUE(widget.markerShown);
    EXPECT_EQ(widget.markerTop, 16);
    EXPECT_EQ(widget.markerRow, 2);
    const auto& colors = core.colors();
    EXPECT_EQ(ed(2)->BackColor(), colors.SelectedColor);
    EXPECT_EQ(ed(1)->BackColor(), colors.SelectedRowColor);
    EXPECT_EQ(widget.columnBodyColor(2), colors.SelectedRowColor);
    EXPECT_EQ(widget.columnBodyColor(1), grid::GridColors::BackColor);
    EXPECT_TRUE(core.UndoStack().isEmpty()) << "loading the editors records nothing";
}

TEST_F(SelectionFixture, SelectItemBeyondTheRowsClosesTheRowAndKeepsTheSelection)
{
    sel.SelectItem(2, 1, 1);
    sel.SelectItem(6, 1, 1);
    EXPECT_FALSE(editorsShown());
    EXPECT_FALSE(widget.markerShown);
    EXPECT_EQ(core.iSelected(), 2);
    EXPECT_EQ(widget.columnBodyColor(1), grid::GridColors::BackColor);
}

TEST_F(SelectionFixture, SelectItemWithAnotherButtonOnlyTakesTheFocusAway)
{
    sel.SelectItem(2, 1, 1);
    sel.SelectItem(4, 2, 1);
    EXPECT_EQ(focused(), 0);
    EXPECT_TRUE(widget.scrollBar->hasFocus());
    EXPECT_EQ(core.iSelected(), 2);
    EXPECT_TRUE(editorsShown());
}

// ---------------------------------------------------------------- the edit cycle

TEST_F(SelectionFixture, TypingWritesTheCellAndLeavingRecordsOneStepForTheVisit)
{
    editCell(2, 2, "xyz");
    EXPECT_EQ(core.GetItem(2, 2), "xyz");
    EXPECT_TRUE(core.UndoStack().isEmpty()) << "nothing is recorded while typing";

    sel.SelectItem(3, 1, 2);
    ASSERT_EQ(core.UndoStack().stepCount(), 1);
    EXPECT_EQ(core.UndoStack().top()->tag(), "#SETTXT#");
    core.undo();
    EXPECT_EQ(core.GetItem(2, 2), "r2c2");
}

TEST_F(SelectionFixture, LeavingWithoutAChangeRecordsNothingAndAChangeEmptiesRedo)
{
    core.ChangeItem(5, 1, "changed");
    core.undo();
    ASSERT_EQ(core.RedoStack().stepCount(), 1);

    sel.SelectItem(2, 1, 1);
    key(1, Qt::Key_End);
    QTest::keyClicks(box(1), "ab");
    QTest::keyClick(box(1), Qt::Key_Backspace);
    QTest::keyClick(box(1), Qt::Key_Backspace);
    sel.SelectItem(2, 1, 3); // typed and took back: the cell is as before
    EXPECT_TRUE(core.UndoStack().isEmpty());
    EXPECT_EQ(core.RedoStack().stepCount(), 1);

    QTest::keyClicks(box(3), "q");
    sel.SelectItem(2, 2, 0);
    EXPECT_EQ(core.UndoStack().stepCount(), 1);
    EXPECT_TRUE(core.RedoStack().isEmpty());
}

TEST_F(SelectionFixture, TheRecordKeepsATextHoldingBars)
{
    core.setCellText(2, 1, "a|b|c");
    editCell(2, 1, "new");
    sel.SelectItem(3, 1, 1);
    core.undo();
    EXPECT_EQ(core.GetItem(2, 1), "a|b|c");
}

// ---------------------------------------------------------------- the key table

TEST_F(SelectionFixture, DownOnTheLastRowAsksTheWindowForARowAndMovesIntoIt)
{
    host.activeList = GridHost::Items;
    RecordingWindow& items = host.open(GridHost::Items, &sel);
    sel.SelectItem(5, 1, 2);
    key(2, Qt::Key_Down);
    EXPECT_TRUE(items.calls.contains("DODARED"));
    EXPECT_EQ(core.ListCount(), 6);
    EXPECT_EQ(core.iSelected(), 6);
    EXPECT_EQ(focused(), 2);
    EXPECT_TRUE(keyEvents.isEmpty());
}

TEST_F(SelectionFixture, UpOnRowOneAndDownWhenTheWindowRefusesRaiseGridKeyDownAndStay)
{
    sel.SelectItem(1, 1, 2);
    key(2, Qt::Key_Up);
    EXPECT_EQ(keyEvents, QStringList{"38 0 1 2"});
    EXPECT_EQ(core.iSelected(), 1);

    host.activeList = GridHost::Contacts;
    host.open(GridHost::Contacts, &sel).rowLimit = 5;
    sel.SelectItem(5, 1, 3);
    keyEvents.clear();
    key(3, Qt::Key_Down);
    EXPECT_EQ(keyEvents, QStringList{"40 0 5 3"});
    EXPECT_EQ(core.ListCount(), 5);
    EXPECT_EQ(core.iSelected(), 5);
}

TEST_F(SelectionFixture, UpAndDownMoveTheSelectionInTheSameColumn)
{
    sel.SelectItem(3, 1, 3);
    key(3, Qt::Key_Up);
    EXPECT_EQ(core.iSelected(), 2);
    EXPECT_EQ(focused(), 3);
    key(3, Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(core.iSelected(), 3);
    EXPECT_EQ(ed(1)->Text(), "r3c1");
}

TEST_F(SelectionFixture, InsertAndDeleteKeysAddAndRemoveRowsAsTheTableSays)
{
    struct Case {
        const char* name;
        Qt::Key key;
        Qt::KeyboardModifiers mods;
        int rows;
        int selected;
        QStringList column1; // rows 1..rows, column 1
    };
    const Case cases[] = {
        {"Insert", Qt::Key_Insert, Qt::NoModifier, 6, 4, {"r1c1", "r2c1", "r3c1", "", "r4c1", "r5c1"}},
        {"Shift+Insert", Qt::Key_Insert, Qt::ShiftModifier, 6, 4, {"r1c1", "r2c1", "r3c1", "", "r4c1", "r5c1"}},
        {"Ctrl+Insert", Qt::Key_Insert, Qt::ControlModifier, 6, 3, {"r1c1", "r2c1", "", "r3c1", "r4c1", "r5c1"}},
        {"Ctrl+Delete", Qt::Key_Delete, Qt::ControlModifier, 4, 3, {"r1c1", "r2c1", "r4c1", "r5c1"}},
        // The keypad flag does not count as a modifier.
        {"Ctrl+keypad Insert", Qt::Key_Insert, Qt::ControlModifier | Qt::KeypadModifier, 6, 3,
         {"r1c1", "r2c1", "", "r3c1", "r4c1", "r5c1"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fill();
        keyEvents.clear();
        sel.SelectItem(3, 1, 2);
        key(2, c.key, c.mods);
        EXPECT_EQ(core.ListCount(), c.rows);
        EXPECT_EQ(core.iSelected(), c.selected);
        QStringList column1;
        for (int r = 1; r <= core.ListCount(); ++r)
            column1 += core.GetItem(r, 1);
        EXPECT_EQ(column1, c.column1);
        EXPECT_TRUE(keyEvents.filter(QRegularExpression("^4[56] ")).isEmpty()) << "the key is the grid's alone";
    }
}

TEST_F(SelectionFixture, InsertionsKeepTheFocusInTheColumnAndDeletionClosesTheRow)
{
    sel.SelectItem(3, 1, 2);
    key(2, Qt::Key_Insert, Qt::ControlModifier);
    EXPECT_EQ(focused(), 2);
    EXPECT_EQ(ed(2)->Text(), "");
    key(2, Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_FALSE(editorsShown());
    EXPECT_EQ(focused(), 0);
    EXPECT_TRUE(widget.scrollBar->hasFocus()) << "the focus stays in the grid";
}

TEST_F(SelectionFixture, OtherKeysRaiseGridKeyDownWithTheEditorsColumnAndStillType)
{
    sel.SelectItem(2, 1, 3);
    key(3, Qt::Key_Delete, Qt::ShiftModifier | Qt::ControlModifier);
    key(3, Qt::Key_X);
    // The modifier keys go down first and are keys like any other.
    EXPECT_EQ(keyEvents, (QStringList{"16 1 2 3", "17 3 2 3", "46 3 2 3", "88 0 2 3"}));
    EXPECT_EQ(core.GetItem(2, 3), "x");
}

// ---------------------------------------------------------------- edge moves

TEST_F(SelectionFixture, RightAndLeftAtTheTextEdgesMoveAcrossCellsAndRows)
{
    sel.SelectItem(2, 1, 1);
    key(1, Qt::Key_End);
    key(1, Qt::Key_Right);
    EXPECT_EQ(focused(), 2);
    EXPECT_EQ(core.EditColumn(), 2);
    EXPECT_EQ(ed(2)->BackColor(), core.colors().SelectedColor);
    EXPECT_EQ(ed(1)->BackColor(), core.colors().SelectedRowColor);

    sel.SelectItem(2, 1, 3);
    key(3, Qt::Key_End);
    key(3, Qt::Key_Right);
    EXPECT_EQ(core.iSelected(), 3);
    EXPECT_EQ(focused(), 1);
    EXPECT_EQ(core.EditColumn(), 1);

    key(1, Qt::Key_Home);
    key(1, Qt::Key_Left);
    EXPECT_EQ(core.iSelected(), 2);
    EXPECT_EQ(focused(), 3);
    EXPECT_EQ(core.EditColumn(), 3);
}

// Tab moves to the next cell that takes the keyboard, Shift+Tab to the one before, across
// the ends of the rows; from the grid's last cell (first, for Shift+Tab) nothing moves. Each
// move ends the visit of the cell left with its one record, and no key event goes out.
TEST_F(SelectionFixture, TabAndShiftTabMoveFromCellToCell)
{
    struct Case {
        const char* name;
        int row, column;
        Qt::KeyboardModifiers modifiers;
        int toRow, toColumn;
    };
    const Case cases[] = {
        {"Tab within the row", 2, 1, Qt::NoModifier, 2, 2},
        {"Tab from the last column", 2, 3, Qt::NoModifier, 3, 1},
        {"Tab from the grid's last cell", 5, 3, Qt::NoModifier, 5, 3},
        {"Shift+Tab within the row", 2, 3, Qt::ShiftModifier, 2, 2},
        {"Shift+Tab from the first column", 3, 1, Qt::ShiftModifier, 2, 3},
        {"Shift+Tab from the grid's first cell", 1, 1, Qt::ShiftModifier, 1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        sel.SelectItem(c.row, 1, c.column);
        core.ClearUndoRedo();
        QTest::keyClicks(box(c.column), "typed");
        keyEvents.clear();
        key(c.column, Qt::Key_Tab, c.modifiers);
        EXPECT_EQ(core.iSelected(), c.toRow);
        EXPECT_EQ(focused(), c.toColumn);
        EXPECT_EQ(core.EditColumn(), c.toColumn);
        EXPECT_EQ(core.GetItem(c.row, c.column), "typed");
        const bool moved = c.toRow != c.row || c.toColumn != c.column;
        EXPECT_EQ(core.UndoStack().recordCount(), moved ? 1 : 0);
        if (moved) {
            EXPECT_EQ(box(c.toColumn)->property("selectedText").toString(), core.GetItem(c.toRow, c.toColumn));
        }
        EXPECT_TRUE(keyEvents.filter(QRegularExpression("^9 ")).isEmpty()) << keyEvents.join(", ").toStdString();
        fill();
    }
}

TEST_F(SelectionFixture, TabPassesOverColumnsThatTakeNoTyping)
{
    core.DisableEdit(2);
    sel.SelectItem(1, 1, 1);
    key(1, Qt::Key_Tab);
    EXPECT_EQ(focused(), 3);
    key(3, Qt::Key_Tab, Qt::ShiftModifier);
    EXPECT_EQ(focused(), 1);
    core.DisableEdit(1);
    sel.SelectItem(1, 1, 3);
    key(3, Qt::Key_Tab);
    EXPECT_EQ(core.iSelected(), 2);
    EXPECT_EQ(focused(), 3);
}

TEST_F(SelectionFixture, NoEdgeMoveBeyondTheFirstAndLastCell)
{
    sel.SelectItem(1, 1, 1);
    key(1, Qt::Key_Home);
    key(1, Qt::Key_Left);
    EXPECT_EQ(core.iSelected(), 1);
    EXPECT_EQ(focused(), 1);

    sel.SelectItem(5, 1, 3);
    key(3, Qt::Key_End);
    key(3, Qt::Key_Right);
    EXPECT_EQ(core.iSelected(), 5);
    EXPECT_EQ(focused(), 3);
}

TEST_F(SelectionFixture, AnEdgeMoveBringsTheColumnIntoView)
{
    core.LetWidthColumn(3, 300); // column 3 from 162 to 462 in the column area
    sel.SelectItem(2, 1, 2);
    key(2, Qt::Key_End);
    key(2, Qt::Key_Right);
    // Room ends at 400 - 16; the column's right edge is brought there.
    EXPECT_EQ(widget.areaLeft, 384 - 162 - 300);
    EXPECT_EQ(focused(), 3);
    EXPECT_EQ(ed(3)->geometry().left(), widget.areaLeft + 162);

    key(3, Qt::Key_Home);
    key(3, Qt::Key_Left);
    key(2, Qt::Key_Home);
    key(2, Qt::Key_Left); // column 1 starts under the gutter now
    EXPECT_EQ(widget.areaLeft, 30);
}

// ---------------------------------------------------------------- bringing the row into view

TEST_F(SelectionFixture, AKeyBringsTheSelectedRowIntoView)
{
    widget.resize(400, 100); // 64 pixels of rows: four rows
    sel.SelectItem(5, 1, 1);
    key(1, Qt::Key_X);
    EXPECT_EQ(core.ScrollTop(), 64 - 80);
    EXPECT_EQ(ed(1)->geometry().top(), 20 + 64 - 16 + 1);
    EXPECT_EQ(focused(), 1);

    core.setScrollTop(-48);
    sel.SelectItem(2, 1, 1); // row 2 lies above the view
    key(1, Qt::Key_X);
    EXPECT_EQ(core.ScrollTop(), -16);
}

TEST_F(SelectionFixture, MovingTheEditorsFollowsTheScrollWithoutReloadingThem)
{
    sel.SelectItem(3, 1, 2);
    QTest::keyClicks(box(2), "typed");
    core.setScrollTop(-16);
    widget.areaLeft = 10;
    sel.moveEditors();
    EXPECT_EQ(ed(2)->geometry(), QRect(10 + 101, 20 + 32 - 16 + 1, 60, 15));
    EXPECT_EQ(widget.markerTop, 16);
    EXPECT_EQ(focused(), 2);
    EXPECT_EQ(ed(2)->Text(), "typed");
}

TEST_F(SelectionFixture, EditorsAreClippedToTheRowArea)
{
    core.setScrollTop(-24); // row 2's top 8 pixels above the row area
    core.LetWidthColumn(3, 300); // column 3 runs from 30 + 162 under the vertical strip at 384
    sel.SelectItem(2, 1, 1);
    EXPECT_EQ(ed(1)->geometry(), QRect(30, 13, 100, 15));
    EXPECT_EQ(ed(1)->mask(), QRegion(0, 7, 100, 8));
    EXPECT_EQ(ed(3)->mask(), QRegion(0, 7, 384 - 192, 8));

    // Scrolled sideways: column 1 (-120..-20) wholly under the gutter, column 2 (-19..41)
    // showing from the gutter's edge at 30.
    widget.areaLeft = -120;
    core.setScrollTop(0);
    sel.moveEditors();
    EXPECT_TRUE(ed(1)->mask().intersected(ed(1)->rect()).isEmpty());
    EXPECT_EQ(ed(2)->mask(), QRegion(49, 0, 11, 15));
    EXPECT_TRUE(ed(3)->mask().isEmpty()) << "wholly inside: no mask";
    EXPECT_EQ(focused(), 1) << "a clipped editor keeps the focus";
}

// ---------------------------------------------------------------- the transactions window

TEST_F(SelectionFixture, TransactionsItemColumnsShowTheGuidanceAndDoNothingElse)
{
    host.activeList = GridHost::Transactions;
    host.open(GridHost::Transactions, &sel);
    for (int column = 1; column <= 3; ++column) {
        sel.SelectItem(5, 1, column);
        prompts->queueAnswer(platform::Answer::OK);
        key(column, Qt::Key_A);
        ASSERT_EQ(prompts->recorded().size(), column);
        EXPECT_EQ(prompts->recorded().last().text, grid::GridSelection::TransactionColumnsMessage);
        EXPECT_EQ(prompts->recorded().last().style, platform::MsgStyle::Information);
        EXPECT_EQ(core.GetItem(5, column), QStringLiteral("r5c%1").arg(column));
    }
    prompts->queueAnswer(platform::Answer::OK);
    key(3, Qt::Key_Period); // a key without a classic code is not typed either
    EXPECT_EQ(core.GetItem(5, 3), "r5c3");
    EXPECT_TRUE(keyEvents.isEmpty());

    prompts->queueAnswer(platform::Answer::OK);
    key(3, Qt::Key_Down); // the row is added first, then the guidance
    EXPECT_EQ(core.ListCount(), 6);
    EXPECT_EQ(core.iSelected(), 5);
}

// ---------------------------------------------------------------- Enter and the hand-offs

TEST_F(SelectionFixture, EnterHandsTheItemOrContactOverToTheOpenTransaction)
{
    RecordingWindow& transactions = host.open(GridHost::Transactions);
    RecordingWindow& items = host.open(GridHost::Items, &sel);
    RecordingWindow& contacts = host.open(GridHost::Contacts, &sel);

    host.activeList = GridHost::Items;
    sel.SelectItem(2, 1, 2);
    key(2, Qt::Key_Return);
    EXPECT_TRUE(items.calls.contains("TransfersItem"));
    EXPECT_EQ(keyEvents, QStringList{"13 0 2 2"});
    EXPECT_FALSE(contacts.calls.contains("showTransferItems"));

    host.activeList = GridHost::Contacts;
    key(2, Qt::Key_Enter); // the keypad's Enter as well
    EXPECT_EQ(contacts.contactFrom, "r2c1");
    EXPECT_EQ(contacts.contactTo, "r2c1");
    EXPECT_TRUE(contacts.calls.contains("showTransferItems"));

    // An empty name shows no transfer frame.
    contacts.calls.clear();
    core.setCellText(3, 1, QString());
    sel.SelectItem(3, 1, 2);
    key(2, Qt::Key_Return);
    EXPECT_TRUE(contacts.calls.contains("SelectedContacts "));
    EXPECT_FALSE(contacts.calls.contains("showTransferItems"));

    // The transactions window hidden, or ActiveList naming it: nothing is handed over.
    items.calls.clear();
    contacts.calls.clear();
    transactions.visible = false;
    host.activeList = GridHost::Items;
    key(2, Qt::Key_Return);
    host.activeList = GridHost::Contacts;
    key(2, Qt::Key_Return);
    transactions.visible = true;
    host.activeList = GridHost::Transactions;
    sel.SelectItem(2, 1, 0);
    sel.gridKeyPressed(13, 0);
    EXPECT_FALSE(items.calls.contains("TransfersItem"));
    EXPECT_TRUE(contacts.calls.isEmpty());
}

TEST_F(SelectionFixture, EnterOnTheGridItselfRaisesGridKeyDownOnlyWithASelection)
{
    sel.gridKeyPressed(13, 0);
    sel.gridKeyPressed(65, 0);
    EXPECT_TRUE(keyEvents.isEmpty());
    sel.SelectItem(4, 1, 3);
    sel.SelectItem(4, 2); // the focus goes to the grid
    sel.gridKeyPressed(13, 1);
    sel.gridKeyPressed(40, 0);
    EXPECT_EQ(keyEvents, QStringList{"13 1 4 3"});
}

// ---------------------------------------------------------------- the active column

// The active column goes to the window that holds the grid, whichever ActiveList names; a
// grid no document window holds writes nowhere.
TEST_F(SelectionFixture, COLUMNUMBERWritesOnlyIntoTheGridsOwnWindow)
{
    core.setEditColumn(2);
    RecordingWindow& contacts = host.open(GridHost::Contacts);
    host.activeList = GridHost::Contacts;
    sel.COLUMNUMBER();
    EXPECT_TRUE(contacts.calls.isEmpty());

    RecordingWindow& items = host.open(GridHost::Items, &sel);
    for (const QString& active : {QString(), QStringLiteral("frmPayments"), GridHost::Contacts, GridHost::Items}) {
        host.activeList = active;
        sel.COLUMNUMBER();
    }
    EXPECT_EQ(items.calls, QStringList(4, "ActiveColumn 2"));
    EXPECT_TRUE(contacts.calls.isEmpty());
}

TEST_F(SelectionFixture, EnteringACellShowsItInTheWindowsBars)
{
    RecordingWindow& items = host.open(GridHost::Items, &sel);
    host.activeList = GridHost::Items;
    core.SetBold(3, 2, true);
    core.SetColor(3, 2, 0xFF);
    core.ClearUndoRedo();
    sel.SelectItem(3, 1, 2);
    EXPECT_EQ(items.calls, (QStringList{"ActiveColumn 2", "showCell r3c2 100 255"}));
}

// A cell taking the focus while ActiveList still names another window (a window shown again
// lays out its grid before it is activated) shows in its own window's bars only.
TEST_F(SelectionFixture, EnteringACellShowsItInItsOwnWindowOnly)
{
    RecordingWindow& contacts = host.open(GridHost::Contacts);
    contacts.textBar = QStringLiteral("Green Hills");
    for (const QString& other : {QString(), QStringLiteral("frmPayments"), GridHost::Contacts}) {
        host.activeList = other;
        sel.SelectItem(2, 1, 1);
        sel.SelectItem(3, 1, 2);
        EXPECT_EQ(ed(2)->textBox()->selectedText(), "r3c2");
    }
    EXPECT_TRUE(contacts.calls.isEmpty());
    EXPECT_EQ(contacts.textBar, QStringLiteral("Green Hills"));

    RecordingWindow& items = host.open(GridHost::Items, &sel);
    sel.SelectItem(2, 1, 1);
    sel.SelectItem(3, 1, 2);
    EXPECT_EQ(items.textBar, QStringLiteral("r3c2"));
    EXPECT_TRUE(contacts.calls.isEmpty());
}

// ---------------------------------------------------------------- focus leaving the grid

TEST_F(SelectionFixture, FocusLeavingTheGridClosesTheRowButAMessageBoxDoesNot)
{
    QWidget window;
    auto* outside = new QWidget(&window);
    outside->setFocusPolicy(Qt::StrongFocus);
    window.show();

    sel.SelectItem(2, 1, 1);
    QTest::keyClicks(box(1), "typed");
    QDialog dialog(&widget);
    dialog.setModal(true);
    dialog.show();
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    EXPECT_TRUE(editorsShown());
    dialog.close();
    widget.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&widget));
    EXPECT_EQ(focused(), 1);
    EXPECT_TRUE(core.UndoStack().isEmpty()) << "the visit goes on";

    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    outside->setFocus();
    EXPECT_FALSE(editorsShown());
    EXPECT_EQ(core.iSelected(), 2);
}

// A window that selects a row before it is shown or activated: the editor counts as
// focused at once, and the visit is recorded as any other.
TEST_F(SelectionFixture, AFocusGivenWhileTheWindowIsInactiveOpensTheVisitAtOnce)
{
    QWidget other;
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    sel.SelectItem(2, 1, 3);
    EXPECT_EQ(core.EditColumn(), 3);
    ASSERT_TRUE(sel.visit().has_value());
    EXPECT_EQ(sel.visit()->row, 2);

    widget.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&widget));
    EXPECT_EQ(focused(), 3);
    QTest::keyClicks(box(3), "new");
    sel.SelectItem(4, 1, 3);
    ASSERT_EQ(core.UndoStack().stepCount(), 1);
    core.undo();
    EXPECT_EQ(core.GetItem(2, 3), "r2c3");
}
