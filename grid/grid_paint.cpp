// Painting: the background areas, the fixed and the scrolling cells, the
// grid lines. Only the viewport's paint event paints; the redraw operations
// mark pixels for it. Qt buffers the viewport, so the paint never flickers.

#include <vector>

#include <QPaintEvent>
#include <QPainter>

#include "grid_ctrl.h"
#include "grid_text_format.h"
#include "qt_colors.h"

namespace {

// A row or column on the screen: its index, first pixel and size.
struct Strip {
    int index;
    int start;
    int size;
};

// The rows (columns) [from, to] that have a size and meet the clip's
// [low, high] pixels, laid out from `start`.
std::vector<Strip> StripsIn(const std::vector<int>& sizes, int from, int to, int start, int low, int high) {
    std::vector<Strip> strips;
    for (int index = from; index <= to; ++index) {
        int size = sizes[static_cast<std::size_t>(index)];
        int first = start;
        start += size;
        if (size == 0 || first + size - 1 < low) continue;
        if (first > high) break;
        strips.push_back({index, first, size});
    }
    return strips;
}

// Fills [left, right) x [top, bottom) where it meets the clip.
void FillWithin(QPainter& painter, const QRect& clip, const Rect& r, const QColor& colour) {
    QRect area = PixelsOf(r).intersected(clip);
    if (!area.isEmpty()) painter.fillRect(area, colour);
}

}  // namespace

void CGridCtrl::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    OnDraw(painter, event->rect());
    if (mouseMode_ == GridMouseMode::SizingColumn || mouseMode_ == GridMouseMode::SizingRow) {
        // The band shows inverted whatever it crosses.
        painter.setCompositionMode(QPainter::CompositionMode_Difference);
        painter.fillRect(BandRect(), Qt::white);
    }
}

void CGridCtrl::OnDraw(QPainter& painter, const QRect& clip) {
    if (!allowDraw_ || clip.isEmpty()) return;
    EraseBackground(painter, clip);
    Rect visibleRect;
    CCellRange visible = GetVisibleNonFixedCellRange(&visibleRect);
    DrawCells(painter, clip, visible);
    DrawGridLines(painter, visible, visibleRect);
}

void CGridCtrl::EraseBackground(QPainter& painter, const QRect& clip) {
    Rect visible;
    GetVisibleNonFixedCellRange(&visible);
    int fixedWidth = GetFixedColumnWidth();
    int fixedHeight = GetFixedRowHeight();
    auto back = [&](bool fixedRow, bool fixedCol) {
        return ToQColor(GetDefaultCell(fixedRow, fixedCol)->GetBackColour());
    };
    QColor surround = ToQColor(surroundColour_);
    int clipRight = clip.left() + clip.width();
    int clipBottom = clip.top() + clip.height();

    FillWithin(painter, clip, {clip.left(), clip.top(), fixedWidth, fixedHeight}, back(true, true));
    FillWithin(painter, clip, {clip.left(), fixedHeight, fixedWidth, visible.bottom}, back(false, true));
    // The fixed rows' fill starts a pixel early, over the corner's last column.
    FillWithin(painter, clip, {fixedWidth - 1, clip.top(), visible.right, fixedHeight}, back(true, false));
    FillWithin(painter, clip, {fixedWidth, fixedHeight, visible.right, visible.bottom}, back(false, false));
    FillWithin(painter, clip, {visible.right, clip.top(), clipRight, clipBottom}, surround);
    FillWithin(painter, clip, {clip.left(), visible.bottom, visible.right, clipBottom}, surround);
}

void CGridCtrl::DrawCells(QPainter& painter, const QRect& clip, const CCellRange& visible) {
    int fixedWidth = GetFixedColumnWidth();
    int fixedHeight = GetFixedRowHeight();
    std::vector<Strip> fixedRows = StripsIn(rowHeights_, 0, fixedRows_ - 1, 0, clip.top(), clip.bottom());
    std::vector<Strip> fixedCols = StripsIn(colWidths_, 0, fixedCols_ - 1, 0, clip.left(), clip.right());
    std::vector<Strip> rows =
        StripsIn(rowHeights_, visible.minRow, visible.maxRow, fixedHeight, clip.top(), clip.bottom());
    std::vector<Strip> cols =
        StripsIn(colWidths_, visible.minCol, visible.maxCol, fixedWidth, clip.left(), clip.right());

    auto draw = [&](const std::vector<Strip>& rowStrips, const std::vector<Strip>& colStrips) {
        for (const Strip& row : rowStrips) {
            for (const Strip& col : colStrips) {
                CGridCellBase* cell = GetCell(row.index, col.index);
                if (!cell) continue;
                cell->SetCoords(row.index, col.index);
                Rect rect{col.start, row.start, col.start + col.size - 1, row.start + row.size - 1};
                cell->Draw(&painter, row.index, col.index, rect, false);
            }
        }
    };
    draw(fixedRows, fixedCols);
    draw(rows, fixedCols);
    draw(fixedRows, cols);
    draw(rows, cols);
}

void CGridCtrl::DrawGridLines(QPainter& painter, const CCellRange& visible, const Rect& visibleRect) {
    QColor colour = ToQColor(gridLineColour_);
    int fixedWidth = GetFixedColumnWidth();
    int fixedHeight = GetFixedRowHeight();
    auto lines = static_cast<unsigned>(gridLines_);
    if (lines & static_cast<unsigned>(GridLines::Vertical)) {
        int x = fixedWidth;
        for (int col = visible.minCol; col <= visible.maxCol; ++col) {
            x += GetColumnWidth(col);
            if (visibleRect.bottom > fixedHeight) {
                painter.fillRect(QRect(x - 1, fixedHeight, 1, visibleRect.bottom - fixedHeight), colour);
            }
        }
    }
    if (lines & static_cast<unsigned>(GridLines::Horizontal)) {
        int y = fixedHeight;
        for (int row = visible.minRow; row <= visible.maxRow; ++row) {
            y += GetRowHeight(row);
            if (visibleRect.right > fixedWidth) {
                painter.fillRect(QRect(fixedWidth, y - 1, visibleRect.right - fixedWidth, 1), colour);
            }
        }
    }
}

bool CGridCtrl::RedrawCell(int row, int col) {
    if (!allowDraw_ || !IsCellVisible(row, col)) return false;
    return InvalidateCellRect(row, col);
}

bool CGridCtrl::RedrawRow(int row) {
    bool all = true;
    for (int col = 0; col < GetColumnCount(); ++col) all = RedrawCell(row, col) && all;
    return all;
}

bool CGridCtrl::InvalidateCellRect(int row, int col) {
    Rect rect;
    if (!GetCellRect(row, col, &rect)) return false;
    // The grid lines on the cell's right and bottom edges go with it.
    viewport()->update(QRect(rect.left, rect.top, rect.right - rect.left + 2, rect.bottom - rect.top + 2));
    return true;
}
