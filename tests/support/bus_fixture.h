#pragma once

#include <memory>
#include <span>
#include <stdexcept>
#include <vector>

#include "element_key.h"
#include "power_system.h"
#include "segment_element.h"
#include "switch_flow.h"

// Buses in a test model and the elements attached to them.

// An element that attaches to a bus at its end 0: a one-port with a value
// array of any class type, a branch, a bank that hands its bus a bank
// record, or a switch whose flow a bus group balances. It counts what the
// bus asks of it.
class AttachedElement : public SegmentElement, public ISwitchFlow {
public:
    AttachedElement(PowerSystem* owner, int key, int classType, Point at)
        : SegmentElement(owner, key, at, {at.x + 20, at.y}, KeyCategory(key)), classType(classType) {}

    int GetElementType() const override { return classType; }
    void GetValuesAndFlags(std::span<double>& v, std::vector<std::uint8_t>*& flags) override {
        v = values;
        flags = nullptr;
    }
    double* GetValues() override { return values.data(); }
    void UpdateResultLabel(const double*) override { ++labelUpdates; }
    bool FillSolverRecord(SolverRecord record, char) override {
        auto* const* bank = std::get_if<BankRecord*>(&record);
        if (!bank || !*bank) return false;
        **bank = bankRecord;
        return true;
    }
    bool GetFlowAtEnd(int, double& p, double& q, bool& pending) override {
        p = flowP;
        q = flowQ;
        pending = !flowKnown;
        return flowKnown;
    }
    void SetFlow(int busKey, double p, double q) override {
        flowSetBy = busKey;
        flowP = p;
        flowQ = q;
        flowKnown = true;
    }
    void SetFlowKnown(bool known) override { flowKnown = known; }

    int classType;
    std::vector<double> values = std::vector<double>(20, 0.0);
    int labelUpdates = 0;
    BankRecord bankRecord;
    bool flowKnown = true;
    double flowP = 0.0;
    double flowQ = 0.0;
    int flowSetBy = 0;
};

// Files an element of the class type and category in the model and attaches
// its end 0 to the bus (both sides of the connection).
inline AttachedElement& Attach(PowerSystem& model, IElement& bus, int classType, int category, Point at) {
    auto element = std::make_unique<AttachedElement>(&model, model.NewKey(category, false), classType, at);
    if (!model.AddElement(element.get())) throw std::logic_error("the attached element was not filed");
    AttachedElement& filed = *element.release();
    filed.SetEndKeys(bus.GetKey(), 0);
    bus.ConnectAtPoint(filed.GetKey(), &at);
    return filed;
}

// Makes a bus kind in the model under a new bus key and files it.
template <typename Kind, typename... Args>
Kind& AddBus(PowerSystem& model, Args... args) {
    auto bus = std::make_unique<Kind>(&model, model.NewKey(Category::Bus, false), args...);
    if (!model.AddElement(bus.get())) throw std::logic_error("the bus was not filed");
    return *bus.release();
}
