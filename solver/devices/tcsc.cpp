#include <cmath>
#include <cstdio>

#include "device_terms.h"

// Thyristor-controlled series compensators: set-up, equations, limits and
// steps.

namespace {

// The flows of a series susceptance bt between buses k and m, drawn at
// each end.
struct SeriesFlows {
    double p = 0.0;
    double qk = 0.0;
    double qm = 0.0;
};

SeriesFlows FlowsOf(double bt, const NetBus& k, const NetBus& m) {
    const double theta = k.angle - m.angle;
    const double vkvm = k.voltage * m.voltage;
    return {-bt * vkvm * std::sin(theta), bt * (vkvm * std::cos(theta) - k.voltage * k.voltage),
            bt * (vkvm * std::cos(theta) - m.voltage * m.voltage)};
}

}  // namespace

TcscSusceptance TcscSusceptanceAt(double alpha, double x1, double x2) {
    const double w = std::sqrt(x1 / x2);
    const double w2 = w * w;
    const double w3 = w2 * w;
    const double w4 = w2 * w2;
    const double s = alpha - kPi;
    const double cs = std::cos(s), ss = std::sin(s);
    const double cws = std::cos(w * s), sws = std::sin(w * s);
    const double k = kPi * (w4 - 2.0 * w2 + 1.0);
    const double numerator = k * cws;
    const double dNumerator = -k * w * sws;
    const double a = kPi + w4 * (2.0 * alpha - kPi) - 2.0 * w2 * alpha + (w4 - w2) * std::sin(2.0 * alpha - kTwoPi);
    const double dA = 2.0 * w4 - 2.0 * w2 + 2.0 * (w4 - w2) * std::cos(2.0 * alpha - kTwoPi);
    const double d = cws * a - 4.0 * w3 * cs * cs * sws + 4.0 * w2 * ss * cs * cws;
    const double dD = -w * sws * a + cws * dA - 4.0 * w3 * (-2.0 * cs * ss * sws + cs * cs * w * cws) +
                      4.0 * w2 * ((cs * cs - ss * ss) * cws - ss * cs * w * sws);
    TcscSusceptance b;
    b.denominator = d;
    b.value = numerator / (x1 * d);
    b.derivative = (dNumerator * d - numerator * dD) / (x1 * d * d);
    return b;
}

// Reactances to the MVA base, the firing angle inside its limits (2.8 rad
// where the card gave none that fits), the targets of the control in
// per unit, and the flows at the present voltages.
void Solver::InitTcsc() {
    for (const auto& owned : network_->tcscs) {
        NetTcsc& tcsc = *owned;
        if (tcsc.to->angle == 0.0) tcsc.to->angle = 0.01;
        const double rating = tcsc.rating > 0.0 ? tcsc.rating : mvaBase_;
        const double k = mvaBase_ / rating;
        tcsc.x1 = tcsc.capacitorX * k;
        tcsc.x2 = tcsc.reactorX * k;
        tcsc.minAlpha = tcsc.minAngle * degreesToRadians_;
        tcsc.maxAlpha = tcsc.maxAngle * degreesToRadians_;
        if (tcsc.alpha == 0.0 || tcsc.alpha < tcsc.minAlpha || tcsc.alpha > tcsc.maxAlpha) tcsc.alpha = 2.8;
        tcsc.bt = TcscSusceptanceAt(tcsc.alpha, tcsc.x1, tcsc.x2).value;
        const double currentBase = mvaBase_ / (std::sqrt(3.0) * tcsc.from->baseKv);
        switch (tcsc.controlLetter) {
        case 'P':
            tcsc.target = tcsc.scheduledValue / mvaBase_;
            break;
        case 'I':
            tcsc.target = tcsc.from->baseKv > 0.0 ? tcsc.scheduledValue / currentBase : 0.0;
            break;
        case 'D':
            tcsc.target = tcsc.scheduledValue * degreesToRadians_;
            break;
        case 'X':
            // Without a percentage the start's susceptance is held.
            tcsc.susceptanceTarget =
                tcsc.compensationPercent > 0.0 ? 100.0 / (tcsc.x1 * tcsc.compensationPercent) : tcsc.bt;
            tcsc.bt = tcsc.susceptanceTarget;
            break;
        default:
            // A row the equations cannot fill would leave the Jacobian singular.
            std::fprintf(diagnostics_, "The TCSC between %s and %s has the unknown control %c\n",
                         tcsc.from->name.c_str(), tcsc.to->name.c_str(), tcsc.controlLetter);
            Abort(1);
        }
        tcsc.controlCode = std::string(1, tcsc.controlLetter);
        const SeriesFlows flows = FlowsOf(tcsc.bt, *tcsc.from, *tcsc.to);
        tcsc.p = flows.p;
        tcsc.qk = flows.qk;
        tcsc.qm = flows.qm;
        const double magnitude = std::hypot(flows.qk, flows.p) / tcsc.from->voltage;
        tcsc.current = flows.p < 0.0 ? -magnitude : magnitude;
        tcsc.delta = tcsc.from->angle - tcsc.to->angle;
    }
}

// Rows base + 1 .. base + 7; P and Qk are drawn from bus k, Qm from bus m,
// and P delivered to bus m.
void Solver::TcscEquations(Evaluate evaluate) {
    DeviceTerms terms(*this, evaluate);
    for (const auto& owned : network_->tcscs) {
        const NetTcsc& tcsc = *owned;
        const NetBus& k = *tcsc.from;
        const NetBus& m = *tcsc.to;
        const int j = tcsc.base + 1;
        const double vk = k.voltage, vm = m.voltage;
        const double theta = k.angle - m.angle;
        const double c = std::cos(theta), s = std::sin(theta);
        const double bt = tcsc.bt;
        const TcscSusceptance b = TcscSusceptanceAt(tcsc.alpha, tcsc.x1, tcsc.x2);
        const double apparent = std::hypot(tcsc.qk, tcsc.p);
        const double sign = tcsc.current < 0.0 ? -1.0 : 1.0;
        const char control = tcsc.controlCode.empty() ? 0 : tcsc.controlCode[0];
        if (terms.WantMismatch()) {
            terms.Set(j, -bt * vk * vm * s - tcsc.p);
            terms.Set(j + 1, bt * vk * (vm * c - vk) - tcsc.qk);
            terms.Set(j + 2, bt * vm * (vk * c - vm) - tcsc.qm);
            terms.Set(j + 3, b.value - bt);
            terms.Set(j + 4, sign * apparent - vk * tcsc.current);
            terms.Set(j + 5, theta - tcsc.delta);
            double held = 0.0, target = tcsc.target;
            switch (control) {
            case 'X':
                held = bt;
                target = tcsc.susceptanceTarget;
                break;
            case 'P':
                held = tcsc.p;
                break;
            case 'I':
                held = tcsc.current;
                break;
            default:
                held = tcsc.delta;
                break;
            }
            terms.Set(j + 6, target - held);
            terms.Add(k.firstVariable, -tcsc.p);
            terms.Add(k.firstVariable + 1, -tcsc.qk);
            terms.Add(m.firstVariable, tcsc.p);
            terms.Add(m.firstVariable + 1, -tcsc.qm);
        }
        if (!terms.WantJacobian()) continue;
        const double vkvm = vk * vm;
        // Row j: -BT Vk Vm sin theta - P.
        terms.Angle(j, k, -bt * vkvm * c);
        terms.Angle(j, m, bt * vkvm * c);
        terms.Voltage(j, k, -bt * vm * s);
        terms.Voltage(j, m, -bt * vk * s);
        terms.Enter(j, j, -1.0);
        terms.Enter(j, j + 3, -vkvm * s);
        // Rows j + 1, j + 2: the reactive powers at the two ends.
        terms.Angle(j + 1, k, -bt * vkvm * s);
        terms.Angle(j + 1, m, bt * vkvm * s);
        terms.Voltage(j + 1, k, bt * (vm * c - 2.0 * vk));
        terms.Voltage(j + 1, m, bt * vk * c);
        terms.Enter(j + 1, j + 1, -1.0);
        terms.Enter(j + 1, j + 3, vkvm * c - vk * vk);
        terms.Angle(j + 2, k, -bt * vkvm * s);
        terms.Angle(j + 2, m, bt * vkvm * s);
        terms.Voltage(j + 2, k, bt * vm * c);
        terms.Voltage(j + 2, m, bt * (vk * c - 2.0 * vm));
        terms.Enter(j + 2, j + 2, -1.0);
        terms.Enter(j + 2, j + 3, vkvm * c - vm * vm);
        // Row j + 3: B(alpha) - BT.
        terms.Enter(j + 3, j + 3, -1.0);
        terms.Enter(j + 3, j + 4, b.derivative);
        // Row j + 4: the current's magnitude against the flows.
        terms.Enter(j + 4, j, tcsc.p != 0.0 ? sign * tcsc.p / apparent : 0.0);
        terms.Enter(j + 4, j + 1, tcsc.qk != 0.0 ? sign * tcsc.qk / apparent : 0.0);
        terms.Voltage(j + 4, k, -tcsc.current);
        terms.Enter(j + 4, j + 5, -vk);
        // Row j + 5: the angle difference.
        terms.Angle(j + 5, k, 1.0);
        terms.Angle(j + 5, m, -1.0);
        terms.Enter(j + 5, j + 6, -1.0);
        // Row j + 6: the controlled quantity.
        const int held = control == 'X' ? j + 3 : control == 'P' ? j : control == 'I' ? j + 5 : j + 6;
        terms.Enter(j + 6, held, -1.0);
        // The buses' rows.
        terms.Enter(k.firstVariable, j, -1.0);
        terms.Enter(k.firstVariable + 1, j + 1, -1.0);
        terms.Enter(m.firstVariable, j, 1.0);
        terms.Enter(m.firstVariable + 1, j + 2, -1.0);
    }
}

// At a firing-angle limit the compensator holds the susceptance it has
// there, for good. The susceptance comes from the same model as its
// equations: the capacitor and the reactor's fundamental side by side
// would ask, near the upper limit, for more than any angle within the
// limits gives, and the solve would stall.
int Solver::CheckTcscLimits() {
    int switched = 0;
    for (const auto& owned : network_->tcscs) {
        NetTcsc& tcsc = *owned;
        if (CodeHas(tcsc.controlCode, "X") || (tcsc.alpha < tcsc.maxAlpha && tcsc.alpha > tcsc.minAlpha)) continue;
        tcsc.alpha = tcsc.alpha >= tcsc.maxAlpha ? tcsc.maxAlpha : tcsc.minAlpha;
        tcsc.controlCode.assign(1, 'X');
        tcsc.susceptanceTarget = TcscSusceptanceAt(tcsc.alpha, tcsc.x1, tcsc.x2).value;
        switched = 1;
    }
    return switched;
}

void Solver::UpdateTcscs(double step, Trial trial, Clamping clamping) {
    const DeviceStep move(correction_, step, trial, clamping);
    for (const auto& owned : network_->tcscs) {
        NetTcsc& tcsc = *owned;
        const int j = tcsc.base + 1;
        tcsc.p += move.Delta(j);
        tcsc.qk += move.Delta(j + 1);
        tcsc.qm += move.Delta(j + 2);
        tcsc.bt += move.Delta(j + 3);
        tcsc.alpha = move.Clamped(move.Shadowed(tcsc.shadow, tcsc.alpha, j + 4), tcsc.minAlpha, tcsc.maxAlpha);
        tcsc.current += move.Delta(j + 5);
        tcsc.delta += move.Delta(j + 6);
    }
}
