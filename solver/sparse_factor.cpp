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
        // branches): a search for blocks costs more than it saves.
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
    // arrays. The analysis then takes the columns as they stand; the rows
    // keep their order, so the factor does the same operations in the
    // same sequence.
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
    if (k.numeric &&
        klu_refactor(columnStart_.data(), rowIndex_.data(), Writable(value), k.symbolic, k.numeric,
                     &k.common) &&
        PivotsUsable() && conditionEstimate_ > 1e-12) {
        ++counts_.refactorisations;
        TakeSign(false);
        return true;
    }
    return FactorNumeric(value);
}

std::span<const int> SparseFactor::Order() const {
    if (!klu_ || !klu_->symbolic) return {};
    return order_;
}

// The diagonal of U belongs to the row-scaled matrix; a pivot of the
// matrix itself is that times its row's scale factor. On the way: the
// negative pivots, for the sign, and the cheap estimate of the reciprocal
// condition, the smallest diagonal magnitude over the largest (0 when that
// is not a number, as where the largest is infinite).
bool SparseFactor::PivotsUsable() {
    const klu_numeric& numeric = *klu_->numeric;
    const auto* diagonal = static_cast<const double*>(numeric.Udiag);
    double smallest = HUGE_VAL;
    double smallestDiagonal = HUGE_VAL;
    double largestDiagonal = 0.0;
    int negatives = 0;
    for (int k = 0; k < numeric.n; ++k) {
        const double magnitude = std::fabs(diagonal[k]);
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
// order of the columns, which the factor's layout has taken. The parities are
// taken anew only with a new pivot order; the pivots' signs are those
// PivotsUsable counted.
void SparseFactor::TakeSign(bool newPivots) {
    const klu_numeric& numeric = *klu_->numeric;
    const int n = numeric.n;
    if (newPivots) orderSign_ = Parity(numeric.Pnum, n) * Parity(order_.data(), n);
    sign_ = negativePivots_ % 2 ? -orderSign_ : orderSign_;
}

// With A = R S (S the scaled matrix, R its row scales): S x = b / R. The
// factor's columns are in pivot order, so its solution holds x[Q[k]] at k.
void SparseFactor::Solve(std::span<double> vector) {
    Klu& k = *klu_;
    const int n = k.symbolic->n;
    work_.resize(n);
    for (int i = 0; i < n; ++i) work_[i] = vector[i] / rowScale_[i];
    klu_solve(k.symbolic, k.numeric, n, 1, work_.data(), &k.common);
    for (int i = 0; i < n; ++i) vector[order_[i]] = work_[i];
}

// A' x = S' (R x) = b: the solve with S', then x = y / R. The rows of the
// factor's S' are the columns in pivot order: b[Q[k]] goes to k.
void SparseFactor::SolveTransposed(std::span<double> vector) {
    Klu& k = *klu_;
    const int n = k.symbolic->n;
    work_.resize(n);
    for (int i = 0; i < n; ++i) work_[i] = vector[order_[i]];
    klu_tsolve(k.symbolic, k.numeric, n, 1, work_.data(), &k.common);
    for (int i = 0; i < n; ++i) vector[i] = work_[i] / rowScale_[i];
}
