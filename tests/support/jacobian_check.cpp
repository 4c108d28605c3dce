#include "jacobian_check.h"

#include <algorithm>
#include <cmath>
#include <sstream>

#include "solver.h"

namespace {

std::vector<double> Mismatch(Solver& solver, bool polynomialLoads) {
    int status = 0;
    solver.AcEquations(status, Evaluate::Mismatch, polynomialLoads ? Loads::Polynomial : Loads::Models);
    solver.DeviceEquations(Evaluate::Mismatch);
    return solver.Mismatch();
}

// Moves unknown `column` by `delta` as a Newton step would.
void Move(Solver& solver, int column, double delta) {
    std::vector<double>& correction = solver.Correction();
    std::fill(correction.begin(), correction.end(), 0.0);
    if (column) correction[column] = 1.0;
    solver.UpdateBuses(delta, Trial::First, Clamping::Off, RecoveryHold::Off);
    solver.UpdateDevices(delta, Trial::First, Clamping::Off);
}

struct Tolerance {
    double absolute;
    double relative;
};

// Each column's entries in rows firstRow(column)..lastRow against the
// central difference of the mismatch that `evaluate` answers after `move`
// has moved that column's unknown.
template <class MoveColumn, class EvaluateMismatch, class FirstRow>
std::vector<JacobianDifference> CompareColumns(Solver& solver, int columns, int lastRow, double step,
                                               Tolerance tolerance, MoveColumn move, EvaluateMismatch evaluate,
                                               FirstRow firstRow) {
    std::vector<JacobianDifference> differences;
    for (int column = 1; column <= columns; ++column) {
        move(column, step);
        const std::vector<double> up = evaluate();
        move(column, -2.0 * step);
        const std::vector<double> down = evaluate();
        move(column, step);
        for (int row = firstRow(column); row <= lastRow; ++row) {
            const MatrixEntry* entry = solver.Matrix().Find(row, column);
            const double assembled = entry ? entry->value : 0.0;
            const double differenced = (up[row] - down[row]) / (2.0 * step);
            const double error = std::fabs(assembled - differenced);
            if (error > tolerance.absolute && error > tolerance.relative * std::fabs(differenced))
                differences.push_back({row, column, assembled, differenced});
        }
    }
    return differences;
}

}  // namespace

std::vector<JacobianDifference> CheckJacobian(Solver& solver, bool polynomialLoads, double step) {
    // A zero step first, so that the quantities that follow the unknowns
    // (shared generation, remote generators' Q) agree with them.
    Move(solver, 0, 0.0);
    solver.ClearMatrix();
    int status = 0;
    solver.AcEquations(status, Evaluate::MismatchAndJacobian, polynomialLoads ? Loads::Polynomial : Loads::Models);
    solver.DeviceEquations(Evaluate::MismatchAndJacobian);
    return CompareColumns(
        solver, solver.MatrixOrder(), solver.VariableCount(), step, {1e-8, 1e-6},
        [&](int column, double delta) { Move(solver, column, delta); },
        [&] { return Mismatch(solver, polynomialLoads); }, [](int) { return 1; });
}

std::vector<JacobianDifference> CheckExtendedRows(Solver& solver, double step) {
    const int n = solver.VariableCount();
    const int order = 2 * n + 1;
    solver.SetSystemOrder(order, true);
    Move(solver, 0, 0.0);
    auto evaluate = [&](Evaluate evaluate) {
        int status = 0;
        solver.AcEquations(status, evaluate, Loads::Models);
        solver.DeviceEquations(evaluate);
        solver.PocRows(evaluate, Loads::Models);
        return solver.Mismatch();
    };
    evaluate(Evaluate::MismatchAndJacobian);
    std::vector<double>& w = solver.NullVector();
    auto moveExtended = [&](int column, double delta) {
        if (column <= n)
            Move(solver, column, delta);
        else if (column < order)
            w[column - n] += delta;
        else
            solver.SetLoadParameter(solver.LoadParameter() + delta);
    };
    // The plain rows depend on lambda only (column N).
    return CompareColumns(
        solver, order, order, step, {1e-7, 1e-5}, moveExtended, [&] { return evaluate(Evaluate::Mismatch); },
        [&](int column) { return column == order ? 1 : n + 1; });
}

void MoveToRandomState(Solver& solver, std::mt19937& random, double size) {
    std::uniform_real_distribution<double> around(-1.0, 1.0);
    const int n = solver.VariableCount();
    std::vector<double>& correction = solver.Correction();
    std::fill(correction.begin(), correction.end(), 0.0);
    for (int i = 1; i <= n; ++i) correction[i] = size * around(random);
    solver.UpdateBuses(1.0, Trial::First, Clamping::Off, RecoveryHold::Off);
    solver.UpdateDevices(1.0, Trial::First, Clamping::Off);
    std::vector<double>& w = solver.NullVector();
    w.assign(static_cast<std::size_t>(n) + 1, 0.0);
    for (int i = 1; i <= n; ++i) w[i] = around(random);
}

std::string Describe(const std::vector<JacobianDifference>& differences) {
    std::ostringstream text;
    for (const auto& d : differences)
        text << "(" << d.row << ", " << d.column << "): assembled " << d.assembled << ", differenced "
             << d.differenced << "\n";
    return text.str();
}
