#include <cmath>

#include "devices/device_terms.h"
#include "solver.h"

// The mismatch of the AC network and its Jacobian. Every mismatch is
// specified minus calculated, so the Jacobian holds dF/dx and the Newton
// correction is subtracted from the unknowns. Per unit on the MVA base,
// angles in radians.

namespace {

using BranchTerms = NetworkArrays::BranchTerms;
using BusTerms = NetworkArrays::BusTerms;

// A bus's load models where the pass reads them.
struct BusLoads {
    const LoadModel& p;
    const LoadModel& q;
};

BranchTerms TermsOf(const NetBranch& branch) {
    const ShiftTurn shift = TurnOf(branch.shift);
    return {branch.g,          branch.b,          branch.tap,      shift.cos, shift.sin,
            branch.fromShuntG, branch.fromShuntB, branch.toShuntG, branch.toShuntB};
}

// One flow quantity (P or Q into a branch at one of its ends) and its
// derivatives. Bus i is this end, bus j the other; the derivative with
// respect to theta_j is the negative of that with respect to theta_i.
struct FlowTerms {
    double value = 0.0;
    double thetaI = 0.0;
    double vi = 0.0;
    double vj = 0.0;
    double tap = 0.0;
    double shift = 0.0;
};

struct EndFlow {
    FlowTerms p;
    FlowTerms q;
};

// The angle difference of a branch's ends, this end's angle minus the
// other's, by its cosine and sine.
struct AngleTurn {
    double cos = 1.0;
    double sin = 0.0;
};

// The flow into a branch at its from end (atFrom) or its to end. The ratio
// t multiplies the from-end voltage; the shift turns it. One sine and
// cosine each of the shift and of the angle difference.
EndFlow FlowAtEnd(const BranchTerms& branch, bool atFrom, double vi, double vj, AngleTurn thetaIJ) {
    const double t = branch.tap;
    const double g = branch.g;
    const double b = branch.b;
    const double cosShift = branch.cosShift;
    const double sinShift = branch.sinShift;
    double m0, l0, selfG, selfB, selfGTap, selfBTap;
    if (atFrom) {
        m0 = g * cosShift - b * sinShift;
        l0 = b * cosShift + g * sinShift;
        selfG = (g + branch.fromShuntG) * t * t;
        selfB = (b + branch.fromShuntB) * t * t;
        selfGTap = 2.0 * (g + branch.fromShuntG) * t;
        selfBTap = 2.0 * (b + branch.fromShuntB) * t;
    } else {
        m0 = g * cosShift + b * sinShift;
        l0 = b * cosShift - g * sinShift;
        selfG = g + branch.toShuntG;
        selfB = b + branch.toShuntB;
        selfGTap = 0.0;
        selfBTap = 0.0;
    }
    const double m = t * m0;
    const double l = t * l0;
    const double cosTheta = thetaIJ.cos;
    const double sinTheta = thetaIJ.sin;
    const double inPhase = m * cosTheta + l * sinTheta;
    const double quadrature = m * sinTheta - l * cosTheta;
    const double vv = vi * vj;
    // The shift turns (m, l) by a quarter turn: forwards at the from end,
    // backwards at the to end.
    const double turn = atFrom ? 1.0 : -1.0;

    EndFlow flow;
    flow.p.value = vi * vi * selfG - vv * inPhase;
    flow.p.thetaI = vv * quadrature;
    flow.p.vi = 2.0 * vi * selfG - vj * inPhase;
    flow.p.vj = -vi * inPhase;
    flow.p.tap = vi * vi * selfGTap - vv * (m0 * cosTheta + l0 * sinTheta);
    flow.p.shift = -turn * vv * quadrature;

    flow.q.value = -vi * vi * selfB - vv * quadrature;
    flow.q.thetaI = -vv * inPhase;
    flow.q.vi = -2.0 * vi * selfB - vj * quadrature;
    flow.q.vj = -vi * quadrature;
    flow.q.tap = -vi * vi * selfBTap - vv * (m0 * sinTheta - l0 * cosTheta);
    flow.q.shift = turn * vv * inPhase;
    return flow;
}

EndFlow FlowAtEnd(const NetBranch& branch, bool atFrom, double vi, double vj, double thetaIJ) {
    return FlowAtEnd(TermsOf(branch), atFrom, vi, vj, {std::cos(thetaIJ), std::sin(thetaIJ)});
}

// Where a bus's voltage derivatives go: its voltage column when the
// voltage is an unknown, lambda's column at the continuation parameter bus,
// and otherwise a 0 in its voltage column, which then holds another
// quantity.
struct VoltageDerivative {
    int column = 0;
    bool free = false;
};

// Enters the Jacobian entries of one pass of the AC equations.
class Assembly {
public:
    Assembly(Solver& solver, bool continuation, int lambdaColumn)
        : solver_(solver), switches_(solver.Switches()), continuation_(continuation), lambdaColumn_(lambdaColumn) {}

    void Enter(int row, int column, double value) { solver_.AddElement(row, column, value); }

    // 0 for a slack bus: its angle is held and its column holds its power.
    static int AngleColumn(const NetBus& bus) { return CodeHas(bus.code, "S") ? 0 : bus.firstVariable; }

    VoltageDerivative VoltageOf(const NetBus& bus) const {
        if (HoldsVoltage(bus.voltageColumn)) return {bus.firstVariable + 1, true};
        if (continuation_ && bus.voltageColumn == VoltageColumn::LoadParameter) return {lambdaColumn_, true};
        return {bus.firstVariable + 1, false};
    }

    void EnterVoltage(int row, const NetBus& bus, double value) {
        const VoltageDerivative at = VoltageOf(bus);
        Enter(row, at.column, at.free ? value : 0.0);
    }

    // The derivative of a flow with respect to its branch's control: the
    // shift or tap unknown of a P/Q-regulating transformer (0 where the flow
    // itself is the unknown), or the tap of an "R" transformer, which takes
    // the regulated bus's voltage column.
    void EnterControl(int row, const NetBranch& branch, const FlowTerms& flow, double weight) {
        if (switches_.pqTransformerControl && IsFlowRegulating(branch)) {
            double derivative = 0.0;
            if (branch.code == "RQ") derivative = flow.tap;
            if (branch.code == "RP") derivative = flow.shift;
            Enter(row, branch.variable, -weight * derivative);
        } else if (switches_.voltageTransformerControl && branch.code == "R" && branch.regulation().regulatedBus) {
            Enter(row, branch.regulation().regulatedBus->firstVariable + 1, -weight * flow.tap);
        }
    }

    // Whether EnterControl enters anything for the branch.
    bool HasControlColumn(const NetBranch& branch) const {
        return (switches_.pqTransformerControl && IsFlowRegulating(branch)) ||
               (switches_.voltageTransformerControl && branch.code == "R" && branch.regulation().regulatedBus);
    }

    // Every derivative of the mismatch term -weight x flow into one row.
    void EnterFlow(int row, double weight, const FlowTerms& flow, const NetBus& i, const NetBus& j,
                   const NetBranch& branch) {
        if (int column = AngleColumn(i)) Enter(row, column, -weight * flow.thetaI);
        if (int column = AngleColumn(j)) Enter(row, column, weight * flow.thetaI);
        EnterVoltage(row, i, -weight * flow.vi);
        EnterVoltage(row, j, -weight * flow.vj);
        EnterControl(row, branch, flow, weight);
    }

private:
    Solver& solver_;
    const RunSwitches& switches_;
    bool continuation_;
    int lambdaColumn_;
};

struct LoadAtBus {
    double p = 0.0;
    double q = 0.0;
    double pV = 0.0;  // dP/dV
    double qV = 0.0;
};

// The polynomial form p0 + p1 V + p2 V^2 takes its coefficients from the
// bus's load polynomial; the exponential form follows the load models
// and the load parameter.
LoadAtBus BusLoad(const NetBus& bus, const BusLoads& models, bool polynomial, double lambda) {
    const double v = bus.voltage;
    LoadAtBus load;
    if (polynomial) {
        const auto& c = bus.loadPolynomial;
        load.p = c[0] + c[1] * v + c[2] * v * v;
        load.q = c[3] + c[4] * v + c[5] * v * v;
        load.pV = c[1] + 2.0 * c[2] * v;
        load.qV = c[4] + 2.0 * c[5] * v;
        return load;
    }
    auto exponential = [&](const LoadModel& model, double& value, double& derivative) {
        const double base = model.base + lambda * model.baseDirection;
        const double impedance = model.impedance + lambda * model.impedanceDirection;
        const double power = model.VoltagePower(v);
        value = base * power + impedance * v * v;
        derivative = model.exponent == 0.0 ? 2.0 * impedance * v
                                           : model.exponent * base * power / v + 2.0 * impedance * v;
    };
    exponential(models.p, load.p, load.pV);
    exponential(models.q, load.q, load.qV);
    return load;
}

// What one pass of the AC equations works with, and its steps for one bus:
// the power balance with its branches, the distributed slack, the load
// parameter's column, the column of the quantity that holds a voltage, the
// area interchange row and the rows of the P/Q-regulating transformers.
class AcPass {
public:
    AcPass(Solver& solver, NetworkArrays& arrays, Evaluate evaluate, Loads loads, bool continuation,
           NetBus* systemSlack, int lambdaColumn, int parameterColumn, bool areaMode)
        : sw_(solver.Switches()), f_(solver.Mismatch()), arrays_(arrays), jacobian_(solver, continuation, lambdaColumn),
          deviceTerms_(solver, evaluate),
          wantMismatch_(WantsMismatch(evaluate)), wantJacobian_(WantsJacobian(evaluate)),
          polynomialLoads_(loads == Loads::Polynomial), lambda_(solver.LoadParameter()), systemSlack_(systemSlack),
          parameterColumn_(parameterColumn), generationIncrease_(continuation && sw_.generationIncrease),
          areaMode_(areaMode) {}

    // The buses' and branches' terms of this pass, by their places.
    void TakeTerms(const Network& network);
    void Bus(NetBus& bus, int place);
    // The first area whose participation sum is 0 (status -1), or null;
    // status -1 with null when the whole network's sum is 0.
    NetArea* CheckParticipation(const Network& network, int& status) const;

private:
    // The power balance of one bus, specified minus calculated, and the
    // diagonal of its two rows.
    struct Balance {
        double p = 0.0;
        double q = 0.0;
        double pTheta = 0.0;  // dF/dtheta_i
        double qTheta = 0.0;
        double pV = 0.0;      // dF/dV_i
        double qV = 0.0;
    };
    void CountParticipation(const NetBus& bus, const NetBus* slack);
    void Branches(const NetBus& bus, int place, Balance& balance);
    void Diagonal(const NetBus& bus, const Balance& balance);
    void DistributedSlack(const NetBus& bus, const NetBus* slack, GeneratorCoupling& coupling);
    void LoadParameterColumn(const NetBus& bus, const BusLoads& models);
    void HeldVoltageColumn(const NetBus& bus, GeneratorCoupling& coupling);
    void AreaInterchange(const NetBus& bus);
    void FlowTransformerRows(const NetBus& bus);

    const RunSwitches& sw_;
    std::vector<double>& f_;
    NetworkArrays& arrays_;
    Assembly jacobian_;
    DeviceTerms deviceTerms_;  // for the rows of generator models
    const bool wantMismatch_;
    const bool wantJacobian_;
    const bool polynomialLoads_;
    const double lambda_;
    NetBus* const systemSlack_;
    const int parameterColumn_;      // dF/dlambda; 0 none
    const bool generationIncrease_;  // only the system slack shares the slack power
    const bool areaMode_;
    double systemSum_ = 0.0;
};

// One sweep over each list, in order, before the buses' equations follow
// the links between them.
void AcPass::TakeTerms(const Network& network) {
    arrays_.busTerms.resize(network.buses.size());
    auto bus = arrays_.busTerms.begin();
    for (const auto& item : network.buses) {
        const VoltageDerivative voltage = jacobian_.VoltageOf(*item);
        *bus++ = {item->voltage, item->angle, Assembly::AngleColumn(*item), voltage.column, voltage.free};
    }
    arrays_.branchTerms.resize(network.branches.size());
    auto branch = arrays_.branchTerms.begin();
    int place = 0;
    for (const auto& item : network.branches) {
        if (!arrays_.BranchTermsHeld(place)) {
            *branch = TermsOf(*item);
            branch->hasControlColumn = jacobian_.HasControlColumn(*item);
        }
        const auto [from, to] = arrays_.BusesOf(place++);
        const double difference = arrays_.busTerms[from].angle - arrays_.busTerms[to].angle;
        branch->cosAngle = std::cos(difference);
        branch->sinAngle = std::sin(difference);
        branch->controlled = wantJacobian_ && branch->hasControlColumn;
        ++branch;
    }
    arrays_.BranchTermsTaken();
}

void AcPass::Bus(NetBus& bus, int place) {
    const int pRow = bus.firstVariable;
    const int qRow = pRow + 1;
    const double v = bus.voltage;
    const NetBus* slack = bus.area && bus.area->areaBus ? bus.area->areaBus : systemSlack_;
    const BusLoads models{arrays_.LoadModelP(bus, place), arrays_.LoadModelQ(bus, place)};
    const LoadAtBus load = BusLoad(bus, models, polynomialLoads_, lambda_);
    CountParticipation(bus, slack);

    Balance balance;
    balance.p = bus.generationP - load.p - v * v * bus.shuntG;
    balance.q = bus.generationQ - load.q + v * v * bus.shuntB;
    balance.pV = -2.0 * v * bus.shuntG - load.pV;
    balance.qV = 2.0 * v * bus.shuntB - load.qV;
    Branches(bus, place, balance);
    if (wantMismatch_) {
        f_[pRow] = balance.p;
        f_[qRow] = balance.q;
    }
    GeneratorCoupling coupling;
    if (wantJacobian_) {
        Diagonal(bus, balance);
        DistributedSlack(bus, slack, coupling);
        LoadParameterColumn(bus, models);
        HeldVoltageColumn(bus, coupling);
    }
    AreaInterchange(bus);
    FlowTransformerRows(bus);
    if (bus.generator) GeneratorModelEquations(bus, deviceTerms_, coupling);
}

// In the generation-increase mode only the system slack shares the slack
// power; the other generators follow lambda.
void AcPass::CountParticipation(const NetBus& bus, const NetBus* slack) {
    const double participation = bus.shareInUse;
    if (generationIncrease_) {
        if (&bus == systemSlack_) systemSum_ += participation;
    } else if (areaMode_ && slack && slack->area)
        slack->area->participationSum += participation;
    else
        systemSum_ += participation;
}

// The flows into the bus's branches, and their derivatives with respect to
// the other ends and to the branches' controls.
void AcPass::Branches(const NetBus& bus, int place, Balance& balance) {
    const int pRow = bus.firstVariable;
    const int qRow = pRow + 1;
    const BusTerms& self = arrays_.busTerms[place];
    for (const NetworkArrays::End& end : arrays_.EndsOf(place)) {
        const BusTerms& other = arrays_.busTerms[end.other];
        const BranchTerms& terms = arrays_.branchTerms[end.branch];
        // Seen from the to end the difference changes its sign: the
        // cosine stays, the sine turns (exactly, as the functions do).
        const AngleTurn theta{terms.cosAngle, end.atFrom ? terms.sinAngle : -terms.sinAngle};
        const EndFlow flow = FlowAtEnd(terms, end.atFrom, self.voltage, other.voltage, theta);
        balance.p -= flow.p.value;
        balance.q -= flow.q.value;
        if (!wantJacobian_) continue;
        balance.pTheta -= flow.p.thetaI;
        balance.qTheta -= flow.q.thetaI;
        balance.pV -= flow.p.vi;
        balance.qV -= flow.q.vi;
        if (other.angleColumn) {
            jacobian_.Enter(pRow, other.angleColumn, flow.p.thetaI);
            jacobian_.Enter(qRow, other.angleColumn, flow.q.thetaI);
        }
        jacobian_.Enter(pRow, other.voltageColumn, other.voltageFree ? -flow.p.vj : 0.0);
        jacobian_.Enter(qRow, other.voltageColumn, other.voltageFree ? -flow.q.vj : 0.0);
        if (!terms.controlled) continue;
        const NetBranch& branch = arrays_.Branch(end.branch);
        jacobian_.EnterControl(pRow, branch, flow.p, 1.0);
        jacobian_.EnterControl(qRow, branch, flow.q, 1.0);
    }
}

void AcPass::Diagonal(const NetBus& bus, const Balance& balance) {
    const int pRow = bus.firstVariable;
    if (int column = Assembly::AngleColumn(bus)) {
        jacobian_.Enter(pRow, column, balance.pTheta);
        jacobian_.Enter(pRow + 1, column, balance.qTheta);
    }
    jacobian_.EnterVoltage(pRow, bus, balance.pV);
    jacobian_.EnterVoltage(pRow + 1, bus, balance.qV);
}

// The bus's generation follows its area slack's power (or the system
// slack's); in the generation-increase mode it follows lambda. A generator
// model's active row follows it alike.
void AcPass::DistributedSlack(const NetBus& bus, const NetBus* slack, GeneratorCoupling& coupling) {
    int column = 0;
    if (generationIncrease_) {
        if (&bus == systemSlack_)
            column = bus.firstVariable;
        else if (bus.generationDirection != 0.0)
            column = parameterColumn_;
    } else if (bus.generationDirection != 0.0 && slack) {
        if (CodeHas(slack->code, "S"))
            column = slack->firstVariable;
        else if (sw_.areaControl)
            column = slack->firstVariable + 2;
    }
    if (!column) return;
    jacobian_.Enter(bus.firstVariable, column, bus.shareInUse);
    coupling.slackColumn = column;
    coupling.share = bus.shareInUse;
}

// dF/dlambda, always from the load models' directions.
void AcPass::LoadParameterColumn(const NetBus& bus, const BusLoads& models) {
    if (!parameterColumn_) return;
    const double v = bus.voltage;
    const LoadModel& mp = models.p;
    const LoadModel& mq = models.q;
    const double vp = mp.VoltagePower(v);
    const double vq = mq.VoltagePower(v);
    if (mp.impedanceDirection != 0.0 || mp.baseDirection != 0.0)
        jacobian_.Enter(bus.firstVariable, parameterColumn_, -(mp.impedanceDirection * v * v + mp.baseDirection * vp));
    if (mq.impedanceDirection != 0.0 || mq.baseDirection != 0.0)
        jacobian_.Enter(bus.firstVariable + 1, parameterColumn_,
                        -(mq.impedanceDirection * v * v + mq.baseDirection * vq));
}

// A bus whose voltage is held carries the quantity that holds it (its
// reactive generation, or a remote bus's reactive unknown) in the voltage
// column; a 0 while it is not held keeps the matrix's pattern. A generator
// model's reactive row has the same entry.
void AcPass::HeldVoltageColumn(const NetBus& bus, GeneratorCoupling& coupling) {
    if (!CodeHas(bus.code, "VQSGZ")) return;
    const bool remote = sw_.remoteVoltageControl && CodeHas(bus.code, "G") && bus.extras().remoteBus;
    const int column = (remote ? bus.extras().remoteBus : &bus)->firstVariable + 1;
    const double share = remote ? RemoteShare(bus) : 1.0;
    const double value = bus.control == 'V' ? share : 0.0;
    jacobian_.Enter(bus.firstVariable + 1, column, value);
    coupling.heldColumn = column;
    coupling.heldValue = value;
}

// Area interchange: the scheduled export less the tie flows, each measured
// at its metered end and counted out of this area.
void AcPass::AreaInterchange(const NetBus& bus) {
    if (!sw_.areaControl || !bus.area || !CodeHas(bus.code, "A")) return;
    const int row = bus.firstVariable + 2;
    double interchange = bus.area->scheduledExport;
    for (const AdjacencyNode& tie : bus.area->ties) {
        const NetBranch& branch = *tie.branch;
        const NetBus& metered = branch.meteredBus ? *branch.meteredBus : *branch.from;
        const bool atFrom = &metered == branch.from;
        const NetBus& other = atFrom ? *branch.to : *branch.from;
        const EndFlow flow = FlowAtEnd(branch, atFrom, metered.voltage, other.voltage, metered.angle - other.angle);
        const double weight = metered.area == bus.area ? 1.0 : -1.0;
        interchange -= weight * flow.p.value;
        if (wantJacobian_) jacobian_.EnterFlow(row, weight, flow.p, metered, other, branch);
    }
    if (wantMismatch_) f_[row] = interchange;
}

// P/Q-regulating transformers: the target less the flow at this, the
// owner's, end.
void AcPass::FlowTransformerRows(const NetBus& bus) {
    if (!sw_.pqTransformerControl) return;
    for (const AdjacencyNode& node : bus.regulatingBranches) {
        const NetBranch& branch = *node.branch;
        if (!IsFlowRegulating(branch)) continue;
        const bool atFrom = branch.to != &bus;
        const NetBus& end = atFrom ? *branch.from : *branch.to;
        const NetBus& other = atFrom ? *branch.to : *branch.from;
        const EndFlow flow = FlowAtEnd(branch, atFrom, end.voltage, other.voltage, end.angle - other.angle);
        const FlowTerms& regulated = CodeHas(branch.code, "PM") ? flow.p : flow.q;
        if (wantMismatch_) f_[branch.variable] = branch.regulation().controlTarget - regulated.value;
        if (wantJacobian_) {
            jacobian_.EnterFlow(branch.variable, 1.0, regulated, end, other, branch);
            if (HoldsFlowAsUnknown(branch)) jacobian_.Enter(branch.variable, branch.variable, 1.0);
        }
    }
}

NetArea* AcPass::CheckParticipation(const Network& network, int& status) const {
    if (!sw_.participationCheck) return nullptr;
    if (areaMode_) {
        for (const auto& area : network.areas) {
            if (area->participationSum != 0.0) continue;
            status = -1;
            return area.get();
        }
    } else if (systemSum_ == 0.0) {
        status = -1;
    }
    return nullptr;
}

}  // namespace

NetBus* Solver::SystemSlack() const {
    for (NetBus* bus : network_->slackBuses)
        if (CodeHas(bus->code, "S")) return bus;
    return nullptr;
}

// One pass over the buses and their branches. Answers the first area whose
// participation sum is 0 (status -1), or null; status -1 with null when the
// whole network's sum is 0.
NetArea* Solver::AcEquations(int& status, Evaluate evaluate, Loads loads) {
    Network& network = *network_;
    status = 0;
    const bool areaMode = switches_.areaControl && network.areas.size() >= 2;
    for (const auto& area : network.areas) area->participationSum = 0.0;
    const int lambdaColumn = variableCount_ + 1;
    const int parameterColumn = parameterBus_ ? parameterBus_->firstVariable + 1 : continuation_ ? lambdaColumn : 0;
    equationArrays_.Link(network);
    AcPass pass(*this, equationArrays_, evaluate, loads, continuation_, SystemSlack(), lambdaColumn, parameterColumn,
                areaMode);
    pass.TakeTerms(network);
    int place = 0;
    for (const auto& bus : network.buses) pass.Bus(*bus, place++);
    return pass.CheckParticipation(network, status);
}
