#include "core/time_step.h"

#include "core/solver_constants.h"

#include <algorithm>
#include <cmath>

namespace {
// Share of the stability limit a step takes.
constexpr double safetyFactor = 0.5;
}  // namespace

LargestVelocities largestVelocities(const Grid& grid)
{
    LargestVelocities fastest;
    for (int32_t i = 0; i < grid.NX; ++i) {
        const double* u = grid.u[i];
        const double* v = grid.v[i];
        for (int32_t j = 0; j < grid.NY; ++j) {
            fastest.u = std::max(fastest.u, std::fabs(u[j]));
            fastest.v = std::max(fastest.v, std::fabs(v[j]));
        }
    }
    return fastest;
}

double stableTimeStep(const TimeStepLimits& limits, const LargestVelocities& fastest)
{
    const double dx = limits.dx, dy = limits.dy;
    double bound = limits.reynolds / 2.0 / (1.0 / (dx * dx) + 1.0 / (dy * dy));
    if (fastest.u > 0.0)
        bound = std::min(bound, dx / fastest.u);
    if (fastest.v > 0.0)
        bound = std::min(bound, dy / fastest.v);
    const double squares = fastest.u * fastest.u + fastest.v * fastest.v;
    if (limits.centralBound && squares > 0.0)
        bound = std::min(bound, 2.0 / (limits.reynolds * squares));
    return safetyFactor * bound;
}

double courantTimeStep(double dx, double dy, const LargestVelocities& fastest)
{
    const double rate = fastest.u / dx + fastest.v / dy;
    if (!(rate > 0.0))
        return solver_constants::projectionCourant * std::min(dx, dy);
    return solver_constants::projectionCourant / rate;
}
