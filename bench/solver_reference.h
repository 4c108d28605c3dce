#pragma once

#include "solver.h"

// Owns one reference to a fresh solver for the length of a benchmark step.
class SolverReference {
public:
    SolverReference() : solver_(static_cast<Solver*>(createPSSolver())) {}
    ~SolverReference() { solver_->Release(); }
    SolverReference(const SolverReference&) = delete;
    SolverReference& operator=(const SolverReference&) = delete;
    Solver* operator->() const { return solver_; }

private:
    Solver* solver_;
};
