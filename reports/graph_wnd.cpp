#include "graph_wnd.h"

#include <vector>

#include <QPainter>

#include "bmp_file.h"
#include "prompt_service.h"
#include "qt_colors.h"
#include "qt_drawing_context.h"
#include "replacement_file.h"

PromptAnswer GraphWndServices::QueuedPrompt::MessageBox(std::string_view text, std::string_view caption,
                                                        PromptIcon icon, PromptButtons buttons) {
    PromptService& prompts = prompts_;
    QMetaObject::invokeMethod(
        &context_,
        [&prompts, text = std::string(text), caption = std::string(caption), icon, buttons] {
            prompts.MessageBox(text, caption, icon, buttons);
        },
        Qt::QueuedConnection);
    return PromptAnswer::Ok;
}

CGraphWnd::CGraphWnd(PromptService& prompts, QWidget* parent)
    : QWidget(parent), GraphWndServices(*this, prompts), GraphPlot(queuedPrompt_, screenMeasurer_) {
    SetNotifySink([this](unsigned message) {
        QMetaObject::invokeMethod(this, [this, message] { emit Notify(message); }, Qt::QueuedConnection);
    });
}

void CGraphWnd::FitSurface() {
    if (surface_.size() == size()) return;
    surface_ = QImage(size(), QImage::Format_RGB32);
    surface_.fill(ToQColor(GetBackgroundColor()));
    SetClientSize({width(), height()});
}

void CGraphWnd::UpdateSurface() {
    FitSurface();
    if (!IsLoaded()) LoadData();
    if (!NeedsRedraw() || surface_.isNull()) return;
    QPainter painter(&surface_);
    QtDrawingContext dc(painter);
    PrepareDC(dc);
    Layout(dc);
    Render(dc);
}

void CGraphWnd::DrawOverlay(QPainter& painter) {
    QtDrawingContext dc(painter);
    PrepareDC(dc);
    Layout(dc);
    DrawTitles(dc);
    if (LegendHeight() > 0) DrawLegend(dc);
}

void CGraphWnd::paintEvent(QPaintEvent*) {
    UpdateSurface();
    QPainter screen(this);
    screen.drawImage(0, 0, surface_);
    DrawOverlay(screen);
    // Until the file is there nothing was rendered: the next paint renders.
    if (IsLoaded()) ClearRedraw();
}

void CGraphWnd::resizeEvent(QResizeEvent*) { FitSurface(); }

bool CGraphWnd::SaveMetafile(const char* path) {
    FitSurface();
    return GraphPlot::SaveMetafile(path);
}

std::vector<std::uint8_t> CGraphWnd::RecordMetafile() {
    FitSurface();
    return RenderMetafile();
}

bool CGraphWnd::SaveBitmap(const char* path) {
    if (path == nullptr || *path == '\0') return false;
    UpdateSurface();
    if (surface_.isNull()) return false;
    if (IsLoaded()) ClearRedraw();
    QImage image = surface_.copy();
    {
        QPainter painter(&image);
        DrawOverlay(painter);
    }
    std::vector<ColorRef> pixels;
    pixels.reserve(static_cast<std::size_t>(image.width()) * static_cast<std::size_t>(image.height()));
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) pixels.push_back(Rgb(qRed(line[x]), qGreen(line[x]), qBlue(line[x])));
    }
    try {
        WriteBmpFile(path, image.width(), image.height(), pixels);
        return true;
    } catch (const FileWriteError&) {
        return false;
    }
}
