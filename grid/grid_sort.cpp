// Sorting the non-fixed rows on one column's cells.

#include <algorithm>
#include <numeric>

#include "grid_ctrl.h"
#include "windows_1250.h"

int CGridCtrl::CompareCellTexts(const CGridCellBase* a, const CGridCellBase* b, std::intptr_t /*data*/) {
    if (!a || !b) return 0;
    std::string left = ToWindows1250(a->GetText());
    std::string right = ToWindows1250(b->GetText());
    // std::string compares its chars as unsigned bytes.
    return left.compare(right);
}

bool CGridCtrl::SortItems(GridCellCompare compare, int col, bool ascending, std::intptr_t data) {
    if (col < 0 || col >= GetColumnCount()) return false;
    if (!compare) compare = &CGridCtrl::CompareCellTexts;
    // The old heading loses its arrow, the new one gets it.
    RedrawCell(0, sortColumn_);
    RedrawCell(0, col);
    sortColumn_ = col;
    sortAscending_ = ascending;
    ResetSelectedRange();

    std::vector<int> order(static_cast<std::size_t>(GetRowCount() - fixedRows_));
    std::iota(order.begin(), order.end(), fixedRows_);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        int result = compare(GetCell(a, col), GetCell(b, col), data);
        return ascending ? result < 0 : result > 0;
    });
    ApplyRowOrder(order);
    return true;
}

void CGridCtrl::ApplyRowOrder(const std::vector<int>& order) {
    std::vector<Row> rows;
    std::vector<int> heights;
    rows.reserve(order.size());
    heights.reserve(order.size());
    for (int from : order) {
        rows.push_back(std::move(cells_[static_cast<std::size_t>(from)]));
        heights.push_back(rowHeights_[static_cast<std::size_t>(from)]);
    }
    for (std::size_t i = 0; i < order.size(); ++i) {
        int row = fixedRows_ + static_cast<int>(i);
        cells_[static_cast<std::size_t>(row)] = std::move(rows[i]);
        rowHeights_[static_cast<std::size_t>(row)] = heights[i];
        for (int col = 0; col < GetColumnCount(); ++col) {
            if (CGridCellBase* cell = GetCell(row, col)) cell->SetCoords(row, col);
        }
    }
}
