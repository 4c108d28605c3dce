#include "grid_title_tip.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>

#include "qt_colors.h"
#include "qt_font.h"

CTitleTip::CTitleTip(QWidget* parent)
    : QWidget(parent, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowTransparentForInput |
                          Qt::WindowDoesNotAcceptFocus),
      parent_(parent) {
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
}

bool CTitleTip::Show(const Rect& rect, const QString& text, int xOffset, const Rect* hover, const LogFont* font,
                     ColorRef textColour, ColorRef backColour) {
    if (rect.IsEmpty() || isVisible()) return false;
    const Rect& area = hover ? *hover : rect;
    // The hover rectangle takes in the cell's last pixels.
    hoverRect_ = QRect(area.left, area.top, area.right - area.left + 1, area.bottom - area.top + 1);
    if (!QGuiApplication::focusWindow()) return false;

    text_ = QLatin1Char(' ') + text + QLatin1Char(' ');
    font_ = font ? ToQFont(*font) : parent_->font();
    // Outline fonts have no overhang.
    int width = QFontMetrics(font_).horizontalAdvance(text_);
    if (rect.right - xOffset >= width + rect.left + 2 * xOffset) return false;

    textColour_ = textColour == kAutomaticColor ? SystemQColor(SystemColor::InfoText) : ToQColor(textColour);
    backColour_ = backColour == kAutomaticColor ? SystemQColor(SystemColor::InfoBackground) : ToQColor(backColour);
    setGeometry(QRect(parent_->mapToGlobal(QPoint(rect.left + xOffset, rect.top)),
                      QSize(width + xOffset, rect.bottom - rect.top)));
    show();
    update();
    return true;
}

void CTitleTip::Hide() { hide(); }

void CTitleTip::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), backColour_);
    painter.setPen(SystemQColor(SystemColor::WindowFrame));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    painter.setFont(font_);
    painter.setPen(textColour_);
    painter.drawText(rect().adjusted(1, 1, -1, -1), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text_);
}
