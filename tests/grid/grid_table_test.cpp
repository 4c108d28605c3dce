#include <gtest/gtest.h>

#include <functional>
#include <new>
#include <vector>

#include "grid_cell.h"
#include "grid_ctrl.h"

namespace {

constexpr unsigned kFixedRowBits = GridCellState::Fixed | GridCellState::FixedRow;
constexpr unsigned kFixedColumnBits = GridCellState::Fixed | GridCellState::FixedColumn;
constexpr ColorRef kOwn = Rgb(1, 2, 3);

// Five rows, four columns, one fixed row and column; cell (2, 2) selected
// with the focus, every cell with colours of its own and its place as text.
std::unique_ptr<CGridCtrl> Fixture() {
    auto grid = std::make_unique<CGridCtrl>(5, 4, 1, 1);
    for (int row = 0; row < 5; ++row) {
        for (int col = 0; col < 4; ++col) {
            grid->SetCellText(row, col, QString("%1,%2").arg(row).arg(col));
            grid->SetCellTextColour(row, col, kOwn);
            grid->SetCellBackColour(row, col, kOwn);
        }
    }
    grid->SetModified(false);
    grid->SetItemState(2, 2, GridCellState::Selected);
    grid->SetFocusCell(2, 2);
    return grid;
}

bool HasBits(const CGridCtrl& grid, int row, int col, unsigned bits) {
    return (grid.GetCellState(row, col) & bits) == bits;
}

bool NoFocusNoSelection(const CGridCtrl& grid) {
    for (int row = 0; row < grid.GetRowCount(); ++row) {
        for (int col = 0; col < grid.GetColumnCount(); ++col) {
            unsigned state = grid.GetCellState(row, col);
            if (state & (GridCellState::Focused | GridCellState::Selected)) return false;
            if (grid.IsCellSelected(row, col)) return false;
        }
    }
    return !grid.GetFocusCell().IsValid();
}

TEST(GridTable, Operations) {
    struct Case {
        const char* name;
        std::function<void(CGridCtrl&)> act;
        std::function<void(const CGridCtrl&)> check;
    };
    const Case cases[] = {
        {"a row count below the fixed rows lowers them",
         [](CGridCtrl& g) {
             g.SetFixedRowCount(3);
             EXPECT_TRUE(g.SetRowCount(2));
         },
         [](const CGridCtrl& g) {
             EXPECT_EQ(g.GetRowCount(), 2);
             EXPECT_EQ(g.GetFixedRowCount(), 2);
         }},
        {"growth: default sizes, fixed bits and the default format",
         [](CGridCtrl& g) {
             EXPECT_TRUE(g.SetRowCount(7));
             EXPECT_TRUE(g.SetColumnCount(6));
         },
         [](const CGridCtrl& g) {
             EXPECT_EQ(g.GetRowHeight(6), g.GetDefaultCell(false, false)->GetHeight());
             EXPECT_EQ(g.GetColumnWidth(5), g.GetDefaultCell(false, true)->GetWidth());
             EXPECT_EQ(g.GetCellState(0, 5), kFixedRowBits);
             EXPECT_EQ(g.GetCellState(6, 0), kFixedColumnBits);
             EXPECT_EQ(g.GetCellState(6, 5), 0u);
             EXPECT_EQ(g.GetCell(6, 5)->GetFormat(), 0x8824u);
             EXPECT_EQ(g.GetCell(6, 5)->GetTextColour(), kAutomaticColor);
             EXPECT_EQ(g.GetCellText(4, 3), "4,3");
         }},
        {"shrinking drops cells and the focus beyond",
         [](CGridCtrl& g) {
             EXPECT_TRUE(g.SetRowCount(2));
             EXPECT_TRUE(g.SetColumnCount(2));
         },
         [](const CGridCtrl& g) {
             EXPECT_EQ(g.GetCell(2, 0), nullptr);
             EXPECT_EQ(g.GetCell(0, 2), nullptr);
             EXPECT_TRUE(NoFocusNoSelection(g));
         }},
        {"fixing rows sets the row bits and drops own colours",
         [](CGridCtrl& g) { EXPECT_TRUE(g.SetFixedRowCount(3)); },
         [](const CGridCtrl& g) {
             EXPECT_EQ(g.GetCellState(2, 2), kFixedRowBits);
             EXPECT_EQ(g.GetCellState(2, 0), kFixedRowBits | kFixedColumnBits);
             EXPECT_EQ(g.GetCellBackColour(2, 2), kAutomaticColor);
             EXPECT_EQ(g.GetCell(2, 2)->GetTextColour(), kAutomaticColor);
             // Fixed already through its column.
             EXPECT_EQ(g.GetCellBackColour(2, 0), kOwn);
             EXPECT_EQ(g.GetCellBackColour(3, 2), kOwn);
             EXPECT_TRUE(NoFocusNoSelection(g));
         }},
        {"unfixing rows clears the row bits",
         [](CGridCtrl& g) { EXPECT_TRUE(g.SetFixedRowCount(0)); },
         [](const CGridCtrl& g) {
             EXPECT_EQ(g.GetCellState(0, 2), 0u);
             EXPECT_EQ(g.GetCellState(0, 0), kFixedColumnBits);
             EXPECT_EQ(g.GetCellBackColour(0, 2), kAutomaticColor);
             EXPECT_EQ(g.GetCellBackColour(0, 0), kOwn);
         }},
        {"fixing and unfixing columns",
         [](CGridCtrl& g) {
             EXPECT_TRUE(g.SetFixedColumnCount(2));
             EXPECT_TRUE(g.SetFixedColumnCount(0));
             EXPECT_TRUE(g.SetFixedColumnCount(1));
         },
         [](const CGridCtrl& g) {
             EXPECT_EQ(g.GetCellState(3, 1), 0u);
             EXPECT_EQ(g.GetCellBackColour(3, 1), kAutomaticColor);
             EXPECT_EQ(g.GetCellState(3, 0), kFixedColumnBits);
             EXPECT_EQ(g.GetCellState(0, 1), kFixedRowBits);
             EXPECT_EQ(g.GetCellState(0, 0), kFixedRowBits | kFixedColumnBits);
         }},
        {"fixed counts beyond the table grow it",
         [](CGridCtrl& g) {
             EXPECT_TRUE(g.SetFixedRowCount(6));
             EXPECT_TRUE(g.SetFixedColumnCount(5));
         },
         [](const CGridCtrl& g) {
             EXPECT_EQ(g.GetRowCount(), 6);
             EXPECT_EQ(g.GetColumnCount(), 5);
             EXPECT_EQ(g.GetCellState(5, 4), kFixedRowBits | kFixedColumnBits);
         }},
        {"inserting a row",
         [](CGridCtrl& g) {
             EXPECT_EQ(g.InsertRow("new", 2), 2);
             EXPECT_EQ(g.InsertRow(""), 6);
         },
         [](const CGridCtrl& g) {
             EXPECT_EQ(g.GetRowCount(), 7);
             EXPECT_EQ(g.GetCellText(2, 0), "new");
             EXPECT_TRUE(HasBits(g, 2, 0, GridCellState::Modified | kFixedColumnBits));
             EXPECT_EQ(g.GetCellText(3, 1), "2,1");
             EXPECT_EQ(g.GetRowHeight(2), g.GetCell(2, 0)->GetTextExtent("new", nullptr).height());
             EXPECT_EQ(g.GetRowHeight(6), g.GetDefaultCell(true, false)->GetHeight());
             EXPECT_TRUE(g.GetModified());
             EXPECT_TRUE(NoFocusNoSelection(g));
         }},
        {"inserting before a fixed row or beyond the table",
         [](CGridCtrl& g) {
             EXPECT_EQ(g.InsertRow("x", 0), -1);
             EXPECT_EQ(g.InsertRow("x", 5), -1);
             EXPECT_EQ(g.InsertRow("x", -2), -1);
         },
         [](const CGridCtrl& g) { EXPECT_EQ(g.GetRowCount(), 5); }},
        {"deleting rows",
         [](CGridCtrl& g) {
             EXPECT_TRUE(g.DeleteRow(3));
             EXPECT_TRUE(g.DeleteRow(0));
         },
         [](const CGridCtrl& g) {
             EXPECT_EQ(g.GetRowCount(), 3);
             EXPECT_EQ(g.GetFixedRowCount(), 0);
             EXPECT_EQ(g.GetCellText(2, 1), "4,1");
             EXPECT_TRUE(NoFocusNoSelection(g));
         }},
        {"the item state keeps the selection in step",
         [](CGridCtrl& g) {
             EXPECT_TRUE(g.SetItemState(3, 3, GridCellState::Selected | GridCellState::ReadOnly));
             EXPECT_TRUE(g.SetItemState(2, 2, GridCellState::ReadOnly));
         },
         [](const CGridCtrl& g) {
             EXPECT_TRUE(g.IsCellSelected(3, 3));
             EXPECT_FALSE(g.IsCellSelected(2, 2));
             EXPECT_EQ(g.GetCellState(2, 2), GridCellState::ReadOnly);
         }},
        {"a change in the sort column ends the sort order",
         [](CGridCtrl& g) {
             EXPECT_TRUE(g.SortItems(nullptr, 2, false));
             g.SetCellText(1, 1, "elsewhere");
             EXPECT_EQ(g.GetSortColumn(), 2);
             g.SetCellData(1, 2, 7);
         },
         [](const CGridCtrl& g) { EXPECT_EQ(g.GetSortColumn(), -1); }},
        {"a grid-wide change ends the sort order; unmodified clears every cell",
         [](CGridCtrl& g) {
             g.SortItems(nullptr, 1, true);
             EXPECT_TRUE(g.SetModified());
             EXPECT_EQ(g.GetSortColumn(), -1);
             EXPECT_FALSE(g.SetModified(false));
         },
         [](const CGridCtrl& g) {
             for (int row = 0; row < 5; ++row) {
                 for (int col = 0; col < 4; ++col) EXPECT_FALSE(g.GetCell(row, col)->IsModified());
             }
         }},
        {"list mode ends the sort order, the selection and fixed-column clicks",
         [](CGridCtrl& g) {
             g.SortItems(nullptr, 1, true);
             g.SetListMode(true);
         },
         [](const CGridCtrl& g) {
             EXPECT_TRUE(g.GetListMode());
             EXPECT_FALSE(g.GetFixedColumnSelection());
             EXPECT_EQ(g.GetSortColumn(), -1);
             EXPECT_TRUE(NoFocusNoSelection(g));
         }},
        {"hidden rows and columns keep their cells",
         [](CGridCtrl& g) {
             EXPECT_TRUE(g.SetRowHeight(2, 0));
             EXPECT_TRUE(g.SetColumnWidth(1, 0));
         },
         [](const CGridCtrl& g) {
             EXPECT_EQ(g.GetRowHeight(2), 0);
             EXPECT_EQ(g.GetCellText(2, 3), "2,3");
             EXPECT_EQ(g.GetCellText(3, 1), "3,1");
         }},
        {"out of range",
         [](CGridCtrl& g) {
             EXPECT_FALSE(g.SetRowCount(-1));
             EXPECT_FALSE(g.SetFixedColumnCount(-1));
             EXPECT_FALSE(g.SetCellText(5, 0, "x"));
             EXPECT_FALSE(g.SetCellData(0, 4, 1));
             EXPECT_FALSE(g.SetItemState(-1, 0, GridCellState::Selected));
             EXPECT_FALSE(g.SetCellTextColour(0, -1, kOwn));
             EXPECT_FALSE(g.SetCellBackColour(9, 9, kOwn));
             EXPECT_FALSE(g.SetRowHeight(5, 1));
             EXPECT_FALSE(g.SetRowHeight(1, -1));
             EXPECT_FALSE(g.SetColumnWidth(-1, 1));
             EXPECT_FALSE(g.DeleteRow(5));
             EXPECT_FALSE(g.DeleteRow(-1));
             EXPECT_FALSE(g.SortItems(nullptr, 4, true));
             CGridItem item;
             item.row = 5;
             item.mask = GridItemMask::Text;
             EXPECT_FALSE(g.SetCell(item));
         },
         [](const CGridCtrl& g) {
             EXPECT_EQ(g.GetCell(-1, 0), nullptr);
             EXPECT_EQ(g.GetCellText(0, 4), "");
             EXPECT_EQ(g.GetCellData(5, 0), 0);
             EXPECT_EQ(g.GetCellState(-1, -1), 0u);
             EXPECT_EQ(g.GetCellBackColour(5, 5), kAutomaticColor);
             EXPECT_EQ(g.GetRowHeight(5), -1);
             EXPECT_EQ(g.GetColumnWidth(4), -1);
             EXPECT_FALSE(g.IsCellSelected(5, 0));
             EXPECT_EQ(g.GetRowCount(), 5);
             EXPECT_EQ(g.GetCellText(4, 3), "4,3");
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::unique_ptr<CGridCtrl> grid = Fixture();
        c.act(*grid);
        c.check(*grid);
    }
}

TEST(GridTable, InsertRowOnAnEmptyGridGivesItAColumn) {
    CGridCtrl grid;
    EXPECT_EQ(grid.InsertRow("first"), 0);
    EXPECT_EQ(grid.GetColumnCount(), 1);
    EXPECT_EQ(grid.GetCellText(0, 0), "first");
}

TEST(GridTable, SetCellAppliesWhatTheMaskNames) {
    CGridCtrl grid(3, 3, 1, 1);
    CGridItem item;
    item.row = 1;
    item.col = 2;
    item.mask = GridItemMask::Text | GridItemMask::Data | GridItemMask::State | GridItemMask::BackColour |
                GridItemMask::Font | GridItemMask::Margin;
    item.text = "set";
    item.data = 17;
    item.state = GridCellState::Selected | GridCellState::ReadOnly;
    item.backColour = kOwn;
    item.textColour = Rgb(9, 9, 9);  // not in the mask
    item.font.height = -20;
    item.margin = 8;
    ASSERT_TRUE(grid.SetCell(item));
    const CGridCellBase& cell = *grid.GetCell(1, 2);
    EXPECT_EQ(cell.GetText(), "set");
    EXPECT_EQ(cell.GetData(), 17);
    // The state replaces the modified bit that SetCell set first.
    EXPECT_EQ(cell.GetState(), item.state);
    EXPECT_TRUE(grid.IsCellSelected(1, 2));
    EXPECT_EQ(cell.GetBackColour(), kOwn);
    EXPECT_EQ(cell.GetTextColour(), kAutomaticColor);
    EXPECT_EQ(cell.GetFont()->height, -20);
    EXPECT_EQ(cell.GetMargin(), 8);
    EXPECT_TRUE(grid.GetModified());
}

TEST(GridTable, SelectionIsKeyedByTheWholeCellPlace) {
    // Row 65,537 of column 0 and row 1 of column 1 would share a 16-bit
    // packed key.
    CGridCtrl grid(70000, 2);
    ASSERT_EQ(grid.GetRowCount(), 70000);
    grid.SetItemState(65537, 0, GridCellState::Selected);
    grid.SetItemState(1, 1, GridCellState::Selected);
    EXPECT_TRUE(grid.IsCellSelected(65537, 0));
    EXPECT_TRUE(grid.IsCellSelected(1, 1));

    grid.SetItemState(1, 1, 0);
    EXPECT_TRUE(grid.IsCellSelected(65537, 0));
    EXPECT_FALSE(grid.IsCellSelected(1, 1));
    EXPECT_TRUE(grid.GetCell(65537, 0)->IsSelected());
}

// Makes cells until its budget is spent, then runs out of memory.
struct RationedCells {
    int budget;
    std::unique_ptr<CGridCellBase> operator()() {
        if (budget-- <= 0) throw std::bad_alloc();
        return std::make_unique<CGridCell>();
    }
};

TEST(GridTable, OutOfMemoryKeepsWhatWasMade) {
    CGridCtrl grid(0, 3);
    grid.SetCellFactory(RationedCells{8});
    EXPECT_FALSE(grid.SetRowCount(10));
    // Two whole rows; the third never joined.
    EXPECT_EQ(grid.GetRowCount(), 2);
    for (int col = 0; col < 3; ++col) EXPECT_NE(grid.GetCell(1, col), nullptr);

    grid.SetCellFactory(RationedCells{5});
    EXPECT_FALSE(grid.SetColumnCount(6));
    EXPECT_EQ(grid.GetColumnCount(), 5);
    for (int row = 0; row < 2; ++row) EXPECT_NE(grid.GetCell(row, 4), nullptr);

    grid.SetCellFactory(RationedCells{0});
    EXPECT_EQ(grid.InsertRow("x"), -1);
    EXPECT_EQ(grid.GetRowCount(), 2);
}

class RecordingSink : public IGridNotifySink {
public:
    int notify(int code, int row, int column) override {
        calls.push_back({code, row, column});
        return answer;
    }
    struct Call {
        int code, row, column;
    };
    std::vector<Call> calls;
    int answer = -1;
};

TEST(GridTable, NotificationsReachTheOwnerAndItsAnswerComesBack) {
    CGridCtrl grid(2, 2);
    EXPECT_EQ(grid.SendNotify(GridNotify::BeginEdit, 1, 1), 0);
    RecordingSink sink;
    grid.SetNotifySink(&sink);
    EXPECT_EQ(grid.SendNotify(GridNotify::BeginEdit, 1, 0), -1);
    ASSERT_EQ(sink.calls.size(), 1u);
    EXPECT_EQ(sink.calls[0].code, -105);
    EXPECT_EQ(sink.calls[0].row, 1);
    EXPECT_EQ(sink.calls[0].column, 0);
}

}  // namespace
