#pragma once

#include <string>
#include <vector>

class Solver;

// A Jacobian entry that its central difference does not confirm.
struct JacobianDifference {
    int row = 0;
    int column = 0;
    double assembled = 0.0;
    double differenced = 0.0;
};

// Checks the Jacobian that the AC and device equations assemble at the solver's present
// state (unknowns numbered) against central differences of their mismatch.
// Each unknown is moved by +-step through the bus and device step application with its
// limits off, so the check also holds the equations to what each column
// means to the Newton step. Rows are the equations of the network, columns
// every unknown of the store (lambda's too in a continuation run). Answers
// the entries that differ by more than 1e-6 relative and 1e-8 absolute.
std::vector<JacobianDifference> CheckJacobian(Solver& solver, bool polynomialLoads, double step = 1e-6);

// One line per difference, for a failure message.
std::string Describe(const std::vector<JacobianDifference>& differences);
