#include "qt_picture_rasteriser.h"

#include <cstring>

#include <QImage>
#include <QPainter>

#include "emf_picture.h"

std::vector<std::uint32_t> QtPictureRasteriser::Rasterise(std::span<const std::uint8_t> metafile, int width,
                                                          int height) {
    if (width <= 0 || height <= 0) return {};
    // Premultiplied ARGB is a 32-bit 0xAARRGGBB per pixel in memory.
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    if (image.isNull()) return {};
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        if (!PlayEnhancedMetafile(painter, metafile, QRectF(0, 0, width, height))) return {};
    }
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y) {
        std::memcpy(pixels.data() + static_cast<std::size_t>(y) * width, image.constScanLine(y),
                    static_cast<std::size_t>(width) * sizeof(std::uint32_t));
    }
    return pixels;
}
