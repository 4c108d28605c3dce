#include "child_frame.h"

#include <algorithm>

#include <QCloseEvent>

#include "document_base.h"
#include "view_base.h"

CChildFrame::CChildFrame(CView& view) : view_(view) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWidget(&view);
}

CChildFrame::~CChildFrame() { delete &view_; }

void CChildFrame::ShowInPlaceOfView(QWidget* standIn) {
    if (standIn_ != nullptr) ShowViewAgain();
    standIn_ = standIn;
    // The view leaves the frame without a parent; the frame still deletes
    // it at the end.
    setWidget(standIn);
    standIn->show();
    UpdateTitle();
    standIn->setFocus();
}

void CChildFrame::ShowViewAgain() {
    if (standIn_ == nullptr) return;
    QWidget* leaving = standIn_;
    standIn_ = nullptr;
    setWidget(&view_);
    view_.show();
    leaving->deleteLater();
    UpdateTitle();
    view_.setFocus();
}

void CChildFrame::UpdateTitle() {
    CDocument* document = view_.GetDocument();
    if (document == nullptr) return;
    QString title = document->GetTitle();
    const auto& views = document->Views();
    if (views.size() > 1) {
        auto position = std::find(views.begin(), views.end(), &view_) - views.begin();
        title += QStringLiteral(":%1").arg(position + 1);
    }
    setWindowTitle(title + "[*]");
    setWindowModified(document->IsModified());
}

void CChildFrame::CloseWithoutAsking() {
    closingWithoutAsking_ = true;
    close();
}

void CChildFrame::closeEvent(QCloseEvent* event) {
    CDocument* document = view_.GetDocument();
    bool lastView = document != nullptr && document->Views().size() == 1;
    if (!closingWithoutAsking_ && lastView && !document->SaveModified()) {
        event->ignore();
        return;
    }
    QMdiSubWindow::closeEvent(event);
}
