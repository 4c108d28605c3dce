#pragma once

#include <array>
#include <string>
#include <vector>

#include "network.h"

// What the limit checks switch on the network's controls: each bus's code,
// control and held voltage or reactive power, the transformers' codes, the
// counts of controlled buses, and each converter's control codes with the
// references and ratio limits its switching holds to; kept in list order
// so that a point of the curve comes back with the modes it was solved in.
// The network must keep its lists; the caller classifies the buses again.
class ControlModes {
public:
    void Save(const Network& network);
    void Restore(Network& network) const;

private:
    struct BusModes {
        std::string code;
        char control;
        bool voltageFree;
        double voltageTarget, scheduledQ, equivalentB;
        int regulatingGeneratorCount;
    };
    std::vector<BusModes> buses_;
    struct ConverterModes {
        std::array<std::string, 2> modes;
        double vdReference, alphaReference, gammaReference, minTap, maxTap;
    };
    std::vector<std::string> branchCodes_;
    std::vector<ConverterModes> converters_;
    int generatorBusCount_ = 0;
    int bankBusCount_ = 0;
    int zBusCount_ = 0;
};
