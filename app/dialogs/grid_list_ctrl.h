#pragma once

#include <QString>
#include <QTableWidget>

// A list in report form that draws every row itself: cell borders, a
// highlight bar over selected rows, cells cut off at the control's right
// edge. Whole rows are selected, several at once. The data summary pages
// and the steps of a variable bank use it.
class CGridListCtrl : public QTableWidget {
    Q_OBJECT

public:
    explicit CGridListCtrl(QWidget* parent = nullptr);
    ~CGridListCtrl() override;

    void DeleteSelectedItems();
    // Sets the text only when it differs from the one there (compared
    // exactly), so unchanged cells are not redrawn. False for a cell
    // outside the table.
    bool SetItemTextIfChanged(int row, int column, const QString& text);
    // Inserts a row labelled with its 1-based number in column 0 and
    // answers the previous count of numbered rows. The row goes at that
    // count, or at the end when rows were deleted since; a list emptied by
    // any means numbers from 1 again.
    int AddNumberedRow();

protected:
    // The current row is highlighted across all its cells, so a move of it
    // repaints both whole rows.
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    // Ctrl+A selects every row.
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    int rowCounter_ = 0;
};
