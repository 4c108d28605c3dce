#include "solver.h"

// The limit checks that switch control modes when Newton's method stops
// making progress. Each answers 1 when it switched something, so that the
// iteration goes on. In this build none of them switches anything.

int Solver::CheckTapLimits() {
    return 0;
}

int Solver::CheckBusLimits() {
    return 0;
}

int Solver::CheckGeneratorLimits() {
    return 0;
}

int Solver::HvdcLimitViolated() {
    return 0;
}

int Solver::SwitchHvdcControl() {
    return 0;
}

int Solver::CheckSvcLimits() {
    return 0;
}

int Solver::CheckTcscLimits() {
    return 0;
}

int Solver::CheckStatcomLimits() {
    return 0;
}
