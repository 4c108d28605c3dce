#pragma once

#include <span>
#include <vector>

#include "sparse_factor.h"

// One stored element of a sparse matrix. Every entry is on one row list and
// one column list; the links are indices into the matrix's entry pool, 0
// ending a list.
struct MatrixEntry {
    int row = 0;
    int column = 0;
    double value = 0.0;
    int nextInRow = 0;
    int nextInColumn = 0;
};

// A count and the items 0..count, all zero when made. Serves as a
// permutation (index to position, 0 = no position yet) and as a list of
// block ends (item k is the last index of block k, item 0 is 0).
struct IndexVector {
    IndexVector() = default;
    explicit IndexVector(int size) : count(size < 0 ? 0 : size), items(count + 1, 0) {}

    int& operator[](int i) { return items[i]; }
    int operator[](int i) const { return items[i]; }

    int count = 0;
    std::vector<int> items;
};

// The sparse store behind every linear system of the solver. Indices are
// 1-based, equation numbers on the rows and variable numbers on the
// columns. The entries always hold the matrix itself; the factor lives
// beside them (SparseFactor), so that the values of the same structure
// can be assembled again and refactorised with the kept order.
//
// An assembly runs from ZeroValues (or Clear) to the next factorisation.
// The store remembers which entry each AddElement call of the last
// assembly reached; a later assembly that makes the same calls in the same
// order adds each value at its remembered place without a search. A call
// that differs is looked up and remembered in its turn.
class SparseMatrix {
public:
    // How a refactorisation ended.
    enum class FactorResult {
        Done,
        Reorder,  // singular with the kept order, or the structure changed since the ordering
    };

    SparseMatrix() = default;
    SparseMatrix(int rows, int columns);

    int Rows() const { return rows_; }
    int Columns() const { return columns_; }

    // Stored entries and access to them by index 1..EntryCount(). Indices
    // and pointers stay valid until an entry is created, the lists are
    // sorted, the matrix is transposed or cleared.
    int EntryCount() const { return static_cast<int>(entries_.size()) - 1; }
    MatrixEntry& Entry(int index) { return entries_[index]; }
    const MatrixEntry& Entry(int index) const { return entries_[index]; }

    // Adds `value` into element (row, column), creating the entry when
    // absent. `fixedVariable` says that the row's or the column's variable
    // is held fixed: its element is then overwritten with 1 on the
    // diagonal and 0 elsewhere, and no off-diagonal entry is created for it
    // (the answer is then null).
    MatrixEntry* AddElement(int row, int column, double value, bool fixedVariable = false) {
        // The usual call: the one the last assembly made at this step.
        if (!fixedVariable && nextStep_ < steps_.size()) {
            const int slot = steps_[nextStep_];
            MatrixEntry& entry = entries_[slot];
            if (slot && entry.row == row && entry.column == column) {
                ++nextStep_;
                factored_ = false;
                entry.value += value;
                return &entry;
            }
        }
        return AddElementAtNewStep(row, column, value, fixedVariable);
    }
    // The entry of element (row, column); null when not stored or outside
    // the matrix.
    const MatrixEntry* Find(int row, int column) const;
    // Calls visit(entry) for every stored entry of the column, without a
    // search per row. An ordered structure holds the column's slots side by
    // side, so their entries are fetched at once rather than one link after
    // another.
    template <class Visit>
    void VisitColumn(int column, Visit visit) const {
        if (column < 1 || column > columns_) return;
        if (ordered_) {
            for (int place = columnStart_[column - 1], end = columnStart_[column]; place < end; ++place)
                visit(entries_[columnSlot_[place]]);
            return;
        }
        for (int t = columnHead_[column]; t; t = entries_[t].nextInColumn) visit(entries_[t]);
    }

    // Frees every entry and forgets the order; an order given with OrderAs
    // stays.
    void Clear();
    // Empties the matrix and gives it new dimensions; a given order goes.
    void Resize(int rows, int columns);
    // Room for this many entries, so that the first assembly does not grow
    // the pool step by step (the room is only address space until used).
    void Reserve(int entries);
    // Sets every stored value to 0 and begins an assembly; the structure
    // and the order stay.
    void ZeroValues();
    // How far the present assembly has come: the number of AddElement
    // calls since ZeroValues.
    std::size_t AssemblyStep() const { return nextStep_; }
    // Takes back the calls of the present assembly from `step` on (their
    // entries back to 0), so that the assembly goes on from there with
    // other values. The entries those calls reached must not have been
    // reached before `step`.
    void RewindAssembly(std::size_t step);
    // Threads every row list in ascending column order and every column
    // list in ascending row order.
    void SortLists();
    // Turns the matrix into its transpose; a factor becomes the factor of
    // the transposed matrix.
    void Transpose();

    // Chooses the order of the present structure and factorises it.
    // `threshold` (0..1): how small a pivot may be against the largest of
    // its column and still be taken on the diagonal. False when the matrix
    // is singular (a pivot below 1e-20) or not square.
    bool OrderAndFactor(double threshold);
    // Factorises new values of the ordered structure.
    FactorResult Factor();
    // True while the structure is the one last ordered.
    bool Ordered() const { return ordered_; }
    // The pivot order OrderAndFactor takes instead of searching for one:
    // the columns 1..Rows() in turn (empty: search). Where a system's
    // pattern follows another's, the order found for one serves the other.
    void OrderAs(std::vector<int> columns);
    // The pivot order of the present factor (columns 1..Rows() in turn);
    // empty without one.
    std::vector<int> PivotOrder() const;
    const SparseFactor::Counts& FactorCounts() const { return factor_.Done(); }
    // Solves in place: the right-hand side (items 1..rows) in, the
    // solution out. Answers the sign of the determinant, or 0 when the
    // matrix holds no factor of its present values, leaving the vector
    // untouched.
    int Solve(std::span<double> vector);
    // The same with the transposed matrix.
    int SolveTransposed(std::span<double> vector);
    // The smallest pivot magnitude of the factor (0 without one).
    double SmallestPivot() const { return factored_ ? factor_.SmallestPivot() : 0.0; }

private:
    int FindIndex(int row, int column) const;
    MatrixEntry* AddElementAtNewStep(int row, int column, double value, bool fixedVariable);
    int& NextStep(int row, int column);
    int CreateEntry(int row, int column, double value);
    void Compact();
    void ScaleIntoColumns();
    int SolveWith(std::span<double> vector, bool transposed);

    int rows_ = 0;
    int columns_ = 0;
    std::vector<MatrixEntry> entries_{1};  // slot 0 is the end of every list
    std::vector<int> rowHead_{0};
    std::vector<int> columnHead_{0};
    // Entries on each row and column list: a search of unsorted lists walks
    // the shorter one (a continuation's arc-length row spans every column).
    std::vector<int> rowLength_{0};
    std::vector<int> columnLength_{0};

    // Compact form: while `sorted_`, the pool holds row 1's entries, then
    // row 2's, ..., each row in ascending column order.
    bool sorted_ = false;
    std::vector<int> rowStart_;  // row r holds pool slots rowStart_[r] .. rowStart_[r+1]-1

    // The pool slot each call of the last assembly reached, in call order
    // (0: none, an off-diagonal element of a fixed variable), and how far
    // the present assembly has come. The entry in the slot tells whether a
    // call is the one made there last time.
    std::vector<int> steps_;
    std::size_t nextStep_ = 0;

    // The ordered structure in compressed columns, and where each pool
    // slot's value goes in the factor's layout of them.
    std::vector<int> columnStart_;
    std::vector<int> rowIndex_;
    std::vector<double> columnValue_;  // divided by the row scales, in the factor's layout
    std::vector<double> rowScale_;
    std::vector<int> slotToColumnValue_;
    std::vector<int> columnSlot_;  // the pool slot of each place of the compressed columns
    SparseFactor factor_;
    std::vector<int> givenOrder_;  // 0-based, for the factor
    // The last few orders searched for, each with the pattern it was
    // searched for, latest first: the same pattern again, in a store
    // emptied meanwhile (as when a method turns from one of its systems to
    // another and back), takes its order again.
    struct SearchedOrder {
        std::vector<int> columnStart;
        std::vector<int> rowIndex;
        std::vector<int> order;
    };
    std::vector<SearchedOrder> searchedOrders_;
    const SearchedOrder* SearchedOrderOfPattern() const;
    bool ordered_ = false;     // the structure is the one the factor was ordered for
    bool factored_ = false;    // the factor is of the present values
    bool transposed_ = false;  // the factor is of the transpose of the entries
    std::vector<double> work_;
};
