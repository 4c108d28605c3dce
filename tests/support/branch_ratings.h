#pragma once

#include <algorithm>
#include <cmath>

#include "cdf_model.h"
#include "element_type.h"

// Rates every branch of a solved drawn case `factor` times its flow (the
// line's larger end current, A; the transformer's larger end MVA), `floor`
// at least.
inline void RateBranchesAboveTheirFlows(CdfModel& drawn, double factor, double floor) {
    for (PowerLine* branch : drawn.Branches()) {
        double* d = branch->GetValues();
        const bool line = branch->GetElementType() == ElementType::PowerLine;
        const double flow = line ? d[BranchData::kCurrent]
                                 : std::max(std::hypot(d[BranchData::kPFrom], d[BranchData::kQFrom]),
                                            std::hypot(d[BranchData::kPTo], d[BranchData::kQTo]));
        d[BranchData::kRating] = std::max(factor * flow, floor);
    }
}
