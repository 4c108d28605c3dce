#include "sparse_factor.h"

#include <klu.h>

#include <algorithm>
#include <cmath>
#include <new>

namespace {

// KLU takes writable pointers to the arrays it only reads.
template <class T>
T* Writable(std::span<const T> items) {
    return const_cast<T*>(items.data());
}

// +1 for an even permutation, -1 for an odd one (0-based, n items).
int Parity(const int* permutation, int n) {
    std::vector<char> seen(n, 0);
    int sign = 1;
    for (int i = 0; i < n; ++i) {
        if (seen[i]) continue;
        int length = 0;
        for (int j = i; !seen[j]; j = permutation[j]) {
            seen[j] = 1;
            ++length;
        }
        if (length % 2 == 0) sign = -sign;
    }
    return sign;
}

// The analysis holds the identity as its column order, the columns being
// laid out in pivot order; for a solve the pivot order takes its place, so
// that the library permutes the solution (or the transposed solve's
// right-hand side) by it on the way, as with the columns where they were.
class PivotOrderForSolve {
public:
    PivotOrderForSolve(klu_symbolic& symbolic, std::vector<int>& order) : symbolic_(symbolic), identity_(symbolic.Q) {
        symbolic_.Q = order.data();
    }
    ~PivotOrderForSolve() { symbolic_.Q = identity_; }
    PivotOrderForSolve(const PivotOrderForSolve&) = delete;
    PivotOrderForSolve& operator=(const PivotOrderForSolve&) = delete;

private:
    klu_symbolic& symbolic_;
    int* identity_;
};

}  // namespace

// KLU's settings and statistics, the ordering of the pattern and the
// factor of its values.
struct SparseFactor::Klu {
    klu_common common{};
    klu_symbolic* symbolic = nullptr;
    klu_numeric* numeric = nullptr;

    Klu() {
        klu_defaults(&common);
        // The matrices factorised here, a network's Jacobians, are one
        // block or nearly so (every bus reaches every other through its
        // branches): a search for blocks costs more than it saves. The
        // factor's own refactorisation takes the one block there is.
        common.btf = 0;
        // The values come scaled already (see ScaleRow), and the pattern
        // is built without duplicates: no scaling, no checks.
        common.scale = -1;
    }
    ~Klu() { Release(); }
    Klu(const Klu&) = delete;
    Klu& operator=(const Klu&) = delete;
    void Release() {
        if (numeric) klu_free_numeric(&numeric, &common);
        if (symbolic) klu_free_symbolic(&symbolic, &common);
    }
};

SparseFactor::SparseFactor() : klu_(std::make_unique<Klu>()) {}
SparseFactor::~SparseFactor() = default;
SparseFactor::SparseFactor(SparseFactor&&) noexcept = default;
SparseFactor& SparseFactor::operator=(SparseFactor&&) noexcept = default;

void SparseFactor::Release() {
    if (klu_) klu_->Release();
}

bool SparseFactor::Analyse(int n, std::span<const int> columnStart, std::span<const int> rowIndex,
                           std::span<const int> order) {
    if (!klu_) klu_ = std::make_unique<Klu>();
    Release();
    klu_common& common = klu_->common;
    // The order serves the rows too, as the search's order does: each
    // column's own row stays its preferred pivot.
    if (order.size() == static_cast<std::size_t>(n)) {
        klu_->symbolic =
            klu_analyze_given(n, Writable(columnStart), Writable(rowIndex), Writable(order), Writable(order), &common);
        ++counts_.givenOrders;
    } else {
        klu_->symbolic = klu_analyze(n, Writable(columnStart), Writable(rowIndex), &common);
        ++counts_.orderings;
    }
    if (!klu_->symbolic) {
        if (common.status == KLU_OUT_OF_MEMORY) throw std::bad_alloc();
        return false;
    }
    // The factorisation visits the columns in pivot order: laid out that
    // way they are read one after another, not each from elsewhere in the
    // arrays. The analysis's column order becomes the identity; the rows
    // keep theirs, so the factor does the same operations in the same
    // sequence as with the columns where they were.
    int* const q = klu_->symbolic->Q;
    order_.assign(q, q + n);
    columnStart_.resize(n + 1);
    rowIndex_.resize(columnStart[n]);
    places_.resize(columnStart[n]);
    columnStart_[0] = 0;
    for (int k = 0; k < n; ++k) {
        int place = columnStart_[k];
        for (int p = columnStart[q[k]], end = columnStart[q[k] + 1]; p < end; ++p, ++place) {
            rowIndex_[place] = rowIndex[p];
            places_[p] = place;
        }
        columnStart_[k + 1] = place;
        q[k] = k;
    }
    return true;
}

bool SparseFactor::Factor(std::span<const double> value, std::span<const double> rowScale, double threshold) {
    if (!klu_ || !klu_->symbolic) return false;
    klu_common& common = klu_->common;
    common.tol = std::clamp(threshold, 0.0, 1.0);
    // A singular matrix is an answer here, not an error: stop at once.
    common.halt_if_singular = 1;
    rowScale_ = rowScale;
    return FactorNumeric(value);
}

bool SparseFactor::FactorNumeric(std::span<const double> value) {
    Klu& k = *klu_;
    if (k.numeric) klu_free_numeric(&k.numeric, &k.common);
    pivotPosition_.clear();
    ++counts_.factorisations;
    k.numeric = klu_factor(columnStart_.data(), rowIndex_.data(), Writable(value), k.symbolic,
                           &k.common);
    if (!k.numeric) {
        if (k.common.status == KLU_OUT_OF_MEMORY) throw std::bad_alloc();
        return false;
    }
    if (!PivotsUsable()) {
        klu_free_numeric(&k.numeric, &k.common);
        return false;
    }
    TakeSign(true);
    return true;
}

// The kept pivots serve while none of them has become tiny, in absolute
// terms or against the largest; otherwise the same order is factorised
// again with a new choice of pivots. The row order stays that of the last
// factorisation, and so does its parity.
bool SparseFactor::Refactor(std::span<const double> value) {
    if (!klu_ || !klu_->symbolic) return false;
    Klu& k = *klu_;
    if (k.numeric && RefactorKeptPivots(value) && PivotsUsable() && conditionEstimate_ > 1e-12) {
        ++counts_.refactorisations;
        TakeSign(false);
        return true;
    }
    return FactorNumeric(value);
}

// The refactorisation with the kept pivots, written into the library's
// factor of the one block (no search for blocks, see Klu): column by
// column, the matrix's column scattered by its rows' pivot positions, the
// columns of L it reaches subtracted in the order U lists them, the
// diagonal taken and the rest of L divided by it. Exactly the library's own
// operations in its order, so the factor is the same to the bit (a product
// is rounded before it is subtracted: this file is built without
// contraction); what differs is the work around them: the rows' pivot
// positions are looked up once per pivot choice, and the updates of a
// column of L, each on its own row, are taken four at a time, which keeps
// the processor busy across the short columns of a network's factor.
// False at an exact zero pivot, as the library's.
bool SparseFactor::RefactorKeptPivots(std::span<const double> value) {
    klu_numeric& numeric = *klu_->numeric;
    const int n = numeric.n;
    // A single unknown is its own pivot: the library keeps no columns for it.
    if (n == 1)
        return klu_refactor(columnStart_.data(), rowIndex_.data(), Writable(value), klu_->symbolic, &numeric,
                            &klu_->common);
    if (pivotPosition_.empty()) {
        pivotPosition_.resize(rowIndex_.size());
        for (std::size_t p = 0; p < rowIndex_.size(); ++p) pivotPosition_[p] = numeric.Pinv[rowIndex_[p]];
    }
    column_.assign(n, 0.0);
    double* const x = column_.data();
    auto* const lu = static_cast<double*>(numeric.LUbx[0]);
    auto* const diagonal = static_cast<double*>(numeric.Udiag);
    // A column's indices, then its values from the next whole unit.
    const auto indices = [lu](int start) { return reinterpret_cast<const int*>(lu + start); };
    const auto values = [lu](int start, int length) {
        return lu + start + (length * sizeof(int) + sizeof(double) - 1) / sizeof(double);
    };
    for (int k = 0; k < n; ++k) {
        for (int p = columnStart_[k], end = columnStart_[k + 1]; p < end; ++p) x[pivotPosition_[p]] = value[p];
        const int uStart = numeric.Uip[k], uLength = numeric.Ulen[k];
        const int* const ui = indices(uStart);
        double* const ux = values(uStart, uLength);
        for (int u = 0; u < uLength; ++u) {
            const int j = ui[u];
            const double ujk = x[j];
            x[j] = 0.0;
            ux[u] = ujk;
            const int lStart = numeric.Lip[j], lLength = numeric.Llen[j];
            const int* const li = indices(lStart);
            const double* const lx = values(lStart, lLength);
            int p = 0;
            for (; p + 4 <= lLength; p += 4) {
                const int i0 = li[p], i1 = li[p + 1], i2 = li[p + 2], i3 = li[p + 3];
                const double x0 = x[i0] - lx[p] * ujk, x1 = x[i1] - lx[p + 1] * ujk;
                const double x2 = x[i2] - lx[p + 2] * ujk, x3 = x[i3] - lx[p + 3] * ujk;
                x[i0] = x0;
                x[i1] = x1;
                x[i2] = x2;
                x[i3] = x3;
            }
            for (; p < lLength; ++p) x[li[p]] -= lx[p] * ujk;
        }
        const double ukk = x[k];
        x[k] = 0.0;
        if (ukk == 0.0) return false;
        diagonal[k] = ukk;
        const int lStart = numeric.Lip[k], lLength = numeric.Llen[k];
        const int* const li = indices(lStart);
        double* const lx = values(lStart, lLength);
        for (int p = 0; p < lLength; ++p) {
            lx[p] = x[li[p]] / ukk;
            x[li[p]] = 0.0;
        }
    }
    return true;
}

std::span<const int> SparseFactor::Order() const {
    if (!klu_ || !klu_->symbolic) return {};
    return order_;
}

// The diagonal of U belongs to the row-scaled matrix; a pivot of the
// matrix itself is that times its row's scale factor. On the way: the
// negative pivots, for the sign, and the cheap estimate of the reciprocal
// condition, the smallest diagonal magnitude over the largest (0 when that
// is not a number, as where the largest is infinite). The scales are read
// in pivot order, all over their array, and after a refactorisation that
// has pushed them out of the cache: each is fetched some pivots ahead.
bool SparseFactor::PivotsUsable() {
    const klu_numeric& numeric = *klu_->numeric;
    const auto* diagonal = static_cast<const double*>(numeric.Udiag);
    double smallest = HUGE_VAL;
    double smallestDiagonal = HUGE_VAL;
    double largestDiagonal = 0.0;
    int negatives = 0;
    constexpr int kAhead = 32;
    for (int k = 0; k < numeric.n; ++k) {
        const double magnitude = std::fabs(diagonal[k]);
        if (k + kAhead < numeric.n) __builtin_prefetch(&rowScale_[numeric.Pnum[k + kAhead]]);
        const double pivot = magnitude * rowScale_[numeric.Pnum[k]];
        if (!(pivot >= kZeroPivot)) return false;
        smallest = std::min(smallest, pivot);
        smallestDiagonal = std::min(smallestDiagonal, magnitude);
        largestDiagonal = std::max(largestDiagonal, magnitude);
        negatives += diagonal[k] < 0.0;
    }
    smallestPivot_ = smallest;
    negativePivots_ = negatives;
    const double estimate = smallestDiagonal / largestDiagonal;
    conditionEstimate_ = std::isnan(estimate) ? 0.0 : estimate;
    return true;
}

// det A = parity(P) parity(Q) prod(diag U) prod(row scales); the scales are
// positive and the blocks off the diagonal add nothing. Q is the pivot
// order of the columns, which the factor's layout has taken. The parities
// are taken anew only with a new pivot order; the pivots' signs are those
// PivotsUsable counted.
void SparseFactor::TakeSign(bool newPivots) {
    const klu_numeric& numeric = *klu_->numeric;
    const int n = numeric.n;
    if (newPivots) orderSign_ = Parity(numeric.Pnum, n) * Parity(order_.data(), n);
    sign_ = negativePivots_ % 2 ? -orderSign_ : orderSign_;
}

// With A = R S (S the scaled matrix, R its row scales): S x = b / R.
void SparseFactor::Solve(std::span<double> vector) {
    Klu& k = *klu_;
    const int n = k.symbolic->n;
    for (int i = 0; i < n; ++i) vector[i] /= rowScale_[i];
    const PivotOrderForSolve order(*k.symbolic, order_);
    klu_solve(k.symbolic, k.numeric, n, 1, vector.data(), &k.common);
}

// A' x = S' (R x) = b: the solve with S', then x = y / R.
void SparseFactor::SolveTransposed(std::span<double> vector) {
    Klu& k = *klu_;
    const int n = k.symbolic->n;
    {
        const PivotOrderForSolve order(*k.symbolic, order_);
        klu_tsolve(k.symbolic, k.numeric, n, 1, vector.data(), &k.common);
    }
    for (int i = 0; i < n; ++i) vector[i] /= rowScale_[i];
}
