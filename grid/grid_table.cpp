// The operations that build and change the table: counts, fixed rows and
// columns, inserting and deleting rows, sizes.

#include <algorithm>
#include <new>
#include <numeric>

#include "grid_ctrl.h"

namespace {

constexpr unsigned kRowFixedBits = GridCellState::Fixed | GridCellState::FixedRow;
constexpr unsigned kColumnFixedBits = GridCellState::Fixed | GridCellState::FixedColumn;

std::size_t Index(int i) { return static_cast<std::size_t>(i); }

// Room for one more entry, growing geometrically, so that a later insert
// cannot fail and repeated inserts stay linear.
template <typename T>
void ReserveOneMore(std::vector<T>& entries) {
    if (entries.size() == entries.capacity()) entries.reserve(std::max<std::size_t>(1, 2 * entries.size()));
}

}  // namespace

CGridCtrl::Row CGridCtrl::MakeRow(int row) {
    Row cells;
    cells.reserve(colWidths_.size());
    for (int col = 0; col < GetColumnCount(); ++col) cells.push_back(CreateCell(row, col));
    return cells;
}

bool CGridCtrl::SetRowCount(int rows) {
    if (rows < 0) return false;
    if (rows == GetRowCount()) return true;
    topLeftCell_ = CCellID{};
    if (rows < fixedRows_) fixedRows_ = rows;
    if (focusCell_.row >= rows) SetFocusCell(-1, -1);

    bool complete = true;
    if (rows < GetRowCount()) {
        ForgetCellsBeyond(rows, GetColumnCount());
        cells_.resize(Index(rows));
        rowHeights_.resize(Index(rows));
    } else {
        // A row joins the table whole or not at all.
        try {
            cells_.reserve(Index(rows));
            rowHeights_.reserve(Index(rows));
            while (GetRowCount() < rows) {
                Row cells = MakeRow(GetRowCount());
                cells_.push_back(std::move(cells));
                rowHeights_.push_back(GetDefaultCell(false, false)->GetHeight());
            }
        } catch (const std::bad_alloc&) {
            complete = false;
        }
    }
    SetModified(true);
    ResetScrollBars();
    Refresh();
    return complete;
}

bool CGridCtrl::SetColumnCount(int cols) {
    if (cols < 0) return false;
    if (cols == GetColumnCount()) return true;
    topLeftCell_ = CCellID{};
    if (cols < fixedCols_) fixedCols_ = cols;
    if (focusCell_.col >= cols) SetFocusCell(-1, -1);

    bool complete = true;
    if (cols < GetColumnCount()) {
        ForgetCellsBeyond(GetRowCount(), cols);
        for (Row& cells : cells_) cells.resize(Index(cols));
        colWidths_.resize(Index(cols));
    } else {
        // A column joins every row or none.
        int width = GetDefaultCell(false, true)->GetWidth();
        try {
            for (Row& cells : cells_) cells.reserve(Index(cols));
            colWidths_.reserve(Index(cols));
            while (GetColumnCount() < cols) {
                int col = GetColumnCount();
                std::vector<std::unique_ptr<CGridCellBase>> column;
                column.reserve(cells_.size());
                for (int row = 0; row < GetRowCount(); ++row) column.push_back(CreateCell(row, col));
                for (std::size_t row = 0; row < cells_.size(); ++row) cells_[row].push_back(std::move(column[row]));
                colWidths_.push_back(width);
            }
        } catch (const std::bad_alloc&) {
            complete = false;
        }
    }
    SetModified(true);
    ResetScrollBars();
    Refresh();
    return complete;
}

void CGridCtrl::FixRows(int from, int to, bool fixed) {
    for (int row = from; row < to; ++row) {
        for (int col = 0; col < GetColumnCount(); ++col) {
            CGridCellBase* cell = GetCell(row, col);
            if (!cell) continue;
            // A cell of a fixed column keeps being fixed through its column.
            bool inFixedColumn = col < fixedCols_;
            unsigned bits = inFixedColumn ? GridCellState::FixedRow : kRowFixedBits;
            cell->SetState(fixed ? cell->GetState() | kRowFixedBits : cell->GetState() & ~bits);
            if (!inFixedColumn) {
                cell->SetTextColour(kAutomaticColor);
                cell->SetBackColour(kAutomaticColor);
            }
        }
    }
}

void CGridCtrl::FixColumns(int from, int to, bool fixed) {
    for (int row = 0; row < GetRowCount(); ++row) {
        bool inFixedRow = row < fixedRows_;
        unsigned bits = inFixedRow ? GridCellState::FixedColumn : kColumnFixedBits;
        for (int col = from; col < to; ++col) {
            CGridCellBase* cell = GetCell(row, col);
            if (!cell) continue;
            cell->SetState(fixed ? cell->GetState() | kColumnFixedBits : cell->GetState() & ~bits);
            if (!inFixedRow) {
                cell->SetTextColour(kAutomaticColor);
                cell->SetBackColour(kAutomaticColor);
            }
        }
    }
}

bool CGridCtrl::SetFixedCount(int wanted, int& fixedCount, int count, bool (CGridCtrl::*grow)(int),
                              void (CGridCtrl::*fix)(int, int, bool)) {
    if (wanted < 0) return false;
    if (wanted == fixedCount) return true;
    ResetSelectedRange();
    if (wanted > count && !(this->*grow)(wanted)) return false;
    topLeftCell_ = CCellID{};
    if (wanted > fixedCount) {
        (this->*fix)(fixedCount, wanted, true);
    } else {
        (this->*fix)(wanted, fixedCount, false);
    }
    fixedCount = wanted;
    Refresh();
    return true;
}

bool CGridCtrl::SetFixedRowCount(int fixedRows) {
    return SetFixedCount(fixedRows, fixedRows_, GetRowCount(), &CGridCtrl::SetRowCount, &CGridCtrl::FixRows);
}

bool CGridCtrl::SetFixedColumnCount(int fixedCols) {
    return SetFixedCount(fixedCols, fixedCols_, GetColumnCount(), &CGridCtrl::SetColumnCount,
                         &CGridCtrl::FixColumns);
}

int CGridCtrl::InsertRow(const QString& heading, int before) {
    if (before != -1 && (before < fixedRows_ || before >= GetRowCount())) return -1;
    ResetSelectedRange();
    if (GetColumnCount() == 0 && !SetColumnCount(1)) return -1;
    int row = before == -1 ? GetRowCount() : before;
    try {
        Row cells = MakeRow(row);
        // Reserved first, so that the two inserts cannot fail half-way.
        ReserveOneMore(cells_);
        ReserveOneMore(rowHeights_);
        int height = GetDefaultCell(true, false)->GetHeight();
        if (CGridCellBase* first = cells.front().get()) {
            first->SetText(heading);
            first->SetState(first->GetState() | GridCellState::Modified);
            if (!heading.isEmpty()) height = first->GetTextExtent(heading, nullptr).height();
        }
        cells_.insert(cells_.begin() + row, std::move(cells));
        rowHeights_.insert(rowHeights_.begin() + row, height);
    } catch (const std::bad_alloc&) {
        return -1;
    }
    ResetScrollBars();
    SetModified(true);
    return row;
}

bool CGridCtrl::DeleteRow(int row) {
    if (row < 0 || row >= GetRowCount()) return false;
    ResetSelectedRange();
    for (int col = 0; col < GetColumnCount(); ++col) DestroyCell(row, col);
    cells_.erase(cells_.begin() + row);
    rowHeights_.erase(rowHeights_.begin() + row);
    if (row < fixedRows_) --fixedRows_;
    ResetScrollBars();
    SetModified(true);
    return true;
}

void CGridCtrl::DeleteAllItems() {
    selectedCells_.clear();
    previousSelectedCells_.clear();
    focusCell_ = CCellID{};
    topLeftCell_ = CCellID{};
    colWidths_.clear();
    rowHeights_.clear();
    cells_.clear();
    fixedRows_ = 0;
    fixedCols_ = 0;
}

int CGridCtrl::GetRowHeight(int row) const {
    return row >= 0 && row < GetRowCount() ? rowHeights_[Index(row)] : -1;
}

int CGridCtrl::GetColumnWidth(int col) const {
    return col >= 0 && col < GetColumnCount() ? colWidths_[Index(col)] : -1;
}

bool CGridCtrl::SetRowHeight(int row, int height) {
    if (row < 0 || row >= GetRowCount() || height < 0) return false;
    rowHeights_[Index(row)] = height;
    ResetScrollBars();
    return true;
}

bool CGridCtrl::SetColumnWidth(int col, int width) {
    if (col < 0 || col >= GetColumnCount() || width < 0) return false;
    colWidths_[Index(col)] = width;
    ResetScrollBars();
    return true;
}

int CGridCtrl::GetFixedRowHeight() const {
    return std::accumulate(rowHeights_.begin(), rowHeights_.begin() + fixedRows_, 0);
}

int CGridCtrl::GetFixedColumnWidth() const {
    return std::accumulate(colWidths_.begin(), colWidths_.begin() + fixedCols_, 0);
}

int CGridCtrl::GetVirtualHeight() const { return std::accumulate(rowHeights_.begin(), rowHeights_.end(), 0); }

int CGridCtrl::GetVirtualWidth() const { return std::accumulate(colWidths_.begin(), colWidths_.end(), 0); }
