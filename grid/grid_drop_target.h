#pragma once

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QWidget>

class CGridCtrl;
class QMimeData;

// What a drop over the grid would do.
enum class DropEffect { None = 0, Copy = 1, Move = 2 };

// A drag over the grid copies with Ctrl held, else moves.
DropEffect DropEffectFor(Qt::KeyboardModifiers keys);
DropEffect DropEffectOf(Qt::DropAction action);

// Makes a grid's viewport a drop site and hands the drag events that reach
// it to the grid's own drop operations. One registration at a time: the
// grid registers on its first resize and relies on later attempts failing.
class CGridDropTarget : public QObject {
public:
    CGridDropTarget() = default;
    ~CGridDropTarget() override;

    // False when already registered, while another registration is running,
    // or when `window` is not a grid; nothing is registered then.
    bool Register(QWidget* window);
    void Revoke();
    bool IsRegistered() const { return registered_; }

    // Scrolling while dragging copies with Ctrl held, else moves.
    static DropEffect OnDragScroll(Qt::KeyboardModifiers keys);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    CGridCtrl* grid_ = nullptr;
    // The window the drags arrive at; it may go before this target does.
    QPointer<QWidget> viewport_;
    bool registered_ = false;
    // Shared by every drop target of the process.
    static bool registrationRunning_;
};
