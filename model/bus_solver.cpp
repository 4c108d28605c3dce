// The bus for the solver: its record summed from the attached elements, its
// IEEE common-format card, the generation written back, and the flow balance
// of the switches in a bus group.

#include <algorithm>
#include <cstdio>
#include <span>

#include "bus.h"
#include "bus_card.h"
#include "element_key.h"
#include "message_sink.h"
#include "power_system.h"
#include "switch_flow.h"

namespace {

constexpr double kUnlimited = 999999.0;

// The value array of an attached element; null when it has none.
const double* ValuesOf(IElement& element) {
    std::span<double> values;
    std::vector<std::uint8_t>* flags = nullptr;
    element.GetValuesAndFlags(values, flags);
    return values.empty() ? nullptr : values.data();
}

// The shunt admittance an attached element adds to its bus: MW (G) and Mvar
// (B) at 1 p.u. A reactor's Mvar is stored negative (inductive) and a
// capacitor's positive, so every kind is added as stored and the solver's
// record and the IEEE card carry the same sign.
struct ShuntMvar {
    double g = 0.0;
    double b = 0.0;
};
ShuntMvar ShuntOf(int category, const double* values) {
    switch (category) {
        case Category::Shunt: return {values[0], values[1]};
        case Category::Capacitor:
        case Category::Reactor: return {0.0, values[1]};
        default: return {};
    }
}

void Report(PowerSystem* owner, int level, const char* format, const std::string& name) {
    IMessageSink* sink = owner ? owner->GetMessageSink() : nullptr;
    if (!sink) return;
    std::vector<char> text(name.size() + 160);
    std::snprintf(text.data(), text.size(), format, name.c_str());
    sink->AddMessage(level, text.data());
}

}  // namespace

bool Bus::FillSolverRecord(SolverRecord target, char mode) {
    auto* const* slot = std::get_if<BusRecord*>(&target);
    if (!slot || !*slot) return false;
    BusRecord& record = **slot;
    const double base = GetMvaBase();
    const bool checked = mode != 0;
    if (keys_.empty() && checked) {
        Report(owner_, IMessageSink::Warning, "Bus '%s' has no connected elements!. Bus will be ignored!", name_);
        values_[kVoltage] = 0.0;
        UpdateResultLabel(nullptr);
        return false;
    }

    double genP = 0, genQ = 0, loadP = 0, loadQ = 0, maxQ = 0, minQ = 0, maxP = 0, minP = 0, share = 0;
    double g = 0, b = 0;
    double loadShares[2] = {0, 0};
    double direction[6] = {0, 0, 0, 0, 0, 0};
    bool hasSwitch = false, hasLoad = false, hasGenerator = false, hasBranch = false, hasBank = false;
    for (int key : std::vector<int>(keys_)) {
        IElement* element = Attached(key);
        if (!element) continue;
        int category = element->GetType(false);
        if (category == Category::Connector) hasSwitch = true;
        if (!element->IsOn()) continue;
        if (category == Category::Line || category == Category::Connector) {
            hasBranch = true;
            continue;
        }
        if (category == Category::CapacitorBank || category == Category::ReactorBank) {
            values_[kKind] = kBankKind;
            BankRecord bank;
            if (element->FillSolverRecord(&bank, 1)) {
                record.bankTag = bank.capacitorBank ? 1 : 0;
                record.bankStep = bank.position;
                record.bankReserved[0] = bank.susceptance;
                record.bankReserved[1] = bank.presentQ;
                record.firstBankBlock = bank.valueAtZero;
                record.bankBlocks = bank.steps ? bank.steps->data() : nullptr;
                record.bankBlockCount = bank.steps ? static_cast<int>(bank.steps->size()) : 0;
            }
            hasBank = true;
            continue;
        }
        const double* v = ValuesOf(*element);
        if (!v) continue;
        switch (category) {
            case Category::Load:
                loadP += v[0];
                loadQ += v[1];
                loadShares[0] += v[7];
                loadShares[1] += v[8];
                for (int i = 0; i < 6; ++i) direction[i] += v[11 + i];
                hasLoad = true;
                break;
            case Category::Generator:
                genP += v[0];
                genQ += v[1];
                maxQ += v[3];
                minQ += v[2];
                maxP += v[5];
                minP += v[4];
                share += v[13];
                hasGenerator = true;
                break;
            case Category::SyncCompensator:
            case Category::VarCompensator:
                genQ += v[1];
                maxQ += v[3];
                minQ += v[2];
                break;
            case Category::Shunt:
            case Category::Capacitor:
            case Category::Reactor: {
                ShuntMvar shunt = ShuntOf(category, v);
                g += shunt.g / base;
                b += shunt.b / base;
                break;
            }
            default: break;
        }
    }
    if (!hasBranch && checked) {
        if (!hasSwitch) Report(owner_, IMessageSink::Warning, "Bus %s has no branches connected. Bus will be ignored!", name_);
        values_[kVoltage] = 0.0;
        UpdateResultLabel(nullptr);
        return false;
    }
    const bool equivalent = GetElementType() == ElementType::NetworkEquivalent;
    if (equivalent) {
        maxQ = maxP = kUnlimited;
        minQ = minP = -kUnlimited;
        genP = values_[kMaxVoltage];
        genQ = values_[kMinVoltage];
        hasGenerator = true;
    }
    const int kind = static_cast<int>(values_[kKind]);
    if (checked && kind == kBankKind && !hasBank) {
        Report(owner_, IMessageSink::Failure,
               "Capacitor or reactor bank must be connected to bus with remote or local voltage control!\nBus Name: %s",
               name_);
        return false;
    }
    if (checked && kind == kSwingKind && !hasGenerator) {
        Report(owner_, IMessageSink::Failure, "Generator must be connected to the swing bus!\nBus Name: %s", name_);
        return false;
    }

    const double v = values_[kVoltage];
    record.recordTag = 0;
    record.kind = kind;
    record.number = static_cast<int>(KeySerial(key_));
    record.key = key_;
    record.name = name_.c_str();
    record.generationP = genP;
    record.generationQ = genQ;
    record.loadP = loadP;
    record.loadQ = loadQ;
    record.shuntPProduct = g * v * v * base;
    record.shuntQ = b * v * v * base;
    record.voltage = values_[kDesiredVoltage];
    record.voltageCopy = v;
    record.angle = values_[kAngle];
    record.baseKv = values_[kNominalKv];
    record.maxP = maxP;
    record.maxQ = maxQ;
    record.minP = minP;
    record.minQ = minQ;
    record.reserved136 = 0;
    record.area = 0;
    const int regulatedKey = static_cast<int>(values_[kRegulatedBusKey]);
    IElement* regulated = regulatedKey != 0 ? Attached(regulatedKey) : nullptr;
    const double* regulatedValues = regulated ? regulated->GetValues() : nullptr;
    record.regulatedBus = regulatedValues ? static_cast<int>(KeySerial(regulatedKey)) : 0;
    record.regulatedBaseKv = regulatedValues ? regulatedValues[kNominalKv] : 0.0;
    record.participation = values_[kRegulationShare];
    record.maxVoltage = equivalent ? 2.0 : values_[kMaxVoltage];
    record.minVoltage = equivalent ? 0.0 : values_[kMinVoltage];
    record.shuntG = g;
    record.shuntB = b;
    record.voltageCopy2 = values_[kDesiredVoltage];
    record.reserved208 = 0;
    record.reserved212 = 0;
    record.hasLoad = hasLoad;
    record.hasGeneration = hasGenerator;
    record.generationShare = share;
    record.pLoadShare = loadShares[0];
    record.qLoadShare = loadShares[1];
    std::copy_n(direction, 6, record.direction);
    return true;
}

bool Bus::WriteCDFCard(std::string& card, int* flags) {
    if (keys_.size() < 2) return false;
    const double base = GetMvaBase();
    double loadP = 0, loadQ = 0, genP = 0, genQ = 0, maxQ = 0, minQ = 0, g = 0, b = 0;
    bool hasLine = false;
    bool hasGenerator = GetElementType() == ElementType::NetworkEquivalent;
    for (int key : keys_) {
        IElement* element = Attached(key);
        if (!element || !element->IsOn()) continue;
        int category = element->GetType(false);
        if (category == Category::Line) {
            hasLine = true;
            continue;
        }
        const double* v = ValuesOf(*element);
        if (!v) continue;
        if (category == Category::Load) {
            loadP += v[0];
            loadQ += v[1];
        } else if (category == Category::Generator) {
            genP += v[0];
            genQ += v[1];
            maxQ += v[3];
            minQ += v[2];
            hasGenerator = true;
        } else {
            ShuntMvar shunt = ShuntOf(category, v);
            g += shunt.g;
            b += shunt.b;
        }
    }
    const int number = static_cast<int>(KeySerial(key_));
    BusCard out;
    out.type = BusCard::TypeOfKind(static_cast<int>(values_[kKind]));
    if (out.type == BusCard::kGeneratorType) {
        out.remoteBus = number;
        genQ = 0.0;
    } else if (out.type == BusCard::kSwingType) {
        genP = genQ = 0.0;
        if (flags) *flags = 1;
        if (!hasGenerator) {
            ShowMessage("Generator must be connected to the swing bus!");
            return false;
        }
    }
    out.number = number;
    out.name = name_;
    out.voltage = values_[kVoltage];
    out.angle = values_[kAngle];
    out.loadP = loadP;
    out.loadQ = loadQ;
    out.generationP = genP;
    out.generationQ = genQ;
    out.baseKv = values_[kNominalKv];
    out.desiredVoltage = values_[kDesiredVoltage];
    out.maxQ = maxQ;
    out.minQ = minQ;
    out.shuntG = g / base;
    out.shuntB = b / base;
    card = out.Text();
    return hasLine;
}

bool Bus::SetConnectedGeneration(double p, double q) {
    for (int key : keys_) {
        int category = KeyCategory(key);
        if (category != Category::Generator && category != Category::SyncCompensator) continue;
        IElement* element = Attached(key);
        double* values = element && element->IsOn() ? element->GetValues() : nullptr;
        if (!values) continue;
        values[0] = p;
        values[1] = q;
        element->UpdateResultLabel(nullptr);
        return true;
    }
    return false;
}

void Bus::AdjustBusKind(int classType) {
    switch (classType) {
        case ElementType::Generator:
        case ElementType::SyncCompensator:
        case ElementType::VarCompensator:
            if (values_[kKind] == kLoadKind) values_[kKind] = kGeneratorKind;
            break;
        case ElementType::VariableBank:
        case ElementType::VariableReactorBank: values_[kKind] = kBankKind; break;
        default: break;
    }
}

void Bus::ApplyShares(const BusRecord& shares) {
    auto attachedOfType = [this](int classType) -> double* {
        for (int key : keys_) {
            IElement* element = Attached(key);
            if (element && element->GetElementType() == classType) return element->GetValues();
        }
        return nullptr;
    };
    if (shares.hasGeneration) {
        if (double* generator = attachedOfType(ElementType::Generator)) generator[13] = shares.generationShare;
    }
    if (shares.hasLoad) {
        if (double* load = attachedOfType(ElementType::Load)) {
            load[7] = shares.pLoadShare;
            load[8] = shares.qLoadShare;
        }
    }
}

void Bus::ResetSwitchFlows(bool known) {
    for (int key : keys_) {
        if (KeyCategory(key) != Category::Connector) continue;
        if (auto* flow = dynamic_cast<ISwitchFlow*>(Attached(key))) flow->SetFlowKnown(known);
    }
}

bool Bus::BalanceSwitchFlow() {
    double sumP = 0.0, sumQ = 0.0, p = 0.0, q = 0.0;
    bool pending = false;
    if (GetFlowAtEnd(key_, p, q, pending)) {
        sumP += p;
        sumQ += q;
    }
    IElement* unknown = nullptr;
    int unknownCount = 0;
    for (int key : keys_) {
        IElement* element = Attached(key);
        if (!element) continue;
        if (element->GetFlowAtEnd(key_, p, q, pending)) {
            sumP += p;
            sumQ += q;
        } else if (pending) {
            if (!unknown) unknown = element;
            ++unknownCount;
        }
    }
    if (unknownCount > 1) return false;
    if (auto* flow = dynamic_cast<ISwitchFlow*>(unknown)) flow->SetFlow(key_, sumP, sumQ);
    return true;
}
