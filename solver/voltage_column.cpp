#include "solver.h"

// The one decision of what each bus's voltage column holds, by its code,
// its control and the switches of the run: the first rule that matches.
// Taken again whenever a bus changes what holds its voltage.

namespace {

VoltageColumn Classify(const NetBus& bus, const RunSwitches& sw) {
    const std::string& code = bus.code;
    if (code == "B" || code == "BA") return VoltageColumn::Voltage;
    if (CodeHas(code, "V") && bus.control == 'Q') return VoltageColumn::ScheduledQVoltage;
    if (CodeHas(code, "V") && bus.control == 'V') return VoltageColumn::ScheduledQHeld;
    if (CodeHas(code, "L")) return VoltageColumn::LoadParameter;
    const bool generator = CodeHas(code, "QS") || (CodeHas(code, "G") && !sw.remoteVoltageControl);
    if (generator) return bus.control == 'V' ? VoltageColumn::GeneratorQ : VoltageColumn::GeneratorVoltage;
    if (CodeHas(code, "X")) return VoltageColumn::BankVoltage;
    if (CodeHas(code, "Z")) return bus.control == 'V' ? VoltageColumn::ZBusQ : VoltageColumn::ZBusVoltage;
    if (CodeHas(code, "R")) return VoltageColumn::BandVoltage;
    if (CodeHas(code, "T") && sw.voltageTransformerControl && !bus.voltageFree) return VoltageColumn::TransformerTap;
    if (CodeHas(code, "C") && sw.remoteVoltageControl)
        return bus.extras().regulatingGeneratorCount < 1 ? VoltageColumn::RemoteVoltage : VoltageColumn::RemoteQ;
    return VoltageColumn::Voltage;
}

}  // namespace

void Solver::ClassifyBuses() {
    busFieldsHeld_ = false;
    codedBuses_.held = false;
    for (const auto& bus : network_->buses) bus->voltageColumn = Classify(*bus, switches_);
}
