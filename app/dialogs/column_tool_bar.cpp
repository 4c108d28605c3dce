#include "column_tool_bar.h"

#include <algorithm>

#include <QGridLayout>
#include <QToolButton>

CColumnToolBar::CColumnToolBar(QWidget* parent) : QWidget(parent, Qt::Tool), grid_(new QGridLayout(this)) {
    grid_->setContentsMargins(kBorder, kBorder, kBorder, kBorder);
    grid_->setSpacing(0);
    grid_->setSizeConstraint(QLayout::SetFixedSize);
}

QToolButton* CColumnToolBar::AddButton(QAction* action) {
    auto* button = new QToolButton(this);
    button->setDefaultAction(action);
    button->setAutoRaise(true);
    buttons_.push_back(button);
    LayOut();
    return button;
}

void CColumnToolBar::SetColumns(int columns) {
    columns_ = std::max(columns, 1);
    LayOut();
}

QPoint CColumnToolBar::CellOf(int button) const {
    int row = 0;
    int column = 0;
    int rowSpan = 0;
    int columnSpan = 0;
    grid_->getItemPosition(grid_->indexOf(buttons_.at(button)), &row, &column, &rowSpan, &columnSpan);
    return {column, row};
}

// A row ends after button i when i + 1 is a multiple of the columns.
void CColumnToolBar::LayOut() {
    int row = 0;
    int column = 0;
    for (size_t i = 0; i < buttons_.size(); ++i) {
        grid_->removeWidget(buttons_[i]);
        grid_->addWidget(buttons_[i], row, column);
        ++column;
        if ((i + 1) % columns_ == 0) {
            ++row;
            column = 0;
        }
    }
    adjustSize();
}
