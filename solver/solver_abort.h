#pragma once

// The one internal error of the solver. Thrown by Solver::Abort and caught
// by every entry operation, which then answers its failure value.
struct SolverAbort {
    int code = 0;
};
