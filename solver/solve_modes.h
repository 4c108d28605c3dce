#pragma once

// The named values of the engine's own calls, so that a call such as
// SolvePowerFlow(1, Reorder::No, Refresh::EveryIteration, Loads::Polynomial)
// reads by itself.

// Whether a builder looks for the record before it adds one.
enum class Search { No, Yes };

// Whether a solve orders its Jacobian anew at its first iteration, or keeps
// the pivot order the store holds where it still serves.
enum class Reorder { No, Yes };
inline Reorder ReorderIf(bool condition) {
    return condition ? Reorder::Yes : Reorder::No;
}

// Whether Newton's method rebuilds its Jacobian at every iteration or only
// at the first.
enum class Refresh { FirstIteration, EveryIteration };

// The loads a solve draws. The plain power flow takes each bus's load as a
// polynomial of its voltage and rescales the load models to its solution;
// a solve at a load parameter takes the load models.
enum class Loads { Polynomial, Models };

// What one pass of the equations enters: the mismatch vector, the matrix,
// or both.
enum class Evaluate { Mismatch, Jacobian, MismatchAndJacobian };

inline bool WantsMismatch(Evaluate evaluate) {
    return evaluate != Evaluate::Jacobian;
}
inline bool WantsJacobian(Evaluate evaluate) {
    return evaluate != Evaluate::Mismatch;
}

// A trial of one Newton iteration's step: the first re-seeds the shadows of
// the limited quantities from their values, a retrial walks them on.
enum class Trial { First, Retrial };

// Whether a step application clamps limited quantities to their limits.
enum class Clamping { Off, On };

// Whether a step application holds a quantity at the point where its limit
// check would switch it back (option G turns this off).
enum class RecoveryHold { Off, On };

// A quiet run answers a negative result where Newton's method cannot
// converge, instead of ending the run.
enum class Quiet { No, Yes };

// Whether a quiet run's limit checks are still to be tried (once) or were
// tried already, so that a solve without progress answers at once.
enum class LimitChecks { Due, Done };

// Whether lambda is an unknown of the solve (the continuation's last one).
enum class Continuation { Off, On };

// What a continuation's step application answers: the largest overshoot
// fraction beyond a limit, or the number of quantities clamped.
enum class StepAnswer { Overshoot, ClampedCount };
