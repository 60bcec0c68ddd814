#include "grid/documents/casefolding.h"
#include "grid/documents/findview.h"
#include "grid/documents/gridfinder.h"
#include "grid/gridcore.h"

#include "support/qtprinters.h"

#include <gtest/gtest.h>

using grid::CaseFolding;
using grid::FindView;
using grid::GridCore;
using grid::GridFinder;

namespace {

// A widget of 200 pixels of rows, columns visible from x = 40 (the gutter) to x = 300.
class FakeView final : public FindView {
public:
    int rowAreaHeight() const override { return 200; }
    int columnAreaLeft() const override { return areaLeft; }
    void setColumnAreaLeft(int left) override { areaLeft = left; }
    int gutterWidth() const override { return 40; }
    int columnViewRight() const override { return 300; }
    void selectItem(int row, int column) override
    {
        selectedRow = row;
        selectedColumn = column;
    }
    void repaint() override {}
    void highlight(int column, int start, int length) override
    {
        highlightColumn = column;
        highlightStart = start;
        highlightLength = length;
    }

    int areaLeft = 40;
    int selectedRow = 0, selectedColumn = 0;
    int highlightColumn = 0, highlightStart = -1, highlightLength = -1;
};

// A grid of `rows` rows and `columns` columns 100 wide, with the given cells filled.
void build(GridCore& g, int rows, int columns, std::initializer_list<std::tuple<int, int, const char16_t*>> cells)
{
    g.ClearEntireList();
    for (int c = 2; c <= columns; ++c)
        g.AddColumn(0, 100, QString());
    g.resetRows(rows);
    for (const auto& [r, c, text] : cells)
        g.setCellText(r, c, QString::fromUtf16(text));
    g.ClearUndoRedo();
}

QStringList undoLines(const GridCore& g)
{
    return g.UndoStack().lines();
}

} // namespace

TEST(CaseFolding, FoldsAsciiAndTheCentralEuropeanLetters)
{
    EXPECT_EQ(CaseFolding::UpperCaseText(QStringLiteral("abcxyz čćšžđöäë ß é ą 1-_"), false),
              QStringLiteral("ABCXYZ ČĆŠŽĐÖÄË ß é ą 1-_"));
    EXPECT_EQ(CaseFolding::UpperCaseText(QStringLiteral("ABC ČĆ"), false), QStringLiteral("ABC ČĆ"));
    EXPECT_EQ(CaseFolding::UpperCaseText(QStringLiteral("abc č"), true), QStringLiteral("abc č"));
}

TEST(GridFinder, SearchesAfterTheSelectedRowAndWrapsAround)
{
    GridCore g;
    GridFinder finder(g);
    build(g, 10, 3, {{4, 2, u"hit"}, {7, 3, u"a hit"}});
    g.setiSelected(4);
    ASSERT_TRUE(finder.FindText(QStringLiteral("hit")));
    EXPECT_EQ(g.iSelected(), 7);
    EXPECT_EQ(g.EditColumn(), 3);
    ASSERT_TRUE(finder.FindText(QStringLiteral("hit")));
    EXPECT_EQ(g.iSelected(), 4); // wrapped; the selected row itself comes last
    EXPECT_EQ(g.EditColumn(), 2);

    // A match only in the selected row is still found; from the last row the search
    // starts again at row 1.
    build(g, 10, 3, {{4, 1, u"only"}});
    g.setiSelected(4);
    ASSERT_TRUE(finder.FindText(QStringLiteral("only")));
    EXPECT_EQ(g.iSelected(), 4);
    build(g, 10, 3, {{1, 1, u"top"}, {10, 1, u"top"}});
    g.setiSelected(10);
    ASSERT_TRUE(finder.FindText(QStringLiteral("top")));
    EXPECT_EQ(g.iSelected(), 1);

    EXPECT_FALSE(finder.FindText(QStringLiteral("absent")));
    EXPECT_EQ(g.iSelected(), 1);
}

TEST(GridFinder, ExactAndFoldedMatching)
{
    GridCore g;
    GridFinder finder(g);
    build(g, 5, 1, {{1, 1, u"ABC"}, {2, 1, u"xAbCx"}, {3, 1, u"abc"}, {4, 1, u"xabcx"}, {5, 1, u"ab"}});
    auto rowsFound = [&](const QString& text, bool exact) {
        QList<int> rows;
        g.setiSelected(0);
        for (int i = 0; i < 5 && finder.FindText(text, exact); ++i) {
            if (rows.contains(g.iSelected()))
                break;
            rows.append(g.iSelected());
        }
        return rows;
    };
    EXPECT_EQ(rowsFound(QStringLiteral("abc"), false), (QList<int>{1, 2, 3, 4}));
    EXPECT_EQ(rowsFound(QStringLiteral("abc"), true), (QList<int>{3, 4}));

    build(g, 3, 1, {{1, 1, u"ČAJ ŠIPEK"}, {2, 1, u"čaj šipek"}, {3, 1, u"Ärger Öl ëß"}});
    EXPECT_EQ(rowsFound(QStringLiteral("čaj šipek"), false), (QList<int>{1, 2}));
    EXPECT_EQ(rowsFound(QStringLiteral("ČAJ"), true), (QList<int>{1}));
    EXPECT_EQ(rowsFound(QStringLiteral("äRGER öl Ëß"), false), (QList<int>{3}));
    // Letters outside the table are compared as they are.
    build(g, 1, 1, {{1, 1, u"CAFÉ"}});
    EXPECT_EQ(rowsFound(QStringLiteral("café"), false), QList<int>{});
}

TEST(GridFinder, HitIsShownScrolledSelectedAndHighlighted)
{
    GridCore g;
    FakeView view;
    GridFinder finder(g, &view);
    build(g, 100, 6, {{3, 1, u"up here"}, {45, 1, u"in view here"}, {50, 5, u"far right"}});
    g.setiSelected(40);

    // Row 50 ends below the 200 pixels of rows: it comes to the bottom. Column 5 (Left 404,
    // 100 wide) is cut on the right at 300: its right edge comes to 300.
    ASSERT_TRUE(finder.FindText(QStringLiteral("RIGHT")));
    EXPECT_EQ(g.ScrollTop(), 200 - 50 * 16);
    EXPECT_EQ(view.areaLeft, 300 - 404 - 100);
    EXPECT_EQ(view.selectedRow, 50);
    EXPECT_EQ(view.selectedColumn, 5);
    EXPECT_EQ(view.highlightColumn, 5);
    EXPECT_EQ(view.highlightStart, 4);
    EXPECT_EQ(view.highlightLength, 5);

    // Column 1 is now hidden on the left: its left edge comes to the gutter. Row 45 is in
    // view: no vertical scroll.
    g.setiSelected(44);
    ASSERT_TRUE(finder.FindText(QStringLiteral("here")));
    EXPECT_EQ(view.selectedRow, 45);
    EXPECT_EQ(g.ScrollTop(), 200 - 50 * 16);
    EXPECT_EQ(view.areaLeft, 40);
    EXPECT_EQ(view.highlightStart, 8);
    g.setiSelected(45);

    // Row 3 lies above the view: it comes to the top.
    ASSERT_TRUE(finder.FindText(QStringLiteral("here")));
    EXPECT_EQ(view.selectedRow, 3);
    EXPECT_EQ(g.ScrollTop(), -2 * 16);
    EXPECT_EQ(view.highlightStart, 3);
}

TEST(GridFinder, EmptyTextFindsTheFirstCellSearched)
{
    // The item transfer moves to the next row this way.
    GridCore g;
    FakeView view;
    GridFinder finder(g, &view);
    build(g, 3, 2, {});
    g.setiSelected(1);
    ASSERT_TRUE(finder.FindText(QString()));
    EXPECT_EQ(view.selectedRow, 2);
    EXPECT_EQ(view.selectedColumn, 1);
    EXPECT_EQ(view.highlightStart, 0);
    EXPECT_EQ(view.highlightLength, 0);
}

TEST(GridFinder, ReplaceAllRecordsEveryReplacement)
{
    struct Case {
        const char16_t* cell;
        const char16_t* from;
        const char16_t* to;
        bool exact;
        const char16_t* result;
        int records;
    };
    const Case cases[] = {
        {u"aaa", u"a", u"b", false, u"bbb", 3},
        {u"AaA", u"a", u"b", false, u"bbb", 3},
        {u"AaA", u"a", u"b", true, u"AbA", 1},
        {u"aaaa", u"aa", u"a", false, u"aa", 2},
        // Every match is replaced, also those a longer replacement has moved on.
        {u"a-a", u"a", u"bb", false, u"bb-bb", 2},
        {u"a-a-a-a", u"a", u"xyz", false, u"xyz-xyz-xyz-xyz", 4},
        // A replacement that holds the search text is not searched again.
        {u"a", u"a", u"aa", false, u"aa", 1},
        {u"abc", u"ABC", u"new", false, u"new", 1},
        {u"abc", u"ABC", u"new", true, u"abc", 0},
        {u"čaša", u"ČA", u"ka", false, u"kaša", 1},
    };
    for (const Case& c : cases) {
        GridCore g;
        GridFinder finder(g);
        build(g, 1, 1, {{1, 1, c.cell}});
        EXPECT_EQ(finder.FindAndReplaceText(QString::fromUtf16(c.from), QString::fromUtf16(c.to), true, c.exact),
                  c.records > 0);
        EXPECT_EQ(g.GetItem(1, 1), QString::fromUtf16(c.result)) << QString::fromUtf16(c.cell).toStdString();
        EXPECT_EQ(g.UndoStack().stepCount(), c.records) << QString::fromUtf16(c.cell).toStdString();
    }
}

TEST(GridFinder, ReplaceRecordsHoldTheTextFromBeforeEachStep)
{
    GridCore g;
    GridFinder finder(g);
    build(g, 1, 1, {{1, 1, u"a-a"}});
    g.ChangeItem(1, 1, QStringLiteral("a-a")); // a step to empty the redo stack
    ASSERT_TRUE(g.undo());
    ASSERT_FALSE(g.RedoStack().isEmpty());
    ASSERT_TRUE(finder.FindAndReplaceText(QStringLiteral("a"), QStringLiteral("bb"), true));
    EXPECT_EQ(undoLines(g), (QStringList{QStringLiteral("#SETTXT#1|1|bb-a"), QStringLiteral("#SETTXT#1|1|a-a")}));
    EXPECT_TRUE(g.RedoStack().isEmpty());

    // One undo takes back the last replacement only; two take back both.
    ASSERT_TRUE(g.undo());
    EXPECT_EQ(g.GetItem(1, 1), QStringLiteral("bb-a"));
    ASSERT_TRUE(g.undo());
    EXPECT_EQ(g.GetItem(1, 1), QStringLiteral("a-a"));
    ASSERT_TRUE(g.redo(2));
    EXPECT_EQ(g.GetItem(1, 1), QStringLiteral("bb-bb"));
}

TEST(GridFinder, UndoOfAReplaceAllAcrossRows)
{
    GridCore g;
    GridFinder finder(g);
    build(g, 4, 2, {{1, 1, u"x1"}, {2, 2, u"x2 x"}, {4, 1, u"x"}});
    g.setiSelected(3);
    ASSERT_TRUE(finder.FindAndReplaceText(QStringLiteral("X"), QStringLiteral("why"), true));
    EXPECT_EQ(g.GetItem(1, 1), QStringLiteral("why1"));
    EXPECT_EQ(g.GetItem(2, 2), QStringLiteral("why2 why"));
    EXPECT_EQ(g.GetItem(4, 1), QStringLiteral("why"));
    // Rows 3 and 4 first, then the rows above the start.
    EXPECT_EQ(undoLines(g).first(), QStringLiteral("#SETTXT#2|2|why2 x"));
    EXPECT_EQ(undoLines(g).last(), QStringLiteral("#SETTXT#4|1|x"));
    int steps = 0;
    ASSERT_TRUE(g.undo(100, &steps));
    EXPECT_EQ(steps, 4);
    EXPECT_EQ(g.GetItem(1, 1), QStringLiteral("x1"));
    EXPECT_EQ(g.GetItem(2, 2), QStringLiteral("x2 x"));
    EXPECT_EQ(g.GetItem(4, 1), QStringLiteral("x"));
}

TEST(GridFinder, ReplaceOnceMakesOneReplacementFromTheSelectedRow)
{
    GridCore g;
    GridFinder finder(g);
    build(g, 5, 2, {{1, 1, u"x"}, {3, 2, u"x x"}, {5, 1, u"x"}});
    g.setiSelected(3); // the start is the selected row itself
    ASSERT_TRUE(finder.FindAndReplaceText(QStringLiteral("x"), QStringLiteral("y")));
    EXPECT_EQ(g.GetItem(3, 2), QStringLiteral("y x"));
    ASSERT_TRUE(finder.FindAndReplaceText(QStringLiteral("x"), QStringLiteral("y")));
    EXPECT_EQ(g.GetItem(3, 2), QStringLiteral("y y"));
    ASSERT_TRUE(finder.FindAndReplaceText(QStringLiteral("x"), QStringLiteral("y")));
    EXPECT_EQ(g.GetItem(5, 1), QStringLiteral("y"));
    // Nothing left from row 3 on: the rows above are searched.
    ASSERT_TRUE(finder.FindAndReplaceText(QStringLiteral("x"), QStringLiteral("y")));
    EXPECT_EQ(g.GetItem(1, 1), QStringLiteral("y"));
    EXPECT_EQ(g.UndoStack().stepCount(), 4);
    EXPECT_FALSE(finder.FindAndReplaceText(QStringLiteral("x"), QStringLiteral("y")));
    EXPECT_EQ(g.UndoStack().stepCount(), 4);

    // With the last row selected the start is row 1; both cells of a row holding exactly
    // the text are replaced by All.
    build(g, 2, 2, {{1, 1, u"same"}, {1, 2, u"same"}});
    g.setiSelected(2);
    ASSERT_TRUE(finder.FindAndReplaceText(QStringLiteral("same"), QStringLiteral("new"), true));
    EXPECT_EQ(g.GetItem(1, 1), QStringLiteral("new"));
    EXPECT_EQ(g.GetItem(1, 2), QStringLiteral("new"));
}

TEST(GridFinder, EmptySearchTextReplacesNothing)
{
    GridCore g;
    GridFinder finder(g);
    build(g, 3, 2, {{1, 1, u"abc"}});
    for (const bool all : {false, true}) {
        EXPECT_FALSE(finder.FindAndReplaceText(QString(), QStringLiteral("Z"), all));
        EXPECT_EQ(g.GetItem(1, 1), QStringLiteral("abc"));
        EXPECT_EQ(g.GetItem(2, 1), QString());
        EXPECT_TRUE(g.UndoStack().isEmpty());
    }
}

namespace {

// Every cell of rows 0..ListCount, all 33 of them, with its format, as one text per row.
QStringList everyCell(const GridCore& g)
{
    QStringList rows;
    for (int r = 0; r <= g.ListCount(); ++r) {
        QString row;
        for (int c = 0; c < grid::GridRow::CellCount; ++c) {
            const grid::GridCell cell = g.cell(r, c);
            row += QStringLiteral("[%1 %2%3%4 %5]")
                       .arg(cell.Text)
                       .arg(int(cell.Bold))
                       .arg(int(cell.Italic))
                       .arg(int(cell.Underline))
                       .arg(cell.Color);
        }
        rows += row;
    }
    return rows;
}

// Several matches in one cell, cells the replacement empties, formats, and a cell beyond the
// columns that the replace does not touch; no history.
void buildManyRows(GridCore& g)
{
    build(g, 6, 3,
          {{1, 1, u"x"}, {1, 3, u"axbxc"}, {2, 2, u"x"}, {3, 1, u"xx"}, {3, 2, u"no"}, {4, 3, u"X-x"},
           {5, 1, u"xxx"}, {5, 2, u"x"}, {5, 3, u"x"}, {6, 2, u"yx"}});
    g.setCellText(2, 5, QStringLiteral("x beyond"));
    g.SetBold(5, 2, true);
    g.SetColor(1, 3, 0xFF);
    g.ClearUndoRedo();
}

// Every "x" replaced by nothing, from a start in the middle, so that the steps run through
// the rows in two passes.
void replaceEveryX(GridCore& g)
{
    g.setiSelected(4);
    GridFinder finder(g);
    ASSERT_TRUE(finder.FindAndReplaceText(QStringLiteral("x"), QString(), true));
}

void replaceAcrossManyRows(GridCore& g)
{
    buildManyRows(g);
    replaceEveryX(g);
}

} // namespace

// Undo and redo take many text steps at once; whatever the number, they leave the cells and
// both stacks exactly as the same number of single steps would.
TEST(GridFinder, UndoAndRedoOfAReplaceAllMatchSingleStepsForEveryCount)
{
    GridCore reference;
    replaceAcrossManyRows(reference);
    const QStringList replaced = everyCell(reference);
    const QStringList history = undoLines(reference);
    const int steps = reference.UndoStack().stepCount();
    ASSERT_EQ(steps, 14);
    EXPECT_EQ(reference.GetItem(5, 1), QString());
    EXPECT_EQ(reference.cell(2, 5).Text, QStringLiteral("x beyond"));

    for (int count = 1; count <= steps; ++count) {
        GridCore many;
        replaceAcrossManyRows(many);
        GridCore single;
        replaceAcrossManyRows(single);
        ASSERT_TRUE(many.undo(count));
        for (int k = 0; k < count; ++k)
            ASSERT_TRUE(single.undo());
        EXPECT_EQ(everyCell(many), everyCell(single)) << count << " undone";
        EXPECT_EQ(undoLines(many), undoLines(single)) << count << " undone";
        EXPECT_EQ(many.RedoStack().lines(), single.RedoStack().lines()) << count << " undone";

        ASSERT_TRUE(many.redo(count));
        EXPECT_EQ(everyCell(many), replaced) << count << " redone";
        EXPECT_EQ(undoLines(many), history) << count << " redone";
        EXPECT_TRUE(many.RedoStack().isEmpty());
    }
}

// All the way back and forth: the cells from before the replace, formats and the cell beyond
// the columns included, then the replaced cells again with the same history.
TEST(GridFinder, UndoOfAWholeReplaceAllPutsBackEveryCellAndRedoMakesItAgain)
{
    GridCore g;
    buildManyRows(g);
    const QStringList before = everyCell(g);
    ASSERT_NO_FATAL_FAILURE(replaceEveryX(g));
    const QStringList replaced = everyCell(g);
    const QStringList history = undoLines(g);

    int used = 0;
    ASSERT_TRUE(g.undo(1000, &used));
    EXPECT_EQ(used, 14);
    EXPECT_EQ(everyCell(g), before);
    EXPECT_TRUE(g.UndoStack().isEmpty());
    ASSERT_TRUE(g.redo(1000, &used));
    EXPECT_EQ(used, 14);
    EXPECT_EQ(everyCell(g), replaced);
    EXPECT_EQ(undoLines(g), history);
}

// Text steps of rows that are gone change nothing and leave nothing; the steps around them
// and the other kinds of step between them still replay in order.
TEST(GridFinder, ManyStepsPassOverRowsThatAreGoneAndOtherKindsOfStep)
{
    GridCore g;
    build(g, 5, 2, {{1, 1, u"a"}, {4, 2, u"b"}, {5, 1, u"c"}});
    g.ChangeItem(5, 1, QStringLiteral("c2"));
    g.ChangeItem(1, 1, QStringLiteral("a2"));
    g.SetBold(1, 2, true);
    g.ChangeItem(4, 2, QStringLiteral("b2"));
    g.ChangeItem(1, 1, QStringLiteral("a3"));
    g.resetRows(3); // rows 4 and 5 go without a step; row 1 is written back as it was
    g.setCellText(1, 1, QStringLiteral("a3"));
    g.setCell(1, 2, grid::GridCell{QString(), true});

    int used = 0;
    ASSERT_TRUE(g.undo(10, &used));
    EXPECT_EQ(used, 5);
    EXPECT_EQ(g.GetItem(1, 1), QStringLiteral("a"));
    EXPECT_FALSE(g.cell(1, 2).Bold);
    EXPECT_EQ(g.RedoStack().lines(),
              (QStringList{QStringLiteral("#SETTXT#1|1|a2"), QStringLiteral("#SETBLD#1|2|0"),
                           QStringLiteral("#SETTXT#1|1|a3")}));
    ASSERT_TRUE(g.redo(10, &used));
    EXPECT_EQ(used, 3);
    EXPECT_EQ(g.GetItem(1, 1), QStringLiteral("a3"));
    EXPECT_TRUE(g.cell(1, 2).Bold);
    EXPECT_EQ(g.ListCount(), 3);
}
