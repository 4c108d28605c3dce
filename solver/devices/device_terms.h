#pragma once

#include <algorithm>

#include "solver.h"

// What the device families share: the columns their derivatives go to
// under the column rules of the AC equations, and the shadow of a limited
// unknown over the trial steps of one Newton iteration.

class DeviceTerms {
public:
    DeviceTerms(Solver& solver, Evaluate evaluate)
        : solver_(solver), mismatch_(solver.Mismatch()), wantMismatch_(WantsMismatch(evaluate)),
          wantJacobian_(WantsJacobian(evaluate)) {}

    bool WantMismatch() const { return wantMismatch_; }
    bool WantJacobian() const { return wantJacobian_; }

    // Sets (or adds to) one mismatch row.
    void Set(int row, double value) { mismatch_[row] = value; }
    void Add(int row, double value) { mismatch_[row] += value; }

    void Enter(int row, int column, double value) { solver_.AddElement(row, column, value); }
    // A slack bus's angle is held: its column holds its power.
    void Angle(int row, const NetBus& bus, double value) {
        if (!CodeHas(bus.code, "S")) Enter(row, bus.firstVariable, value);
    }
    // Into the bus's voltage column while its voltage is an unknown, into
    // lambda's at the continuation's parameter bus, else a 0 that keeps
    // the pattern.
    void Voltage(int row, const NetBus& bus, double value) {
        if (HoldsVoltage(bus.voltageColumn)) {
            Enter(row, bus.firstVariable + 1, value);
        } else if (solver_.ContinuationOn() && bus.voltageColumn == VoltageColumn::LoadParameter) {
            Enter(row, solver_.VariableCount() + 1, value);
        } else {
            Enter(row, bus.firstVariable + 1, 0.0);
        }
    }

private:
    Solver& solver_;
    std::vector<double>& mismatch_;
    const bool wantMismatch_;
    const bool wantJacobian_;
};

// One trial of a Newton step for the devices: the correction of an unknown
// times the step factor, and the shadows re-seeded on the first trial.
class DeviceStep {
public:
    DeviceStep(const std::vector<double>& correction, double step, Trial trial, Clamping clamping)
        : dx_(correction), step_(step), retrial_(trial == Trial::Retrial), clamping_(clamping == Clamping::On) {}

    double Delta(int variable) const { return step_ * dx_[variable]; }
    bool Clamping() const { return clamping_; }
    // The unclamped value after this trial; the correction is scaled first
    // where the column holds a multiple of the value.
    double Shadowed(double& shadow, double present, int variable, double scale = 1.0) const {
        if (!retrial_) shadow = present;
        shadow += Delta(variable) * scale;
        return shadow;
    }
    // Within [low, high] while clamping is on.
    double Clamped(double value, double low, double high) const {
        return clamping_ ? std::max(low, std::min(value, high)) : value;
    }

private:
    const std::vector<double>& dx_;
    const double step_;
    const bool retrial_;
    const bool clamping_;
};
