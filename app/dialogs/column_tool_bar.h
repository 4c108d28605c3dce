#pragma once

#include <vector>

#include <QWidget>

class QAction;
class QGridLayout;
class QToolButton;

// A floating palette of tool buttons in rows of a fixed number of columns
// (the main frame's "Tools").
class CColumnToolBar : public QWidget {
    Q_OBJECT

public:
    static constexpr int kBorder = 5;  // pixels on each side

    explicit CColumnToolBar(QWidget* parent = nullptr);

    // A button for the action, after the others.
    QToolButton* AddButton(QAction* action);
    // Starts a new row after every n-th button.
    void SetColumns(int columns);
    int Columns() const { return columns_; }
    // Where the button is: its column as x, its row as y, from 0.
    QPoint CellOf(int button) const;

private:
    void LayOut();

    int columns_ = 2;
    QGridLayout* grid_;
    std::vector<QToolButton*> buttons_;
};
