#pragma once

#include <string>

struct NetBus;

// Thyristor-controlled series compensator between two buses: a series
// capacitor with a thyristor-controlled reactor across it. Its unknowns
// are base + 1 .. base + 7: the active flow P, the reactive powers Qk and Qm
// drawn at its two ends, its series susceptance BT, the firing angle alpha,
// the signed current I and the angle difference delta.
struct NetTcsc {
    std::string name;
    std::string code = "FC";
    // What row base + 7 holds: "X" the susceptance, "P" the flow, "I" the
    // current, "D" the angle difference.
    std::string controlCode = "X";
    NetBus* from = nullptr;
    NetBus* to = nullptr;

    // The card's values, as the writer gives them back: reactances p.u. on
    // the rating, firing angles in degrees, the scheduled value in the unit
    // of the control letter (MW, kA or degrees), rating in MVA.
    double capacitorX = 0.0;
    double reactorX = 0.0;
    double minAngle = 143.0;
    double maxAngle = 175.0;
    double scheduledValue = 0.0;
    char controlLetter = 'X';
    double rating = 0.0;
    double angleSetting = 0.0;       // radians; the equations do not use it
    // Percent of the capacitor's reactance that code "X" holds.
    double compensationPercent = 0.0;

    int base = 0;
    double x1 = 0.0;          // reactances on the MVA base
    double x2 = 0.0;
    double minAlpha = 0.0;    // radians
    double maxAlpha = 0.0;
    double target = 0.0;      // of "P", "I" or "D", p.u. or radians
    double susceptanceTarget = 0.0;  // of "X"
    double p = 0.0;
    double qk = 0.0;
    double qm = 0.0;
    double bt = 0.0;
    double alpha = 0.0;
    double current = 0.0;
    double delta = 0.0;
    double shadow = 0.0;      // unclamped alpha over one Newton iteration
};

// The susceptance of the compensator at firing angle alpha and its
// derivative: B(alpha) = pi (w^4 - 2 w^2 + 1) cos(w s) / (X1 D(alpha)),
// s = alpha - pi, w = sqrt(X1 / X2). Not finite at resonance (D = 0).
struct TcscSusceptance {
    double value = 0.0;
    double derivative = 0.0;
    double denominator = 0.0;  // D(alpha)
};
TcscSusceptance TcscSusceptanceAt(double alpha, double x1, double x2);
