#include "cmd_target.h"

#include <utility>

void CCmdTarget::OnCommand(int id, Handler handler, UpdateHandler update) {
    handlers_[id] = Entry{std::move(handler), std::move(update)};
}

bool CCmdTarget::Execute(int id) {
    auto found = handlers_.find(id);
    if (found == handlers_.end()) return false;
    // A copy: the handler may close the window that owns this target.
    Handler handler = found->second.handler;
    handler();
    return true;
}

bool CCmdTarget::Update(CmdUI& ui) {
    auto found = handlers_.find(ui.id);
    if (found == handlers_.end()) return false;
    ui.enabled = true;
    if (found->second.update) found->second.update(ui);
    return true;
}
