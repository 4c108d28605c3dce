#pragma once

#include <string>

struct NetBus;

// Static synchronous compensator: a voltage-source converter behind a
// coupling impedance at its terminal bus, holding the controlled bus's
// voltage on a slope. Its unknowns are base + 1 .. base + 7: the current
// magnitude Ish (the voltage offset at a current limit), the current's
// angle phi, the DC voltage Vdc, the modulation ratio mr, the converter
// voltage's angle psi, and P and Q drawn from the terminal bus.
struct NetStatcom {
    std::string name;
    std::string code = "FT";
    // "PW" or "AL": the voltage held, Ish free; "MX"/"MN": Ish held at its
    // limit for positive/negative Q, the voltage offset free. The second
    // code keeps the mode to return to and chooses the second control:
    // "PW" holds Vdc, "AL" holds mr.
    std::string controlCode = "PW";
    std::string returnCode = "PW";
    NetBus* terminalBus = nullptr;
    NetBus* controlledBus = nullptr;
    bool read = false;  // an "FT" card gave its values

    // The card's values, as the writer gives them back: p.u. on the rating,
    // slope in percent, rating in MVA.
    double resistance = 0.0;
    double reactance = 0.0;
    double dcConductance = 0.0;
    double maxCurrent = 0.0;       // for positive Q (absorbing)
    double minCurrent = 0.0;       // for negative Q, as a magnitude
    int slopePercent = 0;
    double rating = 0.0;
    double referenceVoltage = 1.0;
    double controlValue = 1.0;     // Vdc under "PW", mr under "AL"

    int base = 0;
    double rc = 0.0;          // on the MVA base
    double gc = 0.0;          // coupling admittance Gc + jBc
    double bc = 0.0;
    double gdc = 0.0;
    double slope = 0.0;
    double positiveQLimit = 0.0;
    double negativeQLimit = 0.0;
    double current = 0.0;     // Ish
    double phi = 0.0;
    double vdc = 0.0;
    double mr = 0.0;
    double psi = 0.0;
    double p = 0.0;
    double q = 0.0;
    double offset = 0.0;
    double shadow = 0.0;      // unclamped Ish or offset over one Newton iteration
};
