#pragma once

#include <string>

// One bus record of the IEEE common data format, as the model writes it for
// a bus and for a bus group. MW and Mvar; voltages p.u.; the angle in
// degrees; the shunt conductance and susceptance in p.u.
struct BusCard {
    // IEEE common-format bus types.
    static constexpr int kLoadType = 0;
    static constexpr int kGeneratorType = 2;
    static constexpr int kSwingType = 3;

    int number = 0;
    std::string name;
    int type = kLoadType;
    double voltage = 0.0;
    double angle = 0.0;
    double loadP = 0.0;
    double loadQ = 0.0;
    double generationP = 0.0;
    double generationQ = 0.0;
    double baseKv = 0.0;
    double desiredVoltage = 0.0;
    double maxQ = 0.0;
    double minQ = 0.0;
    double shuntG = 0.0;
    double shuntB = 0.0;
    int remoteBus = 0;

    // The card type of a bus record's kind: the swing, a bus whose
    // generation holds a voltage (kinds 4, 5, 8), else a load bus.
    static int TypeOfKind(int kind);
    // The record's text; the name trimmed, its blanks made underscores and
    // cut to 12 characters, so that it stays one word in its columns.
    std::string Text() const;
};
