#pragma once

#include <vector>

#include "network.h"
#include "network_snapshot.h"
#include "state_field.h"

// What a continuation keeps from one point of the curve to the next: the
// tangent, the base point of the present step and the step itself, the
// direction of travel, the bus that may take the parameter over, and the
// fixing of unknowns (option u). Unknowns are numbered from 1.
struct ContinuationState {
    std::vector<double> tangent;    // by unknown 1..n+1
    std::vector<double> basePoint;  // x0, by unknown 1..n
    NetworkSnapshot base;           // the model at the base point
    double parameterStep = 0.0;     // dp of the present point; 0 before its step
    double parameterBase = 0.0;     // p0: the parameter at the base point
    double stepLength = 1.0;        // option k; its sign is the direction of travel
    double stepTolerance = 1e-6;    // option o
    int referenceSign = 0;          // factor sign that the next tangent's is held against; 0 none yet
    NetBus* switchCandidate = nullptr;
    double elasticity = 0.0;        // the candidate's relative dV over relative dlambda
    NetBus* busOfInterest = nullptr;  // option f
    // Option u: variables whose tangent entry is small against their value
    // are held fixed.
    double fixingThreshold = 0.0;
    bool fixingDue = false;
    int freeVariables = 0;
    // Voltages of the table's buses: at the base point (plus the tolerance)
    // and after the latest step.
    double monitoredBase = 0.0;
    double monitoredAfter = 0.0;
};
