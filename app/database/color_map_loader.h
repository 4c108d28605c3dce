#pragma once

#include <functional>

#include "color.h"

class CADODataBase;
class IPrompt;

// Takes the entries of one colour map in the order its table holds them:
// a threshold and the colour of the band below it.
using ColorMapFill = std::function<void(float threshold, ColorRef color)>;

// The three maps the program keeps, by what their value measures.
struct ColorMapTargets {
    ColorMapFill nominalVoltage;  // kV
    ColorMapFill busVoltage;      // voltage index, per unit
    ColorMapFill loading;         // fraction of the limit
};

// Reads the NomVoltageColorMap, BusVoltageColorMap and LoadingColorMap
// tables, in this order, into their maps. A table that cannot be read shows
// "Cannot open <table> table!" and the tables after it are not read; what was
// filled before stays.
void LoadColorMaps(CADODataBase& database, const ColorMapTargets& maps, IPrompt& prompt);
