#include "gridfixture.h"

#include <functional>
#include <vector>

TEST_F(GridTest, GettersAnswerEmptyOutsideTheGrid)
{
    grid.AddMoreThanOneRow(2);
    grid.AddColumn(0, 50, QString());
    grid.setCell(2, 2, grid::GridCell{QStringLiteral("x"), true, true, true, 255});
    grid.setCell(2, 3, grid::GridCell{QStringLiteral("beyond"), true, true, true, 255});
    const std::pair<int, int> outside[] = {{0, 1}, {4, 1}, {1, 0}, {1, 3}, {2, 3}, {-1, -1}};
    for (auto [r, c] : outside) {
        EXPECT_EQ(grid.GetItem(r, c), QString()) << r << "," << c;
        EXPECT_FALSE(grid.GetItallic(r, c));
        EXPECT_FALSE(grid.GetUnderlined(r, c));
        EXPECT_EQ(grid.GetColor(r, c), 0u);
    }
    EXPECT_EQ(grid.GetItem(2, 2), QStringLiteral("x"));
    EXPECT_TRUE(grid.GetItallic(2, 2));
    EXPECT_TRUE(grid.GetUnderlined(2, 2));
    EXPECT_EQ(grid.GetColor(2, 2), 255u);
}

TEST_F(GridTest, GetItemReadsTheLastOfTwentyColumns)
{
    for (int c = 2; c <= 20; ++c)
        grid.AddColumn(0, 20, QString());
    grid.ChangeItem(1, 20, QStringLiteral("twenty"));
    EXPECT_EQ(grid.GetItem(1, 20), QStringLiteral("twenty"));
}

struct SetterCase {
    const char* name;
    std::function<void(grid::GridCore&, bool)> set;
    std::function<bool(const grid::GridCore&)> get;
    QString tag;
};
void PrintTo(const SetterCase& c, std::ostream* os) { *os << c.name; }

class FlagSetters : public GridTest, public ::testing::WithParamInterface<SetterCase> {};

TEST_P(FlagSetters, RecordThePreviousFlagInComplementFormAndRedraw)
{
    const SetterCase& s = GetParam();
    grid.AddMoreThanOneRow(2);
    grid.AddColumn(0, 50, QString());
    grid.ClearUndoRedo();
    view.calls.clear();

    s.set(grid, true);
    EXPECT_TRUE(s.get(grid));
    EXPECT_EQ(undoLines(), QStringList{s.tag + "3|2|-1"});
    EXPECT_EQ(view.calls.filter("render"), QStringList{"render 2"});

    s.set(grid, true); // already set: still recorded
    EXPECT_EQ(undoLines().first(), s.tag + "3|2|0");

    grid.undo();
    EXPECT_TRUE(s.get(grid));
    grid.undo();
    EXPECT_FALSE(s.get(grid));
    EXPECT_EQ(redoLines(), (QStringList{s.tag + "3|2|0", s.tag + "3|2|0"}));
    grid.redo(2);
    EXPECT_TRUE(s.get(grid));
    EXPECT_EQ(undoLines(), (QStringList{s.tag + "3|2|0", s.tag + "3|2|-1"}));
}

INSTANTIATE_TEST_SUITE_P(
    Flags, FlagSetters,
    ::testing::Values(
        SetterCase{"Bold", [](grid::GridCore& g, bool v) { g.SetBold(3, 2, v); },
                   [](const grid::GridCore& g) { return g.cell(3, 2).Bold; }, "#SETBLD#"},
        SetterCase{"Italic", [](grid::GridCore& g, bool v) { g.SetItallic(3, 2, v); },
                   [](const grid::GridCore& g) { return g.GetItallic(3, 2); }, "#SETITA#"},
        SetterCase{"Underline", [](grid::GridCore& g, bool v) { g.SetUnderlined(3, 2, v); },
                   [](const grid::GridCore& g) { return g.GetUnderlined(3, 2); }, "#SETUND#"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(GridTest, SetColorRecordsThePreviousColourAsASignedNumber)
{
    grid.SetColor(1, 1, 0xFF);
    EXPECT_EQ(grid.GetColor(1, 1), 0xFFu);
    EXPECT_EQ(undoLines(), QStringList{"#SETCLR#1|1|0"});
    grid.SetColor(1, 1, 0x8000000F); // a system colour is stored untranslated
    EXPECT_EQ(grid.GetColor(1, 1), 0x8000000Fu);
    grid.SetColor(1, 1, 0);
    EXPECT_EQ(undoLines().first(), QStringLiteral("#SETCLR#1|1|-2147483633"));
    grid.undo();
    EXPECT_EQ(grid.GetColor(1, 1), 0x8000000Fu);
}

TEST_F(GridTest, ChangeItemRecordsTheOldTextEvenWhenUnchanged)
{
    grid.AddRow(QStringLiteral("old"));
    grid.ClearUndoRedo();
    grid.ChangeItem(2, 1, QStringLiteral("new"));
    EXPECT_EQ(undoLines(), QStringList{"#SETTXT#2|1|old"});
    grid.undo();
    EXPECT_EQ(grid.GetItem(2, 1), QStringLiteral("old"));
    ASSERT_FALSE(grid.RedoStack().isEmpty());
    grid.ChangeItem(2, 1, QStringLiteral("old"));
    EXPECT_EQ(undoLines(), QStringList{"#SETTXT#2|1|old"});
    EXPECT_TRUE(grid.RedoStack().isEmpty());
}

TEST_F(GridTest, WritesOutsideTheGridDoNothing)
{
    view.calls.clear();
    grid.ChangeItem(2, 1, QStringLiteral("x"));
    grid.ChangeItem(1, 2, QStringLiteral("x"));
    grid.SetBold(0, 1, true);
    grid.SetItallic(1, 0, true);
    grid.SetUnderlined(5, 5, true);
    grid.SetColor(1, 33, 255);
    EXPECT_TRUE(grid.UndoStack().isEmpty());
    EXPECT_TRUE(view.calls.isEmpty());
    EXPECT_TRUE(grid.cell(1, 2).isEmpty());
}

TEST_F(GridTest, DoNotRenderHoldsBackEveryDrawing)
{
    grid.setDoNotRender(true);
    view.calls.clear();
    grid.ChangeItem(1, 1, QStringLiteral("x"));
    grid.SetBold(1, 1, true);
    grid.AddRow();
    EXPECT_TRUE(view.renders().isEmpty());
    EXPECT_TRUE(view.saw("scrollers"));
}

TEST_F(GridTest, AWholeRowIsWrittenDirectlyAndOnlyToAnExistingRow)
{
    grid.AddColumn(0, 50, QString());
    grid.ClearUndoRedo();
    view.calls.clear();
    const std::vector<grid::GridCell> cells{grid::GridCell{QStringLiteral("a"), true, false, false, 0},
                                            grid::GridCell{QStringLiteral("b")}};
    EXPECT_TRUE(grid.setRowCells(1, cells));
    EXPECT_EQ(grid.GetItem(1, 1), QStringLiteral("a"));
    EXPECT_TRUE(grid.cell(1, 1).Bold);
    EXPECT_EQ(grid.GetItem(1, 2), QStringLiteral("b"));
    EXPECT_FALSE(grid.setRowCells(2, cells));
    EXPECT_FALSE(grid.setRowCells(-1, cells));
    EXPECT_EQ(grid.row(2).extent(), 0);
    EXPECT_TRUE(grid.UndoStack().isEmpty());
    EXPECT_TRUE(view.calls.isEmpty());
}
