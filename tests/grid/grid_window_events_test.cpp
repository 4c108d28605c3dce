#include <gtest/gtest.h>

#include <QFont>
#include <QPalette>

#include "grid_ctrl.h"
#include "qt_colors.h"

namespace {

TEST(GridWindowEvents, AFontGoesToTheDefaultCellsAndSizesNewRows) {
    CGridCtrl grid(2, 2);
    int before = grid.GetDefaultCell(false, false)->GetHeight();
    QFont large = grid.font();
    large.setPixelSize(40);
    grid.setFont(large);
    for (bool fixedRow : {false, true}) {
        for (bool fixedCol : {false, true}) {
            EXPECT_GT(grid.GetDefaultCell(fixedRow, fixedCol)->GetHeight(), before);
            EXPECT_EQ(grid.GetDefaultCell(fixedRow, fixedCol)->GetFontObject().pixelSize(), 40);
        }
    }
    // The rows there were keep their size; new ones take the new one.
    EXPECT_EQ(grid.GetRowHeight(1), before);
    grid.SetRowCount(3);
    EXPECT_EQ(grid.GetRowHeight(2), grid.GetDefaultCell(false, false)->GetHeight());
}

TEST(GridWindowEvents, APaletteChangeMovesTheColoursThatFollowedTheSystem) {
    CGridCtrl grid(2, 2, 1, 1);
    ColorRef own = Rgb(1, 2, 3);
    grid.GetDefaultCell(true, true)->SetTextColour(own);
    ColorRef fixedBack = grid.GetDefaultCell(true, false)->GetBackColour();

    QPalette palette = grid.palette();
    const QColor text(10, 20, 30);
    const QColor window(240, 230, 220);
    const QColor shadow(60, 70, 80);
    palette.setColor(PaletteRoleOf(SystemColor::WindowText), text);
    palette.setColor(PaletteRoleOf(SystemColor::Window), window);
    palette.setColor(PaletteRoleOf(SystemColor::ButtonShadow), shadow);
    grid.setPalette(palette);

    EXPECT_EQ(grid.GetDefaultCell(false, false)->GetTextColour(), ToColorRef(text));
    EXPECT_EQ(grid.GetDefaultCell(false, false)->GetBackColour(), ToColorRef(window));
    EXPECT_EQ(grid.GetDefaultCell(true, false)->GetTextColour(), ToColorRef(text));
    EXPECT_EQ(grid.GetDefaultCell(true, true)->GetTextColour(), own);
    // Button face backgrounds were never window-coloured.
    EXPECT_EQ(grid.GetDefaultCell(true, false)->GetBackColour(), fixedBack);
    EXPECT_EQ(grid.GetSurroundColour(), ToColorRef(shadow));

    // A surround of its own stays.
    grid.SetSurroundColour(own);
    palette.setColor(PaletteRoleOf(SystemColor::ButtonShadow), QColor(90, 90, 90));
    grid.setPalette(palette);
    EXPECT_EQ(grid.GetSurroundColour(), own);
}

}  // namespace
