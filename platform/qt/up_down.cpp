#include "up_down.h"

#include <algorithm>
#include <cmath>

#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

#include "exchange_numbers.h"

UpDown::UpDown(QWidget* parent) : QWidget(parent), up_(new QToolButton(this)), down_(new QToolButton(this)) {
    up_->setArrowType(Qt::UpArrow);
    down_->setArrowType(Qt::DownArrow);
    for (QToolButton* arrow : {up_, down_}) {
        arrow->setAutoRepeat(true);
        arrow->setFocusPolicy(Qt::NoFocus);
        arrow->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
    }
    connect(up_, &QToolButton::clicked, this, [this] { Step(1); });
    connect(down_, &QToolButton::clicked, this, [this] { Step(-1); });
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(up_);
    layout->addWidget(down_);
}

void UpDown::SetBuddy(QLineEdit* buddy) { buddy_ = buddy; }

void UpDown::SetRange(int lower, int upper) {
    lower_ = std::min(lower, upper);
    upper_ = std::max(lower, upper);
    position_ = std::clamp(position_, lower_, upper_);
}

void UpDown::Step(int steps) {
    if (buddy_ == nullptr) return;
    double current = ParseNumber(buddy_->text()).value_or(position_);
    // In double, so that a huge typed value cannot overflow before the clamp.
    double next = std::trunc(current) + steps;
    position_ = static_cast<int>(std::clamp(next, static_cast<double>(lower_), static_cast<double>(upper_)));
    buddy_->setText(FormatInteger(position_));
}
