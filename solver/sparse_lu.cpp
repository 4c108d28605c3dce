#include "sparse_lu.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <new>
#include <utility>

#include "number_text.h"
#include "solver.h"

namespace {

// Orders kept for patterns that come again: a method's systems are few
// (the point of collapse has three).
constexpr std::size_t kKeptOrders = 4;

}  // namespace

SparseMatrix::SparseMatrix(int rows, int columns) {
    Resize(rows, columns);
}

void SparseMatrix::Resize(int rows, int columns) {
    rows_ = std::max(rows, 0);
    columns_ = std::max(columns, 0);
    entries_.assign(1, MatrixEntry{});
    rowHead_.assign(rows_ + 1, 0);
    columnHead_.assign(columns_ + 1, 0);
    rowLength_.assign(rows_ + 1, 0);
    columnLength_.assign(columns_ + 1, 0);
    factor_.Release();
    sorted_ = ordered_ = factored_ = transposed_ = false;
    steps_.clear();
    nextStep_ = 0;
    givenOrder_.clear();
}

void SparseMatrix::Reserve(int entries) {
    if (entries <= 0) return;
    entries_.reserve(static_cast<std::size_t>(entries) + 1);
    steps_.reserve(static_cast<std::size_t>(entries));
}

void SparseMatrix::Clear() {
    std::vector<int> given = std::move(givenOrder_);
    Resize(rows_, columns_);
    givenOrder_ = std::move(given);
}

void SparseMatrix::OrderAs(std::vector<int> columns) {
    for (int& column : columns) --column;
    givenOrder_ = std::move(columns);
}

std::vector<int> SparseMatrix::PivotOrder() const {
    const std::span<const int> order = factor_.Order();
    std::vector<int> columns(order.begin(), order.end());
    for (int& column : columns) ++column;
    return columns;
}

void SparseMatrix::ZeroValues() {
    for (auto& entry : entries_) entry.value = 0.0;
    factored_ = false;
    nextStep_ = 0;
}

void SparseMatrix::RewindAssembly(std::size_t step) {
    if (step >= nextStep_) return;
    for (std::size_t k = step; k < nextStep_; ++k)
        if (const int slot = steps_[k]) entries_[slot].value = 0.0;
    nextStep_ = step;
    factored_ = false;
}

MatrixEntry* SparseMatrix::AddElementAtNewStep(int row, int column, double value, bool fixedVariable) {
    factored_ = false;
    int& slot = NextStep(row, column);
    if (!slot) {
        if (fixedVariable && row != column) return nullptr;
        slot = CreateEntry(row, column, fixedVariable ? 1.0 : value);
        ordered_ = false;
        return &entries_[slot];
    }
    MatrixEntry& entry = entries_[slot];
    if (fixedVariable)
        entry.value = row == column ? 1.0 : 0.0;
    else
        entry.value += value;
    return &entry;
}

// The slot of element (row, column) for the next call of the assembly:
// the remembered one when it holds that element, else found (0 when not
// stored) and remembered.
int& SparseMatrix::NextStep(int row, int column) {
    if (nextStep_ == steps_.size()) steps_.push_back(0);
    int& slot = steps_[nextStep_++];
    if (!slot || entries_[slot].row != row || entries_[slot].column != column) slot = FindIndex(row, column);
    return slot;
}

const MatrixEntry* SparseMatrix::Find(int row, int column) const {
    if (row < 1 || row > rows_ || column < 1 || column > columns_) return nullptr;
    const int index = FindIndex(row, column);
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
    if (columnLength_[column] < rowLength_[row]) {
        for (int t = columnHead_[column]; t; t = entries_[t].nextInColumn)
            if (entries_[t].row == row) return t;
        return 0;
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
    ++rowLength_[row];
    ++columnLength_[column];
    sorted_ = false;
    return index;
}

void SparseMatrix::SortLists() {
    if (!sorted_) Compact();
}

// Moves the entries into row order, ascending columns within a row, and
// threads both kinds of list again in ascending order. The pool is
// rearranged in place: no second pool is written.
void SparseMatrix::Compact() {
    const int count = EntryCount();
    rowStart_.assign(rows_ + 2, 0);
    for (int i = 1; i <= count; ++i) ++rowStart_[entries_[i].row + 1];
    rowStart_[1] = 1;
    for (int r = 1; r <= rows_; ++r) rowStart_[r + 1] += rowStart_[r];

    // Each entry carries its old slot in its row link until the lists are
    // threaded again, so that the assembly's record can follow.
    std::vector<int> slot(count + 1, 0);
    {
        std::vector<int> fill(rowStart_);
        for (int i = 1; i <= count; ++i) {
            slot[i] = fill[entries_[i].row]++;
            entries_[i].nextInRow = i;
        }
    }
    // Each cycle of the move is followed to its end.
    for (int i = 1; i <= count; ++i)
        while (slot[i] != i) {
            const int target = slot[i];
            std::swap(entries_[i], entries_[target]);
            std::swap(slot[i], slot[target]);
        }

    for (int r = 1; r <= rows_; ++r) {
        const int first = rowStart_[r], end = rowStart_[r + 1];
        std::sort(entries_.begin() + first, entries_.begin() + end,
                  [](const MatrixEntry& a, const MatrixEntry& b) { return a.column < b.column; });
        rowHead_[r] = first < end ? first : 0;
        for (int t = first; t < end; ++t) {
            slot[entries_[t].nextInRow] = t;
            entries_[t].nextInRow = t + 1 < end ? t + 1 : 0;
        }
    }
    for (int& step : steps_) step = slot[step];
    std::fill(columnHead_.begin(), columnHead_.end(), 0);
    for (int t = count; t >= 1; --t) {
        MatrixEntry& entry = entries_[t];
        entry.nextInColumn = columnHead_[entry.column];
        columnHead_[entry.column] = t;
    }
    sorted_ = true;
    // The pool moved: the slots no longer match the compressed columns.
    ordered_ = false;
}

void SparseMatrix::Transpose() {
    for (auto& entry : entries_) {
        std::swap(entry.row, entry.column);
        std::swap(entry.nextInRow, entry.nextInColumn);
    }
    std::swap(rows_, columns_);
    std::swap(rowHead_, columnHead_);
    std::swap(rowLength_, columnLength_);
    transposed_ = !transposed_;
    ordered_ = false;
    steps_.clear();
    nextStep_ = 0;
    // Sorted lists stay sorted under transposition; the pool is brought
    // back into row order so that the compact form holds again.
    if (sorted_) Compact();
}

// The compressed columns are 0-based; the pool is in row order, so each
// column's rows come out ascending.
bool SparseMatrix::OrderAndFactor(double threshold) {
    factored_ = ordered_ = transposed_ = false;
    factor_.Release();
    if (rows_ != columns_ || rows_ == 0) return false;
    SortLists();
    const int n = rows_, count = EntryCount();
    columnStart_.assign(n + 1, 0);
    for (int t = 1; t <= count; ++t) ++columnStart_[entries_[t].column];
    for (int q = 1; q <= n; ++q) columnStart_[q] += columnStart_[q - 1];
    rowIndex_.resize(count);
    columnValue_.resize(count);
    rowScale_.resize(n);
    slotToColumnValue_.resize(count + 1);
    columnSlot_.resize(count);
    std::vector<int> next(columnStart_.begin(), columnStart_.end() - 1);
    for (int t = 1; t <= count; ++t) {
        const int place = next[entries_[t].column - 1]++;
        rowIndex_[place] = entries_[t].row - 1;
        slotToColumnValue_[t] = place;
        columnSlot_[place] = t;
    }
    std::span<const int> order;
    if (givenOrder_.size() == static_cast<std::size_t>(n))
        order = givenOrder_;
    else if (const SearchedOrder* searched = SearchedOrderOfPattern())
        order = searched->order;
    const bool search = order.empty();
    if (!factor_.Analyse(n, columnStart_, rowIndex_, order)) return false;
    // The values go straight to the factor's layout.
    const std::span<const int> places = factor_.Places();
    for (int t = 1; t <= count; ++t) slotToColumnValue_[t] = places[slotToColumnValue_[t]];
    ScaleIntoColumns();
    if (!factor_.Factor(columnValue_, rowScale_, threshold)) return false;
    if (search) {
        const std::span<const int> found = factor_.Order();
        if (searchedOrders_.size() == kKeptOrders) searchedOrders_.pop_back();
        searchedOrders_.insert(searchedOrders_.begin(),
                               SearchedOrder{columnStart_, rowIndex_, {found.begin(), found.end()}});
    }
    ordered_ = factored_ = true;
    return true;
}

const SparseMatrix::SearchedOrder* SparseMatrix::SearchedOrderOfPattern() const {
    for (const SearchedOrder& searched : searchedOrders_)
        if (searched.columnStart == columnStart_ && searched.rowIndex == rowIndex_) return &searched;
    return nullptr;
}

// The values go to the compressed columns divided by their row's scale.
// The pool is in row order here (an ordered structure is a sorted one), so
// each row's largest magnitude is found on the way.
void SparseMatrix::ScaleIntoColumns() {
    for (int r = 1; r <= rows_; ++r) {
        const int first = rowStart_[r], end = rowStart_[r + 1];
        double scale = 0.0;
        for (int t = first; t < end; ++t) scale = SparseFactor::ScaleRow(scale, std::fabs(entries_[t].value));
        if (scale == 0.0) scale = 1.0;
        rowScale_[r - 1] = scale;
        for (int t = first; t < end; ++t) columnValue_[slotToColumnValue_[t]] = entries_[t].value / scale;
    }
}

SparseMatrix::FactorResult SparseMatrix::Factor() {
    if (!ordered_) return FactorResult::Reorder;
    factored_ = false;
    ScaleIntoColumns();
    if (!factor_.Refactor(columnValue_)) return FactorResult::Reorder;
    factored_ = true;
    return FactorResult::Done;
}

int SparseMatrix::Solve(std::span<double> vector) {
    return SolveWith(vector, transposed_);
}

int SparseMatrix::SolveTransposed(std::span<double> vector) {
    return SolveWith(vector, !transposed_);
}

int SparseMatrix::SolveWith(std::span<double> vector, bool transposed) {
    if (!factored_ || vector.size() <= static_cast<size_t>(rows_)) return 0;
    const std::span<double> items = vector.subspan(1, rows_);
    if (transposed)
        factor_.SolveTransposed(items);
    else
        factor_.Solve(items);
    return factor_.DeterminantSign();
}

// The solver's one store: thin operations over it.

void Solver::SetMatrixOrder(int order) {
    if (order < 0) FailMatrix(FormatInCLocale("no matrix of order %d", order));
    matrix_.Resize(order, order);
    // A bus's two rows hold its own two columns and two of the bus at the
    // other end of each of its branches; device rows and extended systems
    // grow the pool further where they need.
    if (network_)
        matrix_.Reserve(order + 4 * static_cast<int>(network_->buses.size()) +
                        8 * static_cast<int>(network_->branches.size()));
}

void Solver::ReleaseMatrix() {
    matrix_ = SparseMatrix();
}

IndexVector Solver::NewIndexVector(int count) {
    return IndexVector(count);
}

void Solver::FailEntryOutside(int row, int column) const {
    FailMatrix(FormatInCLocale("entry (%d, %d) lies outside the matrix of %d rows and %d columns", row, column,
                               matrix_.Rows(), matrix_.Columns()));
}

void Solver::ClearMatrix() {
    matrix_.Clear();
}

void Solver::SortLists() {
    matrix_.SortLists();
}

int Solver::OrderAndFactor() {
    return matrix_.OrderAndFactor(PivotThreshold()) ? 0 : 1;
}

int Solver::Factor() {
    return matrix_.Factor() == SparseMatrix::FactorResult::Done ? 0 : 1;
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
