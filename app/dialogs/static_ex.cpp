#include "static_ex.h"

#include <utility>

#include <QDialog>
#include <QMouseEvent>

#include "desktop_actions.h"
#include "hand_cursor.h"
#include "prompt_service.h"
#include "qt_colors.h"

CStaticEx::CStaticEx(PromptService& prompts, DesktopActions& desktop, QWidget* parent)
    : QLabel(parent),
      prompts_(prompts),
      desktop_(desktop),
      backColor_(GetSysColor(SystemColor::ButtonFace)),
      textColor_(GetSysColor(SystemColor::WindowText)) {
    setAutoFillBackground(true);
    ApplyColors();
}

ColorRef CStaticEx::SetTextColor(ColorRef color) {
    ColorRef old = std::exchange(textColor_, color);
    ApplyColors();
    return old;
}

ColorRef CStaticEx::SetVisitedColor(ColorRef color) {
    ColorRef old = std::exchange(visitedColor_, color);
    ApplyColors();
    return old;
}

void CStaticEx::SetHandCursor(bool hand) {
    if (hand) {
        setCursor(HandCursor());
    } else {
        setCursor(Qt::ArrowCursor);
    }
}

void CStaticEx::OnClicked() {
    if (toggleWindow_) toggleWindow_->setVisible(!toggleWindow_->isVisible());
    if (dialog_) prompts_.RunModal(*dialog_);
    if (!link_.isEmpty()) {
        if (desktop_.OpenLink(link_)) {
            visited_ = true;
            ApplyColors();
        } else {
            desktop_.Beep();
            prompts_.Ask("Unable to open " + link_ + ".", {}, PromptIcon::Information, PromptButtons::Ok);
        }
    }
    if (message_) message_();
}

void CStaticEx::mouseReleaseEvent(QMouseEvent* event) {
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) OnClicked();
}

void CStaticEx::ApplyColors() {
    QPalette colors = palette();
    colors.setColor(QPalette::Window, ToQColor(backColor_));
    colors.setColor(QPalette::WindowText, ToQColor(!link_.isEmpty() && visited_ ? visitedColor_ : textColor_));
    setPalette(colors);
    update();
}
