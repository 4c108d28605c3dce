#pragma once

#include <string>

struct Network;

// The DC cards of the case files, fixed columns as card_fields.h reads
// them: "BD " a converter, "BZ " its control, "LD " the DC line between two
// converters. Solver::ReadDcCard reads them.

// The cards of every link, rectifier first, in the GROUND form with the
// link's present control and values, then its DC line, so that reading them
// back gives the same links. mvaBase converts the per-unit state to the
// card's units.
std::string DcCards(const Network& network, double mvaBase);
