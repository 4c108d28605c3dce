#include <algorithm>
#include <cmath>
#include <cstdio>

#include "device_terms.h"

// Two-terminal HVDC links: set-up, the eleven equations of a link, the
// control switching at limits and the steps. A link's quantities are per
// unit on the MVA base and on its DC base voltage, the rectifier's AC kV.

namespace {

// The converter constants: 3 sqrt 2 / pi and 3 / pi.
constexpr double kK1 = 1.350474474059324;
constexpr double kK2 = 0.9549296584266841;
constexpr double kSqrt2 = 1.4142135623730951;
// Starting angles (degrees) of a converter whose codes do not hold them.
constexpr double kStartAlpha = 15.0;
constexpr double kStartGamma = 18.0;

// A code that names the current or the power.
bool HoldsCurrentOrPower(const std::string& code) {
    return CodeHas(code, "IP");
}

bool TapAtLimit(const NetConverter& c) {
    return c.tap >= c.maxTap || c.tap <= c.minTap;
}

// The extinction angle that the steps and the switching hold to: the one
// remembered by the reset, else the minimum.
double GammaReference(const NetConverter& c) {
    return c.gammaReference != 0.0 ? c.gammaReference : c.minGamma;
}

// The overlap relation solved for the angle it leaves free.
double OtherCosine(double ratio, double voltage, double xc, double id, double cosine) {
    return std::clamp(kSqrt2 * xc * id / (ratio * voltage) - cosine, -1.0, 1.0);
}

}  // namespace

HvdcColumns HvdcColumnsOf(const NetConverter& rectifier) {
    HvdcColumns columns;
    int next = rectifier.base + 1;
    auto take = [&](const NetConverter& c, const char* mode) { return c.Holds(mode) ? 0 : next++; };
    auto end = [&](const NetConverter& c, HvdcColumns::End& e) {
        e.vd = take(c, "VD");
        e.a = take(c, "AT");
        e.cosAlpha = take(c, "AL");
        e.cosGamma = take(c, "GA");
        e.s = next++;
        e.p = take(c, "PA");
        e.q = take(c, "QA");
    };
    end(rectifier, columns.rectifier);
    end(*rectifier.partner, columns.inverter);
    columns.id = LinkHolds(rectifier, "ID") ? 0 : next++;
    columns.count = next - rectifier.base - 1;
    return columns;
}

// Per link: the DC base, the card's values in per unit, and a start in
// which every quantity that the codes do not hold agrees with those that
// they do.
void Solver::InitHvdc() {
    for (const auto& owned : network_->converters) {
        NetConverter& r = *owned;
        if (r.code != "R") continue;
        NetConverter& i = *r.partner;
        const double base = r.acBus->baseKv;
        const double zBase = base * base / mvaBase_;
        const double kiloAmperes = mvaBase_ / base;  // the current base
        for (NetConverter* c : {&r, &i}) {
            c->dcBaseKv = base;
            c->xc = c->commutatingOhms / zBase;
            c->nominalRatio = c->ratio * c->acBus->baseKv / base;
            if (c->scheduledTap > 0.0) c->tap = c->scheduledTap;
            c->minAlpha = c->minAngle * degreesToRadians_;
            c->maxAlpha = c->maxAngle * degreesToRadians_;
            c->minGamma = c->minAngle * degreesToRadians_;
            c->alpha = (c->scheduledAlpha > 0.0 ? c->scheduledAlpha : std::max(kStartAlpha, c->minAngle)) *
                       degreesToRadians_;
            c->gamma = (c->scheduledGamma > 0.0 ? c->scheduledGamma : std::max(kStartGamma, c->minAngle)) *
                       degreesToRadians_;
        }
        r.resistance = i.resistance = r.resistanceOhms / zBase;

        // In kV and kA first, the firing angle at the rectifier and the
        // extinction angle at the inverter.
        double id = 0.001 * (r.scheduledCurrent > 0.0 ? r.scheduledCurrent : i.scheduledCurrent);
        auto voltage = [&](const NetConverter& c, double cosine) {
            if (c.scheduledVoltage > 0.0) return c.scheduledVoltage;
            return std::fabs(kK1 * c.tap * c.ratio * c.acBus->voltage * c.acBus->baseKv * cosine -
                             kK2 * c.commutatingOhms * id);
        };
        const double vdr = voltage(r, std::cos(r.alpha));
        const double vdi = voltage(i, std::cos(i.gamma));
        // A scheduled power gives the current at its end's DC voltage.
        const NetConverter& powered = r.scheduledP != 0.0 ? r : i;
        const double poweredVd = &powered == &r ? vdr : vdi;
        if (id <= 0.0 && powered.scheduledP != 0.0 && poweredVd > 0.0) id = std::fabs(powered.scheduledP) / poweredVd;
        if (id <= 0.0) {
            if (r.resistanceOhms == 0.0) {
                std::fprintf(diagnostics_, "HVDC link %s-%s: no current is given and the line has no resistance\n",
                             r.name.c_str(), i.name.c_str());
                Abort(1);
            }
            id = std::fabs(vdr - vdi) / r.resistanceOhms;
        }
        r.id = i.id = id / kiloAmperes;
        r.vd = vdr / base;
        i.vd = vdi / base;
        for (NetConverter* c : {&r, &i}) {
            const double sign = c == &r ? -1.0 : 1.0;
            const double angle = c == &r ? c->alpha : c->gamma;
            c->p = c->scheduledP != 0.0 ? sign * std::fabs(c->scheduledP) / mvaBase_ : sign * c->vd * r.id;
            c->q = c->scheduledQ != 0.0 ? -std::fabs(c->scheduledQ) / mvaBase_
                                        : -std::fabs(r.id * std::tan(angle) * c->vd);
            c->s = std::hypot(c->p, c->q);
        }
        const double ar = r.tap * r.nominalRatio, ai = i.tap * i.nominalRatio;
        r.gamma = std::acos(OtherCosine(ar, r.acBus->voltage, r.xc, r.id, std::cos(r.alpha)));
        i.alpha = std::acos(OtherCosine(ai, i.acBus->voltage, i.xc, r.id, std::cos(i.gamma)));
    }
}

// Rows base + 1 .. base + 11 of each link; P and Q go into the rows of the
// converters' AC buses and, on a DC tie between two areas, into the area
// rows. True, with the fault noted, when a converter's apparent power is not
// above its active power: its reactive power has no value there.
bool Solver::HvdcEquations(Evaluate evaluate) {
    DeviceTerms terms(*this, evaluate);
    const bool areaMode = switches_.areaControl && network_->areas.size() >= 2;
    for (const auto& owned : network_->converters) {
        const NetConverter& r = *owned;
        if (r.code != "R") continue;
        const NetConverter& i = *r.partner;
        const HvdcColumns col = HvdcColumnsOf(r);
        const int h = r.base + 1;
        const double id = r.id;
        const double rootR = r.s * r.s - r.p * r.p, rootI = i.s * i.s - i.p * i.p;
        if (rootR <= 0.0 || rootI <= 0.0) {
            hvdcFault_ = "HVDC link " + r.name + "-" + i.name +
                         ": the apparent power of a converter is not above its active power";
            return true;
        }
        const double qr = std::sqrt(rootR), qi = std::sqrt(rootI);
        const double ar = r.tap * r.nominalRatio, ai = i.tap * i.nominalRatio;
        const double vr = r.acBus->voltage, vi = i.acBus->voltage;
        const double car = std::cos(r.alpha), cgr = std::cos(r.gamma);
        const double cai = std::cos(i.alpha), cgi = std::cos(i.gamma);
        // The metered end of a DC tie and the area rows it counts in.
        const NetConverter* metered = nullptr;
        int rowR = 0, rowI = 0;
        if (areaMode && r.area && i.area && r.area != i.area) {
            metered = r.controlling ? r.controlling : &r;
            auto areaRow = [&](const NetArea& area) {
                const NetBus* bus = area.areaBus;
                return bus && CodeHas(bus->code, "A") && !CodeHas(bus->code, "S") ? bus->firstVariable + 2 : 0;
            };
            rowR = areaRow(*r.area);
            rowI = areaRow(*i.area);
        }
        const double tieFlow = metered == &r ? r.p : metered ? -i.p : 0.0;
        const int tieColumn = metered == &r ? col.rectifier.p : metered ? col.inverter.p : 0;
        if (terms.WantMismatch()) {
            terms.Set(h, r.vd - kK1 * ar * vr * car + kK2 * r.xc * id);
            terms.Set(h + 1, r.s - kK1 * ar * vr * id);
            terms.Set(h + 2, r.p + r.vd * id);
            terms.Set(h + 3, r.q + qr);
            terms.Set(h + 4, i.vd - kK1 * ai * vi * cgi + kK2 * i.xc * id);
            terms.Set(h + 5, i.s - kK1 * ai * vi * id);
            terms.Set(h + 6, i.p - i.vd * id);
            terms.Set(h + 7, i.q + qi);
            terms.Set(h + 8, kSqrt2 * r.xc * id - ar * vr * (car + cgr));
            terms.Set(h + 9, kSqrt2 * i.xc * id - ai * vi * (cai + cgi));
            terms.Set(h + 10, r.vd - i.vd - r.resistance * id);
            terms.Add(r.acBus->firstVariable, r.p);
            terms.Add(r.acBus->firstVariable + 1, r.q);
            terms.Add(i.acBus->firstVariable, i.p);
            terms.Add(i.acBus->firstVariable + 1, i.q);
            if (rowR) terms.Add(rowR, tieFlow);
            if (rowI) terms.Add(rowI, -tieFlow);
        }
        if (!terms.WantJacobian()) continue;
        // A held quantity has no column: its entries are left out.
        auto enter = [&](int row, int column, double value) {
            if (column) terms.Enter(row, column, value);
        };
        const HvdcColumns::End& cr = col.rectifier;
        const HvdcColumns::End& ci = col.inverter;
        enter(h, cr.vd, 1.0);
        enter(h, cr.a, -kK1 * vr * car);
        enter(h, cr.cosAlpha, -kK1 * ar * vr);
        enter(h, col.id, kK2 * r.xc);
        terms.Voltage(h, *r.acBus, -kK1 * ar * car);
        enter(h + 1, cr.s, 1.0);
        enter(h + 1, cr.a, -kK1 * vr * id);
        enter(h + 1, col.id, -kK1 * ar * vr);
        terms.Voltage(h + 1, *r.acBus, -kK1 * ar * id);
        enter(h + 2, cr.p, 1.0);
        enter(h + 2, cr.vd, id);
        enter(h + 2, col.id, r.vd);
        enter(h + 3, cr.q, 1.0);
        enter(h + 3, cr.s, r.s / qr);
        enter(h + 3, cr.p, -r.p / qr);
        enter(h + 4, ci.vd, 1.0);
        enter(h + 4, ci.a, -kK1 * vi * cgi);
        enter(h + 4, ci.cosGamma, -kK1 * ai * vi);
        enter(h + 4, col.id, kK2 * i.xc);
        terms.Voltage(h + 4, *i.acBus, -kK1 * ai * cgi);
        enter(h + 5, ci.s, 1.0);
        enter(h + 5, ci.a, -kK1 * vi * id);
        enter(h + 5, col.id, -kK1 * ai * vi);
        terms.Voltage(h + 5, *i.acBus, -kK1 * ai * id);
        enter(h + 6, ci.p, 1.0);
        enter(h + 6, ci.vd, -id);
        enter(h + 6, col.id, -i.vd);
        enter(h + 7, ci.q, 1.0);
        enter(h + 7, ci.s, i.s / qi);
        enter(h + 7, ci.p, -i.p / qi);
        enter(h + 8, col.id, kSqrt2 * r.xc);
        enter(h + 8, cr.a, -vr * (car + cgr));
        enter(h + 8, cr.cosAlpha, -ar * vr);
        enter(h + 8, cr.cosGamma, -ar * vr);
        terms.Voltage(h + 8, *r.acBus, -ar * (car + cgr));
        enter(h + 9, col.id, kSqrt2 * i.xc);
        enter(h + 9, ci.a, -vi * (cai + cgi));
        enter(h + 9, ci.cosAlpha, -ai * vi);
        enter(h + 9, ci.cosGamma, -ai * vi);
        terms.Voltage(h + 9, *i.acBus, -ai * (cai + cgi));
        enter(h + 10, cr.vd, 1.0);
        enter(h + 10, ci.vd, -1.0);
        enter(h + 10, col.id, -r.resistance);
        enter(r.acBus->firstVariable, cr.p, 1.0);
        enter(r.acBus->firstVariable + 1, cr.q, 1.0);
        enter(i.acBus->firstVariable, ci.p, 1.0);
        enter(i.acBus->firstVariable + 1, ci.q, 1.0);
        if (rowR) enter(rowR, tieColumn, metered == &r ? 1.0 : -1.0);
        if (rowI) enter(rowI, tieColumn, metered == &r ? -1.0 : 1.0);
    }
    return false;
}

namespace {

// One converter's part of a Newton step, each quantity only where it is an
// unknown under the converter's codes.
void StepConverter(NetConverter& c, const HvdcColumns::End& col, const DeviceStep& move, bool tapClamping) {
    if (col.vd) {
        const double shadow = move.Shadowed(c.vdShadow, c.vd, col.vd);
        const double ref = c.vdReference;
        // Held at its reference where the tap cannot follow, so that the
        // control switching finds it there.
        const bool hold = move.Clamping() && ref != 0.0 &&
                          ((c.tap >= c.maxTap && shadow > ref) || (c.tap <= c.minTap && shadow < ref) ||
                           (HoldsCurrentOrPower(c.modes[0]) && c.tap > c.minTap && shadow > ref));
        c.vd = hold ? ref : shadow;
    }
    if (col.a) {
        // The column holds the ratio a = tap nr.
        const double shadow = move.Shadowed(c.tapShadow, c.tap, col.a, 1.0 / c.nominalRatio);
        c.tap = tapClamping && move.Clamping() ? std::clamp(shadow, c.minTap, c.maxTap) : shadow;
    }
    if (col.cosAlpha) {
        const double shadow = move.Shadowed(c.cosAlphaShadow, std::cos(c.alpha), col.cosAlpha);
        const double ref = c.alphaReference;
        if (move.Clamping() && std::cos(c.maxAlpha) > shadow)
            c.alpha = c.maxAlpha;
        else if (move.Clamping() && shadow > std::cos(c.minAlpha))
            c.alpha = c.minAlpha;
        else if (move.Clamping() && ref != 0.0 &&
                 ((c.tap >= c.maxTap && shadow < std::cos(ref)) || (c.tap <= c.minTap && shadow > std::cos(ref))))
            c.alpha = ref;
        else
            c.alpha = std::acos(std::clamp(shadow, -1.0, 1.0));
    }
    if (col.cosGamma) {
        const double shadow = move.Shadowed(c.cosGammaShadow, std::cos(c.gamma), col.cosGamma);
        const double ref = GammaReference(c);
        c.gamma = move.Clamping() && std::cos(ref) < std::fabs(shadow) ? ref : std::acos(std::clamp(shadow, -1.0, 1.0));
    }
    c.s += move.Delta(col.s);
    if (col.p) c.p += move.Delta(col.p);
    if (col.q) c.q += move.Delta(col.q);
}

}  // namespace

void Solver::UpdateDcLinks(double step, Trial trial, Clamping clamping) {
    const DeviceStep move(correction_, step, trial, clamping);
    for (const auto& owned : network_->converters) {
        NetConverter& r = *owned;
        if (r.code != "R") continue;
        const HvdcColumns col = HvdcColumnsOf(r);
        StepConverter(r, col.rectifier, move, dcTapClamping_);
        StepConverter(*r.partner, col.inverter, move, dcTapClamping_);
        if (col.id) r.id += move.Delta(col.id);
        r.partner->id = r.id;
    }
}

// A converter whose ratio is free and stands at one of its limits.
int Solver::HvdcLimitViolated() {
    for (const auto& c : network_->converters)
        if (c->partner && !c->Holds("AT") && TapAtLimit(*c)) return 1;
    return 0;
}

// The scheduled configuration of every link, its present DC voltage and
// angles remembered as the references that the steps and the switching
// hold to. A tap beyond its limits widens them.
int Solver::ResetHvdcControl() {
    int links = 0;
    for (const auto& owned : network_->converters) {
        NetConverter& r = *owned;
        if (r.code != "R") continue;
        NetConverter& i = *r.partner;
        ++links;
        i.vdReference = i.vd;
        r.alphaReference = r.alpha;
        i.gammaReference = i.gamma;
        const bool tapHeld = r.Holds("AT");
        const bool power = LinkHolds(r, "PA");
        r.modes = {tapHeld ? "AT" : "AL", power ? "PA" : "ID"};
        i.modes = {"GA", tapHeld ? "AT" : "VD"};
        for (NetConverter* c : {&r, &i}) {
            c->maxTap = std::max(c->maxTap, c->tap);
            c->minTap = std::min(c->minTap, c->tap);
        }
    }
    return links > 0;
}

// The control of a link that has met a limit passes to the quantity that
// can still move, and back when the limit has gone.
int Solver::SwitchHvdcControl() {
    int switched = 0;
    for (const auto& owned : network_->converters) {
        NetConverter& r = *owned;
        if (r.code != "R") continue;
        NetConverter& i = *r.partner;
        auto& [r1, r2] = r.modes;
        auto& [i1, i2] = i.modes;
        const bool rectifierRegulates = HoldsCurrentOrPower(r2);
        const bool inverterRegulates = HoldsCurrentOrPower(i2);
        if (r1 == "AL" && rectifierRegulates && TapAtLimit(r)) {
            r1 = "AT";
        } else if (r1 == "AT" && rectifierRegulates && r.alpha <= r.minAlpha) {
            const std::string held = r2 == "ID" ? "ID" : "PA";
            r.alpha = r.minAlpha;
            r.modes = {"AL", "AT"};
            i.modes = {"AT", held};
        } else if (r1 == "AT" && rectifierRegulates && r.alpha == r.alphaReference) {
            r1 = "AL";
        } else if (i1 == "AT" && inverterRegulates && i.gamma <= GammaReference(i)) {
            const std::string held = i2 == "ID" ? "ID" : "PA";
            r.modes = {"AT", held};
            i.modes = {"GA", i.tap <= i.minTap ? "AT" : "VD"};
        } else if (i1 == "GA" && i2 == "VD" && TapAtLimit(i)) {
            i2 = "AT";
        } else if (i1 == "GA" && i2 == "AT" && i.vd == i.vdReference) {
            i2 = "VD";
        } else {
            continue;
        }
        switched = 1;
        WriteLinkIntoBasePoint(r);
    }
    return switched;
}
