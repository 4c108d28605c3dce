#include "colour_combo.h"

#include <QPainter>
#include <QSignalBlocker>
#include <QTextOption>

#include "named_colour_table.h"
#include "qt_colors.h"

namespace {

constexpr int kInset = 2;          // pixels between the item's edge and the swatch or the name
constexpr qreal kTabStop = 50.0;  // pixels

// The swatch takes the first quarter of the item, less the inset.
QRect SwatchRect(const QRect& item) {
    const int right = item.x() + item.width() / 4;
    return QRect(QPoint(item.x() + kInset, item.y() + kInset),
                 QPoint(right - 1, item.y() + item.height() - kInset - 1));
}

}  // namespace

CColourCombo::CColourCombo(QWidget* parent) : OwnerDrawCombo(parent) {}

void CColourCombo::Fill() {
    // Filling is no choice of the user's: it tells no one, and leaves
    // nothing selected.
    const QSignalBlocker quiet(this);
    clear();
    for (const NamedColour& entry : NamedColourTable) addItem(QString::fromLatin1(entry.name), entry.colour);
    setCurrentIndex(-1);
}

ColorRef CColourCombo::GetSelectedColour() const {
    const int index = currentIndex();
    return index < 0 ? kBlack : itemData(index).toUInt();
}

void CColourCombo::SelectColour(ColorRef colour) {
    for (int i = 0; i < count(); ++i) {
        if (itemData(i).toUInt() == colour) {
            setCurrentIndex(i);
            return;
        }
    }
}

void CColourCombo::DrawItem(QPainter& painter, const OwnerDrawItem& item) const {
    const OwnerDrawColours colours(palette());
    const QColor background = item.selected ? colours.highlight : colours.window;
    QColor text = item.selected ? colours.SelectedText() : colours.windowText;
    painter.fillRect(item.rect, background);
    if (item.focused) DrawFocusRect(painter, item.rect, text);
    if (item.index < 0 || item.index >= count()) return;

    const QRect swatch = SwatchRect(item.rect);
    if (item.disabled) text = colours.grayText;
    painter.fillRect(swatch, item.disabled ? colours.grayText : ToQColor(itemData(item.index).toUInt()));
    painter.setPen(QPen(Qt::black, 0));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(swatch.adjusted(0, 0, -1, -1));

    QTextOption option(Qt::AlignLeft | Qt::AlignTop);
    option.setTabStopDistance(kTabStop);
    option.setWrapMode(QTextOption::NoWrap);
    const QPoint origin(item.rect.x() + item.rect.width() / 4 + kInset, item.rect.y() + kInset);
    painter.setPen(text);
    painter.drawText(QRectF(origin, item.rect.bottomRight() + QPoint(1, 1)), itemText(item.index), option);
}
