// The scroll bars over the non-fixed area: shown when the table is larger
// than the room left by the fixed rows and columns, with pixel positions.

#include <QScrollBar>

#include "grid_ctrl.h"

void CGridCtrl::ResetScrollBars() {
    // Whatever changed the table may have moved the top-left cell, drawing
    // or not.
    topLeftCell_ = CCellID{};
    if (!allowDraw_) return;
    // The room as if no bar were shown, so that the decision does not
    // depend on the bars' present state.
    QSize room = maximumViewportSize();
    if (verticalScrollBarPolicy() == Qt::ScrollBarAlwaysOn) {
        room.rwidth() += verticalScrollBar()->sizeHint().width();
    }
    if (horizontalScrollBarPolicy() == Qt::ScrollBarAlwaysOn) {
        room.rheight() += horizontalScrollBar()->sizeHint().height();
    }
    if (room.isEmpty()) return;
    int width = room.width() - GetFixedColumnWidth();
    int height = room.height() - GetFixedRowHeight();
    int contentWidth = GetVirtualWidth() - GetFixedColumnWidth();
    int contentHeight = GetVirtualHeight() - GetFixedRowHeight();
    bool vertical = false;
    bool horizontal = false;
    if (width > 0 && height > 0) {
        vertical = height < contentHeight;
        if (vertical) width -= verticalScrollBar()->sizeHint().width();
        horizontal = width < contentWidth;
        if (horizontal) height -= horizontalScrollBar()->sizeHint().height();
    }
    setVerticalScrollBarPolicy(vertical ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    setHorizontalScrollBarPolicy(horizontal ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    largestHorizontalPos_ = horizontal ? contentWidth - 1 : 0;
    largestVerticalPos_ = vertical ? contentHeight - 1 : 0;
    // A bar's position runs up to the content less the page it shows.
    horizontalScrollBar()->setRange(0, horizontal ? contentWidth - width : 0);
    horizontalScrollBar()->setPageStep(horizontal ? width : 0);
    verticalScrollBar()->setRange(0, vertical ? contentHeight - height : 0);
    verticalScrollBar()->setPageStep(vertical ? height : 0);
    // A shown bar that cannot move stays in view, greyed.
    verticalScrollBar()->setEnabled(verticalScrollBar()->maximum() > 0);
}
