#pragma once

#include "view_base.h"

class CTavrinDoc;

// The diagram window of a network document: the model's background and
// elements, drawn through the Qt drawing context.
class CTavrinView : public CView {
public:
    explicit CTavrinView(CTavrinDoc& document);

    CTavrinDoc* GetDocument() const;

protected:
    void paintEvent(QPaintEvent* event) override;
};
