#include "control_modes.h"

void ControlModes::Save(const Network& network) {
    buses_.clear();
    for (const auto& bus : network.buses)
        buses_.push_back({bus->code, bus->control, bus->voltageFree, bus->voltageTarget, bus->scheduledQ,
                          bus->equivalentB, bus->extras().regulatingGeneratorCount});
    branchCodes_.clear();
    for (const auto& branch : network.branches) branchCodes_.push_back(branch->code);
    converters_.clear();
    for (const auto& c : network.converters)
        converters_.push_back({c->modes, c->vdReference, c->alphaReference, c->gammaReference, c->minTap, c->maxTap});
    generatorBusCount_ = network.generatorBusCount;
    bankBusCount_ = network.bankBusCount;
    zBusCount_ = network.zBusCount;
}

void ControlModes::Restore(Network& network) const {
    for (std::size_t i = 0; i < buses_.size() && i < network.buses.size(); ++i) {
        NetBus& bus = *network.buses[i];
        const BusModes& saved = buses_[i];
        bus.code = saved.code;
        bus.control = saved.control;
        bus.voltageFree = saved.voltageFree;
        bus.voltageTarget = saved.voltageTarget;
        bus.scheduledQ = saved.scheduledQ;
        bus.equivalentB = saved.equivalentB;
        // A bus without extras had none when saved (they are never taken
        // away): nothing of them to restore.
        if (bus.HasExtras()) bus.EditExtras().regulatingGeneratorCount = saved.regulatingGeneratorCount;
    }
    for (std::size_t i = 0; i < branchCodes_.size() && i < network.branches.size(); ++i)
        network.branches[i]->code = branchCodes_[i];
    for (std::size_t i = 0; i < converters_.size() && i < network.converters.size(); ++i) {
        NetConverter& c = *network.converters[i];
        const ConverterModes& saved = converters_[i];
        c.modes = saved.modes;
        c.vdReference = saved.vdReference;
        c.alphaReference = saved.alphaReference;
        c.gammaReference = saved.gammaReference;
        c.minTap = saved.minTap;
        c.maxTap = saved.maxTap;
    }
    network.generatorBusCount = generatorBusCount_;
    network.bankBusCount = bankBusCount_;
    network.zBusCount = zBusCount_;
}
