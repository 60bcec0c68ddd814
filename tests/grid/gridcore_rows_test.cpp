#include "gridfixture.h"

#include <QRegularExpression>
#include <functional>

using grid::GridCell;

TEST_F(GridTest, NewGridHasOneEmptyColumnAndRowAndNoHistory)
{
    grid::GridCore fresh;
    EXPECT_EQ(fresh.ListCount(), 1);
    EXPECT_EQ(fresh.ColumnCount(), 1);
    EXPECT_EQ(fresh.iSelected(), 0);
    EXPECT_EQ(fresh.ScrollTop(), 0);
    EXPECT_TRUE(fresh.cell(1, 1).isEmpty());
    EXPECT_EQ(fresh.GetWidthColumn(1), 100);
    EXPECT_EQ(fresh.GetColumnHeader(1), QString());
    EXPECT_EQ(fresh.columnLeft(1), 0);
    EXPECT_FALSE(fresh.undo());
    EXPECT_FALSE(fresh.redo());
}

struct AddRowCase {
    int index;
    QStringList expected;
    int newRow;
};
void PrintTo(const AddRowCase& c, std::ostream* os) { *os << "Index " << c.index; }

class AddRowPositions : public GridTest, public ::testing::WithParamInterface<AddRowCase> {};

TEST_P(AddRowPositions, InsertsBeforeARowOrAppends)
{
    fillColumn1({"A", "B", "C"});
    grid.SetBold(2, 1, true);
    const AddRowCase& c = GetParam();
    EXPECT_EQ(grid.AddRow(QStringLiteral("x"), c.index), c.newRow);
    EXPECT_EQ(column(1), c.expected);
    EXPECT_EQ(undoLines().first(), QStringLiteral("#ADDITM#%1").arg(c.newRow));
    const int rowOfB = int(c.expected.indexOf("B")) + 1;
    EXPECT_TRUE(grid.cell(rowOfB, 1).Bold) << "B keeps its formatting";
    EXPECT_TRUE(view.saw("render -1"));
    EXPECT_TRUE(view.saw("scrollers"));
}

INSTANTIATE_TEST_SUITE_P(Positions, AddRowPositions,
                         ::testing::Values(AddRowCase{1, {"x", "A", "B", "C"}, 1},
                                           AddRowCase{2, {"A", "x", "B", "C"}, 2},
                                           AddRowCase{3, {"A", "B", "x", "C"}, 3},
                                           AddRowCase{0, {"A", "B", "C", "x"}, 4},
                                           AddRowCase{4, {"A", "B", "C", "x"}, 4},
                                           AddRowCase{7, {"A", "B", "C", "x"}, 4},
                                           AddRowCase{-1, {"A", "B", "C", "x"}, 4}));

TEST_F(GridTest, RowsMoveOverTheColumnsOnlyAndOtherCellsKeepTheirRowNumber)
{
    fillColumn1({"A", "B", "C"});
    grid.setCellText(2, 20, QStringLiteral("beyond"));
    grid.setCellText(2, 0, QStringLiteral("zero"));
    grid.AddRow(QStringLiteral("x"), 1);
    EXPECT_EQ(column(1), (QStringList{"x", "A", "B", "C"}));
    EXPECT_EQ(grid.cell(2, 20).Text, QStringLiteral("beyond"));
    EXPECT_EQ(grid.cell(2, 0).Text, QStringLiteral("zero"));
    EXPECT_EQ(grid.cell(3, 20).Text, QString());

    grid.RemoveItem(1);
    EXPECT_EQ(column(1), (QStringList{"A", "B", "C"}));
    EXPECT_EQ(grid.cell(2, 20).Text, QStringLiteral("beyond"));
    EXPECT_EQ(grid.cell(2, 0).Text, QStringLiteral("zero"));
}

// Every way a cell can come to lie outside the columns, on a grid whose rows were looked at
// before and held none: an insert and a removal at the top still move only the columns.
struct OtherCellRoute {
    const char* name;
    int column; // where the other cell lies in row 3
    std::function<void(grid::GridCore&)> write;
};
void PrintTo(const OtherCellRoute& c, std::ostream* os) { *os << c.name; }

class OtherCellRoutes : public GridTest, public ::testing::WithParamInterface<OtherCellRoute> {};

TEST_P(OtherCellRoutes, InsertAndRemovalAtTheTopLeaveTheOtherCellInItsRow)
{
    grid.AddColumn(0, 50, QString());
    fillColumn1({"A", "B", "C", "D"});
    grid.AddRow(QStringLiteral("settle"), 1); // looks at the rows once and finds nothing
    grid.RemoveItem(1);
    grid.ClearUndoRedo();
    GetParam().write(grid);
    const int c = GetParam().column;

    grid.AddRow(QStringLiteral("x"), 1);
    EXPECT_EQ(column(1), (QStringList{"x", "A", "B", "C", "D"}));
    EXPECT_EQ(grid.cell(3, c).Text, QStringLiteral("beyond"));
    EXPECT_EQ(grid.cell(4, c).Text, QString());
    grid.RemoveItem(1);
    EXPECT_EQ(column(1), (QStringList{"A", "B", "C", "D"}));
    EXPECT_EQ(grid.cell(3, c).Text, QStringLiteral("beyond"));
    grid.RemoveItem(1);
    EXPECT_EQ(column(1), (QStringList{"B", "C", "D"}));
    EXPECT_EQ(grid.cell(3, c).Text, QStringLiteral("beyond"));
    EXPECT_EQ(grid.cell(2, c).Text, QString());
}

INSTANTIATE_TEST_SUITE_P(
    Routes, OtherCellRoutes,
    ::testing::Values(
        OtherCellRoute{"CellTextAboveTheColumns", 20,
                       [](grid::GridCore& g) { g.setCellText(3, 20, QStringLiteral("beyond")); }},
        OtherCellRoute{"CellZero", 0,
                       [](grid::GridCore& g) { g.setCell(3, 0, GridCell{QStringLiteral("beyond")}); }},
        OtherCellRoute{"WholeRowWiderThanTheColumns", 3,
                       [](grid::GridCore& g) {
                           const std::vector<GridCell> cells{GridCell{QStringLiteral("C")}, GridCell{},
                                                             GridCell{QStringLiteral("beyond")}};
                           g.setRowCells(3, cells);
                       }},
        OtherCellRoute{"RowsHandedOverWhole", 32,
                       [](grid::GridCore& g) {
                           std::vector<grid::GridRow> rows(5);
                           for (int r = 1; r <= 4; ++r)
                               rows[size_t(r)].setText(1, QString(QChar(u'A' + r - 1)));
                           rows[3].setText(32, QStringLiteral("beyond"));
                           g.resetRows(std::move(rows));
                       }}),
    [](const ::testing::TestParamInfo<OtherCellRoute>& info) { return std::string(info.param.name); });

TEST_F(GridTest, AddRowWithoutArgumentsAppendsAnEmptyRow)
{
    EXPECT_EQ(grid.AddRow(), 2);
    EXPECT_EQ(grid.ListCount(), 2);
    EXPECT_TRUE(grid.cell(2, 1).isEmpty());
}

TEST_F(GridTest, AddMoreThanOneRowIsOneStepAndHidesTheEditors)
{
    grid.setiSelected(1);
    grid.AddMoreThanOneRow(29);
    EXPECT_EQ(grid.ListCount(), 30);
    EXPECT_EQ(undoLines(), QStringList{"#ADDMT1#29"});
    EXPECT_TRUE(view.saw("deselect"));
    EXPECT_EQ(grid.iSelected(), 1);

    grid.AddMoreThanOneRow(0);
    grid.AddMoreThanOneRow(-3);
    EXPECT_EQ(grid.ListCount(), 30);
    EXPECT_EQ(grid.UndoStack().stepCount(), 1);
}

TEST_F(GridTest, RemoveItemTakesOutTheRowAndRecordsItsCells)
{
    fillColumn1({"A", "B", "C"});
    grid.AddColumn(0, 50, QString());
    grid.ClearUndoRedo();
    grid.setCell(2, 1, GridCell{QStringLiteral("B"), true, false, false, 255});
    grid.RemoveItem(2);
    EXPECT_EQ(column(1), (QStringList{"A", "C"}));
    EXPECT_EQ(grid.ListCount(), 2);
    EXPECT_TRUE(grid.cell(3, 1).isEmpty());
    EXPECT_EQ(undoLines(), QStringList{"#REMITM#2||#|1|B|100|255|#|2||000|0"});
}

TEST_F(GridTest, RemovingTheOnlyRowLeavesOneEmptyRowAndTheHistoryAsItWas)
{
    grid.ChangeItem(1, 1, QStringLiteral("text"));
    grid.ChangeItem(1, 1, QStringLiteral("more"));
    grid.undo();
    ASSERT_EQ(grid.RedoStack().stepCount(), 1);
    const QStringList before = undoLines();
    grid.RemoveItem(1);
    EXPECT_EQ(grid.ListCount(), 1);
    EXPECT_TRUE(grid.cell(1, 1).isEmpty());
    EXPECT_EQ(undoLines(), before);
    EXPECT_TRUE(grid.RedoStack().isEmpty());
}

TEST_F(GridTest, RemovalNearTheEndKeepsTheLastRowAtTheBottom)
{
    grid.AddMoreThanOneRow(29);
    view.visibleHeight = 200;
    grid.setScrollTop(-280);
    grid.RemoveItem(5);
    EXPECT_EQ(grid.ScrollTop(), -264);

    grid.AddRow();
    grid.setScrollTop(-280);
    view.calls.clear();
    grid.RemoveItem(5, true);
    EXPECT_EQ(grid.ScrollTop(), -280);
    EXPECT_TRUE(view.renders().isEmpty());
    EXPECT_TRUE(view.saw("fit"));
    EXPECT_TRUE(view.saw("scrollers"));
}

TEST_F(GridTest, RemovalOfFewRowsScrollsBackToTheTop)
{
    grid.AddMoreThanOneRow(2);
    view.visibleHeight = 200;
    grid.setScrollTop(-16);
    grid.RemoveItem(1);
    EXPECT_EQ(grid.ScrollTop(), 0);
}

TEST_F(GridTest, ClearEmptiesRowsKeepsColumnsAndIsOneGroup)
{
    grid.SetColumnHeader(1, QStringLiteral("one"));
    grid.AddColumn(0, 40, QStringLiteral("two"));
    grid.AddColumn(0, 60, QStringLiteral("three"));
    grid.AddMoreThanOneRow(4);
    grid.ChangeItem(2, 1, QStringLiteral("a"));
    grid.ChangeItem(2, 3, QStringLiteral("b"));
    grid.SetBold(4, 2, true); // formatting without text is not kept
    grid.ClearUndoRedo();
    grid.setScrollTop(-32);

    grid.Clear();
    EXPECT_EQ(grid.ListCount(), 1);
    EXPECT_EQ(grid.ColumnCount(), 3);
    EXPECT_EQ(grid.GetColumnHeader(3), QStringLiteral("three"));
    EXPECT_EQ(grid.ScrollTop(), 0);
    EXPECT_EQ(grid.UndoStack().recordCount(), 7);
    EXPECT_EQ(undoLines(), (QStringList{"#CLEARs#5", "", "2||#|1|a|000|0|#|3|b|000|0", "", "", "", "#CLEARe#"}));
}

TEST_F(GridTest, ClearEntireListGoesBackToOneColumnOneRowNoHistory)
{
    grid.AddColumn(0, 40, QStringLiteral("b"));
    grid.AddColumn(0, 40, QStringLiteral("c"));
    grid.AddColumn(0, 40, QStringLiteral("d"));
    grid.LetWidthColumn(1, 70);
    grid.DisableEdit(1);
    grid.AddMoreThanOneRow(3);
    grid.setScrollTop(-16);
    grid.undo();
    view.calls.clear();

    grid.ClearEntireList();
    EXPECT_EQ(grid.ColumnCount(), 1);
    EXPECT_EQ(grid.ListCount(), 1);
    EXPECT_EQ(grid.GetWidthColumn(1), 70);
    EXPECT_FALSE(grid.isEditEnabled(1));
    EXPECT_TRUE(grid.UndoStack().isEmpty());
    EXPECT_TRUE(grid.RedoStack().isEmpty());
    EXPECT_EQ(grid.ScrollTop(), 0);
    EXPECT_TRUE(view.saw("left"));
    EXPECT_TRUE(view.renders().isEmpty());
}

struct RemoveCase {
    int index;
    QStringList expected;
};
void PrintTo(const RemoveCase& c, std::ostream* os) { *os << "Index " << c.index; }

class RemoveItemPositions : public GridTest, public ::testing::WithParamInterface<RemoveCase> {};

TEST_P(RemoveItemPositions, TakesOutExactlyThatRow)
{
    fillColumn1({"A", "B", "C", "D"});
    grid.SetItallic(4, 1, true);
    const RemoveCase& c = GetParam();
    grid.RemoveItem(c.index);
    EXPECT_EQ(column(1), c.expected);
    EXPECT_EQ(grid.row(grid.ListCount() + 1).extent(), 0) << "no row beyond ListCount";
    const int rowOfD = int(c.expected.indexOf("D")) + 1;
    if (rowOfD > 0) {
        EXPECT_TRUE(grid.GetItallic(rowOfD, 1));
    }
}

INSTANTIATE_TEST_SUITE_P(Positions, RemoveItemPositions,
                         ::testing::Values(RemoveCase{1, {"B", "C", "D"}}, RemoveCase{2, {"A", "C", "D"}},
                                           RemoveCase{3, {"A", "B", "D"}}, RemoveCase{4, {"A", "B", "C"}}));

// Every path that moves, removes or replaces rows tells the view from which row on, so that
// an open row there can close; undo and redo go through the same paths.
TEST_F(GridTest, EveryChangeOfTheRowsTellsTheViewFromWhichRowOn)
{
    struct Case {
        const char* change;
        std::function<void()> before; // history the change replays, unnoted
        std::function<void()> apply;
        QStringList rows;             // the "rows N" notes of the change, in order
    };
    const Case cases[] = {
        {"insert at 2", [] {}, [&] { grid.AddRow("x", 2); }, {"rows 2"}},
        {"append", [] {}, [&] { grid.AddRow("x"); }, {"rows 5"}},
        {"append several", [] {}, [&] { grid.AddMoreThanOneRow(3); }, {"rows 5"}},
        {"remove 3", [] {}, [&] { grid.RemoveItem(3); }, {"rows 3"}},
        {"remove nothing", [] {}, [&] { grid.RemoveItem(9); }, {}},
        {"clear", [] {}, [&] { grid.Clear(); }, {"rows 1"}},
        {"clear entirely", [] {}, [&] { grid.ClearEntireList(); }, {"rows 1"}},
        {"reader's reset", [] {}, [&] { grid.resetRows(7); }, {"rows 1"}},
        {"undo of a removal", [&] { grid.RemoveItem(2); }, [&] { grid.undo(); }, {"rows 2"}},
        {"redo of a removal", [&] { grid.RemoveItem(2); grid.undo(); }, [&] { grid.redo(); }, {"rows 2"}},
        {"undo of an insert", [&] { grid.AddRow("x", 3); }, [&] { grid.undo(); }, {"rows 3"}},
        {"undo of rows appended", [&] { grid.AddMoreThanOneRow(2); }, [&] { grid.undo(); }, {"rows 5"}},
        {"undo of a clear", [&] { grid.Clear(); }, [&] { grid.undo(); }, {"rows 1"}},
        {"redo of a clear", [&] { grid.Clear(); grid.undo(); }, [&] { grid.redo(); }, {"rows 1"}},
    };
    for (const Case& c : cases) {
        fillColumn1({"A", "B", "C", "D"});
        c.before();
        view.calls.clear();
        c.apply();
        EXPECT_EQ(view.calls.filter(QRegularExpression("^rows ")), c.rows) << c.change;
    }
}
