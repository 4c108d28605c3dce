// The graph designer's rows: one per curve, added, inserted and deleted by
// the buttons, and filled from the list of variables.

#include <optional>

#include <QCheckBox>
#include <QPushButton>

#include "dlg_graph_designer.h"
#include "grid_ctrl.h"
#include "grid_text_format.h"

namespace {

// The X and Y column names and the colour are set by the buttons only.
constexpr int kReadOnlyColumns[] = {CDlgGraphDesigner::kXColumn, CDlgGraphDesigner::kYColumn,
                                    CDlgGraphDesigner::kColour};

QString RowNumber(int row) { return QString::asprintf("%02d", row); }

}  // namespace

void CDlgGraphDesigner::EnableRowButtons(bool enable) {
    Button(1016).setEnabled(enable && HasVariables());
    Button(1017).setEnabled(enable && HasVariables());
    for (int id : {1021, 1022, 1019}) Button(id).setEnabled(enable);
}

void CDlgGraphDesigner::SetUpRow(int row) {
    for (int col : kReadOnlyColumns) {
        grid_->SetItemState(row, col, grid_->GetCellState(row, col) | GridCellState::ReadOnly);
    }
    PaintRowColour(row);
}

void CDlgGraphDesigner::PaintRowColour(int row) {
    grid_->SetCellBackColour(row, kColour, colour_);
    grid_->SetCellTextColour(row, kNumber, colour_);
}

void CDlgGraphDesigner::AddRow() {
    ReadControls();
    const int row = grid_->GetRowCount();
    if (!grid_->SetRowCount(row + 1)) return;
    for (int col = 0; col < kColumnCount; ++col) {
        CGridItem item;
        item.row = row;
        item.col = col;
        item.mask = GridItemMask::Format;
        item.format = TextFormat::SingleLine | TextFormat::VCenter;
        grid_->SetCell(item);
    }
    grid_->SetCellText(row, kNumber, RowNumber(row));
    grid_->SetCellText(row, kXColumn, oneGraph_ ? xName_ : QString());
    grid_->SetCellText(row, kXTitle, xName_);
    SetUpRow(row);
    grid_->SetCellData(row, kXColumn, xColumn_);
    grid_->SetFocusCell(row, kXColumn);
    EnableRowButtons(true);
    grid_->SetFocusCell(grid_->GetRowCount() - 1, kYColumn);
}

void CDlgGraphDesigner::SetAllX() {
    for (int row = 1; row < grid_->GetRowCount(); ++row) {
        grid_->SetCellText(row, kXColumn, xName_);
        grid_->SetCellData(row, kXColumn, xColumn_);
    }
}

void CDlgGraphDesigner::Renumber() {
    for (int row = 1; row < grid_->GetRowCount(); ++row) grid_->SetCellText(row, kNumber, RowNumber(row));
}

std::optional<CDlgGraphDesigner::UsedVariable> CDlgGraphDesigner::UseVariable(int nameColumn, int titleColumn) {
    UsedVariable used{grid_->GetFocusCell(), {}, 0};
    if (!used.focus.IsValid() || !SelectedVariable(used.name, used.column)) return std::nullopt;
    const int row = used.focus.row;
    grid_->SetCellText(row, nameColumn, used.name);
    grid_->SetCellText(row, titleColumn, used.name);
    grid_->SetCellData(row, nameColumn, used.column);
    grid_->SetModified(true, row, nameColumn);
    grid_->RedrawCell(row, nameColumn);
    grid_->RedrawCell(row, titleColumn);
    return used;
}

void CDlgGraphDesigner::OnUseAsX() {
    std::optional<UsedVariable> used = UseVariable(kXColumn, kXTitle);
    if (!used) return;
    ReadControls();
    xName_ = used->name;
    xColumn_ = used->column;
    if (oneGraph_) {
        SetAllX();
        grid_->Refresh();
        grid_->SetFocusCell(used->focus.row, used->focus.col);
    }
}

void CDlgGraphDesigner::OnUseAsY() { UseVariable(kYColumn, kYTitle); }

void CDlgGraphDesigner::OnRefresh() {
    const CCellID focus = grid_->GetFocusCell();
    if (!focus.IsValid()) return;
    ReadControls();
    PaintRowColour(focus.row);
    grid_->RedrawRow(focus.row);
}

void CDlgGraphDesigner::OnInsert() {
    const CCellID focus = grid_->GetFocusCell();
    if (!focus.IsValid()) return;
    ReadControls();
    const int row = grid_->InsertRow("Nov", focus.row);
    if (row < 0) return;
    SetUpRow(row);
    if (oneGraph_) {
        grid_->SetCellText(row, kXColumn, xName_);
        grid_->SetCellText(row, kXTitle, xName_);
        grid_->SetCellData(row, kXColumn, xColumn_);
    }
    Renumber();
    EnableRowButtons(true);
    grid_->SetFocusCell(row, kYColumn);
    grid_->Refresh();
}

void CDlgGraphDesigner::OnDelete() {
    const CCellID focus = grid_->GetFocusCell();
    if (!focus.IsValid()) return;
    const bool last = focus.row == grid_->GetRowCount() - 1;
    grid_->DeleteRow(focus.row);
    if (!last) Renumber();
    EnableRowButtons(false);
    grid_->Refresh();
}

void CDlgGraphDesigner::OnOneGraph() {
    ReadControls();
    if (!oneGraph_) return;
    SetAllX();
    grid_->Refresh();
}

int CDlgGraphDesigner::notify(int code, int row, int) {
    if (code == GridNotify::Click && row >= 0) EnableRowButtons(grid_->GetFocusCell().IsValid());
    return 0;
}
