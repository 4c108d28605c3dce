#pragma once

#include <random>
#include <string>

#include <gtest/gtest.h>

#include "jacobian_check.h"
#include "solver.h"

// The plain rows at three random states, then the point-of-collapse rows at
// two, each against central differences. `scramble` moves the device
// family's own unknowns to a random state before each check.
template <class Scramble>
void ExpectRowsMatchCentralDifferences(Solver& solver, std::mt19937& random, Scramble scramble) {
    for (int state = 0; state < 3; ++state) {
        SCOPED_TRACE("state " + std::to_string(state));
        scramble();
        const auto differences = CheckJacobian(solver, true);
        EXPECT_TRUE(differences.empty()) << Describe(differences);
    }
    solver.SetPointOfCollapse(true);
    solver.NumberVariables();
    for (int state = 0; state < 2; ++state) {
        SCOPED_TRACE("extended, state " + std::to_string(state));
        scramble();
        MoveToRandomState(solver, random, 0.0);
        const auto differences = CheckExtendedRows(solver);
        EXPECT_TRUE(differences.empty()) << Describe(differences);
    }
}
