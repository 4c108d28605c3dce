#include "solver.h"

// The FACTS device families together, in the order the Newton iteration
// takes them: SVCs, TCSCs, STATCOMs.

void Solver::DeviceEquations(Evaluate evaluate) {
    SvcEquations(evaluate);
    TcscEquations(evaluate);
    StatcomEquations(evaluate);
}

void Solver::UpdateDevices(double step, Trial trial, Clamping clamping) {
    UpdateSvcs(step, trial, clamping);
    UpdateTcscs(step, trial, clamping);
    UpdateStatcoms(step, trial, clamping);
}
