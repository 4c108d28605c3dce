#include <benchmark/benchmark.h>

#include <QString>

#include "grid_list_ctrl.h"

namespace {

constexpr int kRows = 10000;
constexpr int kColumns = 9;

// A data summary page's worth of rows: the number, then eight "%.3f" texts.
void FillTenThousandRows(benchmark::State& state) {
    for (auto _ : state) {
        CGridListCtrl grid;
        grid.setColumnCount(kColumns);
        grid.resize(800, 600);
        for (int row = 0; row < kRows; ++row) {
            grid.AddNumberedRow();
            for (int column = 1; column < kColumns; ++column) {
                grid.SetItemTextIfChanged(row, column, QString::number(row * 0.125 + column, 'f', 3));
            }
        }
        benchmark::DoNotOptimize(grid.rowCount());
    }
    state.SetItemsProcessed(state.iterations() * kRows);
}
BENCHMARK(FillTenThousandRows)->Unit(benchmark::kMillisecond);

}  // namespace
