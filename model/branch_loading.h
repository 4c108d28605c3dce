#pragma once

#include <algorithm>
#include <cmath>

#include "network_records.h"

// A branch's loading in percent of its rating: for a transformer (any kind
// but a line, rating in MVA) the larger of the two ends' apparent powers,
// for a line (rating in A) the larger end current; 0 when the rating is
// not above 0.
inline double BranchLoading(int kind, double pFrom, double qFrom, double pTo, double qTo, double currentFrom,
                            double currentTo, double rating) {
    if (!(rating > 0.0)) return 0.0;
    const double flow = kind != BranchRecord::Line ? std::max(std::hypot(pFrom, qFrom), std::hypot(pTo, qTo))
                                                   : std::max(std::fabs(currentFrom), std::fabs(currentTo));
    return flow / rating * 100.0;
}

inline double BranchLoading(const BranchRecord& r) {
    return BranchLoading(r.kind, r.pFrom, r.qFrom, r.pTo, r.qTo, r.currentFrom, r.currentTo, r.rating);
}
