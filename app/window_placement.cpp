#include "window_placement.h"

#include <QGuiApplication>
#include <QRect>
#include <QScreen>
#include <QWidget>

#include "profile.h"

namespace {

constexpr int kNoCoordinate = -1;

bool MeetsAScreen(const QRect& rect) {
    for (const QScreen* screen : QGuiApplication::screens()) {
        if (screen->geometry().intersects(rect)) return true;
    }
    return false;
}

// Shows the window where it is without taking the focus from the window
// the user works in.
void ShowWithoutActivating(QWidget& window) {
    bool wasWithout = window.testAttribute(Qt::WA_ShowWithoutActivating);
    window.setAttribute(Qt::WA_ShowWithoutActivating, true);
    window.show();
    window.setAttribute(Qt::WA_ShowWithoutActivating, wasWithout);
}

}  // namespace

void WindowPlacement::Attach(QWidget* window, const QString& section, const int* visibleFlag) {
    window_ = window;
    section_ = section;
    visibleFlag_ = visibleFlag;
}

void WindowPlacement::Save() const {
    if (!profile_ || !window_) return;
    const QRect frame = window_->frameGeometry();
    profile_->WriteProfileInt(section_, "Left", frame.left());
    profile_->WriteProfileInt(section_, "Right", frame.left() + frame.width());
    profile_->WriteProfileInt(section_, "Top", frame.top());
    profile_->WriteProfileInt(section_, "Bottom", frame.top() + frame.height());
    profile_->WriteProfileInt(section_, "Visible", visibleFlag_ ? *visibleFlag_ : 1);
}

void WindowPlacement::Restore() const {
    if (!profile_ || !window_) return;
    const int left = profile_->GetProfileInt(section_, "Left", kNoCoordinate);
    const int top = profile_->GetProfileInt(section_, "Top", kNoCoordinate);
    const int right = profile_->GetProfileInt(section_, "Right", kNoCoordinate);
    const int bottom = profile_->GetProfileInt(section_, "Bottom", kNoCoordinate);
    if (left == kNoCoordinate && top == kNoCoordinate && right == kNoCoordinate && bottom == kNoCoordinate) {
        window_->show();
        return;
    }
    const bool visible = profile_->GetProfileInt(section_, "Visible", 1) != 0;
    const QRect frame(QPoint(left, top), QPoint(right - 1, bottom - 1));
    const bool applies = MeetsAScreen(frame);
    if (applies) {
        // The stored rectangle includes the window manager's frame, which
        // is known only once the window was shown.
        const QSize decoration = window_->frameGeometry().size() - window_->size();
        window_->move(frame.topLeft());
        window_->resize(frame.size() - decoration);
    }
    if (!visible) {
        window_->hide();
        return;
    }
    ShowWithoutActivating(*window_);
    // A window shown for the first time has just got its frame: without
    // this it would grow by its frame at every start.
    const QSize shownFrame = window_->frameGeometry().size();
    if (applies && shownFrame != frame.size()) window_->resize(window_->size() + frame.size() - shownFrame);
}
