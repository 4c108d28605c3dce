#pragma once

#include "solver.h"

// Owns one reference to a solver for the length of a test.
class SolverHandle {
public:
    SolverHandle() : solver_(static_cast<Solver*>(createPSSolver())) {}
    ~SolverHandle() {
        if (solver_) solver_->Release();
    }
    SolverHandle(const SolverHandle&) = delete;
    SolverHandle& operator=(const SolverHandle&) = delete;

    Solver* operator->() const { return solver_; }
    Solver& operator*() const { return *solver_; }

private:
    Solver* solver_;
};
