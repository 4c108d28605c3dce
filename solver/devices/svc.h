#pragma once

#include <string>

struct NetBus;

// Static var compensator: a fixed capacitor beside a thyristor-controlled
// reactor at its terminal bus, holding the controlled bus's voltage on a
// slope. Its unknowns are base + 1 (Q), base + 2 (Be) and base + 3 (alpha
// while the code is "AL", else the voltage offset).
struct NetSvc {
    std::string name;
    std::string code = "FS";
    // "AL": alpha free, the voltage held; "MX"/"MN": alpha held at its
    // maximum/minimum, the voltage offset free.
    std::string controlCode = "AL";
    NetBus* terminalBus = nullptr;
    NetBus* controlledBus = nullptr;

    // The card's values, as the writer gives them back: reactances p.u.,
    // firing angles in degrees, slope in percent, rating in MVA.
    double capacitorX = 0.0;     // Xc, Bc = 1 / Xc
    double reactorX = 0.0;       // Xl of the reactor at full conduction
    double minAngle = 90.0;
    double maxAngle = 178.0;
    int slopePercent = 0;
    double rating = 0.0;
    double referenceVoltage = 1.0;  // Vref, p.u.
    double transformerX = 0.0;      // of the step-down transformer the reader made a branch of
    double lowSideKv = 0.0;
    double furtherSetting = 0.0;    // kept for the writer; the equations do not use it

    int base = 0;
    double slope = 0.0;       // Xsl, p.u.
    double minAlpha = 0.0;    // radians
    double maxAlpha = 0.0;
    double q = 0.0;           // injected into the terminal bus
    double be = 0.0;          // equivalent susceptance of the reactor
    double alpha = 0.0;
    double offset = 0.0;      // Voff, in Vref's place at a limit
    double shadow = 0.0;      // unclamped alpha or offset over one Newton iteration
};
