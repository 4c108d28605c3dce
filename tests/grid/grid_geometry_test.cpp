#include <gtest/gtest.h>

#include <QScrollBar>

#include "grid_ctrl.h"

namespace {

// 30 rows of 20 under a fixed row of 20, 8 columns of 50 right of a fixed
// column of 30; row 3 is hidden. The viewport is 285 x 175 with both bars
// shown, so that its right and bottom edges fall inside cells.
class GridGeometry : public testing::Test {
protected:
    static constexpr int kClientWidth = 285;
    static constexpr int kClientHeight = 175;

    GridGeometry() : grid_(30, 8, 1, 1) {
        grid_.setFrameShape(QFrame::NoFrame);
        grid_.resize(kClientWidth + grid_.verticalScrollBar()->sizeHint().width(),
                     kClientHeight + grid_.horizontalScrollBar()->sizeHint().height());
        for (int row = 0; row < 30; ++row) grid_.SetRowHeight(row, 20);
        for (int col = 0; col < 8; ++col) grid_.SetColumnWidth(col, col == 0 ? 30 : 50);
        grid_.SetRowHeight(3, 0);
    }

    CGridCtrl grid_;
};

TEST_F(GridGeometry, TheClientAreaIsWhatTheBarsLeave) {
    EXPECT_EQ(grid_.GetClientRect(), QRect(0, 0, kClientWidth, kClientHeight));
}

TEST_F(GridGeometry, LineStepsMoveByWholeRowsAndStepOverAHiddenOne) {
    struct Step {
        GridScroll code;
        int position;
        int topRow;
    };
    // The top row may be the hidden one: it is the first whose start reaches
    // the position, and the next line-down moves by the row after it.
    const Step steps[] = {
        {GridScroll::LineDown, 20, 2}, {GridScroll::LineDown, 40, 3}, {GridScroll::LineDown, 60, 5},
        {GridScroll::LineDown, 80, 6}, {GridScroll::LineUp, 60, 5},   {GridScroll::LineUp, 40, 3},
        {GridScroll::LineUp, 20, 2},   {GridScroll::LineUp, 0, 1},    {GridScroll::LineUp, 0, 1},
    };
    for (const Step& step : steps) {
        grid_.OnVScroll(step.code);
        EXPECT_EQ(grid_.GetScrollPos32(Qt::Vertical), step.position);
        EXPECT_EQ(grid_.GetTopLeftNonFixedCell(), (CCellID{step.topRow, 1})) << "at " << step.position;
    }
    grid_.OnHScroll(GridScroll::LineDown);
    EXPECT_EQ(grid_.GetScrollPos32(Qt::Horizontal), 50);
    EXPECT_EQ(grid_.GetTopLeftNonFixedCell(), (CCellID{1, 2}));
}

TEST_F(GridGeometry, TheVisibleRangeEndsWithTheCellTheClientEdgeCuts) {
    Rect rect;
    // Rows 1, 2, 4 ... 9 reach 180 >= 175; columns 1 ... 6 reach 330 >= 285.
    EXPECT_EQ(grid_.GetVisibleNonFixedCellRange(&rect), (CCellRange{1, 1, 9, 6}));
    EXPECT_EQ(rect, (Rect{0, 0, kClientWidth, kClientHeight}));

    grid_.SetScrollPos32(Qt::Vertical, 100);
    grid_.SetScrollPos32(Qt::Horizontal, 50);
    EXPECT_EQ(grid_.GetVisibleNonFixedCellRange(), (CCellRange{7, 2, 14, 7}));

    // A table that ends before the client's edges ends the rectangle.
    grid_.SetRowCount(4);
    grid_.SetColumnCount(3);
    EXPECT_EQ(grid_.GetVisibleNonFixedCellRange(&rect), (CCellRange{1, 1, 3, 2}));
    EXPECT_EQ(rect, (Rect{0, 0, 130, 60}));
}

TEST_F(GridGeometry, OriginsAndInclusiveRectangles) {
    grid_.SetScrollPos32(Qt::Vertical, 20);
    struct Case {
        int row;
        int col;
        bool shown;
        Rect rect;
    };
    const Case cases[] = {
        {0, 0, true, {0, 0, 29, 19}},
        {2, 0, true, {0, 20, 29, 39}},    // the top row, in the fixed column
        {0, 2, true, {80, 0, 129, 19}},   // a heading
        {4, 2, true, {80, 40, 129, 59}},  // below the hidden row 3
        {1, 1, false, {}},                // scrolled out above
        {0, 8, false, {}},                // no such column
    };
    for (const Case& c : cases) {
        Rect rect;
        EXPECT_EQ(grid_.GetCellRect(c.row, c.col, &rect), c.shown) << c.row << "," << c.col;
        if (c.shown) {
            EXPECT_EQ(rect, c.rect) << c.row << "," << c.col;
        }
    }
    EXPECT_TRUE(grid_.IsCellVisible(10, 0));
    EXPECT_FALSE(grid_.IsCellVisible(1, 3));
    EXPECT_FALSE(grid_.IsCellVisible(12, 3));
}

TEST_F(GridGeometry, TheTopLeftCellFollowsTheTableWhileDrawingIsOff) {
    grid_.OnVScroll(GridScroll::Bottom);
    ASSERT_GT(grid_.GetTopLeftNonFixedCell().row, 15);
    grid_.SetRedraw(false);
    for (int row = 29; row >= 15; --row) grid_.DeleteRow(row);
    EXPECT_LT(grid_.GetTopLeftNonFixedCell().row, grid_.GetRowCount());
    grid_.SetFixedRowCount(2);
    EXPECT_GE(grid_.GetTopLeftNonFixedCell().row, 2);
    grid_.SetRedraw(true);
    grid_.OnVScroll(GridScroll::LineUp);
    EXPECT_LT(grid_.GetTopLeftNonFixedCell().row, grid_.GetRowCount());
}

}  // namespace
