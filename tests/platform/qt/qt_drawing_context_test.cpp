#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include <fontconfig/fontconfig.h>

#include <QImage>
#include <QPainter>

#include "emf_drawing_context.h"
#include "emf_fixture.h"
#include "fixed_metric_measurer.h"
#include "qt_colors.h"
#include "qt_drawing_context.h"
#include "qt_font.h"
#include "qt_text_measurer.h"
#include "windows_1250.h"

namespace {

constexpr QRgb kGround = 0xFF00FF00;  // green: what no drawing here uses
constexpr QRgb kInk = 0xFF000000;
constexpr QRgb kPaper = 0xFFFFFFFF;

std::uint32_t U32(const std::vector<std::uint8_t>& b, std::size_t at) {
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (std::uint32_t{b[at + 3]} << 24);
}

// An image filled with the ground colour, drawn on through a fresh context.
class Canvas {
public:
    explicit Canvas(int width = 100, int height = 100) : image_(Ground(width, height)), painter_(&image_) {}

    QtDrawingContext& dc() { return dc_; }
    // What the owner of the painter may set between two drawing calls.
    QPainter& painter() { return painter_; }

    const QImage& Finish() {
        if (painter_.isActive()) painter_.end();
        return image_;
    }
    QRgb At(int x, int y) { return Finish().pixel(x, y); }
    int CountInRow(int y, QRgb color, int from, int to) {
        int n = 0;
        for (int x = from; x < to; ++x) n += At(x, y) == color;
        return n;
    }

private:
    static QImage Ground(int width, int height) {
        QImage image(width, height, QImage::Format_RGB32);
        image.fill(kGround);
        return image;
    }

    QImage image_;
    QPainter painter_;
    QtDrawingContext dc_{painter_};
};

TEST(QtDrawingContext, RectanglesCoverLeftTopButNotRightBottom) {
    Canvas canvas;
    canvas.dc().Rectangle({10, 20, 30, 26});  // default black pen, white brush

    struct Case {
        int x, y;
        QRgb color;
    };
    const Case cases[] = {
        {10, 20, kInk},    {29, 25, kInk},    {29, 20, kInk},    {10, 25, kInk},     // the corners
        {30, 22, kGround}, {20, 26, kGround}, {9, 22, kGround},  {20, 19, kGround},  // just outside
        {11, 21, kPaper},  {28, 24, kPaper},                                          // the brush
    };
    for (const Case& c : cases) EXPECT_EQ(canvas.At(c.x, c.y), c.color) << c.x << "," << c.y;
}

TEST(QtDrawingContext, ShapesWithTheNullPenAreFilledOnly) {
    Canvas canvas;
    canvas.dc().SelectPen({5, {0, 0}, kBlack});  // the null pen
    canvas.dc().SelectBrush({BrushStyle::Solid, kRed, 0});
    canvas.dc().Rectangle({10, 10, 20, 20});
    EXPECT_EQ(canvas.At(10, 10), 0xFFFF0000u);
    EXPECT_EQ(canvas.At(15, 15), 0xFFFF0000u);
    EXPECT_EQ(canvas.At(20, 15), kGround);
}

TEST(QtDrawingContext, TheClipRectangleNarrowsThePaintersClipAndIsLifted) {
    Canvas canvas;
    canvas.dc().SelectPen({5, {0, 0}, kBlack});
    canvas.dc().SelectBrush({BrushStyle::Solid, kRed, 0});
    canvas.dc().SetClipRect(Rect{10, 10, 20, 20});
    canvas.dc().Rectangle({0, 0, 30, 30});
    canvas.dc().SetClipRect(std::nullopt);
    canvas.dc().Rectangle({40, 40, 50, 50});
    struct Case {
        int x, y;
        QRgb color;
    };
    const Case cases[] = {
        {9, 15, kGround}, {10, 10, 0xFFFF0000u}, {19, 19, 0xFFFF0000u}, {20, 15, kGround}, {45, 45, 0xFFFF0000u},
    };
    for (const Case& c : cases) EXPECT_EQ(canvas.At(c.x, c.y), c.color) << c.x << "," << c.y;
}

TEST(QtDrawingContext, AClipNeverWidensTheClipOfThePaintersOwner) {
    QImage image(40, 40, QImage::Format_RGB32);
    image.fill(kGround);
    {
        QPainter painter(&image);
        painter.setClipRect(QRect(0, 0, 15, 40));
        QtDrawingContext dc(painter);
        dc.SelectPen({5, {0, 0}, kBlack});
        dc.SelectBrush({BrushStyle::Solid, kRed, 0});
        dc.SetClipRect(Rect{10, 0, 30, 40});
        dc.Rectangle({0, 0, 40, 40});
    }
    EXPECT_EQ(image.pixel(9, 5), kGround);
    EXPECT_EQ(image.pixel(12, 5), 0xFFFF0000u);
    EXPECT_EQ(image.pixel(20, 5), kGround);
}

TEST(QtDrawingContext, LinesLeaveOutTheirLastPixel) {
    Canvas canvas;
    canvas.dc().MoveTo({10, 5});
    canvas.dc().LineTo({20, 5});
    EXPECT_EQ(canvas.At(10, 5), kInk);
    EXPECT_EQ(canvas.At(19, 5), kInk);
    EXPECT_EQ(canvas.At(20, 5), kGround);
}

TEST(QtDrawingContext, ADashedPenWiderThanOnePixelDrawsSolid) {
    Canvas canvas;
    canvas.dc().SelectPen({PenStyle::Dash, {1, 0}, kBlack});
    canvas.dc().MoveTo({0, 10});
    canvas.dc().LineTo({90, 10});
    canvas.dc().SelectPen({PenStyle::Dash, {3, 0}, kBlack});
    canvas.dc().MoveTo({0, 30});
    canvas.dc().LineTo({90, 30});

    int thin = canvas.CountInRow(10, kInk, 0, 90);
    EXPECT_GT(thin, 30);
    EXPECT_LT(thin, 85);  // gaps between the dashes
    EXPECT_EQ(canvas.CountInRow(30, kInk, 2, 88), 86);
    EXPECT_EQ(canvas.CountInRow(29, kInk, 2, 88), 86);  // three pixels thick
}

TEST(QtDrawingContext, PolygonsFillByTheAlternateRule) {
    // A square drawn twice round, the inner one inside the outer: the ring
    // between them is filled and the inner square is not.
    Canvas canvas;
    canvas.dc().SelectPen({5, {0, 0}, kBlack});
    canvas.dc().SelectBrush({BrushStyle::Solid, kBlue, 0});
    const std::vector<Point> points{{10, 10}, {90, 10}, {90, 90}, {10, 90}, {10, 10},
                                    {30, 30}, {70, 30}, {70, 70}, {30, 70}, {30, 30}};
    canvas.dc().Polygon(points);
    EXPECT_EQ(canvas.At(20, 50), 0xFF0000FFu);
    EXPECT_EQ(canvas.At(50, 50), kGround);
}

TEST(QtDrawingContext, ArcsRunCounterClockwiseAndCloseWhenStartIsEnd) {
    const Rect box{10, 10, 91, 91};  // centre (50, 50), radius 40
    Canvas quarter;
    quarter.dc().Arc(box, {90, 50}, {50, 10});  // from 3 o'clock to 12 o'clock
    Canvas whole;
    whole.dc().Arc(box, {90, 50}, {90, 50});

    auto inkNear = [](Canvas& canvas, int x, int y) {
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                if (canvas.At(x + dx, y + dy) == kInk) return true;
        return false;
    };
    // The points at 45 degrees in each quadrant.
    EXPECT_TRUE(inkNear(quarter, 78, 22));
    EXPECT_FALSE(inkNear(quarter, 22, 22));
    EXPECT_FALSE(inkNear(quarter, 78, 78));
    for (auto [x, y] : {std::pair{78, 22}, {22, 22}, {22, 78}, {78, 78}}) {
        EXPECT_TRUE(inkNear(whole, x, y)) << x << "," << y;
    }
    EXPECT_EQ(whole.At(50, 50), kGround);  // an arc is never filled
}

TEST(QtDrawingContext, TextIsTopAlignedOnItsOpaqueCell) {
    Canvas canvas(200, 100);
    LogFont font;
    font.SetFaceName("Arial");
    font.height = -20;
    canvas.dc().SelectFont(font);
    Size extent = canvas.dc().GetTextExtent("Bus 1");
    canvas.dc().TextOut({10, 30}, "Bus 1");

    EXPECT_EQ(extent, QtTextMeasurer().TextExtent(font, "Bus 1"));
    EXPECT_GE(extent.cy, 20);
    // The cell is painted white from the reference point right and down.
    EXPECT_EQ(canvas.At(10, 30), kPaper);
    EXPECT_EQ(canvas.At(10 + extent.cx - 1, 30 + extent.cy - 1), kPaper);
    EXPECT_EQ(canvas.At(9, 30), kGround);
    EXPECT_EQ(canvas.At(10, 29), kGround);
    EXPECT_EQ(canvas.At(10 + extent.cx, 30), kGround);
    int inked = 0;
    for (int y = 30; y < 30 + extent.cy; ++y) inked += canvas.CountInRow(y, kInk, 10, 10 + extent.cx);
    EXPECT_GT(inked, 20);
}

TEST(QtDrawingContext, AlignmentAndEscapementPlaceTheText) {
    LogFont font;
    font.SetFaceName("Arial");
    font.height = -20;

    Canvas centred(200, 100);
    centred.dc().SelectFont(font);
    centred.dc().SetTextAlign(TextAlign::Center | TextAlign::Top);
    Size extent = centred.dc().GetTextExtent("Generator");
    centred.dc().TextOut({100, 30}, "Generator");
    EXPECT_EQ(centred.At(100 - extent.cx / 2, 30), kPaper);
    EXPECT_EQ(centred.At(100 - extent.cx / 2 - 2, 30), kGround);

    // Turned a quarter counter-clockwise, the text rises from the point and
    // its cell lies to the right of it.
    Canvas turned(100, 200);
    font.escapement = 900;
    turned.dc().SelectFont(font);
    turned.dc().TextOut({30, 150}, "Generator");
    EXPECT_EQ(turned.At(32, 150 - extent.cx + 2), kPaper);
    EXPECT_EQ(turned.At(32, 152), kGround);
    EXPECT_EQ(turned.At(28, 140), kGround);
}

// Drawn without its cell, a text lies where it lies on its cell, whatever
// the alignment.
TEST(QtDrawingContext, EachAlignmentPlacesTransparentTextAsOnItsCell) {
    LogFont font;
    font.SetFaceName("Arial");
    font.height = -20;
    const unsigned alignments[] = {TextAlign::Left | TextAlign::Top, TextAlign::Center | TextAlign::Top,
                                   TextAlign::Right | TextAlign::Top, TextAlign::Left | TextAlign::Bottom,
                                   TextAlign::Right | TextAlign::Baseline};
    for (unsigned align : alignments) {
        std::vector<QPoint> inked[2];
        for (BackgroundMode mode : {BackgroundMode::Opaque, BackgroundMode::Transparent}) {
            Canvas canvas(200, 100);
            canvas.dc().SelectFont(font);
            canvas.dc().SetTextAlign(align);
            canvas.dc().SetBackgroundMode(mode);
            canvas.dc().TextOut({100, 50}, "Bus 12");
            const QImage& image = canvas.Finish();
            for (int y = 0; y < image.height(); ++y) {
                for (int x = 0; x < image.width(); ++x) {
                    if (image.pixel(x, y) == kInk) inked[mode == BackgroundMode::Transparent].push_back({x, y});
                }
            }
        }
        EXPECT_GT(inked[0].size(), 20u) << align;
        EXPECT_EQ(inked[0], inked[1]) << align;
    }
}

TEST(QtDrawingContext, TransparentTextLeavesWhatLiesBeneath) {
    Canvas canvas(200, 100);
    canvas.dc().SetBackgroundMode(BackgroundMode::Transparent);
    canvas.dc().SetTextColor(kRed);
    canvas.dc().TextOut({10, 30}, "Load");
    const QImage& image = canvas.Finish();
    int red = 0;
    int white = 0;
    for (int y = 30; y < 50; ++y) {
        for (int x = 10; x < 60; ++x) {
            red += image.pixel(x, y) == 0xFFFF0000u;
            white += image.pixel(x, y) == kPaper;
        }
    }
    EXPECT_GT(red, 10);
    EXPECT_EQ(white, 0);
}

// The context keeps the shaping of each text and the painter's pen and font
// between calls; whatever it reuses, a text must come out as the painter
// draws it from scratch: the same glyphs on the same pixels, measured the
// same, also when the owner set a pen or font of its own in between.
TEST(QtDrawingContext, TextIsDrawnAsThePainterDrawsIt) {
    struct Case {
        const char* text;  // Windows-1250
        int height;
        int weight;
        bool italic;
        bool underline;
    };
    const Case cases[] = {
        {"Bus 12", -11, 400, false, false},
        {"V=109.99/-0.1\xb0", -11, 400, false, false},
        {"AVATAR Wa To.", -20, 700, false, false},      // kerned pairs
        {"\x8elu\x9dou\xe8k\xfd k\xf9\xf2 ", -13, 400, true, false},  // trailing space
        {"Tab\tbed", -13, 400, false, false},           // laid out by the painter
        {"soft\xadhyphen", -13, 400, false, false},
        {"Underlined", -16, 400, false, true},
    };
    for (const Case& c : cases) {
        LogFont font;
        font.SetFaceName("Arial");
        font.height = c.height;
        font.weight = c.weight;
        font.italic = c.italic ? 1 : 0;
        font.underline = c.underline ? 1 : 0;
        const QFont qfont = ToQFont(font);
        const QFontMetrics metrics(qfont);
        const Point at{7, 11};

        QImage expected(200, 40, QImage::Format_RGB32);
        expected.fill(kGround);
        {
            QPainter painter(&expected);
            painter.translate(at.x, at.y);
            painter.setFont(qfont);
            painter.setPen(ToQColor(kRed));
            // Twice, as the context draws it below: the edges blend.
            for (int i = 0; i < 2; ++i) painter.drawText(QPoint(0, metrics.ascent()), FromWindows1250(c.text));
        }
        const int advance = metrics.horizontalAdvance(FromWindows1250(c.text));

        Canvas canvas(200, 40);
        QtDrawingContext& dc = canvas.dc();
        dc.SetBackgroundMode(BackgroundMode::Transparent);
        dc.SetTextColor(kRed);
        dc.SelectFont(font);
        EXPECT_EQ(dc.GetTextExtent(c.text).cx, advance) << c.text;
        dc.TextOut(at, c.text);
        // Drawn again over the first, from what the context kept, after the
        // owner changed the painter.
        canvas.painter().setFont(QFont("Courier New", 30));
        canvas.painter().setPen(Qt::blue);
        dc.TextOut(at, c.text);
        EXPECT_EQ(dc.GetTextExtent(c.text).cx, advance) << c.text;
        EXPECT_TRUE(canvas.Finish() == expected) << c.text;
    }
}

TEST(QtDrawingContext, PicturesAreStretchedIntoTheirRectangle) {
    std::vector<std::uint8_t> picture = FilledRectangleMetafile(40, 30, 255, 0, 0);
    ASSERT_FALSE(picture.empty());
    // The same picture whose header points at a description of no length,
    // which is left out rather than read up to a terminator.
    std::vector<std::uint8_t> pointless = picture;
    pointless[64] = static_cast<std::uint8_t>(picture.size());
    for (const auto& bytes : {picture, pointless}) {
        Canvas canvas;
        canvas.dc().PlayPicture(bytes, {20, 20, 80, 60});
        EXPECT_EQ(canvas.At(50, 40), 0xFFFF0000u);
        EXPECT_EQ(canvas.At(10, 10), kGround);
        EXPECT_EQ(canvas.At(85, 65), kGround);
    }
}

TEST(QtDrawingContext, APictureRectangleWiderThanAnIntHoldsIsStillPlayed) {
    Canvas canvas;
    canvas.dc().PlayPicture(FilledRectangleMetafile(40, 30, 255, 0, 0), {-2'000'000'000, 0, 2'000'000'000, 100});
    EXPECT_EQ(canvas.At(50, 40), 0xFFFF0000u);
}

// A picture from elsewhere may give its text as glyph indices; playing it
// must leave fontconfig, which the program's own fonts use, as it was.
TEST(QtDrawingContext, TextGivenAsGlyphIndicesIsLeftOutAndTheFontsStay) {
    FixedMetricMeasurer measurer;
    EmfDrawingContext emf(measurer, {100, 100});
    emf.SelectBrush({BrushStyle::Solid, Rgb(255, 0, 0), 0});
    emf.Rectangle({0, 0, 100, 100});
    LogFont font;
    font.height = -12;
    font.SetFaceName("Arial");
    emf.SelectFont(font);
    emf.TextOut({4, 4}, "Bus 1");
    std::vector<std::uint8_t> picture = emf.Finish();
    constexpr std::uint32_t kExtTextOutW = 84, kGlyphIndexOption = 0x10;
    int texts = 0;
    for (std::size_t at = 0; at + 8 <= picture.size(); at += U32(picture, at + 4)) {
        if (U32(picture, at) != kExtTextOutW) continue;
        picture[at + 52] |= kGlyphIndexOption;
        ++texts;
    }
    ASSERT_EQ(texts, 1);

    FcConfig* fonts = FcConfigGetCurrent();
    FcConfigReference(fonts);  // kept alive, so that a new one cannot take its address
    Canvas canvas;
    canvas.dc().PlayPicture(picture, {0, 0, 100, 100});
    EXPECT_EQ(FcConfigGetCurrent(), fonts);
    FcConfigDestroy(fonts);
    EXPECT_EQ(canvas.At(50, 50), 0xFFFF0000u);
}

TEST(QtDrawingContext, BytesThatAreNoSoundPictureDrawNothing) {
    const std::vector<std::uint8_t> picture = FilledRectangleMetafile(40, 30, 255, 0, 0);
    auto withUInt32 = [&](std::size_t offset, std::uint32_t value) {
        std::vector<std::uint8_t> bytes = picture;
        for (int i = 0; i < 4; ++i) bytes[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
        return bytes;
    };
    struct Case {
        const char* what;
        std::vector<std::uint8_t> bytes;
    };
    const Case cases[] = {
        {"nothing", {}},
        {"a header cut short", std::vector<std::uint8_t>(picture.begin(), picture.begin() + 60)},
        {"no end record", std::vector<std::uint8_t>(picture.begin(), picture.end() - 20)},
        {"not a header first", withUInt32(0, 2)},
        {"no signature", withUInt32(40, 0)},
        {"a description beyond the header", withUInt32(60, 1000)},
        {"a header longer than the file", withUInt32(4, 4000)},
        {"a record size that is no multiple of 4", withUInt32(4, 90)},
        {"bytes of no picture", std::vector<std::uint8_t>(200, 0xFF)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Canvas canvas;
        canvas.dc().PlayPicture(c.bytes, {0, 0, 100, 100});
        const QImage& image = canvas.Finish();
        for (int y = 0; y < 100; y += 5)
            for (int x = 0; x < 100; x += 5) ASSERT_EQ(image.pixel(x, y), kGround) << x << "," << y;
    }
}

}  // namespace
