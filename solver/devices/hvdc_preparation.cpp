#include <algorithm>
#include <cstdio>

#include "solver.h"

// The converter step of the preparation: each converter named by a DC bus
// takes over its commutating transformer, which leaves the network with the
// DC bus; then every converter is checked for what its link's equations
// need, its codes put in the order the control switching reads them, and
// each link entered at its areas.

namespace {

// Below this (ohms) a commutating reactance is taken for a missing one.
constexpr double kMinCommutatingOhms = 0.1;

bool IsAngleCode(const std::string& code) {
    return code == "AL" || code == "GA" || code == "AT";
}

// The distinct quantities the link's four codes hold.
int HeldQuantities(const NetConverter& r) {
    const NetConverter& i = *r.partner;
    const std::string codes[] = {r.modes[0], r.modes[1], i.modes[0], i.modes[1]};
    int held = 0;
    for (int k = 0; k < 4; ++k) {
        const bool perConverter = codes[k] != "ID";
        bool repeated = false;
        for (int j = 0; j < k; ++j)
            if (codes[j] == codes[k] && (!perConverter || (j < 2) == (k < 2))) repeated = true;
        if (!repeated) ++held;
    }
    return held;
}

class ConverterPass {
public:
    ConverterPass(Solver& solver, Network& network) : solver_(solver), network_(network) {}

    bool Run();

private:
    void Fault(const NetConverter& c, const char* reason) {
        std::fprintf(solver_.Diagnostics(), "Converter %s: %s\n", c.name.c_str(), reason);
        ok_ = false;
    }
    void TakeOverTransformer(NetConverter& c);
    bool OnlyTransformerAt(const NetBus& dcBus, const NetBranch& transformer) const;
    void RemoveBranch(const NetBranch* branch);
    void RemoveBus(const NetBus* bus);
    void Check(NetConverter& c);

    Solver& solver_;
    Network& network_;
    bool ok_ = true;
};

bool ConverterPass::Run() {
    for (const auto& c : network_.converters)
        if (c->converterBus) TakeOverTransformer(*c);
    for (const auto& c : network_.converters) Check(*c);
    return ok_;
}

// The transformer between the AC bus and the DC bus gives the commutating
// reactance (ohms on the AC side) and, when it regulates, the tap limits.
void ConverterPass::TakeOverTransformer(NetConverter& c) {
    NetBus* dcBus = c.converterBus;
    NetBranch* transformer = nullptr;
    for (const AdjacencyNode& node : c.acBus->branches)
        if (node.branch->from->name == dcBus->name || node.branch->to->name == dcBus->name) transformer = node.branch;
    if (!transformer) {
        Fault(c, "no transformer joins its AC bus to its DC bus");
        return;
    }
    if (!OnlyTransformerAt(*dcBus, *transformer)) {
        Fault(c, "its DC bus is joined to more than its transformer");
        return;
    }
    const double g = transformer->g, b = transformer->b;
    const double x = g * g + b * b > 0.0 ? -b / (g * g + b * b) : 0.0;
    c.commutatingOhms = x * c.acBus->baseKv * c.acBus->baseKv / solver_.MvaBase();
    if (transformer->code == "R") {
        c.minTap = transformer->regulation().controlMin;
        c.maxTap = transformer->regulation().controlMax;
    } else {
        c.minTap = 0.9;
        c.maxTap = 1.1;
    }
    RemoveBranch(transformer);
    RemoveBus(dcBus);
    c.converterBus = nullptr;
}

// The DC bus leaves the network with the transformer: nothing else may
// lead to it, or it would be left pointing at a bus that is gone.
bool ConverterPass::OnlyTransformerAt(const NetBus& dcBus, const NetBranch& transformer) const {
    const NetBus* bus = &dcBus;
    if (dcBus.branches.size() != 1 || dcBus.branches[0].branch != &transformer || !dcBus.regulatingBranches.empty() ||
        !dcBus.extras().regulatingGenerators.empty())
        return false;
    for (const auto& other : network_.buses)
        if (other->extras().remoteBus == bus || other->extras().bankBus == bus) return false;
    for (const auto& branch : network_.branches) {
        const bool holds = branch->meteredBus == bus || branch->regulation().regulatedBus == bus;
        if (branch.get() != &transformer && holds) return false;
    }
    for (const auto& area : network_.areas)
        if (area->areaBus == bus) return false;
    for (const auto& converter : network_.converters)
        if (converter->acBus == bus) return false;
    for (const auto& svc : network_.svcs)
        if (svc->terminalBus == bus || svc->controlledBus == bus) return false;
    for (const auto& tcsc : network_.tcscs)
        if (tcsc->from == bus || tcsc->to == bus) return false;
    for (const auto& statcom : network_.statcoms)
        if (statcom->terminalBus == bus || statcom->controlledBus == bus) return false;
    return true;
}

void ConverterPass::RemoveBranch(const NetBranch* branch) {
    branch->from->branches.remove(branch);
    branch->to->branches.remove(branch);
    for (const auto& area : network_.areas) area->ties.remove(branch);
    network_.branches.EraseIf([branch](const auto& owned) { return owned.get() == branch; });
    --network_.branchCount;
}

void ConverterPass::RemoveBus(const NetBus* bus) {
    if (bus->area) std::erase(bus->area->buses, bus);
    std::erase(network_.slackBuses, bus);
    // Only a bus that a reader numbered was counted: a DC bus that a DC card
    // made in an IEEE file has number 0.
    if (bus->number != 0) --network_.busCount;
    network_.buses.EraseIf([bus](const auto& owned) { return owned.get() == bus; });
}

void ConverterPass::Check(NetConverter& c) {
    if (!c.acBus || c.acBus->baseKv <= 0.0) return Fault(c, "its AC bus has no kV");
    if (c.commutatingOhms <= kMinCommutatingOhms) return Fault(c, "its commutating reactance is 0.1 ohm or less");
    if (!c.partner) return Fault(c, "no DC line joins it to another converter");
    if (c.code.empty() || c.code == c.partner->code)
        return Fault(c, "the two ends of its link are not a rectifier and an inverter");
    // The angle (or the ratio in its place) first, the quantity the
    // converter regulates second.
    if (!IsAngleCode(c.modes[0]) && IsAngleCode(c.modes[1])) std::swap(c.modes[0], c.modes[1]);
    if (c.Holds("GA") && c.scheduledGamma < c.minAngle) return Fault(c, "its extinction angle lies below its minimum");
    if (c.code == "R" && HeldQuantities(c) != 4)
        return Fault(c, "its link must hold four different quantities, two at each converter");
    c.area = c.acBus->area;
    if (c.area) c.area->dcLinks.push_back(&c);
}

}  // namespace

bool Solver::PrepareConverters() {
    return ConverterPass(*this, *network_).Run();
}
