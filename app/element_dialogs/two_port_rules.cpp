#include "two_port_rules.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "branch_data.h"

namespace BD = BranchData;

namespace {

std::string Percent(double load, double rating) {
    char text[64];
    std::snprintf(text, sizeof text, "%.2f", load / rating * 100.0);
    return text;
}

double At(std::span<const double> record, int index) {
    return static_cast<std::size_t>(index) < record.size() ? record[index] : 0.0;
}

}  // namespace

std::string LineLoadFactorText(std::span<const double> record) {
    const double rating = At(record, BD::kRating);
    if (!(rating > 0)) return "Imax not defined";
    return Percent(At(record, BD::kCurrent), rating);
}

std::string TransformerLoadFactorText(std::span<const double> record) {
    const double rating = At(record, BD::kRating);
    if (!(rating > 0)) return "Sn not defined";
    const double from = std::hypot(At(record, BD::kPFrom), At(record, BD::kQFrom));
    const double to = std::hypot(At(record, BD::kPTo), At(record, BD::kQTo));
    return Percent(std::max(from, to), rating);
}

int LoadFactorFlag(bool shown, bool asPercentage) {
    if (!shown) return 0;
    return asPercentage ? 2 : 1;
}

RegulationLayout RegulationLayoutFor(int type, bool tapAtFrom) {
    RegulationLayout layout;
    layout.controlledBusEnabled = type == 0;
    const bool phaseShifter = type == 3 || type == 4;
    layout.minimumLabel = phaseShifter ? "Min phase angle [deg]:" : "Min tap [kV]:";
    layout.maximumLabel = phaseShifter ? "Max phase angle [deg]:" : "Max tap [kV]:";
    if (!phaseShifter) {
        layout.fromTapEnabled = !tapAtFrom;
        layout.toTapEnabled = tapAtFrom;
    }
    layout.firstQuantityIndex = BD::kBandMinimum;
    layout.secondQuantityIndex = BD::kBandMinimum;
    switch (type) {
        case 1: layout.firstQuantityLabel = "Scheduled MVAr of 'To' bus:"; break;
        case 3: layout.firstQuantityLabel = "Scheduled MW of 'To\" bus:"; break;
        case 2:
            layout.firstQuantityLabel = "Max MVAr out of 'To' bus:";
            layout.secondQuantityLabel = "Min MVAr out of 'To':";
            layout.firstQuantityIndex = BD::kBandMaximum;
            break;
        case 4:
            layout.firstQuantityLabel = "Max MW out of 'To' bus:";
            layout.secondQuantityLabel = "Min MW out of 'To':";
            layout.firstQuantityIndex = BD::kBandMaximum;
            break;
        default: break;
    }
    return layout;
}
