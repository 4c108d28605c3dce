#include "solver.h"

// The device families together, in the order the Newton iteration takes
// them: HVDC links, SVCs, TCSCs, STATCOMs.

bool Solver::DeviceEquations(Evaluate evaluate) {
    if (HvdcEquations(evaluate)) return false;
    SvcEquations(evaluate);
    TcscEquations(evaluate);
    StatcomEquations(evaluate);
    return true;
}

void Solver::UpdateDevices(double step, Trial trial, Clamping clamping) {
    UpdateDcLinks(step, trial, clamping);
    UpdateSvcs(step, trial, clamping);
    UpdateTcscs(step, trial, clamping);
    UpdateStatcoms(step, trial, clamping);
}
