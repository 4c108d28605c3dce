#pragma once

#include <string>

class PowerSystem;

// Lays the IEEE 14-bus case out as a one-line diagram in the model: every
// bus as a vertical bar at its place, its generators (synchronous
// compensators where the case schedules no MW), loads and fixed shunts
// hung from it, and every branch as a line or a transformer drawn between
// the bars, each made as its tool makes it. The case's solved voltages, its
// schedules and branch parameters become the elements' values. Throws
// std::runtime_error when the case is not the 14-bus network this layout is
// drawn for.
void DrawIeee14Diagram(PowerSystem& model, const std::string& casePath);
