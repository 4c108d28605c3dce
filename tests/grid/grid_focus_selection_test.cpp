#include <QAction>

#include "grid_input_fixture.h"

namespace {

using FocusSelection = GridInputTest;

TEST_F(FocusSelection, TheFocusCellIsClampedIntoTheNonFixedArea) {
    struct Case {
        int row, col;
        CCellID expected;
    };
    const Case cases[] = {
        {0, 0, {1, 1}}, {0, 3, {1, 3}}, {4, 0, {4, 1}}, {4, 3, {4, 3}}, {-1, -1, {-1, -1}},
    };
    for (const Case& c : cases) {
        CCellID before = grid->GetFocusCell();
        EXPECT_EQ(grid->SetFocusCell(c.row, c.col), before);
        EXPECT_EQ(grid->GetFocusCell(), c.expected) << c.row << "," << c.col;
        if (c.expected.IsValid()) {
            EXPECT_TRUE(grid->GetCell(c.expected.row, c.expected.col)->IsFocused());
        }
        if (before.IsValid() && before != c.expected) {
            EXPECT_FALSE(grid->GetCell(before.row, before.col)->IsFocused());
        }
    }
}

TEST_F(FocusSelection, ARangeReplacesTheSelectionAndDeselectsWithSelectOff) {
    ASSERT_TRUE(grid->SetSelectedRange(2, 2, 3, 3));
    EXPECT_EQ(grid->GetSelectedCellRange(), (CCellRange{2, 2, 3, 3}));
    // Fixed rows and columns move to the first non-fixed ones.
    grid->SetSelectedRange(0, 0, 1, 2);
    EXPECT_EQ(grid->GetSelectedCellRange(), (CCellRange{1, 1, 1, 2}));
    EXPECT_FALSE(grid->IsCellSelected(2, 2));
    EXPECT_FALSE(grid->GetCell(2, 2)->IsSelected());
    EXPECT_TRUE(grid->GetCell(1, 1)->IsSelected());

    grid->SetSelectedRange(1, 1, 1, 1, false);
    EXPECT_FALSE(grid->IsCellSelected(1, 1));
    EXPECT_FALSE(grid->GetCell(1, 1)->IsSelected());
    EXPECT_TRUE(grid->IsCellSelected(1, 2));

    // An empty range clears; a range beyond the table selects nothing.
    grid->SetSelectedRange(-1, -1, -1, -1);
    EXPECT_EQ(grid->GetSelectedCellRange(), CCellRange{});
    grid->SetSelectedRange(2, 2, 40, 3);
    EXPECT_EQ(grid->GetSelectedCellRange(), CCellRange{});

    grid->EnableSelection(false);
    EXPECT_FALSE(grid->SetSelectedRange(2, 2, 3, 3));
    EXPECT_EQ(grid->GetSelectedCellRange(), CCellRange{});
}

TEST_F(FocusSelection, CtrlClicksAddRowsUnlessListModeSelectsSingleRows) {
    struct Case {
        bool singleRow;
        bool row2Kept;
    };
    for (const Case& c : {Case{false, true}, Case{true, false}}) {
        grid->SetListMode(true);
        grid->SetSingleRowSelection(c.singleRow);
        ClickCell(2, 2);
        ClickCell(4, 3, Qt::ControlModifier);
        EXPECT_EQ(grid->IsCellSelected(2, 1), c.row2Kept) << c.singleRow;
        EXPECT_TRUE(grid->IsCellSelected(4, 1));
        EXPECT_TRUE(grid->IsCellSelected(4, 5));
        EXPECT_FALSE(grid->IsCellSelected(3, 1));
    }
}

TEST_F(FocusSelection, SelectAllIsAnActionEnabledWithSelection) {
    ClickCell(3, 3);
    sink.notes.clear();
    QTest::keyClick(grid, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(grid->GetSelectedCellRange(), (CCellRange{1, 1, 11, 5}));
    EXPECT_EQ(sink.notes, (std::vector<Notification>{{GridNotify::SelectionChanging, 3, 3},
                                                    {GridNotify::SelectionChanged, 3, 3}}));

    grid->ResetSelectedRange();
    grid->EnableSelection(false);
    EXPECT_FALSE(grid->GetSelectAllAction()->isEnabled());
    grid->SetFocusCell(3, 3);
    QTest::keyClick(grid, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(grid->GetSelectedCellRange(), CCellRange{});
}

}  // namespace
