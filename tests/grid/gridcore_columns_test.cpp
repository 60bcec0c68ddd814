#include "gridfixture.h"

using grid::GridCell;

namespace {
QStringList captions(const grid::GridCore& g)
{
    QStringList out;
    for (int c = 1; c <= g.ColumnCount(); ++c)
        out += g.GetColumnHeader(c);
    return out;
}
QList<int> widths(const grid::GridCore& g)
{
    QList<int> out;
    for (int c = 1; c <= g.ColumnCount(); ++c)
        out += g.GetWidthColumn(c);
    return out;
}
} // namespace

TEST_F(GridTest, AppendingAColumnLaysItOutAfterTheOthers)
{
    grid.AddColumn(0, 50, QStringLiteral("b"));
    EXPECT_EQ(grid.ColumnCount(), 2);
    EXPECT_EQ(grid.columnLeft(1), 0);
    EXPECT_EQ(grid.columnLeft(2), 101);
    EXPECT_EQ(widths(grid), (QList<int>{100, 50}));
    EXPECT_EQ(grid.columnAreaWidth(), 152);
    EXPECT_EQ(undoLines(), QStringList{"#ADDCLM#2"});
    EXPECT_TRUE(view.saw("columns 2"));
    EXPECT_TRUE(view.saw("render 2"));
    EXPECT_TRUE(grid.isEditEnabled(2));
}

struct WidthCase {
    int requested;
    int added; // width AddColumn gives
    int let;   // width LetWidthColumn gives
};
void PrintTo(const WidthCase& c, std::ostream* os) { *os << "width " << c.requested; }

class ColumnWidthLimits : public GridTest, public ::testing::WithParamInterface<WidthCase> {};

TEST_P(ColumnWidthLimits, AddRaisesToFiveAndLetLowersTo510)
{
    const WidthCase& c = GetParam();
    grid.AddColumn(0, c.requested, QString());
    EXPECT_EQ(grid.GetWidthColumn(2), c.added);
    grid.ClearUndoRedo();
    grid.LetWidthColumn(1, c.requested);
    EXPECT_EQ(grid.GetWidthColumn(1), c.let);
    if (c.requested >= 0)
        EXPECT_EQ(undoLines(), QStringList{"#SETWDT#1|100"});
    else
        EXPECT_TRUE(grid.UndoStack().isEmpty()) << "a negative width is refused";
}

INSTANTIATE_TEST_SUITE_P(Widths, ColumnWidthLimits,
                         ::testing::Values(WidthCase{2, 5, 2}, WidthCase{5, 5, 5}, WidthCase{0, 5, 0},
                                           WidthCase{-3, 5, 100}, WidthCase{510, 510, 510},
                                           WidthCase{511, 511, 510}, WidthCase{600, 600, 510},
                                           WidthCase{700, 700, 510}));

TEST_F(GridTest, LetWidthColumnRecordsEvenAnUnchangedWidthAndIgnoresOtherColumns)
{
    grid.LetWidthColumn(1, 100);
    EXPECT_EQ(undoLines(), QStringList{"#SETWDT#1|100"});
    grid.LetWidthColumn(0, 50);
    grid.LetWidthColumn(2, 50);
    EXPECT_EQ(grid.UndoStack().stepCount(), 1);
}

TEST_F(GridTest, ThirtyTwoColumnsAtMost)
{
    for (int c = 2; c <= 31; ++c)
        grid.AddColumn(0, 10, QString());
    ASSERT_EQ(grid.ColumnCount(), 31);
    grid.AddColumn(32, 10, QStringLiteral("last"));
    EXPECT_EQ(grid.ColumnCount(), 32);
    EXPECT_EQ(grid.GetColumnHeader(32), QStringLiteral("last"));
    grid.ClearUndoRedo();
    grid.AddColumn(0, 10, QString());
    grid.AddColumn(33, 10, QString());
    grid.AddColumn(1, 10, QString());
    EXPECT_EQ(grid.ColumnCount(), 32);
    EXPECT_TRUE(grid.UndoStack().isEmpty());
}

TEST_F(GridTest, InsertingAColumnMovesTheOthersRight)
{
    grid.SetColumnHeader(1, QStringLiteral("A"));
    grid.AddColumn(0, 40, QStringLiteral("B"));
    grid.AddColumn(0, 60, QStringLiteral("C"));
    grid.AddMoreThanOneRow(1);
    grid.DisableEdit(3);
    grid.setCell(2, 2, GridCell{QStringLiteral("b"), true, false, true, 7});
    grid.setCell(2, 3, GridCell{QStringLiteral("c"), false, true, false, 9});
    grid.ClearUndoRedo();

    grid.AddColumn(2, 30, QStringLiteral("N"));
    EXPECT_EQ(captions(grid), (QStringList{"A", "N", "B", "C"}));
    EXPECT_EQ(widths(grid), (QList<int>{100, 30, 40, 60}));
    EXPECT_TRUE(grid.cell(2, 2).isEmpty());
    EXPECT_EQ(grid.cell(2, 3), (GridCell{QStringLiteral("b"), true, false, true, 7}));
    EXPECT_EQ(grid.cell(2, 4), (GridCell{QStringLiteral("c"), false, true, false, 9}));
    EXPECT_TRUE(grid.isEditEnabled(3));
    EXPECT_FALSE(grid.isEditEnabled(4));
    EXPECT_EQ(undoLines(), QStringList{"#ADDCLM#2"});
}

TEST_F(GridTest, AColumnInsertedAtTheEndIsClearedAndTakesTheEditStateOfItsLeftNeighbour)
{
    grid.AddColumn(0, 40, QString());
    grid.DisableEdit(2);
    grid.setCellText(1, 3, QStringLiteral("beyond"));
    grid.AddColumn(3, 40, QString());
    EXPECT_FALSE(grid.isEditEnabled(3));
    EXPECT_TRUE(grid.cell(1, 3).isEmpty());

    grid.setCellText(1, 4, QStringLiteral("kept"));
    grid.AddColumn(0, 40, QString());
    EXPECT_TRUE(grid.isEditEnabled(4));
    EXPECT_EQ(grid.GetItem(1, 4), QStringLiteral("kept"));
}

TEST_F(GridTest, EditStateStaysWithItsColumn)
{
    for (int c = 2; c <= 4; ++c)
        grid.AddColumn(0, 20, QString());
    for (int c = 1; c <= 4; ++c)
        grid.DisableEdit(c);
    grid.AddColumn(3, 20, QString());
    for (int c = 1; c <= 5; ++c)
        EXPECT_FALSE(grid.isEditEnabled(c)) << c;
    grid.EnableEdit(1);
    grid.RemoveColumn(1);
    EXPECT_FALSE(grid.isEditEnabled(1));
    view.calls.clear();
    grid.DisableEdit(0);
    grid.EnableEdit(33);
    EXPECT_TRUE(view.calls.isEmpty());
}

TEST_F(GridTest, RemovingAColumnMovesTheOthersLeft)
{
    grid.SetColumnHeader(1, QStringLiteral("A"));
    grid.AddColumn(0, 40, QStringLiteral("B"));
    grid.AddColumn(0, 60, QStringLiteral("C"));
    grid.DisableEdit(2);
    grid.ChangeItem(1, 2, QStringLiteral("b"));
    grid.ChangeItem(1, 3, QStringLiteral("c"));

    grid.RemoveColumn(1);
    EXPECT_EQ(captions(grid), (QStringList{"B", "C"}));
    EXPECT_EQ(widths(grid), (QList<int>{40, 60}));
    EXPECT_EQ(grid.GetItem(1, 1), QStringLiteral("b"));
    EXPECT_EQ(grid.GetItem(1, 2), QStringLiteral("c"));
    EXPECT_TRUE(grid.cell(1, 3).isEmpty());
    EXPECT_FALSE(grid.isEditEnabled(1));
    EXPECT_TRUE(grid.isEditEnabled(2));

    grid.RemoveColumn(2);
    EXPECT_EQ(captions(grid), QStringList{"B"});
    grid.RemoveColumn(0);
    grid.RemoveColumn(3);
    EXPECT_EQ(grid.ColumnCount(), 1);
}

TEST_F(GridTest, RemovingTheOnlyColumnEmptiesTheRowsInstead)
{
    for (int index : {1, 0, 99}) {
        grid.AddRow(QStringLiteral("x"));
        grid.RemoveColumn(index);
        EXPECT_EQ(grid.ColumnCount(), 1);
        EXPECT_EQ(grid.ListCount(), 1);
        EXPECT_EQ(grid.GetItem(1, 1), QString());
        EXPECT_EQ(undoLines().first(), QStringLiteral("#CLEARs#2"));
    }
}

TEST_F(GridTest, ColumnRemovalIsRecordedAsOneGroup)
{
    grid.AddColumn(0, 40, QStringLiteral("cap"));
    grid.AddColumn(0, 60, QString());
    grid.AddMoreThanOneRow(2);
    grid.setCell(2, 2, GridCell{QStringLiteral("x"), true, false, false, 255});
    grid.setCell(3, 2, GridCell{QString(), true, false, false, 255});
    grid.ClearUndoRedo();
    grid.RemoveColumn(2);
    EXPECT_EQ(undoLines(), (QStringList{"#REMCLs#2|cap|40", "", "x|100|255", "", "#REMCLe#2"}));
    EXPECT_EQ(grid.UndoStack().recordCount(), 5);
    EXPECT_EQ(grid.UndoStack().stepCount(), 1);
}

TEST_F(GridTest, CaptionsAreRecordedAndAnsweredEmptyOutsideTheColumns)
{
    grid.AddColumn(0, 40, QStringLiteral("old"));
    grid.ClearUndoRedo();
    grid.SetColumnHeader(2, QStringLiteral("new"));
    EXPECT_EQ(grid.GetColumnHeader(2), QStringLiteral("new"));
    EXPECT_EQ(undoLines(), QStringList{"#SETCLH#2|old"});
    EXPECT_TRUE(view.saw("caption 2"));
    grid.SetColumnHeader(3, QStringLiteral("x"));
    EXPECT_EQ(grid.UndoStack().stepCount(), 1);
    EXPECT_EQ(grid.GetColumnHeader(0), QString());
    EXPECT_EQ(grid.GetColumnHeader(3), QString());
    EXPECT_EQ(grid.GetWidthColumn(0), 0);
    EXPECT_EQ(grid.GetWidthColumn(3), 0);
}
