#include "view_base.h"

#include "child_frame.h"
#include "document_base.h"

CView::CView(CDocument& document) : document_(&document) {}

CView::~CView() {
    if (document_ != nullptr) document_->RemoveView(*this);
}

CChildFrame* CView::Frame() const {
    for (QWidget* parent = parentWidget(); parent != nullptr; parent = parent->parentWidget()) {
        if (auto* frame = dynamic_cast<CChildFrame*>(parent)) return frame;
    }
    return nullptr;
}
