#pragma once

#include <cstddef>
#include <vector>

// A dense matrix of doubles, stored row by row in one block; indices from 0.
// A matrix with no rows or no columns holds nothing.
class Matrix {
public:
    // Every entry 0.
    Matrix(int rows, int columns);

    int Rows() const { return rows_; }
    int Columns() const { return columns_; }
    double* operator[](int row) { return values_.data() + static_cast<std::size_t>(row) * columns_; }
    const double* operator[](int row) const { return values_.data() + static_cast<std::size_t>(row) * columns_; }

    // Inverts the matrix in place by Gauss-Jordan elimination with full
    // pivoting. Answers 0, or a negative value when the matrix is not
    // square, holds a value that is not finite, or is singular: a pivot
    // that rounding alone could have left, at most order x machine epsilon
    // x the largest magnitude of the matrix, counts as 0. The matrix is
    // then left part way through the elimination.
    int Invert();

private:
    int rows_ = 0;
    int columns_ = 0;
    std::vector<double> values_;
};
