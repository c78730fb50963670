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

// Folds one column of u, v and p (count values each) into extremes; the
// finiteness only when checkFinite, else it is left as it was. x - x is 0
// for a finite x and NaN otherwise; the tests are combined with & so the
// loop holds no branch and no chain longer than one operation a cell.
template <bool checkFinite>
void addColumnExtremes(const double* u, const double* v, const double* p, int32_t count,
                              FieldExtremes& extremes)
{
    double fastestU = extremes.fastest.u;
    double fastestV = extremes.fastest.v;
    bool finite = extremes.finite;
    for (int32_t j = 0; j < count; ++j) {
        fastestU = std::max(fastestU, std::fabs(u[j]));
        fastestV = std::max(fastestV, std::fabs(v[j]));
        if constexpr (checkFinite)
            finite = finite & (u[j] - u[j] == 0.0) & (v[j] - v[j] == 0.0) & (p[j] - p[j] == 0.0);
    }
    extremes.fastest = {fastestU, fastestV};
    extremes.finite = finite;
}
