#include "edit_ex.h"

#include <utility>

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>

#include "desktop_actions.h"
#include "qt_colors.h"
#include "qt_font.h"

CEditEx::CEditEx(DesktopActions& desktop, QWidget* parent)
    : QLineEdit(parent),
      desktop_(desktop),
      backColor_(GetSysColor(SystemColor::Window)),
      textColor_(GetSysColor(SystemColor::WindowText)),
      focusTextColor_(GetSysColor(SystemColor::WindowText)) {
    ApplyColors(false);
}

void CEditEx::SetFont(const LogFont* font) {
    if (font) setFont(ToQFont(*font));
}

ColorRef CEditEx::SetBackColor(ColorRef color) {
    ColorRef old = std::exchange(backColor_, color);
    ApplyColors(hasFocus());
    return old;
}

ColorRef CEditEx::SetTextColor(ColorRef color) {
    ColorRef old = std::exchange(textColor_, color);
    ApplyColors(hasFocus());
    return old;
}

ColorRef CEditEx::SetFocusTextColor(ColorRef color) {
    ColorRef old = std::exchange(focusTextColor_, color);
    ApplyColors(hasFocus());
    return old;
}

void CEditEx::keyPressEvent(QKeyEvent* event) {
    if (filter_) {
        for (QChar character : event->text()) {
            if (character.category() == QChar::Other_Control || filter_(character)) continue;
            desktop_.Beep();
            event->accept();
            return;
        }
    }
    QLineEdit::keyPressEvent(event);
}

void CEditEx::focusInEvent(QFocusEvent* event) {
    ApplyColors(true);
    QLineEdit::focusInEvent(event);
}

void CEditEx::focusOutEvent(QFocusEvent* event) {
    ApplyColors(false);
    QLineEdit::focusOutEvent(event);
}

void CEditEx::contextMenuEvent(QContextMenuEvent* event) {
    if (!contextMenu_) {
        QLineEdit::contextMenuEvent(event);
        return;
    }
    contextMenu_->exec(event->globalPos());
}

void CEditEx::ApplyColors(bool focused) {
    QPalette colors = palette();
    colors.setColor(QPalette::Base, ToQColor(focused ? focusBackColor_ : backColor_));
    colors.setColor(QPalette::Text, ToQColor(focused ? focusTextColor_ : textColor_));
    setPalette(colors);
    repaint();
}
