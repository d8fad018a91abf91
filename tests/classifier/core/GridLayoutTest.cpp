#include <gtest/gtest.h>

#include "core/GridLayout.h"

TEST(GridLayout, CentresTheFirstRunGridWithEvenMargins) {
    const GridLayout grid = GridLayout::Compute(7890, 5025, 1500, 1000);
    EXPECT_EQ(grid.columns, 5);
    EXPECT_EQ(grid.rows, 5);
    EXPECT_EQ(grid.leftMargin, 195);
    EXPECT_EQ(grid.topMargin, 12);  // 25 twips left over: the odd twip goes to the bottom
    EXPECT_EQ(grid.CellLeft(7), 3195);
    EXPECT_EQ(grid.CellTop(7), 1012);
    EXPECT_EQ(grid.CellLeft(24), 4 * 1500 + 195);
    EXPECT_EQ(grid.CellTop(24), 4 * 1000 + 12);
}

TEST(GridLayout, ExactFitHasNoMargins) {
    const GridLayout grid = GridLayout::Compute(3000, 2000, 1500, 1000);
    EXPECT_EQ(grid.columns, 2);
    EXPECT_EQ(grid.rows, 2);
    EXPECT_EQ(grid.leftMargin, 0);
    EXPECT_EQ(grid.topMargin, 0);
}

TEST(GridLayout, ShrunkWindowGivesThreeByTwo) {
    const GridLayout grid = GridLayout::Compute(4600, 2100, 1500, 1000);
    EXPECT_EQ(grid.CellCount(), 6);
    EXPECT_EQ(grid.leftMargin, 50);
    EXPECT_EQ(grid.topMargin, 50);
}

TEST(GridLayout, LeftoverIsRoundedHalfToEvenBeforeHalving) {
    // 390.5 rounds to 390 (even), 391.5 to 392.
    EXPECT_EQ(GridLayout::Compute(7890.5, 1000, 1500, 1000).leftMargin, 195);
    EXPECT_EQ(GridLayout::Compute(7891.5, 1000, 1500, 1000).leftMargin, 196);
    // 3 twips left over: one and a half each side, the extra twip to the right.
    EXPECT_EQ(GridLayout::Compute(3003, 1000, 1500, 1000).leftMargin, 1);
}

TEST(GridLayout, ClientSmallerThanOneCellHasNoCells) {
    EXPECT_EQ(GridLayout::Compute(1499, 5000, 1500, 1000).CellCount(), 0);
    EXPECT_EQ(GridLayout::Compute(7890, 999, 1500, 1000).CellCount(), 0);
    EXPECT_EQ(GridLayout::Compute(0, 0, 1500, 1000).CellCount(), 0);
}

TEST(GridLayout, NonPositiveCellSizeLaysOutNothingInsteadOfDividingByZero) {
    for (auto [width, height] : {std::pair{0, 1000}, {1500, 0}, {-1500, 1000}, {1500, -1}}) {
        const GridLayout grid = GridLayout::Compute(7890, 5025, width, height);
        EXPECT_EQ(grid.CellCount(), 0) << width << " x " << height;
        EXPECT_EQ(grid.leftMargin, 0);
        EXPECT_EQ(grid.topMargin, 0);
    }
}

TEST(GridLayout, TinyCellsAreBoundedBy16BitCellCount) {
    const GridLayout grid = GridLayout::Compute(28800, 16200, 1, 1);  // a 1920 x 1080 screen
    EXPECT_EQ(grid.columns, 28800);
    EXPECT_LE(grid.CellCount(), GridLayout::MaxCells);
    EXPECT_GT(grid.CellCount(), 0);
    const GridLayout wide = GridLayout::Compute(1e9, 1e9, 1, 1);
    EXPECT_EQ(wide.columns, GridLayout::MaxCells);
    EXPECT_EQ(wide.rows, 1);
}
