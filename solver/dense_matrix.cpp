#include "dense_matrix.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <utility>

Matrix::Matrix(int rows, int columns)
    : rows_(std::max(rows, 0)), columns_(std::max(columns, 0)),
      values_(static_cast<std::size_t>(rows_) * static_cast<std::size_t>(columns_)) {}

int Matrix::Invert() {
    if (rows_ != columns_) return -1;
    const int n = rows_;
    double largest = 0.0;
    for (double value : values_) largest = std::max(largest, std::fabs(value));
    if (!std::isfinite(largest)) return -2;
    const double negligible = n * DBL_EPSILON * largest;

    Matrix& a = *this;
    // Step k moved row rowOf[k] to row columnOf[k] and pivoted on the
    // diagonal there, so one list of the indices not yet pivoted, kept
    // ascending, serves for rows and for columns.
    std::vector<int> rowOf(n), columnOf(n);
    std::vector<int> open(n);
    for (int i = 0; i < n; ++i) open[i] = i;
    for (int step = 0; step < n; ++step) {
        // The largest entry among the rows and columns not yet pivoted; on
        // equal magnitudes the later one in row order wins.
        double biggest = -1.0;
        int row = -1, column = -1;
        for (int i : open) {
            const double* values = a[i];
            for (int j : open) {
                const double magnitude = std::fabs(values[j]);
                if (magnitude >= biggest) {
                    biggest = magnitude;
                    row = i;
                    column = j;
                }
            }
        }
        if (row < 0 || biggest <= negligible) return -3;
        open.erase(std::find(open.begin(), open.end(), column));
        if (row != column) std::swap_ranges(a[row], a[row] + n, a[column]);
        rowOf[step] = row;
        columnOf[step] = column;

        double* pivotRow = a[column];
        const double reciprocal = 1.0 / pivotRow[column];
        pivotRow[column] = 1.0;
        for (int j = 0; j < n; ++j) pivotRow[j] *= reciprocal;
        for (int i = 0; i < n; ++i) {
            if (i == column) continue;
            double* values = a[i];
            const double factor = values[column];
            // A row without the column stays as it is.
            if (factor == 0.0) continue;
            values[column] = 0.0;
            for (int j = 0; j < n; ++j) values[j] -= pivotRow[j] * factor;
        }
    }
    // The row interchanges of the matrix are column interchanges of its
    // inverse, undone last first.
    for (int step = n - 1; step >= 0; --step) {
        if (rowOf[step] == columnOf[step]) continue;
        for (int i = 0; i < n; ++i) std::swap(a[i][rowOf[step]], a[i][columnOf[step]]);
    }
    return 0;
}
