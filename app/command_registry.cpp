#include "command_registry.h"

#include <QAction>
#include <QWidget>

CommandRegistry::CommandRegistry(QWidget& window, Road road) : window_(window), road_(std::move(road)) {}

QAction* CommandRegistry::Add(int id, const QString& text, const QKeySequence& key, bool checkable) {
    auto* action = new QAction(text, &window_);
    action->setShortcut(key);
    action->setCheckable(checkable);
    action->setData(id);
    window_.addAction(action);
    QObject::connect(action, &QAction::triggered, &window_, [this, id] { Execute(id); });
    actions_[id] = action;
    return action;
}

QAction* CommandRegistry::Find(int id) const {
    auto found = actions_.find(id);
    return found == actions_.end() ? nullptr : found->second;
}

bool CommandRegistry::Execute(int id) {
    bool handled = false;
    for (CCmdTarget* target : road_()) {
        if (target != nullptr && target->Execute(id)) {
            handled = true;
            break;
        }
    }
    UpdateAll();
    return handled;
}

CmdUI CommandRegistry::StateOf(int id) const {
    CmdUI ui;
    ui.id = id;
    for (CCmdTarget* target : road_()) {
        if (target != nullptr && target->Update(ui)) return ui;
    }
    ui.enabled = false;
    return ui;
}

void CommandRegistry::UpdateAll() {
    for (auto& [id, action] : actions_) {
        CmdUI ui = StateOf(id);
        action->setEnabled(ui.enabled);
        if (action->isCheckable()) action->setChecked(ui.checked);
    }
}
