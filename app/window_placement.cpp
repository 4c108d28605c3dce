#include "window_placement.h"

#include <algorithm>

#include <QGuiApplication>
#include <QRect>
#include <QScreen>
#include <QWidget>

#include "profile.h"

namespace {

constexpr int kNoCoordinate = -1;
// Window systems place windows with 16-bit coordinates: a stored one
// beyond them is held at their end, and no later offset overflows.
constexpr int kLargestCoordinate = 32767;

bool MeetsAScreen(const QRect& rect) {
    for (const QScreen* screen : QGuiApplication::screens()) {
        if (screen->geometry().intersects(rect)) return true;
    }
    return false;
}

// All screens together: no window is made larger than they are.
QSize DesktopSize() {
    QRect desktop;
    for (const QScreen* screen : QGuiApplication::screens()) desktop |= screen->geometry();
    return desktop.size();
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
    auto coordinate = [this](const char* key) {
        return std::clamp(profile_->GetProfileInt(section_, key, kNoCoordinate), -kLargestCoordinate,
                          kLargestCoordinate);
    };
    const int left = coordinate("Left");
    const int top = coordinate("Top");
    const int right = coordinate("Right");
    const int bottom = coordinate("Bottom");
    if (left == kNoCoordinate && top == kNoCoordinate && right == kNoCoordinate && bottom == kNoCoordinate) {
        window_->show();
        return;
    }
    const bool visible = profile_->GetProfileInt(section_, "Visible", 1) != 0;
    QRect frame(QPoint(left, top), QPoint(right - 1, bottom - 1));
    frame.setSize(frame.size().boundedTo(DesktopSize()));
    // A rectangle turned inside out is no placement.
    const bool applies = frame.isValid() && MeetsAScreen(frame);
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
