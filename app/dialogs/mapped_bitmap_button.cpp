#include "mapped_bitmap_button.h"

#include <QEvent>
#include <QPainter>

#include "qt_colors.h"

namespace {

// The colours a button image is drawn in and the system colours that
// stand for them on the screen.
struct ColorMapping {
    QRgb drawn;
    SystemColor shown;
};
constexpr ColorMapping kButtonColors[] = {
    {qRgb(0, 0, 0), SystemColor::ButtonText},
    {qRgb(0x80, 0x80, 0x80), SystemColor::ButtonShadow},
    {qRgb(0xC0, 0xC0, 0xC0), SystemColor::ButtonFace},
    {qRgb(0xFF, 0xFF, 0xFF), SystemColor::ButtonHighlight},
};

QImage MapButtonColors(QImage image, const QPalette& palette) {
    image = image.convertToFormat(QImage::Format_ARGB32);
    QRgb shown[std::size(kButtonColors)];
    for (size_t i = 0; i < std::size(kButtonColors); ++i) {
        shown[i] = SystemQColor(kButtonColors[i].shown, palette).rgb();
    }
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(line[x]) != 0xFF) continue;
            for (size_t i = 0; i < std::size(kButtonColors); ++i) {
                if (line[x] == kButtonColors[i].drawn) {
                    line[x] = shown[i];
                    break;
                }
            }
        }
    }
    return image;
}

}  // namespace

CMappedBitmapButton::CMappedBitmapButton(QWidget* parent) : QAbstractButton(parent) {}

bool CMappedBitmapButton::LoadBitmap(const QString& imagePath) {
    faces_ = {};
    imagePath_ = imagePath;
    QImage strip(imagePath);
    const int faceWidth = strip.width() / 4;
    if (strip.isNull() || faceWidth == 0) return false;
    strip = MapButtonColors(strip, palette());
    for (int face = 0; face < 4; ++face) faces_[face] = strip.copy(face * faceWidth, 0, faceWidth, strip.height());
    update();
    return true;
}

bool CMappedBitmapButton::AutoLoad(const QString& imagePath) {
    if (!LoadBitmap(imagePath)) return false;
    resize(FaceSize());
    return true;
}

CMappedBitmapButton::Face CMappedBitmapButton::CurrentFace() const {
    if (isDown()) return Pressed;
    if (hasFocus()) return Focused;
    if (!isEnabled()) return Disabled;
    return Up;
}

QSize CMappedBitmapButton::sizeHint() const { return HasFaces() ? FaceSize() : QSize(16, 16); }

void CMappedBitmapButton::paintEvent(QPaintEvent*) {
    if (!HasFaces()) return;
    QPainter painter(this);
    painter.drawImage(QPoint(0, 0), faces_[CurrentFace()]);
}

void CMappedBitmapButton::changeEvent(QEvent* event) {
    QAbstractButton::changeEvent(event);
    if (event->type() == QEvent::PaletteChange && HasFaces()) LoadBitmap(imagePath_);
}
