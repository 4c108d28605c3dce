// The limit checks of the generator kinds after a solve. The texts are the
// ones users know, spelling and spacing included.

#include "bus.h"
#include "element_key.h"
#include "format_text.h"
#include "generator.h"
#include "power_system.h"

namespace {

// A set point within this fraction of the solved voltage still counts as
// held.
constexpr double kVoltageHeld = 0.005;

// Reactive-limit texts, in the order: over maximum with the bus's voltage
// control lost, over maximum, below minimum lost, below minimum.
enum ReactiveText { kMaxLost, kMax, kMinLost, kMin };

const char* const kSyncCompensatorReactiveTexts[4] = {
    "Synch. compensator connected to bus '%s' is on or over maximum reactive generation limit!  Connected bus has "
    "lost voltage control (PV) possibility!",
    "Synch. compensator connected to bus '%s' is on or over maximum reactive generation limit!",
    "Synch. compensator connected to bus '%s' is on or bellow minimum reactive generation limit!   Connected bus has "
    "lost voltage control (PV) possibility!",
    "Synch. compensator connected to bus '%s' is on or bellow minimum reactive generation limit!",
};

}  // namespace

const char* const Generator::kGeneratorReactiveTexts[4] = {
    "Generator connected to bus '%s' is on or over maximum reactive generation limit! Connected bus has lost voltage "
    "control (PV) possibility!",
    "Generator connected to bus '%s' is on or over maximum reactive generation limit!",
    "Generator connected to bus '%s' is on or bellow minimum reactive generation limit! Connected bus has lost "
    "voltage control (PV) possibility!",
    "Generator connected to bus '%s' is on or bellow minimum reactive generation limit!",
};

bool Generator::BusLostVoltageControl() const {
    if (!owner_ || KeyCategory(endKeys_[0]) != Category::Bus) return false;
    IElement* bus = owner_->FindByKey(endKeys_[0]);
    const double* v = bus ? bus->GetValues() : nullptr;
    if (!v || v[Bus::kKind] != Bus::kGeneratorKind) return false;
    const double solved = v[Bus::kVoltage];
    const double setPoint = v[Bus::kDesiredVoltage];
    return setPoint < (1.0 - kVoltageHeld) * solved || setPoint > (1.0 + kVoltageHeld) * solved;
}

bool Generator::CheckReactiveLimits(std::string& text, const char* const (&texts)[4]) {
    const char* format = nullptr;
    if (values_[kQ] >= values_[kQMax]) format = texts[BusLostVoltageControl() ? kMaxLost : kMax];
    else if (values_[kQ] <= values_[kQMin]) format = texts[BusLostVoltageControl() ? kMinLost : kMin];
    if (!format) return false;
    text = FormatText(format, BusName().c_str());
    return true;
}

bool Generator::CheckLimits(std::string& text) {
    if (CheckReactiveLimits(text, kGeneratorReactiveTexts)) return true;
    const char* format = nullptr;
    if (values_[kP] >= values_[kPMax]) format = "Generator '%s' connected to bus '%s' is on or over maximum active generation limit!";
    else if (values_[kP] <= values_[kPMin]) format = "Generator '%s' connected to bus '%s' is on or bellow minimum active generation limit!";
    if (!format) return false;
    text = FormatText(format, name_.c_str(), BusName().c_str());
    return true;
}

bool SyncCompensator::CheckLimits(std::string& text) { return CheckReactiveLimits(text, kSyncCompensatorReactiveTexts); }

bool VarCompensator::CheckLimits(std::string& text) { return CheckReactiveLimits(text, kGeneratorReactiveTexts); }
