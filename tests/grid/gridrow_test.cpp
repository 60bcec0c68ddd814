#include "grid/gridrow.h"

#include <gtest/gtest.h>

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
    EXPECT_FALSE(row.hasContentOutside(1, 3));
    EXPECT_TRUE(row.hasContentOutside(1, 2));
    GridRow zero;
    zero.setBold(0, true);
    EXPECT_TRUE(zero.hasContentOutside(1, 32));
}
