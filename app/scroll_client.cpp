#include "scroll_client.h"

#include <algorithm>

#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>

ScrollClient::ScrollClient(Paint paint, QWidget* parent) : QAbstractScrollArea(parent), paint_(std::move(paint)) {
    setFrameShape(QFrame::NoFrame);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
}

void ScrollClient::SetTotalSize(Size total) {
    total_ = total;
    UpdateBars();
    viewport()->update();
}

Size ScrollClient::ClientSize() const { return {viewport()->width(), viewport()->height()}; }

Point ScrollClient::ScrollPosition() const {
    return {horizontalScrollBar()->value(), verticalScrollBar()->value()};
}

void ScrollClient::UpdateBars() {
    Size client = ClientSize();
    QScrollBar* across = horizontalScrollBar();
    QScrollBar* down = verticalScrollBar();
    across->setRange(0, std::max(0, total_.cx - client.cx));
    across->setPageStep(client.cx);
    across->setSingleStep(std::max(1, total_.cx / 100));
    down->setRange(0, std::max(0, total_.cy - client.cy));
    down->setPageStep(client.cy);
    down->setSingleStep(std::max(1, total_.cy / 100));
}

void ScrollClient::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    Point scrolled = ScrollPosition();
    painter.translate(-scrolled.x, -scrolled.y);
    if (paint_) paint_(painter, event->rect().translated(scrolled.x, scrolled.y));
}

void ScrollClient::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    UpdateBars();
}

void ScrollClient::scrollContentsBy(int, int) { viewport()->update(); }
