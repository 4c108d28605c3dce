#pragma once

#include "owner_draw_combo.h"

// A drop-down list of the five pen styles, each item a line drawn in its
// style; the data is the style's number (0 solid, 1 dash, 2 dot, 3
// dash-dot, 4 dash-dot-dot).
class CPenPropCombo final : public OwnerDrawCombo {
    Q_OBJECT

public:
    explicit CPenPropCombo(QWidget* parent = nullptr);

    // Selects the first item of that style and answers its index; -1, with
    // the selection unchanged, when no item has it.
    int SelectStyle(int style);
    // The selected item's style; -1 when nothing is selected.
    int GetSelectedStyle() const;

    void DrawItem(QPainter& painter, const OwnerDrawItem& item) const override;
};
