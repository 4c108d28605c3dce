#pragma once

#include <memory>
#include <span>
#include <vector>

// The LU factorisation of a square matrix in compressed columns (0-based),
// by SuiteSparse's KLU: block triangular form, a fill-reducing order,
// partial pivoting within the blocks. Analysed once per pattern; the
// values of the same pattern are refactorised with the kept pivots.
class SparseFactor {
public:
    // A pivot whose magnitude, in the unscaled matrix, is below this makes
    // the matrix singular.
    static constexpr double kZeroPivot = 1e-20;

    SparseFactor();
    ~SparseFactor();
    SparseFactor(SparseFactor&& other) noexcept;
    SparseFactor& operator=(SparseFactor&& other) noexcept;

    // What the factor has done since it was made.
    struct Counts {
        int orderings = 0;         // fill-reducing orders searched for
        int givenOrders = 0;       // analyses that took the caller's order
        int factorisations = 0;    // numeric factorisations with a new pivot choice
        int refactorisations = 0;  // new values factorised with the kept pivots
    };

    // The values come row-scaled: each row of the matrix divided by its
    // scale, the largest magnitude of the row (1 for a row of zeros), as
    // ScaleRow gives them. The caller scales where it passes over its rows
    // anyway; the factor is of the unscaled matrix all the same (pivot
    // sizes, determinant and solves).
    static double ScaleRow(double largest, double magnitude) { return largest > magnitude ? largest : magnitude; }

    // Orders the pattern (0-based compressed columns, no duplicates) and
    // lays its columns out in pivot order, as the factorisation visits
    // them: the values come to Factor and Refactor in that layout, each at
    // the place Places() gives for its place in the pattern as passed here.
    // `order`, when it holds n items, is the pivot order (0-based columns,
    // the same for the rows) taken instead of searching for one. False
    // when the pattern cannot be ordered.
    bool Analyse(int n, std::span<const int> columnStart, std::span<const int> rowIndex,
                 std::span<const int> order = {});
    std::span<const int> Places() const { return places_; }
    // Factorises values of the analysed pattern. `threshold` (0..1) is how
    // far a pivot may fall below the largest entry of its column and still
    // be preferred on the diagonal. False when singular. The row scales
    // stay the caller's: they must outlive the factor and be those of the
    // values last factorised.
    bool Factor(std::span<const double> value, std::span<const double> rowScale, double threshold);
    // New values of the same pattern: the kept pivots, or a new pivot
    // choice where one of them no longer serves. False when singular.
    bool Refactor(std::span<const double> value);
    void Release();
    // The pivot order of the present analysis (0-based columns); empty
    // without one.
    std::span<const int> Order() const;
    const Counts& Done() const { return counts_; }

    // Solves A x = b, or A' x = b, in place (0-based).
    void Solve(std::span<double> vector);
    void SolveTransposed(std::span<double> vector);
    // The sign of the determinant of the factorised matrix.
    int DeterminantSign() const { return sign_; }
    // The smallest pivot magnitude of the factor, in the unscaled matrix.
    double SmallestPivot() const { return smallestPivot_; }

private:
    bool FactorNumeric(std::span<const double> value);
    bool RefactorKeptPivots(std::span<const double> value);
    bool PivotsUsable();
    void TakeSign(bool newPivots);

    struct Klu;
    std::unique_ptr<Klu> klu_;
    // The pattern with its columns in pivot order, and the pivot order.
    std::vector<int> columnStart_;
    std::vector<int> rowIndex_;
    std::vector<int> places_;
    std::vector<int> order_;
    std::span<const double> rowScale_;
    // For the refactorisation: each place's row in the pivot order of the
    // present factor (empty until needed), and the column being reduced.
    std::vector<int> pivotPosition_;
    std::vector<double> column_;
    Counts counts_;
    int sign_ = 1;
    int orderSign_ = 1;  // the parity of the row and column orders
    double smallestPivot_ = 0.0;
    // Of the factor last checked by PivotsUsable.
    int negativePivots_ = 0;
    double conditionEstimate_ = 0.0;
};
