#include "solver.h"

// What a continuation reads and keeps of a two-terminal HVDC link: its
// unknowns under the present codes, in the units of their Jacobian columns,
// and the values of its converters that a base point restores.

void HvdcStateFields(NetConverter& rectifier, std::vector<StateField>& fields) {
    const HvdcColumns col = HvdcColumnsOf(rectifier);
    auto end = [&](NetConverter& c, const HvdcColumns::End& e) {
        if (e.vd) fields[e.vd] = &c.vd;
        if (e.a) fields[e.a] = StateField(&c.tap, c.nominalRatio);
        if (e.cosAlpha) fields[e.cosAlpha] = StateField::Cosine(&c.alpha);
        if (e.cosGamma) fields[e.cosGamma] = StateField::Cosine(&c.gamma);
        fields[e.s] = &c.s;
        if (e.p) fields[e.p] = &c.p;
        if (e.q) fields[e.q] = &c.q;
    };
    end(rectifier, col.rectifier);
    end(*rectifier.partner, col.inverter);
    // The step moves the rectifier's current and copies it to the inverter.
    if (col.id) fields[col.id] = &rectifier.id;
}

void HvdcValues(NetConverter& c, std::vector<double*>& values) {
    values.insert(values.end(), {&c.vd, &c.tap, &c.alpha, &c.gamma, &c.s, &c.p, &c.q, &c.id});
}

// A link that switched its control at a point of the curve: its unknowns,
// some of them new, take their present values in the step's base point, so
// that the arc-length equation measures each in its new meaning.
void Solver::WriteLinkIntoBasePoint(NetConverter& rectifier) {
    if (!continuation_ || curve_.basePoint.size() <= static_cast<std::size_t>(variableCount_)) return;
    std::vector<StateField> fields(static_cast<std::size_t>(variableCount_) + 1);
    HvdcStateFields(rectifier, fields);
    const int last = rectifier.base + HvdcColumnsOf(rectifier).count;
    for (int i = rectifier.base + 1; i <= last; ++i)
        if (fields[i].value) curve_.basePoint[i] = fields[i].Read();
}
