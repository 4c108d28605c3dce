#pragma once

#include <random>
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

// The same for the point-of-collapse rows n + 1 .. 2n + 1 and for lambda's
// column of the plain rows (the load models drawn): every column of the
// extended system, the state moved as above,
// the null vector's entries and lambda directly. Answers the entries that
// differ by more than 1e-5 relative and 1e-7 absolute. Leaves the solver's
// system at order 2n + 1 with its extended rows on.
std::vector<JacobianDifference> CheckExtendedRows(Solver& solver, double step = 1e-6);

// Moves every unknown 1..n by a random amount within +-size through the
// bus and device step application (limits off), and sets each of the
// null vector's n entries to a random value within +-1.
void MoveToRandomState(Solver& solver, std::mt19937& random, double size);

// One line per difference, for a failure message.
std::string Describe(const std::vector<JacobianDifference>& differences);
