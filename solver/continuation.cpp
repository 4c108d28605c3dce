#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <utility>

#include "solution_values.h"
#include "number_text.h"
#include "solver.h"

// The continuation method. From the solved base case each point steps
// along the tangent of the solution curve (the predictor, scaled so that
// the largest change of an unknown is |k|) and Newton's method brings it
// back onto the curve on the hyperplane through the predicted point normal
// to the tangent (the corrector, with the arc-length equation as row
// n + 1). The sign of the factorised tangent system changes at the nose,
// where k turns negative and lambda starts to fall. Every accepted point is
// a row of the continuation table.

// The most points one tracing writes: a direction along which the network
// never reaches a nose (loads that shrink as lambda grows) would otherwise
// be traced for ever.
constexpr int kMaxPoints = 10000;

// The most turns at limits in a row without lambda moving, beyond which
// the controls switch back and forth as they meet their limits.
constexpr int kMaxTurnsAtLimits = 2;

// One tracing's options and counters.
struct Solver::ContinuationTrace {
    FILE* file = nullptr;
    bool rowOpen = false;           // the latest row waits for its line end
    bool reorder = false;           // the next tangent orders the matrix anew
    bool solvedJacobian = false;    // the matrix holds the Jacobian of the point just found
    int lastResult = 0;             // iterations of the latest solve
    int lastAccepted = 0;           // iterations of the solve of the latest point found

    int maxPasses = -1;             // option z; -1 no limit
    int reversalCount = 5;          // option 2
    int fixingPeriod = 50;          // option U
    StopChecks stops;               // options 7 and 8
    bool switching = false;         // option H: lambda may hand over to a voltage
    bool reversals = false;         // option G

    int passCount = 1;              // tangents computed, plus 1
    bool firstPoint = true;
    bool stopRequested = false;
    bool noseSeen = false;
    double stopLevel = 0.0;         // lambda at which the lower branch ends
    int limitCount = 1;
    bool limitInduced = false;      // option G: the point came from a limit switch
    bool marking = true;            // option G: points may still be marked so
    int stagnationCount = 1;
    bool stagnationReversed = false;
    bool fixingAllowed = false;     // option u
    int pointsSinceFixing = 0;
    int descendingPoints = 0;
    int recordedFree = 0;
    bool switchedHere = false;      // the latest point switched controls at a limit
    bool turnAtLimit = false;       // the switched controls cannot go on this way
    int turnsAtLimits = 0;          // turns since lambda last moved
};

// Traces the curve from the base case into the table of option H (else c).
// Answers the iterations of the last solve, or the failed result (<= 0) of
// the base case or the start at option L.
int Solver::RunContinuation() {
    ContinuationTrace trace;
    // However the tracing ends, the table's last row has its line end and
    // later solves are neither quiet nor held on fixed unknowns, and read
    // the load models from the buses again.
    struct RunStateGuard {
        Solver& solver;
        ContinuationTrace& trace;
        ~RunStateGuard() {
            if (trace.rowOpen && trace.file) std::fputs("\n", trace.file);
            solver.SetQuietRun(Quiet::No, LimitChecks::Due);
            solver.SetFixedVariableMode(false);
            solver.equationArrays_.Release();
        }
    } guard{*this, trace};
    StartContinuation(trace);
    trace.file = OpenOutput(HasOption('H') ? OptionValue('H') : OptionValue('c'));

    // The base case; the load models are then rescaled to its voltages.
    trace.lastResult = SolvePowerFlow(1, Reorder::No, Refresh::EveryIteration, Loads::Polynomial);
    if (trace.lastResult <= 0) return EndContinuation(trace, trace.lastResult);
    trace.lastAccepted = trace.lastResult;
    WriteTableHeader(trace.file);
    CheckStopConditions(StopChecks{});
    WriteTableRow(trace.file);
    trace.rowOpen = true;

    // A start further up the curve (option L) becomes the base load. A
    // start that has no solution (beyond the nose) leaves the curve to be
    // traced from the base case.
    double start = 0.0;
    DoubleOption('L', start, -1e6, 1e6);
    if (start != 0.0) {
        CurvePoint base;
        SaveCurvePoint(base);
        lambda_ = start;
        if (switches_.generationIncrease) GenerationFollowsLambda();
        int result = 0;
        try {
            result = SolvePowerFlow(1, Reorder::No, Refresh::EveryIteration, Loads::Models);
        } catch (const SolverAbort&) {
            // Newton's method has said why; the tracing goes on without it.
        }
        if (result > 0) {
            trace.lastResult = trace.lastAccepted = result;
            AdvanceLoadBase();
        } else {
            RestoreCurvePoint(base);
            Warn(FormatInCLocale("The power flow has no solution at the start load parameter %g: the curve is traced "
                                 "from the base case",
                                 start));
        }
        lambda_ = 0.0;
    }

    // The tracing switches controls at limits itself: Newton's method
    // answers a failure instead of switching or ending the run. The links
    // start from their scheduled control, held at the present values.
    SetQuietRun(Quiet::Yes, LimitChecks::Done);
    trace.reorder = ResetHvdcControl() != 0;
    // From here to the end of the tracing nothing changes the load models
    // (the base case has rescaled them, option L has moved the base load):
    // every pass reads them from one array. Nor does it change a branch
    // other than a regulating transformer.
    equationArrays_.HoldLoads(*network_);
    equationArrays_.HoldBranches(*network_);
    while (TraceNextPoint(trace)) {
    }
    return EndContinuation(trace, trace.lastResult);
}

// One point of the curve: predictor, corrector, row. False when the
// tracing ends.
bool Solver::TraceNextPoint(ContinuationTrace& trace) {
    const double lambdaBefore = lambda_;
    double overshoot = 0.0;
    if (!Predict(trace, overshoot)) return false;
    const bool reorder = LimitOnTheWay(trace, overshoot);
    if (trace.turnAtLimit) {
        // The curve turns at the point where the controls switched: no
        // point here, the tracing goes on from it the other way.
        trace.turnAtLimit = false;
        ++trace.turnsAtLimits;
        RestoreBasePoint();
        curve_.stepLength = -curve_.stepLength;
        return true;
    }
    const bool corrected = Correct(ReorderIf(reorder), trace.lastResult);
    const bool goOn = ReverseAtLimit(trace, corrected);
    if (!corrected) {
        // No point here: the state goes back to the last one found, from
        // which option G may have turned the direction.
        RestoreBasePoint();
        trace.lastResult = trace.lastAccepted;
        if (goOn) return true;
        return EndAtFailure(trace, FormatInCLocale("The continuation cannot find the next point beyond load "
                                                   "parameter %g",
                                                   lambda_));
    }
    trace.lastAccepted = trace.lastResult;
    trace.solvedJacobian = std::exchange(solvedJacobian_.held, false);
    if (std::fabs(lambda_ - lambdaBefore) > curve_.stepTolerance) trace.turnsAtLimits = 0;
    WatchForNose(trace, lambdaBefore);
    const bool stop = CheckStopConditions(trace.stops);
    WriteTableRow(trace.file);
    trace.rowOpen = true;
    if (stop) return false;
    if (pointCount_ >= kMaxPoints)
        return EndAtFailure(trace, FormatInCLocale("The continuation stops after %d points", kMaxPoints));
    return WatchForStagnation(trace, lambdaBefore);
}

// A tracing that cannot go on has still traced the curve when it passed
// the nose: it ends there with a warning and the points found. Before the
// nose the study has no answer and the run fails.
bool Solver::EndAtFailure(ContinuationTrace& trace, const std::string& reason) {
    if (!trace.noseSeen) {
        std::fprintf(diagnostics_, "%s\n", reason.c_str());
        Abort(1);
    }
    Warn(reason + "; the curve ends there, past its nose");
    trace.lastResult = trace.lastAccepted;
    return false;
}

// The step along the tangent from the present point, applied, with dp
// and t scaled so that the largest change of an unknown is |k|. A handover
// of the parameter (option H) takes the tangent again. False when the
// tracing ends: a zero tangent, or a stop asked for at the last point.
bool Solver::Predict(ContinuationTrace& trace, double& overshoot) {
    const int n = variableCount_;
    for (bool switched = false;;) {
        curve_.parameterStep = 0.0;
        if (TangentVector(curve_.tangent, ReorderIf(trace.reorder), std::exchange(trace.solvedJacobian, false)) < 0) {
            trace.lastResult = -1;
            return false;
        }
        trace.reorder = false;
        ++trace.passCount;
        if (curve_.referenceSign == 0) curve_.referenceSign = FactorSign();
        double largest = 0.0;
        for (int i = 1; i <= n; ++i) largest = std::max(largest, std::fabs(curve_.tangent[i]));
        if (trace.firstPoint && curve_.fixingThreshold > 0.0) SetFixedVariableMode(true);
        if (HasOption('f')) RankByTangent(curve_.tangent, trace.firstPoint);
        trace.firstPoint = false;
        EndOpenRow(trace);
        if (largest == 0.0) return false;

        curve_.parameterStep = 1.0;
        ScaleStep(StepDirection() / largest);
        if (trace.stopRequested) return false;
        CountFixingPoint(trace);
        overshoot = TakePredictorStep();
        if (curve_.fixingDue) {
            curve_.fixingDue = false;
            trace.pointsSinceFixing = 0;
            // Fewer free unknowns change the factor sign as the nose would.
            if (curve_.freeVariables < trace.recordedFree) {
                trace.recordedFree = curve_.freeVariables;
                curve_.referenceSign = 0;
            }
        }
        if (!trace.switching || switched || !SwitchParameter()) return true;
        switched = true;
        trace.reorder = true;
    }
}

// The tangent's values at the open row's point, then its line end.
void Solver::EndOpenRow(ContinuationTrace& trace) {
    if (!trace.rowOpen) return;
    EndTableRow(trace.file, curve_.stepLength < 0.0);
    trace.rowOpen = false;
}

// The signed size of the step. A voltage parameter always falls. Lambda
// turns back where the factor sign has changed against the reference one,
// which it does at the nose.
double Solver::StepDirection() {
    if (parameterBus_) {
        curve_.referenceSign = 0;
        curve_.stepLength = -std::fabs(curve_.stepLength);
        return -1.0;
    }
    if (FactorSign() * curve_.referenceSign < 0) {
        curve_.referenceSign = FactorSign();
        curve_.stepLength = -curve_.stepLength;
    }
    return curve_.stepLength;
}

void Solver::ScaleStep(double factor) {
    curve_.parameterStep *= factor;
    for (int i = 1; i <= variableCount_; ++i) curve_.tangent[i] *= factor;
}

// Option u, before the step: fixing waits for the lower branch, stops while
// the voltages rise there, and is due every U points.
void Solver::CountFixingPoint(ContinuationTrace& trace) {
    if (fixedVariables_.count == 0) return;
    ++trace.pointsSinceFixing;
    if (curve_.stepLength < 0.0) {
        if (curve_.monitoredAfter > curve_.monitoredBase)
            trace.fixingAllowed = false;
        else if (++trace.descendingPoints > 4)
            trace.fixingAllowed = true;
    }
    curve_.fixingDue = trace.fixingAllowed && trace.pointsSinceFixing >= trace.fixingPeriod;
}

// A step that overshot a limit is shortened to end at it. Once the step
// has shrunk to nothing the point is at the limit, and every control check
// runs there. True when the corrector must order the matrix anew (a device
// changed its equations).
bool Solver::LimitOnTheWay(ContinuationTrace& trace, double overshoot) {
    const bool switchedHere = std::exchange(trace.switchedHere, false);
    if (overshoot <= 0.0) return false;
    ScaleStep(std::fabs(0.1 * curve_.stepTolerance + (1.0 - overshoot)));
    ApplyPredictor(StepAnswer::Overshoot);
    if (std::fabs(curve_.parameterStep) > curve_.stepTolerance) return false;
    if (trace.reversals && trace.limitInduced && trace.limitCount != 0) return false;
    // Controls just switched here that meet a limit again before the step
    // has gone anywhere: with them the curve only goes on the other way
    // (a nose that the limit makes, or the curve folding back where a
    // control recovers). Switching them back would only bring the tracing
    // here again.
    if (switchedHere && trace.turnsAtLimits < kMaxTurnsAtLimits) {
        trace.turnAtLimit = true;
        return false;
    }

    bool switched = CheckTapLimits();
    switched = CheckBusLimits() || switched;
    switched = CheckGeneratorLimits() || switched;
    bool devices = SwitchHvdcControl();
    devices = CheckSvcLimits() || devices;
    devices = CheckTcscLimits() || devices;
    devices = CheckStatcomLimits() || devices;
    if (!switched && !devices) return false;
    trace.switchedHere = true;
    curve_.referenceSign = 0;
    if (trace.reversals && trace.marking) trace.limitInduced = true;
    return devices;
}

// Newton's method on the network and the arc-length equation from the
// predicted point. After a failed try the step is halved and the state set
// again from the base point: ten tries, the last one with Newton's own
// limit switching. Success also needs lambda not below the base load.
bool Solver::Correct(Reorder reorder, int& result) {
    for (int attempt = 1;; ++attempt) {
        const bool last = attempt == 10;
        if (last) SetQuietRun(Quiet::Yes, LimitChecks::Due);
        result = SolvePowerFlow(1, reorder, Refresh::EveryIteration, Loads::Models);
        SetQuietRun(Quiet::Yes, LimitChecks::Done);
        if (result > 0 && lambda_ > -1e-4) return true;
        if (last) return false;
        reorder = Reorder::No;
        ScaleStep(0.5);
        ApplyPredictor(StepAnswer::Overshoot);
    }
}

// Option G: a limit switch that sends the lower branch's voltages up again
// for option 2 points, or after which the corrector fails, turns the
// direction once, and that point counts as found.
bool Solver::ReverseAtLimit(ContinuationTrace& trace, bool converged) {
    if (trace.limitInduced && curve_.stepLength < 0.0 && curve_.monitoredAfter > curve_.monitoredBase)
        ++trace.limitCount;
    else
        trace.limitCount = 0;
    if (!trace.reversals || !trace.limitInduced) return converged;
    if (trace.limitCount < trace.reversalCount && (converged || trace.stagnationCount == 0)) return converged;
    curve_.stepLength = -curve_.stepLength;
    trace.limitInduced = false;
    trace.marking = false;
    return true;
}

// Past the nose the lower branch is traced down to option S times the
// largest lambda (0.8 in a host run; the base load without option S).
// A stop is asked for at that level or after option z points.
void Solver::WatchForNose(ContinuationTrace& trace, double lambdaBefore) {
    if (!trace.noseSeen && lambda_ < lambdaBefore) {
        trace.noseSeen = true;
        double share = -1.0;
        DoubleOption('S', share, 0.0, 1.0);
        if (share >= 0.0) trace.stopLevel = share * lambdaBefore;
    }
    if ((trace.maxPasses > 0 && trace.passCount >= trace.maxPasses) || lambda_ - trace.stopLevel <= 1e-10)
        trace.stopRequested = true;
}

// Lambda that stays put for more than four points turns the direction
// once; the second time the tracing has nowhere to go. False when it ends.
bool Solver::WatchForStagnation(ContinuationTrace& trace, double lambdaBefore) {
    if (std::fabs(lambda_ - lambdaBefore) > curve_.stepTolerance) {
        trace.stagnationCount = 0;
        return true;
    }
    if (++trace.stagnationCount <= 4 || trace.limitCount != 0) return true;
    if (trace.stagnationReversed)
        return EndAtFailure(trace, FormatInCLocale("The continuation stalls at load parameter %g", lambda_));
    trace.stagnationReversed = true;
    trace.stagnationCount = 0;
    curve_.stepLength = -curve_.stepLength;
    return true;
}

// The tangent and the base point sized for the unknowns, the step length
// (option k; its sign is the direction of travel) and the step tolerance
// (option o).
void Solver::StartSteps() {
    const int n = variableCount_;
    curve_.tangent.assign(static_cast<std::size_t>(n) + 2, 0.0);
    curve_.basePoint.assign(static_cast<std::size_t>(n) + 1, 0.0);
    curve_.stepLength = 1.0;
    DoubleOption('k', curve_.stepLength, 1e-4, 1e4);
    curve_.stepTolerance = 1e-6;
    DoubleOption('o', curve_.stepTolerance, 1e-10, 0.1);
}

void Solver::StartContinuation(ContinuationTrace& trace) {
    const int n = variableCount_;
    pointCount_ = 0;
    curve_.parameterStep = 0.0;
    curve_.parameterBase = 0.0;
    curve_.switchCandidate = nullptr;
    curve_.elasticity = 0.0;
    curve_.referenceSign = 0;
    curve_.busOfInterest = nullptr;
    StartSteps();

    trace.reversalCount = IntOption('2', 5, 2, 100);
    trace.maxPasses = IntOption('z', -1, 1, 9999);
    trace.stops.voltageLimits = HasOption('7');
    trace.stops.flowLimits = HasOption('8');
    trace.fixingPeriod = IntOption('U', 50, 2, 100);
    trace.switching = HasOption('H');
    trace.reversals = HasOption('G');

    // The system slack takes all of its power from the first iteration of
    // the base case when the generators follow lambda.
    if (switches_.generationIncrease)
        if (NetBus* slack = SystemSlack()) slack->shareInUse = 1.0;

    curve_.fixingThreshold = 0.0;
    curve_.fixingDue = false;
    fixedVariables_ = IndexVector();
    if (HasOption('u')) {
        curve_.fixingThreshold = 0.001;
        DoubleOption('u', curve_.fixingThreshold, 0.0, 0.2);
        if (curve_.stepLength < 1.0) curve_.fixingThreshold *= curve_.stepLength;
        fixedVariables_ = NewIndexVector(n + 1);
    }
    curve_.freeVariables = trace.recordedFree = n;
}

// Closes the table (the last row takes its line end) and leaves an
// ordinary network at the last point's load: no parameter row, no fixed
// unknowns, the parameter bus a load bus again. A table that could not be
// written fails the run, as a listing does.
int Solver::EndContinuation(ContinuationTrace& trace, int result) {
    if (trace.rowOpen) std::fputs("\n", trace.file);
    trace.rowOpen = false;
    const bool written = CloseFile(trace.file);
    const int error = errno;
    trace.file = nullptr;
    SetQuietRun(Quiet::No, LimitChecks::Due);
    SetFixedVariableMode(false);
    if (NetBus* bus = parameterBus_) {
        bus->code = CodeHas(bus->code, "A") ? "BA" : "B";
        bus->voltageFree = true;
        ClassifyBuses();
    }
    SetContinuation(Continuation::Off);
    // Later solves share the slack power by the direction again.
    if (switches_.generationIncrease)
        for (const auto& bus : network_->buses) bus->shareInUse = bus->generationDirection;
    if (!written) FailOutput("Cannot write the continuation table", HasOption('H') ? OptionValue('H') : OptionValue('c'), error);
    return result;
}

// Solves for t = dx/dp at the present state with the parameter row
// [0 ... 0 1]: the right-hand side is minus the parameter's column. The
// kept pivot order serves while it factorises.
int Solver::TangentVector(std::vector<double>& t, Reorder reorder, bool atSolvedJacobian) {
    bool factored = false;
    if (reorder == Reorder::No && Matrix().Ordered()) {
        if (atSolvedJacobian) {
            // The network's rows are those of the solution just found:
            // only the parameter row is entered again.
            Matrix().RewindAssembly(solvedJacobian_.parameterRowStep);
            EnterTangentRow(t, solvedJacobian_.status, solvedJacobian_.area);
        } else {
            Matrix().ZeroValues();
            if (!AssembleTangentSystem(t)) return -1;
        }
        factored = Factor() == 0;
    }
    if (!factored) {
        ClearMatrix();
        if (!AssembleTangentSystem(t)) return -1;
        SortLists();
        if (OrderAndFactor() != 0) {
            std::fprintf(diagnostics_, "The Jacobian of the continuation is singular\n");
            Abort(1);
        }
        SortLists();
    }
    SparseSolve(t);
    return 0;
}

// False, with the fault said, when a link cannot be evaluated at the
// present state.
bool Solver::AssembleTangentSystem(std::vector<double>& t) {
    int status = 0;
    const NetArea* area = AcEquations(status, Evaluate::Jacobian, Loads::Models);
    if (!DeviceEquations(Evaluate::Jacobian)) {
        std::fprintf(diagnostics_, "%s\n", hvdcFault_.c_str());
        return false;
    }
    EnterTangentRow(t, status, area);
    return true;
}

// The parameter row of the tangent system after the network's rows, and
// the right-hand side from the parameter's column. `status` and `area`:
// what the network's pass said of the slack power.
void Solver::EnterTangentRow(std::vector<double>& t, int status, const NetArea* area) {
    const int n = variableCount_;
    t.assign(static_cast<std::size_t>(n) + 2, 0.0);
    if (ParameterEquation(Evaluate::Jacobian, area, t) < 0 && status < 0) {
        std::fprintf(diagnostics_, "No generation takes up the slack power of the continuation\n");
        Abort(1);
    }
    // The parameter's column holds few entries: it is read along its list.
    Matrix().VisitColumn(n + 1, [&](const MatrixEntry& entry) {
        if (entry.row <= n) t[entry.row] = -entry.value;
    });
}

// Row n + 1: sum of t(i) (x(i) - x0(i) - t(i)) + dp (p - p0 - dp) = 0, the
// hyperplane through the predicted point normal to the step. A fixed
// unknown's own equation is satisfied by definition.
int Solver::ParameterEquation(Evaluate evaluate, const NetArea* area, std::span<const double> t) {
    const int n = variableCount_;
    const int row = n + 1;
    if (WantsMismatch(evaluate)) {
        ReadState(state_);
        double sum = 0.0;
        for (int i = 1; i <= n; ++i) sum += t[i] * (state_[i] - curve_.basePoint[i] - t[i]);
        const double parameter = parameterBus_ ? parameterBus_->voltage : lambda_;
        sum += curve_.parameterStep * (parameter - curve_.parameterBase - curve_.parameterStep);
        mismatch_[row] = sum;
        if (fixedVariableMode_)
            for (int i = 1; i <= n && i <= fixedVariables_.count; ++i)
                if (fixedVariables_[i]) mismatch_[i] = 0.0;
    }
    if (WantsJacobian(evaluate)) {
        for (int i = 1; i <= n; ++i) AddElement(row, i, t[i]);
        AddElement(row, row, curve_.parameterStep != 0.0 ? curve_.parameterStep : 1.0);
    }
    // Without a share of the slack power, the slack's (or the area's)
    // column holds only its tangent entry here.
    auto tiny = [&](int variable) { return std::fabs(t[variable]) < 1e-6; };
    if (!area) {
        for (const NetBus* slack : network_->slackBuses)
            if (CodeHas(slack->code, "S") && tiny(slack->firstVariable)) return -1;
    } else if (switches_.areaControl) {
        for (const NetBus* bus : area->buses)
            if (CodeHas(bus->code, "A") && tiny(bus->firstVariable + 2)) return -1;
    }
    return 0;
}

// Hands the parameter over when the candidate's voltage moves faster than
// lambda, relatively: lambda takes the bus's voltage column and the bus's
// voltage becomes the parameter ("BL"); the same bus hands it back. The
// state goes back to the base point.
int Solver::SwitchParameter() {
    if (!(curve_.elasticity > 1.0) || !curve_.switchCandidate) return 0;
    std::fill(curve_.tangent.begin(), curve_.tangent.end(), 0.0);
    RestoreBasePoint();
    NetBus& bus = *curve_.switchCandidate;
    const bool areaBus = CodeHas(bus.code, "A");
    if (&bus == parameterBus_) {
        bus.code = areaBus ? "BA" : "B";
        bus.voltageFree = true;
        SetContinuation(Continuation::On, nullptr);
    } else {
        bus.code = areaBus ? "BLA" : "BL";
        bus.voltageFree = false;
        SetContinuation(Continuation::On, &bus);
    }
    ClassifyBuses();
    return 1;
}

// Option f: the voltage entries of the tangent (dV/dlambda) of the buses
// whose voltage is an unknown: the largest, its bus and their sum; the sum
// of all entries; and the entry of the bus of interest (option f's bus,
// else the bus of the largest entry) with its rank, largest first, a later
// bus in the list ranking first on a tie.
void Solver::RankByTangent(std::span<const double> t, bool first) {
    StateFields();
    auto entry = [&](const NetBus& bus) {
        const int column = bus.firstVariable + 1;
        return stateFields_[column].value == &bus.voltage ? std::fabs(t[column]) : 0.0;
    };
    TangentStatistics& s = tangentStatistics_;
    s = TangentStatistics{};
    NetBus* largest = nullptr;
    for (const auto& bus : network_->buses) {
        const double d = entry(*bus);
        s.sum += d;
        if (d > s.largest) {
            s.largest = d;
            largest = bus.get();
        }
    }
    if (largest) s.largestBus = ListedNumber(*largest);
    for (int i = 1; i <= variableCount_; ++i) s.factor += std::fabs(t[i]);

    // A tangent without voltage entries (at a base case without reactive
    // load) leaves the choice to the next one.
    if (first || !curve_.busOfInterest) {
        NetBus* named = FindBus(IntOption('f', 0, 1, 9999));
        curve_.busOfInterest = named && (entry(*named) != 0.0 || !largest) ? named : largest;
    }
    if (!curve_.busOfInterest) return;
    s.busOfInterestEntry = entry(*curve_.busOfInterest);
    if (s.busOfInterestEntry == 0.0) return;
    int rank = 1;
    bool after = false;
    for (const auto& bus : network_->buses) {
        if (bus.get() == curve_.busOfInterest) {
            after = true;
            continue;
        }
        const double d = entry(*bus);
        if (d > s.busOfInterestEntry || (after && d == s.busOfInterestEntry)) ++rank;
    }
    s.busOfInterestRank = rank;
}

// The totals of the table at the present point, and whether the tracing
// stops here: a monitored voltage at its limit (option 7; the limits a K
// file gives), a rated branch at its rating (option 8), or the total load
// at the host's maximum. What stopped it is no longer monitored.
bool Solver::CheckStopConditions(StopChecks checks) {
    SumTableTotals();
    bool stop = false;
    if (checks.voltageLimits) {
        for (const auto& bus : network_->buses) {
            if (!(bus->displayMaxVoltage > bus->displayMinVoltage)) continue;
            if (bus->voltage > bus->displayMinVoltage && bus->voltage < bus->displayMaxVoltage) continue;
            bus->displayMaxVoltage = bus->displayMinVoltage = 0.0;
            stop = true;
        }
    }
    if (checks.flowLimits) {
        for (const auto& branch : network_->branches) {
            if (branch->rating <= 0.0) continue;
            // The current (p.u.) at either end.
            const EndFlows flows = BranchFlows(*branch);
            const double from = std::hypot(flows.fromP, flows.fromQ) / branch->from->voltage;
            const double to = std::hypot(flows.toP, flows.toQ) / branch->to->voltage;
            if (from < branch->rating && to < branch->rating) continue;
            branch->rating = 0.0;
            stop = true;
        }
    }
    // The host gives its maximum in MW.
    if (maxLoad_ > 0.0 && tableTotals_.loadP * mvaBase_ >= maxLoad_) stop = true;
    return stop;
}

// The generation that follows lambda takes its share of a new lambda
// before Newton's method measures the first mismatch there, as a predictor
// step gives it: else the first correction meets the added load with the
// slack alone, the generators' share comes on top of it once the step is
// applied, and the mismatch does not fall. A step of nothing applies the
// share by the rule of every step, limits included.
void Solver::GenerationFollowsLambda() {
    std::fill(correction_.begin(), correction_.end(), 0.0);
    UpdateBuses(1.0, Trial::First, Clamping::On, StepRecoveryHold());
}

// The load reached so far becomes the base load, and lambda counts from it;
// so does the generation that follows lambda.
void Solver::AdvanceLoadBase() {
    const NetBus* systemSlack = SystemSlack();
    for (const auto& bus : network_->buses) {
        if (switches_.generationIncrease && bus.get() != systemSlack)
            bus->scheduledP += lambda_ * bus->generationDirection;
        for (LoadModel* model : {&bus->loadModelP, &bus->loadModelQ}) {
            model->base += lambda_ * model->baseDirection;
            model->impedance += lambda_ * model->impedanceDirection;
        }
    }
}
