#include <cmath>

#include "device_terms.h"

// Static var compensators: set-up, equations, limits and steps. The
// reactor's susceptance follows the firing angle alpha (pi/2 full
// conduction, pi none): Be = (2 (pi - alpha) + sin 2 alpha) / (pi Xl).

namespace {

// Newton's method for x = 2 alpha on sin x - x + 2 pi - b = 0 from x = pi:
// stops at a residual of 0.001, after 11 steps or at a flat derivative; a
// step larger than the one before is halved until it is smaller.
double FiringAngleFor(double b) {
    double x = kPi;
    double previous = HUGE_VAL;
    for (int k = 0; k < 11; ++k) {
        const double residual = std::sin(x) - x + kTwoPi - b;
        if (std::fabs(residual) <= 0.001) break;
        const double derivative = std::cos(x) - 1.0;
        if (derivative == 0.0) break;
        double step = residual / derivative;
        while (std::fabs(step) >= std::fabs(previous)) step *= 0.5;
        x -= step;
        previous = step;
    }
    return 0.5 * x;
}

double ReactorSusceptance(const NetSvc& svc) {
    return (std::sin(2.0 * svc.alpha) + 2.0 * (kPi - svc.alpha)) / (kPi * svc.reactorX);
}

}  // namespace

// The firing angle that puts the controlled bus on its slope at the
// present voltages, within the angle's limits.
void Solver::InitSvc() {
    for (const auto& owned : network_->svcs) {
        NetSvc& svc = *owned;
        const double bc = 1.0 / svc.capacitorX;
        const double vt = svc.terminalBus->voltage;
        const double vc = svc.controlledBus->voltage;
        svc.slope = svc.slopePercent * 0.01;
        svc.minAlpha = svc.minAngle * degreesToRadians_;
        svc.maxAlpha = svc.maxAngle * degreesToRadians_;
        // Without a slope the start is the capacitor and reactor in balance.
        const double be = svc.slope != 0.0 ? bc + (vc - svc.referenceVoltage) / (vt * svc.slope) : bc;
        svc.alpha = FiringAngleFor(kPi * svc.reactorX * be);
        svc.controlCode = "AL";
        if (svc.alpha <= svc.minAlpha) {
            svc.alpha = svc.minAlpha;
            svc.controlCode = "MN";
        } else if (svc.alpha >= svc.maxAlpha) {
            svc.alpha = svc.maxAlpha;
            svc.controlCode = "MX";
        }
        svc.be = ReactorSusceptance(svc);
        svc.q = vt * vt * (bc - svc.be);
        svc.offset = svc.referenceVoltage;
    }
}

// Rows base + 1 .. base + 3: the voltage on its slope, the reactive power
// and the reactor's susceptance at alpha. Q goes into the terminal bus's
// Q row.
void Solver::SvcEquations(Evaluate evaluate) {
    DeviceTerms terms(*this, evaluate);
    for (const auto& owned : network_->svcs) {
        const NetSvc& svc = *owned;
        const NetBus& t = *svc.terminalBus;
        const NetBus& c = *svc.controlledBus;
        const int j = svc.base + 1;
        const bool angleFree = svc.controlCode == "AL";
        const double vt = t.voltage;
        const double spread = svc.be - 1.0 / svc.capacitorX;  // Be - Bc
        const double reference = angleFree ? svc.referenceVoltage : svc.offset;
        if (terms.WantMismatch()) {
            terms.Set(j, c.voltage - reference - vt * svc.slope * spread);
            terms.Set(j + 1, svc.q + vt * vt * spread);
            terms.Set(j + 2, std::sin(2.0 * svc.alpha) + 2.0 * (kPi - svc.alpha) - kPi * svc.reactorX * svc.be);
            terms.Add(t.firstVariable + 1, svc.q);
        }
        if (!terms.WantJacobian()) continue;
        terms.Voltage(j, c, 1.0);
        terms.Voltage(j, t, -svc.slope * spread);
        terms.Enter(j, j + 1, -vt * svc.slope);
        terms.Enter(j, j + 2, angleFree ? 0.0 : -1.0);
        terms.Enter(j + 1, j, 1.0);
        terms.Voltage(j + 1, t, 2.0 * vt * spread);
        terms.Enter(j + 1, j + 1, vt * vt);
        terms.Enter(j + 2, j + 1, -kPi * svc.reactorX);
        terms.Enter(j + 2, j + 2, angleFree ? -2.0 * (1.0 - std::cos(2.0 * svc.alpha)) : 0.0);
        terms.Enter(t.firstVariable + 1, j, 1.0);
    }
}

// At a firing-angle limit the angle is held and the voltage offset freed;
// the offset back at Vref returns the voltage control.
int Solver::CheckSvcLimits() {
    int switched = 0;
    for (const auto& owned : network_->svcs) {
        NetSvc& svc = *owned;
        if (svc.controlCode == "AL" && (svc.alpha >= svc.maxAlpha || svc.alpha <= svc.minAlpha)) {
            const bool atMax = svc.alpha >= svc.maxAlpha;
            svc.controlCode = atMax ? "MX" : "MN";
            svc.alpha = atMax ? svc.maxAlpha : svc.minAlpha;
        } else if ((svc.controlCode == "MX" && svc.offset >= svc.referenceVoltage) ||
                   (svc.controlCode == "MN" && svc.offset <= svc.referenceVoltage)) {
            svc.alpha = svc.controlCode == "MX" ? svc.maxAlpha : svc.minAlpha;
            svc.controlCode = "AL";
        } else {
            continue;
        }
        svc.offset = svc.referenceVoltage;
        switched = 1;
    }
    return switched;
}

// Q and Be follow the step; alpha stays within its limits, and at a limit
// the offset stops at Vref, where the limit check gives the voltage back.
void Solver::UpdateSvcs(double step, Trial trial, Clamping clamping) {
    const DeviceStep move(correction_, step, trial, clamping);
    for (const auto& owned : network_->svcs) {
        NetSvc& svc = *owned;
        const int j = svc.base + 1;
        svc.q += move.Delta(j);
        svc.be += move.Delta(j + 1);
        if (svc.controlCode == "AL") {
            svc.alpha = move.Clamped(move.Shadowed(svc.shadow, svc.alpha, j + 2), svc.minAlpha, svc.maxAlpha);
            continue;
        }
        const double offset = move.Shadowed(svc.shadow, svc.offset, j + 2);
        if (!move.Clamping())
            svc.offset = offset;
        else
            svc.offset = svc.controlCode == "MN" ? std::max(offset, svc.referenceVoltage)
                                                 : std::min(offset, svc.referenceVoltage);
    }
}
