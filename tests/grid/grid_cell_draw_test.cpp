#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include <QImage>
#include <QPainter>

#include "grid_ctrl.h"
#include "qt_colors.h"

namespace {

constexpr QRgb kGround = 0xFF00FF00;  // green: no cell here draws it
constexpr ColorRef kRed = Rgb(255, 0, 0);
constexpr ColorRef kBlueish = Rgb(0, 0, 200);
constexpr ColorRef kYellow = Rgb(255, 255, 0);

// A cell drawn (or printed) into a fresh image.
class CellImage {
public:
    enum class Mode { Draw, Print };

    CellImage(CGridCellBase& cell, int row, int col, bool erase, Mode mode = Mode::Draw,
              QImage::Format format = QImage::Format_RGB32)
        : image_(60, 24, format) {
        image_.fill(kGround);
        QPainter painter(&image_);
        Rect rect{0, 0, 59, 23};  // right and bottom are the last pixels
        drawn_ = mode == Mode::Draw ? cell.Draw(&painter, row, col, rect, erase)
                                    : cell.PrintCell(&painter, row, col, rect);
    }

    bool drawn() const { return drawn_; }

    // Every pixel is the paper, the ink or (on the edges of smoothed
    // letters) a blend of the two, and the ink is there.
    testing::AssertionResult IsInkOn(QRgb ink, QRgb paper) const {
        bool inked = false;
        for (int y = 0; y < image_.height(); ++y) {
            for (int x = 0; x < image_.width(); ++x) {
                QRgb p = image_.pixel(x, y);
                if (!IsBlend(p, paper, ink)) {
                    return testing::AssertionFailure()
                           << std::hex << "pixel " << p << " at " << std::dec << x << "," << y;
                }
                inked = inked || Near(p, ink);
            }
        }
        if (!inked) return testing::AssertionFailure() << "no ink";
        return testing::AssertionSuccess();
    }
    // Only the paper.
    testing::AssertionResult IsBlank(QRgb paper) const {
        for (int y = 0; y < image_.height(); ++y) {
            for (int x = 0; x < image_.width(); ++x) {
                if (image_.pixel(x, y) != paper) return testing::AssertionFailure() << x << "," << y;
            }
        }
        return testing::AssertionSuccess();
    }

private:
    static bool Near(QRgb a, QRgb b) {
        return std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) + std::abs(qBlue(a) - qBlue(b)) <= 24;
    }
    static bool IsBlend(QRgb p, QRgb paper, QRgb ink) {
        const int channels[3][3] = {{qRed(p), qRed(paper), qRed(ink)},
                                    {qGreen(p), qGreen(paper), qGreen(ink)},
                                    {qBlue(p), qBlue(paper), qBlue(ink)}};
        // The share of ink, from the channel that tells it best.
        double share = 0.0;
        int widest = 0;
        for (const auto& c : channels) {
            if (std::abs(c[2] - c[1]) > widest) {
                widest = std::abs(c[2] - c[1]);
                share = static_cast<double>(c[0] - c[1]) / (c[2] - c[1]);
            }
        }
        if (share < -0.02 || share > 1.02) return false;
        for (const auto& c : channels) {
            if (std::abs(c[1] + share * (c[2] - c[1]) - c[0]) > 4.0) return false;
        }
        return true;
    }

    QImage image_;
    bool drawn_ = false;
};

QRgb Pixel(ColorRef colour) { return ToQColor(colour).rgb(); }
QRgb Pixel(SystemColor colour) { return SystemQColor(colour).rgb(); }

class GridCellDraw : public testing::Test {
protected:
    GridCellDraw() : grid_(3, 3, 1, 1) {
        grid_.GetDefaultCell(false, false)->SetTextColour(kRed);
        grid_.SetCellText(1, 1, "MWMW");
    }
    CGridCellBase& cell() { return *grid_.GetCell(1, 1); }

    CGridCtrl grid_;
};

TEST_F(GridCellDraw, NoColourOfItsOwnDrawsInTheDefaultCellsColour) {
    CellImage plain(cell(), 1, 1, false);
    ASSERT_TRUE(plain.drawn());
    // Without erase and without a background of its own nothing is filled.
    EXPECT_TRUE(plain.IsInkOn(Pixel(kRed), kGround));

    cell().SetTextColour(kBlueish);
    CellImage own(cell(), 1, 1, true);
    EXPECT_TRUE(own.IsInkOn(Pixel(kBlueish), Pixel(grid_.GetDefaultCell(false, false)->GetBackColour())));
}

TEST_F(GridCellDraw, SelectedCellsDrawHighlightWhateverTheirColours) {
    cell().SetTextColour(kBlueish);
    cell().SetBackColour(kYellow);
    grid_.SetItemState(1, 1, GridCellState::Selected);
    CellImage selected(cell(), 1, 1, false);
    EXPECT_TRUE(selected.IsInkOn(Pixel(SystemColor::HighlightText), Pixel(SystemColor::Highlight)));
}

TEST_F(GridCellDraw, FocusedCellIsFramedInItsTextColour) {
    cell().SetBackColour(kYellow);
    grid_.SetFocusCell(1, 1);
    CellImage focused(cell(), 1, 1, false);
    EXPECT_TRUE(focused.IsInkOn(Pixel(kRed), Pixel(kYellow)));

    grid_.SetFrameFocusCell(false);
    cell().SetText("");
    CellImage unframed(cell(), 1, 1, false);
    EXPECT_TRUE(unframed.IsBlank(Pixel(kYellow)));
}

TEST_F(GridCellDraw, NothingWithoutAreaOrGrid) {
    QImage image(10, 10, QImage::Format_RGB32);
    QPainter painter(&image);
    EXPECT_FALSE(cell().Draw(&painter, 1, 1, Rect{5, 5, 5, 9}, true));
    EXPECT_FALSE(cell().Draw(nullptr, 1, 1, Rect{0, 0, 9, 9}, true));
    CGridCell loose;
    EXPECT_FALSE(loose.Draw(&painter, 1, 1, Rect{0, 0, 9, 9}, true));
    EXPECT_FALSE(loose.PrintCell(&painter, 1, 1, Rect{0, 0, 9, 9}));
}

TEST_F(GridCellDraw, PrintingWithoutColourIsBlackTextOnNothing) {
    cell().SetTextColour(kBlueish);
    cell().SetBackColour(kYellow);
    grid_.SetPrintColour(false);
    CellImage mono(cell(), 1, 1, false, CellImage::Mode::Print);
    EXPECT_TRUE(mono.IsInkOn(qRgb(0, 0, 0), kGround));

    grid_.SetPrintColour(true);
    CellImage colour(cell(), 1, 1, false, CellImage::Mode::Print);
    EXPECT_TRUE(colour.IsInkOn(Pixel(kBlueish), Pixel(kYellow)));
}

TEST_F(GridCellDraw, PrintingFillsOnlyABackgroundThatDiffersFromTheDefault) {
    cell().SetBackColour(grid_.GetDefaultCell(false, false)->GetBackColour());
    CellImage same(cell(), 1, 1, false, CellImage::Mode::Print);
    EXPECT_TRUE(same.IsInkOn(Pixel(kRed), kGround));
}

TEST_F(GridCellDraw, LightTextStaysVisibleOnATwoColourPrinter) {
    cell().SetTextColour(Rgb(255, 255, 255));
    QImage paper(60, 24, QImage::Format_Mono);
    paper.fill(Qt::white);
    {
        QPainter painter(&paper);
        ASSERT_TRUE(cell().PrintCell(&painter, 1, 1, Rect{0, 0, 59, 23}));
    }
    int dark = 0;
    for (int y = 0; y < paper.height(); ++y) {
        for (int x = 0; x < paper.width(); ++x) dark += qGray(paper.pixel(x, y)) < 128;
    }
    EXPECT_GT(dark, 20);
}

}  // namespace
