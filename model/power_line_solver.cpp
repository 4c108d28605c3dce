// The line for the solver and the results: its branch record, its IEEE
// common-format card, its change command, the flows at its ends and its
// limits.

#include <cmath>
#include <cstdio>

#include "element_key.h"
#include "archived_integer.h"
#include "power_line.h"
#include "power_system.h"

namespace BD = BranchData;

namespace {

constexpr double kSqrt3 = 1.7320508075688772;

// Control types of a regulating transformer.
constexpr int kVoltageControl = BranchRecord::Voltage;
bool HoldsOneFlow(int controlType) {
    return controlType == BranchRecord::ReactiveFlow || controlType == BranchRecord::ActiveFlow;
}
bool HoldsFlowBand(int controlType) {
    return controlType == BranchRecord::ReactiveBand || controlType == BranchRecord::ActiveBand;
}
bool MovesTheShift(int controlType) { return controlType >= BranchRecord::ActiveFlow; }

// The IEEE branch type of a branch kind and control type: line 0, fixed
// transformer 1; a regulating one 2 for voltage, 3 for reactive and 4 for
// active flow control.
int IeeeBranchType(int kind, int controlType) {
    if (kind != BD::kRegulatingTransformer) return kind;
    if (controlType == kVoltageControl) return 2;
    return MovesTheShift(controlType) ? 4 : 3;
}

std::string FormatNumber(const char* format, double value) {
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

}  // namespace

bool PowerLine::EndBusValues(int end, double& kv, double& voltage) const {
    const int key = endKeys_[static_cast<std::size_t>(end)];
    if (!owner_ || !IsAttachedKey(key)) return false;
    IElement* bus = owner_->FindByKey(key);
    const double* values = bus ? bus->GetValues() : nullptr;
    if (!values) return false;
    kv = values[0];
    voltage = values[1];
    return true;
}

double PowerLine::EndCurrent(double p, double q, double voltage, double kv) {
    const double vkv = voltage * kv;
    return vkv > 0.0 ? std::sqrt(p * p + q * q) * 1000.0 / (kSqrt3 * vkv) : 0.0;
}

void PowerLine::FillBranchEnds(BranchRecord& r, const double (&kv)[2]) const {
    r.name = name_.c_str();
    r.fromName = owner_->FindByKey(endKeys_[0])->GetName().c_str();
    r.toName = owner_->FindByKey(endKeys_[1])->GetName().c_str();
    r.key = key_;
    r.fromBus = static_cast<int>(KeySerial(endKeys_[0]));
    r.toBus = static_cast<int>(KeySerial(endKeys_[1]));
    r.fromBaseKv = kv[0];
    r.toBaseKv = kv[1];
    r.reserved164 = 0;
    r.reserved168 = 0;
}

double PowerLine::FromMva() const { return std::hypot(Value(BD::kPFrom), Value(BD::kQFrom)); }
double PowerLine::ToMva() const { return std::hypot(Value(BD::kPTo), Value(BD::kQTo)); }

bool PowerLine::FillSolverRecord(SolverRecord target, char) {
    auto* const* slot = std::get_if<BranchRecord*>(&target);
    if (!slot || !*slot || data_.empty()) return false;
    // Both ends must name a bus of the model: a key that names nothing
    // leaves the branch out.
    double kv[2] = {0, 0}, voltage[2] = {0, 0};
    if (!EndBusValues(0, kv[0], voltage[0]) || !EndBusValues(1, kv[1], voltage[1])) return false;
    const std::vector<double>& v = data_;
    BranchRecord& r = **slot;
    const int kind = GetBranchKind();
    const int controlType = NarrowForArchive<int>(v[BD::kControlType]);
    r.recordTag = 1;
    r.kind = kind;
    r.controlType = controlType;
    FillBranchEnds(r, kv);
    r.pFrom = v[BD::kPFrom];
    r.qFrom = v[BD::kQFrom];
    r.pTo = v[BD::kPTo];
    r.qTo = v[BD::kQTo];
    r.pLoss = r.pFrom + r.pTo;
    r.qLoss = r.qFrom + r.qTo;
    r.currentFrom = EndCurrent(r.pFrom, r.qFrom, voltage[0], kv[0]);
    r.currentTo = EndCurrent(r.pTo, r.qTo, voltage[1], kv[1]);
    r.lowerLimit = v[BD::kLowerLimit];
    r.upperLimit = v[BD::kUpperLimit];
    r.tapRatio = v[BD::kTapRatio];
    r.phaseShift = v[BD::kPhaseShift];
    r.rating = v[BD::kRating];
    r.hostValue256 = v[BD::kLowerLimit];
    r.hostValue264 = v[BD::kUpperLimit];
    r.tapSide = v[BD::kLength];
    // Lines hold their parameters per km.
    const double scale = kind == BD::kLine && v[BD::kLength] > 0.0 ? v[BD::kLength] : 1.0;
    r.resistance = scale * v[BD::kResistance];
    r.reactance = scale * v[BD::kReactance];
    r.chargingB = scale * v[BD::kSusceptance];
    r.shuntG = scale * v[BD::kConductance];
    const bool regulatedAtTo = v[BD::kRegulatedEnd] != 0.0;
    const bool regulating = kind == BD::kRegulatingTransformer;
    r.regulatedBus = regulating ? static_cast<int>(KeySerial(endKeys_[regulatedAtTo ? 1 : 0])) : 0;
    r.endCode = regulating ? NarrowForArchive<int>(v[BD::kMeteredEnd]) : 0;
    r.regulatedBaseKv = kv[regulatedAtTo ? 1 : 0];
    r.fromKey = endKeys_[0];
    r.toKey = endKeys_[1];
    r.reserved200 = 0;
    r.fromWindingKv = v[BD::kFromTapKv];
    r.toWindingKv = v[BD::kToTapKv];
    r.hostValue88 = regulating ? v[BD::kTapSteps] : 1.0;
    // The flow a regulating transformer holds, or its band: the solver
    // reads them for these control types only.
    if (regulating && HoldsOneFlow(controlType)) r.controlTarget = v[BD::kBandMinimum];
    if (regulating && HoldsFlowBand(controlType)) {
        r.bandMinimum = v[BD::kBandMinimum];
        r.bandMaximum = v[BD::kBandMaximum];
    }
    return true;
}

// The card gives the solver the branch that the branch record gives it:
// the line's parameters for its whole length, the transformer's off-nominal
// ratio from its windings and buses, and a regulating transformer's limits
// as the solver turns them into ratio limits.
bool PowerLine::WriteCDFCard(std::string& card, int*) {
    if (data_.empty()) return false;
    double kv[2] = {0, 0}, voltage[2] = {0, 0};
    if (!EndBusValues(0, kv[0], voltage[0]) || !EndBusValues(1, kv[1], voltage[1])) return false;
    const std::vector<double>& v = data_;
    const int kind = GetBranchKind();
    const int controlType = NarrowForArchive<int>(v[BD::kControlType]);
    const int type = IeeeBranchType(kind, controlType);
    const bool regulating = kind == BD::kRegulatingTransformer;
    const double scale = kind == BD::kLine && v[BD::kLength] > 0.0 ? v[BD::kLength] : 1.0;

    // Per-unit winding ratios: r1 of the to winding, r2 of the from winding.
    const double fromWinding = v[BD::kFromTapKv], toWinding = v[BD::kToTapKv];
    const double r2 = fromWinding > 0.0 && kv[0] > 0.0 ? fromWinding / kv[0] : 1.0;
    const double r1 = toWinding > 0.0 && kv[1] > 0.0 ? toWinding / kv[1] : 1.0;
    const double ratio = kind == BD::kLine ? 0.0 : (toWinding > 0.0 ? r2 / r1 : 1.0);

    // Ratio limits (or shift limits in degrees) and the voltage or flow
    // limits of the controlled quantity.
    double lower = 0.0, upper = 0.0, minHeld = 0.0, maxHeld = 0.0;
    int controlledBus = 0, meteredEnd = 0;
    if (regulating) {
        const bool atTo = v[BD::kRegulatedEnd] != 0.0;
        controlledBus = static_cast<int>(KeySerial(endKeys_[atTo ? 1 : 0]));
        meteredEnd = controlType == kVoltageControl ? 0 : NarrowForArchive<int>(v[BD::kMeteredEnd]);
        if (MovesTheShift(controlType)) {
            lower = v[BD::kLowerLimit];
            upper = v[BD::kUpperLimit];
        } else {
            const bool tapAtTo = v[BD::kTapSide] >= 1.0;
            const double winding = tapAtTo ? kv[1] : kv[0];
            lower = winding > 0.0 ? v[BD::kLowerLimit] / winding : 0.0;
            upper = winding > 0.0 ? v[BD::kUpperLimit] / winding : 0.0;
            const bool defaults = controlType == kVoltageControl;
            if (defaults ? upper <= 0.0 : upper < 0.0) upper = 1.1;
            if (defaults ? lower <= 0.0 : lower < 0.0) lower = 0.9;
            const double f = fromWinding > 0.0 && kv[0] > 0.0 ? fromWinding / kv[0] : 1.0;
            const double n = kv[1] > 0.0 && toWinding > 0.0 ? kv[1] / toWinding : 1.0;
            if (tapAtTo) {
                const double newUpper = lower > 0.0 ? f / lower : 0.0;
                lower = upper > 0.0 ? f / upper : 0.0;
                upper = newUpper;
            } else {
                lower *= n;
                upper *= n;
            }
        }
        if (controlType == kVoltageControl) {
            // The controlled bus holds its own desired voltage, as it does
            // when the solver reads the records.
            IElement* bus = owner_->FindByKey(endKeys_[atTo ? 1 : 0]);
            minHeld = maxHeld = bus->GetValues()[3];
        } else {
            minHeld = v[BD::kBandMinimum];
            maxHeld = HoldsFlowBand(controlType) ? v[BD::kBandMaximum] : v[BD::kBandMinimum];
        }
    }

    char head[160];
    std::snprintf(head, sizeof head, "%4d %4d %2d %2d%2d%2d%10.6f%10.6f%10.5f%6d%6d%6d %4d%2d%8.4f%8.2f",
                  static_cast<int>(KeySerial(endKeys_[0])), static_cast<int>(KeySerial(endKeys_[1])), 1, 1,
                  NarrowForArchive<int>(v[BD::kCircuits]), type, scale * v[BD::kResistance],
                  scale * v[BD::kReactance], scale * v[BD::kSusceptance], 0, 0, 0, controlledBus, meteredEnd, ratio,
                  v[BD::kPhaseShift]);
    // Angles and flows take two decimals, ratios and voltages four, so
    // that each stays within its columns.
    char tail[96];
    const bool angles = type == 4;
    const bool voltages = type == 2;
    std::snprintf(tail, sizeof tail, angles ? "%7.2f%7.2f%7.2f" : "%7.4f%7.4f%7.2f", lower, upper,
                  regulating ? v[BD::kTapSteps] : 0.0);
    card = std::string(head) + tail;
    std::snprintf(tail, sizeof tail, voltages ? "%8.4f%7.4f" : "%8.2f%7.2f", minHeld, maxHeld);
    card += tail;
    return true;
}

void PowerLine::SendChangeCommand() {
    if (!owner_ || !owner_->IsRemote() || data_.empty()) return;
    owner_->SendToRemoteSolver("CHANGE LINENAME=" + name_ + " TAP= " + FormatNumber("%.4g", data_[BD::kTapRatio]));
}

bool PowerLine::GetFlowAtEnd(int key, double& p, double& q, bool& pending) {
    pending = false;
    p = q = 0.0;
    if (data_.empty() || !IsAttachedKey(key)) return false;
    if (key == endKeys_[0]) {
        p = -data_[BD::kPFrom];
        q = -data_[BD::kQFrom];
        return true;
    }
    if (key == endKeys_[1]) {
        p = -data_[BD::kPTo];
        q = -data_[BD::kQTo];
        return true;
    }
    return false;
}

// --- Limits and colour-map values ---

bool PowerLine::ConnectedPair(IElement*& first, IElement*& second) {
    std::vector<IElement*> connected;
    GetConnectedElements(connected);
    if (connected.size() != 2) return false;
    first = connected[0];
    second = connected[1];
    return true;
}

bool PowerLine::IsOverLimit() const {
    if (drawnByColorMap_) return false;
    return Value(BD::kCurrent) > Value(BD::kNotification);
}

double PowerLine::GetLoadingIndex() const {
    const double limit = Value(BD::kNotification);
    return limit > 0.0 ? Value(BD::kCurrent) / limit : 0.0;
}

bool PowerLine::CheckLimits(std::string& text) {
    IElement* first = nullptr;
    IElement* second = nullptr;
    if (data_.empty() || !ConnectedPair(first, second)) return false;
    const double current = data_[BD::kCurrent];
    const char* over = nullptr;
    if (current > data_[BD::kRating]) over = "' over MAXIMUM current limit!";
    else if (current > data_[BD::kNotification]) over = "' over given notification limit!";
    if (!over) return false;
    text = "Line '" + name_ + "' between buses '" + first->GetName() + "' and '" + second->GetName() + over;
    return true;
}

double PowerLine::GetBaseVoltage() const {
    if (!on_ || !owner_) return 0.0;
    for (int key : endKeys_) {
        if (!IsAttachedKey(key)) continue;
        IElement* neighbour = owner_->FindByKey(key);
        if (!neighbour) continue;
        const double* values = neighbour->GetValues();
        return values ? values[0] : 0.0;
    }
    return 0.0;
}

double PowerLine::GetVoltageIndex() const {
    if (!on_ || !owner_) return 0.0;
    double sum = 0.0;
    int count = 0;
    for (int key : endKeys_) {
        if (!IsAttachedKey(key)) continue;
        if (IElement* neighbour = owner_->FindByKey(key)) {
            sum += neighbour->GetVoltageIndex();
            ++count;
        }
    }
    return count > 0 ? sum / count : 0.0;
}
