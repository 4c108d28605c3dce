// The focus cell and the selected cells as the table operations keep them:
// each selected cell carries the selected bit and is in the selected-cells
// set, and the focus cell carries the focus bit.

#include "grid_ctrl.h"

bool CGridCtrl::SetItemState(int row, int col, unsigned state) {
    CGridCellBase* cell = GetCell(row, col);
    if (!cell) return false;
    CCellID id{row, col};
    if (state & GridCellState::Selected) {
        selectedCells_.insert(id);
    } else {
        selectedCells_.erase(id);
    }
    cell->SetState(state);
    return true;
}

bool CGridCtrl::IsCellSelected(int row, int col) const { return selectedCells_.contains(CCellID{row, col}); }

CCellID CGridCtrl::SetFocusCell(int row, int col) {
    CCellID previous = focusCell_;
    if (row != -1 && row < fixedRows_) row = fixedRows_;
    if (col != -1 && col < fixedCols_) col = fixedCols_;
    CCellID focus{row, col};
    if (focus == previous) return previous;
    if (CGridCellBase* cell = GetCell(previous.row, previous.col)) {
        cell->SetState(cell->GetState() & ~GridCellState::Focused);
    }
    focusCell_ = focus;
    if (CGridCellBase* cell = GetCell(focus.row, focus.col)) {
        cell->SetState(cell->GetState() | GridCellState::Focused);
    }
    Refresh();
    return previous;
}

void CGridCtrl::ResetSelectedRange() {
    previousSelectedCells_.clear();
    while (!selectedCells_.empty()) {
        CCellID id = *selectedCells_.begin();
        selectedCells_.erase(selectedCells_.begin());
        if (CGridCellBase* cell = GetCell(id.row, id.col)) {
            cell->SetState(cell->GetState() & ~GridCellState::Selected);
        }
    }
    SetFocusCell(-1, -1);
    Refresh();
}

void CGridCtrl::ForgetCellsBeyond(int rows, int cols) {
    auto beyond = [&](const CCellID& id) { return id.row >= rows || id.col >= cols; };
    std::erase_if(selectedCells_, beyond);
    std::erase_if(previousSelectedCells_, beyond);
}
