#pragma once

#include <array>
#include <string>
#include <vector>

#include "state_field.h"

struct NetArea;
struct NetBus;

// One converter of a two-terminal HVDC link. A link is a rectifier (role
// "R") and its partner, the inverter (role "I"); the link's eleven unknowns
// hang off the rectifier (base + 1 .. base + 11).
//
// Each converter holds two quantities fixed, named by its two control
// codes: "VD" DC voltage, "AT" ratio, "AL" firing angle, "GA" extinction
// angle, "PA" active power, "QA" reactive power, "ID" DC current (the
// link's one current, in any of its four codes).
//
// Angles: alpha is the firing angle; gamma is the extinction angle at the
// inverter and, at the rectifier, pi less the angle at which commutation
// ends, so that both ends share the overlap relation
// sqrt2 Xc Id = a V (cos alpha + cos gamma).
struct NetConverter {
    std::string name;
    std::string code;                      // role: "R", "I"; empty until a card gives it
    std::array<std::string, 2> modes;      // the two control codes
    NetBus* acBus = nullptr;
    NetBus* converterBus = nullptr;        // the DC bus a bus-named card made; none in the GROUND form
    NetConverter* partner = nullptr;
    NetConverter* controlling = nullptr;   // the end whose power a DC tie meters
    NetArea* area = nullptr;

    // The card's values, as the writer gives them back: ohms, henry,
    // degrees, kV, A, MW and Mvar.
    int number = 0;                        // from 1 in order of first mention
    std::string zone;                      // 2 characters
    std::string areaText;                  // 2 characters
    int bridges = 0;
    double commutatingOhms = 0.0;          // all bridges
    double ratio = 0.0;                    // nominal ratio nr, all bridges
    double minTap = 0.9;
    double maxTap = 1.1;
    double minAngle = 0.0;                 // degrees: alpha's limits at the rectifier,
    double maxAngle = 0.0;                 // gamma's minimum at the inverter
    double thirdAngle = 0.0;
    double resistanceOhms = 0.0;           // of the DC line
    double inductance = 0.0;               // henry
    double scheduledCurrent = 0.0;         // A
    double scheduledVoltage = 0.0;         // kV
    double scheduledAlpha = 0.0;           // degrees
    double scheduledGamma = 0.0;           // degrees
    double scheduledP = 0.0;               // MW
    double scheduledQ = 0.0;               // Mvar
    double scheduledTap = 0.0;
    double furtherSetting = 0.0;           // kept for the writer; the equations do not use it
    double acKv = 0.0;

    // The link's state, per unit on the MVA base and the DC base voltage
    // (the rectifier's AC kV), angles in radians. P and Q are what the
    // converter injects into its AC bus: negative at a rectifier.
    int base = 0;
    double dcBaseKv = 0.0;
    double xc = 0.0;
    double nominalRatio = 1.0;             // nr on the DC base: a = tap nr
    double resistance = 0.0;
    double tap = 1.0;
    double vd = 0.0;
    double id = 0.0;                       // the link's current, kept on the rectifier
    double s = 0.0;
    double p = 0.0;
    double q = 0.0;
    double alpha = 0.0;
    double gamma = 0.0;
    double minAlpha = 0.0;                 // radians
    double maxAlpha = 0.0;
    double minGamma = 0.0;
    // Set by the reset before a continuation: the values that the step
    // limits hold and the control switching returns to.
    double vdReference = 0.0;
    double alphaReference = 0.0;
    double gammaReference = 0.0;
    // Unclamped values over the trial steps of one Newton iteration.
    double vdShadow = 0.0;
    double tapShadow = 0.0;
    double cosAlphaShadow = 0.0;
    double cosGammaShadow = 0.0;

    bool Holds(const char* mode) const { return modes[0] == mode || modes[1] == mode; }
};

// The unknowns of one link, in their column order: for the rectifier and
// then the inverter Vd, a, cos alpha, cos gamma, S, P, Q, each left out when
// a code of its converter holds it; then Id unless a code of the link holds
// it. Column 0 for a held quantity.
struct HvdcColumns {
    struct End {
        int vd = 0, a = 0, cosAlpha = 0, cosGamma = 0, s = 0, p = 0, q = 0;
    };
    End rectifier;
    End inverter;
    int id = 0;
    int count = 0;  // 11 for a link that holds two quantities per converter
};
HvdcColumns HvdcColumnsOf(const NetConverter& rectifier);

// Whether a code of either converter of the link holds the quantity.
inline bool LinkHolds(const NetConverter& rectifier, const char* mode) {
    return rectifier.Holds(mode) || (rectifier.partner && rectifier.partner->Holds(mode));
}

// For a continuation: where each unknown of the link lives under its
// present codes (the ratio as tap nr, the angles as cosines), at its
// column; and every value of one converter that a step may move.
void HvdcStateFields(NetConverter& rectifier, std::vector<StateField>& fields);
void HvdcValues(NetConverter& converter, std::vector<double*>& values);
