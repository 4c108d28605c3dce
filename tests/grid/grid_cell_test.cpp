#include <gtest/gtest.h>

#include <QFontMetrics>

#include "grid_cell.h"
#include "grid_ctrl.h"
#include "grid_default_cell.h"
#include "grid_text_format.h"

namespace {

LogFont Arial(int height, int escapement = 0) {
    LogFont font;
    font.SetFaceName("Arial");
    font.height = height;
    font.escapement = escapement;
    return font;
}

TEST(GridCell, NewCellsAndResetKeepTheUserValue) {
    CGridCtrl grid(2, 2);
    CGridCell cell;
    EXPECT_EQ(cell.GetData(), 0);
    EXPECT_EQ(cell.GetImage(), -1);
    EXPECT_EQ(cell.GetTextColour(), kAutomaticColor);
    EXPECT_EQ(cell.GetBackColour(), kAutomaticColor);
    EXPECT_TRUE(cell.IsDefaultFont());

    cell.SetGrid(&grid);
    cell.SetText("text");
    cell.SetData(42);
    cell.SetState(GridCellState::Selected | GridCellState::Modified);
    cell.SetFormat(TextFormat::Right);
    cell.SetBackColour(Rgb(1, 2, 3));
    LogFont font = Arial(-20);
    cell.SetFont(&font);
    cell.SetMargin(9);
    cell.Reset();

    EXPECT_EQ(cell.GetData(), 42);
    EXPECT_EQ(cell.GetText(), "");
    EXPECT_EQ(cell.GetState(), 0u);
    EXPECT_EQ(cell.GetGrid(), nullptr);
    EXPECT_EQ(cell.GetBackColour(), kAutomaticColor);
    EXPECT_TRUE(cell.IsDefaultFont());
    // Without a grid there is no default cell to fall back on.
    EXPECT_EQ(cell.GetFormat(), CGridDefaultCell::kFormat);
    EXPECT_EQ(cell.GetFont(), nullptr);
    EXPECT_EQ(cell.GetTextExtent("", nullptr), QSize(0, 0));
}

TEST(GridCell, TakesWhatItHasNotFromItsDefaultCell) {
    CGridCtrl grid(2, 2, 1, 1);
    CGridCellBase& cell = *grid.GetCell(1, 1);
    CGridDefaultCell& def = *grid.GetDefaultCell(false, false);
    def.SetMargin(7);
    LogFont big = Arial(-30);
    def.SetFont(&big);
    cell.SetFormat(kDefaultCellFormat);
    cell.SetMargin(kDefaultCellMargin);
    def.SetFormat(TextFormat::Center);
    EXPECT_EQ(cell.GetFormat(), TextFormat::Center);
    EXPECT_EQ(cell.GetMargin(), def.GetMargin());
    EXPECT_EQ(*cell.GetFont(), big);
    EXPECT_EQ(cell.GetFontObject(), def.GetFontObject());

    // A default cell without a format of its own does not ask itself.
    def.SetFormat(kDefaultCellFormat);
    EXPECT_EQ(def.GetFormat(), CGridDefaultCell::kFormat);
}

TEST(GridCell, DefaultCellByFixedBits) {
    CGridCtrl grid(3, 3, 1, 1);
    struct Case {
        int row, col;
        CGridDefaultCell* expected;
    };
    const Case cases[] = {
        {2, 2, grid.GetDefaultCell(false, false)},
        {2, 0, grid.GetDefaultCell(false, true)},
        {0, 2, grid.GetDefaultCell(true, false)},
        {0, 0, grid.GetDefaultCell(true, true)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.row << "," << c.col);
        EXPECT_EQ(grid.GetCell(c.row, c.col)->GetDefaultCell(), c.expected);
    }
    // The four are different cells.
    EXPECT_NE(cases[0].expected, cases[1].expected);
    EXPECT_NE(cases[1].expected, cases[2].expected);
    EXPECT_NE(cases[2].expected, cases[3].expected);
}

TEST(GridCell, AssignmentCopiesThroughTheSettersAndNothingOnItself) {
    CGridCtrl grid(2, 2);
    CGridCellBase& source = *grid.GetCell(1, 1);
    source.SetText("abc");
    source.SetData(5);
    source.SetTextColour(Rgb(10, 20, 30));
    LogFont font = Arial(-14);
    source.SetFont(&font);
    source.SetMargin(6);

    CGridCellBase& alias = source;
    source = alias;
    EXPECT_EQ(source.GetText(), "abc");
    EXPECT_EQ(source.GetData(), 5);
    EXPECT_EQ(source.GetTextColour(), Rgb(10, 20, 30));
    EXPECT_EQ(*source.GetFont(), font);

    CGridCell copy;
    static_cast<CGridCellBase&>(copy) = source;
    EXPECT_EQ(copy.GetGrid(), &grid);
    EXPECT_EQ(copy.GetText(), "abc");
    EXPECT_EQ(copy.GetData(), 5);
    EXPECT_EQ(copy.GetTextColour(), Rgb(10, 20, 30));
    EXPECT_EQ(copy.GetBackColour(), kAutomaticColor);
    EXPECT_EQ(*copy.GetFont(), font);
    EXPECT_EQ(copy.GetMargin(), 6);
}

TEST(GridDefaultCell, AlwaysReadOnlyAndKeepsNoUserValue) {
    CGridDefaultCell def;
    for (unsigned state : {0u, GridCellState::Selected, 0xFFu}) {
        def.SetState(state);
        EXPECT_TRUE(def.IsReadOnly());
        EXPECT_EQ(def.GetState(), GridCellState::ReadOnly);
    }
    def.SetData(9);
    EXPECT_EQ(def.GetData(), 0);
    EXPECT_EQ(def.GetFormat(), 0x8824u);
    EXPECT_FALSE(def.IsDefaultFont());
}

TEST(GridDefaultCell, FontFixesMarginAndDefaultSize) {
    CGridDefaultCell def;
    for (int height : {-11, -16, -24}) {
        LogFont font = Arial(height);
        def.SetFont(&font);
        QFontMetrics metrics(def.GetFontObject());
        EXPECT_EQ(*def.GetFont(), font);
        EXPECT_EQ(def.GetMargin(), metrics.horizontalAdvance(' '));
        EXPECT_EQ(def.GetWidth(), metrics.horizontalAdvance(" XXXXXXXXXXXX "));
        EXPECT_EQ(def.GetHeight(), metrics.height() * 3 / 2);
    }
    // Null changes nothing.
    int width = def.GetWidth();
    def.SetFont(nullptr);
    EXPECT_EQ(def.GetWidth(), width);
    EXPECT_EQ(def.GetFont()->height, -24);
}

TEST(GridCell, TextExtent) {
    CGridCtrl grid(2, 2);
    CGridCellBase& cell = *grid.GetCell(1, 1);
    const CGridDefaultCell& def = *grid.GetDefaultCell(false, false);
    EXPECT_EQ(cell.GetTextExtent("", nullptr), QSize(def.GetWidth(), def.GetHeight()));

    LogFont font = Arial(-16);
    cell.SetFont(&font);
    cell.SetMargin(3);
    QFontMetrics metrics(cell.GetFontObject());
    int line = metrics.height();

    cell.SetFormat(CGridDefaultCell::kFormat);
    EXPECT_EQ(cell.GetTextExtent("bbbb", nullptr), QSize(metrics.horizontalAdvance("bbbb") + 12, line + 6));

    cell.SetFormat(TextFormat::WordBreak);
    EXPECT_EQ(cell.GetTextExtent("a\nbbbb", nullptr), QSize(metrics.horizontalAdvance("bbbb") + 12, 2 * line + 6));

    font.escapement = 900;
    cell.SetFont(&font);
    cell.SetFormat(CGridDefaultCell::kFormat);
    EXPECT_EQ(cell.GetTextExtent("bbbb", nullptr), QSize(line + 6, metrics.horizontalAdvance("bbbb") + 24));
    EXPECT_EQ(cell.GetCellExtent(nullptr), QSize(def.GetWidth(), def.GetHeight()));
}

}  // namespace
