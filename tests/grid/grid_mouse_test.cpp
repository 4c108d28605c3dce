#include "grid_input_fixture.h"
#include "grid_keys.h"

namespace {

using GridMouse = GridInputTest;

TEST_F(GridMouse, APressInTheFocusCellEditsOnReleaseUnlessTheMouseMoved) {
    ClickCell(3, 2);
    ASSERT_EQ(grid->GetFocusCell(), (CCellID{3, 2}));

    QTest::mousePress(Viewport(), Qt::LeftButton, {}, InCell(3, 2));
    EXPECT_EQ(grid->GetMouseMode(), GridMouseMode::PrepareEdit);
    EXPECT_EQ(EditOf(3, 2), nullptr);
    QTest::mouseRelease(Viewport(), Qt::LeftButton, {}, InCell(3, 2));
    ASSERT_NE(EditOf(3, 2), nullptr);
    EXPECT_EQ(editKeys, std::vector<unsigned>{GridKey::LeftButton});
    grid->EndEditing();

    // A move before the release makes it an attempt to drag.
    ClickCell(3, 2);
    editKeys.clear();
    QTest::mousePress(Viewport(), Qt::LeftButton, {}, InCell(3, 2));
    Move(InCell(3, 2, 5), Qt::LeftButton);
    EXPECT_EQ(grid->GetMouseMode(), GridMouseMode::PrepareDrag);
    QTest::mouseRelease(Viewport(), Qt::LeftButton, {}, InCell(3, 2, 5));
    EXPECT_EQ(EditOf(3, 2), nullptr);
    EXPECT_TRUE(editKeys.empty());
}

TEST_F(GridMouse, CtrlClickOnASelectedCellDeselectsItAndTakesTheFocus) {
    grid->SetSelectedRange(2, 2, 3, 3);
    grid->SetFocusCell(2, 2);
    ClickCell(3, 3, Qt::ControlModifier);
    EXPECT_FALSE(grid->IsCellSelected(3, 3));
    EXPECT_TRUE(grid->IsCellSelected(2, 2));
    EXPECT_TRUE(grid->IsCellSelected(3, 2));
    EXPECT_EQ(grid->GetFocusCell(), (CCellID{3, 3}));

    // Ctrl on an unselected cell adds it.
    ClickCell(5, 5, Qt::ControlModifier);
    EXPECT_TRUE(grid->IsCellSelected(5, 5));
    EXPECT_TRUE(grid->IsCellSelected(2, 2));
}

TEST_F(GridMouse, ShiftClickExtendsFromTheStartCell) {
    ClickCell(2, 2);
    ClickCell(4, 3, Qt::ShiftModifier);
    EXPECT_EQ(grid->GetSelectedCellRange(), (CCellRange{2, 2, 4, 3}));
    EXPECT_EQ(grid->GetFocusCell(), (CCellID{4, 3}));
    ClickCell(1, 1, Qt::ShiftModifier);
    EXPECT_EQ(grid->GetSelectedCellRange(), (CCellRange{1, 1, 2, 2}));
    EXPECT_EQ(grid->GetSelectionStartCell(), (CCellID{2, 2}));
}

TEST_F(GridMouse, HeadingClicksSelectColumnsRowsOrAll) {
    struct Case {
        int row, col;
        CCellRange expected;
    };
    const Case cases[] = {
        {0, 3, {1, 3, 11, 3}},  // a column heading
        {4, 0, {4, 1, 4, 5}},   // a row heading
        {0, 0, {1, 1, 11, 5}},  // the corner
    };
    for (const Case& c : cases) {
        ClickCell(c.row, c.col);
        EXPECT_EQ(grid->GetSelectedCellRange(), c.expected) << c.row << "," << c.col;
        EXPECT_FALSE(grid->GetFocusCell().IsValid());
    }
    sink.notes.clear();
    ClickCell(0, 2);
    EXPECT_EQ(sink.notes, (std::vector<Notification>{{GridNotify::SelectionChanging, 0, 2},
                                                    {GridNotify::SelectionChanged, -1, -1},
                                                    {GridNotify::Click, 0, 2}}));
}

TEST_F(GridMouse, DraggingAColumnDividerSetsTheWidth) {
    struct Case {
        int dx;  // from the divider between columns 2 and 3
        bool allowHide;
        int expected;
    };
    const Case cases[] = {
        {25, true, kCellWidth + 25},
        {-20, true, kCellWidth - 20},
        {-60, true, 0},
        {-90, true, 0},  // left of the column's own left edge
        {-90, false, 1},
    };
    for (const Case& c : cases) {
        grid->SetColumnWidth(2, kCellWidth);
        grid->SetAllowColumnHide(c.allowHide);
        Rect rect;
        grid->GetCellRect(0, 2, &rect);
        // The first pixel of column 3 is within reach of column 2's edge.
        QPoint divider(rect.left + kCellWidth, kCellHeight / 2);
        QTest::mousePress(Viewport(), Qt::LeftButton, {}, divider);
        EXPECT_EQ(grid->GetMouseMode(), GridMouseMode::SizingColumn);
        QPoint to = divider + QPoint(c.dx, 0);
        Move(to, Qt::LeftButton);
        QTest::mouseRelease(Viewport(), Qt::LeftButton, {}, to);
        EXPECT_EQ(grid->GetColumnWidth(2), c.expected) << c.dx << " " << c.allowHide;
    }
}

TEST_F(GridMouse, ANearDividerBelongsToTheColumnBefore) {
    Rect rect;
    grid->GetCellRect(0, 3, &rect);
    QPoint divider(rect.left + 1, kCellHeight / 2);
    QTest::mousePress(Viewport(), Qt::LeftButton, {}, divider);
    QTest::mouseRelease(Viewport(), Qt::LeftButton, {}, divider + QPoint(10, 0));
    EXPECT_EQ(grid->GetColumnWidth(2), kCellWidth + 11);
    EXPECT_EQ(grid->GetColumnWidth(3), kCellWidth);
}

// The ways a double click arrives: alone, after a click, and with the
// second press before it.
enum class DoubleClick { Alone, AfterClick, AfterClickAndPress };

class GridDoubleClick : public GridInputTest, public ::testing::WithParamInterface<DoubleClick> {
protected:
    void DoubleClickAt(QPoint point) {
        if (GetParam() == DoubleClick::Alone) {
            QTest::mouseDClick(Viewport(), Qt::LeftButton, {}, point);
            Send(QEvent::MouseButtonRelease, point, Qt::NoButton);
            return;
        }
        Send(QEvent::MouseButtonPress, point, Qt::LeftButton);
        Send(QEvent::MouseButtonRelease, point, Qt::NoButton);
        if (GetParam() == DoubleClick::AfterClickAndPress) Send(QEvent::MouseButtonPress, point, Qt::LeftButton);
        Send(QEvent::MouseButtonDblClick, point, Qt::LeftButton);
        Send(QEvent::MouseButtonRelease, point, Qt::NoButton);
    }
};

TEST_P(GridDoubleClick, InACellsTextItStartsAnEditAndTellsTheOwner) {
    // A click before, elsewhere, gives the alone case a click-down cell.
    ClickCell(1, 1);
    sink.notes.clear();
    DoubleClickAt(InCell(4, 3));
    ASSERT_NE(EditOf(4, 3), nullptr);
    EXPECT_EQ(editKeys, std::vector<unsigned>{GridKey::LeftButton});
    EXPECT_EQ(sink.Of(GridNotify::DoubleClick), (std::vector<Notification>{{GridNotify::DoubleClick, 4, 3}}));
    EXPECT_EQ(sink.Of(GridNotify::BeginEdit).size(), 1u);
    EXPECT_EQ(grid->GetMouseMode(), GridMouseMode::Nothing);
}

TEST_P(GridDoubleClick, OnADividerItFitsTheColumn) {
    grid->SetCellText(5, 2, "a text far wider than sixty pixels");
    Rect rect;
    grid->GetCellRect(0, 2, &rect);
    DoubleClickAt(QPoint(rect.right - 1, kCellHeight / 2));
    EXPECT_EQ(grid->GetColumnWidth(2), grid->GetCell(5, 2)->GetCellExtent(nullptr).width());
    EXPECT_EQ(EditOf(0, 2), nullptr);
}

INSTANTIATE_TEST_SUITE_P(Arrivals, GridDoubleClick,
                         ::testing::Values(DoubleClick::Alone, DoubleClick::AfterClick,
                                           DoubleClick::AfterClickAndPress));

TEST_F(GridMouse, ARightClickMovesTheFocusOrReportsNoCell) {
    QPoint outside(grid->GetVirtualWidth() + 10, 5);
    QTest::mouseClick(Viewport(), Qt::RightButton, {}, outside);
    EXPECT_EQ(sink.notes, (std::vector<Notification>{{GridNotify::RightClick, -1, -1}}));
    sink.notes.clear();
    QTest::mouseClick(Viewport(), Qt::RightButton, {}, InCell(0, 3));
    EXPECT_EQ(sink.notes, (std::vector<Notification>{{GridNotify::RightClick, 0, 3}}));
    EXPECT_EQ(grid->GetFocusCell(), (CCellID{1, 3}));
}

TEST_F(GridMouse, AReleaseOverACellIsSignalledLater) {
    int clicks = 0;
    QObject::connect(grid, &CGridCtrl::clicked, [&] { ++clicks; });
    ClickCell(2, 2);
    EXPECT_EQ(clicks, 0);
    QCoreApplication::processEvents();
    EXPECT_EQ(clicks, 1);
    Click(QPoint(grid->GetVirtualWidth() + 10, 5));
    QCoreApplication::processEvents();
    EXPECT_EQ(clicks, 1);
}

TEST_F(GridMouse, HoldingTheButtonBelowTheGridScrollsARowPerTick) {
    grid->SetRowCount(30);
    for (int row = 12; row < 30; ++row) grid->SetRowHeight(row, kCellHeight);
    QTest::mousePress(Viewport(), Qt::LeftButton, {}, InCell(2, 2));
    // Down to the last row shown, then out below.
    Move(InCell(9, 2), Qt::LeftButton);
    Move(QPoint(InCell(2, 2).x(), Viewport()->height() + 15), Qt::LeftButton);
    CCellID focus = grid->GetFocusCell();
    ASSERT_EQ(focus, (CCellID{9, 2}));
    int top = grid->GetTopLeftNonFixedCell().row;
    for (int tick = 1; tick <= 3; ++tick) {
        grid->OnTimer();
        EXPECT_EQ(grid->GetFocusCell(), (CCellID{focus.row + tick, 2}));
        EXPECT_EQ(grid->GetTopLeftNonFixedCell().row, top + tick);
        CCellRange selected = grid->GetSelectedCellRange();
        EXPECT_EQ(selected.minRow, 2);
        EXPECT_EQ(selected.maxRow, grid->GetCellFromPt(QPoint(1, Viewport()->height() - 1)).row);
    }
    QTest::mouseRelease(Viewport(), Qt::LeftButton, {}, InCell(2, 2));
    EXPECT_EQ(grid->GetMouseMode(), GridMouseMode::Nothing);
}

}  // namespace
