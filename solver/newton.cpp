#include <algorithm>
#include <cmath>
#include <utility>

#include "number_text.h"
#include "solver.h"

// Newton's method in polar form over the sparse Jacobian: evaluate, factor,
// solve, step with halving, and switch controls at their limits when the
// mismatch stops falling.

// first: number of the first iteration. Answers the iteration at which the mismatch met the
// tolerance; a quiet run that cannot converge answers negative, any other
// run that cannot converge fails.
int Solver::SolvePowerFlow(int first, Reorder reorder, Refresh refresh, Loads loads) {
    const int last = continuation_ ? iterationLimit_ + first - 1 : iterationLimit_;
    const bool rescale = loads == Loads::Polynomial;
    bool force = reorder == Reorder::Yes;
    solvedJacobian_.held = false;
    int where = 0;
    dcTapClamping_ = true;
    // Where the first iteration refactorises, its Jacobian is that of the
    // state measured here: one pass over the network gives both.
    bool assembled = RefactorsAt(first, first, force, refresh) && MeasureWithJacobian(loads);
    if (!assembled && !EvaluateMismatch(loads)) return FailEvaluation(-first, rescale);
    double norm = MaxAbs(mismatch_, matrixOrder_, where);

    int i = first;
    for (; i <= last; ++i) {
        if (norm <= tolerance_ && !force) {
            if (rescale) RescaleLoadModels();
            // The matrix may hold the Jacobian of the solution: a tangent
            // taken there next can use it.
            solvedJacobian_.held = assembled && !rescale;
            return i;
        }
        if (!FactorJacobian(i, first, force, refresh, loads, std::exchange(assembled, false)))
            return FailPowerFlow(-first, rescale);
        std::copy(mismatch_.begin(), mismatch_.end(), correction_.begin());
        SparseSolve(correction_);

        double previous = norm;
        // The next iteration refactorises; its Jacobian is that of the
        // accepted trial, measured with it.
        const bool accepted = TakeStep(norm, previous, loads, refresh == Refresh::EveryIteration, assembled);
        if (norm <= tolerance_ || (accepted && std::fabs(previous - norm) / norm > secondTolerance_)) {
            force = false;
            continue;
        }
        assembled = false;
        // No more progress: switch the controls that have met their limits.
        if (limitsDone_) return -(i + 1);
        if (!SwitchControlsAtLimits(force)) {
            if (quiet_) return -(i + 1);
            std::fputs(FormatInCLocale("Newton's method makes no progress at iteration %d, largest mismatch %g p.u.\n",
                                       i, norm).c_str(),
                       diagnostics_);
            Abort(1);
        }
        // A switched control brings equations of its own: the next steps
        // are measured against the mismatch they start from.
        if (!EvaluateMismatch(loads)) return FailEvaluation(-(i + 1), rescale);
        norm = MaxAbs(mismatch_, matrixOrder_, where);
    }
    // A mismatch that is not a number never meets the tolerance.
    if (!(norm <= tolerance_)) {
        if (!quiet_)
            std::fputs(FormatInCLocale("Newton's method did not converge in %d iterations, largest mismatch %g p.u.\n",
                                       last - first + 1, norm).c_str(),
                       diagnostics_);
        return FailPowerFlow(-i, rescale);
    }
    if (rescale) RescaleLoadModels();
    return i;
}

// The largest magnitude among items 1..count and its index; -0.1 (index
// untouched) for none. An item that is not a number wins, so that it can
// never pass for a small mismatch.
double Solver::MaxAbs(std::span<const double> vector, int count, int& index) {
    double largest = -0.1;
    for (int i = 1; i <= count; ++i) {
        const double magnitude = std::fabs(vector[i]);
        if (std::isnan(magnitude)) {
            index = i;
            return magnitude;
        }
        if (magnitude > largest) {
            largest = magnitude;
            index = i;
        }
    }
    return largest;
}

// False when a device cannot be evaluated at the present state.
bool Solver::EvaluateMismatch(Loads loads) {
    int status = 0;
    AcEquations(status, Evaluate::Mismatch, loads);
    if (!DeviceEquations(Evaluate::Mismatch)) return false;
    if (continuation_) ParameterEquation(Evaluate::Mismatch, nullptr, curve_.tangent);
    return !extendedRows_ || PocRows(Evaluate::Mismatch, loads);
}

// The mismatch and the Jacobian at the present state. False when no
// generation takes up the slack's power, which leaves the slack power's
// column empty (in a continuation, unless the arc-length row fills it).
bool Solver::AssembleJacobian(Loads loads) {
    const NetArea* area = nullptr;
    switch (AssembleJacobianAt(loads, area)) {
    case JacobianFault::None: return true;
    case JacobianFault::Device: std::fprintf(diagnostics_, "%s\n", hvdcFault_.c_str()); break;
    case JacobianFault::NoSlackGeneration:
        if (area)
            std::fprintf(diagnostics_, "No generation takes up the slack power of area %s\n", area->name.c_str());
        else
            std::fprintf(diagnostics_, "No generation takes up the slack power\n");
        break;
    }
    return false;
}

// The assembly itself, silent: what went wrong, and the area without
// generation where that was it.
Solver::JacobianFault Solver::AssembleJacobianAt(Loads loads, const NetArea*& area) {
    int status = 0;
    area = AcEquations(status, Evaluate::MismatchAndJacobian, loads);
    if (!DeviceEquations(Evaluate::MismatchAndJacobian)) return JacobianFault::Device;
    solvedJacobian_.parameterRowStep = Matrix().AssemblyStep();
    solvedJacobian_.status = status;
    solvedJacobian_.area = area;
    const bool parameterRowHolds =
        continuation_ && ParameterEquation(Evaluate::MismatchAndJacobian, area, curve_.tangent) == 0;
    if (extendedRows_ && !PocRows(Evaluate::MismatchAndJacobian, loads)) return JacobianFault::Device;
    if (status >= 0 || parameterRowHolds) return JacobianFault::None;
    return JacobianFault::NoSlackGeneration;
}

// Whether the iteration refactorises the Jacobian with the kept order
// (else it orders the matrix anew).
bool Solver::RefactorsAt(int iteration, int first, bool force, Refresh refresh) const {
    const bool resumed = quiet_ || limitsDone_;
    return (iteration > 1 || resumed) && !force && (refresh == Refresh::EveryIteration || iteration == first);
}

// The mismatch measured together with the Jacobian of the same state, for
// the kept order. False, with neither taken, where the assembly fails (the
// mismatch alone is then measured, and the failure said where the Jacobian
// is assembled again), and for the collapse's extended rows, whose
// mismatch a Jacobian pass sums in another order.
bool Solver::MeasureWithJacobian(Loads loads) {
    if (extendedRows_ || !Matrix().Ordered()) return false;
    Matrix().ZeroValues();
    const NetArea* area = nullptr;
    return AssembleJacobianAt(loads, area) == JacobianFault::None;
}

// Factorises the Jacobian of this iteration: with the kept pivot order
// where it still serves, else with a new one. `assembled`: the matrix holds
// this iteration's Jacobian already. False when the run cannot go on.
bool Solver::FactorJacobian(int iteration, int first, bool force, Refresh refresh, Loads loads, bool assembled) {
    const bool resumed = quiet_ || limitsDone_;
    bool reorder = false;
    if (RefactorsAt(iteration, first, force, refresh)) {
        if (!assembled) {
            Matrix().ZeroValues();
            if (!AssembleJacobian(loads)) return false;
        }
        reorder = Factor() != 0;
    }
    if ((iteration == 1 && !resumed) || reorder || force) {
        // Cleared at every new ordering, so that no value of an earlier
        // Jacobian is left in the store.
        ClearMatrix();
        if (!AssembleJacobian(loads)) return false;
        SortLists();
        if (OrderAndFactor() != 0) {
            std::fprintf(diagnostics_, "The Jacobian is singular\n");
            return false;
        }
        SortLists();
        // The continuation's factor sign leaves out the parity of the
        // pivot order, so a new order needs a new reference sign.
        curve_.referenceSign = 0;
    }
    return true;
}

// Applies the correction, then takes back half of it while the mismatch
// does not fall: ten times, or twenty when after the tenth halving the
// mismatch is still more than twice what it was. True when a trial was
// accepted; norm is then its mismatch and previous the one before, and
// `assembled` says whether the matrix holds its Jacobian (measured with
// the mismatch `withJacobian`).
bool Solver::TakeStep(double& norm, double& previous, Loads loads, bool withJacobian, bool& assembled) {
    int limit = 10;
    for (int trial = 0; trial <= limit; ++trial) {
        ApplyStep(trial == 0 ? -1.0 : std::ldexp(1.0, -trial), trial > 0 ? Trial::Retrial : Trial::First);
        assembled = withJacobian && MeasureWithJacobian(loads);
        // A state at which a device has no value is never accepted.
        if (!assembled && !EvaluateMismatch(loads)) continue;
        int where = 0;
        const double trialNorm = MaxAbs(mismatch_, matrixOrder_, where);
        if (trial == 10 && trialNorm > 2.0 * norm) {
            limit = 20;
            continue;
        }
        if (trialNorm < norm) {
            previous = norm;
            norm = trialNorm;
            return true;
        }
    }
    assembled = false;
    return false;
}

void Solver::ApplyStep(double factor, Trial trial) {
    UpdateBuses(factor, trial, Clamping::On, StepRecoveryHold());
    UpdateDevices(factor, trial, Clamping::On);
    if (extendedRows_) StepState(factor);
}

RecoveryHold Solver::StepRecoveryHold() const {
    return switches_.recovery ? RecoveryHold::On : RecoveryHold::Off;
}

// A run that is not quiet stops at the first check that switches; a
// quiet run tries every check once. True when something switched; force
// then says whether the next iteration must order the Jacobian anew.
bool Solver::SwitchControlsAtLimits(bool& force) {
    if (quiet_) {
        bool switched = CheckTapLimits();
        switched = CheckBusLimits() || switched;
        switched = CheckGeneratorLimits() || switched;
        switched = SwitchHvdcControl() || switched;
        switched = CheckSvcLimits() || switched;
        switched = CheckTcscLimits() || switched;
        const bool statcom = CheckStatcomLimits();
        limitsDone_ = true;
        force = statcom;
        return switched || statcom;
    }
    if (CheckTapLimits() || CheckBusLimits() || CheckGeneratorLimits()) {
        force = false;
        return true;
    }
    // A converter stuck at a ratio limit passes its control on; where no
    // rule frees it, the limit stops holding its ratio.
    if (dcTapClamping_ && HvdcLimitViolated()) {
        force = SwitchHvdcControl() != 0;
        dcTapClamping_ = force;
        return true;
    }
    if (CheckSvcLimits() || CheckTcscLimits() || CheckStatcomLimits()) {
        force = true;
        return true;
    }
    return false;
}

void Solver::SetQuietRun(Quiet quiet, LimitChecks limitChecks) {
    quiet_ = quiet == Quiet::Yes;
    limitsDone_ = limitChecks == LimitChecks::Done;
}

// A state at which a device has no value: said, then failed as any solve.
int Solver::FailEvaluation(int quietResult, bool rescale) {
    if (!quiet_) std::fprintf(diagnostics_, "%s\n", hvdcFault_.c_str());
    return FailPowerFlow(quietResult, rescale);
}

// A quiet run answers its negative result; any other run ends here, its
// load models rescaled first when the run rescales.
int Solver::FailPowerFlow(int quietResult, bool rescale) {
    if (quiet_) return quietResult;
    if (rescale) RescaleLoadModels();
    Abort(1);
}
