#include <gtest/gtest.h>

#include "grid_ctrl.h"

namespace {

class GridAutoSizing : public testing::Test {
protected:
    GridAutoSizing() : grid_(4, 4, 1, 1) {
        grid_.resize(400, 300);
        grid_.SetCellText(0, 1, "Heading");
        grid_.SetCellText(1, 1, "short");
        grid_.SetCellText(2, 1, "a much longer text than the others");
        grid_.SetCellText(3, 1, "the longest text of all, in a row that is hidden");
        grid_.SetColumnWidth(2, 0);
        grid_.SetRowHeight(3, 0);
    }
    int Extent(int row, int col) const { return grid_.GetCell(row, col)->GetCellExtent(nullptr).width(); }

    CGridCtrl grid_;
};

TEST_F(GridAutoSizing, AColumnTakesItsWidestCell) {
    // The hidden row's longer text does not count.
    EXPECT_TRUE(grid_.AutoSizeColumn(1));
    EXPECT_EQ(grid_.GetColumnWidth(1), Extent(2, 1));
    // Headings only.
    EXPECT_TRUE(grid_.AutoSizeColumn(1, GridAutoSize::Header));
    EXPECT_EQ(grid_.GetColumnWidth(1), Extent(0, 1));

    EXPECT_FALSE(grid_.AutoSizeColumn(2));
    EXPECT_EQ(grid_.GetColumnWidth(2), 0);
    EXPECT_FALSE(grid_.AutoSizeColumn(4));
    EXPECT_FALSE(grid_.AutoSizeRow(3));
    EXPECT_EQ(grid_.GetRowHeight(3), 0);
    EXPECT_TRUE(grid_.AutoSizeRow(1));
    EXPECT_EQ(grid_.GetRowHeight(1), grid_.GetCell(1, 1)->GetCellExtent(nullptr).height());
}

TEST_F(GridAutoSizing, TheWholeGridKeepsHiddenRowsAndColumnsHidden) {
    grid_.SetRowHeight(2, 300);
    grid_.AutoSize();
    EXPECT_EQ(grid_.GetColumnWidth(2), 0);
    EXPECT_EQ(grid_.GetRowHeight(3), 0);
    EXPECT_EQ(grid_.GetColumnWidth(1), Extent(2, 1));
    EXPECT_GT(grid_.GetColumnWidth(1), Extent(1, 1));
    // Rows shrink to their text too.
    EXPECT_EQ(grid_.GetRowHeight(2), grid_.GetCell(2, 1)->GetCellExtent(nullptr).height());
}

}  // namespace
