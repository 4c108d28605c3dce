#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <numeric>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "network_jacobian.h"
#include "solver.h"
#include "solver_handle.h"
#include "sparse_lu.h"

namespace {

using Triplets = std::vector<MatrixTriplet>;

// A dominant matrix, by default with its rows shuffled: non-singular, but
// most diagonal positions are then empty, so the ordering has to look
// elsewhere.
Triplets RandomSystem(int n, unsigned seed, bool shuffleRows = true) {
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> column(1, n);
    std::uniform_real_distribution<double> value(-1.0, 1.0);
    std::vector<int> rowOf(n + 1);
    std::iota(rowOf.begin(), rowOf.end(), 0);
    if (shuffleRows) std::shuffle(rowOf.begin() + 1, rowOf.end(), random);
    Triplets triplets;
    for (int i = 1; i <= n; ++i) {
        triplets.push_back({rowOf[i], i, 5.0 + value(random)});
        for (int e = 0; e < 4; ++e) triplets.push_back({rowOf[i], column(random), value(random)});
    }
    return triplets;
}

// The same pattern with other values.
Triplets Perturbed(Triplets triplets) {
    for (size_t i = 0; i < triplets.size(); ++i) triplets[i].value *= 1.0 + 0.25 * std::sin(3.0 * i);
    return triplets;
}

std::vector<double> RightHandSide(int n) {
    std::vector<double> b(n + 1, 0.0);
    for (int i = 1; i <= n; ++i) b[i] = std::cos(0.7 * i) + 0.1 * i;
    return b;
}

// Infinity-norm backward error of x as a solution of A x = b (A^T with `transposed`).
double RelativeResidual(const Triplets& a, const std::vector<double>& x, const std::vector<double>& b,
                        bool transposed = false) {
    const size_t n = b.size() - 1;
    std::vector<double> r(b), rowSum(n + 1, 0.0);
    for (const auto& t : a) {
        const int row = transposed ? t.column : t.row, column = transposed ? t.row : t.column;
        r[row] -= t.value * x[column];
        rowSum[row] += std::fabs(t.value);
    }
    double residual = 0, norm = 0, xNorm = 0, bNorm = 0;
    for (size_t i = 1; i <= n; ++i) {
        residual = std::max(residual, std::fabs(r[i]));
        norm = std::max(norm, rowSum[i]);
        xNorm = std::max(xNorm, std::fabs(x[i]));
        bNorm = std::max(bNorm, std::fabs(b[i]));
    }
    return residual / (norm * xNorm + bNorm);
}

// Dense LU with partial pivoting: the reference solution and the sign of
// the determinant.
struct DenseLu {
    int n;
    std::vector<std::vector<double>> a;
    std::vector<int> pivotRow;
    int determinantSign = 1;

    DenseLu(const Triplets& triplets, int size)
        : n(size), a(size + 1, std::vector<double>(size + 1, 0.0)), pivotRow(size + 1) {
        for (const auto& t : triplets) a[t.row][t.column] += t.value;
        for (int k = 1; k <= n; ++k) {
            int p = k;
            for (int i = k + 1; i <= n; ++i)
                if (std::fabs(a[i][k]) > std::fabs(a[p][k])) p = i;
            pivotRow[k] = p;
            if (p != k) {
                std::swap(a[p], a[k]);
                determinantSign = -determinantSign;
            }
            if (a[k][k] < 0) determinantSign = -determinantSign;
            for (int i = k + 1; i <= n; ++i) {
                const double m = a[i][k] /= a[k][k];
                for (int j = k + 1; j <= n; ++j) a[i][j] -= m * a[k][j];
            }
        }
    }

    std::vector<double> Solve(std::vector<double> b) const {
        for (int k = 1; k <= n; ++k) std::swap(b[k], b[pivotRow[k]]);
        for (int k = 1; k <= n; ++k)
            for (int i = k + 1; i <= n; ++i) b[i] -= a[i][k] * b[k];
        for (int k = n; k >= 1; --k) {
            for (int j = k + 1; j <= n; ++j) b[k] -= a[k][j] * b[j];
            b[k] /= a[k][k];
        }
        return b;
    }
};

void Assemble(Solver& solver, const Triplets& triplets) {
    for (const auto& t : triplets) solver.AddElement(t.row, t.column, t.value);
}

// First factorisation of a structure, in the order every caller uses.
int OrderFresh(Solver& solver, const Triplets& triplets) {
    solver.ClearMatrix();
    Assemble(solver, triplets);
    solver.SortLists();
    const int result = solver.OrderAndFactor();
    solver.SortLists();
    return result;
}

// Later factorisation of the same structure with the kept order.
int Refactor(Solver& solver, const Triplets& triplets) {
    solver.Matrix().ZeroValues();
    Assemble(solver, triplets);
    return solver.Factor();
}

std::vector<double> Solved(Solver& solver, std::vector<double> b) {
    solver.SparseSolve(b);
    return b;
}

void ExpectNear(const std::vector<double>& x, const std::vector<double>& expected, double tolerance) {
    double scale = 0;
    for (double v : expected) scale = std::max(scale, std::fabs(v));
    for (size_t i = 1; i < x.size(); ++i) ASSERT_NEAR(x[i], expected[i], tolerance * scale) << "unknown " << i;
}

// Sets option F as the run's argument list would.
void SetPivotThreshold(Solver& solver, const char* option) {
    const char* items[] = {"ostrand", option};
    solver.SetArguments(2, items);
    solver.ReadSolutionSettings();
    solver.SetArguments(0, nullptr);
}

struct SystemCase {
    const char* name;
    int n;
    Triplets triplets;
    const char* pivotThreshold;  // option F
};

// Random matrices fill in ten times over and more, and under the default
// threshold of 0.01 their pivots grow too much for a 1e-10 residual; they
// run under F = 0.1. Power-network patterns run under the default.
std::vector<SystemCase> Systems() {
    const NetworkJacobian mesh = MakeGridJacobian(10, 10, 1.0, 7);
    const NetworkJacobian network = MakeGridJacobian(40, 25, 0.3, 11);
    return {
        {"random 50", 50, RandomSystem(50, 1), "-F0.1"},
        {"random 400", 400, RandomSystem(400, 2), "-F0.1"},
        {"random 1000", 1000, RandomSystem(1000, 3), "-F0.1"},
        {"random 400, largest pivots", 400, RandomSystem(400, 2), "-F1"},
        {"full mesh 200", mesh.unknowns, mesh.triplets, "-F0.01"},
        {"network 2000", network.unknowns, network.triplets, "-F0.01"},
    };
}

TEST(SparseLu, BothCallingOrdersSolveLikeADenseSolve) {
    for (const auto& c : Systems()) {
        SCOPED_TRACE(c.name);
        SolverHandle solver;
        SetPivotThreshold(*solver, c.pivotThreshold);
        solver->SetMatrixOrder(c.n);
        const auto b = RightHandSide(c.n);
        const Triplets second = Perturbed(c.triplets);

        ASSERT_EQ(OrderFresh(*solver, c.triplets), 0);
        const auto x = Solved(*solver, b);
        EXPECT_LT(RelativeResidual(c.triplets, x, b), 1e-10);
        const int entries = solver->Matrix().EntryCount();

        ASSERT_EQ(Refactor(*solver, second), 0);
        const auto y = Solved(*solver, b);
        EXPECT_LT(RelativeResidual(second, y, b), 1e-10);
        EXPECT_EQ(solver->Matrix().EntryCount(), entries);  // the refactorisation creates nothing

        if (c.n <= 500) {
            ExpectNear(x, DenseLu(c.triplets, c.n).Solve(b), 1e-8);
            ExpectNear(y, DenseLu(second, c.n).Solve(b), 1e-8);
        }
    }
}

// The refactorisation with the kept order solves like a fresh order, to
// the last bit (the same operations in the same sequence), and the entries
// keep the assembled matrix through both.
TEST(SparseLu, RefactorWithTheKeptOrderEqualsAFreshOrder) {
    for (const auto& c : Systems()) {
        SCOPED_TRACE(c.name);
        const Triplets& triplets = c.triplets;
        const auto b = RightHandSide(c.n);
        SolverHandle solver;
        SetPivotThreshold(*solver, c.pivotThreshold);
        solver->SetMatrixOrder(c.n);
        ASSERT_EQ(OrderFresh(*solver, triplets), 0);
        const auto fresh = Solved(*solver, b);
        std::vector<double> values;
        for (int i = 1; i <= solver->Matrix().EntryCount(); ++i) values.push_back(solver->Matrix().Entry(i).value);
        ASSERT_EQ(Refactor(*solver, triplets), 0);
        EXPECT_EQ(Solved(*solver, b), fresh);
        for (int i = 1; i <= solver->Matrix().EntryCount(); ++i)
            ASSERT_EQ(solver->Matrix().Entry(i).value, values[i - 1]);
    }
}

// A kept pivot that has become tiny against the others (reciprocal
// condition estimate below 1e-12), though not below the zero pivot, calls
// for a new pivot choice; values of a fair condition keep the pivots.
TEST(SparseLu, AKeptPivotTinyAgainstTheOthersIsChosenAgain) {
    SparseMatrix matrix(2, 2);
    auto assemble = [&](double corner) {
        matrix.ZeroValues();
        for (const auto& [row, column, value] :
             {std::tuple{1, 1, 1.0}, {1, 2, 1.0}, {2, 1, 1.0}, std::tuple{2, 2, corner}})
            matrix.AddElement(row, column, value);
    };
    assemble(2.0);
    ASSERT_TRUE(matrix.OrderAndFactor(0.1));
    const struct {
        double corner;
        int refactorisations, factorisations;
    } steps[] = {{3.0, 1, 1}, {1.0 + 1e-14, 1, 2}, {3.0, 2, 2}};
    for (const auto& step : steps) {
        assemble(step.corner);
        ASSERT_EQ(matrix.Factor(), SparseMatrix::FactorResult::Done) << step.corner;
        EXPECT_EQ(matrix.FactorCounts().refactorisations, step.refactorisations) << step.corner;
        EXPECT_EQ(matrix.FactorCounts().factorisations, step.factorisations) << step.corner;
    }
}

// A kept pivot that has become exactly zero stops the refactorisation
// part-way through the factor: a new pivot choice takes over, solves right,
// and later values refactorise with the new pivots.
TEST(SparseLu, AKeptPivotOfZeroIsChosenAgainAndTheFactorStaysUsable) {
    SparseMatrix matrix(2, 2);
    auto assemble = [&](double corner) {
        matrix.ZeroValues();
        for (const auto& [row, column, value] :
             {std::tuple{1, 1, corner}, {1, 2, 1.0}, {2, 1, 1.0}, std::tuple{2, 2, 2.0}})
            matrix.AddElement(row, column, value);
    };
    // [corner 1; 1 2] x = b with x = (1, 2): b = (corner + 2, 5).
    auto solvesExactly = [&](double corner) {
        std::vector<double> x = {0.0, corner + 2.0, 5.0};
        // The answer is the determinant's sign, that of 2 corner - 1.
        ASSERT_EQ(matrix.Solve(x), 2.0 * corner - 1.0 < 0.0 ? -1 : 1);
        EXPECT_DOUBLE_EQ(x[1], 1.0) << corner;
        EXPECT_DOUBLE_EQ(x[2], 2.0) << corner;
    };
    assemble(4.0);
    ASSERT_TRUE(matrix.OrderAndFactor(0.1));
    const struct {
        double corner;
        int refactorisations, factorisations;
    } steps[] = {{0.0, 0, 2}, {0.0, 1, 2}, {3.0, 2, 2}};
    for (const auto& step : steps) {
        assemble(step.corner);
        ASSERT_EQ(matrix.Factor(), SparseMatrix::FactorResult::Done) << step.corner;
        EXPECT_EQ(matrix.FactorCounts().refactorisations, step.refactorisations) << step.corner;
        EXPECT_EQ(matrix.FactorCounts().factorisations, step.factorisations) << step.corner;
        solvesExactly(step.corner);
    }
}

// The order found for a pattern serves that pattern again after the store
// held another one and was emptied: the search is not repeated and the
// solution is the search's to the last bit. A given order is taken as
// given and stays while the store keeps its size; a new size drops it.
TEST(SparseLu, AnOrderIsSearchedOncePerPatternOrTakenAsGiven) {
    constexpr int n = 40;
    const Triplets first = RandomSystem(n, 11), second = RandomSystem(n, 12);
    SparseMatrix matrix(n, n);
    auto solve = [&](const Triplets& triplets) {
        matrix.Clear();
        for (const auto& t : triplets) matrix.AddElement(t.row, t.column, t.value);
        EXPECT_TRUE(matrix.OrderAndFactor(0.1));
        std::vector<double> x = RightHandSide(n);
        matrix.Solve(x);
        return x;
    };
    const std::vector<double> searched = solve(first);
    const std::vector<int> order = matrix.PivotOrder();
    ASSERT_EQ(order.size(), static_cast<size_t>(n));
    solve(second);
    matrix.Resize(n, n);
    EXPECT_EQ(solve(first), searched);
    EXPECT_EQ(matrix.PivotOrder(), order);
    EXPECT_EQ(matrix.FactorCounts().orderings, 2);
    EXPECT_EQ(matrix.FactorCounts().givenOrders, 1);

    const std::vector<int> reversed(order.rbegin(), order.rend());
    matrix.OrderAs(reversed);
    ExpectNear(solve(first), searched, 1e-12);
    EXPECT_EQ(matrix.PivotOrder(), reversed);
    matrix.Resize(n, n);
    solve(first);
    EXPECT_EQ(matrix.PivotOrder(), order);
    EXPECT_EQ(matrix.FactorCounts().orderings, 2);
    EXPECT_EQ(matrix.FactorCounts().givenOrders, 3);
}

// An assembly that makes its calls in another order than the last one, or
// splits a value over two calls, still puts every value on its own entry:
// the remembered places, carried through the sorting of the entries, serve
// only the calls that repeat.
TEST(SparseLu, AssembliesInAnotherCallOrderReachTheSameEntries) {
    const Triplets triplets = RandomSystem(60, 7);
    const auto b = RightHandSide(60);
    const Triplets reversed(triplets.rbegin(), triplets.rend());
    const Triplets split = [&] {
        Triplets parts;
        for (const auto& t : triplets) parts.push_back({t.row, t.column, 0.25 * t.value});
        for (const auto& t : triplets) parts.push_back({t.row, t.column, 0.75 * t.value});
        return parts;
    }();
    SolverHandle solver;
    solver->SetMatrixOrder(60);
    ASSERT_EQ(OrderFresh(*solver, triplets), 0);
    const auto fresh = Solved(*solver, b);
    for (const Triplets* assembly : {&triplets, &reversed, &split, &triplets}) {
        ASSERT_EQ(Refactor(*solver, *assembly), 0);
        for (const auto& t : triplets) {
            const MatrixEntry* entry = solver->Matrix().Find(t.row, t.column);
            ASSERT_NE(entry, nullptr);
            double sum = 0.0;
            for (const auto& u : triplets)
                if (u.row == t.row && u.column == t.column) sum += u.value;
            ASSERT_NEAR(entry->value, sum, 1e-14 * std::fabs(sum));
        }
        ExpectNear(Solved(*solver, b), fresh, 1e-12);
    }
}

// An assembly taken back to a step goes on from there as if made afresh:
// every entry holds what a whole new assembly gives it, those the two
// assemblies share included. Here a full last row, as a continuation's
// parameter row, is entered once with one set of values and again with
// another.
TEST(SparseLu, RewoundAssemblyEqualsAFreshOne) {
    const int n = 40;
    Triplets network = RandomSystem(n - 1, 3);
    for (int i = 1; i < n; ++i) network.push_back({i, n, 0.5 * i});  // the parameter column
    const auto lastRow = [&](double scale) {
        Triplets row;
        for (int j = 1; j <= n; ++j) row.push_back({n, j, scale * j});
        return row;
    };
    SolverHandle solver;
    solver->SetMatrixOrder(n);
    Triplets first = network;
    for (const auto& t : lastRow(1.0)) first.push_back(t);
    ASSERT_EQ(OrderFresh(*solver, first), 0);

    // Twice the network's calls, as a pass that enters parts of an element
    // one by one, then the row.
    solver->Matrix().ZeroValues();
    Assemble(*solver, network);
    const std::size_t rowStep = solver->Matrix().AssemblyStep();
    Assemble(*solver, lastRow(1.0));
    solver->Matrix().RewindAssembly(rowStep);
    Assemble(*solver, lastRow(-2.0));
    ASSERT_EQ(solver->Factor(), 0);
    std::vector<double> rewound;
    for (int k = 1; k <= solver->Matrix().EntryCount(); ++k) rewound.push_back(solver->Matrix().Entry(k).value);
    const auto rewoundSolution = Solved(*solver, RightHandSide(n));

    Triplets second = network;
    for (const auto& t : lastRow(-2.0)) second.push_back(t);
    ASSERT_EQ(Refactor(*solver, second), 0);
    for (int k = 1; k <= solver->Matrix().EntryCount(); ++k)
        EXPECT_EQ(rewound[k - 1], solver->Matrix().Entry(k).value) << k;
    EXPECT_EQ(rewoundSolution, Solved(*solver, RightHandSide(n)));
}

// A bordered matrix, as a continuation's: a full last row and column. Each
// element is found where it was added, before and after the lists are
// sorted and under a second assembly, and a column visit meets exactly
// the column's entries.
TEST(SparseLu, BorderedMatrixFindsAndVisitsEveryEntry) {
    constexpr int n = 40;
    SparseMatrix matrix(n, n);
    auto valueAt = [](int row, int column) { return row * 100.0 + column; };
    auto assemble = [&] {
        for (int i = 1; i < n; ++i) {
            matrix.AddElement(i, i, valueAt(i, i));
            matrix.AddElement(i, n, valueAt(i, n));
            if (i + 1 < n) matrix.AddElement(i, i + 1, valueAt(i, i + 1));
        }
        for (int column = 1; column <= n; ++column) matrix.AddElement(n, column, valueAt(n, column));
    };
    auto expectEntries = [&] {
        for (int row = 1; row <= n; ++row)
            for (int column = 1; column <= n; ++column) {
                const bool stored = row == n || column == n || column == row || column == row + 1;
                const MatrixEntry* entry = matrix.Find(row, column);
                ASSERT_EQ(entry != nullptr, stored) << row << ", " << column;
                if (stored) {
                    EXPECT_EQ(entry->value, valueAt(row, column)) << row << ", " << column;
                }
            }
        for (int column : {1, n / 2, n}) {
            std::vector<int> rows;
            matrix.VisitColumn(column, [&](const MatrixEntry& entry) {
                EXPECT_EQ(entry.column, column);
                EXPECT_EQ(entry.value, valueAt(entry.row, column));
                rows.push_back(entry.row);
            });
            std::sort(rows.begin(), rows.end());
            std::vector<int> expected;
            for (int row = 1; row <= n; ++row)
                if (row == n || column == n || column == row || column == row + 1) expected.push_back(row);
            EXPECT_EQ(rows, expected) << "column " << column;
        }
    };
    assemble();
    expectEntries();
    matrix.SortLists();
    expectEntries();
    matrix.ZeroValues();
    assemble();
    expectEntries();
    // Ordered, the columns are read from the factor's compressed form.
    ASSERT_TRUE(matrix.OrderAndFactor(1.0));
    matrix.ZeroValues();
    assemble();
    expectEntries();
}

// The factor sign is the sign of the determinant, through refactorisations
// and new orders alike: sweep A - s I through several eigenvalues.
TEST(SparseLu, FactorSignIsTheSignOfTheDeterminant) {
    const int n = 12;
    const auto matrixAt = [&](double s) {
        Triplets t;
        for (int i = 1; i <= n; ++i) {
            t.push_back({i, i, i - 6.5 - s});
            if (i < n) {
                t.push_back({i, i + 1, 0.3});
                t.push_back({i + 1, i, 0.3});
            }
        }
        t.push_back({1, n, 0.2});
        t.push_back({n, 1, 0.2});
        return t;
    };
    SolverHandle solver;
    solver->SetMatrixOrder(n);
    const auto b = RightHandSide(n);
    ASSERT_EQ(OrderFresh(*solver, matrixAt(-8.0)), 0);
    Solved(*solver, b);
    EXPECT_EQ(solver->FactorSign(), DenseLu(matrixAt(-8.0), n).determinantSign);

    int flips = 0, previous = solver->FactorSign();
    for (double s = -8.0; s <= 8.0; s += 0.173) {
        SCOPED_TRACE(s);
        const int determinantSign = DenseLu(matrixAt(s), n).determinantSign;
        ASSERT_EQ(Refactor(*solver, matrixAt(s)), 0);
        Solved(*solver, b);
        EXPECT_EQ(solver->FactorSign(), determinantSign);
        flips += solver->FactorSign() != previous;
        previous = solver->FactorSign();
        SolverHandle fresh;
        fresh->SetMatrixOrder(n);
        ASSERT_EQ(OrderFresh(*fresh, matrixAt(s)), 0);
        Solved(*fresh, b);
        EXPECT_EQ(fresh->FactorSign(), determinantSign);
    }
    EXPECT_GE(flips, 10);
}

// Each case is a 4 x 4 system whose third row cannot give a pivot.
TEST(SparseLu, AnUnusableRowMakesTheOrderingFail) {
    const struct {
        const char* name;
        Triplets row3;
    } cases[] = {
        {"all entries tiny", {{3, 1, 1e-21}, {3, 3, -1e-21}, {3, 4, 5e-21}}},
        {"all entries zero", {{3, 2, 0.0}, {3, 3, 0.0}}},
        {"no entries", {}},
        {"only columns that are taken", {{3, 1, 1.0}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Triplets t = {{1, 1, 4.0}, {2, 2, 3.0}, {2, 1, 1.0}, {4, 4, 2.0}, {4, 3, 1.0}};
        t.insert(t.end(), c.row3.begin(), c.row3.end());
        SolverHandle solver;
        solver->SetMatrixOrder(4);
        EXPECT_EQ(OrderFresh(*solver, t), 1);
        EXPECT_EQ(solver->Factor(), 1);  // a failed ordering leaves nothing to refactor
    }
}

// A marked variable's row and column become those of the identity, so its
// solution is its right-hand side and the others solve the rest alone.
TEST(SparseLu, FixedVariableModeReturnsTheRightHandSide) {
    const int n = 40, fixed = 7;
    Triplets a = RandomSystem(n, 21, false);
    SolverHandle solver;
    solver->SetMatrixOrder(n);
    solver->FixedVariables() = Solver::NewIndexVector(n);
    solver->FixedVariables()[fixed] = 1;
    solver->SetFixedVariableMode(true);
    const auto b = RightHandSide(n);

    Triplets reduced;
    for (const auto& t : a)
        if (t.row != fixed && t.column != fixed) reduced.push_back(t);
    reduced.push_back({fixed, fixed, 1.0});

    ASSERT_EQ(OrderFresh(*solver, a), 0);
    const auto x = Solved(*solver, b);
    EXPECT_EQ(x[fixed], b[fixed]);
    EXPECT_LT(RelativeResidual(reduced, x, b), 1e-10);

    ASSERT_EQ(Refactor(*solver, Perturbed(a)), 0);
    EXPECT_EQ(Solved(*solver, b)[fixed], b[fixed]);
    EXPECT_EQ(solver->AddElement(fixed, fixed == 1 ? 2 : 1, 5.0), nullptr);
}

// A diagonal matrix, a zero on the diagonal, a permutation, a single
// unknown: solutions in variable order, the structure as assembled, from
// the first factorisation and from the refactorisation alike.
TEST(SparseLu, SmallSystemsSolveInVariableOrder) {
    const struct {
        const char* name;
        int n;
        Triplets a;
        std::vector<double> b, x;
    } cases[] = {
        {"diagonal", 4, {{1, 1, 2.0}, {2, 2, -4.0}, {3, 3, 0.5}, {4, 4, 8.0}},
         {0, 1, 2, 3, 4}, {0, 0.5, -0.5, 6, 0.5}},
        {"zero leading diagonal", 2, {{1, 1, 0.0}, {1, 2, 2.0}, {2, 1, 3.0}, {2, 2, 4.0}},
         {0, 4, 11}, {0, 1, 2}},
        {"permutation", 3, {{1, 3, 2.0}, {2, 1, 4.0}, {3, 2, -1.0}},
         {0, 6, 8, 1}, {0, 2, -1, 3}},
        {"one unknown", 1, {{1, 1, -4.0}}, {0, 2}, {0, -0.5}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SolverHandle solver;
        solver->SetMatrixOrder(c.n);
        ASSERT_EQ(OrderFresh(*solver, c.a), 0);
        EXPECT_EQ(solver->Matrix().EntryCount(), static_cast<int>(c.a.size()));
        ExpectNear(Solved(*solver, c.b), c.x, 1e-15);
        ASSERT_EQ(Refactor(*solver, c.a), 0);
        ExpectNear(Solved(*solver, c.b), c.x, 1e-15);
    }
}

// An entry created after the ordering is missing from the ordered
// structure: the refactorisation asks for a new order instead of a wrong
// factor.
TEST(SparseLu, ANewEntryAfterTheOrderingAsksForAReorder) {
    const int n = 50;
    const Triplets a = RandomSystem(n, 8);
    SolverHandle solver;
    solver->SetMatrixOrder(n);
    ASSERT_EQ(OrderFresh(*solver, a), 0);
    int row = 1, column = 1;
    while (solver->Matrix().Find(row, column)) ++column;
    Triplets grown = a;
    grown.push_back({row, column, 0.7});
    EXPECT_EQ(Refactor(*solver, grown), 1);
    ASSERT_EQ(OrderFresh(*solver, grown), 0);
    const auto b = RightHandSide(n);
    EXPECT_LT(RelativeResidual(grown, Solved(*solver, b), b), 1e-10);
}

TEST(SparseLu, MisuseEndsTheRun) {
    const int n = 5;
    // Each says what failed.
    const struct {
        const char* name;
        std::function<void(Solver&)> call;
        const char* message;
    } cases[] = {
        {"row 0", [](Solver& s) { s.AddElement(0, 1, 1.0); }, "entry (0, 1) lies outside the matrix"},
        {"column beyond the order", [](Solver& s) { s.AddElement(1, n + 1, 1.0); }, "entry (1, 6) lies outside"},
        {"solve without a factor", [](Solver& s) { Solved(s, RightHandSide(n)); }, "a solve without a factorisation"},
        {"solve into a short vector",
         [](Solver& s) {
             OrderFresh(s, RandomSystem(n, 1));
             std::vector<double> b(n, 1.0);
             s.SparseSolve(b);
         },
         "a solve without a factorisation"},
        {"solve after new values",
         [](Solver& s) {
             OrderFresh(s, RandomSystem(n, 1));
             s.AddElement(1, 1, 1.0);
             Solved(s, RightHandSide(n));
         },
         "a solve without a factorisation"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SolverHandle solver;
        solver->SetMatrixOrder(n);
        testing::internal::CaptureStderr();
        EXPECT_THROW(c.call(*solver), SolverAbort);
        EXPECT_NE(testing::internal::GetCapturedStderr().find(c.message), std::string::npos);
    }
}

// Transposing before the ordering (the left null vector's way) and
// transposing a factor both solve the transposed system.
TEST(SparseLu, TransposedSolves) {
    const int n = 200;
    const Triplets a = RandomSystem(n, 13);
    const auto b = RightHandSide(n);
    SolverHandle solver;
    SetPivotThreshold(*solver, "-F0.1");  // a random matrix, as above
    solver->SetMatrixOrder(n);

    solver->ClearMatrix();
    Assemble(*solver, a);
    solver->TransposeMatrix();
    solver->SortLists();
    ASSERT_EQ(solver->OrderAndFactor(), 0);
    solver->SortLists();
    EXPECT_LT(RelativeResidual(a, Solved(*solver, b), b, true), 1e-10);

    ASSERT_EQ(OrderFresh(*solver, a), 0);
    solver->TransposeMatrix();
    EXPECT_LT(RelativeResidual(a, Solved(*solver, b), b, true), 1e-10);
    solver->TransposeMatrix();
    EXPECT_LT(RelativeResidual(a, Solved(*solver, b), b), 1e-10);
}

}  // namespace
