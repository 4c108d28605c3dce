// Plays arbitrary bytes as an enhanced metafile into a small image, as a
// background picture of a document is played. Refusing the bytes is fine;
// a crash, a hang or a large allocation is a finding.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include "emf_picture.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication application(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    QImage image(64, 64, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    PlayEnhancedMetafile(painter, std::span<const std::uint8_t>(data, size), QRectF(0, 0, 64, 64));
    return 0;
}
