#pragma once

#include <map>
#include <string>
#include <vector>

#include "drawn_network.h"
#include "power_line.h"

// A public test network in the IEEE common data format drawn as a one-line
// diagram of the program's own elements: every bus a bar, every line and
// transformer drawn from its from bus to its to bus, and a generator, a
// constant-power load (1 % shares in a load increase, which the slack
// alone meets) and a shunt on the
// buses that have them. Generator buses hold their voltage without reactive
// limits. With a flat start every bus starts at 1.0 p.u. and 0 degrees
// (generator buses at their desired voltage), else at the file's values.
class CdfModel {
public:
    explicit CdfModel(const std::string& path, bool flatStart = true);

    PowerSystem& model() const { return drawing_.model(); }
    // The bus of a CDF bus number.
    Bus& BusNumbered(int number) const { return *buses_.at(number); }
    const std::map<int, Bus*>& Buses() const { return buses_; }
    // The lines and transformers in the file's order.
    const std::vector<PowerLine*>& Branches() const { return branches_; }

private:
    DrawnNetwork drawing_;
    std::map<int, Bus*> buses_;
    std::vector<PowerLine*> branches_;
};
