// The network view's printing: the diagram tiled over as many pages as it
// needs, each page an isotropic window on the printer's pixels.

#include <algorithm>
#include <climits>
#include <cmath>

#include <QPaintDevice>
#include <QPrinter>

#include "app_printer.h"
#include "diagram_pictures.h"
#include "qt_drawing_context.h"
#include "tavrin_app.h"
#include "tavrin_doc.h"
#include "tavrin_view.h"

namespace {

PrinterPage PageOf(const QPaintDevice& printer) {
    return {{printer.widthMM(), printer.heightMM()}, {printer.width(), printer.height()}};
}

// A diagram coordinate on the page's pixels, kept within the range of
// coordinates for a diagram that reaches far beyond the page.
int ToDevice(int value, int pageOrigin, double scale, int deviceOrigin) {
    const double device = deviceOrigin + std::round((static_cast<double>(value) - pageOrigin) * scale);
    return static_cast<int>(std::clamp(device, static_cast<double>(INT_MIN), static_cast<double>(INT_MAX)));
}

}  // namespace

bool CTavrinView::OnPreparePrinting(CPrintInfo& info) {
    IModel* model = Model();
    if (model == nullptr) return false;
    CTavrinApp& app = GetDocument()->Application();
    printPicture_ = std::make_unique<RecordedPicture>(RecordDiagram(*model, app.TextMeasurer()));
    OnBeginPrinting(info, app.Printing().Printer());
    return true;
}

void CTavrinView::OnBeginPrinting(CPrintInfo& info, const QPaintDevice& printer) {
    if (!printPicture_) return;
    printPages_.emplace(PageOf(printer), printPicture_->Frame());
    info.maxPage = printPages_->Count();
    info.previewPages = info.maxPage > 1 ? 2 : 1;
}

void CTavrinView::OnPrint(QPainter& painter, const CPrintInfo& info) {
    IModel* model = Model();
    if (model == nullptr || !printPicture_ || !printPages_) return;
    const Rect& page = info.drawRect;
    // The page's shorter side shows exactly the window extent.
    const double scale = std::min(page.Width(), page.Height()) / static_cast<double>(printPages_->Extent());
    const Point origin = printPages_->Origin(info.currentPage);
    const Size frame = printPicture_->Frame();
    const Rect diagram{ToDevice(0, origin.x, scale, page.left), ToDevice(0, origin.y, scale, page.top),
                       ToDevice(frame.cx, origin.x, scale, page.left), ToDevice(frame.cy, origin.y, scale, page.top)};

    QtDrawingContext dc(painter);
    const ColorRef background = model->GetBackgroundColor();
    dc.SelectPen({PenStyle::Solid, {0, 0}, background});
    dc.SelectBrush({BrushStyle::Solid, background, 0});
    dc.Rectangle(page);
    dc.SetClipRect(page);
    printPicture_->Play(dc, diagram);
}
