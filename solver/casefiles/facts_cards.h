#pragma once

#include <string>

class Solver;
struct Network;

// The FACTS cards of the case files: "FS " (SVC), "FC " (TCSC) and "FT "
// (STATCOM), fixed columns as card_fields.h reads them. Buses are named by
// their 12-character names and must exist.

// Reads one card into the solver's network. Answers what is wrong with the
// card, empty when it was read.
std::string ReadFactsCard(Solver& solver, const std::string& line);

// One card per device, SVCs, TCSCs and STATCOMs, each list in its order,
// with the values its card gave, so that reading them back gives the same
// devices. A voltage setpoint fills its four columns (1.015, not 1.0), and a
// current limit that the card left open goes back as 0, which reads as
// open again.
std::string FactsCards(const Network& network);
