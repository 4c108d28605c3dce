#include <cmath>
#include <cstdio>

#include "number_text.h"
#include "solution_values.h"
#include "solver.h"

// Checks of a solved network before anything is handed on: every value a
// listing, a table, a case file or the result cursor shows must be a
// number, and a solution far outside the usual voltages deserves a word.

namespace {

// The voltages (p.u.) within which a solution looks like an operating point.
constexpr double kLowestPlausibleVoltage = 0.5;
constexpr double kHighestPlausibleVoltage = 2.0;

}  // namespace

// Whether the state and everything derived from it is finite: voltages,
// angles, generation, slack powers, the loads at the present load
// parameter and the ratios and shifts of the branches.
bool Solver::SolutionFinite() const {
    if (!network_ || !std::isfinite(lambda_)) return false;
    std::size_t place = 0;
    for (const auto& bus : network_->buses) {
        const double v = bus->voltage;
        const LoadModel& p = equationArrays_.LoadModelP(*bus, place);
        const LoadModel& q = equationArrays_.LoadModelQ(*bus, place++);
        for (double value : {v, bus->angle, bus->generationP, bus->generationQ, bus->slackPower, bus->areaPower,
                             LoadAt(p, v, lambda_), LoadAt(q, v, lambda_)})
            if (!std::isfinite(value)) return false;
    }
    for (const auto& branch : network_->branches)
        if (!std::isfinite(branch->tap) || !std::isfinite(branch->shift)) return false;
    return true;
}

// Ends the run before a result that is not finite goes anywhere.
void Solver::RequireFiniteSolution() {
    if (SolutionFinite()) return;
    std::fprintf(diagnostics_, "The solution holds values that are not finite numbers\n");
    Abort(1);
}

// A converged power flow whose voltages lie far from 1 p.u. solves the
// equations but hardly the network meant: it says so once, naming the
// lowest and the highest bus. The run still succeeds.
void Solver::ReportImplausibleVoltages() {
    const NetBus* lowest = nullptr;
    const NetBus* highest = nullptr;
    for (const auto& bus : network_->buses) {
        if (!lowest || bus->voltage < lowest->voltage) lowest = bus.get();
        if (!highest || bus->voltage > highest->voltage) highest = bus.get();
    }
    if (!lowest || (lowest->voltage >= kLowestPlausibleVoltage && highest->voltage <= kHighestPlausibleVoltage))
        return;
    auto name = [](const NetBus& bus) { return bus.name.substr(0, bus.name.find_last_not_of(' ') + 1); };
    Warn(FormatInCLocale("The solution lies outside 0.5 to 2 p.u.: lowest voltage %.4g p.u. at bus %d %s, highest "
                         "%.4g p.u. at bus %d %s",
                         lowest->voltage, ListedNumber(*lowest), name(*lowest).c_str(), highest->voltage,
                         ListedNumber(*highest), name(*highest).c_str()));
}

// A warning goes to the host's message window, or in a file run to the
// diagnostics.
void Solver::Warn(const std::string& text) {
    if (sink_)
        sink_->AddMessage(IMessageSink::Warning, text.c_str());
    else if (RunMode() == 0)
        std::fprintf(diagnostics_, "%s\n", text.c_str());
}
