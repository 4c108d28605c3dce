#include "diagram_pictures.h"

#include <climits>

#include <QFile>
#include <QPainter>

#include "bmp_file.h"
#include "emf_drawing_context.h"
#include "model_interface.h"
#include "qt_drawing_context.h"
#include "replacement_file.h"

namespace {

// The largest pixel area a 24-bit bitmap file can describe: its size
// field has 32 bits.
constexpr long long kMostBitmapBytes = 0xFFFFFFFFLL - 54;

int Grown(int value, int by) { return value > INT_MAX - by ? INT_MAX : value + by; }

// The background over `ground`, then the diagram; labels lie over the
// diagram, not on boxes of the background colour.
void DrawOnBackground(DrawingContext& dc, IModel& model, const Rect& ground) {
    const ColorRef background = model.GetBackgroundColor();
    dc.SelectPen({PenStyle::Solid, {0, 0}, background});
    dc.SelectBrush({BrushStyle::Solid, background, 0});
    dc.Rectangle(ground);
    dc.SetBackgroundMode(BackgroundMode::Transparent);
    model.Draw(dc, nullptr);
}

}  // namespace

Rect DiagramExtent(IModel& model, int margin) {
    Rect bounds{0, 0, 100, 100};
    model.GetBoundingRect(bounds);
    return {0, 0, Grown(bounds.right, margin), Grown(bounds.bottom, margin)};
}

RecordedPicture RecordDiagram(IModel& model, ITextMeasurer& measurer) {
    const Rect extent = DiagramExtent(model, kPrintMargin);
    PictureRecorder recorder(measurer, {extent.right, extent.bottom});
    DrawOnBackground(recorder, model, extent);
    return recorder.Finish();
}

DiagramMetafile RecordDiagramMetafile(IModel& model, ITextMeasurer& measurer, IPictureRasteriser& rasteriser) {
    const Rect extent = DiagramExtent(model, kMetafileMargin);
    // The writer's bounds end one unit inside its frame.
    const Size frame{Grown(extent.right, 1), Grown(extent.bottom, 1)};
    EmfDrawingContext emf(measurer, frame, &rasteriser);
    DrawOnBackground(emf, model, {0, 0, frame.cx, frame.cy});
    return {emf.Finish(), frame};
}

QImage DrawDiagramBitmap(IModel& model) {
    const Rect extent = DiagramExtent(model, kPrintMargin);
    const long long rowBytes = (3LL * extent.right + 3) / 4 * 4;
    if (rowBytes * extent.bottom > kMostBitmapBytes) return {};
    QImage image(extent.right, extent.bottom, QImage::Format_RGB32);
    if (image.isNull()) return {};
    QPainter painter(&image);
    {
        QtDrawingContext dc(painter);
        DrawOnBackground(dc, model, extent);
    }
    painter.end();
    return image;
}

void WriteDiagramPicture(IModel& model, const PictureFile& file, ITextMeasurer& measurer,
                         IPictureRasteriser& rasteriser) {
    const std::filesystem::path path(QFile::encodeName(file.path).toStdString());
    if (file.format == PictureFormat::Metafile) {
        WriteFileReplacing(path, RecordDiagramMetafile(model, measurer, rasteriser).bytes);
        return;
    }
    const QImage image = DrawDiagramBitmap(model);
    if (image.isNull()) throw FileWriteError("The diagram is too large for a bitmap: " + path.string());
    const int width = image.width();
    const int height = image.height();
    std::vector<ColorRef> pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    ColorRef* to = pixels.data();
    for (int y = 0; y < height; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < width; ++x) *to++ = Rgb(qRed(line[x]), qGreen(line[x]), qBlue(line[x]));
    }
    WriteBmpFile(path, width, height, pixels);
}
