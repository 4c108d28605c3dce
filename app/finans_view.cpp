#include "finans_view.h"

#include <QPainter>
#include <QPaintEvent>

#include "finans_doc.h"
#include "qt_drawing_context.h"
#include "report_interface.h"
#include "windows_1250.h"

CFinansView::CFinansView(CFinansDoc& document) : CView(document) { setAttribute(Qt::WA_OpaquePaintEvent); }

CFinansDoc* CFinansView::GetDocument() const { return static_cast<CFinansDoc*>(CView::GetDocument()); }

void CFinansView::OnInitialUpdate() {
    IDBReport* report = GetDocument() != nullptr ? GetDocument()->GetReport() : nullptr;
    if (report == nullptr) return;
    GetDocument()->SetTitle(FromWindows1250(report->GetTitle() != nullptr ? report->GetTitle() : ""));
    pageSize_ = report->GetPageSize();
    ShowPage();
}

void CFinansView::ShowPage() {
    IDBReport* report = GetDocument() != nullptr ? GetDocument()->GetReport() : nullptr;
    page_ = report != nullptr ? report->GetPageMetafile(currentPage_) : nullptr;
    update();
}

void CFinansView::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.fillRect(event->rect(), QColor(128, 128, 128));
    if (GetDocument() == nullptr) return;
    // The page, centred when the window is wide enough, with a shadow on
    // its right and bottom.
    int left = pageSize_.cx + 2 * kMargin < width() ? (width() - pageSize_.cx) / 2 : 0;
    Rect page{left, kMargin, left + pageSize_.cx, kMargin + pageSize_.cy};
    QtDrawingContext dc(painter);
    dc.SelectBrush({BrushStyle::Solid, kWhite, 0});
    dc.SelectPen({PenStyle::Solid, {2, 0}, kBlack});
    dc.Rectangle(page);
    dc.MoveTo({page.right + 2, page.top + 2});
    dc.LineTo({page.right + 2, page.bottom + 2});
    dc.LineTo({page.left + 2, page.bottom + 2});
    if (page_) page_->Play(dc, page);
}
