#include "command_registry.h"

#include <QAction>
#include <QWidget>

CommandRegistry::CommandRegistry(QWidget& window, Road road) : window_(window), road_(std::move(road)) {}

QAction* CommandRegistry::Add(int id, const QString& text, const QKeySequence& key, bool checkable) {
    auto* action = new QAction(text, &window_);
    action->setShortcut(key);
    if (!key.isEmpty()) ownKeys_[id] = {key};
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

void CommandRegistry::SetWindowKeys(std::span<const KeyBinding> keys) {
    // Back to their own keys first, then the new kind's keys added.
    std::map<int, QList<QKeySequence>> shortcuts;
    for (int id : windowKeyed_) shortcuts[id] = ownKeys_[id];
    windowKeyed_.clear();
    for (const KeyBinding& binding : keys) {
        if (!actions_.contains(binding.id)) continue;
        if (windowKeyed_.insert(binding.id).second) shortcuts[binding.id] = ownKeys_[binding.id];
        shortcuts[binding.id].append(binding.key);
    }
    for (const auto& [id, shortcut] : shortcuts) actions_[id]->setShortcuts(shortcut);
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
