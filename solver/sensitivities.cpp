#include <algorithm>
#include <cfloat>
#include <cmath>
#include <vector>

#include "solver.h"

// The linear sensitivity factors of one bus: how its angle moves per unit of
// active power and its voltage per unit of reactive power injected at each
// bus, read from the inverse of the Jacobian at the operating point of the
// last solve. Row k of the inverse is unknown k's change per unit of each
// mismatch; a mismatch is specified minus calculated, so a factor is the
// negative of the change per unit injected (radians or p.u. per p.u. on
// 100 MVA).

namespace {

// A bus whose voltage is an unknown of its own.
bool IsLoadBus(const NetBus& bus) {
    return bus.code == "B" || bus.code == "BA";
}

// While alive, every load is held at constant power, its scheduled P and Q
// whatever the voltage and with no load-parameter part, so that the AC
// equations enter no load terms; then the load models are as they were.
class ScheduledLoads {
public:
    explicit ScheduledLoads(Network& network) : network_(network) {
        saved_.reserve(network.buses.size());
        for (const auto& bus : network.buses) {
            saved_.push_back({bus->loadModelP, bus->loadModelQ});
            bus->loadModelP = LoadModel{.base = bus->loadP};
            bus->loadModelQ = LoadModel{.base = bus->loadQ};
        }
    }
    ~ScheduledLoads() {
        std::size_t i = 0;
        for (const auto& bus : network_.buses) {
            bus->loadModelP = saved_[i].p;
            bus->loadModelQ = saved_[i].q;
            ++i;
        }
    }
    ScheduledLoads(const ScheduledLoads&) = delete;
    ScheduledLoads& operator=(const ScheduledLoads&) = delete;

private:
    struct Models {
        LoadModel p;
        LoadModel q;
    };
    Network& network_;
    std::vector<Models> saved_;
};

}  // namespace

// Assembled by the AC equations into the sparse store, then copied: the
// unknowns of the devices, after those of the buses, are left out. Singular
// as a dense inversion would find it: a pivot within rounding of the
// largest entry (n eps |A|max) counts as zero.
std::optional<SparseMatrix> Solver::FactorisedBusJacobian() {
    ReleaseMatrix();
    NumberVariables();
    int status = 0;
    {
        ScheduledLoads constantPower(*network_);
        AcEquations(status, Evaluate::Jacobian, Loads::Models);
    }
    const int m = busVariableCount_;
    SparseMatrix jacobian(m, m);
    double largest = 0.0;
    for (int i = 1; status >= 0 && i <= matrix_.EntryCount(); ++i) {
        const MatrixEntry& entry = matrix_.Entry(i);
        if (entry.row > m || entry.column > m) continue;
        jacobian.AddElement(entry.row, entry.column, entry.value);
        largest = std::max(largest, std::fabs(entry.value));
    }
    ClearMatrix();
    if (status < 0 || !std::isfinite(largest)) return std::nullopt;
    if (!jacobian.OrderAndFactor(PivotThreshold()) || jacobian.SmallestPivot() <= m * DBL_EPSILON * largest)
        return std::nullopt;
    return jacobian;
}

// One entry per bus of the list, in list order, appended to each of the four
// arrays; false, with the arrays as they were, when no bus has the key or
// the Jacobian cannot be built or inverted.
bool Solver::GetSensitivities(int busKey, std::vector<double>& angleFactors, std::vector<int>& angleKeys,
                              std::vector<double>& voltageFactors, std::vector<int>& voltageKeys) {
    return Guarded(false, [&] {
        if (!network_ || failed_) return false;
        const NetBus* chosen = nullptr;
        for (const auto& bus : network_->buses) {
            if (bus->key != busKey) continue;
            chosen = bus.get();
            break;
        }
        if (!chosen) return false;
        std::optional<SparseMatrix> jacobian = FactorisedBusJacobian();
        if (!jacobian) return false;

        // Rows of the inverse for the chosen bus's angle and, for a load
        // bus, its voltage: row k of the inverse of J solves J' y = e(k).
        const int m = jacobian->Rows();
        const auto inverseRow = [&](int k) {
            std::vector<double> row(static_cast<std::size_t>(m) + 1, 0.0);
            row[k] = 1.0;
            jacobian->SolveTransposed(row);
            return row;
        };
        const std::vector<double> angleRow = inverseRow(chosen->firstVariable);
        const std::vector<double> voltageRow =
            IsLoadBus(*chosen) ? inverseRow(chosen->firstVariable + 1) : std::vector<double>();
        // Nothing below can fail once the room is there.
        const std::size_t count = network_->buses.size();
        angleFactors.reserve(angleFactors.size() + count);
        angleKeys.reserve(angleKeys.size() + count);
        voltageFactors.reserve(voltageFactors.size() + count);
        voltageKeys.reserve(voltageKeys.size() + count);
        for (const auto& bus : network_->buses) {
            double angle = 0.0;
            double voltage = 0.0;
            // A slack's angle is held: its column holds its power.
            if (!CodeHas(bus->code, "S")) {
                const int column = bus->firstVariable;
                angle = angleRow[column];
                // The column after a load bus's active-power balance is its
                // reactive-power balance; a bus holding its voltage has none.
                if (!voltageRow.empty() && IsLoadBus(*bus)) voltage = voltageRow[column + 1];
            }
            angleFactors.push_back(angle);
            angleKeys.push_back(bus->key);
            voltageFactors.push_back(voltage);
            voltageKeys.push_back(bus->key);
        }
        return true;
    });
}
