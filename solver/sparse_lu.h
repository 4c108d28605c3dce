#pragma once

#include <optional>
#include <span>
#include <vector>

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

// The sparse store and LU factorisation behind every linear system of the
// solver. Indices are 1-based. Assembly maps equation and variable numbers
// through the matrix's own permutations, so the same calls fill a fresh
// matrix (no positions yet: numbers used as they are) and refill an ordered
// one (numbers land on their pivot positions).
//
// After OrderAndFactor the matrix holds, in position numbering, the unit
// lower triangle L (multipliers), the reciprocal pivots on the diagonal and
// the unit upper triangle U, so that the permuted matrix is L x D x U.
// Factor redoes that with the kept order and fill-in, creating nothing.
class SparseMatrix {
public:
    // How a refactorisation ended.
    enum class FactorResult {
        Done,
        Reorder,     // a pivot below 1e-20, or the structure changed since the ordering
        NoDiagonal,  // a row without its diagonal entry: not a factor of this store
    };

    struct PivotChoice {
        int entry = 0;  // index of the chosen entry
        double value = 0.0;
        double magnitude = 0.0;
    };

    SparseMatrix() = default;
    SparseMatrix(int rows, int columns);

    int Rows() const { return rows_; }
    int Columns() const { return columns_; }

    // Stored entries (fill-in included) and access to them by index
    // 1..EntryCount(). Indices and pointers stay valid until an entry is
    // created, the lists are sorted, the matrix is transposed or cleared.
    int EntryCount() const { return static_cast<int>(entries_.size()) - 1; }
    MatrixEntry& Entry(int index) { return entries_[index]; }
    const MatrixEntry& Entry(int index) const { return entries_[index]; }

    const IndexVector& RowToPosition() const { return rowToPosition_; }
    const IndexVector& ColumnToPosition() const { return columnToPosition_; }
    const IndexVector& PositionToRow() const { return positionToRow_; }
    const IndexVector& PositionToColumn() const { return positionToColumn_; }

    // Adds `value` into element (row, column), creating the entry when
    // absent. `fixedVariable` says that the row's or the column's variable
    // is held fixed: its element is then overwritten with 1 on the
    // diagonal and 0 elsewhere, and no off-diagonal entry is created for it
    // (the answer is then null).
    MatrixEntry* AddElement(int row, int column, double value, bool fixedVariable = false);
    // The entry of element (row, column), through the permutations; null
    // when not stored or outside the matrix.
    const MatrixEntry* Find(int row, int column) const;

    // Frees every entry and forgets the pivot order.
    void Clear();
    // Empties the matrix and gives it new dimensions.
    void Resize(int rows, int columns);
    // Sets every stored value to 0; the structure and the order stay.
    void ZeroValues();
    // Threads every row list in ascending column order and every column
    // list in ascending row order.
    void SortLists();
    // Turns the matrix into its transpose, its permutations with it; a
    // factorised matrix becomes the factor of the transposed matrix.
    void Transpose();

    // Chooses the pivot order (threshold pivoting, rows of lowest degree
    // first, within the given row and column blocks), creates the fill-in,
    // factorises in place and renumbers the entries into positions. False
    // when the matrix is singular (no usable pivot) or the blocks do not
    // cover the matrix.
    bool OrderAndFactor(double threshold, const IndexVector& rowBlocks, const IndexVector& columnBlocks);
    FactorResult Factor();
    // Solves in place: the right-hand side in equation numbering (items
    // 1..rows) in, the solution in variable numbering out. Answers the sign
    // of the product of the pivots (the permutations' parity left out), or
    // 0 when the matrix holds no factor, leaving the vector untouched.
    int Solve(std::span<double> vector);

    // The pivot of `row` among its entries in columns without a position,
    // scanned in list order up to the first column beyond `columnEnd`.
    std::optional<PivotChoice> ChoosePivot(int row, int columnEnd, double threshold) const;
    static bool IsZeroPivot(double value);

private:
    class DegreeBuckets;

    int MapRow(int row) const { return rowToPosition_[row] ? rowToPosition_[row] : row; }
    int MapColumn(int column) const { return columnToPosition_[column] ? columnToPosition_[column] : column; }
    int FindIndex(int row, int column) const;
    int CreateEntry(int row, int column, double value);
    int RowDegree(int row, int limit) const;
    void Eliminate(int pivotRow, int pivotColumn, double pivot, DegreeBuckets& buckets);
    template <class Visit>
    void ForEachActive(int row, Visit visit);
    void CompletePermutations(int placed);
    void ScalePivotRows();
    void RenumberIntoPositions();
    void Compact();

    int rows_ = 0;
    int columns_ = 0;
    std::vector<MatrixEntry> entries_{1};  // slot 0 is the end of every list
    std::vector<int> rowHead_{0};
    std::vector<int> columnHead_{0};
    std::vector<int> columnCount_{0};      // entries of each column list
    IndexVector rowToPosition_;
    IndexVector columnToPosition_;
    IndexVector positionToRow_;
    IndexVector positionToColumn_;

    // Compact form: while `sorted_`, the pool holds row 1's entries, then
    // row 2's, ..., each row in ascending column order, so that refactoring
    // and solving run over contiguous ranges.
    bool sorted_ = false;
    std::vector<int> rowStart_;            // row r holds pool slots rowStart_[r] .. rowStart_[r+1]-1
    std::vector<int> diagonal_;            // pool slot of each row's diagonal entry, 0 when none
    std::vector<int> packedColumn_;        // by pool slot: the entry's column, and while
    std::vector<double> packedValue_;      // refactoring the finished upper values
    std::vector<double> reciprocalPivot_;  // while refactoring, by row
    bool ordered_ = false;                 // the structure holds the fill-in of the present order
    bool factored_ = false;                // the values are a factor, not a matrix

    // Work storage kept between calls.
    std::vector<double> work_;
    std::vector<int> mark_;
    std::vector<int> markedEntry_;
    int stamp_ = 0;
    std::vector<int> activeHead_;          // while ordering: each row's entries in columns
    std::vector<int> nextActive_;          // without a position, in row-list order
    std::vector<MatrixEntry> pivotRow_;
    std::vector<MatrixEntry> scratch_;
};
