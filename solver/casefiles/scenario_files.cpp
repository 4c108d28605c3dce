#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "case_lines.h"
#include "scenario_lines.h"
#include "solver.h"

// What a file run sets up after reading its network and before solving it:
// the direction in which load and generation grow (option K), the starting
// point (option V), the generator models (option 3), the load model
// (option D) and the bus whose voltage a continuation holds (option v).
// Values in these files are per unit on the MVA base, angles in degrees.

namespace {

// The first bus in list order with the line's number, or whose name begins
// with the line's name. Number 0 and the name "0" stand for "not given":
// they match no bus, whatever its number or name. A file names every bus
// of a large network: the buses are found by their number and by their
// sorted names instead of a walk of the list per line.
class ScenarioBusIndex {
public:
    explicit ScenarioBusIndex(const Network& network) : network_(network) {
        const int count = static_cast<int>(network.buses.size());
        firstWithNumber_.reserve(network.buses.size());
        byName_.reserve(network.buses.size());
        for (int place = 0; place < count; ++place) {
            const NetBus& bus = *network.buses[place];
            firstWithNumber_.try_emplace(bus.externalNumber, place);
            byName_.emplace_back(bus.name, place);
        }
        std::sort(byName_.begin(), byName_.end());
    }

    NetBus* Find(const ScenarioLine& line) const {
        int first = static_cast<int>(network_.buses.size());
        if (line.number != 0)
            if (const auto found = firstWithNumber_.find(line.number); found != firstWithNumber_.end())
                first = found->second;
        if (!line.name.empty() && line.name != "0") {
            const std::string_view name = line.name;
            for (auto item = std::lower_bound(byName_.begin(), byName_.end(), std::pair{name, 0});
                 item != byName_.end() && item->first.starts_with(name); ++item)
                first = std::min(first, item->second);
        }
        return first < static_cast<int>(network_.buses.size()) ? network_.buses[first].get() : nullptr;
    }

private:
    const Network& network_;
    std::unordered_map<int, int> firstWithNumber_;            // number to list place
    std::vector<std::pair<std::string_view, int>> byName_;  // name and list place, ascending
};

// A line that names a bus but not the values it needs: the run ends rather
// than go on without them.
[[noreturn]] void RejectLine(Solver& solver, char option, const char* fileName, int lineNumber, const char* what) {
    std::fprintf(solver.Diagnostics(), "Option %c file %s, line %d: %s\n", option, fileName, lineNumber, what);
    solver.Abort(1);
}

}  // namespace

// The lines of the scenario file of `option` that name a bus of the network,
// in file order: each needs at least `minimum` numbers, or the run ends
// with `what`. Lines that name no bus are passed over.
template <class ReadLine>
void Solver::ForEachScenarioBus(char option, const char* fileName, std::size_t minimum, const char* what,
                                ReadLine readLine) {
    FILE* input = OpenInput(fileName);
    CaseLines lines(input);
    std::string text;
    ScenarioLine line;
    const ScenarioBusIndex buses(*network_);
    for (int lineNumber = 1; lines.Next(text); ++lineNumber) {
        if (!ParseScenarioLine(text, line)) continue;
        NetBus* bus = buses.Find(line);
        if (!bus) continue;
        if (line.numbers.size() < minimum) RejectLine(*this, option, fileName, lineNumber, what);
        readLine(*bus, line.numbers);
    }
    CloseFile(input);
}

// Answers 1 when option v chose a bus whose voltage the continuation holds.
int Solver::ReadAuxiliaryFiles() {
    if (RunMode() == 1) return 0;
    Network& network = *network_;

    const char* directionFile = OptionValue('K');
    RequireLoadDirection(IsEmptyValue(directionFile) ? 0.0 : ReadDirectionFile(directionFile));

    const char* startFile = OptionValue('V');
    if (!IsEmptyValue(startFile)) {
        ReadStartingPointFile(startFile);
    } else if (HasOption('V')) {
        // A flat start: every voltage that floats at 1 p.u., every angle at 0.
        for (const auto& bus : network.buses) {
            if (bus->voltageFree) bus->voltage = 1.0;
            bus->angle = 0.0;
        }
    }

    const char* generatorFile = OptionValue('3');
    if (!IsEmptyValue(generatorFile)) ReadGeneratorModelFile(generatorFile);

    SettleLoadModels();
    return ChooseVoltageBus();
}

// Option K, one line per bus: dispatch factor, P and Q directions of the
// load part that follows V^exponent, Pmax, then optionally the apparent-power
// limit, the upper and lower voltage limits shown in the listing, and the P
// direction of the constant-impedance part. Answers the sum of the
// magnitudes of the load directions.
double Solver::ReadDirectionFile(const char* fileName) {
    Network& network = *network_;
    const bool perArea = network.areas.size() >= 2 && switches_.areaControl;
    double sum = 0.0;
    double total = 0.0;
    auto readLine = [&](NetBus& bus, const std::vector<double>& v) {
        bus.generationDirection = v[0];
        bus.shareInUse = v[0];
        bus.loadModelP.baseDirection = v[1];
        bus.loadModelQ.baseDirection = v[2];
        total += std::fabs(v[1]) + std::fabs(v[2]);
        if (v[3] > bus.scheduledP && v[3] > 0.0) bus.maxP = v[3];
        if (v.size() > 4 && v[4] >= bus.maxP && v[4] > 0.0) bus.maxS = v[4];
        if (v.size() > 6 && v[5] > 0.0 && v[6] > 0.0 && v[5] > v[6]) {
            bus.displayMaxVoltage = v[5];
            bus.displayMinVoltage = v[6];
        }
        if (v.size() > 7) {
            bus.loadModelP.impedanceDirection = v[7];
            total += std::fabs(v[7]);
        }
        if (perArea && bus.area)
            bus.area->directionSum += v[0] * v[0];
        else
            sum += v[0] * v[0];
    };
    ForEachScenarioBus('K', fileName, 4, "a bus needs at least four numbers", readLine);
    NormaliseGenerationDirections(sum);
    return total;
}

// Option V, one line per bus: voltage (p.u.; taken when positive and the
// bus's voltage floats) and angle (degrees). Lines may also give a
// converter's starting values; those come with the converter model.
void Solver::ReadStartingPointFile(const char* fileName) {
    auto readLine = [&](NetBus& bus, const std::vector<double>& v) {
        if (v[0] > 0.0 && bus.voltageFree) bus.voltage = v[0];
        bus.angle = v[1] * degreesToRadians_;
    };
    ForEachScenarioBus('V', fileName, 2, "a bus needs a voltage and an angle", readLine);
}

// Option 3, one line per generator: Ra, Xd, Xq, the armature current limit
// and the upper and lower limits of E. A generator bus (code with G, Q, E,
// S or V) with Xd above 0 gets a model, started from its present voltage
// and generation; other lines are passed over.
void Solver::ReadGeneratorModelFile(const char* fileName) {
    auto readLine = [&](NetBus& bus, const std::vector<double>& v) {
        if (!CodeHas(bus.code, "GQESV") || !(v[1] > 0.0)) return;
        if (!bus.generator) ++network_->generatorModelCount;
        InitGeneratorModel(bus, std::span<const double, 6>(v.data(), 6));
    };
    ForEachScenarioBus('3', fileName, 6, "a generator needs six numbers", readLine);
}

// Option v: the voltage (p.u.) at which a load bus is held while the load
// grows. The bus is the one option B numbers, or else the first load bus.
int Solver::ChooseVoltageBus() {
    double voltage = 0.0;
    DoubleOption('v', voltage, 0.0, 10.0);
    if (voltage <= 0.001) return 0;
    const int number = IntOption('B', 0, 0, 9999);
    for (const auto& bus : network_->buses) {
        if (bus->code != "B" && bus->code != "BA") continue;
        if (number != 0 && bus->externalNumber != number) continue;
        bus->voltage = voltage;
        namedContinuationBus_ = bus.get();
        return 1;
    }
    // Holding another bus than the one asked for would trace another study.
    if (number != 0)
        std::fprintf(diagnostics_, "Option B: bus %d is not a load bus, so option v cannot hold its voltage\n", number);
    else
        std::fprintf(diagnostics_, "Option v: the network has no load bus whose voltage could be held\n");
    Abort(1);
}
