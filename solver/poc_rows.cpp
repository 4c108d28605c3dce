#include <algorithm>
#include <array>
#include <cmath>
#include <unordered_map>
#include <utility>

#include "poc_terms.h"

// The rows that turn the power flow of order n into the point-of-collapse
// system of order N = 2n + 1. Rows 1..n are the power-flow mismatches f;
// row n + i is the component of J'w that belongs to unknown i (the
// derivative of w'f with respect to it, w the left null vector at unknowns
// n + 1..2n); row N is max |w_i| - 1. The extended Jacobian holds dF/dz as
// the plain one does: J' in the w columns of block 2, the curvature
// sum_k w_k d2f_k / dx_i dx_j in its state columns, df/dlambda in column N.
//
// Block 2's mismatch is taken from the plain Jacobian as assembled (J'w),
// so it holds whatever the equations hold; the curvature comes from each
// family's equations written once more in second-order form.

namespace {

// The local unknowns of one branch end: this end's angle and voltage, the
// other end's, the ratio t (on the from side) and the shift phi (radians).
enum BranchUnknown { kAngleI, kAngleJ, kVoltageI, kVoltageJ, kRatio, kShift, kBranchUnknowns };
using BranchTerm = SecondOrder<kBranchUnknowns>;

struct BranchFlows {
    BranchTerm p;  // drawn into the branch at this end
    BranchTerm q;
};

// The flows of the AC equations at one end, in second-order form:
// P = Vi^2 (g + gsh) s - Vi Vj t (m0 cos theta + l0 sin theta),
// Q = -Vi^2 (b + bsh) s - Vi Vj t (m0 sin theta - l0 cos theta),
// with s = t^2 at the from end (1 at the to end) and (m0, l0) the series
// admittance turned by the shift, forwards at the from end, backwards at
// the to end.
BranchFlows FlowsAtEnd(const NetBranch& branch, bool atFrom, const NetBus& i, const NetBus& j) {
    using T = BranchTerm;
    const T theta = T::Unknown(kAngleI, i.angle) - T::Unknown(kAngleJ, j.angle);
    const T vi = T::Unknown(kVoltageI, i.voltage);
    const T vj = T::Unknown(kVoltageJ, j.voltage);
    const T t = T::Unknown(kRatio, branch.tap);
    const T shift = T::Unknown(kShift, branch.shift);
    const double turn = atFrom ? 1.0 : -1.0;
    const double g = branch.g, b = branch.b;
    const T cosShift = cos(shift), sinShift = sin(shift);
    const T m0 = g * cosShift - (turn * b) * sinShift;
    const T l0 = b * cosShift + (turn * g) * sinShift;
    const T cosTheta = cos(theta), sinTheta = sin(theta);
    const T self = atFrom ? t * t : T::Constant(1.0);
    const T vvt = vi * vj * t;
    const T selfFlow = vi * vi * self;
    BranchFlows flows;
    flows.p = (g + (atFrom ? branch.fromShuntG : branch.toShuntG)) * selfFlow - vvt * (m0 * cosTheta + l0 * sinTheta);
    flows.q = -(b + (atFrom ? branch.fromShuntB : branch.toShuntB)) * selfFlow -
              vvt * (m0 * sinTheta - l0 * cosTheta);
    return flows;
}

// The multipliers of a branch's flows in the rows other than its end
// buses' power balances: the area interchange rows and the rows of the
// P/Q-regulating transformers. Index: from P, from Q, to P, to Q.
using EndWeights = std::array<double, 4>;

class AcCurvature {
public:
    AcCurvature(Solver& solver) : solver_(solver), sw_(solver.Switches()), n_(solver.VariableCount()),
                                  w_(solver.NullVector()) {}

    void CollectRowWeights(const Network& network);
    void BranchEnd(const NetBus& bus, const NetBranch& branch);
    void Loads(const NetBus& bus, double lambda);

private:
    std::array<int, kBranchUnknowns> Columns(const NetBus& i, const NetBus& j, const NetBranch& branch) const;

    Solver& solver_;
    const RunSwitches& sw_;
    const int n_;
    const std::vector<double>& w_;
    std::unordered_map<const NetBranch*, EndWeights> extra_;
};

// Every row is scheduled minus calculated, so a flow enters each row it
// appears in with the row's multiplier negated (times the sign of the
// interchange for the area rows).
void AcCurvature::CollectRowWeights(const Network& network) {
    for (const auto& owned : network.buses) {
        const NetBus& bus = *owned;
        if (sw_.areaControl && bus.area && CodeHas(bus.code, "A")) {
            const double multiplier = w_[bus.firstVariable + 2];
            for (const AdjacencyNode& tie : bus.area->ties) {
                const NetBranch& branch = *tie.branch;
                const NetBus& metered = branch.meteredBus ? *branch.meteredBus : *branch.from;
                const bool atFrom = &metered == branch.from;
                const double sign = metered.area == bus.area ? 1.0 : -1.0;
                extra_[&branch][atFrom ? 0 : 2] -= sign * multiplier;
            }
        }
        if (!sw_.pqTransformerControl) continue;
        for (const AdjacencyNode& node : bus.regulatingBranches) {
            const NetBranch& branch = *node.branch;
            if (!IsFlowRegulating(branch)) continue;
            const bool atFrom = branch.to != &bus;
            const int slot = (atFrom ? 0 : 2) + (CodeHas(branch.code, "PM") ? 0 : 1);
            extra_[&branch][slot] -= w_[branch.variable];
        }
    }
}

// The unknowns a branch end's flows depend on, as the AC equations'
// columns name them: the ratio or shift of a P/Q-regulating transformer
// that has it as its unknown, the ratio of an "R" transformer in its
// regulated bus's voltage column.
std::array<int, kBranchUnknowns> AcCurvature::Columns(const NetBus& i, const NetBus& j,
                                                      const NetBranch& branch) const {
    std::array<int, kBranchUnknowns> columns{};
    columns[kAngleI] = PocAngleColumn(i);
    columns[kAngleJ] = PocAngleColumn(j);
    columns[kVoltageI] = PocVoltageColumn(i);
    columns[kVoltageJ] = PocVoltageColumn(j);
    if (sw_.pqTransformerControl && IsFlowRegulating(branch)) {
        if (branch.code == "RQ") columns[kRatio] = branch.variable;
        if (branch.code == "RP") columns[kShift] = branch.variable;
    } else if (sw_.voltageTransformerControl && branch.code == "R" && branch.regulation().regulatedBus &&
               branch.regulation().regulatedBus->voltageColumn == VoltageColumn::TransformerTap) {
        columns[kRatio] = branch.regulation().regulatedBus->firstVariable + 1;
    }
    return columns;
}

void AcCurvature::BranchEnd(const NetBus& bus, const NetBranch& branch) {
    const bool atFrom = branch.from == &bus;
    const NetBus& other = atFrom ? *branch.to : *branch.from;
    double weightP = -w_[bus.firstVariable];
    double weightQ = -w_[bus.firstVariable + 1];
    if (auto found = extra_.find(&branch); found != extra_.end()) {
        weightP += found->second[atFrom ? 0 : 2];
        weightQ += found->second[atFrom ? 1 : 3];
    }
    const BranchFlows flows = FlowsAtEnd(branch, atFrom, bus, other);
    const auto columns = Columns(bus, other, branch);
    EnterCurvature(solver_, columns, columns, weightP * flows.p + weightQ * flows.q);
}

// The bus's load and shunt: f_P = ... - PL(V, lambda) - V^2 Gsh and
// f_Q = ... - QL(V, lambda) + V^2 Bsh, the loads of the exponential models.
// Their lambda derivatives are column N of the bus's rows; their
// curvature in V and lambda goes to block 2.
void AcCurvature::Loads(const NetBus& bus, double lambda) {
    enum { kVoltage, kLambda };
    using T = SecondOrder<2>;
    const T v = T::Unknown(kVoltage, bus.voltage);
    const T parameter = T::Unknown(kLambda, lambda);
    auto load = [&](const LoadModel& model) {
        return (T::Constant(model.base) + model.baseDirection * parameter) * pow(v, model.exponent) +
               (T::Constant(model.impedance) + model.impedanceDirection * parameter) * (v * v);
    };
    const T fp = (-1.0) * load(bus.loadModelP) - bus.shuntG * (v * v);
    const T fq = (-1.0) * load(bus.loadModelQ) + bus.shuntB * (v * v);
    const int lambdaColumn = 2 * n_ + 1;
    const int row = bus.firstVariable;
    if (fp.gradient[kLambda] != 0.0) solver_.AddElement(row, lambdaColumn, fp.gradient[kLambda]);
    if (fq.gradient[kLambda] != 0.0) solver_.AddElement(row + 1, lambdaColumn, fq.gradient[kLambda]);
    const int voltage = PocVoltageColumn(bus);
    const T weighted = w_[row] * fp + w_[row + 1] * fq;
    const std::array<int, 2> rows{voltage, 0};
    const std::array<int, 2> columns{voltage, weighted.hessian[0][1] != 0.0 ? lambdaColumn : 0};
    EnterCurvature(solver_, rows, columns, weighted);
}

}  // namespace

// The extended rows in the order the families' equations come.
bool Solver::PocRows(Evaluate evaluate, Loads loads) {
    const bool mismatch = WantsMismatch(evaluate);
    const bool jacobian = WantsJacobian(evaluate);
    if (mismatch) ExtendedMismatch(jacobian, loads);
    NormalisationRow(mismatch, jacobian);
    PocAcRows(jacobian);
    if (PocHvdcRows(jacobian)) return false;
    PocSvcRows(jacobian);
    PocTcscRows(jacobian);
    PocStatcomRows(jacobian);
    return true;
}

// sum over the entries (r, c) within 1..n of value x w_r, into product[c].
void Solver::TransposedProduct(const SparseMatrix& matrix, std::vector<double>& product) const {
    const int n = variableCount_;
    product.assign(static_cast<std::size_t>(n) + 1, 0.0);
    for (int k = 1; k <= matrix.EntryCount(); ++k) {
        const MatrixEntry& entry = matrix.Entry(k);
        if (entry.row <= n && entry.column <= n) product[entry.column] += entry.value * nullVector_[entry.row];
    }
}

// Rows n + 1..2n: J'w from the plain Jacobian of the present state. In a
// Jacobian build that is the store itself, whose plain entries are also
// copied, transposed, into block 2 (zeros too, so that the pattern stays);
// a mismatch-only pass assembles the plain Jacobian in a store of its own.
void Solver::ExtendedMismatch(bool jacobian, Loads loads) {
    const int n = variableCount_;
    std::vector<double> product;
    if (jacobian) {
        TransposedProduct(matrix_, product);
        std::vector<std::pair<int, int>> places;
        std::vector<double> values;
        for (int k = 1; k <= matrix_.EntryCount(); ++k) {
            const MatrixEntry& entry = matrix_.Entry(k);
            if (entry.row > n || entry.column > n) continue;
            places.emplace_back(entry.row, entry.column);
            values.push_back(entry.value);
        }
        for (std::size_t k = 0; k < places.size(); ++k)
            AddElement(n + places[k].second, n + places[k].first, values[k]);
    } else {
        struct StoreSwap {
            SparseMatrix& a;
            SparseMatrix& b;
            StoreSwap(SparseMatrix& x, SparseMatrix& y) : a(x), b(y) { std::swap(a, b); }
            ~StoreSwap() { std::swap(a, b); }
        } swap(matrix_, pocJacobian_);
        if (matrix_.Rows() != n)
            matrix_.Resize(n, n);
        else
            matrix_.ZeroValues();
        int status = 0;
        AcEquations(status, Evaluate::Jacobian, loads);
        DeviceEquations(Evaluate::Jacobian);
        TransposedProduct(matrix_, product);
    }
    for (int i = 1; i <= n; ++i) mismatch_[n + i] = product[i];
}

// Row N: max |w_i| - 1 at the first entry of largest magnitude, with the
// whole row in the pattern so that it does not change as that entry moves.
void Solver::NormalisationRow(bool mismatch, bool jacobian) {
    const int n = variableCount_;
    const int row = 2 * n + 1;
    int chosen = 1;
    double largest = -1.0;
    for (int i = 1; i <= n; ++i)
        if (std::fabs(nullVector_[i]) > largest) {
            largest = std::fabs(nullVector_[i]);
            chosen = i;
        }
    if (mismatch) mismatch_[row] = largest - 1.0;
    if (!jacobian) return;
    for (int i = 1; i <= n; ++i) AddElement(row, n + i, 0.0);
    AddElement(row, n + chosen, nullVector_[chosen] > 0.0 ? 1.0 : -1.0);
}

// The curvature of the branch flows (in the power balances, the area
// interchange rows and the regulating transformers' rows), of the loads
// and shunts and of the generator models, and the lambda column of the
// power balances. The
// distributed slack, the exchanged voltage columns and the area and
// transformer unknowns enter the equations linearly: their part of block 2
// is in J'w and their curvature is 0.
void Solver::PocAcRows(bool jacobian) {
    if (!jacobian) return;
    AcCurvature curvature(*this);
    curvature.CollectRowWeights(*network_);
    for (const auto& owned : network_->buses) {
        const NetBus& bus = *owned;
        for (const AdjacencyNode& node : bus.branches) curvature.BranchEnd(bus, *node.branch);
        curvature.Loads(bus, lambda_);
        if (bus.generator) GeneratorModelCurvature(*this, bus);
    }
}
