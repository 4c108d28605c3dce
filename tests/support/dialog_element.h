#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "element_type.h"
#include "fake_element.h"

// An element as its properties dialog sees it: value and flag arrays of
// any length, the buses at the far ends (or at its own ends), the owner's
// label mode, what it gives for the solver's record, and a log of the calls
// that write it back, in order.
class DialogElement : public FakeElement {
public:
    DialogElement(int classType, int category, std::vector<double> initialValues,
                  std::vector<std::uint8_t> initialFlags)
        : FakeElement(classType, category) {
        values = std::move(initialValues);
        labelFlags = std::move(initialFlags);
    }

    std::vector<std::string> calls;
    bool labelMode = false;
    std::vector<IElement*> neighbours;
    std::array<std::optional<std::string>, 2> endNames;  // the elements at the ends
    std::optional<BusRecord> busRecord;      // answered for a bus record
    std::optional<ShuntRecord> shuntRecord;  // answered for a shunt record
    int length = 0;

    bool GetOwnerLabelMode() const override { return labelMode; }
    void SetName(std::string_view newName) override {
        calls.push_back("SetName");
        name = newName;
    }
    void UpdateResultLabel(const double*) override { calls.push_back("UpdateResultLabel"); }
    void SendChangeCommand() override { calls.push_back("SendChangeCommand"); }
    void SetLength(int newLength) override { length = newLength; }
    int GetLength() const override { return length; }
    void GetConnectedElements(std::vector<IElement*>& out) override { out = neighbours; }
    const std::string* GetEndName(int end) const override {
        const auto& name = endNames.at(static_cast<std::size_t>(end));
        return name ? &*name : nullptr;
    }
    bool FillSolverRecord(SolverRecord record, char) override {
        if (auto* const* bus = std::get_if<BusRecord*>(&record); bus && busRecord) {
            **bus = *busRecord;
            return true;
        }
        if (auto* const* shunt = std::get_if<ShuntRecord*>(&record); shunt && shuntRecord) {
            **shunt = *shuntRecord;
            return true;
        }
        return false;
    }
};
