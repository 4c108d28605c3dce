#include "tavrin_view.h"

#include <QPainter>
#include <QPaintEvent>

#include "tavrin_doc.h"

CTavrinView::CTavrinView(CTavrinDoc& document) : CView(document) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(200, 150);
}

void CTavrinView::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    // The diagram's paper; the network is drawn on it once the document
    // holds a model.
    painter.fillRect(event->rect(), Qt::white);
}
