#include "grid_list_delegate.h"

#include <QPainter>
#include <QTableView>

#include "owner_draw_geometry.h"
#include "qt_colors.h"

namespace {

constexpr int kMaxCellText = 255;  // characters drawn of a cell's text

}  // namespace

GridListDelegate::GridListDelegate(QTableView& view) : QStyledItemDelegate(&view), view_(view) {}

void GridListDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
    const QPalette& palette = option.palette;
    const QRect& cell = option.rect;
    const QModelIndex current = view_.currentIndex();
    bool highlighted = (option.state & QStyle::State_Selected) || (current.isValid() && current.row() == index.row());

    painter->save();
    // The row is drawn here alone: whatever the style put under it goes.
    painter->fillRect(cell, SystemQColor(SystemColor::Window, palette));
    if (highlighted) {
        // The bar leaves a pixel free at the row's two ends.
        QRect bar = cell;
        if (index.column() == 0) bar.setLeft(bar.left() + 1);
        if (index.column() == index.model()->columnCount() - 1) bar.setRight(bar.right() - 1);
        painter->fillRect(bar, SystemQColor(SystemColor::Highlight, palette));
    }

    painter->setPen(SystemQColor(SystemColor::WindowText, palette));
    if (index.row() == 0) painter->drawLine(cell.topLeft(), cell.topRight());
    painter->drawLine(cell.bottomLeft(), cell.bottomRight());
    painter->drawLine(cell.topRight(), cell.bottomRight());

    if (GridCellShown(cell, view_.viewport()->width())) {
        QRect textRect = GridCellTextRect(cell);
        QString text = index.data(Qt::DisplayRole).toString().left(kMaxCellText);
        painter->setFont(option.font);
        painter->setPen(SystemQColor(highlighted ? SystemColor::HighlightText : SystemColor::WindowText, palette));
        // A cell may ask for its text at the right; a cell that does not
        // follows its column's heading, so numbers sit under their titles.
        QVariant alignment = index.data(Qt::TextAlignmentRole);
        if (!alignment.isValid()) {
            alignment = index.model()->headerData(index.column(), Qt::Horizontal, Qt::TextAlignmentRole);
        }
        const Qt::Alignment horizontal =
            alignment.isValid() ? Qt::Alignment(alignment.toInt()) & Qt::AlignHorizontal_Mask : Qt::AlignLeft;
        painter->drawText(textRect, horizontal | Qt::AlignVCenter | Qt::TextSingleLine,
                          option.fontMetrics.elidedText(text, Qt::ElideRight, textRect.width()));
    }
    painter->restore();
}
