#pragma once

#include "view_base.h"

class CTavrinDoc;

// The diagram window of a network document.
class CTavrinView : public CView {
public:
    explicit CTavrinView(CTavrinDoc& document);

protected:
    void paintEvent(QPaintEvent* event) override;
};
