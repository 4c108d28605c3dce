#include "tavrin_view.h"

#include <QPainter>
#include <QPaintEvent>

#include "qt_colors.h"
#include "qt_drawing_context.h"
#include "tavrin_doc.h"

CTavrinView::CTavrinView(CTavrinDoc& document) : CView(document) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(200, 150);
}

CTavrinDoc* CTavrinView::GetDocument() const { return static_cast<CTavrinDoc*>(CView::GetDocument()); }

void CTavrinView::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    CTavrinDoc* document = GetDocument();
    IModel* model = document != nullptr ? document->GetModel() : nullptr;
    if (model == nullptr) {
        painter.fillRect(event->rect(), Qt::white);
        return;
    }
    // One diagram unit is one pixel; the diagram starts at the window's
    // corner until the view scrolls.
    painter.fillRect(event->rect(), ToQColor(model->GetBackgroundColor()));
    QtDrawingContext dc(painter);
    QRect area = event->rect();
    Rect updated{area.left(), area.top(), area.left() + area.width(), area.top() + area.height()};
    model->Draw(dc, &updated);
}
