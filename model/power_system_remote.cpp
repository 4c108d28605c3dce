// What the model sends to the remote solver server.

#include "power_system.h"
#include "view.h"

void PowerSystem::SendToRemoteSolver(std::string_view text) {
    if (!text.empty() && view_) view_->SendToRemoteSolver(text);
}
