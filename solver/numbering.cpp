#include <algorithm>
#include <cmath>
#include <vector>

#include "solver.h"

// The unknowns of the power flow, numbered from 1. Equation k and unknown k
// share their number, so the Jacobian is square and its rows follow the
// same order.

namespace {

// Unknowns of the devices after all buses: 11 per HVDC link (two
// converters), 3 per SVC, 7 per TCSC and 7 per STATCOM.
int DeviceVariableCount(const Network& network) {
    return static_cast<int>(network.converters.size() * 11 / 2 + network.svcs.size() * 3 +
                            network.tcscs.size() * 7 + network.statcoms.size() * 7);
}

}  // namespace

// Bus by bus in list order: the angle, the voltage (or what holds its
// place), the area's slack power at an area bus, one unknown per P/Q-
// regulating transformer the bus owns (the one registered last first) and
// the block of its generator model. Then the devices, and lambda last in a
// continuation run.
void Solver::NumberVariables() {
    Network& network = *network_;
    // The network may be another one at the same address.
    equationArrays_.Forget();
    ClassifyBuses();
    std::vector<NetBranch*> owned;
    int next = 1;
    for (const auto& bus : network.buses) {
        bus->firstVariable = next;
        next += 2;
        if (switches_.areaControl && CodeHas(bus->code, "A")) ++next;
        if (switches_.pqTransformerControl) {
            owned.clear();
            for (const AdjacencyNode& node : bus->regulatingBranches)
                if (IsFlowRegulating(*node.branch)) owned.push_back(node.branch);
            std::sort(owned.begin(), owned.end(), [](const NetBranch* a, const NetBranch* b) {
                return a->regulation().regulatedPosition > b->regulation().regulatedPosition;
            });
            for (NetBranch* branch : owned) branch->variable = next++;
        }
        if (bus->generator) {
            bus->generator->base = next - 1;
            next += 11;
        }
    }
    busVariableCount_ = next - 1;
    variableCount_ = busVariableCount_ + DeviceVariableCount(network);
    // A link's unknowns hang off its rectifier.
    for (const auto& converter : network.converters) {
        if (converter->code != "R") continue;
        converter->base = next - 1;
        next += 11;
    }
    for (const auto& svc : network.svcs) {
        svc->base = next - 1;
        next += 3;
    }
    for (const auto& tcsc : network.tcscs) {
        tcsc->base = next - 1;
        next += 7;
    }
    for (const auto& statcom : network.statcoms) {
        statcom->base = next - 1;
        next += 7;
    }

    matrixOrder_ = pointOfCollapse_ ? 2 * variableCount_ + 1 : variableCount_ + (continuation_ ? 1 : 0);
    SetMatrixOrder(matrixOrder_);
    mismatch_.assign(static_cast<std::size_t>(matrixOrder_) + 2, 0.0);
    correction_.assign(static_cast<std::size_t>(matrixOrder_) + 2, 0.0);
}

// Sets a bus's voltage-dependent load models so that they give its
// scheduled load at its present voltage, keeping the split between the part
// that follows V^exponent and the constant-impedance part.
void Solver::RescaleBusLoad(NetBus& bus) {
    auto rescale = [](LoadModel& model, double load, double voltage) {
        if (model.exponent == 0.0 && model.impedance == 0.0) {
            model.base = load;
            return;
        }
        if (!model.scaled) {
            model.fraction = model.base;
            model.scaled = true;
        }
        const double f = model.fraction;
        const double scale = load / (f * std::pow(voltage, model.exponent) + (1.0 - f) * voltage * voltage);
        model.base = f * scale;
        model.impedance = (1.0 - f) * scale;
    };
    rescale(bus.loadModelP, bus.loadP, bus.voltage);
    rescale(bus.loadModelQ, bus.loadQ, bus.voltage);
}

void Solver::RescaleLoadModels() {
    for (const auto& bus : network_->buses) RescaleBusLoad(*bus);
}

void Solver::SetContinuation(Continuation continuation, NetBus* parameterBus) {
    continuation_ = continuation == Continuation::On;
    parameterBus_ = parameterBus;
}
