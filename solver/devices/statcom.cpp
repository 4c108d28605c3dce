#include <cmath>

#include "device_terms.h"

// STATCOMs: set-up, equations, limits and steps. A positive current
// absorbs reactive power (Q > 0, drawn from the terminal bus), so the
// controlled voltage rises along the slope with it.

namespace {

constexpr double kQuarterTurn = 1.570796327;
constexpr double kSmallestCurrent = 0.0001;

// An angle within (-pi, pi] by whole turns.
double Wrapped(double phi) {
    if (std::fabs(phi) > kTwoPi) phi -= std::copysign(kTwoPi * std::floor(std::fabs(phi) / kTwoPi), phi);
    if (std::fabs(phi) > kPi) phi -= std::copysign(kTwoPi, phi);
    return phi;
}

bool VoltageHeld(const NetStatcom& statcom) {
    return statcom.controlCode == "PW" || statcom.controlCode == "AL";
}

}  // namespace

// To the MVA base (a rating of 0 or less is the MVA base); the current on
// the slope at the present voltages, within its limits; the converter's
// voltage that gives the current's reactive power through the coupling
// reactance; the losses as the active power.
void Solver::InitStatcom() {
    for (const auto& owned : network_->statcoms) {
        NetStatcom& statcom = *owned;
        const NetBus& t = *statcom.terminalBus;
        const double rating = statcom.rating > 0.0 ? statcom.rating : mvaBase_;
        const double k = mvaBase_ / rating;
        statcom.rc = statcom.resistance * k;
        const double x = statcom.reactance * k;
        const double z2 = statcom.rc * statcom.rc + x * x;
        statcom.gc = statcom.rc / z2;
        statcom.bc = -x / z2;
        statcom.gdc = statcom.dcConductance / k;
        statcom.positiveQLimit = statcom.maxCurrent / k;
        statcom.negativeQLimit = statcom.minCurrent / k;
        statcom.slope = statcom.slopePercent * 0.01 * k;
        statcom.controlCode = statcom.returnCode;
        double current =
            statcom.slope != 0.0 ? (statcom.controlledBus->voltage - statcom.referenceVoltage) / statcom.slope : 0.0;
        if (current >= statcom.positiveQLimit) {
            current = statcom.positiveQLimit;
            statcom.controlCode = "MX";
        } else if (current <= -statcom.negativeQLimit) {
            current = -statcom.negativeQLimit;
            statcom.controlCode = "MN";
        }
        statcom.phi = current <= 0.0 ? t.angle + kQuarterTurn : t.angle - kQuarterTurn;
        statcom.current = current != 0.0 ? std::fabs(current) : kSmallestCurrent;
        const double v = t.voltage;
        statcom.q = v * statcom.current * std::sin(t.angle - statcom.phi);
        const double converter = v - statcom.q * x / v;  // Vdc x mr
        if (statcom.returnCode == "PW") {
            statcom.vdc = statcom.controlValue;
            statcom.mr = converter / statcom.vdc;
        } else {
            statcom.mr = statcom.controlValue;
            statcom.vdc = converter / statcom.mr;
        }
        statcom.psi = t.angle;
        statcom.p = statcom.vdc * statcom.vdc * statcom.gdc + statcom.current * statcom.current * statcom.rc;
        statcom.offset = statcom.referenceVoltage;
    }
}

// Rows base + 1 .. base + 7; P and Q are drawn from the terminal bus.
void Solver::StatcomEquations(Evaluate evaluate) {
    DeviceTerms terms(*this, evaluate);
    for (const auto& owned : network_->statcoms) {
        const NetStatcom& st = *owned;
        const NetBus& t = *st.terminalBus;
        const NetBus& c = *st.controlledBus;
        const int j = st.base + 1;
        const bool held = VoltageHeld(st);  // Ish free
        const double side = st.q > 0.0 ? 1.0 : -1.0;
        const double v = t.voltage;
        const double i = st.current;
        const double cphi = std::cos(t.angle - st.phi), sphi = std::sin(t.angle - st.phi);
        const double cpsi = std::cos(t.angle - st.psi), spsi = std::sin(t.angle - st.psi);
        const double e = st.vdc * st.mr;
        const double inPhase = st.gc * cpsi + st.bc * spsi;
        const double quadrature = st.bc * cpsi - st.gc * spsi;
        const bool vdcHeld = st.returnCode == "PW";
        if (terms.WantMismatch()) {
            terms.Set(j, c.voltage - (held ? st.referenceVoltage : st.offset) - side * st.slope * i);
            terms.Set(j + 1, vdcHeld ? st.vdc - st.controlValue : st.mr - st.controlValue);
            terms.Set(j + 2, st.p - st.vdc * st.vdc * st.gdc - i * i * st.rc);
            terms.Set(j + 3, st.p - i * v * cphi);
            terms.Set(j + 4, st.q - i * v * sphi);
            terms.Set(j + 5, st.p - v * v * st.gc + v * e * inPhase);
            terms.Set(j + 6, st.q + v * v * st.bc - v * e * quadrature);
            terms.Add(t.firstVariable, -st.p);
            terms.Add(t.firstVariable + 1, -st.q);
        }
        if (!terms.WantJacobian()) continue;
        // The first column is Ish while the voltage is held, else the offset.
        const double free = held ? 1.0 : 0.0;
        terms.Voltage(j, c, 1.0);
        terms.Enter(j, j, held ? -side * st.slope : -1.0);
        terms.Enter(j + 1, vdcHeld ? j + 2 : j + 3, 1.0);
        terms.Enter(j + 2, j, -2.0 * i * st.rc * free);
        terms.Enter(j + 2, j + 2, -2.0 * st.vdc * st.gdc);
        terms.Enter(j + 2, j + 5, 1.0);
        terms.Enter(j + 3, j, -v * cphi * free);
        terms.Enter(j + 3, j + 1, -i * v * sphi);
        terms.Angle(j + 3, t, i * v * sphi);
        terms.Voltage(j + 3, t, -i * cphi);
        terms.Enter(j + 3, j + 5, 1.0);
        terms.Enter(j + 4, j, -v * sphi * free);
        terms.Enter(j + 4, j + 1, i * v * cphi);
        terms.Angle(j + 4, t, -i * v * cphi);
        terms.Voltage(j + 4, t, -i * sphi);
        terms.Enter(j + 4, j + 6, 1.0);
        // Rows j + 5, j + 6: the coupling admittance between the bus and
        // the converter's voltage Vdc mr at psi.
        const double pTheta = v * e * (-st.gc * spsi + st.bc * cpsi);
        terms.Voltage(j + 5, t, -2.0 * v * st.gc + e * inPhase);
        terms.Enter(j + 5, j + 2, v * st.mr * inPhase);
        terms.Enter(j + 5, j + 3, v * st.vdc * inPhase);
        terms.Angle(j + 5, t, pTheta);
        terms.Enter(j + 5, j + 4, -pTheta);
        terms.Enter(j + 5, j + 5, 1.0);
        const double qTheta = v * e * (st.bc * spsi + st.gc * cpsi);
        terms.Voltage(j + 6, t, 2.0 * v * st.bc - e * quadrature);
        terms.Enter(j + 6, j + 2, -v * st.mr * quadrature);
        terms.Enter(j + 6, j + 3, -v * st.vdc * quadrature);
        terms.Angle(j + 6, t, qTheta);
        terms.Enter(j + 6, j + 4, -qTheta);
        terms.Enter(j + 6, j + 6, 1.0);
        terms.Enter(t.firstVariable, j + 5, -1.0);
        terms.Enter(t.firstVariable + 1, j + 6, -1.0);
    }
}

// At a current limit the current is held and the voltage offset freed; the
// offset back at Vref returns the voltage control. The current stays at
// the limit it was held at, so that the next solve starts where it was.
int Solver::CheckStatcomLimits() {
    int switched = 0;
    for (const auto& owned : network_->statcoms) {
        NetStatcom& st = *owned;
        if (VoltageHeld(st) && st.current >= st.positiveQLimit && st.q > 0.0) {
            st.controlCode = "MX";
            st.current = st.positiveQLimit;
        } else if (VoltageHeld(st) && st.current >= st.negativeQLimit && st.q < 0.0) {
            st.controlCode = "MN";
            st.current = st.negativeQLimit;
        } else if ((st.controlCode == "MN" && st.offset >= st.referenceVoltage) ||
                   (st.controlCode == "MX" && st.offset <= st.referenceVoltage)) {
            st.controlCode = st.returnCode;
        } else {
            continue;
        }
        st.offset = st.referenceVoltage;
        switched = 1;
    }
    return switched;
}

void Solver::UpdateStatcoms(double step, Trial trial, Clamping clamping) {
    const DeviceStep move(correction_, step, trial, clamping);
    for (const auto& owned : network_->statcoms) {
        NetStatcom& st = *owned;
        const int j = st.base + 1;
        const double first = move.Shadowed(st.shadow, VoltageHeld(st) ? st.current : st.offset, j);
        if (!move.Clamping()) {
            (VoltageHeld(st) ? st.current : st.offset) = first;
        } else if (VoltageHeld(st)) {
            if (first <= 0.0)
                st.current = kSmallestCurrent;
            else if (first >= st.positiveQLimit && st.q > 0.0)
                st.current = st.positiveQLimit;
            else if (first >= st.negativeQLimit && st.q < 0.0)
                st.current = st.negativeQLimit;
            else
                st.current = first;
        } else {
            st.offset = st.controlCode == "MX" ? std::max(first, st.referenceVoltage)
                                               : std::min(first, st.referenceVoltage);
        }
        st.phi += move.Delta(j + 1);
        if (move.Clamping()) st.phi = Wrapped(st.phi);
        st.vdc += move.Delta(j + 2);
        st.mr += move.Delta(j + 3);
        st.psi += move.Delta(j + 4);
        st.p += move.Delta(j + 5);
        st.q += move.Delta(j + 6);
    }
}
