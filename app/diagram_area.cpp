#include "diagram_area.h"

#include <algorithm>
#include <array>
#include <utility>

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPaintEvent>
#include <QScrollBar>

#include "network_edit_event.h"
#include "tavrin_view.h"

DiagramArea::DiagramArea(CTavrinView& view) : QAbstractScrollArea(&view), view_(view) {
    setFrameShape(QFrame::NoFrame);
    setFocusPolicy(Qt::StrongFocus);
    // Moves without a button reach the model too: they show where a line
    // drawn node by node would go.
    viewport()->setMouseTracking(true);
    // The view fills every pixel it paints, once.
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setAutoFillBackground(false);
}

void DiagramArea::SetDiagramSize(Size size) {
    diagramSize_ = size;
    UpdateScrollBars();
}

Point DiagramArea::ScrollPosition() const { return {horizontalScrollBar()->value(), verticalScrollBar()->value()}; }

void DiagramArea::UpdateScrollBars() {
    const QSize page = viewport()->size();
    auto fit = [](QScrollBar* bar, int total, int pageSize) {
        bar->setRange(0, std::max(0, total - pageSize));
        bar->setPageStep(std::max(1, pageSize));
        bar->setSingleStep(std::max(1, pageSize / 10));
    };
    fit(horizontalScrollBar(), diagramSize_.cx, page.width());
    fit(verticalScrollBar(), diagramSize_.cy, page.height());
}

void DiagramArea::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    view_.OnDraw(painter, event->rect());
}

void DiagramArea::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    setFocus(Qt::MouseFocusReason);
    view_.OnLButtonDown(MouseFlagsOf(event->buttons(), event->modifiers()), event->position().toPoint());
}

void DiagramArea::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    view_.OnLButtonDblClk(MouseFlagsOf(event->buttons(), event->modifiers()), event->position().toPoint());
}

void DiagramArea::mouseReleaseEvent(QMouseEvent* event) {
    const int flags = MouseFlagsOf(event->buttons(), event->modifiers());
    if (event->button() == Qt::LeftButton) view_.OnLButtonUp(flags, event->position().toPoint());
    if (event->button() == Qt::RightButton)
        view_.OnRButtonUp(flags, event->position().toPoint(), event->globalPosition().toPoint());
}

void DiagramArea::mouseMoveEvent(QMouseEvent* event) {
    view_.OnMouseMove(MouseFlagsOf(event->buttons(), event->modifiers()), event->position().toPoint());
}

void DiagramArea::keyPressEvent(QKeyEvent* event) {
    const int key = VirtualKeyOf(event->key());
    if (key >= VirtualKey::Left && key <= VirtualKey::Down) {
        event->accept();
        return;
    }
    QAbstractScrollArea::keyPressEvent(event);
}

void DiagramArea::keyReleaseEvent(QKeyEvent* event) {
    if (event->isAutoRepeat()) return;
    view_.OnKeyUp(VirtualKeyOf(event->key()));
}

bool DiagramArea::viewportEvent(QEvent* event) {
    // Keys sent to the viewport itself are the area's.
    if (event->type() == QEvent::KeyRelease || event->type() == QEvent::KeyPress) {
        QAbstractScrollArea::event(event);
        return true;
    }
    return QAbstractScrollArea::viewportEvent(event);
}

void DiagramArea::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollBars();
}

void DiagramArea::scrollContentsBy(int, int) { viewport()->update(); }

int MouseFlagsOf(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers) {
    int flags = 0;
    if (buttons & Qt::LeftButton) flags |= MouseFlag::LeftButton;
    if (buttons & Qt::RightButton) flags |= MouseFlag::RightButton;
    if (buttons & Qt::MiddleButton) flags |= MouseFlag::MiddleButton;
    if (modifiers & Qt::ShiftModifier) flags |= MouseFlag::Shift;
    if (modifiers & Qt::ControlModifier) flags |= MouseFlag::Control;
    return flags;
}

int VirtualKeyOf(int qtKey) {
    static constexpr std::array<std::pair<int, int>, 16> kKeys{{
        {Qt::Key_Backspace, 8},   {Qt::Key_Tab, 9},       {Qt::Key_Return, 13},  {Qt::Key_Enter, 13},
        {Qt::Key_Escape, 27},     {Qt::Key_Space, 32},    {Qt::Key_PageUp, 33},  {Qt::Key_PageDown, 34},
        {Qt::Key_End, 35},        {Qt::Key_Home, 36},     {Qt::Key_Left, VirtualKey::Left},
        {Qt::Key_Up, VirtualKey::Up}, {Qt::Key_Right, VirtualKey::Right}, {Qt::Key_Down, VirtualKey::Down},
        {Qt::Key_Insert, 45},     {Qt::Key_Delete, VirtualKey::Delete},
    }};
    // Letters and digits are their upper-case character codes.
    if ((qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) || (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z)) return qtKey;
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F12) return 112 + (qtKey - Qt::Key_F1);
    for (const auto& [key, code] : kKeys) {
        if (key == qtKey) return code;
    }
    return 0;
}
