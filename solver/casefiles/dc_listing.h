#pragma once

#include <string>

#include "network.h"

// The HVDC parts of the solution listing: MW, Mvar, kV and A, angles in
// degrees; the DC voltage and current on each converter's AC kV.

// The two lines of a converter at its AC bus, after `head` and `qPart` (50
// characters each: the bus's own or blanks): the power it draws, its firing angle
// and tap, then the reactive power it draws and its extinction angle.
std::string ConverterListingLines(const NetConverter& c, const std::string& head, const std::string& qPart,
                                  double base);

// One row of the area's interchange per DC tie of the area, the first
// directly after the area's head, the later ones behind 51 blanks and "|";
// `exported` grows by the MW each row sends out of the area (p.u.), and
// `rows` counts the rows.
std::string AreaDcRows(const NetArea& area, double base, double& exported, int& rows);

// Two lines per link, rectifier then inverter.
std::string HvdcListingRows(const Network& network, double base);
