#include "network_snapshot.h"

void NetworkSnapshot::Save(const Network& network, double lambda, const std::vector<double*>& deviceValues) {
    // Sized once and written in place: a step saves every point.
    buses_.resize(network.buses.size());
    auto saved = buses_.begin();
    for (const auto& bus : network.buses)
        *saved++ = {bus->angle, bus->voltage, bus->generationP, bus->generationQ, bus->extras().regulatedGenerationQ,
                    bus->slackPower, bus->areaPower, bus->shareInUse, bus->effectiveMaxQ, bus->effectiveMinQ,
                    bus->generatorLimitIndex};
    branches_.resize(network.branches.size());
    auto savedBranch = branches_.begin();
    for (const auto& branch : network.branches)
        *savedBranch++ = {branch->tap, branch->shift, branch->regulation().controlTarget};
    deviceFields_ = deviceValues;
    deviceValues_.clear();
    for (const double* field : deviceFields_) deviceValues_.push_back(*field);
    lambda_ = lambda;
}

void NetworkSnapshot::Restore(Network& network, double& lambda) const {
    std::size_t k = 0;
    for (const auto& bus : network.buses) {
        const SavedBus& s = buses_[k++];
        bus->angle = s.angle;
        bus->voltage = s.voltage;
        bus->generationP = s.generationP;
        bus->generationQ = s.generationQ;
        if (bus->HasExtras()) bus->EditExtras().regulatedGenerationQ = s.regulatedGenerationQ;
        bus->slackPower = s.slackPower;
        bus->areaPower = s.areaPower;
        bus->shareInUse = s.shareInUse;
        bus->effectiveMaxQ = s.effectiveMaxQ;
        bus->effectiveMinQ = s.effectiveMinQ;
        bus->generatorLimitIndex = s.generatorLimitIndex;
    }
    k = 0;
    for (const auto& branch : network.branches) {
        const SavedBranch& s = branches_[k++];
        branch->tap = s.tap;
        branch->shift = s.shift;
        // A branch without a regulation record had none when it was saved
        // (records are never taken away): its saved target is the zero it
        // read. Buses and their extras likewise.
        if (branch->HasRegulation()) branch->EditRegulation().controlTarget = s.controlTarget;
    }
    for (std::size_t i = 0; i < deviceFields_.size(); ++i) *deviceFields_[i] = deviceValues_[i];
    lambda = lambda_;
}
