// Starting and ending edits: the owner may refuse a start (a negative answer
// to BeginEdit) and an edited text (to EndEdit); the cell may refuse a text.

#include "grid_ctrl.h"
#include "grid_keys.h"
#include "grid_title_tip.h"

void CGridCtrl::OnEditCell(int row, int col, QPoint point, unsigned key) {
    HideTitleTip();
    if (!IsCellEditable(row, col)) return;
    EnsureCellVisible(row, col);
    Rect rect;
    if (!IsCellVisible(row, col) || !GetCellRect(row, col, &rect)) return;
    if (SendNotify(GridNotify::BeginEdit, row, col) < 0) return;
    GetCell(row, col)->Edit(row, col, rect, point, key);
}

void CGridCtrl::EndEditing() {
    if (CGridCellBase* cell = GetCell(focusCell_.row, focusCell_.col)) cell->EndEdit();
}

bool CGridCtrl::ValidateEdit(int row, int col, const QString& text) {
    CGridCellBase* cell = GetCell(row, col);
    return !cell || cell->ValidateEdit(text);
}

void CGridCtrl::StoreEditedText(int row, int col, const QString& text) {
    CGridCellBase* cell = GetCell(row, col);
    if (!cell || cell->GetText() == text) return;
    QString old = cell->GetText();
    cell->SetText(text);
    if (ValidateEdit(row, col, text) && SendNotify(GridNotify::EndEdit, row, col) >= 0) {
        SetModified(true, row, col);
        RedrawCell(row, col);
    } else {
        cell->SetText(old);
    }
}

void CGridCtrl::OnEndEditCell(int row, int col, const QString& text) {
    StoreEditedText(row, col, text);
    if (CGridCellBase* cell = GetCell(row, col)) cell->OnEndEdit();
}

bool CGridCtrl::SetCellTextChecked(int row, int col, const QString& text) {
    if (!IsCellEditable(row, col) || SendNotify(GridNotify::BeginEdit, row, col) < 0) return false;
    StoreEditedText(row, col, text);
    return true;
}

void CGridCtrl::OnEndInPlaceEdit(const GridEditEnd& end) {
    OnEndEditCell(end.row, end.col, end.text);
    if (end.key != GridKey::Tab && !GridKey::IsNavigation(end.key)) return;
    if (OnKeyDown(end.key, end.modifiers)) {
        // Typing runs on in the next cell.
        OnEditCell(focusCell_.row, focusCell_.col, QPoint(-1, -1), end.key);
    } else if (end.key == GridKey::Tab) {
        // Past the last cell the window around the grid takes the Tab.
        QAbstractScrollArea::focusNextPrevChild(!(end.modifiers & Qt::ShiftModifier));
    }
}
