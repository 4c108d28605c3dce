#pragma once

#include "color.h"
#include "owner_draw_combo.h"

// A drop-down list of the named colours: each item a framed swatch and the
// colour's name; its data is the colour.
class CColourCombo final : public OwnerDrawCombo {
    Q_OBJECT

public:
    explicit CColourCombo(QWidget* parent = nullptr);

    // Empties the list and adds every named colour in table order.
    void Fill();
    // The selected item's colour; black (0) when nothing is selected.
    ColorRef GetSelectedColour() const;
    // Selects the first item of that colour; nothing changes when no item
    // has it.
    void SelectColour(ColorRef colour);

    void DrawItem(QPainter& painter, const OwnerDrawItem& item) const override;
};
