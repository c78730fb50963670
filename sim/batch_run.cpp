// A headless run of the solver on an edited grid.
#include "sim/batch_run.h"

#include "core/field_extremes.h"
#include "core/flow_check.h"
#include "core/four_lanes.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <utility>

namespace {
// A sum of steps that lands on the limit up to its rounding has reached it:
// ten steps of 0.003 add up to 0.029999999999999995.
bool timeLimitReached(double simulatedTime, double limit)
{
    return limit >= 0.0 && simulatedTime >= limit * (1.0 - 1e-12);
}
}  // namespace

namespace {

// Calls each(count, stored) for every count of the tally with its place in
// a state file's counters; the simulated time is the run's own sum.
template <typename Tally, typename Counters, typename Each>
void forEachCount(Tally& tally, Counters& counters, Each each)
{
    each(tally.steps, counters.steps);
    each(tally.sweeps, counters.sweeps);
    each(tally.cycles, counters.multigridCycles);
    each(tally.cappedSteps, counters.cappedSteps);
    each(tally.firstNonFiniteStep, counters.firstNonFiniteStep);
    each(tally.simulatedTime, counters.simulatedTime);
    each(tally.largestDivergence, counters.largestDivergence);
    each(tally.smallestDt, counters.smallestDt);
    each(tally.largestDt, counters.largestDt);
}

}  // namespace

BatchRun::BatchRun(Grid& grid, const RunParameters& parameters, std::optional<double> steadyLimit,
                   std::optional<double> timeLimit)
    : edited(&grid),
      settings{parameters.reynolds, parameters.dt, parameters.convection, parameters.automaticDt, parameters.pressure,
               parameters.threads},
      steadyLimit(steadyLimit)
{
    counts.timeLimit = timeLimit.value_or(-1.0);
    if (!parameters.startFromStoredField)
        writeDefaultVelocities(grid, parameters.defaultU, parameters.defaultV);
    trackChanges(grid);
    cycles = std::make_unique<SimulationRun>(grid, settings);
    const StepReport first = cycles->step();
    record(first, 0);
}

BatchRun::BatchRun(Grid& grid, const RunParameters& parameters, const RunState& saved,
                   std::optional<double> steadyLimit, std::optional<double> timeLimit)
    : edited(&grid),
      settings{parameters.reynolds, parameters.dt, parameters.convection, parameters.automaticDt, parameters.pressure,
               parameters.threads},
      steadyLimit(steadyLimit)
{
    trackChanges(grid);
    cycles = std::make_unique<SimulationRun>(grid, settings);
    const RunCounters& c = saved.counters;
    cycles->restore(saved.fields, c.simulatedTime, c.cycles, c.frames);
    cycles->restoreParticles(saved.particles);
    forEachCount(counts, c, [](auto& kept, const auto& stored) { kept = stored; });
    counts.restoredSteps = c.steps;
    // A saved run may already be past the limit: it then takes no step.
    counts.timeLimit = timeLimit.value_or(-1.0);
    counts.timeReached = timeLimitReached(counts.simulatedTime, counts.timeLimit);
}

void BatchRun::setLimits(std::optional<double> steady, std::optional<double> time)
{
    steadyLimit = steady;
    trackChanges(*edited);
    counts.steady = false;
    if (!steadyLimit)
        counts.lastChange = -1.0;
    counts.timeLimit = time.value_or(-1.0);
    counts.timeReached = timeLimitReached(counts.simulatedTime, counts.timeLimit);
}

void BatchRun::saveState(RunState& state) const
{
    state.settings = settings;
    copyGridArrays(*edited, state.edited);
    const SimGrid& now = cycles->state();
    copyGridArrays(now, state.fields);
    SimGrid& to = state.fields;
    for (auto [source, target] : {std::pair{&now.F, &to.F}, std::pair{&now.G, &to.G},
                                  std::pair{&now.pPrev, &to.pPrev}, std::pair{&now.dp, &to.dp}}) {
        target->allocate(now.NX, now.NY);
        target->copyFrom(*source);
    }
    RunCounters& c = state.counters;
    forEachCount(counts, c, [](const auto& kept, auto& stored) { stored = kept; });
    c.cycles = cycles->cycles();
    c.frames = cycles->frames();
    state.particles = cycles->particles().state();
}

// u and v before each step, to tell how much a step changed them.
void BatchRun::trackChanges(const Grid& grid)
{
    if (!steadyLimit)
        return;
    previous.NX = grid.NX;
    previous.NY = grid.NY;
    previous.u.allocate(grid.NX, grid.NY);
    previous.v.allocate(grid.NX, grid.NY);
}

void BatchRun::keepPreviousVelocities()
{
    if (!steadyLimit)
        return;
    previous.u.copyFrom(cycles->state().u);
    previous.v.copyFrom(cycles->state().v);
}

double BatchRun::largestChange() const
{
    const SimGrid& now = cycles->state();
    FourLanes largest;
    for (int32_t i = 0; i < now.NX; ++i) {
        const double* u = now.u[i];
        const double* v = now.v[i];
        const double* uBefore = previous.u[i];
        const double* vBefore = previous.v[i];
        forFourLanes(0, now.NY, [&](int32_t j, int lane) {
            largest.addLargest(lane, u[j] - uBefore[j]);
            largest.addLargest(lane, v[j] - vBefore[j]);
        });
    }
    return largest.largest();
}

std::string BatchRun::instabilityText() const
{
    return cycles->instabilityText();
}

const char* BatchRun::stopReason() const
{
    return unstable() ? "blow-up" : steady() ? "until-steady" : timeReached() ? "until-time" : "step-limit";
}

void BatchRun::advance()
{
    advance(1, [](int32_t) { return true; });
}

// Adds one step's report to the tally and notes the first non-finite field.
void BatchRun::record(const StepReport& report, long long stepNumber)
{
    counts.smallestDt = stepNumber == 0 ? report.dt : std::min(counts.smallestDt, report.dt);
    counts.largestDt = std::max(counts.largestDt, report.dt);
    counts.simulatedTime += report.dt;
    counts.timeReached = timeLimitReached(counts.simulatedTime, counts.timeLimit);
    if (steadyLimit && stepNumber > 0) {
        counts.lastChange = largestChange();
        counts.steady = counts.lastChange <= *steadyLimit;
    }
    counts.sweeps += report.sweeps;
    counts.cycles += report.cycles;
    counts.largestDivergence = std::max(counts.largestDivergence, cycles->largestDivergence());
    if (!report.converged)
        ++counts.cappedSteps;
    if (counts.firstNonFiniteStep < 0 && !cycles->fieldsFinite())
        counts.firstNonFiniteStep = stepNumber;
}

bool fieldsFinite(const Grid& grid) { return fieldExtremes(grid).finite; }
