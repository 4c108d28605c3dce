#pragma once

#include <cstddef>
#include <vector>

#include "network.h"

// The values of a network that a continuation step moves, saved at the
// step's base point so that the point comes back exactly: the state and
// what is derived from it (the generation that follows the slack's power,
// the reactive room the apparent-power limit leaves), the devices' values
// (named by the fields that hold them), and lambda. Buses and branches are
// kept in list order; the network must keep its lists and devices.
class NetworkSnapshot {
public:
    void Save(const Network& network, double lambda, const std::vector<double*>& deviceValues);
    void Restore(Network& network, double& lambda) const;
    double Lambda() const { return lambda_; }
    // The saved voltage of the bus at `index` in the bus list.
    double BusVoltage(std::size_t index) const { return buses_[index].voltage; }

private:
    struct SavedBus {
        double angle, voltage, generationP, generationQ, regulatedGenerationQ, slackPower, areaPower;
        double shareInUse, effectiveMaxQ, effectiveMinQ;
        int generatorLimitIndex;
    };
    struct SavedBranch {
        double tap, shift, controlTarget;
    };
    std::vector<SavedBus> buses_;
    std::vector<SavedBranch> branches_;
    std::vector<double*> deviceFields_;
    std::vector<double> deviceValues_;
    double lambda_ = 0.0;
};
