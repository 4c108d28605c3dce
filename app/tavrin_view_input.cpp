// The network view's mouse and keys: each input becomes one edit event
// for the model, in diagram units.
#include <QRubberBand>

#include "diagram_area.h"
#include "network_tools.h"
#include "tavrin_doc.h"
#include "tavrin_view.h"

Point CTavrinView::Snap(Point p) const {
    if (!snapToGrid_ || gridStep_ <= 0) return p;
    auto round = [step = gridStep_](int v) { return step * ((v + step / 2) / step); };
    return {round(p.x), round(p.y)};
}

Point CTavrinView::ToDiagram(QPoint client, bool snap) const {
    const Point scroll = area_->ScrollPosition();
    const Point p{client.x() + scroll.x, client.y() + scroll.y};
    return snap ? Snap(p) : p;
}

bool CTavrinView::IsRemote() const { return GetDocument() != nullptr && GetDocument()->IsRemote(); }

int CTavrinView::Tool() const { return GetDocument() != nullptr ? GetDocument()->GetTool() : EditTool::Selection; }

bool CTavrinView::SendEvent(int event, const EditEventArgs& args) {
    CTavrinDoc* document = GetDocument();
    return document != nullptr && document->HandleEditEvent(event, args, this);
}

void CTavrinView::OnLButtonDown(int flags, QPoint client) {
    const auto args = EditEventArgs::Mouse(flags, ToDiagram(client, Tool() != EditTool::Selection));
    // Ctrl + left button ends a line drawn node by node, as a double click.
    if (flags == (MouseFlag::LeftButton | MouseFlag::Control)) {
        if (!IsRemote()) SendEvent(EditEvent::DoubleClick, args);
        return;
    }
    SendEvent(EditEvent::ButtonDown, args);
}

void CTavrinView::OnLButtonDblClk(int flags, QPoint client) {
    if (IsRemote()) return;
    SendEvent(EditEvent::DoubleClick, EditEventArgs::Mouse(flags, ToDiagram(client, Tool() != EditTool::Selection)));
}

void CTavrinView::OnLButtonUp(int flags, QPoint client) {
    if (bandFlags_ != 0) {
        EndBand();
        Rect band{bandStart_.x(), bandStart_.y(), bandEnd_.x(), bandEnd_.y()};
        band.Normalize();
        // A band of no width or no height selects nothing.
        if (band.IsEmpty() || IsRemote()) return;
        const Point scroll = area_->ScrollPosition();
        band.Offset(scroll.x, scroll.y);
        SendEvent(EditEvent::SelectInRect, EditEventArgs::Band(flags, band));
        return;
    }
    if (IsRemote()) return;
    SendEvent(EditEvent::ButtonUp, EditEventArgs::Mouse(flags, ToDiagram(client, Tool() != EditTool::Selection)));
}

void CTavrinView::OnRButtonUp(int flags, QPoint client, QPoint screen) {
    if (flags != 0 && flags != MouseFlag::Control) return;
    contextMenuAt_ = screen;
    const int event = flags == MouseFlag::Control ? EditEvent::FillAndFontAtPoint : EditEvent::ContextMenu;
    SendEvent(event, EditEventArgs::RightButton(flags, ToDiagram(client, Tool() != EditTool::Selection),
                                                {screen.x(), screen.y()}));
}

void CTavrinView::OnMouseMove(int flags, QPoint client) {
    if (!editMode_) return;
    if (bandFlags_ != 0) {
        DragBand(client);
        return;
    }
    if (IsRemote()) return;
    CTavrinDoc* document = GetDocument();
    IModel* model = document != nullptr ? document->GetModel() : nullptr;
    if (model != nullptr && !model->HasSelection() && flags == MouseFlag::LeftButton &&
        toolCommand_ == Command::ToolSelection) {
        StartBand(flags, client);
        return;
    }
    const bool snap = Tool() != EditTool::Selection || (flags & MouseFlag::LeftButton) != 0;
    SendEvent(EditEvent::MouseMove, EditEventArgs::Mouse(flags, ToDiagram(client, snap)));
}

void CTavrinView::OnKeyUp(int virtualKey) {
    if (virtualKey == 0 || IsRemote() || !editMode_) return;
    // Escape reaches the drawing tools too: it cancels a line being drawn.
    if (Tool() != EditTool::Selection && virtualKey != VirtualKey::Escape) return;
    // A count of 0: one grid step per key.
    SendEvent(EditEvent::Key, EditEventArgs::KeyReleased(virtualKey, 0));
}

void CTavrinView::StartBand(int flags, QPoint client) {
    bandFlags_ = flags;
    bandStart_ = bandEnd_ = client;
    CaptureMouse();
    band_->setGeometry(QRect(client, QSize()));
    band_->show();
}

void CTavrinView::DragBand(QPoint client) {
    bandEnd_ = client;
    band_->setGeometry(QRect(bandStart_, bandEnd_).normalized());
}

void CTavrinView::EndBand() {
    band_->hide();
    bandFlags_ = 0;
    ReleaseMouse();
}
