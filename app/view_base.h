#pragma once

#include <vector>

#include <QWidget>

#include "cmd_target.h"
#include "command_registry.h"

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
    // The keys of this kind of window, live while it is the active one.
    virtual std::vector<KeyBinding> WindowKeys() const { return {}; }

    // The document is going away before the view.
    void DetachDocument() { document_ = nullptr; }

private:
    CDocument* document_;
};
