// Choice of the pivot order with threshold pivoting, elimination with
// fill-in, and the renumbering of the factor into pivot positions.

#include <algorithm>
#include <cmath>
#include <limits>

#include "sparse_lu.h"

namespace {

// A pivot at or below this magnitude is never taken.
constexpr double kTinyPivot = 1e-20;

// The column of a pivot may not be the shortest if it holds more entries.
constexpr int kLongestPreferredColumn = 1001;

// The threshold bound is held in single precision; beyond its range it is
// infinite, so that no candidate passes it.
double SinglePrecision(double value) {
    if (value > std::numeric_limits<float>::max()) return std::numeric_limits<double>::infinity();
    return static_cast<float>(value);
}

// Block ends must start at 0, never fall, and end on the last index.
bool CoversAll(const IndexVector& blocks, int count) {
    if (blocks.items.size() != static_cast<size_t>(blocks.count) + 1 || blocks[0] != 0) return false;
    for (int b = 1; b <= blocks.count; ++b)
        if (blocks[b] < blocks[b - 1]) return false;
    return blocks[blocks.count] == count;
}

}  // namespace

// The rows of the present row block that wait for a pivot, in buckets by
// degree. A row goes in at the head of its bucket, so the row put in last
// is taken first among rows of equal degree.
class SparseMatrix::DegreeBuckets {
public:
    DegreeBuckets(int rows, int highestDegree)
        : head_(highestDegree + 1, 0), next_(rows + 1, 0), previous_(rows + 1, 0), degree_(rows + 1, 0),
          held_(rows + 1, false) {}

    bool Empty() const { return size_ == 0; }
    bool Holds(int row) const { return held_[row]; }
    int Degree(int row) const { return degree_[row]; }

    void Insert(int row, int degree) {
        degree = std::min(degree, static_cast<int>(head_.size()) - 1);
        degree_[row] = degree;
        previous_[row] = 0;
        next_[row] = head_[degree];
        if (next_[row]) previous_[next_[row]] = row;
        head_[degree] = row;
        held_[row] = true;
        lowest_ = std::min(lowest_, degree);
        ++size_;
    }

    void Remove(int row) {
        if (previous_[row])
            next_[previous_[row]] = next_[row];
        else
            head_[degree_[row]] = next_[row];
        if (next_[row]) previous_[next_[row]] = previous_[row];
        held_[row] = false;
        --size_;
    }

    // The first row of the lowest non-empty bucket; the buckets must not be empty.
    int PopLowest() {
        while (!head_[lowest_]) ++lowest_;
        const int row = head_[lowest_];
        Remove(row);
        return row;
    }

private:
    std::vector<int> head_;
    std::vector<int> next_;
    std::vector<int> previous_;
    std::vector<int> degree_;
    std::vector<bool> held_;
    int lowest_ = 0;
    int size_ = 0;
};

bool SparseMatrix::OrderAndFactor(double threshold, const IndexVector& rowBlocks,
                                  const IndexVector& columnBlocks) {
    ordered_ = factored_ = false;
    if (!CoversAll(rowBlocks, rows_) || !CoversAll(columnBlocks, columns_)) return false;
    threshold = std::clamp(threshold, 0.0, 1.0);
    const int pivots = std::min(rows_, columns_);
    const int widest = std::max(rows_, columns_);
    mark_.assign(columns_ + 1, 0);
    markedEntry_.assign(columns_ + 1, 0);
    stamp_ = 0;
    activeHead_ = rowHead_;
    nextActive_.resize(entries_.size());
    for (int t = 1; t <= EntryCount(); ++t) nextActive_[t] = entries_[t].nextInRow;

    int k = 0;
    int columnBlock = 1;
    for (int block = 1; block <= rowBlocks.count; ++block) {
        const int first = rowBlocks[block - 1] + 1;
        const int last = rowBlocks[block];
        for (int p = first; p <= last; ++p) {
            positionToRow_[p] = 0;
            if (p <= columns_) positionToColumn_[p] = 0;
        }
        DegreeBuckets buckets(rows_, widest);
        for (int r = first; r <= last; ++r) buckets.Insert(r, RowDegree(r, widest));

        while (k < std::min(last, pivots)) {
            ++k;
            while (k > columnBlocks[columnBlock] && columnBlock < columnBlocks.count) ++columnBlock;
            // Rows are tried from the lowest degree up: one without a
            // candidate goes back (a rectangular matrix may place it
            // later), one with only a tiny pivot stays out.
            std::optional<PivotChoice> choice;
            int row = 0;
            for (int tries = 0; !choice; ++tries) {
                if (buckets.Empty() || tries > rows_) return false;
                row = buckets.PopLowest();
                choice = ChoosePivot(row, columnBlocks[columnBlock], threshold);
                if (!choice) {
                    if (rows_ == columns_) return false;
                    buckets.Insert(row, buckets.Degree(row) + 3);
                } else if (choice->magnitude <= kTinyPivot) {
                    choice.reset();
                }
            }
            const int column = entries_[choice->entry].column;
            rowToPosition_[row] = k;
            columnToPosition_[column] = k;
            positionToRow_[k] = row;
            positionToColumn_[k] = column;
            Eliminate(row, column, choice->value, buckets);
        }
    }
    CompletePermutations(k);
    ScalePivotRows();
    RenumberIntoPositions();
    Compact();
    ordered_ = factored_ = true;
    return true;
}

std::optional<SparseMatrix::PivotChoice> SparseMatrix::ChoosePivot(int row, int columnEnd,
                                                                   double threshold) const {
    // The largest candidate; the later of equal ones.
    int largestEntry = 0;
    double largest = -1.0;
    for (int t = rowHead_[row]; t; t = entries_[t].nextInRow) {
        const MatrixEntry& entry = entries_[t];
        if (entry.column > columnEnd) break;
        if (columnToPosition_[entry.column]) continue;
        const double magnitude = std::fabs(entry.value);
        if (magnitude >= largest) {
            largestEntry = t;
            largest = magnitude;
        }
    }
    if (!largestEntry) return std::nullopt;

    // Among candidates within the threshold of the largest, the one in the
    // shortest column keeps the fill-in down; the later of equal ones.
    int chosen = largestEntry;
    if (threshold != 1.0) {
        const double bound = SinglePrecision(threshold * largest);
        int shortest = kLongestPreferredColumn;
        for (int t = rowHead_[row]; t; t = entries_[t].nextInRow) {
            const MatrixEntry& entry = entries_[t];
            if (entry.column > columnEnd) break;
            if (columnToPosition_[entry.column]) continue;
            if (std::fabs(entry.value) >= bound && columnCount_[entry.column] <= shortest) {
                shortest = columnCount_[entry.column];
                chosen = t;
            }
        }
    }
    return PivotChoice{chosen, entries_[chosen].value, std::fabs(entries_[chosen].value)};
}

// Entries of the row in columns that have no position yet.
int SparseMatrix::RowDegree(int row, int limit) const {
    int degree = 0;
    for (int t = rowHead_[row]; t; t = entries_[t].nextInRow)
        if (!columnToPosition_[entries_[t].column]) ++degree;
    return std::min(degree, limit);
}

// Calls `visit` with every entry of the row in a column without a position,
// in list order. Entries whose column has got one since leave the row's
// active list on the way, so each row is walked at the length of its
// active part rather than of everything it has gathered.
template <class Visit>
void SparseMatrix::ForEachActive(int row, Visit visit) {
    int previous = 0;
    for (int t = activeHead_[row]; t;) {
        const int next = nextActive_[t];
        if (columnToPosition_[entries_[t].column]) {
            (previous ? nextActive_[previous] : activeHead_[row]) = next;
        } else {
            visit(t);
            previous = t;
        }
        t = next;
    }
}

// Eliminates the pivot column from every row without a position: the
// multiplier replaces the row's entry in the pivot column, and the row
// takes the pivot row times the multiplier, with fill-in where it has no
// entry. A waiting row goes back into the buckets under its new degree.
void SparseMatrix::Eliminate(int pivotRow, int pivotColumn, double pivot, DegreeBuckets& buckets) {
    pivotRow_.clear();
    ForEachActive(pivotRow, [&](int t) { pivotRow_.push_back(entries_[t]); });

    for (int t = columnHead_[pivotColumn]; t; t = entries_[t].nextInColumn) {
        const int row = entries_[t].row;
        if (rowToPosition_[row]) continue;
        const int stamp = ++stamp_;
        int degree = 0;
        ForEachActive(row, [&](int u) {
            mark_[entries_[u].column] = stamp;
            markedEntry_[entries_[u].column] = u;
            ++degree;
        });
        const double multiplier = entries_[t].value / pivot;
        entries_[t].value = multiplier;
        for (const MatrixEntry& upper : pivotRow_) {
            if (mark_[upper.column] != stamp) {
                const int fill = CreateEntry(row, upper.column, 0.0);
                nextActive_.push_back(activeHead_[row]);
                activeHead_[row] = fill;
                markedEntry_[upper.column] = fill;
                mark_[upper.column] = stamp;
                ++degree;
            }
            entries_[markedEntry_[upper.column]].value -= multiplier * upper.value;
        }
        if (buckets.Holds(row)) {
            buckets.Remove(row);
            buckets.Insert(row, degree);
        }
    }
}

// Rows and columns that got no pivot (a rectangular matrix) take the free
// positions after the last pivot, in ascending order.
void SparseMatrix::CompletePermutations(int placed) {
    int next = placed;
    for (int r = 1; r <= rows_; ++r)
        if (!rowToPosition_[r]) rowToPosition_[r] = ++next;
    for (int r = 1; r <= rows_; ++r) positionToRow_[rowToPosition_[r]] = r;
    next = placed;
    for (int c = 1; c <= columns_; ++c)
        if (!columnToPosition_[c]) columnToPosition_[c] = ++next;
    for (int c = 1; c <= columns_; ++c) positionToColumn_[columnToPosition_[c]] = c;
}

// Each pivot row keeps the reciprocal of its pivot and is divided by the
// pivot right of it, so that the upper factor has a unit diagonal.
void SparseMatrix::ScalePivotRows() {
    for (int p = 1; p <= std::min(rows_, columns_); ++p) {
        const int row = positionToRow_[p];
        int diagonal = 0;
        for (int t = rowHead_[row]; t && !diagonal; t = entries_[t].nextInRow)
            if (columnToPosition_[entries_[t].column] == p) diagonal = t;
        const double reciprocal = 1.0 / entries_[diagonal].value;
        entries_[diagonal].value = reciprocal;
        for (int t = rowHead_[row]; t; t = entries_[t].nextInRow)
            if (columnToPosition_[entries_[t].column] > p) entries_[t].value *= reciprocal;
    }
}

void SparseMatrix::RenumberIntoPositions() {
    for (int i = 1; i <= EntryCount(); ++i) {
        entries_[i].row = rowToPosition_[entries_[i].row];
        entries_[i].column = columnToPosition_[entries_[i].column];
    }
}
