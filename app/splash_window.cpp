#include "splash_window.h"

#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QScreen>

CSplashWnd::CSplashWnd(QWidget* owner, std::function<void()> gone)
    : QWidget(owner, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      owner_(owner),
      gone_(std::move(gone)),
      picture_(Picture()) {
    setAttribute(Qt::WA_DeleteOnClose);
    setCursor(Qt::ArrowCursor);
    setFixedSize(picture_.size());
    QScreen* screen = owner != nullptr && owner->screen() != nullptr ? owner->screen() : QGuiApplication::primaryScreen();
    if (screen != nullptr) move(screen->geometry().center() - rect().center());
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, [this] { HideSplashScreen(); });
    timer_.start(kDisplayMilliseconds);
    show();
    repaint();
}

CSplashWnd::~CSplashWnd() {
    if (gone_) gone_();
}

void CSplashWnd::HideSplashScreen() {
    timer_.stop();
    hide();
    close();
    if (owner_ != nullptr) owner_->update();
}

QPixmap CSplashWnd::Picture() {
    QPixmap picture(420, 220);
    QPainter painter(&picture);
    QLinearGradient ground(0, 0, 0, picture.height());
    ground.setColorAt(0.0, QColor(20, 60, 120));
    ground.setColorAt(1.0, QColor(10, 25, 55));
    painter.fillRect(picture.rect(), ground);
    painter.setPen(QPen(QColor(250, 200, 60), 3));
    // A one-line diagram's motif: two buses joined by a line.
    painter.drawLine(40, 60, 40, 160);
    painter.drawLine(110, 60, 110, 160);
    painter.drawLine(40, 110, 110, 110);
    painter.setPen(Qt::white);
    QFont title("Liberation Sans");
    title.setPixelSize(40);
    title.setBold(true);
    painter.setFont(title);
    painter.drawText(QRect(140, 60, 270, 50), Qt::AlignLeft | Qt::AlignVCenter, "Quellmark");
    QFont version("Liberation Sans");
    version.setPixelSize(16);
    painter.setFont(version);
    painter.drawText(QRect(140, 115, 270, 30), Qt::AlignLeft | Qt::AlignVCenter, "Version 1.8.5");
    return picture;
}

void CSplashWnd::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawPixmap(0, 0, picture_);
}
