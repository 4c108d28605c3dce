// Pastes arbitrary bytes as clipboard text into a 5 x 5 grid (one heading
// row and column) with a hidden row, a hidden column and a read-only cell.
// The first byte picks the target cell and whether the pasted block is
// selected. Refusing the text is fine; a crash, a hang or a large
// allocation is a finding.

#include <cstddef>
#include <cstdint>

#include <QApplication>
#include <QMimeData>

#include "grid_cell_base.h"
#include "grid_ctrl.h"

namespace {

constexpr int kSize = 5;

CGridCtrl& Grid() {
    static CGridCtrl grid(kSize, kSize, 1, 1);
    return grid;
}

void Reset(CGridCtrl& grid) {
    grid.ResetSelectedRange();
    for (int row = 0; row < kSize; ++row) {
        for (int col = 0; col < kSize; ++col) {
            grid.SetItemState(row, col, grid.GetCellState(row, col) & ~GridCellState::ReadOnly);
            grid.SetCellText(row, col, QString());
        }
    }
    grid.SetRowHeight(2, 0);
    grid.SetColumnWidth(3, 0);
    grid.SetItemState(3, 2, grid.GetCellState(3, 2) | GridCellState::ReadOnly);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication application(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    CGridCtrl& grid = Grid();
    Reset(grid);
    int row = data[0] % kSize;
    int col = (data[0] / kSize) % kSize;
    bool selectPasted = data[0] & 0x80;
    QMimeData text;
    text.setData("text/plain", QByteArray(reinterpret_cast<const char*>(data + 1), static_cast<qsizetype>(size - 1)));
    grid.PasteTextToGrid(row, col, &text, selectPasted);
    // What was pasted goes out again.
    grid.SelectAllCells();
    grid.CopyTextBytes(grid.GetSelectedCellRange());
    return 0;
}
