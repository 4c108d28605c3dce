#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include "mapped_bitmap_button.h"

namespace {

constexpr int kFace = 16;  // pixels, square
// Each face is marked by a colour of its own in its top-left pixel.
const QColor kFaceMarks[] = {QColor(10, 0, 0), QColor(20, 0, 0), QColor(30, 0, 0), QColor(40, 0, 0)};
// The four standard colours in four bands of every face.
const QColor kStandard[] = {QColor(0, 0, 0), QColor(0x80, 0x80, 0x80), QColor(0xC0, 0xC0, 0xC0),
                            QColor(0xFF, 0xFF, 0xFF)};

QString WriteStrip(const QTemporaryDir& folder) {
    QImage strip(4 * kFace, kFace, QImage::Format_RGB32);
    QPainter painter(&strip);
    for (int face = 0; face < 4; ++face) {
        for (int band = 0; band < 4; ++band) {
            painter.fillRect(face * kFace, band * 4, kFace, 4, kStandard[band]);
        }
    }
    painter.end();
    for (int face = 0; face < 4; ++face) strip.setPixelColor(face * kFace, 0, kFaceMarks[face]);
    QString path = folder.filePath("strip.png");
    strip.save(path);
    return path;
}

QPalette ButtonPalette(QColor text, QColor shadow, QColor face, QColor light) {
    QPalette palette;
    palette.setColor(QPalette::ButtonText, text);
    palette.setColor(QPalette::Dark, shadow);
    palette.setColor(QPalette::Button, face);
    palette.setColor(QPalette::Light, light);
    return palette;
}

class MappedBitmapButtonTest : public ::testing::Test {
protected:
    QTemporaryDir folder;
    CMappedBitmapButton button;

    int PaintedFace() {
        QImage image = button.grab().toImage();
        for (int face = 0; face < 4; ++face) {
            if (image.pixelColor(0, 0) == kFaceMarks[face]) return face;
        }
        return -1;
    }
    // The colours of the four bands as painted.
    std::vector<QColor> Bands() {
        QImage image = button.grab().toImage();
        std::vector<QColor> bands;
        for (int band = 0; band < 4; ++band) bands.push_back(image.pixelColor(kFace / 2, band * 4 + 2));
        return bands;
    }
};

TEST_F(MappedBitmapButtonTest, ThePaintedFaceFollowsPressedThenFocusedThenDisabled) {
    ASSERT_TRUE(button.AutoLoad(WriteStrip(folder)));
    EXPECT_EQ(button.size(), QSize(kFace, kFace));
    button.show();
    EXPECT_EQ(PaintedFace(), 0);
    button.setFocusPolicy(Qt::StrongFocus);
    QApplication::setActiveWindow(&button);
    button.setFocus();
    ASSERT_TRUE(button.hasFocus());
    EXPECT_EQ(PaintedFace(), 2);
    button.setDown(true);
    EXPECT_EQ(PaintedFace(), 1);  // pressed wins over focused
    button.setDown(false);
    button.clearFocus();
    button.setEnabled(false);
    EXPECT_EQ(PaintedFace(), 3);
}

TEST_F(MappedBitmapButtonTest, StandardColoursShowThePalettesAndFollowItsChanges) {
    button.setPalette(ButtonPalette(Qt::darkBlue, Qt::darkGreen, Qt::yellow, Qt::cyan));
    ASSERT_TRUE(button.LoadBitmap(WriteStrip(folder)));
    button.resize(kFace, kFace);
    EXPECT_EQ(Bands(), (std::vector<QColor>{Qt::darkBlue, Qt::darkGreen, Qt::yellow, Qt::cyan}));
    button.setPalette(ButtonPalette(Qt::red, Qt::magenta, Qt::white, Qt::gray));
    EXPECT_EQ(Bands(), (std::vector<QColor>{Qt::red, Qt::magenta, Qt::white, Qt::gray}));
}

TEST_F(MappedBitmapButtonTest, AMissingImageAnswersFalseAndKeepsTheSize) {
    button.resize(40, 30);
    EXPECT_FALSE(button.AutoLoad(folder.filePath("missing.png")));
    EXPECT_EQ(button.size(), QSize(40, 30));
    EXPECT_FALSE(button.HasFaces());

    QImage narrow(3, 8, QImage::Format_RGB32);  // narrower than four faces
    narrow.fill(Qt::black);
    narrow.save(folder.filePath("narrow.png"));
    EXPECT_FALSE(button.LoadBitmap(folder.filePath("narrow.png")));
}

}  // namespace
