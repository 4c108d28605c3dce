#pragma once

#include <QWidget>

#include "cmd_target.h"

class CChildFrame;
class CDocument;

// A window that shows a document. It is the first stop of every command
// while it is active.
class CView : public QWidget, public CCmdTarget {
public:
    explicit CView(CDocument& document);
    ~CView() override;

    // Null only while the application is being torn down.
    CDocument* GetDocument() const { return document_; }
    // The frame the view sits in; null before it is put in one.
    CChildFrame* Frame() const;

    // Once, after the view is in its frame and before it is first shown.
    virtual void OnInitialUpdate() {}

    // The document is going away before the view.
    void DetachDocument() { document_ = nullptr; }

private:
    CDocument* document_;
};
