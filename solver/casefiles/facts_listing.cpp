#include "facts_listing.h"

#include <cmath>

#include "number_text.h"
#include "solution_values.h"

namespace {

constexpr double kDegreesPerRadian = 180.0 / kPi;
const double kSqrt3 = std::sqrt(3.0);

// Number, name, voltage and angle in degrees of a bus.
std::string BusColumns(const NetBus& bus) {
    return FormatInCLocale("%4d %12s %6.4f %6.2f ", ListedNumber(bus), bus.name.c_str(), bus.voltage,
                           WrappedAngle(bus.angle) * kDegreesPerRadian);
}

int AreaNumber(const NetBus& bus) {
    return bus.area ? bus.area->number : 0;
}

// "L" at or below the lower limit, "H" at or above the upper.
const char* AngleLetter(double alpha, double low, double high) {
    return alpha <= low ? "L" : alpha >= high ? "H" : " ";
}

// kA per p.u. of current at a bus of `kv`.
double KiloAmperes(double base, double kv) {
    return base / (kSqrt3 * kv);
}

}  // namespace

std::string SvcListingRows(const Network& network, double base) {
    std::string out;
    int number = 0;
    for (const auto& owned : network.svcs) {
        const NetSvc& svc = *owned;
        out += FormatInCLocale("-99\n%3d %2d ", ++number, AreaNumber(*svc.controlledBus)) +
               BusColumns(*svc.terminalBus) + BusColumns(*svc.controlledBus) +
               FormatInCLocale("%8.2f %8.2f%s%8.4f \n\n", svc.q * base, svc.alpha * kDegreesPerRadian,
                               AngleLetter(svc.alpha, svc.minAlpha, svc.maxAlpha), svc.be);
    }
    return out;
}

// The scheduled value of the control in the card's unit: the susceptance
// held (p.u.), MW, kA or degrees.
std::string TcscListingRows(const Network& network, double base) {
    std::string out;
    int number = 0;
    for (const auto& owned : network.tcscs) {
        const NetTcsc& tcsc = *owned;
        const double kiloAmperes = KiloAmperes(base, tcsc.from->baseKv);
        const char control = tcsc.controlCode.empty() ? ' ' : tcsc.controlCode[0];
        out += FormatInCLocale("-99\n%3d %2d ", ++number, AreaNumber(*tcsc.from)) + BusColumns(*tcsc.from) +
               BusColumns(*tcsc.to) +
               FormatInCLocale("%8.2f %8.2f %8.2f %8.2f %8.2f%s%8.3f %8.4f  %c  ", tcsc.p * base, tcsc.qk * base,
                               tcsc.qm * base, -1.0 / tcsc.bt, tcsc.alpha * kDegreesPerRadian,
                               AngleLetter(tcsc.alpha, tcsc.minAlpha, tcsc.maxAlpha), tcsc.current * kiloAmperes,
                               tcsc.angleSetting * kDegreesPerRadian, control);
        switch (control) {
        case 'X':
            out += FormatInCLocale(" %8.3f", tcsc.susceptanceTarget);
            break;
        case 'P':
            out += FormatInCLocale(" %8.3f", tcsc.target * base);
            break;
        case 'I':
            out += FormatInCLocale(" %8.3f", tcsc.target * kiloAmperes);
            break;
        case 'D':
            out += FormatInCLocale(" %8.3f", tcsc.target * kDegreesPerRadian);
            break;
        }
        out += "\n\n";
    }
    return out;
}

// The converter's voltage Vdc mr with its two factors and its angle psi,
// P and Q, the current in kA and on the device's rating with its limit
// letter, and the current's angle.
std::string StatcomListingRows(const Network& network, double base) {
    std::string out;
    int number = 0;
    for (const auto& owned : network.statcoms) {
        const NetStatcom& st = *owned;
        const NetBus& bus = *st.terminalBus;
        const double rating = st.rating > 0.0 ? st.rating : base;
        const char* letter = st.current >= st.negativeQLimit && st.q < 0.0   ? "L"
                             : st.current >= st.positiveQLimit && st.q > 0.0 ? "H"
                                                                             : " ";
        out += FormatInCLocale("-99\n%3d %2d ", ++number, AreaNumber(bus)) + BusColumns(*st.controlledBus) +
               FormatInCLocale("%4d %12s %6.4f %8.6f %8.6f %8.3f %8.4f %8.2f %8.3f       %8.3f%s%8.3f \n\n",
                               ListedNumber(bus), st.name.c_str(), st.vdc * st.mr, st.vdc, st.mr,
                               st.psi * kDegreesPerRadian, st.p * base, st.q * base,
                               st.current * KiloAmperes(base, bus.baseKv), st.current * base / rating, letter,
                               WrappedAngle(st.phi) * kDegreesPerRadian);
    }
    return out;
}
