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

    // Orders the pattern and factorises its values. `threshold` (0..1) is
    // how far a pivot may fall below the largest entry of its column and
    // still be preferred on the diagonal. False when singular. The pattern
    // stays the caller's: it must outlive the factor unchanged.
    bool Factor(int n, std::span<const int> columnStart, std::span<const int> rowIndex, std::span<const double> value,
                double threshold);
    // New values of the same pattern: the kept pivots, or a new pivot
    // choice where one of them no longer serves. False when singular.
    bool Refactor(std::span<const double> value);
    void Release();

    // Solves A x = b, or A' x = b, in place (0-based).
    void Solve(std::span<double> vector);
    void SolveTransposed(std::span<double> vector);
    // The sign of the determinant of the factorised matrix.
    int DeterminantSign() const { return sign_; }
    // The smallest pivot magnitude of the factor, in the unscaled matrix.
    double SmallestPivot() const { return smallestPivot_; }

private:
    bool FactorNumeric(std::span<const double> value);
    bool PivotsUsable();
    void TakeSign(bool newPivots);

    struct Klu;
    std::unique_ptr<Klu> klu_;
    std::span<const int> columnStart_;
    std::span<const int> rowIndex_;
    int sign_ = 1;
    int orderSign_ = 1;  // the parity of the row and column orders
    double smallestPivot_ = 0.0;
};
