#include <gtest/gtest.h>

#include <random>

#include "grid_cell.h"
#include "grid_ctrl.h"

namespace {

// A cell that remembers where the grid last said it is.
class PlacedCell : public CGridCell {
public:
    void SetCoords(int row, int col) override {
        row_ = row;
        col_ = col;
    }
    int row_ = -1;
    int col_ = -1;
};

constexpr int kRows = 1000;

// One fixed heading row, then kRows rows: column 0 a key with many repeats,
// column 1 the row's original number (as text and user value) on every
// cell, and a height that belongs to the row.
class GridSort : public testing::Test {
protected:
    GridSort() {
        grid_.SetCellFactory([] { return std::make_unique<PlacedCell>(); });
        grid_.SetColumnCount(3);
        grid_.SetRowCount(kRows + 1);
        grid_.SetFixedRowCount(1);
        grid_.SetCellText(0, 0, "heading");
        std::mt19937 random(7);
        std::uniform_int_distribution<int> key(0, 99);
        for (int i = 0; i < kRows; ++i) {
            int row = i + 1;
            grid_.SetCellText(row, 0, QString("k%1").arg(key(random), 2, 10, QChar('0')));
            grid_.SetCellText(row, 1, QString::number(i));
            for (int col = 0; col < 3; ++col) grid_.SetCellData(row, col, i);
            grid_.SetRowHeight(row, HeightOf(i));
        }
    }
    static int HeightOf(int original) { return 10 + original % 37; }

    void ExpectSortedAndWhole(bool ascending) {
        EXPECT_EQ(grid_.GetCellText(0, 0), "heading");
        for (int row = 1; row <= kRows; ++row) {
            std::intptr_t original = grid_.GetCellData(row, 0);
            EXPECT_EQ(grid_.GetCellText(row, 1), QString::number(original));
            EXPECT_EQ(grid_.GetRowHeight(row), HeightOf(static_cast<int>(original)));
            for (int col = 0; col < 3; ++col) {
                auto* cell = static_cast<PlacedCell*>(grid_.GetCell(row, col));
                EXPECT_EQ(cell->GetData(), original);
                EXPECT_EQ(cell->row_, row);
                EXPECT_EQ(cell->col_, col);
            }
            if (row == 1) continue;
            QString before = grid_.GetCellText(row - 1, 0);
            QString here = grid_.GetCellText(row, 0);
            EXPECT_TRUE(ascending ? before <= here : before >= here) << row;
            // Equal keys keep their order.
            if (before == here) {
                EXPECT_LT(grid_.GetCellData(row - 1, 0), original) << row;
            }
        }
    }

    CGridCtrl grid_;
};

TEST_F(GridSort, AscendingMovesWholeRowsAndKeepsEqualKeysInOrder) {
    ASSERT_TRUE(grid_.SortItems(nullptr, 0, true));
    EXPECT_EQ(grid_.GetSortColumn(), 0);
    EXPECT_TRUE(grid_.GetSortAscending());
    ExpectSortedAndWhole(true);
}

TEST_F(GridSort, Descending) {
    ASSERT_TRUE(grid_.SortItems(nullptr, 0, false));
    EXPECT_FALSE(grid_.GetSortAscending());
    ExpectSortedAndWhole(false);
}

TEST_F(GridSort, TextsCompareByTheirStoredBytes) {
    CGridCell a;
    CGridCell b;
    a.SetText(QString::fromUtf8("\u0160"));  // 0x8A in the code page
    b.SetText(QString::fromUtf8("\u00E1"));  // 0xE1
    EXPECT_LT(CGridCtrl::CompareCellTexts(&a, &b, 0), 0);
    EXPECT_GT(CGridCtrl::CompareCellTexts(&b, &a, 0), 0);
    EXPECT_EQ(CGridCtrl::CompareCellTexts(&a, nullptr, 0), 0);
}

}  // namespace
