#pragma once

#include <functional>

#include <QPixmap>
#include <QTimer>
#include <QWidget>

// The picture shown for a moment at start-up, over the main window: it
// goes after 750 ms or at the first key or mouse button, which it swallows.
class CSplashWnd : public QWidget {
public:
    static constexpr int kDisplayMilliseconds = 750;

    // A visible splash, centred on the screen of `owner`, which it updates
    // when it goes; it deletes itself when closed.
    // `gone` is called from the destructor, so the program forgets the
    // splash.
    CSplashWnd(QWidget* owner, std::function<void()> gone);
    ~CSplashWnd() override;

    // Closes the splash and updates the owner.
    void HideSplashScreen();

    // The program's picture: its name and version on a plain ground.
    static QPixmap Picture();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QWidget* owner_;
    std::function<void()> gone_;
    QPixmap picture_;
    QTimer timer_;
};
