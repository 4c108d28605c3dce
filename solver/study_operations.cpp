#include "solver.h"

// The changes a host study makes between two solves: loads raised at every
// bus, power moved from one bus to another, a bus voltage stepped. Each
// moves what the next RunPowerFlow solves with. Per unit on 100 MVA.

void Solver::SetBusLoad(NetBus& bus, double loadP, double loadQ) {
    bus.loadPolynomial[0] += loadP - bus.loadP;
    bus.loadPolynomial[3] += loadQ - bus.loadQ;
    bus.loadP = loadP;
    bus.loadQ = loadQ;
    RescaleBusLoad(bus);
}

void Solver::AddLoadDirection(double dP, double dQ) {
    if (!network_ || failed_) return;
    for (const auto& bus : network_->buses) SetBusLoad(*bus, bus->loadP + dP, bus->loadQ + dQ);
}

// `mw` MW more generation at the source and as much more load at the sink.
// Nothing without both buses.
void Solver::Transfer(double mw) {
    if (!transferSource_ || !transferSink_ || failed_) return;
    const double step = mw * 0.01;
    // The generation the next solve starts from moves too, so that its
    // first mismatch already sees both ends of the transfer.
    transferSource_->scheduledP += step;
    transferSource_->generationP += step;
    SetBusLoad(*transferSink_, transferSink_->loadP + step, transferSink_->loadQ);
}

void Solver::AddToBusVoltage(int key, double delta) {
    if (!network_ || failed_) return;
    for (const auto& bus : network_->buses) {
        if (bus->key != key) continue;
        bus->voltage += delta;
        return;
    }
}

// The first bus with each key. A key that no bus has leaves its end
// unselected, whatever an earlier call chose.
int Solver::SelectTransferBuses(int sourceKey, int sinkKey) {
    transferSource_ = nullptr;
    transferSink_ = nullptr;
    if (!network_ || failed_) return 0;
    for (const auto& bus : network_->buses) {
        if (!transferSource_ && bus->key == sourceKey) transferSource_ = bus.get();
        if (!transferSink_ && bus->key == sinkKey) transferSink_ = bus.get();
    }
    return transferSource_ && transferSink_ ? 1 : 0;
}
