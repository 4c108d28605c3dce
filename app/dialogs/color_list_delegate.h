#pragma once

#include <QStyledItemDelegate>

class ColorListBox;

// Draws the items of a ColorListBox: swatch or filled background, the text
// in the item's colour, disabled items darkened, focus rectangles. Each
// item is drawn into an image of its own first, which is what lets a
// disabled item be blended with black.
class ColorListDelegate : public QStyledItemDelegate {
public:
    // The list owns its delegate as a child.
    explicit ColorListDelegate(ColorListBox& list);

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    const ColorListBox& list_;
};
