#include "sparse_lu.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <new>
#include <utility>

#include "number_text.h"
#include "solver.h"

SparseMatrix::SparseMatrix(int rows, int columns) {
    Resize(rows, columns);
}

void SparseMatrix::Resize(int rows, int columns) {
    rows_ = std::max(rows, 0);
    columns_ = std::max(columns, 0);
    entries_.assign(1, MatrixEntry{});
    rowHead_.assign(rows_ + 1, 0);
    columnHead_.assign(columns_ + 1, 0);
    columnCount_.assign(columns_ + 1, 0);
    rowToPosition_ = IndexVector(rows_);
    positionToRow_ = IndexVector(rows_);
    columnToPosition_ = IndexVector(columns_);
    positionToColumn_ = IndexVector(columns_);
    sorted_ = ordered_ = factored_ = false;
}

void SparseMatrix::Clear() {
    Resize(rows_, columns_);
}

void SparseMatrix::ZeroValues() {
    for (auto& entry : entries_) entry.value = 0.0;
    factored_ = false;
}

bool SparseMatrix::IsZeroPivot(double value) {
    return std::fabs(value) < 1e-20;
}

MatrixEntry* SparseMatrix::AddElement(int row, int column, double value, bool fixedVariable) {
    const int r = MapRow(row);
    const int q = MapColumn(column);
    factored_ = false;
    if (const int index = FindIndex(r, q)) {
        MatrixEntry& entry = entries_[index];
        if (fixedVariable)
            entry.value = row == column ? 1.0 : 0.0;
        else
            entry.value += value;
        return &entry;
    }
    if (fixedVariable && row != column) return nullptr;
    const int index = CreateEntry(r, q, fixedVariable ? 1.0 : value);
    ordered_ = false;
    return &entries_[index];
}

const MatrixEntry* SparseMatrix::Find(int row, int column) const {
    if (row < 1 || row > rows_ || column < 1 || column > columns_) return nullptr;
    const int index = FindIndex(MapRow(row), MapColumn(column));
    return index ? &entries_[index] : nullptr;
}

int SparseMatrix::FindIndex(int row, int column) const {
    if (sorted_) {
        const auto first = entries_.begin() + rowStart_[row];
        const auto last = entries_.begin() + rowStart_[row + 1];
        const auto found = std::lower_bound(first, last, column,
                                            [](const MatrixEntry& e, int c) { return e.column < c; });
        return found != last && found->column == column ? static_cast<int>(found - entries_.begin()) : 0;
    }
    for (int t = rowHead_[row]; t; t = entries_[t].nextInRow)
        if (entries_[t].column == column) return t;
    return 0;
}

// A new entry goes to the head of its row list and of its column list.
int SparseMatrix::CreateEntry(int row, int column, double value) {
    if (entries_.size() >= static_cast<size_t>(INT_MAX)) throw std::bad_alloc();
    entries_.push_back(MatrixEntry{row, column, value, rowHead_[row], columnHead_[column]});
    const int index = EntryCount();
    rowHead_[row] = index;
    columnHead_[column] = index;
    ++columnCount_[column];
    sorted_ = false;
    return index;
}

void SparseMatrix::SortLists() {
    if (!sorted_) Compact();
}

// Moves the entries into row order, ascending columns within a row, and
// threads both kinds of list again in ascending order.
void SparseMatrix::Compact() {
    const int count = EntryCount();
    rowStart_.assign(rows_ + 2, 0);
    for (int i = 1; i <= count; ++i) ++rowStart_[entries_[i].row + 1];
    rowStart_[1] = 1;
    for (int r = 1; r <= rows_; ++r) rowStart_[r + 1] += rowStart_[r];

    scratch_.resize(entries_.size());
    std::vector<int> fill(rowStart_);
    for (int i = 1; i <= count; ++i) scratch_[fill[entries_[i].row]++] = entries_[i];
    entries_.swap(scratch_);

    diagonal_.assign(rows_ + 1, 0);
    for (int r = 1; r <= rows_; ++r) {
        const int first = rowStart_[r], end = rowStart_[r + 1];
        std::sort(entries_.begin() + first, entries_.begin() + end,
                  [](const MatrixEntry& a, const MatrixEntry& b) { return a.column < b.column; });
        rowHead_[r] = first < end ? first : 0;
        for (int t = first; t < end; ++t) {
            entries_[t].nextInRow = t + 1 < end ? t + 1 : 0;
            if (entries_[t].column == r) diagonal_[r] = t;
        }
    }
    packedColumn_.resize(entries_.size());
    for (int t = 1; t <= count; ++t) packedColumn_[t] = entries_[t].column;
    std::fill(columnHead_.begin(), columnHead_.end(), 0);
    std::fill(columnCount_.begin(), columnCount_.end(), 0);
    for (int t = count; t >= 1; --t) {
        MatrixEntry& entry = entries_[t];
        entry.nextInColumn = columnHead_[entry.column];
        columnHead_[entry.column] = t;
        ++columnCount_[entry.column];
    }
    sorted_ = true;
}

void SparseMatrix::Transpose() {
    for (auto& entry : entries_) {
        std::swap(entry.row, entry.column);
        std::swap(entry.nextInRow, entry.nextInColumn);
    }
    std::swap(rows_, columns_);
    std::swap(rowHead_, columnHead_);
    std::swap(rowToPosition_, columnToPosition_);
    std::swap(positionToRow_, positionToColumn_);
    columnCount_.assign(columns_ + 1, 0);
    for (int i = 1; i <= EntryCount(); ++i) ++columnCount_[entries_[i].column];
    // Sorted lists stay sorted under transposition; the pool is brought
    // back into row order so that the compact form holds again.
    if (sorted_) Compact();
}

// Row by row in position order: each row takes the updates of the rows
// above it that its lower part names, in ascending column order, through a
// dense work vector. The finished upper rows are read from packed copies of
// their columns and values, the innermost loop of the whole solver.
SparseMatrix::FactorResult SparseMatrix::Factor() {
    if (!ordered_) return FactorResult::Reorder;
    SortLists();
    for (int r = 1; r <= rows_; ++r)
        if (!diagonal_[r]) return FactorResult::NoDiagonal;
    factored_ = false;
    work_.resize(columns_ + 1);
    packedValue_.resize(entries_.size());
    reciprocalPivot_.resize(rows_ + 1);
    MatrixEntry* const entry = entries_.data();
    double* const work = work_.data();
    const int* const upperColumn = packedColumn_.data();
    double* const upperValue = packedValue_.data();
    double* const reciprocalPivot = reciprocalPivot_.data();
    for (int i = 1; i <= rows_; ++i) {
        const int first = rowStart_[i], end = rowStart_[i + 1], diagonal = diagonal_[i];
        for (int t = first; t < end; ++t) work[entry[t].column] = entry[t].value;
        for (int t = first; t < diagonal; ++t) {
            const int k = entry[t].column;
            const double lower = work[k];
            for (int u = diagonal_[k] + 1, last = rowStart_[k + 1]; u < last; ++u)
                work[upperColumn[u]] -= lower * upperValue[u];
            work[k] = lower * reciprocalPivot[k];
        }
        for (int t = first; t < end; ++t) entry[t].value = work[entry[t].column];
        const double pivot = entry[diagonal].value;
        if (IsZeroPivot(pivot)) return FactorResult::Reorder;
        const double reciprocal = 1.0 / pivot;
        entry[diagonal].value = reciprocalPivot[i] = reciprocal;
        for (int t = diagonal + 1; t < end; ++t) upperValue[t] = entry[t].value *= reciprocal;
    }
    factored_ = true;
    return FactorResult::Done;
}

int SparseMatrix::Solve(std::span<double> vector) {
    if (!factored_ || rows_ != columns_ || vector.size() <= static_cast<size_t>(rows_)) return 0;
    SortLists();
    const int n = rows_;
    for (int p = 1; p <= n; ++p)
        if (!diagonal_[p]) return 0;
    work_.resize(n + 1);
    for (int p = 1; p <= n; ++p) work_[p] = vector[positionToRow_[p]];
    for (int p = 1; p <= n; ++p) {
        double sum = work_[p];
        for (int t = rowStart_[p]; t < diagonal_[p]; ++t) sum -= entries_[t].value * work_[entries_[t].column];
        work_[p] = sum;
    }
    int sign = 1;
    for (int p = 1; p <= n; ++p) {
        const double reciprocal = entries_[diagonal_[p]].value;
        work_[p] *= reciprocal;
        if (reciprocal < 0.0) sign = -sign;
    }
    for (int p = n; p >= 1; --p) {
        double sum = work_[p];
        for (int t = diagonal_[p] + 1; t < rowStart_[p + 1]; ++t)
            sum -= entries_[t].value * work_[entries_[t].column];
        work_[p] = sum;
    }
    for (int i = 1; i <= n; ++i) vector[i] = work_[columnToPosition_[i]];
    return sign;
}

// The solver's one store: thin operations over it.

void Solver::SetMatrixOrder(int order, bool parameterRowLast) {
    if (order < 0 || (parameterRowLast && order < 1)) FailMatrix(FormatInCLocale("no matrix of order %d", order));
    matrix_.Resize(order, order);
    rowBlocks_ = NewIndexVector(parameterRowLast ? 2 : 1);
    rowBlocks_[rowBlocks_.count] = order;
    if (parameterRowLast) rowBlocks_[1] = order - 1;
    columnBlocks_ = NewIndexVector(1);
    columnBlocks_[1] = order;
}

void Solver::ReleaseMatrix() {
    matrix_ = SparseMatrix();
    rowBlocks_ = IndexVector();
    columnBlocks_ = IndexVector();
}

IndexVector Solver::NewIndexVector(int count) {
    return IndexVector(count);
}

MatrixEntry* Solver::AddElement(int row, int column, double value) {
    if (row < 1 || row > matrix_.Rows() || column < 1 || column > matrix_.Columns())
        FailMatrix(FormatInCLocale("entry (%d, %d) lies outside the matrix of %d rows and %d columns", row, column,
                                   matrix_.Rows(), matrix_.Columns()));
    const auto fixed = [this](int i) { return i <= fixedVariables_.count && fixedVariables_[i] != 0; };
    const bool fixedVariable = fixedVariableMode_ && (fixed(row) || fixed(column));
    return matrix_.AddElement(row, column, value, fixedVariable);
}

void Solver::ClearMatrix() {
    matrix_.Clear();
}

void Solver::SortLists() {
    matrix_.SortLists();
}

int Solver::OrderAndFactor() {
    return matrix_.OrderAndFactor(PivotThreshold(), rowBlocks_, columnBlocks_) ? 0 : 1;
}

int Solver::Factor() {
    switch (matrix_.Factor()) {
    case SparseMatrix::FactorResult::Done:
        return 0;
    case SparseMatrix::FactorResult::Reorder:
        return 1;
    case SparseMatrix::FactorResult::NoDiagonal:
        break;
    }
    FailMatrix("a row of the matrix has no diagonal entry");
}

void Solver::SparseSolve(std::span<double> vector) {
    const int sign = matrix_.Solve(vector);
    if (!sign) FailMatrix("a solve without a factorisation");
    factorSign_ = sign;
}

// An internal fault of the sparse store: it says what failed, then ends
// the run.
void Solver::FailMatrix(const std::string& what) const {
    std::fprintf(diagnostics_, "Sparse matrix: %s\n", what.c_str());
    Abort(1);
}

void Solver::TransposeMatrix() {
    matrix_.Transpose();
}
