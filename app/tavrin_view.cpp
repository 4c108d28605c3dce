#include "tavrin_view.h"

#include <QMainWindow>
#include <QPainter>
#include <QRubberBand>
#include <QStatusBar>
#include <QVBoxLayout>

#include "diagram_area.h"
#include "network_tools.h"
#include "qt_colors.h"
#include "qt_drawing_context.h"
#include "tavrin_app.h"
#include "tavrin_doc.h"

CTavrinView::CTavrinView(CTavrinDoc& document)
    : CView(document),
      area_(new DiagramArea(*this)),
      band_(new QRubberBand(QRubberBand::Rectangle, area_->viewport())),
      toolCommand_(Command::ToolSelection),
      cursorId_(ToolCursor::Selection) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(area_);
    setFocusProxy(area_);
    setMinimumSize(200, 150);
    UseCursor(cursorId_);
    RegisterCommands();
}

CTavrinView::~CTavrinView() {
    CTavrinDoc* document = GetDocument();
    if (document == nullptr) return;
    // The model keeps drawing on another window of the document, if any.
    IView* next = nullptr;
    for (CView* other : document->Views()) {
        if (other != this && dynamic_cast<CTavrinView*>(other) != nullptr) next = static_cast<CTavrinView*>(other);
    }
    document->SetView(next);
}

CTavrinDoc* CTavrinView::GetDocument() const { return static_cast<CTavrinDoc*>(CView::GetDocument()); }

QWidget* CTavrinView::Canvas() const { return area_->viewport(); }

void CTavrinView::OnInitialUpdate() {
    CTavrinDoc* document = GetDocument();
    IModel* model = document != nullptr ? document->GetModel() : nullptr;
    if (model == nullptr) return;
    document->SetView(this);
    model->SetSnapToGrid(snapToGrid_, gridStep_);
    if (document->IsNew()) {
        Profile& profile = document->Application().GetProfile();
        const Profile::Colors colors = profile.GetProfileColors();
        model->SetBackgroundColor(colors.background);
        model->SetFontColor(colors.font);
        model->SetLineColor(colors.line);
        model->SetLineWidth(profile.GetProfileLineWidth());
        model->SetDiagramSize({10, 10});
    }
    SetScrollSizes(model->GetDiagramSize());
    editMode_ = model->GetEditMode();
}

void CTavrinView::SetEditMode(bool on) {
    editMode_ = on;
    if (IModel* model = GetDocument() != nullptr ? GetDocument()->GetModel() : nullptr) model->SetEditMode(on);
}

void CTavrinView::OnDraw(QPainter& painter, const QRect& dirty) {
    CTavrinDoc* document = GetDocument();
    IModel* model = document != nullptr ? document->GetModel() : nullptr;
    painter.fillRect(dirty, ToQColor(model != nullptr ? model->GetBackgroundColor() : kWhite));
    if (model == nullptr) return;
    const Point scroll = GetScrollPosition();
    painter.translate(-scroll.x, -scroll.y);
    QtDrawingContext dc(painter);
    // Labels lie over the diagram, not on boxes of the background colour.
    dc.SetBackgroundMode(BackgroundMode::Transparent);
    const QSize client = area_->viewport()->size();
    Rect visible{scroll.x, scroll.y, scroll.x + client.width(), scroll.y + client.height()};
    visible.Inflate(10, 10);
    // Only what meets the repainted part is drawn: the painter is clipped to
    // it anyway, and a drag repaints a small part at every mouse move.
    Rect repainted{scroll.x + dirty.left(), scroll.y + dirty.top(), scroll.x + dirty.left() + dirty.width(),
                   scroll.y + dirty.top() + dirty.height()};
    repainted.Inflate(10, 10);
    Rect area;
    if (IntersectRect(visible, repainted, area)) document->Draw(dc, &area);
}

void CTavrinView::InvalidateRect(const Rect& area) {
    Rect r = area;
    r.Normalize();
    area_->viewport()->update(QRect(r.left, r.top, r.Width(), r.Height()));
}

void CTavrinView::InvalidateAll() { area_->viewport()->update(); }

void CTavrinView::Update() { area_->viewport()->repaint(); }

// The viewport keeps the mouse while a button is held down by itself, which
// is all a drag needs. Holding it beyond the release, while a line is drawn
// node by node, would turn clicks on the menus, the palette and the other
// windows into points of the line.
void CTavrinView::CaptureMouse() {}

void CTavrinView::ReleaseMouse() {}

void CTavrinView::SetScrollSizes(Size total) {
    diagramSize_ = total;
    area_->SetDiagramSize(total);
}

Point CTavrinView::GetScrollPosition() { return area_->ScrollPosition(); }

void CTavrinView::ToolStateChanged(int, int code) {
    if (auto cursor = CursorOfToolState(code)) UseCursor(*cursor);
}

void CTavrinView::SendToRemoteSolver(std::string_view bytes) {
    if (CTavrinDoc* document = GetDocument()) document->Application().RemoteLink().Send(bytes);
}

void CTavrinView::NodeDrawingChanged(bool started) {
    SetStatusText(started ? QString::fromLatin1(kDrawingHint) : QStringLiteral("Ready"));
}

void CTavrinView::SetStatusText(const QString& text) {
    if (auto* main = qobject_cast<QMainWindow*>(window())) main->statusBar()->showMessage(text);
}
