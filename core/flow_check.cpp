#include "core/flow_check.h"

#include "core/time_step.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {
// How many times the set-up speed a flow may reach before it counts as
// blown up; real flows stay within a few times of it.
constexpr double runawayFactor = 100.0;
}  // namespace

double setUpSpeed(const Grid& edited)
{
    const LargestVelocities fastest = largestVelocities(edited);
    return std::max({1.0, fastest.u, fastest.v});
}

bool flowUnstable(const Grid& state, double setUpSpeed)
{
    return flowUnstable(fieldExtremes(state), setUpSpeed);
}

bool flowUnstable(const FieldExtremes& extremes, double setUpSpeed)
{
    const double limit = runawayFactor * setUpSpeed;
    return !extremes.finite || extremes.fastest.u > limit || extremes.fastest.v > limit;
}

double suggestedTimeStep(const Grid& edited, const SolverSettings& settings)
{
    const double speed = setUpSpeed(edited);
    const TimeStepLimits limits{edited.dx, edited.dy, settings.reynolds,
                                settings.convection != Convection::UpwindBlended};
    return stableTimeStep(limits, LargestVelocities{speed, speed});
}

std::string instabilityMessage(long long cycle, double time, double suggestedDt)
{
    char text[256];
    std::snprintf(text, sizeof text,
                  "The flow became unstable at cycle %lld (t = %.4g). Use a smaller Delta Time "
                  "(about %.2g or less for this grid) or tick Automatic.",
                  cycle, time, suggestedDt);
    return text;
}

double largestDivergence(const Grid& state)
{
    return largestDivergence(state, state.dx, state.dy);
}

double largestDivergence(const Grid& state, double dx, double dy)
{
    double largest = 0.0;
    for (int32_t i = 1; i <= state.NX - 2; ++i)
        for (int32_t j = 1; j <= state.NY - 2; ++j) {
            if (!isOpen(state.flags[i][j]))
                continue;
            const double divergence = (state.u[i][j] - state.u[i - 1][j]) / dx + (state.v[i][j] - state.v[i][j - 1]) / dy;
            largest = std::max(largest, std::fabs(divergence));
        }
    return largest;
}
