#include "finans_view.h"

#include <QPainter>
#include <QVBoxLayout>

#include "finans_doc.h"
#include "qt_drawing_context.h"
#include "report_interface.h"
#include "scroll_client.h"
#include "tavrin_app.h"
#include "windows_1250.h"

namespace {

const QColor kDeskColour(128, 128, 128);

}  // namespace

CFinansView::CFinansView(CFinansDoc& document, CTavrinApp& app)
    : CView(document),
      app_(app),
      client_(new ScrollClient([this](QPainter& painter, const QRect& exposed) { OnDraw(painter, exposed); })) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(client_);
    setFocusProxy(client_);
    RegisterCommands();
}

CFinansView::~CFinansView() = default;

CFinansDoc* CFinansView::GetDocument() const { return static_cast<CFinansDoc*>(CView::GetDocument()); }

IDBReport* CFinansView::Report() const { return GetDocument() != nullptr ? GetDocument()->GetReport() : nullptr; }

int CFinansView::PageCount() const { return Report() != nullptr ? Report()->GetPageCount() : 0; }

void CFinansView::OnInitialUpdate() {
    IDBReport* report = Report();
    if (report == nullptr) return;
    const char* title = report->GetTitle();
    GetDocument()->SetTitle(FromWindows1250(title != nullptr ? title : ""));
    pageSize_ = report->GetPageSize();
    client_->SetTotalSize({pageSize_.cx + 2 * kMargin, pageSize_.cy + 2 * kMargin});
    page_ = report->GetPageMetafile(currentPage_);
}

void CFinansView::ShowPage() {
    // A report without pages has no picture to replace.
    if (PageCount() > 0) page_ = Report()->GetPageMetafile(currentPage_);
    client_->viewport()->update();
}

void CFinansView::TurnTo(int page) {
    currentPage_ = page;
    ShowPage();
}

void CFinansView::OnDraw(QPainter& painter, const QRect& exposed) {
    painter.fillRect(exposed, kDeskColour);
    if (GetDocument() == nullptr) return;
    // Centred when the desk is wider than the page and its margins, else
    // against the left edge; the shadow falls right and below.
    int clientWidth = client_->ClientSize().cx;
    int left = pageSize_.cx + 2 * kMargin < clientWidth ? (clientWidth - pageSize_.cx) / 2 : 0;
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

bool CFinansView::OnPreparePrinting(CPrintInfo& info) {
    IDBReport* report = Report();
    if (report == nullptr) return false;
    info.maxPage = report->GetPageCount();
    info.currentPage = currentPage_;
    app_.SetPrinterPaper(report->GetPageType() == 2);
    return true;
}

void CFinansView::OnPrint(QPainter& painter, const CPrintInfo& info) {
    IDBReport* report = Report();
    if (report == nullptr) return;
    std::unique_ptr<RecordedPicture> picture = report->GetPageMetafile(info.currentPage);
    if (!picture) return;
    QtDrawingContext dc(painter);
    picture->Play(dc, info.drawRect);
}
