// The grid on screen with a large table: one full repaint of the viewport
// scrolled to the table's middle, and bringing a row far below into view.

#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>
#include <QScrollBar>

#include "grid_ctrl.h"

namespace {

constexpr int kRows = 10'000;
constexpr int kCols = 20;

// 10,000 x 20 cells with texts, one fixed row and column, 1024 x 768.
CGridCtrl& LargeGrid() {
    static CGridCtrl* grid = [] {
        auto* made = new CGridCtrl(kRows, kCols, 1, 1);
        made->setFrameShape(QFrame::NoFrame);
        made->resize(1024, 768);
        for (int row = 0; row < kRows; ++row) {
            for (int col = 0; col < kCols; ++col) made->SetCellText(row, col, QString::number(row * 31 + col));
        }
        made->ResetScrollBars();
        return made;
    }();
    return *grid;
}

void BM_FullRepaintAtTheMiddle(benchmark::State& state) {
    CGridCtrl& grid = LargeGrid();
    grid.SetScrollPos32(Qt::Vertical, grid.verticalScrollBar()->maximum() / 2);
    grid.SetScrollPos32(Qt::Horizontal, grid.horizontalScrollBar()->maximum() / 2);
    QImage image(grid.GetClientRect().size(), QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter painter(&image);
        grid.OnDraw(painter, image.rect());
    }
    state.counters["rows_shown"] = grid.GetVisibleNonFixedCellRange().maxRow - grid.GetTopLeftNonFixedCell().row + 1;
}
BENCHMARK(BM_FullRepaintAtTheMiddle)->Unit(benchmark::kMillisecond);

void BM_EnsureCellVisible5000RowsDown(benchmark::State& state) {
    CGridCtrl& grid = LargeGrid();
    int start = grid.GetDefaultCell(false, false)->GetHeight() * 2000;
    for (auto _ : state) {
        grid.SetScrollPos32(Qt::Vertical, start);
        grid.EnsureCellVisible(2000 + 5000 + 30, 5);
        benchmark::DoNotOptimize(grid.GetTopLeftNonFixedCell());
    }
    state.counters["top_row_before"] = 2001;
    state.counters["top_row_after"] = grid.GetTopLeftNonFixedCell().row;
}
BENCHMARK(BM_EnsureCellVisible5000RowsDown)->Unit(benchmark::kMillisecond);

}  // namespace
