// Exports arbitrary bytes as a layer of a diagram: the picture is nested
// into a metafile as the diagram's export and clipboard copy do it, and the
// metafile written is played back. Refusing the bytes is fine; a crash, a
// hang, a large allocation or a written metafile that cannot be played is a
// finding.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include "emf_drawing_context.h"
#include "emf_picture.h"
#include "qt_picture_rasteriser.h"
#include "qt_text_measurer.h"

// The font library keeps a block for each new font a picture's text asks
// for and no longer points at it: its own, not the program's.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication application(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    QtTextMeasurer measurer;
    QtPictureRasteriser rasteriser;
    EmfDrawingContext emf(measurer, {64, 48}, &rasteriser);
    emf.Rectangle({0, 0, 64, 48});
    emf.PlayPicture(std::span<const std::uint8_t>(data, size), {8, 4, 56, 44});
    const std::vector<std::uint8_t> written = emf.Finish();

    QImage image(64, 48, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    if (!PlayEnhancedMetafile(painter, written, QRectF(0, 0, 64, 48))) std::abort();
    return 0;
}
