#include <array>
#include <cmath>

#include "../poc_terms.h"

// The FACTS devices' curvature in the point-of-collapse system: for each
// device, sum_k w_k d2f_k / dx_a dx_b over its equations k, entered in
// block 2 at (n + a, b). Their part of block 2's mismatch (J'w) comes from
// their plain Jacobian entries. Rows linear in every unknown (the control
// rows, the buses' rows that take the devices' P and Q) have none.

namespace {

// A step small against the firing angle's range, large against rounding.
constexpr double kAlphaStep = 1e-5;

}  // namespace

// Unknowns j (Q), j + 1 (Be), j + 2 (alpha, or the offset off "AL"); t the
// terminal bus, Vt its voltage. Row j + 1 is Q + Vt^2 (Be - Bc), row j
// carries -Vt Xsl (Be - Bc), row j + 2 sin 2 alpha + 2 (pi - alpha) - pi Xl Be.
void Solver::PocSvcRows(bool jacobian) {
    if (!jacobian) return;
    const int n = variableCount_;
    const std::vector<double>& w = nullVector_;
    for (const auto& owned : network_->svcs) {
        const NetSvc& svc = *owned;
        const NetBus& t = *svc.terminalBus;
        const int j = svc.base + 1;
        const int vt = t.firstVariable + 1;
        const bool voltageFree = HoldsVoltage(t.voltageColumn);
        const double v = t.voltage;
        const double spread = svc.be - 1.0 / svc.capacitorX;
        const double cross = 2.0 * v * w[j + 1] - svc.slope * w[j];
        AddElement(n + j + 1, vt, voltageFree ? cross : 0.0);
        AddElement(n + j + 2, j + 2, svc.controlCode == "AL" ? -4.0 * std::sin(2.0 * svc.alpha) * w[j + 2] : 0.0);
        AddElement(n + vt, vt, voltageFree ? 2.0 * spread * w[j + 1] : 0.0);
        AddElement(n + vt, j + 1, voltageFree ? cross : 0.0);
    }
}

// Local unknowns of a TCSC between buses k and m: both angles and
// voltages, P (j), Qk (j + 1), BT (j + 3), alpha (j + 4), I (j + 5). Qm and
// delta enter linearly only.
void Solver::PocTcscRows(bool jacobian) {
    if (!jacobian) return;
    enum { kThetaK, kThetaM, kVk, kVm, kP, kQk, kBt, kAlpha, kCurrent, kCount };
    using T = SecondOrder<kCount>;
    const std::vector<double>& w = nullVector_;
    for (const auto& owned : network_->tcscs) {
        const NetTcsc& tcsc = *owned;
        const NetBus& k = *tcsc.from;
        const NetBus& m = *tcsc.to;
        const int j = tcsc.base + 1;
        const T theta = T::Unknown(kThetaK, k.angle) - T::Unknown(kThetaM, m.angle);
        const T vk = T::Unknown(kVk, k.voltage), vm = T::Unknown(kVm, m.voltage);
        const T p = T::Unknown(kP, tcsc.p), qk = T::Unknown(kQk, tcsc.qk);
        const T bt = T::Unknown(kBt, tcsc.bt);
        const T current = T::Unknown(kCurrent, tcsc.current);
        const T c = cos(theta), s = sin(theta);
        T weighted = (-w[j]) * (bt * vk * vm * s) + w[j + 1] * (bt * vk * (vm * c - vk)) +
                     w[j + 2] * (bt * vm * (vk * c - vm)) - w[j + 4] * (vk * current);
        // Row j + 3: B(alpha) - BT. B'' by the central difference of the
        // model's own B', whose closed form is already long.
        const double bSecond = (TcscSusceptanceAt(tcsc.alpha + kAlphaStep, tcsc.x1, tcsc.x2).derivative -
                                TcscSusceptanceAt(tcsc.alpha - kAlphaStep, tcsc.x1, tcsc.x2).derivative) /
                               (2.0 * kAlphaStep);
        weighted.hessian[kAlpha][kAlpha] += w[j + 3] * bSecond;
        // Row j + 4: sign x sqrt(Qk^2 + P^2) - Vk I; the root has no
        // curvature where the flows vanish (nor a derivative).
        if (tcsc.p != 0.0 || tcsc.qk != 0.0) {
            const double sign = tcsc.current < 0.0 ? -1.0 : 1.0;
            weighted = weighted + (w[j + 4] * sign) * pow(qk * qk + p * p, 0.5);
        }
        const std::array<int, kCount> columns{PocAngleColumn(k), PocAngleColumn(m), PocVoltageColumn(k),
                                             PocVoltageColumn(m), j, j + 1, j + 3, j + 4, j + 5};
        EnterCurvature(*this, columns, columns, weighted);
    }
}

// Local unknowns of a STATCOM at terminal bus t: its angle and voltage,
// Ish (j, while the voltage is held; else the offset, linear), phi (j + 1),
// Vdc (j + 2), mr (j + 3), psi (j + 4). P and Q enter linearly only.
void Solver::PocStatcomRows(bool jacobian) {
    if (!jacobian) return;
    enum { kTheta, kV, kCurrent, kPhi, kVdc, kMr, kPsi, kCount };
    using T = SecondOrder<kCount>;
    const std::vector<double>& w = nullVector_;
    for (const auto& owned : network_->statcoms) {
        const NetStatcom& st = *owned;
        const NetBus& t = *st.terminalBus;
        const int j = st.base + 1;
        const bool currentFree = st.controlCode == "PW" || st.controlCode == "AL";
        const T theta = T::Unknown(kTheta, t.angle);
        const T v = T::Unknown(kV, t.voltage);
        const T current = currentFree ? T::Unknown(kCurrent, st.current) : T::Constant(st.current);
        const T vdc = T::Unknown(kVdc, st.vdc);
        const T e = vdc * T::Unknown(kMr, st.mr);
        const T toPhi = theta - T::Unknown(kPhi, st.phi);
        const T toPsi = theta - T::Unknown(kPsi, st.psi);
        const T cpsi = cos(toPsi), spsi = sin(toPsi);
        const T inPhase = st.gc * cpsi + st.bc * spsi;
        const T quadrature = st.bc * cpsi - st.gc * spsi;
        const T weighted = (-w[j + 2]) * (st.gdc * (vdc * vdc) + st.rc * (current * current)) -
                           w[j + 3] * (current * v * cos(toPhi)) - w[j + 4] * (current * v * sin(toPhi)) +
                           w[j + 5] * ((-st.gc) * (v * v) + v * e * inPhase) +
                           w[j + 6] * (st.bc * (v * v) - v * e * quadrature);
        const std::array<int, kCount> columns{PocAngleColumn(t), PocVoltageColumn(t), currentFree ? j : 0,
                                             j + 1, j + 2, j + 3, j + 4};
        EnterCurvature(*this, columns, columns, weighted);
    }
}
