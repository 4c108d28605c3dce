#include <gtest/gtest.h>

#include <QApplication>
#include <QScrollBar>
#include <QWheelEvent>

#include "grid_ctrl.h"

namespace {

// 30 rows of 20 under a fixed row of 20, 8 columns of 50 right of a fixed
// column of 30, in a viewport of 285 x 175 with both bars shown.
class GridScrolling : public testing::Test {
protected:
    GridScrolling() : grid_(30, 8, 1, 1) {
        grid_.setFrameShape(QFrame::NoFrame);
        grid_.resize(285 + grid_.verticalScrollBar()->sizeHint().width(),
                     175 + grid_.horizontalScrollBar()->sizeHint().height());
        for (int row = 0; row < 30; ++row) grid_.SetRowHeight(row, 20);
        for (int col = 0; col < 8; ++col) grid_.SetColumnWidth(col, col == 0 ? 30 : 50);
        grid_.SetWheelScrollLines(3);
    }
    int Position() const { return grid_.GetScrollPos32(Qt::Vertical); }
    int Page() { return grid_.GetClientRect().height() - 20; }

    CGridCtrl grid_;
};

TEST_F(GridScrolling, TheWheelScrollsLinesOrPages) {
    ASSERT_EQ(Page(), 155);
    struct Case {
        int lines;
        int delta;
        int start;
        int end;
    };
    const Case cases[] = {
        {3, 240, 200, 200 - 6 * 20},   // six line-ups
        {3, 60, 200, 200 - 20},        // 3 x 60 / 120 truncated to one
        {3, -240, 200, 200 + 6 * 20},  // six line-downs
        {3, 30, 200, 200},             // less than a line
        {-1, 240, 400, 400 - 2 * 155}, // two page-ups
        {-1, 240, 200, 0},             // the second stops at the top
        {-1, 100, 200, 200},           // less than a notch
        {-1, -120, 200, 200 + 155},    // one page-down
    };
    for (const Case& c : cases) {
        grid_.SetScrollPos32(Qt::Vertical, c.start);
        grid_.SetWheelScrollLines(c.lines);
        grid_.OnMouseWheel(c.delta);
        EXPECT_EQ(Position(), c.end) << c.lines << " lines, delta " << c.delta << " from " << c.start;
    }
}

TEST_F(GridScrolling, AWheelEventOnTheViewportScrolls) {
    grid_.SetScrollPos32(Qt::Vertical, 200);
    QWheelEvent wheel(QPointF(50, 50), QPointF(50, 50), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(grid_.viewport(), &wheel);
    EXPECT_EQ(Position(), 260);
}

TEST_F(GridScrolling, TheBarsStepsAreTheGridsOwn) {
    // After a thumb drag to a position inside a row, a line step of the bar
    // moves by the grid's top row, not by the bar's single step.
    grid_.verticalScrollBar()->setSingleStep(7);
    grid_.OnVScroll(GridScroll::ThumbTrack, 33);
    EXPECT_EQ(Position(), 33);
    EXPECT_EQ(grid_.GetTopLeftNonFixedCell().row, 3);
    grid_.verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(Position(), 53);
    grid_.verticalScrollBar()->triggerAction(QAbstractSlider::SliderToMaximum);
    EXPECT_EQ(Position(), grid_.verticalScrollBar()->maximum());
    grid_.verticalScrollBar()->triggerAction(QAbstractSlider::SliderPageStepSub);
    EXPECT_EQ(Position(), grid_.verticalScrollBar()->maximum() - Page());
    grid_.OnVScroll(GridScroll::Top);
    EXPECT_EQ(Position(), 0);
    grid_.OnVScroll(GridScroll::EndScroll);
    EXPECT_EQ(Position(), 0);
}

TEST_F(GridScrolling, EnsureCellVisibleStopsWhereLineStepsWould) {
    grid_.SetRowHeight(6, 0);
    grid_.SetRowHeight(12, 45);
    struct Case {
        int startPosition;
        int row;
    };
    const Case cases[] = {{0, 9}, {0, 12}, {0, 29}, {200, 2}, {200, 7}, {100, 12}, {0, 1}};
    for (const Case& c : cases) {
        // By the book: a line step at a time until the row is in view.
        grid_.SetScrollPos32(Qt::Vertical, c.startPosition);
        for (int steps = 0; steps < 100 && !grid_.IsCellVisible(c.row, 1); ++steps) {
            grid_.OnVScroll(c.row < grid_.GetTopLeftNonFixedCell().row ? GridScroll::LineUp : GridScroll::LineDown);
        }
        Rect rect;
        while (grid_.GetCellRect(c.row, 1, &rect) && rect.bottom > 175 && rect.top > 20) {
            int before = Position();
            grid_.OnVScroll(GridScroll::LineDown);
            if (Position() == before) break;
        }
        int expected = Position();

        grid_.SetScrollPos32(Qt::Vertical, c.startPosition);
        grid_.EnsureCellVisible(c.row, 1);
        EXPECT_EQ(Position(), expected) << "row " << c.row << " from " << c.startPosition;
        EXPECT_TRUE(grid_.IsCellVisible(c.row, 1)) << "row " << c.row;
    }
}

TEST_F(GridScrolling, EnsureCellVisibleEndsOnCellsTooLargeOrAtTheEnd) {
    // Wider than the viewport: it comes to the left edge and stays cut off.
    grid_.SetColumnWidth(5, 1000);
    grid_.EnsureCellVisible(3, 5);
    EXPECT_EQ(grid_.GetTopLeftNonFixedCell().col, 5);

    // Taller than the viewport.
    grid_.SetRowHeight(20, 400);
    grid_.EnsureCellVisible(20, 1);
    EXPECT_EQ(grid_.GetTopLeftNonFixedCell().row, 20);

    // The last cell with the bar already at its end.
    grid_.OnVScroll(GridScroll::Bottom);
    grid_.OnHScroll(GridScroll::Bottom);
    grid_.EnsureCellVisible(29, 7);
    EXPECT_EQ(Position(), grid_.verticalScrollBar()->maximum());
    EXPECT_TRUE(grid_.IsCellVisible(29, 7));
}

}  // namespace
