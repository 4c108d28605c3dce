#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "number_text.h"
#include "solver.h"

// The point of collapse: the nose of the PV curve solved for directly, as
// the solution of f(x, lambda) = 0, J'(x, lambda) w = 0, max |w_i| = 1 (the
// rows of poc_rows.cpp). The start comes from the solved case at option L,
// a predictor step along the tangent dx/dlambda with its corrector, and a
// left null vector seeded by inverse iteration. A solve that fails switches
// the controls at their limits, seeds w again and tries once more.

namespace {

// Retries in a row without a control switch before the method gives up.
constexpr int kRetriesWithoutSwitch = 5;
// Shrinks of the predictor step before it is taken as it is: a quantity
// already at its limit stays clamped however short the step.
constexpr int kMostPredictorShrinks = 100;
// How far beyond a singular point, as a share of the climb from the run's
// start to it, the curve through the start is looked for: far enough that
// no state there comes within the tolerance of a solution when the point
// is the curve's own nose.
constexpr double kBeyondTheNose = 0.05;
// Iterations of that power flow: from a start on a curve that goes on it
// converges in a few; one still short of the tolerance after these
// decides nothing, and bounds what the check costs at a true nose.
constexpr int kMostIterationsBeyond = 10;

}  // namespace

void Solver::SetSystemOrder(int order, bool extendedRows) {
    matrixOrder_ = order;
    extendedRows_ = extendedRows;
    SetMatrixOrder(order);
}

// The plain Jacobian's system. A store already of its order keeps its
// pattern and its order, so that the phases working with the plain
// Jacobian share one analysis (FactorPlainJacobian); a store that held
// another system meanwhile takes the order it found for the same pattern.
void Solver::SetPlainSystem() {
    matrixOrder_ = variableCount_;
    extendedRows_ = false;
    if (matrix_.Rows() != variableCount_) SetMatrixOrder(variableCount_);
}

// The extended system, ordered after the plain Jacobian's factor: the row
// of J'w that belongs to an unknown couples the unknowns that the unknown's
// own rows couple, so the pair is eliminated together, in the plain
// order, and lambda, whose column and the normalisation row span the
// system, comes last. The order searched for the plain Jacobian serves
// both systems.
void Solver::SetExtendedSystem() {
    const int n = variableCount_;
    if (matrix_.Rows() == n) {
        std::vector<int> order = matrix_.PivotOrder();
        if (!order.empty()) plainOrder_ = std::move(order);
    }
    SetSystemOrder(2 * n + 1, true);
    if (plainOrder_.empty()) return;
    std::vector<int> order;
    order.reserve(static_cast<std::size_t>(2 * n + 1));
    for (const int column : plainOrder_) {
        order.push_back(column);
        order.push_back(n + column);
    }
    order.push_back(2 * n + 1);
    matrix_.OrderAs(std::move(order));
}

// The plain Jacobian of the present state, factorised: with the kept order
// while the store holds the pattern it was ordered for, else ordered anew.
// -1 when a link has no value, 1 when the Jacobian is singular.
int Solver::FactorPlainJacobian(int& status) {
    const bool kept = Matrix().Ordered();
    if (kept) {
        Matrix().ZeroValues();
        AcEquations(status, Evaluate::Jacobian, Loads::Models);
        if (!DeviceEquations(Evaluate::Jacobian)) return -1;
        if (Factor() == 0) return 0;
    }
    ClearMatrix();
    AcEquations(status, Evaluate::Jacobian, Loads::Models);
    if (!DeviceEquations(Evaluate::Jacobian)) return -1;
    SortLists();
    if (OrderAndFactor() != 0) return 1;
    SortLists();
    return 0;
}

bool Solver::LoadCharacteristicsGiven() const {
    return !IsEmptyValue(OptionValue('D')) || inputGave_.loadExponents;
}

// Answers the iteration at which the extended solve met its tolerance;
// the state, lambda and w then hold the nose. Negative: no start point.
// A singular point below the start, at a negative total load, or on
// another branch of solutions than the start's curve is no nose: the
// method then starts again from further up the curve.
int Solver::SolvePointOfCollapse() {
    const int n = variableCount_;
    // The extended rows are Newton's only while this method runs.
    struct ExtendedRowsOff {
        Solver& solver;
        ~ExtendedRowsOff() { solver.extendedRows_ = false; }
    } rowsOff{*this};
    nullVector_.assign(static_cast<std::size_t>(n) + 1, 0.0);
    plainOrder_.clear();
    SetSystemOrder(n, false);
    limitsSwitching_ = false;

    lambda_ = 0.0;
    DoubleOption('L', lambda_, -1e6, 1e6);
    lambdaBase_ = lambda_;
    lambdaIncrement_ = 0.0;
    int count = 0;
    if (lambda_ != 0.0 && !LoadCharacteristicsGiven()) {
        RescaleLoadModels();
        count = SolvePowerFlow(1, Reorder::No, Refresh::EveryIteration, Loads::Models);
    } else {
        count = SolvePowerFlow(1, Reorder::No, Refresh::EveryIteration, Loads::Polynomial);
    }
    if (count < 0) return count;

    CurvePoint start;
    SaveCurvePoint(start);
    // The links back to their scheduled controls; a change orders the
    // corrector's Jacobian anew.
    const int result = SolveFromCurvePoint(count, ResetHvdcControl() != 0);
    if (result >= 0 && IsNose(start.state.Lambda()) && !CurveReachesBeyond(start)) {
        DumpNullVector();
        return result;
    }
    return ClimbToTheNose(start, count);
}

// The direct method from the solved point at the present lambda: the
// predictor along dx/dlambda with its corrector, the left null vector
// seeded by inverse iteration, the extended solve and its retries.
// Negative when it finds no singular point.
int Solver::SolveFromCurvePoint(int count, bool reset) {
    lambdaBase_ = lambda_;
    lambdaIncrement_ = 0.0;
    count = PocPredictor(count, reset);
    if (count < 0) return count;
    double eigenvalue = 0.0;
    InversePowerIteration(4, count, 0.001, 0, &eigenvalue);

    SetQuietRun(Quiet::Yes, LimitChecks::Done);
    SetExtendedSystem();
    // A start that met the tolerance at once (count 1) still takes a step.
    return RetryExtendedSolve(
        SolvePowerFlow(std::max(count, 2), Reorder::Yes, Refresh::EveryIteration, Loads::Models));
}

// A singular point is the nose only above the point the direct method
// started from and at a load that is not negative.
bool Solver::IsNose(double startLambda) {
    SumTableTotals();
    return lambda_ >= startLambda && tableTotals_.loadP >= 0.0;
}

// Whether the singular point found is the fold of another branch of
// solutions, which the curve through the run's start passes: a plain
// power flow from `start` converges a little beyond the point, within a
// few iterations. Past its nose a curve has no solution nearby. A power
// flow that fails decides nothing, and the point stands. The solve runs
// in the modes the point was found in; the point comes back as it was,
// with its null vector and lambda.
bool Solver::CurveReachesBeyond(const CurvePoint& start) {
    const double climbed = lambda_ - start.state.Lambda();
    if (!(climbed > 0.0)) return false;
    CurvePoint found;
    SaveCurvePoint(found);
    const std::vector<double> nullVector = nullVector_;
    const double base = lambdaBase_;
    const double increment = lambdaIncrement_;
    const double beyond = lambda_ + kBeyondTheNose * climbed;

    // From the start along its tangent, the power flow's first guess.
    start.state.Restore(*network_, lambda_);
    std::vector<double>& t = curve_.tangent;
    if (PocTangent(t) == 0) {
        const double step = beyond - lambda_;
        for (int i = 1; i <= variableCount_; ++i) t[i] *= step;
        curve_.parameterStep = step;
        SaveStepBase();
        ApplyPredictor(StepAnswer::ClampedCount);
    }
    lambda_ = beyond;
    lambdaBase_ = beyond;
    lambdaIncrement_ = 0.0;
    SetPlainSystem();
    bool reached = false;
    {
        struct IterationLimit {
            int& limit;
            const int kept;
            ~IterationLimit() { limit = kept; }
        } shortRun{iterationLimit_, iterationLimit_};
        iterationLimit_ = std::min(iterationLimit_, kMostIterationsBeyond);
        reached = SolvePowerFlow(1, Reorder::No, Refresh::EveryIteration, Loads::Models) > 0;
    }

    RestoreCurvePoint(found);
    nullVector_ = nullVector;
    lambdaBase_ = base;
    lambdaIncrement_ = increment;
    return reached;
}

// The tangent, the predictor step along it (shortened while more
// quantities are clamped than the enforced limits allow) and its
// corrector. Answers the count the extended solve continues from, or the
// negative of the preliminary count when no tangent is found.
int Solver::PocPredictor(int count, bool reset) {
    const int n = variableCount_;
    std::vector<double>& t = curve_.tangent;
    if (PocTangent(t) < 0) return -count;
    double largest = 0.0;
    for (int i = 1; i <= n; ++i) largest = std::max(largest, std::fabs(t[i]));
    SetQuietRun(Quiet::Yes, LimitChecks::Due);
    if (largest == 0.0) return count;

    const Network& network = *network_;
    const int pvBuses = network.generatorBusCount;
    double sigma = pvBuses > 0 ? std::sqrt(static_cast<double>(pvBuses)) / largest : 1.0 / largest;
    const double allowance =
        0.1 * ((switches_.generatorReactiveLimits ? network.generatorBusCount : 0) +
               (switches_.zBusReactiveLimits ? network.zBusCount : 0) +
               (switches_.tapLimits ? network.voltageRegulatingCount : 0) +
               (switches_.flowBandTransformers ? network.regulatingCount : 0));
    auto scale = [&](double factor) {
        for (int i = 1; i <= n; ++i) t[i] *= factor;
        curve_.parameterStep = sigma;
    };
    scale(sigma);
    SaveStepBase();
    double clamped = ApplyPredictor(StepAnswer::ClampedCount);
    for (int shrink = 0; clamped - 1.0 > allowance && shrink < kMostPredictorShrinks; ++shrink) {
        sigma *= 0.8;
        scale(0.8);
        clamped = ApplyPredictor(StepAnswer::ClampedCount);
    }
    lambdaIncrement_ = lambda_ - lambdaBase_;

    const int corrected = SolvePowerFlow(1, ReorderIf(reset), Refresh::EveryIteration, Loads::Models);
    if (corrected < 0) return -corrected;
    lambdaBase_ = lambda_;
    lambdaIncrement_ = 0.0;
    return corrected;
}

// t = dx/dlambda at the present state: J t = -df/dlambda, where only the
// loads' directions depend on lambda. Negative when J is singular or a
// link has no value.
int Solver::PocTangent(std::vector<double>& t) {
    const int n = variableCount_;
    SetPlainSystem();
    int status = 0;
    if (FactorPlainJacobian(status) != 0) return -1;
    t.assign(static_cast<std::size_t>(n) + 2, 0.0);
    for (const auto& bus : network_->buses) {
        const double v = bus->voltage;
        const LoadModel& p = bus->loadModelP;
        const LoadModel& q = bus->loadModelQ;
        t[bus->firstVariable] = p.impedanceDirection * v * v + p.baseDirection * p.VoltagePower(v);
        t[bus->firstVariable + 1] = q.impedanceDirection * v * v + q.baseDirection * q.VoltagePower(v);
    }
    SparseSolve(t);
    return 0;
}

// After a failed extended solve: switch what has met a limit, seed w
// again and solve once more. Five retries in a row without a switch, a
// solve that has used up the iteration limit, or more retries than the
// iteration limit end the retries with a negative result; the limits then
// say whether controls were still switching.
int Solver::RetryExtendedSolve(int result) {
    int retries = 0;
    int attempts = 0;
    bool alternate = true;
    bool switched = false;
    limitsSwitching_ = false;
    while (result < 0) {
        const int count = -result;
        if (count > iterationLimit_ || ++attempts > iterationLimit_) {
            limitsSwitching_ = switched;
            return result;
        }
        switched = SwitchHvdcControl() != 0;
        switched = CheckSvcLimits() != 0 || switched;
        switched = CheckTcscLimits() != 0 || switched;
        switched = CheckStatcomLimits() != 0 || switched;
        if (!switched) {
            switched = CheckTapLimits() != 0;
            switched = CheckBusLimits() != 0 || switched;
            switched = CheckGeneratorLimits() != 0 || switched;
        }
        // Without a switch the seed alternates between four more passes
        // and a single one.
        int passes = 4;
        if (switched) {
            retries = 0;
            alternate = true;
        } else if (retries > 0 && alternate) {
            alternate = false;
            passes = 0;
        } else {
            alternate = true;
        }
        double eigenvalue = 0.0;
        if (InversePowerIteration(passes, count, 0.001, 0, &eigenvalue) < 0) return -count;
        if (!switched) ++retries;
        SetExtendedSystem();
        result = SolvePowerFlow(count, Reorder::Yes, Refresh::EveryIteration, Loads::Models);
        if (result < 0 && retries >= kRetriesWithoutSwitch) return result;
    }
    return result;
}

void Solver::StepState(double step) {
    const int n = variableCount_;
    for (int i = 1; i <= n; ++i) nullVector_[i] += step * correction_[n + i];
    lambdaIncrement_ += step * correction_[2 * n + 1];
    lambda_ = lambdaBase_ + lambdaIncrement_;
}

// Inverse iteration on the plain Jacobian (its transpose for the left
// vector), factorised once. Each pass solves, sets to 0 the entries that
// came back unchanged (unknowns held by identity rows), and scales the
// largest entry to +-1. An all-zero vector is seeded again with ones, once.
int Solver::InversePowerIteration(int maxIterations, int passThrough, double tolerance, int rightVector,
                                  double* eigenvalue) {
    const int n = variableCount_;
    SetPlainSystem();
    int status = 0;
    const int factored = FactorPlainJacobian(status);
    if (status < 0) {
        std::fprintf(diagnostics_, "No generation takes up the slack power\n");
        Abort(1);
    }
    // A link without a value leaves w as it was.
    if (factored < 0) return -passThrough;
    if (factored > 0) {
        std::fprintf(diagnostics_, "The Jacobian is singular\n");
        Abort(1);
    }

    std::vector<double>& w = nullVector_;
    w.assign(static_cast<std::size_t>(n) + 1, 1.0);
    std::vector<double> previous(static_cast<std::size_t>(n) + 1, 1.0);
    double d = 1.0;
    bool reseeded = false;
    for (int pass = 1; tolerance < 1.0; ++pass) {
        const double before = d;
        if (rightVector)
            Matrix().Solve(w);
        else
            Matrix().SolveTransposed(w);
        d = 0.0;
        for (int j = 1; j <= n; ++j) {
            if (w[j] == previous[j]) w[j] = 0.0;
            previous[j] = w[j];
            d = std::max(d, std::fabs(w[j]));
        }
        if (!(d > 0.0)) {
            if (reseeded) {
                std::fprintf(diagnostics_, "The inverse iteration finds no null vector of the Jacobian\n");
                return -passThrough;
            }
            reseeded = true;
            std::fill(w.begin() + 1, w.end(), 1.0);
            std::fill(previous.begin() + 1, previous.end(), 0.0);
            d = 1.0;
            continue;
        }
        for (int j = 1; j <= n; ++j) w[j] /= d;
        if (pass > maxIterations || std::fabs((d - before) / d) <= tolerance) break;
    }
    *eigenvalue = 1.0 / d;
    return passThrough;
}

void Solver::DumpNullVector() {
    const char* name = OptionValue('C');
    if (IsEmptyValue(name)) return;
    WriteUnknownVector(variableCount_, OpenOutput(name));
}
