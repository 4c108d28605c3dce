#include "solver.h"

// What a file run sets up after reading its network and before solving it:
// the starting point and the load model.
int Solver::ReadAuxiliaryFiles() {
    if (runMode_ == 1) return 0;
    Network& network = *network_;

    // Option V without a file: a flat start. Every voltage that floats
    // starts at 1 p.u., every angle at 0.
    if (HasOption('V') && IsEmptyValue(OptionValue('V'))) {
        for (const auto& bus : network.buses) {
            if (bus->regulatedBus) bus->voltage = 1.0;
            bus->angle = 0.0;
        }
    }

    // Without load characteristics every load is constant power.
    for (const auto& bus : network.buses) {
        for (LoadModel* model : {&bus->loadModelP, &bus->loadModelQ}) {
            model->exponent = 0.0;
            model->impedance = 0.0;
        }
        bus->loadModelP.base = bus->loadP;
        bus->loadModelQ.base = bus->loadQ;
    }
    return 0;
}
