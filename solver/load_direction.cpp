#include <cmath>
#include <cstdio>

#include "solver.h"

// What the host's direction records and the direction file of a file run
// have in common: the shares of the generation that follows the load, the
// check that the load has somewhere to grow, and the load model.

// `sum` is the global sum of the squared generation shares; with two or more
// areas under interchange control each area keeps its own sum instead.
void Solver::NormaliseGenerationDirections(double sum) {
    Network& network = *network_;
    if (network.areas.size() >= 2 && switches_.areaControl) {
        // Each area's slack takes up its area's increase when nothing else does.
        for (const auto& area : network.areas) {
            if (area->directionSum != 0.0) continue;
            area->directionSum = 1.0;
            if (area->areaBus) area->areaBus->generationDirection = 1.0;
        }
    } else if (IsEmptyValue(OptionValue('6'))) {
        switches_.generationIncrease = sum > 0.0;
        if (sum == 0.0) {
            // No generation follows the load: the slack takes it all.
            for (const auto& bus : network.buses) {
                if (!CodeHas(bus->code, "S")) continue;
                bus->generationDirection = 1.0;
                sum = 1.0;
                break;
            }
        }
        if (sum > 0.0) {
            const double norm = std::sqrt(sum);
            for (const auto& bus : network.buses) bus->generationDirection /= norm;
        }
    }
    // The equations share the slack's power by the working copies: they
    // follow the direction as it now stands, so that a slack that takes it
    // all does so from the first iteration.
    for (const auto& bus : network.buses) bus->shareInUse = bus->generationDirection;
}

bool Solver::LoadDirectionGiven() const {
    return !IsEmptyValue(OptionValue('K')) || inputGave_.loadDirection;
}

// `total` is the sum of the magnitudes of every load direction that option
// K gave. A continuation, a point of collapse and a held voltage (option v)
// need the load to grow: without a direction from K or from the input the
// run ends once its files are read, before anything is solved or written.
void Solver::RequireLoadDirection(double total) {
    if (total != 0.0 || inputGave_.loadDirection) return;
    if (HasOption('v') || (!HasOption('L') && (HasOption('H') || HasOption('c') || HasOption('C')))) {
        std::fprintf(diagnostics_, "The load-increase direction is zero\n");
        Abort(1);
    }
}

// The load characteristics of option D, else the exponents that the input
// gave, else constant power: the whole load follows V^0. A file of option D
// that opens replaces the input's exponents, even when no row applies.
void Solver::SettleLoadModels() {
    if (ReadLoadCharacteristics(OptionValue('D')) || inputGave_.loadExponents) return;
    for (const auto& bus : network_->buses) {
        for (LoadModel* model : {&bus->loadModelP, &bus->loadModelQ}) {
            model->exponent = 0.0;
            model->impedance = 0.0;
        }
        bus->loadModelP.base = bus->loadP;
        bus->loadModelQ.base = bus->loadQ;
    }
}
