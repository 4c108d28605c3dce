#include <QDragEnterEvent>
#include <QDragLeaveEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QMimeData>

#include "grid_input_fixture.h"

namespace {

constexpr Qt::DropActions kCopyOrMove = Qt::CopyAction | Qt::MoveAction;

// Drags of text over the grid, sent to its viewport as the window system
// would deliver them.
class GridDragDrop : public GridInputTest {
protected:
    void SetUp() override {
        GridInputTest::SetUp();
        grid->EnableDragAndDrop(true);
        text.setText("p\tq");
    }
    bool Highlighted(int row, int col) const {
        return grid->GetCellState(row, col) & GridCellState::DropHighlighted;
    }
    void SetReadOnly(int row, int col) {
        grid->SetItemState(row, col, grid->GetCellState(row, col) | GridCellState::ReadOnly);
    }
    // The action the grid answered with; IgnoreAction when it refused.
    Qt::DropAction Enter(QPoint point, Qt::KeyboardModifiers keys = {}) {
        QDragEnterEvent event(point, kCopyOrMove, &text, Qt::LeftButton, keys);
        QApplication::sendEvent(Viewport(), &event);
        return event.isAccepted() ? event.dropAction() : Qt::IgnoreAction;
    }
    Qt::DropAction Over(QPoint point, Qt::KeyboardModifiers keys = {}) {
        QDragMoveEvent event(point, kCopyOrMove, &text, Qt::LeftButton, keys);
        QApplication::sendEvent(Viewport(), &event);
        return event.isAccepted() ? event.dropAction() : Qt::IgnoreAction;
    }
    void Leave() {
        QDragLeaveEvent event;
        QApplication::sendEvent(Viewport(), &event);
    }
    Qt::DropAction Drop(QPoint point, Qt::KeyboardModifiers keys = {}) {
        QDropEvent event(point, kCopyOrMove, &text, Qt::LeftButton, keys);
        QApplication::sendEvent(Viewport(), &event);
        return event.isAccepted() ? event.dropAction() : Qt::IgnoreAction;
    }
    // Presses on a selected cell and moves: the drag starts.
    void DragFrom(int row, int col) {
        Send(QEvent::MouseButtonPress, InCell(row, col), Qt::LeftButton);
        ASSERT_EQ(grid->GetMouseMode(), GridMouseMode::PrepareDrag);
        Move(InCell(row, col, 5), Qt::LeftButton);
    }

    QMimeData text;
};

TEST_F(GridDragDrop, TheCellUnderADragIsHighlightedWhileItCouldTakeTheDrop) {
    EXPECT_EQ(Enter(InCell(3, 3)), Qt::MoveAction);
    EXPECT_TRUE(Highlighted(3, 3));
    EXPECT_EQ(Over(InCell(4, 4), Qt::ControlModifier), Qt::CopyAction);
    EXPECT_FALSE(Highlighted(3, 3));
    EXPECT_TRUE(Highlighted(4, 4));

    // A read-only cell refuses; a heading or the space beyond the cells
    // ends the highlight.
    SetReadOnly(5, 5);
    EXPECT_EQ(Over(InCell(5, 5)), Qt::IgnoreAction);
    EXPECT_FALSE(Highlighted(5, 5));
    EXPECT_EQ(Over(InCell(0, 4)), Qt::IgnoreAction);
    EXPECT_FALSE(Highlighted(4, 4));
    EXPECT_EQ(Over(InCell(2, 2)), Qt::MoveAction);
    Leave();
    EXPECT_FALSE(Highlighted(2, 2));

    EXPECT_EQ(Enter(InCell(5, 5), Qt::ControlModifier), Qt::IgnoreAction);
    EXPECT_FALSE(Highlighted(5, 5));

    // Nothing is taken without drag and drop, or without text.
    grid->EnableDragAndDrop(false);
    EXPECT_EQ(Enter(InCell(3, 3)), Qt::IgnoreAction);
    grid->EnableDragAndDrop(true);
    text.setHtml("<b>x</b>");
    text.removeFormat("text/plain");
    EXPECT_EQ(Enter(InCell(3, 3)), Qt::IgnoreAction);
}

TEST_F(GridDragDrop, ADropPastesAtTheCellAndEndsTheSelection) {
    grid->SetSelectedRange(6, 1, 7, 2);
    ASSERT_EQ(Enter(InCell(3, 3)), Qt::MoveAction);
    EXPECT_EQ(Drop(InCell(3, 3)), Qt::MoveAction);
    EXPECT_EQ(grid->GetCellText(3, 3), "p");
    EXPECT_EQ(grid->GetCellText(3, 4), "q");
    EXPECT_FALSE(Highlighted(3, 3));
    EXPECT_EQ(grid->GetSelectedCellRange(), (CCellRange{}));

    ASSERT_EQ(Enter(InCell(5, 1)), Qt::MoveAction);
    EXPECT_EQ(Drop(InCell(5, 1), Qt::ControlModifier), Qt::CopyAction);
    EXPECT_EQ(grid->GetCellText(5, 1), "p");

    SetReadOnly(4, 4);
    Enter(InCell(4, 4));
    EXPECT_EQ(Drop(InCell(4, 4)), Qt::IgnoreAction);
    EXPECT_EQ(grid->GetCellText(4, 4), "4,4");
}

TEST_F(GridDragDrop, DraggingTheSelectionOutCopiesOrMovesItsTexts) {
    struct Case {
        const char* name;
        DropEffect answer;
        QString left;  // what the dragged cells hold afterwards
    };
    const Case cases[] = {{"copied", DropEffect::Copy, "2,2"}, {"moved", DropEffect::Move, ""},
                          {"refused", DropEffect::None, "2,2"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        grid->SetCellText(2, 2, "2,2");
        grid->SetCellText(2, 3, "2,3");
        grid->SetSelectedRange(2, 2, 2, 3);
        sink.notes.clear();
        QByteArray dragged;
        GridMouseMode modeInDrag = GridMouseMode::Nothing;
        grid->SetDragLoop([&](std::unique_ptr<QMimeData> data) {
            dragged = data->data("text/plain");
            modeInDrag = grid->GetMouseMode();
            return c.answer;
        });
        DragFrom(2, 3);
        EXPECT_EQ(dragged, "2,2\t2,3");
        EXPECT_EQ(modeInDrag, GridMouseMode::Dragging);
        EXPECT_EQ(sink.Of(GridNotify::BeginDrag), (std::vector<Notification>{{GridNotify::BeginDrag, 2, 2}}));
        EXPECT_EQ(grid->GetMouseMode(), GridMouseMode::Nothing);
        EXPECT_EQ(grid->GetCellText(2, 2), c.left);
        EXPECT_EQ(grid->GetCellText(2, 3), c.left.isEmpty() ? "" : "2,3");
    }
}

TEST_F(GridDragDrop, AMoveOntoTheSameGridLeavesTheDraggedTexts) {
    grid->SetCellText(2, 2, "a");
    grid->SetCellText(2, 3, "b");
    grid->SetSelectedRange(2, 2, 2, 3);
    grid->SetDragLoop([&](std::unique_ptr<QMimeData> data) {
        text.setData("text/plain", data->data("text/plain"));
        Enter(InCell(6, 2));
        return Drop(InCell(6, 2)) == Qt::MoveAction ? DropEffect::Move : DropEffect::None;
    });
    DragFrom(2, 2);
    EXPECT_EQ(grid->GetCellText(6, 2), "a");
    EXPECT_EQ(grid->GetCellText(6, 3), "b");
    EXPECT_EQ(grid->GetCellText(2, 2), "a");
    EXPECT_EQ(grid->GetCellText(2, 3), "b");
}

}  // namespace
