// What the checks after a step and the automatic time step need to know of
// the whole velocity and pressure fields, found in one pass.
#pragma once

#include "core/grid.h"
#include "core/time_step.h"

#include <algorithm>
#include <cmath>

struct FieldExtremes {
    // The largest |u| and |v|, passing over any NaN, as largestVelocities
    // finds them.
    LargestVelocities fastest;
    // Every u, v and p is finite.
    bool finite = true;
};

FieldExtremes fieldExtremes(const Grid& grid);

// Folds one column of u, v and p (count values each) into extremes. Any
// value not finite turns x * 0 into NaN, so the test needs no branch.
inline void addColumnExtremes(const double* u, const double* v, const double* p, int32_t count,
                              FieldExtremes& extremes)
{
    double fastestU = extremes.fastest.u;
    double fastestV = extremes.fastest.v;
    double zeroIfFinite = 0.0;
    for (int32_t j = 0; j < count; ++j) {
        fastestU = std::max(fastestU, std::fabs(u[j]));
        fastestV = std::max(fastestV, std::fabs(v[j]));
        zeroIfFinite += u[j] * 0.0 + v[j] * 0.0 + p[j] * 0.0;
    }
    extremes.fastest = {fastestU, fastestV};
    extremes.finite = extremes.finite && zeroIfFinite == 0.0;
}
