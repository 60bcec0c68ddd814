#include "gridfixture.h"

#include <functional>

using grid::GridCell;

namespace {

// Everything a change and its undo can touch.
struct Snapshot {
    int rows = 0;
    QStringList columns;
    QList<GridCell> cells;
    bool operator==(const Snapshot&) const = default;
};

Snapshot snapshot(const grid::GridCore& g)
{
    Snapshot s;
    s.rows = g.ListCount();
    for (int c = 1; c <= g.ColumnCount(); ++c)
        s.columns += QStringLiteral("%1/%2/%3").arg(g.GetColumnHeader(c)).arg(g.GetWidthColumn(c)).arg(g.isEditEnabled(c));
    for (int r = 0; r <= g.ListCount(); ++r)
        for (int c = 0; c <= 32; ++c)
            s.cells += g.cell(r, c);
    return s;
}

std::ostream& operator<<(std::ostream& os, const Snapshot& s)
{
    return os << s.rows << " rows, columns " << s.columns.join(',').toStdString();
}

struct RoundTrip {
    const char* name;
    std::function<void(grid::GridCore&)> change;
    QString undoTag; // pushed by the change
    QString redoTag; // left by its undo
};
void PrintTo(const RoundTrip& t, std::ostream* os) { *os << t.name; }

} // namespace

class EveryTag : public GridTest, public ::testing::WithParamInterface<RoundTrip> {
protected:
    void SetUp() override
    {
        grid.SetColumnHeader(1, QStringLiteral("one"));
        grid.AddColumn(0, 40, QStringLiteral("two|2"));
        grid.AddColumn(0, 60, QStringLiteral("three"));
        grid.AddMoreThanOneRow(3);
        grid.setCell(1, 1, GridCell{QStringLiteral("a|b"), true, false, true, 255});
        grid.setCell(2, 2, GridCell{QStringLiteral("||#|x"), false, true, false, 0x8000000F});
        grid.setCell(3, 3, GridCell{QStringLiteral("|#|"), true, true, true, 1});
        grid.setCell(4, 1, GridCell{QStringLiteral("last"), false, false, false, 0});
        grid.ClearUndoRedo();
    }
};

TEST_P(EveryTag, UndoPutsTheGridBackAndRedoMakesTheChangeAgain)
{
    const RoundTrip& t = GetParam();
    const Snapshot before = snapshot(grid);
    t.change(grid);
    const Snapshot after = snapshot(grid);
    ASSERT_NE(before, after);
    ASSERT_EQ(grid.UndoStack().stepCount(), 1);
    EXPECT_EQ(grid.UndoStack().top()->tag(), t.undoTag);

    EXPECT_TRUE(grid.undo());
    EXPECT_EQ(snapshot(grid), before);
    EXPECT_TRUE(grid.UndoStack().isEmpty());
    ASSERT_EQ(grid.RedoStack().stepCount(), 1);
    EXPECT_EQ(grid.RedoStack().top()->tag(), t.redoTag);

    EXPECT_TRUE(grid.redo());
    EXPECT_EQ(snapshot(grid), after);
    EXPECT_TRUE(grid.RedoStack().isEmpty());
    ASSERT_EQ(grid.UndoStack().stepCount(), 1);

    EXPECT_TRUE(grid.undo());
    EXPECT_EQ(snapshot(grid), before);
    EXPECT_FALSE(grid.DoNotRender());
    EXPECT_FALSE(grid.UndoReplaying());
    EXPECT_FALSE(grid.RedoReplaying());
    EXPECT_FALSE(grid.ColumnHistoryOff());
}

INSTANTIATE_TEST_SUITE_P(
    Tags, EveryTag,
    ::testing::Values(
        RoundTrip{"InsertRow", [](auto& g) { g.AddRow(QStringLiteral("new"), 2); }, "#ADDITM#", "#REMITM#"},
        RoundTrip{"AppendRow", [](auto& g) { g.AddRow(QStringLiteral("new")); }, "#ADDITM#", "#REMITM#"},
        RoundTrip{"RemoveRow", [](auto& g) { g.RemoveItem(2); }, "#REMITM#", "#ADDITM#"},
        RoundTrip{"RemoveFirstRow", [](auto& g) { g.RemoveItem(1); }, "#REMITM#", "#ADDITM#"},
        RoundTrip{"Bold", [](auto& g) { g.SetBold(2, 2, true); }, "#SETBLD#", "#SETBLD#"},
        RoundTrip{"Italic", [](auto& g) { g.SetItallic(1, 1, true); }, "#SETITA#", "#SETITA#"},
        RoundTrip{"Underline", [](auto& g) { g.SetUnderlined(4, 3, true); }, "#SETUND#", "#SETUND#"},
        RoundTrip{"Colour", [](auto& g) { g.SetColor(3, 3, 0x80000012); }, "#SETCLR#", "#SETCLR#"},
        RoundTrip{"Text", [](auto& g) { g.ChangeItem(1, 1, QStringLiteral("c|d")); }, "#SETTXT#", "#SETTXT#"},
        RoundTrip{"AddRows", [](auto& g) { g.AddMoreThanOneRow(29); }, "#ADDMT1#", "#REMMT1#"},
        RoundTrip{"Clear", [](auto& g) { g.Clear(); }, "#CLEARs#", "#CLEAR_#"},
        RoundTrip{"AppendColumn", [](auto& g) { g.AddColumn(0, 33, QStringLiteral("x|y")); }, "#ADDCLM#", "#ADDCLM#"},
        RoundTrip{"InsertColumn", [](auto& g) { g.AddColumn(2, 33, QStringLiteral("ins")); }, "#ADDCLM#", "#ADDCLM#"},
        RoundTrip{"RemoveColumn", [](auto& g) { g.RemoveColumn(2); }, "#REMCLs#", "#REMCLM#"},
        RoundTrip{"RemoveFirstColumn", [](auto& g) { g.RemoveColumn(1); }, "#REMCLs#", "#REMCLM#"},
        RoundTrip{"Width", [](auto& g) { g.LetWidthColumn(3, 700); }, "#SETWDT#", "#SETWDT#"},
        RoundTrip{"Caption", [](auto& g) { g.SetColumnHeader(2, QStringLiteral("new|cap")); }, "#SETCLH#", "#SETCLH#"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(GridTest, NothingToUndoOrRedoChangesNothing)
{
    view.calls.clear();
    EXPECT_FALSE(grid.undo());
    EXPECT_FALSE(grid.redo());
    EXPECT_FALSE(grid.DoNotRender());
    EXPECT_FALSE(grid.UndoReplaying());
    EXPECT_FALSE(grid.RedoReplaying());
    EXPECT_TRUE(view.calls.isEmpty());
}

TEST_F(GridTest, ANewChangeEmptiesTheRedoStackButARedoStepDoesNot)
{
    grid.ChangeItem(1, 1, QStringLiteral("a"));
    grid.SetBold(1, 1, true);
    grid.AddRow();
    grid.undo(3);
    ASSERT_EQ(grid.RedoStack().stepCount(), 3);
    grid.redo();
    EXPECT_EQ(grid.RedoStack().stepCount(), 2);
    grid.redo();
    EXPECT_EQ(grid.RedoStack().stepCount(), 1);
    grid.SetColor(1, 1, 5);
    EXPECT_TRUE(grid.RedoStack().isEmpty());
}

TEST_F(GridTest, ReplayFlagsHoldForTheWholeReplayAndDrawingWaitsForItsEnd)
{
    grid.AddColumn(0, 40, QStringLiteral("b"));
    grid.AddRow();
    QStringList seen;
    view.onCall = [&](const QString& call) {
        seen += QStringLiteral("%1 u%2 r%3 c%4 d%5")
                    .arg(call)
                    .arg(grid.UndoReplaying())
                    .arg(grid.RedoReplaying())
                    .arg(grid.ColumnHistoryOff())
                    .arg(grid.DoNotRender());
    };
    grid.undo(2);
    EXPECT_TRUE(seen.contains("fit u1 r0 c0 d1")) << seen.join('\n').toStdString();
    EXPECT_TRUE(seen.contains("columns 2 u1 r0 c1 d1")) << seen.join('\n').toStdString();
    EXPECT_EQ(seen.filter("render"), QStringList{"render -1 u0 r0 c0 d0"});
    EXPECT_EQ(seen.last(), "scrollers u0 r0 c0 d0");

    seen.clear();
    grid.redo(2);
    EXPECT_TRUE(seen.contains("columns 2 u0 r1 c0 d1")) << seen.join('\n').toStdString();
    EXPECT_TRUE(seen.contains("fit u0 r1 c0 d1")) << seen.join('\n').toStdString();
    EXPECT_EQ(seen.filter("render"), QStringList{"render -1 u0 r0 c0 d0"});
}

TEST_F(GridTest, StepCountIsBoundedAndAGroupIsOneStep)
{
    grid.ChangeItem(1, 1, QStringLiteral("a"));
    grid.ChangeItem(1, 1, QStringLiteral("b"));
    grid.ChangeItem(1, 1, QStringLiteral("c"));
    int used = -1;
    EXPECT_TRUE(grid.undo(0, &used));
    EXPECT_EQ(used, 1);
    EXPECT_EQ(grid.GetItem(1, 1), QStringLiteral("b"));
    grid.redo();
    EXPECT_TRUE(grid.undo(100, &used));
    EXPECT_EQ(used, 3);
    EXPECT_EQ(grid.GetItem(1, 1), QString());
    EXPECT_TRUE(grid.UndoStack().isEmpty());

    grid.ClearUndoRedo();
    grid.AddMoreThanOneRow(4);
    grid.ClearUndoRedo();
    grid.SetBold(1, 1, true);
    grid.Clear();
    ASSERT_EQ(grid.UndoStack().recordCount(), 8);
    EXPECT_TRUE(grid.undo(2, &used));
    EXPECT_EQ(used, 2);
    EXPECT_TRUE(grid.UndoStack().isEmpty());
    EXPECT_EQ(redoLines(), (QStringList{"#SETBLD#1|1|-1", "#CLEAR_#"}));
    EXPECT_EQ(grid.ListCount(), 5);
}

TEST_F(GridTest, UndoOfAClearRestoresTheRowsAsOneStep)
{
    grid.AddMoreThanOneRow(4);
    for (int r = 1; r <= 5; ++r)
        grid.ChangeItem(r, 1, QString::number(r));
    grid.ClearUndoRedo();
    grid.Clear();
    ASSERT_EQ(grid.UndoStack().recordCount(), 7);
    grid.undo();
    EXPECT_EQ(column(1), (QStringList{"1", "2", "3", "4", "5"}));
    EXPECT_TRUE(grid.UndoStack().isEmpty());
    EXPECT_EQ(redoLines(), QStringList{"#CLEAR_#"});
}

TEST_F(GridTest, UndoOfAColumnRemovalRestoresOnlyTheFormattingOfCellsWithText)
{
    grid.AddColumn(0, 40, QStringLiteral("B"));
    grid.AddColumn(0, 60, QStringLiteral("C"));
    grid.AddMoreThanOneRow(2);
    grid.setCell(1, 2, GridCell{QStringLiteral("x"), true, true, false, 9});
    grid.setCell(2, 2, GridCell{QString(), true, false, false, 7});
    grid.ClearUndoRedo();
    grid.RemoveColumn(2);
    grid.undo();
    EXPECT_EQ(grid.GetColumnHeader(2), QStringLiteral("B"));
    EXPECT_EQ(grid.GetWidthColumn(2), 40);
    EXPECT_EQ(grid.cell(1, 2), (GridCell{QStringLiteral("x"), true, true, false, 9}));
    EXPECT_TRUE(grid.cell(2, 2).isEmpty());
    EXPECT_EQ(redoLines(), QStringList{"#REMCLM#2"});
}

TEST_F(GridTest, UndoOfAnAddedColumnKeepsItsCaptionAndWidthForRedo)
{
    grid.AddColumn(0, 44, QStringLiteral("cap"));
    grid.undo();
    EXPECT_EQ(grid.ColumnCount(), 1);
    EXPECT_EQ(redoLines(), QStringList{"#ADDCLM#2|cap|44"});
    EXPECT_TRUE(grid.UndoStack().isEmpty());
    grid.redo();
    EXPECT_EQ(grid.GetColumnHeader(2), QStringLiteral("cap"));
    EXPECT_EQ(grid.GetWidthColumn(2), 44);
    EXPECT_EQ(undoLines(), QStringList{"#ADDCLM#2"});
}

TEST_F(GridTest, UndoOfManyAddedRowsTakesThemOffTheEnd)
{
    grid.ChangeItem(1, 1, QStringLiteral("keep"));
    grid.AddMoreThanOneRow(29);
    grid.undo();
    EXPECT_EQ(grid.ListCount(), 1);
    EXPECT_EQ(grid.GetItem(1, 1), QStringLiteral("keep"));
    EXPECT_EQ(redoLines(), QStringList{"#REMMT1#29"});
}

TEST_F(GridTest, AnUndoThatRemovesARowKeepsItsFlagsForTheNextStep)
{
    grid.SetBold(1, 1, true);
    grid.AddRow(QStringLiteral("x"));
    grid.undo(2);
    EXPECT_EQ(grid.ListCount(), 1);
    EXPECT_FALSE(grid.cell(1, 1).Bold);
    EXPECT_EQ(redoLines(), (QStringList{"#SETBLD#1|1|0", "#REMITM#2||#|1|x|000|0"}));
    EXPECT_TRUE(grid.UndoStack().isEmpty());
}

TEST_F(GridTest, ATextRecordForARowThatIsGoneChangesNothing)
{
    grid.AddRow();
    grid.ChangeItem(2, 1, QStringLiteral("x"));
    grid.resetRows(1);
    grid.setCellText(1, 1, QStringLiteral("stay"));
    EXPECT_TRUE(grid.undo());
    EXPECT_EQ(grid.ListCount(), 1);
    EXPECT_EQ(grid.GetItem(1, 1), QStringLiteral("stay"));
}

TEST_F(GridTest, TheEditorsTextRecordIgnoresTheReplayFlags)
{
    grid.ChangeItem(1, 1, QStringLiteral("typed"));
    grid.undo();
    ASSERT_FALSE(grid.RedoStack().isEmpty());
    grid.recordTextEdit(1, 1, QStringLiteral("before"));
    EXPECT_EQ(undoLines(), QStringList{"#SETTXT#1|1|before"});
    EXPECT_TRUE(grid.RedoStack().isEmpty());
}
