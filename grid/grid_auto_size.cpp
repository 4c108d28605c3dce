// Fitting row heights and column widths to the cells' contents. Hidden
// (zero-size) rows and columns are neither measured nor shown.

#include <algorithm>

#include "grid_ctrl.h"

namespace {

// The rows [first, last) that the auto-size flags take in.
struct RowSpan {
    int first;
    int last;
};

RowSpan IncludedRows(unsigned flags, int fixedRows, int rows) {
    return {flags & GridAutoSize::Header ? 0 : fixedRows, flags & GridAutoSize::Data ? rows : fixedRows};
}

}  // namespace

bool CGridCtrl::AutoSizeColumn(int col, unsigned flags, bool resetScrollBars) {
    if (col < 0 || col >= GetColumnCount() || GetColumnWidth(col) == 0) return false;
    if (flags == GridAutoSize::Default) flags = autoSizeStyle_;
    RowSpan rows = IncludedRows(flags, fixedRows_, GetRowCount());
    int width = 0;
    for (int row = rows.first; row < rows.last; ++row) {
        const CGridCellBase* cell = GetCell(row, col);
        if (cell && GetRowHeight(row) > 0) width = std::max(width, cell->GetCellExtent(nullptr).width());
    }
    colWidths_[static_cast<std::size_t>(col)] = width;
    if (resetScrollBars) ResetScrollBars();
    return true;
}

bool CGridCtrl::AutoSizeRow(int row, bool resetScrollBars) {
    if (row < 0 || row >= GetRowCount() || GetRowHeight(row) == 0) return false;
    int height = 0;
    for (int col = 0; col < GetColumnCount(); ++col) {
        const CGridCellBase* cell = GetCell(row, col);
        if (cell && GetColumnWidth(col) > 0) height = std::max(height, cell->GetCellExtent(nullptr).height());
    }
    rowHeights_[static_cast<std::size_t>(row)] = height;
    if (resetScrollBars) ResetScrollBars();
    return true;
}

void CGridCtrl::AutoSize(unsigned flags) {
    if (flags == GridAutoSize::Default) flags = autoSizeStyle_;
    RowSpan rows = IncludedRows(flags, fixedRows_, GetRowCount());
    for (int row = rows.first; row < rows.last; ++row) {
        int& height = rowHeights_[static_cast<std::size_t>(row)];
        if (height > 0) height = 1;
    }
    for (int col = 0; col < GetColumnCount(); ++col) {
        int& width = colWidths_[static_cast<std::size_t>(col)];
        if (width == 0) continue;
        width = 0;
        for (int row = rows.first; row < rows.last; ++row) {
            int& height = rowHeights_[static_cast<std::size_t>(row)];
            const CGridCellBase* cell = GetCell(row, col);
            if (height == 0 || !cell) continue;
            QSize extent = cell->GetCellExtent(nullptr);
            width = std::max(width, extent.width());
            height = std::max(height, extent.height());
        }
    }
    ResetScrollBars();
    Refresh();
}
