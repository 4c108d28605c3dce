// The switched banks: the step list, the bank record, the label, copies
// and the archive block.

#include "variable_bank.h"

#include <algorithm>

#include "element_key.h"
#include "format_text.h"

namespace {

// Bytes of one stored entry: int32 count, double Mvar.
constexpr std::size_t kStoredEntryBytes = 12;

}  // namespace

VariableBank::VariableBank(PowerSystem* owner, int key, Point at, int category)
    : Capacitor(owner, key, at, category), steps_{BankBlock{0, 0.0}} {}

VariableBank::VariableBank(PowerSystem* owner, int key, Point at)
    : VariableBank(owner, key, at, Category::CapacitorBank) {}

VariableBank::VariableBank() : VariableBank(Category::CapacitorBank) {}

VariableReactorBank::VariableReactorBank(PowerSystem* owner, int key, Point at)
    : VariableBank(owner, key, at, Category::ReactorBank) {}

VariableReactorBank::VariableReactorBank() : VariableBank(Category::ReactorBank) {}

std::unique_ptr<IElement> VariableBank::CreateNew(PowerSystem* owner, int key, Point point, int) {
    return std::make_unique<VariableBank>(owner, key, point);
}

std::unique_ptr<IElement> VariableReactorBank::CreateNew(PowerSystem* owner, int key, Point point, int) {
    return std::make_unique<VariableReactorBank>(owner, key, point);
}

std::unique_ptr<IElement> VariableBank::Duplicate(bool forClipboard) {
    std::unique_ptr<IElement> copy = OnePortElement::Duplicate(forClipboard);
    if (auto* bank = dynamic_cast<VariableBank*>(copy.get())) {
        bank->steps_ = steps_;
        bank->UpdateResultLabel(nullptr);
    }
    return copy;
}

// --- Steps and results ---

double VariableBank::GetTotalAtPosition(int position) {
    if (steps_.empty()) return 0.0;
    BankBlock& present = steps_[0];
    if (position >= 0) {
        double total = present.mvar;
        // Counts come from documents: kept wide so that no sum overflows.
        long long remaining = position;
        for (std::size_t i = 1; i < steps_.size(); ++i) {
            const BankBlock& group = steps_[i];
            remaining -= group.count;
            total += group.count * group.mvar;
            if (remaining <= 0) return total + static_cast<double>(remaining) * group.mvar;
        }
    }
    present.count = 0;
    return present.mvar;
}

bool VariableBank::FillSolverRecord(SolverRecord target, char) {
    auto* const* slot = std::get_if<BankRecord*>(&target);
    if (!slot || !*slot) return false;
    BankRecord& record = **slot;
    record.capacitorBank = GetElementType() == ElementType::VariableBank;
    record.susceptance = values_[kQ] / GetMvaBase();
    // Taken first: a position beyond the steps is set back to 0 here.
    const double total = steps_.empty() ? 0.0 : GetTotalAtPosition(steps_[0].count);
    record.position = steps_.empty() ? 0 : steps_[0].count;
    record.valueAtZero = steps_.empty() ? 0.0 : steps_[0].mvar;
    record.steps = &steps_;
    record.presentQ = 0.0;
    double v = 0.0;
    if (!BusVoltage(v)) return false;
    record.presentQ = v * v * total;
    return true;
}

void VariableBank::UpdateResultLabel(const double* values) {
    if (values) std::copy_n(values, kValueCount, values_.begin());
    BankRecord record;
    FillSolverRecord(&record, 0);
    values_[kPresentP] = record.valueAtZero;
    values_[kPresentQ] = record.presentQ;
    SetResultText(GetOwnerLabelMode() ? std::string() : FormatText("Q=%.4g", record.presentQ));
}

// --- Archive ---

void VariableBank::Serialize(Archive& archive) {
    Shunt::Serialize(archive);
    if (archive.IsStoring()) {
        archive.WriteInt32(static_cast<std::int32_t>(steps_.size()));
        for (const BankBlock& step : steps_) {
            archive.WriteInt32(step.count);
            archive.WriteDouble(step.mvar);
        }
        return;
    }
    std::vector<BankBlock> steps(archive.ReadInt32Count(kStoredEntryBytes));
    for (BankBlock& step : steps) {
        step.count = archive.ReadInt32();
        step.mvar = archive.ReadDouble();
    }
    steps_ = std::move(steps);
}
