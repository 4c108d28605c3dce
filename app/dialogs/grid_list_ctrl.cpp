#include "grid_list_ctrl.h"

#include <algorithm>
#include <functional>
#include <vector>

#include <QHeaderView>
#include <QKeyEvent>

#include "exchange_numbers.h"
#include "grid_list_delegate.h"

CGridListCtrl::CGridListCtrl(QWidget* parent) : QTableWidget(parent) {
    setItemDelegate(new GridListDelegate(*this));
    setShowGrid(false);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(false);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    horizontalHeader()->setSectionsMovable(true);
    horizontalHeader()->setHighlightSections(false);
    auto restartNumbering = [this] {
        if (rowCount() == 0) rowCounter_ = 0;
    };
    connect(model(), &QAbstractItemModel::rowsRemoved, this, restartNumbering);
    connect(model(), &QAbstractItemModel::modelReset, this, restartNumbering);
}

// The table's own destructor empties the model, which must no longer reach
// this object's handlers.
CGridListCtrl::~CGridListCtrl() { disconnect(model(), nullptr, this, nullptr); }

void CGridListCtrl::DeleteSelectedItems() {
    QModelIndexList rows = selectionModel()->selectedRows();
    std::vector<int> numbers;
    for (const QModelIndex& row : rows) numbers.push_back(row.row());
    // From the bottom up, so the rows still to go keep their numbers.
    std::ranges::sort(numbers, std::greater<>());
    for (int row : numbers) removeRow(row);
}

bool CGridListCtrl::SetItemTextIfChanged(int row, int column, const QString& text) {
    if (row < 0 || row >= rowCount() || column < 0 || column >= columnCount()) return false;
    QTableWidgetItem* cell = item(row, column);
    if (cell == nullptr) {
        setItem(row, column, new QTableWidgetItem(text));
    } else if (cell->text() != text) {
        cell->setText(text);
    }
    return true;
}

int CGridListCtrl::AddNumberedRow() {
    int previous = rowCounter_;
    int row = std::min(rowCounter_, rowCount());
    insertRow(row);
    if (columnCount() > 0) setItem(row, 0, new QTableWidgetItem(FormatInteger(previous + 1)));
    ++rowCounter_;
    return previous;
}

void CGridListCtrl::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QTableWidget::currentChanged(current, previous);
    for (const QModelIndex& mark : {previous, current}) {
        if (!mark.isValid()) continue;
        QRect row = visualRect(mark);
        viewport()->update(QRect(0, row.y(), viewport()->width(), row.height()));
    }
}

void CGridListCtrl::keyReleaseEvent(QKeyEvent* event) {
    QTableWidget::keyReleaseEvent(event);
    if (event->key() == Qt::Key_A && (event->modifiers() & Qt::ControlModifier)) {
        selectAll();
        if (rowCount() > 0 && !currentIndex().isValid()) {
            selectionModel()->setCurrentIndex(model()->index(0, 0), QItemSelectionModel::NoUpdate);
        }
    }
}
