#include "grid_ctrl.h"

#include <QAction>
#include <QApplication>
#include <QScrollBar>

#include "grid_cell.h"
#include "qt_colors.h"

namespace {

enum DefaultCellIndex { kNormal = 0, kFixedRow = 1, kFixedColumn = 2, kCorner = 3 };

// Milliseconds between the steps of auto-scrolling.
constexpr int kAutoScrollInterval = 25;

}  // namespace

CGridCtrl::CGridCtrl(int rows, int cols, int fixedRows, int fixedCols, QWidget* parent)
    : QAbstractScrollArea(parent), surroundColour_(GetSysColor(SystemColor::ButtonShadow)) {
    cellFactory_ = [] { return std::make_unique<CGridCell>(); };
    for (auto& def : defaultCells_) {
        def = std::make_unique<CGridDefaultCell>();
        def->SetGrid(this);
        def->SetTextColour(GetSysColor(SystemColor::WindowText));
        def->SetBackColour(GetSysColor(SystemColor::ButtonFace));
    }
    defaultCells_[kNormal]->SetBackColour(GetSysColor(SystemColor::Window));
    CacheSystemColours();
    wheelScrollLines_ = QApplication::wheelScrollLines();
    // The paint covers every pixel of the viewport.
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setAutoFillBackground(false);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    connect(horizontalScrollBar(), &QScrollBar::actionTriggered, this,
            [this](int action) { OnScrollBarAction(Qt::Horizontal, action); });
    connect(verticalScrollBar(), &QScrollBar::actionTriggered, this,
            [this](int action) { OnScrollBarAction(Qt::Vertical, action); });
    // Hovering shows dividers and title tips.
    viewport()->setMouseTracking(true);
    setAttribute(Qt::WA_InputMethodEnabled);
    autoScrollTimer_.setInterval(kAutoScrollInterval);
    connect(&autoScrollTimer_, &QTimer::timeout, this, [this] { OnTimer(); });
    selectAllAction_ = new QAction(tr("Select &All"), this);
    selectAllAction_->setShortcut(QKeySequence::SelectAll);
    // An edit open in a cell keeps Ctrl+A for its own text.
    selectAllAction_->setShortcutContext(Qt::WidgetShortcut);
    addAction(selectAllAction_);
    connect(selectAllAction_, &QAction::triggered, this, [this] { OnEditSelectAll(); });

    SetRowCount(rows);
    SetColumnCount(cols);
    SetFixedRowCount(fixedRows);
    SetFixedColumnCount(fixedCols);
    selectedCells_.clear();
    previousSelectedCells_.clear();
}

CGridCtrl::~CGridCtrl() {
    DeleteAllItems();
    dropTarget_.Revoke();
}

int CGridCtrl::SendNotify(int code, int row, int col) { return sink_ ? sink_->notify(code, row, col) : 0; }

CGridCellBase* CGridCtrl::GetCell(int row, int col) const {
    if (!ValidCell(row, col)) return nullptr;
    return cells_[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)].get();
}

CGridDefaultCell* CGridCtrl::GetDefaultCell(bool fixedRow, bool fixedCol) const {
    int index = (fixedRow ? kFixedRow : kNormal) | (fixedCol ? kFixedColumn : kNormal);
    return defaultCells_[static_cast<std::size_t>(index)].get();
}

std::unique_ptr<CGridCellBase> CGridCtrl::CreateCell(int row, int col) {
    if (!cellFactory_) return nullptr;
    std::unique_ptr<CGridCellBase> cell = cellFactory_();
    if (!cell) return nullptr;
    cell->SetGrid(this);
    cell->SetCoords(row, col);
    unsigned state = cell->GetState();
    if (col < fixedCols_) state |= GridCellState::Fixed | GridCellState::FixedColumn;
    if (row < fixedRows_) state |= GridCellState::Fixed | GridCellState::FixedRow;
    cell->SetState(state);
    if (const CGridDefaultCell* def = cell->GetDefaultCell()) cell->SetFormat(def->GetFormat());
    return cell;
}

void CGridCtrl::DestroyCell(int row, int col) {
    if (!ValidCell(row, col)) return;
    SetItemState(row, col, 0);
    cells_[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)].reset();
}

bool CGridCtrl::SetCell(const CGridItem& item) {
    CGridCellBase* cell = GetCell(item.row, item.col);
    if (!cell) return false;
    SetModified(true, item.row, item.col);
    if (item.mask & GridItemMask::Text) cell->SetText(item.text);
    if (item.mask & GridItemMask::Data) cell->SetData(item.data);
    if (item.mask & GridItemMask::Image) cell->SetImage(item.image);
    if (item.mask & GridItemMask::State) SetItemState(item.row, item.col, item.state);
    if (item.mask & GridItemMask::Format) cell->SetFormat(item.format);
    if (item.mask & GridItemMask::BackColour) cell->SetBackColour(item.backColour);
    if (item.mask & GridItemMask::TextColour) cell->SetTextColour(item.textColour);
    if (item.mask & GridItemMask::Font) cell->SetFont(&item.font);
    if (item.mask & GridItemMask::Margin) cell->SetMargin(item.margin);
    return true;
}

bool CGridCtrl::SetCellText(int row, int col, const QString& text) {
    CGridCellBase* cell = GetCell(row, col);
    if (!cell) return false;
    cell->SetText(text);
    SetModified(true, row, col);
    return true;
}

QString CGridCtrl::GetCellText(int row, int col) const {
    const CGridCellBase* cell = GetCell(row, col);
    return cell ? cell->GetText() : QString();
}

bool CGridCtrl::SetCellData(int row, int col, std::intptr_t data) {
    CGridCellBase* cell = GetCell(row, col);
    if (!cell) return false;
    cell->SetData(data);
    SetModified(true, row, col);
    return true;
}

std::intptr_t CGridCtrl::GetCellData(int row, int col) const {
    const CGridCellBase* cell = GetCell(row, col);
    return cell ? cell->GetData() : 0;
}

unsigned CGridCtrl::GetCellState(int row, int col) const {
    const CGridCellBase* cell = GetCell(row, col);
    return cell ? cell->GetState() : 0;
}

bool CGridCtrl::SetCellTextColour(int row, int col, ColorRef colour) {
    CGridCellBase* cell = GetCell(row, col);
    if (!cell) return false;
    cell->SetTextColour(colour);
    return true;
}

bool CGridCtrl::SetCellBackColour(int row, int col, ColorRef colour) {
    CGridCellBase* cell = GetCell(row, col);
    if (!cell) return false;
    cell->SetBackColour(colour);
    return true;
}

ColorRef CGridCtrl::GetCellBackColour(int row, int col) const {
    const CGridCellBase* cell = GetCell(row, col);
    return cell ? cell->GetBackColour() : kAutomaticColor;
}

bool CGridCtrl::SetModified(bool modified, int row, int col) {
    if (col == -1 || col == sortColumn_) EndSortOrder();
    if (row >= 0 && col >= 0) {
        if (CGridCellBase* cell = GetCell(row, col)) {
            if (modified) {
                cell->SetState(cell->GetState() | GridCellState::Modified);
                modified_ = true;
            } else {
                cell->SetState(cell->GetState() & ~GridCellState::Modified);
            }
        }
    } else {
        modified_ = modified;
    }
    if (!modified_) {
        for (Row& cells : cells_) {
            for (auto& cell : cells) {
                if (cell) cell->SetState(cell->GetState() & ~GridCellState::Modified);
            }
        }
    }
    return modified_;
}

void CGridCtrl::EndSortOrder() {
    // The heading's sort arrow goes.
    if (sortColumn_ != -1) RedrawCell(0, sortColumn_);
    sortColumn_ = -1;
}

void CGridCtrl::SetListMode(bool on) {
    ResetSelectedRange();
    EndSortOrder();
    listMode_ = on;
    fixedColumnSelection_ = false;
    Refresh();
}

void CGridCtrl::EnableSelection(bool on) {
    selectionEnabled_ = on;
    selectAllAction_->setEnabled(on);
}

void CGridCtrl::Refresh() {
    if (allowDraw_) viewport()->update();
}
