#pragma once

#include <array>

#include "second_order.h"
#include "solver.h"

// What the point-of-collapse rows of every family share: the unknown that
// a bus's angle and voltage are in the extended system (0 where the
// quantity is held and its column holds another one), and the entry of a
// weighted curvature into block 2.

inline int PocAngleColumn(const NetBus& bus) {
    return CodeHas(bus.code, "S") ? 0 : bus.firstVariable;
}

inline int PocVoltageColumn(const NetBus& bus) {
    return HoldsVoltage(bus.voltageColumn) ? bus.firstVariable + 1 : 0;
}

// Adds the Hessian of `term` at (n + rows[a], columns[b]). rows and columns
// name the unknown of each local variable, 0 where it is none; a local
// variable without a row of block 2 (lambda) has a column only.
template <class Unknowns, int D>
void EnterCurvature(Solver& solver, const Unknowns& rows, const Unknowns& columns, const SecondOrder<D>& term) {
    const int n = solver.VariableCount();
    for (int a = 0; a < D; ++a) {
        if (!rows[a]) continue;
        for (int b = 0; b < D; ++b)
            if (columns[b]) solver.AddElement(n + rows[a], columns[b], term.hessian[a][b]);
    }
}
