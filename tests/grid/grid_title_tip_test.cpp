#include <QFontMetrics>

#include "grid_input_fixture.h"
#include "grid_title_tip.h"
#include "qt_font.h"

namespace {

constexpr char kLongText[] = "a text far wider than its cell";

class TitleTip : public GridInputTest {
protected:
    void SetUp() override {
        GridInputTest::SetUp();
        grid->SetCellText(3, 2, kLongText);
    }
    bool TipShown() const { return grid->GetTitleTip() && grid->GetTitleTip()->isVisible(); }
};

TEST_F(TitleTip, OnlyATextThatDoesNotFitGetsATipOverItsCell) {
    Move(InCell(4, 2));
    EXPECT_FALSE(TipShown());

    Move(InCell(3, 2));
    ASSERT_TRUE(TipShown());
    CTitleTip* tip = grid->GetTitleTip();
    Rect rect;
    grid->GetCellRect(3, 2, &rect);
    QFont font = ToQFont(*grid->GetCell(3, 2)->GetFont());
    int width = QFontMetrics(font).horizontalAdvance(QString(" %1 ").arg(kLongText));
    EXPECT_EQ(tip->geometry(), QRect(Viewport()->mapToGlobal(QPoint(rect.left, rect.top)),
                                     QSize(width, rect.bottom - rect.top)));
    // It takes neither the focus nor the mouse.
    EXPECT_TRUE(tip->windowFlags() & Qt::WindowTransparentForInput);
    EXPECT_TRUE(tip->testAttribute(Qt::WA_TransparentForMouseEvents));
    EXPECT_TRUE(grid->hasFocus());
    EXPECT_EQ(QWidget::mouseGrabber(), nullptr);

    // Off, or over a cell being edited, there is none.
    grid->GetTitleTip()->Hide();
    grid->EnableTitleTips(false);
    Move(InCell(3, 2));
    EXPECT_FALSE(TipShown());
}

TEST_F(TitleTip, MovingWithinTheCellKeepsItAndLeavingHidesIt) {
    Move(InCell(3, 2));
    ASSERT_TRUE(TipShown());
    Move(InCell(3, 2, 3));
    EXPECT_TRUE(TipShown());
    // Onto the divider in the heading: hidden, and the grid took the move.
    Rect heading;
    grid->GetCellRect(0, 2, &heading);
    Move(QPoint(heading.right, kCellHeight / 2));
    EXPECT_FALSE(TipShown());
    EXPECT_EQ(grid->GetMouseMode(), GridMouseMode::OverColumnDivider);
}

TEST_F(TitleTip, AKeyHidesItAndReachesTheGrid) {
    grid->SetFocusCell(5, 2);
    Move(InCell(3, 2));
    ASSERT_TRUE(TipShown());
    QTest::keyClick(grid, Qt::Key_Down);
    EXPECT_FALSE(TipShown());
    EXPECT_EQ(grid->GetFocusCell(), (CCellID{6, 2}));
}

TEST_F(TitleTip, TwoClicksOnItReachTheGridAsADoubleClick) {
    ClickCell(1, 1);
    Move(InCell(3, 2));
    ASSERT_TRUE(TipShown());
    sink.notes.clear();
    QPoint onTip = InCell(3, 2, 10);
    Send(QEvent::MouseButtonPress, onTip, Qt::LeftButton);
    EXPECT_FALSE(TipShown());
    Send(QEvent::MouseButtonRelease, onTip, Qt::NoButton);
    Send(QEvent::MouseButtonDblClick, onTip, Qt::LeftButton);
    Send(QEvent::MouseButtonRelease, onTip, Qt::NoButton);
    EXPECT_EQ(sink.Of(GridNotify::DoubleClick), (std::vector<Notification>{{GridNotify::DoubleClick, 3, 2}}));
    EXPECT_NE(EditOf(3, 2), nullptr);
    // Scrolling hides it too.
    grid->EndEditing();
    Move(InCell(3, 2));
    Move(InCell(3, 2, 2));
    ASSERT_TRUE(TipShown());
    grid->OnVScroll(GridScroll::LineDown);
    EXPECT_FALSE(TipShown());
}

}  // namespace
