// Plays arbitrary bytes as an enhanced metafile into a small image, as a
// background picture of a document is played, and loads them as a new
// layer is loaded, drawing the layer in its own rectangle as the diagram
// does. Refusing the bytes is fine; a crash, a hang or a large allocation
// is a finding.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <span>
#include <vector>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include "background_picture.h"
#include "emf_picture.h"
#include "offscreen_application.h"
#include "qt_drawing_context.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    return StartOffscreenApplication<QGuiApplication>(argc, argv);
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    QImage image(64, 64, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    PlayEnhancedMetafile(painter, std::span<const std::uint8_t>(data, size), QRectF(0, 0, 64, 64));

    std::optional<BackgroundPicture> layer =
        LayerOfMetafile(std::vector<std::uint8_t>(data, data + size), "New Layer", false);
    if (layer) {
        QtDrawingContext dc(painter);
        dc.PlayPicture(layer->metafile, layer->rect);
    }
    return 0;
}
