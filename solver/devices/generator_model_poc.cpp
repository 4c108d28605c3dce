#include <array>
#include <cmath>

#include "../poc_terms.h"
#include "generator_model.h"

// A generator model's curvature in the point-of-collapse system: the
// second derivatives of its eleven rows weighted by their multipliers
// w[g + 1] .. w[g + 11], entered in block 2 at (n + a, b). Rows g + 3 and
// g + 4, and the generation in rows g + 1 and g + 2 (the slack's share, a
// held quantity's column), are linear and have none; their part of block
// 2's mismatch comes with J'w as for every row.

void GeneratorModelCurvature(Solver& solver, const NetBus& bus) {
    enum { kTheta, kV, kDelta, kVr, kVi, kIr, kIi, kVd, kVq, kId, kIq, kIa, kCount };
    using T = SecondOrder<kCount>;
    const NetGenerator& m = *bus.generator;
    const int g = m.base;
    const std::vector<double>& w = solver.NullVector();
    // Ia gives its column to the reactive generation while it is held.
    const bool currentHeld = bus.control == 'I';
    const T theta = T::Unknown(kTheta, bus.angle);
    const T v = T::Unknown(kV, bus.voltage);
    const T delta = T::Unknown(kDelta, m.delta);
    const T vr = T::Unknown(kVr, m.vr), vi = T::Unknown(kVi, m.vi);
    const T ir = T::Unknown(kIr, m.ir), ii = T::Unknown(kIi, m.ii);
    const T vd = T::Unknown(kVd, m.vd), vq = T::Unknown(kVq, m.vq);
    const T id = T::Unknown(kId, m.id), iq = T::Unknown(kIq, m.iq);
    const T ia = currentHeld ? T::Constant(m.ia) : T::Unknown(kIa, m.ia);
    const T cd = cos(delta), sd = sin(delta);
    const T weighted = (-w[g + 1]) * (vr * ir + vi * ii) + (-w[g + 2]) * (vi * ir - vr * ii) +
                       (-w[g + 5]) * (vd * cd - vq * sd) + (-w[g + 6]) * (vd * sd + vq * cd) +
                       (-w[g + 7]) * (id * cd - iq * sd) + (-w[g + 8]) * (id * sd + iq * cd) +
                       (-w[g + 9]) * (v * cos(theta)) + (-w[g + 10]) * (v * sin(theta)) +
                       w[g + 11] * (ia * ia - ir * ir - ii * ii);
    const std::array<int, kCount> columns{PocAngleColumn(bus), PocVoltageColumn(bus), g + 2, g + 3, g + 4,
                                          g + 5,              g + 6,                  g + 7, g + 8, g + 9,
                                          g + 10,             currentHeld ? 0 : g + 11};
    EnterCurvature(solver, columns, columns, weighted);
}
