#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include <QImage>
#include <QPainter>

#include "emf_drawing_context.h"
#include "emf_fixture.h"
#include "emf_picture.h"
#include "fixed_metric_measurer.h"
#include "qt_picture_rasteriser.h"

namespace {

constexpr std::uint32_t kAlphaBlendRecord = 114;

std::uint32_t U32(const std::vector<std::uint8_t>& b, std::size_t at) {
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (std::uint32_t{b[at + 3]} << 24);
}

// The offset of the first record of the type; 0 when there is none.
std::size_t FindRecord(const std::vector<std::uint8_t>& bytes, std::uint32_t type) {
    for (std::size_t at = 0; at + 8 <= bytes.size() && U32(bytes, at + 4) >= 8; at += U32(bytes, at + 4)) {
        if (U32(bytes, at) == type) return at;
    }
    return 0;
}

QImage Played(const std::vector<std::uint8_t>& metafile, int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    EXPECT_TRUE(PlayEnhancedMetafile(painter, metafile, QRectF(0, 0, width, height)));
    return image;
}

// A blue ground with the picture played over it.
std::vector<std::uint8_t> NestedExport(const std::vector<std::uint8_t>& picture, const Rect& where) {
    FixedMetricMeasurer measurer;
    QtPictureRasteriser rasteriser;
    EmfDrawingContext emf(measurer, {100, 80}, &rasteriser);
    emf.SelectPen({PenStyle::Solid, {0, 0}, kBlue});
    emf.SelectBrush({BrushStyle::Solid, kBlue, 0});
    emf.Rectangle({0, 0, 100, 80});
    emf.PlayPicture(picture, where);
    return emf.Finish();
}

TEST(MetafilePlayback, APictureInsideAMetafileShowsWhenItIsPlayedBack) {
    const std::vector<std::uint8_t> red = FilledRectangleMetafile(20, 20, 255, 0, 0);
    // A picture that covers only the left half of its frame.
    FixedMetricMeasurer measurer;
    EmfDrawingContext halfPicture(measurer, {40, 40});
    halfPicture.SelectPen({PenStyle::Solid, {0, 0}, Rgb(0, 160, 0)});
    halfPicture.SelectBrush({BrushStyle::Solid, Rgb(0, 160, 0), 0});
    halfPicture.Rectangle({0, 0, 20, 40});
    const std::vector<std::uint8_t> green = halfPicture.Finish();

    const QImage whole = Played(NestedExport(red, {30, 20, 70, 60}), 100, 80);
    EXPECT_EQ(whole.pixelColor(50, 40), QColor(255, 0, 0));
    EXPECT_EQ(whole.pixelColor(10, 10), QColor(0, 0, 255));
    EXPECT_EQ(whole.pixelColor(80, 70), QColor(0, 0, 255));

    // Where the nested picture draws nothing, the ground shows through.
    const QImage half = Played(NestedExport(green, {30, 20, 70, 60}), 100, 80);
    EXPECT_EQ(half.pixelColor(40, 40), QColor(0, 160, 0));
    EXPECT_EQ(half.pixelColor(60, 40), QColor(0, 0, 255));

    // Bytes that are no picture leave the ground alone.
    const QImage none = Played(NestedExport(std::vector<std::uint8_t>(200, 0xFF), {30, 20, 70, 60}), 100, 80);
    EXPECT_EQ(none.pixelColor(50, 40), QColor(0, 0, 255));
}

TEST(MetafilePlayback, AHugePictureIsRasterisedCoarserWithinTheBound) {
    // Its middle lies in the middle of the ground.
    const std::vector<std::uint8_t> bytes =
        NestedExport(FilledRectangleMetafile(20, 20, 255, 0, 0), {-3950, -2960, 4050, 3040});
    const std::size_t record = FindRecord(bytes, kAlphaBlendRecord);
    ASSERT_NE(record, 0u);
    // The source size is the record's last field.
    const std::uint32_t width = U32(bytes, record + 100);
    const std::uint32_t height = U32(bytes, record + 104);
    EXPECT_EQ(width, static_cast<std::uint32_t>(EmfDrawingContext::kMostPictureSide));
    EXPECT_NEAR(static_cast<double>(width) / static_cast<double>(height), 8000.0 / 6000.0, 0.01);
    EXPECT_EQ(Played(bytes, 100, 80).pixelColor(50, 40), QColor(255, 0, 0));
}

TEST(MetafilePlayback, ArcsOfMoreThanHalfATurnAndWholeEllipsesAreDrawnRoundTheirLongWay) {
    FixedMetricMeasurer measurer;
    EmfDrawingContext emf(measurer, {100, 50});
    emf.SelectPen({PenStyle::Solid, {2, 0}, kBlack});
    // A whole circle, as a generator's symbol is drawn, and three quarters
    // of one from its right going over the top to its bottom.
    emf.Arc({10, 10, 40, 40}, {40, 25}, {40, 25});
    emf.Arc({60, 10, 90, 40}, {90, 25}, {75, 40});
    const QImage image = Played(emf.Finish(), 100, 50);
    auto inked = [&](int x, int y) {
        for (int dy = -2; dy <= 2; ++dy)
            for (int dx = -2; dx <= 2; ++dx)
                if (image.pixelColor(x + dx, y + dy) != QColor(Qt::white)) return true;
        return false;
    };
    for (QPoint p : {QPoint(25, 10), QPoint(10, 25), QPoint(25, 40), QPoint(40, 25)}) {
        EXPECT_TRUE(inked(p.x(), p.y())) << p.x() << "," << p.y();
    }
    EXPECT_TRUE(inked(75, 10));
    EXPECT_TRUE(inked(60, 25));
    EXPECT_FALSE(inked(85, 36));  // the quarter from the bottom to the right is left open
}

// Labels hold degree signs and accented names in the stored code page; each
// character must come back, not a gap.
TEST(MetafilePlayback, CharactersBeyondAsciiArePlayedBack) {
    for (const char* text : {"\xB0", "\x8A", "\xE8"}) {  // degree sign, S and c with caron
        FixedMetricMeasurer measurer;
        EmfDrawingContext emf(measurer, {60, 60});
        LogFont font;
        font.height = -40;
        font.weight = 400;
        font.SetFaceName("DejaVu Sans");
        emf.SelectFont(font);
        emf.TextOut({10, 5}, text);
        const QImage image = Played(emf.Finish(), 60, 60);
        int inked = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) inked += image.pixelColor(x, y) != QColor(Qt::white);
        EXPECT_GT(inked, 20) << static_cast<int>(static_cast<unsigned char>(text[0]));
    }
}

}  // namespace
