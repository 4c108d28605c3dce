#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "dense_matrix.h"

namespace {

Matrix FromRows(const std::vector<std::vector<double>>& rows) {
    Matrix matrix(static_cast<int>(rows.size()), rows.empty() ? 0 : static_cast<int>(rows[0].size()));
    for (int i = 0; i < matrix.Rows(); ++i)
        for (int j = 0; j < matrix.Columns(); ++j) matrix[i][j] = rows[i][j];
    return matrix;
}

// Zeros on the diagonal and magnitudes spread wide, so that full pivoting
// has to interchange rows and columns.
TEST(DenseMatrix, InverseTimesMatrixIsTheIdentity) {
    const std::vector<std::vector<std::vector<double>>> cases = {
        {{4.0}},
        {{0.0, 2.0, 1.0}, {1.0, 0.0, 3.0}, {4.0, 1.0, 0.0}},
        {{0.0, 0.5, 0.0, 30.0, 1.0},
         {2.0, 0.0, 7.0, 0.0, 0.1},
         {0.0, 100.0, 0.0, 1.0, 0.0},
         {1.0, 0.0, 0.0, 0.0, 5.0},
         {0.3, 1.0, 40.0, 2.0, 0.0}},
    };
    for (const auto& rows : cases) {
        SCOPED_TRACE(rows.size());
        const Matrix original = FromRows(rows);
        Matrix inverse = original;
        ASSERT_EQ(inverse.Invert(), 0);
        const int n = original.Rows();
        for (int i = 0; i < n; ++i) {
            for (int j = 0; j < n; ++j) {
                double sum = 0.0;
                for (int k = 0; k < n; ++k) sum += original[i][k] * inverse[k][j];
                EXPECT_NEAR(sum, i == j ? 1.0 : 0.0, 1e-13) << i << "," << j;
            }
        }
    }
    Matrix empty(0, 0);
    EXPECT_EQ(empty.Invert(), 0);
}

TEST(DenseMatrix, SingularOrUnusableMatricesAreRefused) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Case {
        const char* what;
        std::vector<std::vector<double>> rows;
    };
    const Case cases[] = {
        {"a zero row", {{1.0, 2.0}, {0.0, 0.0}}},
        {"all zero", {{0.0, 0.0}, {0.0, 0.0}}},
        // Rounding leaves the last pivot a little off 0.
        {"dependent rows", {{0.1, 0.2, 0.3}, {0.4, 0.5, 0.6}, {0.7, 0.8, 0.9}}},
        {"not square", {{1.0, 2.0, 3.0}, {4.0, 5.0, 6.0}}},
        {"not a number", {{1.0, nan}, {0.0, 1.0}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Matrix matrix = FromRows(c.rows);
        EXPECT_LT(matrix.Invert(), 0);
    }
}

}  // namespace
