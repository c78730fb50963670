// A headless run of the solver on an edited grid.
#include "cli/batch_run.h"

#include <cmath>
#include <cstdio>

RunParameters resolveParameters(const BatchOptions& options, const GridFileSettings& fromFile)
{
    const GridFileSettings shown = editorSettings(fromFile);
    RunParameters r;
    r.reynolds = options.reynolds ? *options.reynolds : shown.reynolds;
    r.dt = options.dt;
    r.defaultU = options.defaultU ? *options.defaultU : shown.defaultU;
    r.defaultV = options.defaultV ? *options.defaultV : shown.defaultV;
    return r;
}

BatchRun::BatchRun(Grid& grid, const RunParameters& parameters)
{
    writeDefaultVelocities(grid, parameters.defaultU, parameters.defaultV);
    cycles = std::make_unique<SimulationRun>(grid, parameters.reynolds, parameters.dt);
    record(cycles->step(), 0);
}

void BatchRun::advance()
{
    advance(1, [](int32_t) { return true; });
}

// Adds one step's report to the tally and notes the first non-finite field.
void BatchRun::record(const StepReport& report, long long stepNumber)
{
    counts.sweeps += report.sweeps;
    if (!report.converged)
        ++counts.cappedSteps;
    if (counts.firstNonFiniteStep < 0 && !fieldsFinite(cycles->state()))
        counts.firstNonFiniteStep = stepNumber;
}

bool fieldsFinite(const Grid& grid)
{
    for (int32_t i = 0; i < grid.NX; ++i)
        for (int32_t j = 0; j < grid.NY; ++j)
            if (!std::isfinite(grid.u[i][j]) || !std::isfinite(grid.v[i][j]) ||
                !std::isfinite(grid.p[i][j]))
                return false;
    return true;
}

std::string formatSummary(const RunTally& tally, double seconds)
{
    char text[512];
    const double rate = seconds > 0.0 ? static_cast<double>(tally.steps) / seconds : 0.0;
    int n = std::snprintf(text, sizeof text,
                          "kelvo-batch: %lld steps after the build step in %.3f s (%.1f steps/s)\n"
                          "kelvo-batch: %lld pressure sweeps in all, %.1f per step\n",
                          tally.steps, seconds, rate, tally.sweeps,
                          static_cast<double>(tally.sweeps) / static_cast<double>(tally.steps + 1));
    std::string out(text, static_cast<std::size_t>(n));
    if (tally.cappedSteps > 0)
        std::snprintf(text, sizeof text,
                      "kelvo-batch: the pressure iteration hit its sweep cap in %lld steps\n",
                      tally.cappedSteps);
    else
        std::snprintf(text, sizeof text, "kelvo-batch: the pressure iteration never hit its cap\n");
    out += text;
    if (tally.firstNonFiniteStep < 0)
        std::snprintf(text, sizeof text, "kelvo-batch: all fields stayed finite\n");
    else if (tally.firstNonFiniteStep == 0)
        std::snprintf(text, sizeof text,
                      "kelvo-batch: fields became non-finite in the build step\n");
    else
        std::snprintf(text, sizeof text, "kelvo-batch: fields became non-finite at step %lld\n",
                      tally.firstNonFiniteStep);
    out += text;
    return out;
}
