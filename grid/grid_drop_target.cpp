#include "grid_drop_target.h"

#include <QDragEnterEvent>
#include <QDragLeaveEvent>
#include <QDragMoveEvent>
#include <QDropEvent>

#include "grid_ctrl.h"

bool CGridDropTarget::registrationRunning_ = false;

namespace {

Qt::DropAction ActionOf(DropEffect effect) {
    switch (effect) {
    case DropEffect::Copy: return Qt::CopyAction;
    case DropEffect::Move: return Qt::MoveAction;
    case DropEffect::None: break;
    }
    return Qt::IgnoreAction;
}

// Accepts the drag with the grid's effect, or refuses it.
void Answer(QDragMoveEvent& event, DropEffect effect) {
    if (effect == DropEffect::None) {
        event.ignore();
        return;
    }
    event.setDropAction(ActionOf(effect));
    event.accept();
}

}  // namespace

DropEffect DropEffectFor(Qt::KeyboardModifiers keys) {
    return keys & Qt::ControlModifier ? DropEffect::Copy : DropEffect::Move;
}

DropEffect DropEffectOf(Qt::DropAction action) {
    if (action == Qt::CopyAction) return DropEffect::Copy;
    if (action == Qt::MoveAction) return DropEffect::Move;
    return DropEffect::None;
}

CGridDropTarget::~CGridDropTarget() { Revoke(); }

bool CGridDropTarget::Register(QWidget* window) {
    if (registered_ || registrationRunning_) return false;
    registrationRunning_ = true;
    auto* grid = dynamic_cast<CGridCtrl*>(window);
    if (grid) {
        grid_ = grid;
        viewport_ = grid->viewport();
        viewport_->setAcceptDrops(true);
        viewport_->installEventFilter(this);
        registered_ = true;
    }
    registrationRunning_ = false;
    return registered_;
}

void CGridDropTarget::Revoke() {
    registered_ = false;
    grid_ = nullptr;
    if (!viewport_) return;
    viewport_->removeEventFilter(this);
    viewport_->setAcceptDrops(false);
    viewport_ = nullptr;
}

DropEffect CGridDropTarget::OnDragScroll(Qt::KeyboardModifiers keys) { return DropEffectFor(keys); }

bool CGridDropTarget::eventFilter(QObject* watched, QEvent* event) {
    if (!grid_ || !viewport_ || watched != viewport_) return QObject::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::DragEnter: {
        auto& drag = static_cast<QDragEnterEvent&>(*event);
        Answer(drag, grid_->OnDragEnter(drag.mimeData(), drag.modifiers(), drag.position().toPoint()));
        return true;
    }
    case QEvent::DragMove: {
        auto& drag = static_cast<QDragMoveEvent&>(*event);
        Answer(drag, grid_->OnDragOver(drag.mimeData(), drag.modifiers(), drag.position().toPoint()));
        return true;
    }
    case QEvent::Drop: {
        auto& drop = static_cast<QDropEvent&>(*event);
        // The effect the drag was last answered with, whatever action the
        // window system proposes: the source learns from it whether to
        // clear what it dragged.
        DropEffect effect = DropEffectFor(drop.modifiers());
        if (grid_->OnDrop(drop.mimeData(), effect, drop.position().toPoint())) {
            drop.setDropAction(ActionOf(effect));
            drop.accept();
        } else {
            drop.ignore();
        }
        return true;
    }
    case QEvent::DragLeave:
        grid_->OnDragLeave();
        return true;
    default:
        return QObject::eventFilter(watched, event);
    }
}
