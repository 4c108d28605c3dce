#include <gtest/gtest.h>

#include <QScrollBar>

#include "grid_ctrl.h"

namespace {

// A grid of 20 rows of 20 pixels and 5 columns of 50, one of each fixed,
// in a window with room for 300 x 200 pixels of cells.
class GridScrollBars : public testing::Test {
protected:
    GridScrollBars() : grid_(20, 5, 1, 1) {
        grid_.setFrameShape(QFrame::NoFrame);
        grid_.resize(300, 200);
        for (int row = 0; row < 20; ++row) grid_.SetRowHeight(row, 20);
        for (int col = 0; col < 5; ++col) grid_.SetColumnWidth(col, 50);
    }
    bool Vertical() const { return grid_.verticalScrollBarPolicy() == Qt::ScrollBarAlwaysOn; }
    bool Horizontal() const { return grid_.horizontalScrollBarPolicy() == Qt::ScrollBarAlwaysOn; }

    CGridCtrl grid_;
};

TEST_F(GridScrollBars, ShownWhileTheTableDoesNotFit) {
    // 19 rows of 20 below a heading of 20 do not fit 180 pixels.
    EXPECT_TRUE(Vertical());
    EXPECT_FALSE(Horizontal());
    int page = 180;
    EXPECT_EQ(grid_.verticalScrollBar()->pageStep(), page);
    EXPECT_EQ(grid_.verticalScrollBar()->maximum(), 19 * 20 - page);

    // Once the rows fit the bar goes, whatever it showed before.
    grid_.SetRowCount(9);
    EXPECT_FALSE(Vertical());
    EXPECT_EQ(grid_.verticalScrollBar()->maximum(), 0);

    // Wider columns need the horizontal bar.
    grid_.SetColumnWidth(4, 200);
    EXPECT_TRUE(Horizontal());
}

TEST_F(GridScrollBars, FixedCellsFillingTheWindowHideBoth) {
    grid_.SetColumnWidth(0, 300);
    EXPECT_FALSE(Vertical());
    EXPECT_FALSE(Horizontal());
}

TEST_F(GridScrollBars, AnEmptyClientAreaLeavesThemAsTheyWere) {
    grid_.resize(0, 0);
    grid_.SetRowCount(5);
    EXPECT_TRUE(Vertical());
}

TEST_F(GridScrollBars, TheVerticalBarCanBringTheHorizontalOne) {
    // The columns fit the 300 pixels exactly, the rows the 200.
    grid_.SetColumnWidth(4, 100);
    grid_.SetRowCount(10);
    EXPECT_FALSE(Vertical());
    EXPECT_FALSE(Horizontal());
    grid_.SetRowCount(11);
    EXPECT_TRUE(Vertical());
    EXPECT_TRUE(Horizontal());
    EXPECT_EQ(grid_.horizontalScrollBar()->maximum(), grid_.verticalScrollBar()->sizeHint().width());
}

TEST_F(GridScrollBars, UntouchedWhileDrawingIsOff) {
    grid_.SetRedraw(false);
    grid_.SetRowCount(5);
    EXPECT_TRUE(Vertical());
    grid_.SetRedraw(true);
    grid_.ResetScrollBars();
    EXPECT_FALSE(Vertical());
}

}  // namespace
