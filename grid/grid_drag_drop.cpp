// Dragging the selected texts out of the grid, and dropping text onto its
// cells. The cell a drop would land on carries the drop-highlight bit while
// the drag is over it. A move clears the dragged cells once the drop is done;
// dropped back onto this grid they stay, since the drop's paste has already
// ended the selection that the clearing works on.

#include <QDrag>
#include <QMimeData>

#include "grid_ctrl.h"

DropEffect CGridCtrl::RunDrag(std::unique_ptr<QMimeData> data) {
    if (dragLoop_) return dragLoop_(std::move(data));
    // Qt deletes the drag once it is over.
    auto* drag = new QDrag(viewport());
    drag->setMimeData(data.release());
    return DropEffectOf(drag->exec(Qt::CopyAction | Qt::MoveAction, Qt::MoveAction));
}

void CGridCtrl::OnBeginDrag() {
    if (!dragAndDrop_) return;
    std::unique_ptr<QMimeData> data = CopyTextFromGrid();
    if (!data) return;
    CCellRange range = GetSelectedCellRange();
    SendNotify(GridNotify::BeginDrag, range.minRow, range.minCol);
    SetMouseMode(GridMouseMode::Dragging);
    leftButtonDown_ = false;
    DropEffect effect = RunDrag(std::move(data));
    // The drag held the mouse: the release went to it, and it is over.
    autoScrollTimer_.stop();
    SetMouseMode(GridMouseMode::Nothing);
    if (effect == DropEffect::Move) CutSelectedText();
}

void CGridCtrl::SetDropHighlight(CCellID id, bool on) {
    CGridCellBase* cell = GetCell(id.row, id.col);
    if (!cell) return;
    unsigned state = cell->GetState();
    cell->SetState(on ? state | GridCellState::DropHighlighted : state & ~GridCellState::DropHighlighted);
    RedrawCell(id.row, id.col);
}

CCellID CGridCtrl::NonFixedCellFromPt(QPoint point) {
    CCellID cell = GetCellFromPt(point);
    if (cell.row < fixedRows_ || cell.col < fixedCols_) return {};
    return cell;
}

DropEffect CGridCtrl::OnDragEnter(const QMimeData* data, Qt::KeyboardModifiers keys, QPoint point) {
    if (!data || !data->hasText() || !dragAndDrop_) return DropEffect::None;
    lastDragOverCell_ = NonFixedCellFromPt(point);
    if (!IsCellEditable(lastDragOverCell_.row, lastDragOverCell_.col)) return DropEffect::None;
    SetDropHighlight(lastDragOverCell_, true);
    return DropEffectFor(keys);
}

DropEffect CGridCtrl::OnDragOver(const QMimeData* data, Qt::KeyboardModifiers keys, QPoint point) {
    if (!data || !data->hasText() || !dragAndDrop_ || !editable_) return DropEffect::None;
    CCellID cell = NonFixedCellFromPt(point);
    if (!cell.IsValid()) {
        OnDragLeave();
        lastDragOverCell_ = {};
        return DropEffect::None;
    }
    if (!IsCellEditable(cell.row, cell.col)) return DropEffect::None;
    if (cell != lastDragOverCell_) {
        SetDropHighlight(lastDragOverCell_, false);
        lastDragOverCell_ = cell;
        SetDropHighlight(cell, true);
    }
    return DropEffectFor(keys);
}

void CGridCtrl::OnDragLeave() { SetDropHighlight(lastDragOverCell_, false); }

bool CGridCtrl::OnDrop(const QMimeData* data, DropEffect /*effect*/, QPoint /*point*/) {
    SetMouseMode(GridMouseMode::Nothing);
    CGridCellBase* cell = GetCell(lastDragOverCell_.row, lastDragOverCell_.col);
    if (!dragAndDrop_ || !editable_ || !cell || cell->IsReadOnly()) return false;
    OnDragLeave();
    return PasteTextToGrid(lastDragOverCell_.row, lastDragOverCell_.col, data, false);
}
