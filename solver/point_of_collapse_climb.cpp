#include <algorithm>
#include <cmath>
#include <cstdio>

#include "number_text.h"
#include "solver.h"

// The point of collapse started far below its nose may settle on a
// singular point that is no nose (at a load parameter below its start, at
// a negative total load, or the fold of another branch of solutions), or
// find none. It then climbs the PV curve a few points at a time with the
// continuation's predictor (along the tangent, the largest change of an
// unknown |k|) and corrector (Newton's method with the arc-length row),
// and starts the direct method again from each point reached, until it
// converges to the nose or the curve turns there.

namespace {

// Continuation points between two starts of the direct method.
constexpr int kPointsPerClimb = 3;
// Starts of the direct method before the climb gives up: a direction along
// which the load never meets a nose would be climbed for ever.
constexpr int kMostClimbs = 200;
// Points in a row at which lambda stays within the step tolerance before
// the climb counts as stalled (a point at a limit stays put once).
constexpr int kMostStationaryPoints = 4;

}  // namespace

void Solver::SaveCurvePoint(CurvePoint& point) {
    DeviceValues(deviceValues_);
    point.state.Save(*network_, lambda_, deviceValues_);
    point.modes.Save(*network_);
}

void Solver::RestoreCurvePoint(const CurvePoint& point) {
    point.modes.Restore(*network_);
    ClassifyBuses();
    point.state.Restore(*network_, lambda_);
}

// From the solved point `start` up the curve. Answers the extended solve's
// iteration at the nose. A climb that finds none ends the run, naming the
// highest load reached: where the curve turns or stalls at a switching
// limit, or where the retries end with controls still switching, the
// maximum loading is limit-induced, not a singular point.
int Solver::ClimbToTheNose(const CurvePoint& start, int count) {
    // The links start from their scheduled controls again, whatever the
    // retries switched.
    RestoreCurvePoint(start);
    ResetHvdcControl();
    CurvePoint point = start;
    ClimbState climb{count};
    double highestLambda = lambda_;
    SumTableTotals();
    double highestLoad = tableTotals_.loadP;
    curve_.referenceSign = 0;
    for (int round = 0; round < kMostClimbs; ++round) {
        const Climb climbed = ClimbCurve(kPointsPerClimb, climb);
        if (lambda_ > highestLambda) {
            highestLambda = lambda_;
            SumTableTotals();
            highestLoad = tableTotals_.loadP;
        }
        if (climbed == Climb::Stuck || climbed == Climb::Stalled) break;
        SaveCurvePoint(point);
        const int result = SolveFromCurvePoint(climb.count, false);
        if (result >= 0 && IsNose(point.state.Lambda()) && !CurveReachesBeyond(start)) {
            DumpNullVector();
            return result;
        }
        RestoreCurvePoint(point);
        if (climbed == Climb::Turned) break;
    }
    DumpNullVector();
    const std::string reached = FormatInCLocale("%.2f MW (load parameter %g)", highestLoad * mvaBase_, highestLambda);
    if (limitsSwitching_ || climb.limitSwitched)
        std::fprintf(diagnostics_,
                     "The maximum loading is limit-induced, not a singular point: controls switch at their limits "
                     "where the curve turns, at a total load of %s\n",
                     reached.c_str());
    else
        std::fprintf(diagnostics_,
                     "The point of collapse was not found; the curve was followed up to a total load of %s\n",
                     reached.c_str());
    Abort(1);
}

// Up to `points` points of the curve along lambda from the present solved
// point, the generation sharing the slack's power as in the extended
// equations; a step that meets a limit ends there, where the limit
// switches. Climbed: the points
// were found. Turned: lambda fell, or the factor sign changed, so the nose
// lies behind the present point. Stalled: lambda stays put point after
// point. Stuck: no tangent or no next point (the state is back at the
// last point found).
Solver::Climb Solver::ClimbCurve(int points, ClimbState& climb) {
    const int n = variableCount_;
    struct ClimbMode {
        Solver& solver;
        bool generationIncrease;
        ~ClimbMode() {
            solver.switches_.generationIncrease = generationIncrease;
            solver.SetContinuation(Continuation::Off);
            solver.SetQuietRun(Quiet::Yes, LimitChecks::Due);
        }
    } mode{*this, switches_.generationIncrease};
    switches_.generationIncrease = false;
    SetContinuation(Continuation::On);
    SetSystemOrder(n + 1, false);
    SetQuietRun(Quiet::Yes, LimitChecks::Done);
    StartSteps();

    for (int point = 0; point < points; ++point) {
        curve_.parameterStep = 0.0;
        if (TangentVector(curve_.tangent, Reorder::No) < 0) return Climb::Stuck;
        if (curve_.referenceSign == 0) curve_.referenceSign = FactorSign();
        if (FactorSign() * curve_.referenceSign < 0) return Climb::Turned;
        double largest = 0.0;
        for (int i = 1; i <= n; ++i) largest = std::max(largest, std::fabs(curve_.tangent[i]));
        if (largest == 0.0) return Climb::Stuck;
        curve_.parameterStep = 1.0;
        ScaleStep(std::fabs(curve_.stepLength) / largest);
        const double before = lambda_;
        const double overshoot = TakePredictorStep();
        Reorder reorder = Reorder::No;
        // A step that overshot a limit ends at it; where the step has
        // shrunk to nothing the controls switch there.
        climb.limitSwitched = false;
        if (overshoot > 0.0) {
            ScaleStep(std::fabs(0.1 * curve_.stepTolerance + (1.0 - overshoot)));
            ApplyPredictor(StepAnswer::Overshoot);
            if (std::fabs(curve_.parameterStep) <= curve_.stepTolerance) {
                const Switched switched = CheckLimitsOnTheCurve();
                climb.limitSwitched = switched != Switched::Nothing;
                if (climb.limitSwitched) curve_.referenceSign = 0;
                reorder = ReorderIf(switched == Switched::Device);
            }
        }
        if (!Correct(reorder, climb.count)) {
            RestoreBasePoint();
            return Climb::Stuck;
        }
        if (lambda_ < before) return Climb::Turned;
        climb.stationaryPoints = std::fabs(lambda_ - before) > curve_.stepTolerance ? 0 : climb.stationaryPoints + 1;
        if (climb.stationaryPoints > kMostStationaryPoints) return Climb::Stalled;
    }
    return Climb::Climbed;
}

// Every limit check, in the continuation's order. A device that switched
// changes its equations, and the matrix needs a new order.
Solver::Switched Solver::CheckLimitsOnTheCurve() {
    bool switched = CheckTapLimits() != 0;
    switched = CheckBusLimits() != 0 || switched;
    switched = CheckGeneratorLimits() != 0 || switched;
    bool devices = SwitchHvdcControl() != 0;
    devices = CheckSvcLimits() != 0 || devices;
    devices = CheckTcscLimits() != 0 || devices;
    devices = CheckStatcomLimits() != 0 || devices;
    return devices ? Switched::Device : switched ? Switched::Control : Switched::Nothing;
}
