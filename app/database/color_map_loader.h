#pragma once

class CADODataBase;
class ColorMap;
class IPrompt;

// The three maps the program keeps, by what their value measures. Borrowed.
struct ColorMapTargets {
    ColorMap& nominalVoltage;  // kV
    ColorMap& busVoltage;      // voltage index, per unit
    ColorMap& loading;         // fraction of the limit
};

// Adds the rows of the NomVoltageColorMap, BusVoltageColorMap and
// LoadingColorMap tables, in this order, to their maps, each row in table
// order (so a repeated threshold keeps the colour of its first row). A table
// that cannot be read shows "Cannot open <table> table!" and the tables after
// it are not read; what was added before stays.
void LoadColorMaps(CADODataBase& database, const ColorMapTargets& maps, IPrompt& prompt);
