#include "color_list_delegate.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>

#include "color_list_box.h"
#include "qt_colors.h"

namespace {

constexpr int kItemPadding = 6;  // pixels added to the text's height
constexpr int kDimWeight = 50;   // of 256: how much black darkens a disabled item

QColor Resolve(ColorRef color, SystemColor system, const QPalette& palette) {
    return color == kSystemColor ? SystemQColor(system, palette) : ToQColor(color);
}

int Alignment(unsigned format) {
    int horizontal = (format & TextFormat::Right) != 0    ? Qt::AlignRight
                     : (format & TextFormat::Center) != 0 ? Qt::AlignHCenter
                                                          : Qt::AlignLeft;
    int vertical = (format & TextFormat::Bottom) != 0           ? Qt::AlignBottom
                   : (format & TextFormat::VerticalCenter) != 0 ? Qt::AlignVCenter
                                                                : Qt::AlignTop;
    return horizontal | vertical;
}

void DrawFocusRectangles(QPainter& painter, const QRect& item, const QColor& color) {
    painter.setPen(QPen(color, 1, Qt::DotLine));
    painter.setBrush(Qt::NoBrush);
    for (int inset = 0; inset < 3; ++inset) painter.drawRect(item.adjusted(inset, inset, -inset - 1, -inset - 1));
}

}  // namespace

ColorListDelegate::ColorListDelegate(ColorListBox& list) : QStyledItemDelegate(&list), list_(list) {}

void ColorListDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
    if (!index.isValid() || option.rect.isEmpty()) return;
    const ColorListItem record = index.data(Qt::UserRole).value<ColorListItem>();
    const QPalette& palette = option.palette;
    const SwatchLayout& swatch = list_.Swatch();

    QImage buffer(option.rect.size(), QImage::Format_RGB32);
    QRect item = buffer.rect();
    {
        QPainter draw(&buffer);
        QColor fill = Resolve(record.color, SystemColor::Window, palette);
        if (swatch.gap != 0) {
            draw.fillRect(item, SystemQColor(SystemColor::Window, palette));
            draw.fillRect(SwatchRect(item, swatch), fill);
        } else {
            draw.fillRect(item, fill);
        }
        QRect text = item;
        text.setLeft(ItemTextLeft(item, swatch));
        draw.setFont(option.font);
        draw.setPen(Resolve(record.textColor, SystemColor::WindowText, palette));
        draw.drawText(text, Alignment(record.format1 | record.format2) | Qt::TextSingleLine,
                      index.data(Qt::DisplayRole).toString());
    }
    if (!record.enabled) {
        QImage black(1, 1, QImage::Format_RGB32);
        black.fill(Qt::black);
        BlendRect(buffer, DimmedRect(item), black, black.rect(), kDimWeight);
    }
    if (list_.DrawFocus() && (option.state & QStyle::State_HasFocus)) {
        QPainter draw(&buffer);
        DrawFocusRectangles(draw, item, SystemQColor(SystemColor::WindowText, palette));
    }
    painter->drawImage(option.rect.topLeft(), buffer);
}

QSize ColorListDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const {
    QFontMetrics metrics(option.font);
    int height = (list_.FixedItemHeight() != 0 ? list_.FixedItemHeight() : metrics.height()) + kItemPadding;
    QRect item(0, 0, 0, height);
    int width = ItemTextLeft(item, list_.Swatch()) + metrics.horizontalAdvance(index.data().toString());
    return QSize(width, height);
}
