// Where the cells are on the screen: the top-left non-fixed cell at the
// scroll positions, the range of cells shown, cell origins and rectangles.
// Sums are walked on every use; only the top-left cell is kept.

#include <algorithm>
#include <numeric>

#include "grid_ctrl.h"
#include "grid_scroll_axis.h"

int CGridCtrl::ScrollAxis::Span(int from, int to) const {
    if (to <= from) return 0;
    return std::accumulate(sizes.begin() + from, sizes.begin() + to, 0);
}

int CGridCtrl::ScrollAxis::FirstShown(int position) const {
    int index = fixedCount;
    int sum = 0;
    while (sum < position && index < Count() - 1) sum += Size(index++);
    return index;
}

int CGridCtrl::ScrollAxis::LastShown(int first, int* end) const {
    int edge = fixedExtent;
    int index = first;
    for (; index < Count(); ++index) {
        edge += Size(index);
        if (edge >= clientExtent) break;
    }
    if (end) *end = std::min(edge, clientExtent);
    return std::min(index, Count() - 1);
}

int CGridCtrl::ScrollAxis::IndexAt(int pixel, int first) const {
    if (pixel < 0) return -1;
    int edge = 0;
    for (int index = 0; index < fixedCount; ++index) {
        edge += Size(index);
        if (pixel < edge) return index;
    }
    for (int index = first; index < Count() && edge < clientExtent; ++index) {
        edge += Size(index);
        if (pixel < edge) return index;
    }
    return -1;
}

int CGridCtrl::ScrollAxis::NextShown(int index, int step) const {
    for (index += step; index >= fixedCount && index < Count(); index += step) {
        if (Size(index) > 0) return index;
    }
    return -1;
}

CGridCtrl::ScrollAxis CGridCtrl::Axis(Qt::Orientation bar) const {
    QRect client = GetClientRect();
    if (bar == Qt::Vertical) {
        return {rowHeights_, fixedRows_, GetFixedRowHeight(), client.height(), largestVerticalPos_,
                verticalScrollBar()};
    }
    return {colWidths_, fixedCols_, GetFixedColumnWidth(), client.width(), largestHorizontalPos_,
            horizontalScrollBar()};
}

QRect CGridCtrl::GetClientRect() const { return QRect(QPoint(0, 0), maximumViewportSize()); }

CCellID CGridCtrl::GetTopLeftNonFixedCell(bool forceRecalculation) {
    if (forceRecalculation || !topLeftCell_.IsValid()) {
        topLeftCell_.row = Axis(Qt::Vertical).FirstShown(GetScrollPos32(Qt::Vertical));
        topLeftCell_.col = Axis(Qt::Horizontal).FirstShown(GetScrollPos32(Qt::Horizontal));
    }
    return topLeftCell_;
}

CCellRange CGridCtrl::GetVisibleNonFixedCellRange(Rect* rect) {
    CCellID topLeft = GetTopLeftNonFixedCell();
    int right = 0;
    int bottom = 0;
    int maxRow = Axis(Qt::Vertical).LastShown(topLeft.row, &bottom);
    int maxCol = Axis(Qt::Horizontal).LastShown(topLeft.col, &right);
    if (rect) *rect = Rect{0, 0, right, bottom};
    return {topLeft.row, topLeft.col, maxRow, maxCol};
}

bool CGridCtrl::GetCellOrigin(int row, int col, QPoint* origin) {
    if (!ValidCell(row, col)) return false;
    CCellID topLeft = GetTopLeftNonFixedCell();
    if ((col >= fixedCols_ && col < topLeft.col) || (row >= fixedRows_ && row < topLeft.row)) return false;
    auto along = [](const ScrollAxis& axis, int index, int first) {
        if (index < axis.fixedCount) return axis.Span(0, index);
        return axis.fixedExtent + axis.Span(first, index);
    };
    if (origin) {
        *origin = QPoint(along(Axis(Qt::Horizontal), col, topLeft.col), along(Axis(Qt::Vertical), row, topLeft.row));
    }
    return true;
}

bool CGridCtrl::GetCellRect(int row, int col, Rect* rect) {
    QPoint origin;
    if (!GetCellOrigin(row, col, &origin)) return false;
    if (rect) {
        *rect = Rect{origin.x(), origin.y(), origin.x() + GetColumnWidth(col) - 1,
                     origin.y() + GetRowHeight(row) - 1};
    }
    return true;
}

CCellID CGridCtrl::GetCellFromPt(QPoint point) {
    CCellID topLeft = GetTopLeftNonFixedCell();
    int row = Axis(Qt::Vertical).IndexAt(point.y(), topLeft.row);
    int col = Axis(Qt::Horizontal).IndexAt(point.x(), topLeft.col);
    if (row < 0 || col < 0) return {};
    return {row, col};
}

bool CGridCtrl::IsCellVisible(int row, int col) {
    if (!ValidCell(row, col)) return false;
    CCellRange visible = GetVisibleNonFixedCellRange();
    bool rowShown = row < fixedRows_ || (row >= visible.minRow && row <= visible.maxRow);
    bool colShown = col < fixedCols_ || (col >= visible.minCol && col <= visible.maxCol);
    return rowShown && colShown;
}
