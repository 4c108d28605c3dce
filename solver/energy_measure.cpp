#include <cmath>

#include "solution_values.h"
#include "solver.h"

// The energy measure of option O: the energy function of the lossless
// network, measured from the state of the table's first row (angles th0,
// voltages V0):
//
//   W = sum over buses i of
//         - (Pg_i - Pl_i) (th_i - th0_i)                 generation and load
//         - Qg_i ln(V_i / V0_i)                          generation
//         + integral from V0_i to V_i of Ql_i(v) / v dv  reactive load
//         - Bsh_i (V_i^2 - V0_i^2) / 2                   shunt
//     + sum over branches k (from f, to t) of E_k(th, V) - E_k(th0, V0),
//   E_k = V_f V_t a b cos(th_f - th_t - phi) - V_f^2 a^2 (b + b_f) / 2 - V_t^2 (b + b_t) / 2
//
// with b the branch's series susceptance, a its ratio, phi its shift and
// b_f, b_t its shunt susceptances at either end. Its gradient is the
// mismatch of the lossless network: dW/dth_i = P_i(th, V) - (Pg_i - Pl_i)
// and dW/d(ln V_i) = Q_i(th, V) - (Qg_i - Ql_i), the calculated less the
// specified power. On the curve that gradient vanishes, so along it
// dW/dlambda is W's own derivative in lambda: for loads growing at constant
// power, the sum of (dPl_i - dPg_i)(th_i - th0_i) + dQl_i ln(V_i / V0_i),
// below zero on the upper branch, where the load buses' angles and
// voltages fall as the load grows: W falls to the nose. Losses (series and
// shunt conductances) stay out, as the function has no term for them; the
// active load counts at its present value. For the reactive
// load Ql = (Q0 + lambda dQ) V^beta + (Qz + lambda dQz) V^2 the integral
// is (Q0 + lambda dQ) (V^beta - V0^beta) / beta (the logarithm ln(V/V0)
// for beta = 0) plus (Qz + lambda dQz) (V^2 - V0^2) / 2.

namespace {

struct BusState {
    double angle, voltage;
};

double BranchEnergy(const NetBranch& branch, BusState from, BusState to) {
    const double t = branch.tap;
    const double b = branch.b;
    return from.voltage * to.voltage * t * b * std::cos(from.angle - to.angle - branch.shift) -
           0.5 * from.voltage * from.voltage * t * t * (b + branch.fromShuntB) -
           0.5 * to.voltage * to.voltage * (b + branch.toShuntB);
}

// The integral of Ql(v) / v from V0 to V.
double ReactiveLoadEnergy(const LoadModel& q, double lambda, double v0, double v) {
    const double power = q.base + lambda * q.baseDirection;
    const double impedance = q.impedance + lambda * q.impedanceDirection;
    const double beta = q.exponent;
    const double powerPart = beta == 0.0 ? power * std::log(v / v0) : power * (std::pow(v, beta) - std::pow(v0, beta)) / beta;
    return powerPart + 0.5 * impedance * (v * v - v0 * v0);
}

}  // namespace

// The first row stores the reference state and measures 0.
double Solver::EnergyMeasure(bool firstRow) {
    const Network& network = *network_;
    if (firstRow) {
        energyReference_.clear();
        for (const auto& bus : network.buses) energyReference_[bus.get()] = {bus->angle, bus->voltage};
        return 0.0;
    }
    auto reference = [&](const NetBus* bus) {
        const auto found = energyReference_.find(bus);
        return found != energyReference_.end() ? found->second : std::pair{bus->angle, bus->voltage};
    };
    double w = 0.0;
    for (const auto& owned : network.buses) {
        const NetBus& bus = *owned;
        const auto [angle0, voltage0] = reference(&bus);
        const double v = bus.voltage;
        const double activeLoad = LoadAt(bus.loadModelP, v, lambda_);
        w -= (bus.generationP - activeLoad) * (bus.angle - angle0);
        w -= bus.generationQ * std::log(v / voltage0);
        w += ReactiveLoadEnergy(bus.loadModelQ, lambda_, voltage0, v);
        w -= 0.5 * bus.shuntB * (v * v - voltage0 * voltage0);
    }
    for (const auto& branch : network.branches) {
        const auto [fromAngle0, fromVoltage0] = reference(branch->from);
        const auto [toAngle0, toVoltage0] = reference(branch->to);
        w += BranchEnergy(*branch, {branch->from->angle, branch->from->voltage}, {branch->to->angle, branch->to->voltage}) -
             BranchEnergy(*branch, {fromAngle0, fromVoltage0}, {toAngle0, toVoltage0});
    }
    return w;
}
