#pragma once

#include <string>

#include "network.h"

// Values of a solved network as the case-file writers and the listing show
// them. Nothing here changes the model.

// The number a bus goes by in the files: its external number, or its
// internal one when the input gave it none.
int ListedNumber(const NetBus& bus);

// `number` in a `width`-column field ("%*d"), or stars over the field when it
// needs more columns than that.
std::string NumberOrStars(int number, int width);

// An angle in radians brought into (-pi, pi] by whole turns of the engine's
// own 2 pi, so that a listing and a file written from it agree.
double WrappedAngle(double radians);

// A bus load (P or Q, p.u.) at voltage `voltage` and load parameter `lambda`.
double LoadAt(const LoadModel& model, double voltage, double lambda);

// Flows into a branch at its two ends, p.u., from its pi model: the tap t and
// the shift at the from end.
struct EndFlows {
    double fromP = 0.0;
    double fromQ = 0.0;
    double toP = 0.0;
    double toQ = 0.0;
};
EndFlows BranchFlows(const NetBranch& branch);
