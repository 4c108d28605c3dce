#include "solver.h"

#include <new>

extern "C" OSTRAND_API ISolver* createPSSolver() {
    return new (std::nothrow) Solver();
}

Solver::Solver() = default;

Solver::~Solver() {
    ReleaseNetwork();
}

void Solver::Abort(int code) const {
    throw SolverAbort{code};
}

void Solver::AddRef() {
    ++referenceCount_;
}

int Solver::Release() {
    if (--referenceCount_ > 0) return referenceCount_;
    delete this;
    return 0;
}

void Solver::SetTotalsColumns(bool generationP, bool generationQ, bool loadP, bool loadQ) {
    totals_[0] = generationP;
    totals_[1] = generationQ;
    totals_[2] = loadP;
    totals_[3] = loadQ;
}

void Solver::ClearTotalsColumns() {
    SetTotalsColumns(false, false, false, false);
}

IRecordCursor* Solver::GetResultCursor() {
    return &resultCursor_;
}

int Solver::GetPointCount() {
    return pointCount_;
}

void Solver::SetMaxLoad(double load) {
    maxLoad_ = load;
}

void Solver::SetIterationLimit(int limit) {
    iterationLimit_ = limit;
}

int Solver::GetIterationLimit() {
    return iterationLimit_;
}

void Solver::SetTolerance(double tolerance) {
    tolerance_ = tolerance;
}

double Solver::GetTolerance() {
    return tolerance_;
}

void Solver::Hook(int, double*, double) {}

void Solver::ReleaseNetwork() {
    // Nothing may point into the network once it is gone.
    tableColumns_.clear();
    tableAngleColumns_.clear();
    namedContinuationBus_ = nullptr;
    transferSource_ = nullptr;
    transferSink_ = nullptr;
    recordBuses_.Clear();
    SetContinuation(Continuation::Off);
    curve_.switchCandidate = curve_.busOfInterest = nullptr;
    stateFields_.clear();
    ReleaseMatrix();
    mismatch_.clear();
    correction_.clear();
    network_.reset();
}
