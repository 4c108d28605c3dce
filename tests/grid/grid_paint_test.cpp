#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QPixmap>

#include "grid_ctrl.h"
#include "qt_colors.h"

namespace {

// 4 x 3 cells (one fixed row of 20, one fixed column of 30, the others
// 50 x 20) in a 300 x 200 viewport, so that the surround shows right of
// and below them. Each area has a colour of its own.
class GridPaint : public testing::Test {
protected:
    static constexpr ColorRef kCorner = Rgb(200, 0, 0);
    static constexpr ColorRef kFixedColumn = Rgb(0, 0, 200);
    static constexpr ColorRef kFixedRow = Rgb(0, 200, 0);
    static constexpr ColorRef kNormal = Rgb(250, 250, 210);
    static constexpr ColorRef kSurround = Rgb(40, 40, 40);
    static constexpr ColorRef kGridLine = Rgb(192, 192, 192);

    GridPaint() : grid_(4, 3, 1, 1) {
        grid_.setFrameShape(QFrame::NoFrame);
        grid_.resize(300, 200);
        for (int row = 0; row < 4; ++row) grid_.SetRowHeight(row, 20);
        for (int col = 0; col < 3; ++col) grid_.SetColumnWidth(col, col == 0 ? 30 : 50);
        grid_.GetDefaultCell(true, true)->SetBackColour(kCorner);
        grid_.GetDefaultCell(false, true)->SetBackColour(kFixedColumn);
        grid_.GetDefaultCell(true, false)->SetBackColour(kFixedRow);
        grid_.GetDefaultCell(false, false)->SetBackColour(kNormal);
        grid_.SetSurroundColour(kSurround);
        grid_.show();
    }
    ColorRef At(int x, int y) const { return ToColorRef(shot_.pixelColor(x, y)); }
    void Grab() { shot_ = grid_.viewport()->grab().toImage(); }

    CGridCtrl grid_;
    QImage shot_;
};

TEST_F(GridPaint, EachAreaHasItsColour) {
    Grab();
    struct Sample {
        int x;
        int y;
        ColorRef colour;
    };
    const Sample samples[] = {
        {15, 10, kCorner},     {15, 50, kFixedColumn}, {55, 10, kFixedRow}, {55, 50, kNormal},
        {105, 70, kNormal},    {200, 10, kSurround},   {200, 50, kSurround}, {55, 120, kSurround},
        {15, 190, kSurround},  {79, 50, kGridLine},    {55, 39, kGridLine}, {129, 79, kGridLine},
    };
    for (const Sample& s : samples) {
        EXPECT_EQ(At(s.x, s.y), s.colour) << "at " << s.x << "," << s.y;
    }
    // No grid lines in the fixed cells, only their own edges.
    for (QPoint p : {QPoint(79, 10), QPoint(55, 19), QPoint(15, 39), QPoint(29, 50)}) {
        EXPECT_NE(At(p.x(), p.y()), kGridLine) << "at " << p.x() << "," << p.y();
    }
}

TEST_F(GridPaint, CellsOfTheirOwnColourAndSelectedCells) {
    grid_.SetCellBackColour(1, 1, Rgb(255, 128, 0));
    grid_.SetItemState(2, 2, GridCellState::Selected);
    grid_.SetGridLines(GridLines::Horizontal);
    Grab();
    EXPECT_EQ(At(55, 30), Rgb(255, 128, 0));
    EXPECT_EQ(At(105, 50), GetSysColor(SystemColor::Highlight));
    // Horizontal lines only: the column edge shows the cell's fill.
    EXPECT_EQ(At(79, 50), kNormal);
    EXPECT_EQ(At(55, 59), kGridLine);
}

TEST_F(GridPaint, NothingPaintsWhileDrawingIsOff) {
    grid_.SetRedraw(false);
    QImage blank(grid_.viewport()->size(), QImage::Format_RGB32);
    blank.fill(Qt::magenta);
    QImage painted = blank;
    QPainter painter(&painted);
    grid_.OnDraw(painter, painted.rect());
    painter.end();
    EXPECT_EQ(painted, blank);
}

}  // namespace
