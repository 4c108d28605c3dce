#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QImage>
#include <QPainter>

#include "emf_picture.h"
#include "graph_wnd.h"
#include "scripted_prompt_service.h"

namespace {

constexpr ColorRef kCurveColor = 0x0000FF;  // red
constexpr QRgb kCurveRgb = 0xFFFF0000;

std::vector<std::uint8_t> ReadBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::uint32_t U32(const std::vector<std::uint8_t>& b, std::size_t at) {
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (std::uint32_t{b[at + 3]} << 24);
}

std::uint16_t U16(const std::vector<std::uint8_t>& b, std::size_t at) {
    return static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8));
}

bool HasColor(const QImage& image, QRgb color, QRect area) {
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if ((image.pixel(x, y) & 0xFFFFFF) == (color & 0xFFFFFF)) return true;
        }
    }
    return false;
}

// Smoothed drawing blends a one-pixel line with the white beneath.
bool HasReddishPixel(const QImage& image) {
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            QRgb p = image.pixel(x, y);
            if (qRed(p) > 200 && qGreen(p) < 150 && qBlue(p) < 150) return true;
        }
    }
    return false;
}

bool HasDarkPixel(const QImage& image, QRect area) {
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (qGray(image.pixel(x, y)) < 100) return true;
        }
    }
    return false;
}

class GraphWndTest : public ::testing::Test {
protected:
    ScriptedPromptService prompts;
    CGraphWnd wnd{prompts};
    std::filesystem::path folder;

    void SetUp() override {
        folder = std::filesystem::path(::testing::TempDir()) /
                 ("graph_wnd_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        std::filesystem::create_directories(folder);
        wnd.resize(300, 200);
        wnd.SetDataFile(TEST_DATA_DIR "/graph_continuation_crlf.txt");
        GraphCurve north;
        north.xName = "PLoad_Total";
        north.yName = "V_NORTH";
        north.color = kCurveColor;
        north.penWidth = 2;
        GraphCurve lake = north;
        lake.yName = "V_LAKE";
        lake.color = 0x00AA00;
        wnd.AddCurve(north);
        wnd.AddCurve(lake);
        wnd.SetGraphTitle("PV curve");
        wnd.SetXAxisTitle("Load");
        wnd.SetYAxisTitle("Voltage");
    }
};

TEST_F(GraphWndTest, BitmapHoldsTheRenderedPlotWithTitlesAndLegend) {
    std::filesystem::path path = folder / "plot.bmp";
    ASSERT_TRUE(wnd.SaveBitmap(path.c_str()));
    std::vector<std::uint8_t> bytes = ReadBytes(path);
    ASSERT_EQ(bytes.size(), 180054u);
    EXPECT_EQ(bytes[0], 'B');
    EXPECT_EQ(bytes[1], 'M');
    EXPECT_EQ(U32(bytes, 2), 180054u);
    EXPECT_EQ(U32(bytes, 10), 54u);
    EXPECT_EQ(U32(bytes, 14), 40u);
    EXPECT_EQ(U32(bytes, 18), 300u);
    EXPECT_EQ(U32(bytes, 22), 200u);
    EXPECT_EQ(U16(bytes, 26), 1u);
    EXPECT_EQ(U16(bytes, 28), 24u);
    EXPECT_EQ(U32(bytes, 30), 0u);
    EXPECT_EQ(U32(bytes, 34), 180000u);

    QImage image(QString::fromStdString(path.string()));
    ASSERT_EQ(image.size(), QSize(300, 200));
    const int right = wnd.PlotRight(), bottom = wnd.PlotBottom();
    EXPECT_TRUE(HasColor(image, kCurveRgb, QRect(95, 40, right - 95, bottom - 40)));
    EXPECT_TRUE(HasDarkPixel(image, QRect(95, 2, right - 95, 36)));  // graph title
    EXPECT_TRUE(HasDarkPixel(image, QRect(0, 40, 20, bottom - 40)));  // Y title
    // The legend's lines under the X title, in both curves' colours.
    QRect legend(0, bottom + 45, 300, 200 - bottom - 45);
    EXPECT_TRUE(HasColor(image, kCurveRgb, legend));
    EXPECT_TRUE(HasColor(image, qRgb(0, 0xAA, 0), legend));
}

TEST_F(GraphWndTest, UnwritableFilesAnswerFalseAndLeaveNothing) {
    std::filesystem::path missing = folder / "no_such_folder" / "plot";
    EXPECT_FALSE(wnd.SaveBitmap((missing.string() + ".bmp").c_str()));
    EXPECT_FALSE(wnd.SaveMetafile((missing.string() + ".emf").c_str()));
    EXPECT_FALSE(std::filesystem::exists(missing.parent_path()));
}

TEST_F(GraphWndTest, MetafileShowsTheCurve) {
    std::filesystem::path path = folder / "plot.emf";
    ASSERT_TRUE(wnd.SaveMetafile(path.c_str()));
    std::vector<std::uint8_t> bytes = ReadBytes(path);
    ASSERT_GT(bytes.size(), 108u);
    EXPECT_EQ(U32(bytes, 0), 1u);  // the header record
    EXPECT_EQ(std::string(bytes.begin() + 40, bytes.begin() + 44), " EMF");
    EXPECT_EQ(U32(bytes, 48), bytes.size());
    EXPECT_EQ(U32(bytes, bytes.size() - 20), 14u);  // the end-of-file record, 20 bytes

    QImage image(300, 200, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        ASSERT_TRUE(PlayEnhancedMetafile(painter, bytes, QRectF(0, 0, 300, 200)));
    }
    EXPECT_TRUE(HasReddishPixel(image));
}

TEST_F(GraphWndTest, MissingColumnIsToldAfterThePaint) {
    GraphCurve missing;
    missing.xName = "PLoad_Total";
    missing.yName = "V_SOUTH";
    wnd.AddCurve(missing);
    wnd.grab();
    EXPECT_TRUE(prompts.Messages().empty());
    QCoreApplication::processEvents();
    ASSERT_EQ(prompts.Messages().size(), 1u);
    EXPECT_EQ(prompts.Messages()[0].text, "Graph cannot be updated!\nMissing information for V_SOUTH variable!");
    wnd.grab();
    QCoreApplication::processEvents();
    EXPECT_EQ(prompts.Messages().size(), 1u);
}

TEST_F(GraphWndTest, FileMissingAtThePaintIsPlottedAtTheNext) {
    std::filesystem::path path = folder / "late.txt";
    std::filesystem::remove(path);
    wnd.SetDataFile(path.c_str());
    QImage before = wnd.grab().toImage();
    const QRect plot(95, 40, wnd.PlotRight() - 95, wnd.PlotBottom() - 40);
    EXPECT_FALSE(HasColor(before, kCurveRgb, plot));
    std::filesystem::copy_file(TEST_DATA_DIR "/graph_continuation_crlf.txt", path);
    QImage after = wnd.grab().toImage();
    EXPECT_TRUE(HasColor(after, kCurveRgb, plot));
}

TEST_F(GraphWndTest, RangeNoticeIsAQueuedSignal) {
    std::vector<unsigned> notices;
    QObject::connect(&wnd, &CGraphWnd::Notify, [&](unsigned message) { notices.push_back(message); });
    wnd.SetNotifyMessage(0x8001);
    wnd.grab();
    EXPECT_TRUE(notices.empty());
    QCoreApplication::processEvents();
    EXPECT_EQ(notices, std::vector<unsigned>{0x8001});
    // A repaint without the redraw flag only copies the surface.
    wnd.grab();
    QCoreApplication::processEvents();
    EXPECT_EQ(notices.size(), 1u);
}

}  // namespace
