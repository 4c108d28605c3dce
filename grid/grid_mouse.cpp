// The mouse: selecting cells, rows, columns or everything; sizing rows and
// columns at their dividers in the headings; auto-scrolling while the
// button is held past the edge; editing on a click in the focus cell's text
// or a double click; title tips over cells whose text does not fit.

#include <algorithm>

#include <QGuiApplication>
#include <QMouseEvent>

#include "grid_ctrl.h"
#include "grid_keys.h"
#include "grid_scroll_axis.h"
#include "grid_title_tip.h"

namespace {

// Pixels either side of a divider that grab it.
constexpr int kResizeCaptureRange = 3;

bool IsDividerMode(GridMouseMode mode) {
    return mode == GridMouseMode::OverColumnDivider || mode == GridMouseMode::OverRowDivider;
}

bool IsSizingMode(GridMouseMode mode) {
    return mode == GridMouseMode::SizingColumn || mode == GridMouseMode::SizingRow;
}

// Cell rectangles keep their last pixels as right and bottom edges.
bool Covers(const Rect& rect, QPoint point) {
    return point.x() >= rect.left && point.x() <= rect.right && point.y() >= rect.top && point.y() <= rect.bottom;
}

}  // namespace

void CGridCtrl::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mousePressEvent(event);
        return;
    }
    OnLButtonDown(event->position().toPoint(), event->modifiers());
}

void CGridCtrl::mouseMoveEvent(QMouseEvent* event) { OnMouseMove(event->position().toPoint(), event->buttons()); }

void CGridCtrl::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        OnLButtonUp(event->position().toPoint());
    } else if (event->button() == Qt::RightButton) {
        OnRButtonUp(event->position().toPoint());
    } else {
        QAbstractScrollArea::mouseReleaseEvent(event);
    }
}

void CGridCtrl::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mouseDoubleClickEvent(event);
        return;
    }
    OnLButtonDblClk(event->position().toPoint());
}

bool CGridCtrl::viewportEvent(QEvent* event) {
    if (event->type() == QEvent::Leave && titleTip_ &&
        !titleTip_->HoverContains(viewport()->mapFromGlobal(QCursor::pos()))) {
        HideTitleTip();
    }
    return QAbstractScrollArea::viewportEvent(event);
}

void CGridCtrl::hideEvent(QHideEvent* event) {
    HideTitleTip();
    QAbstractScrollArea::hideEvent(event);
}

void CGridCtrl::SetMouseMode(GridMouseMode mode) {
    mouseMode_ = mode;
    switch (mode) {
    case GridMouseMode::OverColumnDivider:
    case GridMouseMode::SizingColumn: viewport()->setCursor(Qt::SizeHorCursor); break;
    case GridMouseMode::OverRowDivider:
    case GridMouseMode::SizingRow: viewport()->setCursor(Qt::SizeVerCursor); break;
    case GridMouseMode::Nothing: viewport()->setCursor(Qt::ArrowCursor); break;
    default: break;
    }
}

int CGridCtrl::DividerAt(Qt::Orientation bar, QPoint point) {
    CCellID cell = GetCellFromPt(point);
    Rect rect;
    if (!GetCellRect(cell.row, cell.col, &rect)) return -1;
    bool horizontal = bar == Qt::Horizontal;
    ScrollAxis axis = Axis(bar);
    int index = horizontal ? cell.col : cell.row;
    int pixel = horizontal ? point.x() : point.y();
    int nearEdge = horizontal ? rect.left : rect.top;
    int farEdge = (horizontal ? rect.right : rect.bottom) + 1;
    CCellID topLeft = GetTopLeftNonFixedCell();
    int firstShown = horizontal ? topLeft.col : topLeft.row;
    // The one shown just before: the last fixed one when those between are
    // scrolled out.
    auto shownBefore = [&](int i) {
        --i;
        return i >= axis.fixedCount && i < firstShown ? axis.fixedCount - 1 : i;
    };
    if (pixel - nearEdge <= kResizeCaptureRange && index > 0) {
        index = shownBefore(index);
    } else if (farEdge - pixel > kResizeCaptureRange) {
        return -1;
    }
    bool grabHidden = horizontal ? grabHiddenColumns_ : grabHiddenRows_;
    while (!grabHidden && index > 0 && axis.Size(index) == 0) index = shownBefore(index);
    return index;
}

bool CGridCtrl::OverColumnDivider(QPoint point) {
    return columnResize_ && point.y() < GetFixedRowHeight() && DividerAt(Qt::Horizontal, point) >= 0;
}

bool CGridCtrl::OverRowDivider(QPoint point) {
    return rowResize_ && point.x() < GetFixedColumnWidth() && DividerAt(Qt::Vertical, point) >= 0;
}

void CGridCtrl::UpdateHoverMode(QPoint point) {
    if (OverColumnDivider(point)) {
        SetMouseMode(GridMouseMode::OverColumnDivider);
    } else if (OverRowDivider(point)) {
        SetMouseMode(GridMouseMode::OverRowDivider);
    } else if (mouseMode_ != GridMouseMode::Nothing) {
        SetMouseMode(GridMouseMode::Nothing);
    }
}

void CGridCtrl::OnLButtonDown(QPoint point, Qt::KeyboardModifiers modifiers) {
    modeBeforePress_ = mouseMode_;
    HideTitleTip();
    setFocus(Qt::MouseFocusReason);
    lastMousePoint_ = point;
    CCellID cell = GetCellFromPt(point);
    // A click outside the cells leaves no cell for the release to report.
    leftClickDownCell_ = cell;
    if (!cell.IsValid()) return;
    leftButtonDown_ = true;
    leftButtonDownPoint_ = point;
    bool ctrl = modifiers & Qt::ControlModifier;
    if (!(modifiers & Qt::ShiftModifier)) {
        selectionStartCell_ = cell;
    } else if (!selectionStartCell_.IsValid()) {
        selectionStartCell_ = focusCell_;
    }
    EndEditing();

    CGridCellBase* clicked = GetCell(cell.row, cell.col);
    Rect rect;
    GetCellRect(cell.row, cell.col, &rect);
    clicked->OnClickDown(point - QPoint(rect.left, rect.top));
    Rect textRect = rect;
    bool inText = clicked->GetTextRect(&textRect) && Covers(textRect, point);
    if (cell == focusCell_ && !ctrl && inText && IsCellEditable(cell.row, cell.col)) {
        SetMouseMode(GridMouseMode::PrepareEdit);
        return;
    }
    if (IsCellSelected(cell.row, cell.col)) {
        if (ctrl) {
            SetFocusCell(cell.row, cell.col);
            if (listMode_) {
                SelectRows(cell, false);
            } else {
                SelectCells(cell, false);
            }
            return;
        }
        if (dragAndDrop_) SetMouseMode(GridMouseMode::PrepareDrag);
    } else if (!IsDividerMode(mouseMode_)) {
        bool fixed = cell.row < fixedRows_ || cell.col < fixedCols_;
        SetFocusCell(fixed ? -1 : cell.row, fixed ? -1 : cell.col);
    }

    if (mouseMode_ == GridMouseMode::Nothing) UpdateHoverMode(point);
    if (mouseMode_ == GridMouseMode::OverColumnDivider) return BeginSizing(Qt::Horizontal, point);
    if (mouseMode_ == GridMouseMode::OverRowDivider) return BeginSizing(Qt::Vertical, point);
    if (mouseMode_ == GridMouseMode::PrepareDrag) return;

    SendNotify(GridNotify::SelectionChanging, cell.row, cell.col);
    previousSelectedCells_.clear();
    if (ctrl) previousSelectedCells_ = selectedCells_;
    if (cell.row < fixedRows_) {
        OnFixedRowClick(cell);
    } else if (cell.col < fixedCols_) {
        OnFixedColumnClick(cell);
    } else {
        SetMouseMode(listMode_ ? GridMouseMode::SelectRows : GridMouseMode::SelectCells);
        OnSelecting(cell);
        autoScrollTimer_.start();
    }
}

void CGridCtrl::OnFixedRowClick(CCellID cell) {
    if (headerSort_) {
        bool ascending = !(cell.col == sortColumn_ && sortAscending_);
        SortItems(nullptr, cell.col, ascending);
        Refresh();
    }
    if (fixedRowSelection_) {
        SetMouseMode(cell.col < fixedCols_ ? GridMouseMode::SelectAll : GridMouseMode::SelectColumns);
        OnSelecting(cell);
    }
}

void CGridCtrl::OnFixedColumnClick(CCellID cell) {
    if (!fixedColumnSelection_) return;
    SetMouseMode(cell.row < fixedRows_ ? GridMouseMode::SelectAll : GridMouseMode::SelectRows);
    OnSelecting(cell);
}

void CGridCtrl::BeginSizing(Qt::Orientation bar, QPoint point) {
    bool horizontal = bar == Qt::Horizontal;
    CCellID cell = GetCellFromPt(point);
    int index = DividerAt(bar, point);
    QPoint origin;
    bool found = index >= 0 && (horizontal ? GetCellOrigin(cell.row, index, &origin)
                                           : GetCellOrigin(index, cell.col, &origin));
    if (!found) {
        SetMouseMode(GridMouseMode::Nothing);
        return;
    }
    sizingIndex_ = index;
    sizingStart_ = horizontal ? origin.x() : origin.y();
    SetMouseMode(horizontal ? GridMouseMode::SizingColumn : GridMouseMode::SizingRow);
    bandPosition_ = ClampedBandPosition(point);
    viewport()->update(BandRect());
}

int CGridCtrl::ClampedBandPosition(QPoint point) const {
    QRect client = GetClientRect();
    if (mouseMode_ == GridMouseMode::SizingColumn) {
        return std::clamp(point.x(), sizingStart_,
                          std::max(sizingStart_, client.width() + sizingStart_ - GetFixedColumnWidth() + 1));
    }
    return std::clamp(point.y(), sizingStart_,
                      std::max(sizingStart_, client.height() + sizingStart_ - GetFixedRowHeight() + 1));
}

QRect CGridCtrl::BandRect() const {
    QRect client = GetClientRect();
    if (mouseMode_ == GridMouseMode::SizingColumn) return QRect(bandPosition_ - 1, 0, 2, client.height());
    return QRect(0, bandPosition_ - 1, client.width(), 2);
}

void CGridCtrl::MoveBand(QPoint point) {
    viewport()->update(BandRect());
    bandPosition_ = ClampedBandPosition(point);
    viewport()->update(BandRect());
}

void CGridCtrl::EndSizing(QPoint point) {
    viewport()->update(BandRect());
    if (point == leftButtonDownPoint_) return;
    bool column = mouseMode_ == GridMouseMode::SizingColumn;
    int size = ClampedBandPosition(point) - sizingStart_;
    // Down to 0 hides the row or column, where that is allowed.
    size = std::max(size, (column ? allowColumnHide_ : allowRowHide_) ? 0 : 1);
    if (column) {
        SetColumnWidth(sizingIndex_, size);
    } else {
        SetRowHeight(sizingIndex_, size);
    }
    ResetScrollBars();
    Refresh();
}

void CGridCtrl::OnMouseMove(QPoint point, Qt::MouseButtons buttons) {
    lastMousePoint_ = point;
    if (titleTip_ && titleTip_->isVisible() && !titleTip_->HoverContains(point)) HideTitleTip();
    if (!GetClientRect().contains(point) && mouseMode_ != GridMouseMode::Dragging) return;

    if (leftButtonDown_ && (buttons & Qt::LeftButton) && mouseMode_ != GridMouseMode::Nothing &&
        leftClickDownCell_.IsValid()) {
        switch (mouseMode_) {
        case GridMouseMode::SelectColumns:
        case GridMouseMode::SelectRows:
        case GridMouseMode::SelectCells: {
            CCellID cell = GetCellFromPt(point);
            if (cell.IsValid() && cell != focusCell_) {
                OnSelecting(cell);
                SetFocusCell(cell.row, cell.col);
            }
            break;
        }
        case GridMouseMode::SizingColumn:
        case GridMouseMode::SizingRow: MoveBand(point); break;
        case GridMouseMode::PrepareEdit:
        case GridMouseMode::PrepareDrag:
            SetMouseMode(GridMouseMode::PrepareDrag);
            OnBeginDrag();
            break;
        default: break;
        }
        return;
    }

    UpdateHoverMode(point);
    if (mouseMode_ != GridMouseMode::Nothing) return;
    CCellID cell = GetCellFromPt(point);
    CGridCellBase* hovered = GetCell(cell.row, cell.col);
    if (!hovered) return;
    hovered->OnMouseOver();
    hovered->OnSetCursor(viewport());
    if (titleTips_) ShowTitleTip(point);
}

void CGridCtrl::ShowTitleTip(QPoint point) {
    CCellID cell = GetCellFromPt(point);
    CGridCellBase* hovered = GetCell(cell.row, cell.col);
    Rect rect;
    if (!hovered || !GetCellRect(cell.row, cell.col, &rect)) return;
    QString text = hovered->GetTipText();
    Rect tipRect = rect;
    if (text.isEmpty() || hovered->IsEditing() || !hovered->GetTipTextRect(&tipRect)) return;
    if (!titleTip_) titleTip_ = new CTitleTip(viewport());
    titleTip_->Show(tipRect, text, 0, &rect, hovered->GetFont(), titleTipTextColour_, titleTipBackColour_);
}

void CGridCtrl::HideTitleTip() {
    if (titleTip_) titleTip_->Hide();
}

void CGridCtrl::OnLButtonUp(QPoint point) {
    leftButtonDown_ = false;
    autoScrollTimer_.stop();
    CCellID focus = focusCell_;
    QPoint origin;
    GetCellOrigin(focus.row, focus.col, &origin);
    auto click = [&] {
        if (CGridCellBase* cell = GetCell(focus.row, focus.col)) cell->OnClick(point - origin);
        SendNotify(GridNotify::Click, leftClickDownCell_.row, leftClickDownCell_.col);
    };
    switch (mouseMode_) {
    case GridMouseMode::PrepareEdit: OnEditCell(focus.row, focus.col, point - origin, GridKey::LeftButton); break;
    case GridMouseMode::PrepareDrag:
        // Released without dragging: the click drops the selection.
        click();
        SendNotify(GridNotify::SelectionChanging, leftClickDownCell_.row, leftClickDownCell_.col);
        ResetSelectedRange();
        SendNotify(GridNotify::SelectionChanged, focusCell_.row, focusCell_.col);
        break;
    case GridMouseMode::SizingColumn:
    case GridMouseMode::SizingRow: EndSizing(point); break;
    default:
        SendNotify(GridNotify::SelectionChanged, focus.row, focus.col);
        click();
        break;
    }
    SetMouseMode(GridMouseMode::Nothing);
    // The point may rest on a divider again, as a move there would show.
    UpdateHoverMode(point);
    if (leftClickDownCell_.IsValid()) QMetaObject::invokeMethod(this, [this] { emit clicked(); }, Qt::QueuedConnection);
}

void CGridCtrl::OnLButtonDblClk(QPoint point) {
    if (leftButtonDown_) {
        // The press just before was the double click's own: it stands for it.
        leftButtonDown_ = false;
        autoScrollTimer_.stop();
        if (IsSizingMode(mouseMode_)) viewport()->update(BandRect());
        SetMouseMode(modeBeforePress_);
    }
    CCellID cell = GetCellFromPt(point);
    if (!cell.IsValid()) return;
    if (mouseMode_ == GridMouseMode::Nothing) UpdateHoverMode(point);

    if (mouseMode_ == GridMouseMode::OverColumnDivider) {
        AutoSizeColumn(DividerAt(Qt::Horizontal, point));
        Refresh();
    } else if (mouseMode_ == GridMouseMode::OverRowDivider) {
        AutoSizeRow(DividerAt(Qt::Vertical, point));
        Refresh();
    } else if (mouseMode_ == GridMouseMode::Nothing) {
        CGridCellBase* clicked = GetCell(cell.row, cell.col);
        Rect rect;
        GetCellRect(cell.row, cell.col, &rect);
        QPoint inCell = point - QPoint(rect.left, rect.top);
        Rect textRect = rect;
        bool inText = clicked->GetTextRect(&textRect) && Covers(textRect, point);
        bool fixed = cell.row < fixedRows_ || cell.col < fixedCols_;
        if (!fixed && inText && (leftClickDownCell_.IsValid() || listMode_)) {
            OnEditCell(cell.row, cell.col, inCell, GridKey::LeftButton);
        }
        clicked->OnDblClick(inCell);
        SendNotify(GridNotify::DoubleClick, cell.row, cell.col);
    }
}

void CGridCtrl::OnRButtonUp(QPoint point) {
    CCellID cell = GetCellFromPt(point);
    EndEditing();
    if (!cell.IsValid()) {
        SendNotify(GridNotify::RightClick, -1, -1);
        return;
    }
    SetFocusCell(cell.row, cell.col);
    Rect rect;
    GetCellRect(cell.row, cell.col, &rect);
    GetCell(cell.row, cell.col)->OnRClick(point - QPoint(rect.left, rect.top));
    SendNotify(GridNotify::RightClick, cell.row, cell.col);
}

void CGridCtrl::OnTimer() {
    // The release went to another window (a popup took the mouse).
    if (!(QGuiApplication::mouseButtons() & Qt::LeftButton)) {
        autoScrollTimer_.stop();
        leftButtonDown_ = false;
        SetMouseMode(GridMouseMode::Nothing);
        return;
    }
    QRect client = GetClientRect();
    QPoint point = lastMousePoint_;
    int x = std::clamp(point.x(), 0, std::max(0, client.width() - 1));
    int y = std::clamp(point.y(), 0, std::max(0, client.height() - 1));
    int fixedHeight = GetFixedRowHeight();
    int fixedWidth = GetFixedColumnWidth();
    if (point.y() >= client.height()) {
        OnKeyDown(GridKey::Down, {});
        OnSelecting(GetCellFromPt(QPoint(x, client.height() - 1)));
    } else if (point.y() < fixedHeight) {
        OnKeyDown(GridKey::Up, {});
        OnSelecting(GetCellFromPt(QPoint(x, fixedHeight + 1)));
    }
    if (point.x() >= client.width()) {
        OnKeyDown(GridKey::Right, {});
        OnSelecting(GetCellFromPt(QPoint(client.width() - 1, y)));
    } else if (point.x() < fixedWidth) {
        OnKeyDown(GridKey::Left, {});
        OnSelecting(GetCellFromPt(QPoint(fixedWidth + 1, y)));
    }
}
