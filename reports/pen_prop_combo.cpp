#include "pen_prop_combo.h"

#include <iterator>

#include <QPainter>

#include "qt_colors.h"
#include "qt_drawing_context.h"

namespace {

// The items' names; an item's index is its style's number.
constexpr const char* kStyleNames[] = {"PS_SOLID", "PS_DASH", "PS_DOT", "PS_DASHDOT", "PS_DASHDOTDOT"};

}  // namespace

CPenPropCombo::CPenPropCombo(QWidget* parent) : OwnerDrawCombo(parent) {
    for (int style = 0; style < static_cast<int>(std::size(kStyleNames)); ++style) addItem(kStyleNames[style], style);
    setCurrentIndex(-1);
}

int CPenPropCombo::SelectStyle(int style) {
    const int index = findData(style);
    if (index >= 0) setCurrentIndex(index);
    return index;
}

int CPenPropCombo::GetSelectedStyle() const {
    const int index = currentIndex();
    return index < 0 ? -1 : itemData(index).toInt();
}

void CPenPropCombo::DrawItem(QPainter& painter, const OwnerDrawItem& item) const {
    const OwnerDrawColours colours(palette());
    QColor text = colours.windowText;
    if (item.selected) {
        text = colours.SelectedText();
        painter.fillRect(item.rect, colours.highlight);
    } else {
        if (item.disabled) text = colours.grayText;
        if (!item.disabled) painter.fillRect(item.rect, colours.window);
    }
    if (item.focused) DrawFocusRect(painter, item.rect, text);
    if (item.index < 0) return;

    // The sample line is drawn as the curves are: the style of the item's
    // number, one pixel wide, leaving a fiftieth of the width at each end.
    const int margin = item.rect.width() / 50;
    const int middle = item.rect.y() + item.rect.height() / 2;
    QtDrawingContext dc(painter);
    dc.SelectPen(LogPen{item.index, Point{0, 0}, ToColorRef(text)});
    dc.MoveTo({item.rect.x() + margin, middle});
    dc.LineTo({item.rect.x() + item.rect.width() - margin, middle});
}
