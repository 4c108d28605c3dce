// The focus cell and the selected cells: each selected cell carries the
// selected bit and is in the selected-cells set, and the focus cell carries
// the focus bit. The selection grows from its start cell, by whole rows,
// whole columns or blocks.

#include <algorithm>
#include <utility>

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

bool CGridCtrl::IsCellEditable(int row, int col) const {
    const CGridCellBase* cell = GetCell(row, col);
    return editable_ && cell && !cell->IsReadOnly();
}

CCellID CGridCtrl::SetFocusCell(int row, int col) {
    CCellID previous = focusCell_;
    if (row != -1 && row < fixedRows_) row = fixedRows_;
    if (col != -1 && col < fixedCols_) col = fixedCols_;
    CCellID focus{row, col};
    if (focus == previous) return previous;
    if (CGridCellBase* cell = GetCell(previous.row, previous.col)) {
        cell->SetState(cell->GetState() & ~GridCellState::Focused);
        RedrawCell(previous.row, previous.col);
        RedrawFocusHeadings(previous, focus);
    }
    focusCell_ = focus;
    if (CGridCellBase* cell = GetCell(focus.row, focus.col)) {
        cell->SetState(cell->GetState() | GridCellState::Focused);
        RedrawCell(focus.row, focus.col);
        RedrawFocusHeadings(focus, previous);
    }
    return previous;
}

void CGridCtrl::RedrawFocusHeadings(CCellID cell, CCellID other) {
    if (!trackFocusCell_) return;
    if (cell.col != other.col) {
        for (int row = 0; row < fixedRows_; ++row) RedrawCell(row, cell.col);
    }
    if (cell.row != other.row) {
        for (int col = 0; col < fixedCols_; ++col) RedrawCell(cell.row, col);
    }
}

void CGridCtrl::ResetSelectedRange() {
    previousSelectedCells_.clear();
    // Cleared even while selection is off: the table operations rely on it.
    for (const CCellID& id : std::exchange(selectedCells_, {})) {
        if (CGridCellBase* cell = GetCell(id.row, id.col)) {
            cell->SetState(cell->GetState() & ~GridCellState::Selected);
            RedrawCell(id.row, id.col);
        }
    }
    SetFocusCell(-1, -1);
}

bool CGridCtrl::SetSelectedRange(int minRow, int minCol, int maxRow, int maxCol, bool select) {
    if (!selectionEnabled_) return false;
    auto clamp = [](int index, int fixedCount) { return index != -1 && index < fixedCount ? fixedCount : index; };
    CCellRange range{clamp(minRow, fixedRows_), clamp(minCol, fixedCols_), clamp(maxRow, fixedRows_),
                     clamp(maxCol, fixedCols_)};

    if (select) {
        // The old selection goes; what stays selected is set again below.
        const std::set<CCellID> old = std::exchange(selectedCells_, {});
        for (const CCellID& id : old) {
            CGridCellBase* cell = GetCell(id.row, id.col);
            if (!cell) continue;
            cell->SetState(cell->GetState() & ~GridCellState::Selected);
            if (!range.Contains(id.row, id.col)) RedrawCell(id.row, id.col);
        }
        if (!(singleRowSelection_ && listMode_)) {
            if (range.minRow == -1) return true;
            for (const CCellID& id : previousSelectedCells_) {
                if (CGridCellBase* cell = GetCell(id.row, id.col)) {
                    SetItemState(id.row, id.col, cell->GetState() | GridCellState::Selected);
                    RedrawCell(id.row, id.col);
                }
            }
        }
    }

    bool inside = range.minRow >= 0 && range.minCol >= 0 && range.maxRow < GetRowCount() &&
                  range.maxCol < GetColumnCount() && range.maxRow >= range.minRow && range.maxCol >= range.minCol;
    if (!inside) return true;
    for (int row = range.minRow; row <= range.maxRow; ++row) {
        for (int col = range.minCol; col <= range.maxCol; ++col) {
            CGridCellBase* cell = GetCell(row, col);
            if (!cell || cell->IsSelected() == select) continue;
            unsigned state = cell->GetState();
            SetItemState(row, col, select ? state | GridCellState::Selected : state & ~GridCellState::Selected);
            RedrawCell(row, col);
        }
    }
    return true;
}

void CGridCtrl::SelectAllCells() { SetSelectedRange(fixedRows_, fixedCols_, GetRowCount() - 1, GetColumnCount() - 1); }

void CGridCtrl::SelectColumns(CCellID cell, bool select) {
    if (cell.col < fixedCols_) return;
    int first = singleColSelection_ ? cell.col : std::min(selectionStartCell_.col, cell.col);
    int last = singleColSelection_ ? cell.col : std::max(selectionStartCell_.col, cell.col);
    SetSelectedRange(fixedRows_, first, GetRowCount() - 1, last, select);
}

void CGridCtrl::SelectRows(CCellID cell, bool select) {
    if (cell.row < fixedRows_) return;
    bool single = listMode_ && singleRowSelection_;
    int first = single ? cell.row : std::min(selectionStartCell_.row, cell.row);
    int last = single ? cell.row : std::max(selectionStartCell_.row, cell.row);
    SetSelectedRange(first, fixedCols_, last, GetColumnCount() - 1, select);
}

void CGridCtrl::SelectCells(CCellID cell, bool select) {
    if (cell.row < fixedRows_ || cell.col < fixedCols_) return;
    SetSelectedRange(std::min(selectionStartCell_.row, cell.row), std::min(selectionStartCell_.col, cell.col),
                     std::max(selectionStartCell_.row, cell.row), std::max(selectionStartCell_.col, cell.col),
                     select);
}

void CGridCtrl::OnSelecting(CCellID cell) {
    if (!selectionEnabled_) return;
    switch (mouseMode_) {
    case GridMouseMode::SelectAll: SelectAllCells(); break;
    case GridMouseMode::SelectColumns: SelectColumns(cell); break;
    case GridMouseMode::SelectRows: SelectRows(cell); break;
    case GridMouseMode::SelectCells: SelectCells(cell); break;
    default: break;
    }
}

CCellRange CGridCtrl::GetSelectedCellRange() const {
    if (selectedCells_.empty()) return {};
    CCellRange range{GetRowCount(), GetColumnCount(), -1, -1};
    for (const CCellID& id : selectedCells_) {
        range.minRow = std::min(range.minRow, id.row);
        range.minCol = std::min(range.minCol, id.col);
        range.maxRow = std::max(range.maxRow, id.row);
        range.maxCol = std::max(range.maxCol, id.col);
    }
    return range;
}

void CGridCtrl::OnEditSelectAll() {
    SendNotify(GridNotify::SelectionChanging, leftClickDownCell_.row, leftClickDownCell_.col);
    if (selectionEnabled_) SelectAllCells();
    SendNotify(GridNotify::SelectionChanged, focusCell_.row, focusCell_.col);
}

void CGridCtrl::ForgetCellsBeyond(int rows, int cols) {
    auto beyond = [&](const CCellID& id) { return id.row >= rows || id.col >= cols; };
    std::erase_if(selectedCells_, beyond);
    std::erase_if(previousSelectedCells_, beyond);
}
