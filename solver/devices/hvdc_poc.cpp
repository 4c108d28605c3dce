#include <array>
#include <cmath>

#include "../poc_terms.h"

// The HVDC links' curvature in the point-of-collapse system: for each link,
// sum_k w_k d2f_k / dx_a dx_b over its eleven rows k, entered in block 2 at
// (n + a, b). Their part of block 2's mismatch (J'w) comes from their plain
// Jacobian entries. The rows that take a converter's P and Q (its AC bus's
// balances, the area rows of a DC tie) are linear in them and have none.

namespace {

// A converter's unknowns as its columns hold them: the ratio a = tap nr
// and the cosines of the angles, not the tap and the angles.
enum ConverterUnknown { kVd, kRatio, kCosAlpha, kCosGamma, kApparent, kActive, kConverterUnknowns };
// The link's local unknowns: the rectifier's, the inverter's, the current
// and the two AC buses' voltages (the angles do not enter its rows).
enum LinkUnknown {
    kRectifier = 0,
    kInverter = kConverterUnknowns,
    kCurrent = 2 * kConverterUnknowns,
    kRectifierVoltage,
    kInverterVoltage,
    kLinkUnknowns
};
using T = SecondOrder<kLinkUnknowns>;

constexpr double kK1 = 1.350474474059324;  // 3 sqrt 2 / pi

struct ConverterTerms {
    T vd, a, cosAlpha, cosGamma, s, p;
};

ConverterTerms TermsOf(const NetConverter& c, int first) {
    return {T::Unknown(first + kVd, c.vd),
            T::Unknown(first + kRatio, c.tap * c.nominalRatio),
            T::Unknown(first + kCosAlpha, std::cos(c.alpha)),
            T::Unknown(first + kCosGamma, std::cos(c.gamma)),
            T::Unknown(first + kApparent, c.s),
            T::Unknown(first + kActive, c.p)};
}

// The column of each local unknown; 0 where a code holds it or where the
// bus's voltage is not an unknown.
std::array<int, kLinkUnknowns> LinkColumns(const NetConverter& r) {
    const HvdcColumns col = HvdcColumnsOf(r);
    std::array<int, kLinkUnknowns> columns{};
    auto end = [&](const HvdcColumns::End& e, int first) {
        columns[first + kVd] = e.vd;
        columns[first + kRatio] = e.a;
        columns[first + kCosAlpha] = e.cosAlpha;
        columns[first + kCosGamma] = e.cosGamma;
        columns[first + kApparent] = e.s;
        columns[first + kActive] = e.p;
    };
    end(col.rectifier, kRectifier);
    end(col.inverter, kInverter);
    columns[kCurrent] = col.id;
    columns[kRectifierVoltage] = PocVoltageColumn(*r.acBus);
    columns[kInverterVoltage] = PocVoltageColumn(*r.partner->acBus);
    return columns;
}

// The link's rows weighted by their multipliers w[h] .. w[h + 10], their
// linear parts left out: the DC voltage and overlap rows of each end, the
// apparent and active powers, and Q + sqrt(S^2 - P^2) (S above |P|).
T WeightedRows(const NetConverter& r, const std::vector<double>& w, int h) {
    const NetConverter& i = *r.partner;
    const ConverterTerms cr = TermsOf(r, kRectifier);
    const ConverterTerms ci = TermsOf(i, kInverter);
    const T id = T::Unknown(kCurrent, r.id);
    const T vr = T::Unknown(kRectifierVoltage, r.acBus->voltage);
    const T vi = T::Unknown(kInverterVoltage, i.acBus->voltage);
    const T rectifierAc = cr.a * vr;
    const T inverterAc = ci.a * vi;
    return (-kK1 * w[h]) * (rectifierAc * cr.cosAlpha) + (-kK1 * w[h + 1]) * (rectifierAc * id) +
           w[h + 2] * (cr.vd * id) + w[h + 3] * pow(cr.s * cr.s - cr.p * cr.p, 0.5) +
           (-kK1 * w[h + 4]) * (inverterAc * ci.cosGamma) + (-kK1 * w[h + 5]) * (inverterAc * id) +
           (-w[h + 6]) * (ci.vd * id) + w[h + 7] * pow(ci.s * ci.s - ci.p * ci.p, 0.5) +
           (-w[h + 8]) * (rectifierAc * (cr.cosAlpha + cr.cosGamma)) +
           (-w[h + 9]) * (inverterAc * (ci.cosAlpha + ci.cosGamma));
}

}  // namespace

// True, with the fault noted, at a link whose converter has no reactive
// power (its apparent power not above its active power): its rows have no
// value there, and none of its rows is written.
bool Solver::PocHvdcRows(bool jacobian) {
    const std::vector<double>& w = nullVector_;
    for (const auto& owned : network_->converters) {
        const NetConverter& r = *owned;
        if (r.code != "R") continue;
        const NetConverter& i = *r.partner;
        if (r.s * r.s - r.p * r.p <= 0.0 || i.s * i.s - i.p * i.p <= 0.0) {
            hvdcFault_ = "HVDC link " + r.name + "-" + i.name +
                         ": the apparent power of a converter is not above its active power";
            return true;
        }
        if (!jacobian) continue;
        const auto columns = LinkColumns(r);
        EnterCurvature(*this, columns, columns, WeightedRows(r, w, r.base + 1));
    }
    return false;
}
