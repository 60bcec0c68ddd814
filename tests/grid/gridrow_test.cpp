#include "grid/gridrow.h"

#include <gtest/gtest.h>

#include <vector>

using grid::GridCell;
using grid::GridRow;

TEST(GridRow, CellsReadBackWithTheirFormattingWhateverTheOrderOfWrites)
{
    GridRow row;
    row.setText(5, QStringLiteral("five"));
    row.setText(2, QStringLiteral("two|#|x"));
    row.setText(32, QStringLiteral("last"));
    row.setBold(2, true);
    row.setColor(5, 0x80000008u);
    row.setText(2, QStringLiteral("t"));
    EXPECT_EQ(row.text(2), QStringLiteral("t"));
    EXPECT_TRUE(row.bold(2));
    EXPECT_EQ(row.text(5), QStringLiteral("five"));
    EXPECT_EQ(row.color(5), 0x80000008u);
    EXPECT_EQ(row.text(32), QStringLiteral("last"));
    EXPECT_EQ(row.text(3), QString());
    EXPECT_EQ(row.text(33), QString());
    EXPECT_TRUE(row.cell(-1).isEmpty());
}

TEST(GridRow, ClearingTheLastCellsReleasesTheirSlots)
{
    GridRow row;
    row.setCell(4, GridCell{QStringLiteral("x"), true, true, true, 255});
    row.setText(1, QStringLiteral("a"));
    EXPECT_EQ(row.extent(), 5);
    row.clearCell(4);
    EXPECT_EQ(row.extent(), 2);
    row.setText(1, QString());
    EXPECT_EQ(row.extent(), 0);
    EXPECT_EQ(row.heapBytes(), 0u);
}

TEST(GridRow, ShiftsMoveAllFieldsAndClearTheVacatedCell)
{
    GridRow row;
    row.setCell(1, GridCell{QStringLiteral("A"), true, false, false, 1});
    row.setCell(2, GridCell{QStringLiteral("B"), false, true, false, 2});
    row.setCell(3, GridCell{QStringLiteral("C"), false, false, true, 3});
    row.shiftCellsRight(2, 4);
    EXPECT_EQ(row.cell(1), (GridCell{QStringLiteral("A"), true, false, false, 1}));
    EXPECT_TRUE(row.cell(2).isEmpty());
    EXPECT_EQ(row.cell(3), (GridCell{QStringLiteral("B"), false, true, false, 2}));
    EXPECT_EQ(row.cell(4), (GridCell{QStringLiteral("C"), false, false, true, 3}));
    row.shiftCellsLeft(1, 4);
    EXPECT_TRUE(row.cell(1).isEmpty());
    EXPECT_EQ(row.text(2), QStringLiteral("B"));
    EXPECT_EQ(row.text(3), QStringLiteral("C"));
    EXPECT_TRUE(row.cell(4).isEmpty());
}

TEST(GridRow, ContentOutsideTheColumnsIsDetected)
{
    GridRow row;
    row.setText(3, QStringLiteral("in"));
    EXPECT_FALSE(row.hasContentOutsideColumns(3));
    EXPECT_TRUE(row.hasContentOutsideColumns(2));
    GridRow zero;
    zero.setBold(0, true);
    EXPECT_TRUE(zero.hasContentOutsideColumns(32));
}

TEST(GridRow, AWholeRowReplacesEveryCellAndKeepsNoEmptyTail)
{
    GridRow row;
    row.setText(0, QStringLiteral("zero"));
    row.setCell(7, GridCell{QStringLiteral("old"), true, false, false, 4});
    const std::vector<GridCell> cells{
        GridCell{QStringLiteral("a")},
        GridCell{},
        GridCell{QString(), false, true, false, 0}, // formatting without text is kept
        GridCell{QStringLiteral("d|#|"), true, false, true, 0x8000000Fu},
        GridCell{},
    };
    row.setCells(cells);
    for (int c = 1; c <= 5; ++c)
        EXPECT_EQ(row.cell(c), cells[size_t(c - 1)]) << c;
    EXPECT_TRUE(row.isEmptyCell(0));
    EXPECT_TRUE(row.isEmptyCell(7));
    EXPECT_EQ(row.extent(), 5);

    // Written cell by cell, the same row reads the same.
    GridRow byCell;
    for (int c = 1; c <= 5; ++c)
        byCell.setCell(c, cells[size_t(c - 1)]);
    for (int c = 0; c < GridRow::CellCount; ++c)
        EXPECT_EQ(row.cell(c), byCell.cell(c)) << c;

    row.setCells(std::vector<GridCell>(3));
    EXPECT_EQ(row.extent(), 0);
    EXPECT_EQ(row.heapBytes(), 0u);
}

TEST(GridRow, AWholeRowBeyondThirtyTwoCellsKeepsTheFirstThirtyTwo)
{
    std::vector<GridCell> cells(40);
    for (size_t k = 0; k < cells.size(); ++k)
        cells[k].Text = QString::number(k + 1);
    GridRow row;
    row.setCells(cells);
    EXPECT_EQ(row.text(32), QStringLiteral("32"));
    EXPECT_EQ(row.extent(), GridRow::CellCount);
    row.setText(1, QStringLiteral("changed"));
    EXPECT_EQ(row.text(1), QStringLiteral("changed"));
    EXPECT_EQ(row.text(2), QStringLiteral("2"));
}
