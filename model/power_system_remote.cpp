// The model as a remote copy: its buses named for the server's result
// lines, and the switch commands sent back.

#include <string>

#include "bus.h"
#include "element_key.h"
#include "element_type.h"
#include "power_system.h"

void PowerSystem::SetRemote(bool remote) {
    remote_ = remote;
    remoteResults_.NameBuses(lists_[kBuses]);
}

void PowerSystem::SendSwitchCommand() {
    if (!current_) return;
    std::string what;
    switch (current_->GetElementType()) {
        case ElementType::Bus:
        case ElementType::HorizontalBus: what = " BUS BUS="; break;
        case ElementType::Load: what = " LOAD BUS="; break;
        case ElementType::Generator: what = " GENERATOR BUS="; break;
        case ElementType::SyncCompensator: what = " SYNCCOMP BUS="; break;
        case ElementType::VarCompensator: what = " VARCOMP BUS="; break;
        case ElementType::Shunt: what = " SHUNT BUS="; break;
        case ElementType::Capacitor: what = " CAPACITOR BUS="; break;
        case ElementType::Reactor: what = " REACTOR BUS="; break;
        case ElementType::PowerLine:
        case ElementType::Transformer:
        case ElementType::RegulatedTransformer: what = " LINE LINE="; break;
        default: return;
    }
    SendToRemoteSolver((current_->IsOn() ? "ON" : "OFF") + what + current_->GetName());
}

IElement* PowerSystem::FindAttached(int busKey, int category, int otherBusKey) const {
    auto* bus = dynamic_cast<Bus*>(FindByKey(busKey));
    if (!bus) return nullptr;
    for (int key : bus->GetKeyList()) {
        if (KeyCategory(key) != category) continue;
        IElement* element = FindByKey(key);
        if (!element) continue;
        const auto& ends = element->GetEndKeys();
        if (ends[0] == otherBusKey || ends[1] == otherBusKey) return element;
    }
    return nullptr;
}
