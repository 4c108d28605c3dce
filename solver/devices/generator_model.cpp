#include "generator_model.h"

#include <algorithm>
#include <cmath>

#include "device_terms.h"

// Generator models: set-up from the generator-model file, the eleven rows
// of the machine, its part of a Newton step and its field and armature
// limits. The rows, with E on the rotor's d-axis:
//   g+1  Pg - (Vr Ir + Vi Ii)            g+6  Vi - Vd sin d - Vq cos d
//   g+2  Qg - (Vi Ir - Vr Ii)            g+7  Ir - Id cos d + Iq sin d
//   g+3  E - Vd - Ra Id + Xq Iq          g+8  Ii - Id sin d - Iq cos d
//   g+4  Vq + Xd Id + Ra Iq              g+9  Vr - V cos theta
//   g+5  Vr - Vd cos d + Vq sin d        g+10 Vi - V sin theta
//   g+11 Ia^2 - Ir^2 - Ii^2

namespace {

constexpr double kFloor = 0.00001;

double Floored(double value) {
    return value > 0.0 ? value : kFloor;
}

// Which side of its limits a quantity held at a model limit stands: +1 at
// the upper, -1 at the lower, 0 at neither.
int SideHeld(const NetBus& bus) {
    const NetGenerator& m = *bus.generator;
    if (bus.control == 'I') return m.ia == m.maxCurrent ? 1 : 0;
    if (bus.control == 'E') return m.e == m.maxField ? 1 : m.e == m.minField ? -1 : 0;
    return 0;
}

// The columns of a rectangular pair (x, y), its rotor-frame pair (d, q) and
// the rotor angle.
struct TurnColumns {
    int x, y, d, q, delta;
};

// Rows r and r + 1 of a pair turned into the rotor frame:
// x - d cos(delta) + q sin(delta) and y - d sin(delta) - q cos(delta).
void TurnedRows(DeviceTerms& terms, int r, TurnColumns c, double d, double q, double cd, double sd) {
    terms.Enter(r, c.x, 1.0);
    terms.Enter(r, c.d, -cd);
    terms.Enter(r, c.q, sd);
    terms.Enter(r, c.delta, d * sd + q * cd);
    terms.Enter(r + 1, c.y, 1.0);
    terms.Enter(r + 1, c.d, -sd);
    terms.Enter(r + 1, c.q, -cd);
    terms.Enter(r + 1, c.delta, -d * cd + q * sd);
}

}  // namespace

void InitGeneratorModel(NetBus& bus, std::span<const double, 6> line) {
    auto model = std::make_unique<NetGenerator>();
    NetGenerator& m = *model;
    m.resistance = std::fabs(line[0]);
    m.xd = line[1];
    const double xq = std::fabs(line[2]);
    m.xq = xq == 0.0 || xq > m.xd ? m.xd : xq;
    // A slack bus takes whatever current the network asks of it.
    m.maxCurrent = line[3] <= 0.0 || CodeHas(bus.code, "S") ? kNoMachineLimit : line[3];
    m.maxField = line[4] <= 0.0 ? kNoMachineLimit : line[4];
    m.minField = line[5];

    // The current out of the machine from the bus's generation:
    // I = conj(S / V).
    const double v = bus.voltage;
    const double e = v * std::cos(bus.angle);
    const double f = v * std::sin(bus.angle);
    const double p = bus.generationP;
    const double q = bus.generationQ;
    const double v2 = v > 0.0 ? v * v : 1.0;
    m.vr = e;
    m.vi = f;
    m.ir = (p * e + q * f) / v2;
    m.ii = (p * f - q * e) / v2;
    const double magnitude = std::hypot(m.ir, m.ii);
    m.ia = magnitude > m.maxCurrent ? m.maxCurrent : magnitude == 0.0 ? 1.0 : magnitude;

    // The rotor stands where V + j Xq I points; d-axis along it.
    m.delta = std::atan2(f + m.ir * m.xq, e - m.ii * m.xq);
    const double sd = std::sin(m.delta);
    const double cd = std::cos(m.delta);
    m.vd = e * cd + f * sd;
    m.vq = f * cd - e * sd;
    m.id = m.ir * cd + m.ii * sd;
    m.iq = m.ii * cd - m.ir * sd;
    m.e = m.vd - m.iq * m.xd;
    // Limits that cross, or a negative lower one, bound nothing here: E
    // starts where the machine stands, and the limits stay as read.
    if (m.minField <= m.maxField && m.minField >= 0.0) m.e = std::clamp(m.e, m.minField, m.maxField);
    m.fieldShadow = m.e;
    m.currentShadow = m.ia;
    bus.generator = std::move(model);
}

void GeneratorModelEquations(const NetBus& bus, DeviceTerms& terms, const GeneratorCoupling& coupling) {
    const NetGenerator& m = *bus.generator;
    const int g = m.base;
    const double sd = std::sin(m.delta);
    const double cd = std::cos(m.delta);
    const double ct = std::cos(bus.angle);
    const double st = std::sin(bus.angle);
    const double v = bus.voltage;
    const bool fieldHeld = bus.control == 'E';
    const bool currentHeld = bus.control == 'I';
    if (terms.WantMismatch()) {
        terms.Set(g + 1, bus.generationP - (m.vr * m.ir + m.vi * m.ii));
        terms.Set(g + 2, bus.generationQ - (m.vi * m.ir - m.vr * m.ii));
        terms.Set(g + 3, m.e - m.vd - m.resistance * m.id + m.xq * m.iq);
        terms.Set(g + 4, m.vq + m.xd * m.id + m.resistance * m.iq);
        terms.Set(g + 5, m.vr - m.vd * cd + m.vq * sd);
        terms.Set(g + 6, m.vi - m.vd * sd - m.vq * cd);
        terms.Set(g + 7, m.ir - m.id * cd + m.iq * sd);
        terms.Set(g + 8, m.ii - m.id * sd - m.iq * cd);
        terms.Set(g + 9, m.vr - v * ct);
        terms.Set(g + 10, m.vi - v * st);
        terms.Set(g + 11, m.ia * m.ia - m.ir * m.ir - m.ii * m.ii);
    }
    if (!terms.WantJacobian()) return;
    const int qRow = bus.firstVariable + 1;
    // Columns g+1 .. g+11: E, delta, Vr, Vi, Ir, Ii, Vd, Vq, Id, Iq, Ia.
    const int cE = g + 1, cDelta = g + 2, cVr = g + 3, cVi = g + 4, cIr = g + 5, cIi = g + 6;
    const int cVd = g + 7, cVq = g + 8, cId = g + 9, cIq = g + 10, cIa = g + 11;

    terms.Enter(g + 1, cVr, -m.ir);
    terms.Enter(g + 1, cVi, -m.ii);
    terms.Enter(g + 1, cIr, -m.vr);
    terms.Enter(g + 1, cIi, -m.vi);
    if (coupling.slackColumn) terms.Enter(g + 1, coupling.slackColumn, coupling.share);

    terms.Enter(g + 2, cVr, m.ii);
    terms.Enter(g + 2, cVi, -m.ir);
    terms.Enter(g + 2, cIr, -m.vi);
    terms.Enter(g + 2, cIi, m.vr);
    // The reactive generation stands in the column of the quantity it
    // holds: the voltage, the armature current or E.
    if (coupling.heldColumn) terms.Enter(g + 2, coupling.heldColumn, coupling.heldValue);
    for (int row : {g + 2, qRow}) {
        terms.Enter(row, cIa, currentHeld ? 1.0 : 0.0);
        terms.Enter(row, cE, fieldHeld ? 1.0 : 0.0);
    }

    terms.Enter(g + 3, cE, fieldHeld ? 0.0 : 1.0);
    terms.Enter(g + 3, cVd, -1.0);
    terms.Enter(g + 3, cId, -m.resistance);
    terms.Enter(g + 3, cIq, m.xq);

    terms.Enter(g + 4, cVq, 1.0);
    terms.Enter(g + 4, cId, m.xd);
    terms.Enter(g + 4, cIq, m.resistance);

    TurnedRows(terms, g + 5, {cVr, cVi, cVd, cVq, cDelta}, m.vd, m.vq, cd, sd);
    TurnedRows(terms, g + 7, {cIr, cIi, cId, cIq, cDelta}, m.id, m.iq, cd, sd);

    terms.Enter(g + 9, cVr, 1.0);
    terms.Voltage(g + 9, bus, -ct);
    terms.Angle(g + 9, bus, v * st);
    terms.Enter(g + 10, cVi, 1.0);
    terms.Voltage(g + 10, bus, -st);
    terms.Angle(g + 10, bus, -v * ct);

    terms.Enter(g + 11, cIa, currentHeld ? 0.0 : 2.0 * m.ia);
    terms.Enter(g + 11, cIr, -2.0 * m.ir);
    terms.Enter(g + 11, cIi, -2.0 * m.ii);
}

void StepGeneratorModel(NetBus& bus, const DeviceStep& move, const RunSwitches& switches) {
    NetGenerator& m = *bus.generator;
    const int g = m.base;
    if (bus.control == 'E') {
        bus.generationQ = move.Shadowed(m.fieldShadow, bus.generationQ, g + 1);
    } else {
        const double e = move.Shadowed(m.fieldShadow, m.e, g + 1);
        m.e = Floored(switches.fieldLimits ? move.Clamped(e, m.minField, m.maxField) : e);
    }
    m.delta += move.Delta(g + 2);
    m.vr += move.Delta(g + 3);
    m.vi += move.Delta(g + 4);
    m.ir += move.Delta(g + 5);
    m.ii += move.Delta(g + 6);
    m.vd += move.Delta(g + 7);
    m.vq += move.Delta(g + 8);
    m.id += move.Delta(g + 9);
    m.iq += move.Delta(g + 10);
    if (bus.control == 'I') {
        bus.generationQ = move.Shadowed(m.currentShadow, bus.generationQ, g + 11);
    } else {
        const double ia = move.Shadowed(m.currentShadow, m.ia, g + 11);
        m.ia = Floored(switches.armatureLimits && move.Clamping() ? std::min(ia, m.maxCurrent) : ia);
    }
}

char HoldModelAtLimit(NetBus& bus, const RunSwitches& switches) {
    if (!bus.generator) return 0;
    NetGenerator& m = *bus.generator;
    if (switches.armatureLimits && m.ia >= m.maxCurrent) {
        m.ia = m.maxCurrent;
        return 'I';
    }
    if (switches.fieldLimits && (m.e >= m.maxField || m.e <= m.minField)) {
        m.e = m.e >= m.maxField ? m.maxField : m.minField;
        return 'E';
    }
    return 0;
}

bool ModelRecoveryDue(const NetBus& bus, double value, double reference) {
    if (!bus.generator) return false;
    const int side = SideHeld(bus);
    return (side > 0 && value >= reference) || (side < 0 && value <= reference);
}

bool ModelHoldsVoltage(const NetBus& bus, double voltage, double target) {
    if (!bus.generator) return false;
    const int side = SideHeld(bus);
    return (side > 0 && voltage > target) || (side < 0 && voltage < target);
}

const char* ModelLimitBroken(const NetBus& bus, const RunSwitches& switches) {
    if (!bus.generator) return nullptr;
    const NetGenerator& m = *bus.generator;
    if (bus.control != 'I' && switches.armatureLimits && m.ia > m.maxCurrent) return "armature current";
    if (bus.control != 'E' && switches.fieldLimits && (m.e > m.maxField || m.e < m.minField)) return "field";
    return nullptr;
}

void GeneratorModelFields(NetBus& bus, std::vector<StateField>& fields) {
    NetGenerator& m = *bus.generator;
    double* values[] = {bus.control == 'E' ? &bus.generationQ : &m.e, &m.delta, &m.vr, &m.vi, &m.ir, &m.ii,
                        &m.vd, &m.vq, &m.id, &m.iq, bus.control == 'I' ? &bus.generationQ : &m.ia};
    for (int k = 0; k < 11; ++k) fields[static_cast<std::size_t>(m.base + 1 + k)] = values[k];
}

void GeneratorModelValues(NetGenerator& m, std::vector<double*>& values) {
    values.insert(values.end(), {&m.e, &m.delta, &m.vr, &m.vi, &m.ir, &m.ii, &m.vd, &m.vq, &m.id, &m.iq, &m.ia});
}
