#pragma once

#include <QWidget>

class QLineEdit;
class QToolButton;

// A pair of arrows that steps the integer in a buddy field. The field
// stays an ordinary text field: typing a value outside the range is
// allowed, and the dialog's exchange refuses it at OK.
class UpDown : public QWidget {
    Q_OBJECT

public:
    explicit UpDown(QWidget* parent = nullptr);

    void SetBuddy(QLineEdit* buddy);
    void SetRange(int lower, int upper);

    // Reads the buddy (a fraction truncated), adds `steps`, clamps to the
    // range and writes it back as "%d". A buddy that holds no number steps
    // from the last value written.
    void Step(int steps);

private:
    QLineEdit* buddy_ = nullptr;
    QToolButton* up_;
    QToolButton* down_;
    int lower_ = 0;
    int upper_ = 100;
    int position_ = 0;
};
