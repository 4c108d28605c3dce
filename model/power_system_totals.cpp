// The system totals that the system-information boxes show.

#include "element_interface.h"
#include "element_type.h"
#include "power_system.h"

namespace {

// Indexes of the totals, as the system-information boxes name them.
enum Total {
    kLoadP, kLoadQ,
    kGenerationP, kGenerationQ,
    kLossP, kLossQ,
    kShuntP, kShuntQ,
    kImportP, kImportQ,
};

// Positions in the value arrays of the kinds (counted in doubles from 0).
constexpr int kOnePortP = 0;
constexpr int kOnePortQ = 1;
constexpr int kShuntPresentP = 2;  // MW at the present voltage
constexpr int kShuntPresentQ = 3;  // Mvar at the present voltage
constexpr int kBranchFromP = 19;
constexpr int kBranchFromQ = 20;
constexpr int kBranchToP = 21;
constexpr int kBranchToQ = 22;
constexpr int kEquivalentQ = 5;
constexpr int kEquivalentP = 6;

}  // namespace

double PowerSystem::GetSystemTotal(int index) const {
    if (index < 0 || index >= static_cast<int>(totals_.size())) return 8888.88;
    return totals_[index];
}

void PowerSystem::ComputeSystemTotals() {
    totals_.fill(0.0);
    auto sum = [this](ListId list, auto add) {
        for (const auto& [key, element] : lists_[list].Entries()) {
            if (const double* values = element->GetValues()) add(*element, values);
        }
    };
    sum(kLoads, [this](IElement&, const double* v) {
        totals_[kLoadP] += v[kOnePortP];
        totals_[kLoadQ] += v[kOnePortQ];
    });
    sum(kGenerators, [this](IElement&, const double* v) {
        totals_[kGenerationP] += v[kOnePortP];
        totals_[kGenerationQ] += v[kOnePortQ];
    });
    for (ListId compensators : {kSyncCompensators, kVarCompensators}) {
        sum(compensators, [this](IElement&, const double* v) { totals_[kGenerationQ] += v[kOnePortQ]; });
    }
    // The flows into both ends of a branch add up to its losses.
    sum(kLines, [this](IElement&, const double* v) {
        totals_[kLossP] += v[kBranchFromP] + v[kBranchToP];
        totals_[kLossQ] += v[kBranchFromQ] + v[kBranchToQ];
    });
    sum(kShunts, [this](IElement&, const double* v) {
        totals_[kShuntP] += v[kShuntPresentP];
        totals_[kShuntQ] += v[kShuntPresentQ];
    });
    for (ListId reactive : {kCapacitors, kVariableBanks, kReactors}) {
        sum(reactive, [this](IElement&, const double* v) { totals_[kShuntQ] += v[kShuntPresentQ]; });
    }
    sum(kBuses, [this](IElement& bus, const double* v) {
        if (bus.GetType(true) != ElementType::NetworkEquivalent) return;
        totals_[kImportP] += v[kEquivalentP];
        totals_[kImportQ] += v[kEquivalentQ];
    });

    for (const auto& [key, box] : lists_[kSystemInfos].Entries()) box->UpdateResultLabel(nullptr);
}
