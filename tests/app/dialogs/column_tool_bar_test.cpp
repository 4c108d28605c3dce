#include <gtest/gtest.h>

#include <QAction>
#include <QToolButton>

#include "column_tool_bar.h"

namespace {

// Each button's row, in the order they were added.
std::vector<int> Rows(const CColumnToolBar& bar, int buttons) {
    std::vector<int> rows;
    for (int i = 0; i < buttons; ++i) rows.push_back(bar.CellOf(i).y());
    return rows;
}

TEST(ColumnToolBar, ARowEndsAfterEveryNthButton) {
    CColumnToolBar bar;
    QAction actions[7];
    for (QAction& action : actions) bar.AddButton(&action);
    EXPECT_EQ(bar.Columns(), 2);
    EXPECT_EQ(Rows(bar, 7), (std::vector<int>{0, 0, 1, 1, 2, 2, 3}));

    bar.SetColumns(3);
    EXPECT_EQ(Rows(bar, 7), (std::vector<int>{0, 0, 0, 1, 1, 1, 2}));
    EXPECT_EQ(bar.CellOf(6), QPoint(0, 2));
    bar.show();
    const int buttonHeight = bar.findChildren<QToolButton*>().front()->height();
    EXPECT_EQ(bar.height(), 3 * buttonHeight + 2 * CColumnToolBar::kBorder);
}

TEST(ColumnToolBar, NoColumnsCountsAsOne) {
    CColumnToolBar bar;
    QAction actions[3];
    for (QAction& action : actions) bar.AddButton(&action);
    bar.SetColumns(0);
    EXPECT_EQ(Rows(bar, 3), (std::vector<int>{0, 1, 2}));
}

}  // namespace
