// Behaviour chosen on purpose where the plain reading of the grid's rules would lose rows,
// history or the ability to draw.

#include "gridfixture.h"

#include <functional>
#include <stdexcept>

using grid::GridCell;

// The windows' delete-row command passes iSelected, which is 0 before any selection or may
// name a row that is gone: that must not delete a real row.
TEST_F(GridTest, RemoveItemOutsideTheRowsRemovesNothingAndRecordsNothing)
{
    fillColumn1({"A", "B", "C"});
    for (int index : {0, -1, 4, 100}) {
        grid.RemoveItem(index);
        EXPECT_EQ(column(1), (QStringList{"A", "B", "C"})) << index;
        EXPECT_TRUE(grid.UndoStack().isEmpty()) << index;
        EXPECT_TRUE(view.calls.isEmpty()) << index;
    }
}

// Undoing an added row while it is the only row refills it with an empty row; that must
// take off exactly the records it pushed, not the older step below them.
TEST_F(GridTest, UndoThatRemovesTheOnlyRowKeepsTheOlderSteps)
{
    grid.ChangeItem(1, 1, QStringLiteral("first"));
    grid.AddRow(QStringLiteral("a"), 1);
    grid.resetRows(1); // the row count changed without history, as a direct writer may do
    ASSERT_EQ(undoLines(), (QStringList{"#ADDITM#1", "#SETTXT#1|1|"}));

    EXPECT_TRUE(grid.undo());
    EXPECT_EQ(grid.ListCount(), 1);
    EXPECT_EQ(undoLines(), QStringList{"#SETTXT#1|1|"});
    EXPECT_TRUE(grid.RedoStack().isEmpty());
    EXPECT_FALSE(grid.UndoReplaying());
    EXPECT_FALSE(grid.RedoReplaying());

    grid.setCellText(1, 1, QStringLiteral("now"));
    EXPECT_TRUE(grid.undo());
    EXPECT_EQ(grid.GetItem(1, 1), QString());
    EXPECT_EQ(redoLines(), QStringList{"#SETTXT#1|1|now"});
}

TEST_F(GridTest, RedoThatRemovesTheOnlyRowKeepsTheOtherSteps)
{
    grid.SetBold(1, 1, true);
    grid.AddRow(QStringLiteral("x"));
    grid.undo();
    ASSERT_EQ(redoLines(), QStringList{"#REMITM#2||#|1|x|000|0"});
    grid.resetRows(2);
    grid.RemoveItem(1); // recorded: the redo stack is emptied, so build it again
    grid.undo();
    ASSERT_EQ(redoLines().first(), QStringLiteral("#ADDITM#1"));
    grid.resetRows(1);
    const QStringList undoBefore = undoLines();

    EXPECT_TRUE(grid.redo());
    EXPECT_EQ(grid.ListCount(), 1);
    EXPECT_EQ(undoLines(), undoBefore);
    EXPECT_TRUE(grid.RedoStack().isEmpty());
}

// A redo step that fails must not leave the grid unable to draw.
TEST_F(GridTest, AFailingRedoStepResetsTheReplayState)
{
    grid.AddRow();
    grid.AddColumn(0, 30, QString());
    grid.undo(2);
    view.failOn = QStringLiteral("fit");
    EXPECT_THROW(grid.redo(2), std::runtime_error);
    EXPECT_FALSE(grid.DoNotRender());
    EXPECT_FALSE(grid.RedoReplaying());
    EXPECT_FALSE(grid.UndoReplaying());
    EXPECT_FALSE(grid.ColumnHistoryOff());

    view.failOn.clear();
    view.calls.clear();
    grid.ChangeItem(1, 1, QStringLiteral("drawn"));
    EXPECT_EQ(view.renders(), QStringList{"render 1"});
}

TEST_F(GridTest, AFailingUndoStepIsSkippedAndTheNextStepRuns)
{
    grid.ChangeItem(1, 1, QStringLiteral("a"));
    grid.AddColumn(0, 30, QString());
    view.failOn = QStringLiteral("columns 2");
    EXPECT_TRUE(grid.undo(2));
    EXPECT_EQ(grid.GetItem(1, 1), QString());
    EXPECT_FALSE(grid.DoNotRender());
    EXPECT_FALSE(grid.ColumnHistoryOff());
}

// Texts holding the record separators come back whole through undo and redo.
struct SeparatorCase {
    const char* name;
    std::function<void(grid::GridCore&, const QString&)> change;
    std::function<QString(const grid::GridCore&)> read;
};
void PrintTo(const SeparatorCase& c, std::ostream* os) { *os << c.name; }

class SeparatorTexts : public GridTest, public ::testing::WithParamInterface<SeparatorCase> {};

TEST_P(SeparatorTexts, SurviveUndoAndRedo)
{
    const SeparatorCase& c = GetParam();
    const QString text = QStringLiteral("a|b||#|c|#|d|");
    grid.AddColumn(0, 40, QString());
    grid.AddMoreThanOneRow(2);
    grid.setCell(2, 2, GridCell{QStringLiteral("x"), true, false, false, 3});
    grid.ChangeItem(2, 1, text);
    grid.SetColumnHeader(1, text);
    grid.ClearUndoRedo();

    c.change(grid, text);
    ASSERT_NE(c.read(grid), text);
    grid.undo();
    EXPECT_EQ(c.read(grid), text);
    grid.redo();
    EXPECT_NE(c.read(grid), text);
    grid.undo();
    EXPECT_EQ(c.read(grid), text);
}

INSTANTIATE_TEST_SUITE_P(
    Records, SeparatorTexts,
    ::testing::Values(
        SeparatorCase{"ChangedText", [](auto& g, auto&) { g.ChangeItem(2, 1, QStringLiteral("new")); },
                      [](auto& g) { return g.GetItem(2, 1); }},
        SeparatorCase{"RemovedRow", [](auto& g, auto&) { g.RemoveItem(2); }, [](auto& g) { return g.GetItem(2, 1); }},
        SeparatorCase{"Clear", [](auto& g, auto&) { g.Clear(); }, [](auto& g) { return g.GetItem(2, 1); }},
        SeparatorCase{"RemovedColumn", [](auto& g, auto&) { g.RemoveColumn(1); },
                      [](auto& g) { return g.GetColumnHeader(1) == g.GetItem(2, 1) ? g.GetItem(2, 1) : QString("differ"); }},
        SeparatorCase{"Caption", [](auto& g, auto&) { g.SetColumnHeader(1, QStringLiteral("c")); },
                      [](auto& g) { return g.GetColumnHeader(1); }},
        SeparatorCase{"AddedColumn", [](auto& g, auto&) { g.AddColumn(1, 20, QString()); },
                      [](auto& g) { return g.GetColumnHeader(1); }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(GridTest, TheTextFormKeepsTheRecordLayout)
{
    grid.AddColumn(0, 40, QString());
    grid.AddRow();
    grid.AddRow();
    grid.setCell(3, 1, GridCell{QStringLiteral("ab"), true, false, false, 255});
    grid.ClearUndoRedo();
    grid.RemoveItem(3);
    EXPECT_EQ(undoLines(), QStringList{"#REMITM#3||#|1|ab|100|255|#|2||000|0"});
}

// Undoing appended rows never takes the grid below one row.
TEST_F(GridTest, UndoOfAddedRowsLeavesAtLeastOneRow)
{
    grid.AddMoreThanOneRow(3);
    grid.resetRows(2); // fewer rows than the step added, as a direct writer may leave it
    EXPECT_TRUE(grid.undo());
    EXPECT_EQ(grid.ListCount(), 1);
    EXPECT_EQ(redoLines(), QStringList{"#REMMT1#1"});
    grid.redo();
    EXPECT_EQ(grid.ListCount(), 2);
}

// A removed row whose place is gone (fewer rows than when it was removed) comes back as the
// last row with its cells, not as an empty row with its cells dropped.
TEST_F(GridTest, UndoOfARowRemovalPastTheEndRestoresItsCellsInTheAppendedRow)
{
    fillColumn1({"A", "B", "C"});
    grid.SetBold(3, 1, true);
    grid.ClearUndoRedo();
    grid.RemoveItem(3);
    grid.resetRows(1); // fewer rows than the step left, as a direct writer may leave it
    EXPECT_TRUE(grid.undo());
    EXPECT_EQ(grid.ListCount(), 2);
    EXPECT_EQ(grid.cell(2, 1), (GridCell{QStringLiteral("C"), true, false, false, 0}));
    EXPECT_EQ(redoLines(), QStringList{"#ADDITM#2"});
}
