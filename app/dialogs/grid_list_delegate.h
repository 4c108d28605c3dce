#pragma once

#include <QStyledItemDelegate>

class QTableView;

// Draws one cell of a CGridListCtrl: the highlight of a selected or current
// row, the borders, and the text inset and ended by an ellipsis when it does
// not fit. A cell that would reach past the control's right edge stays blank.
class GridListDelegate : public QStyledItemDelegate {
public:
    // The list owns its delegate as a child.
    explicit GridListDelegate(QTableView& view);

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    const QTableView& view_;
};
