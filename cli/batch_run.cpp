// A headless run of the solver on an edited grid.
#include "cli/batch_run.h"

#include "core/field_extremes.h"
#include "core/flow_check.h"
#include "io/number_text.h"

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

RunParameters resolveParameters(const BatchOptions& options, const GridFileSettings& fromFile)
{
    const GridFileSettings shown = editorSettings(fromFile);
    RunParameters r;
    r.reynolds = options.reynolds ? *options.reynolds : shown.reynolds;
    const bool dtFromFile = !options.dtGiven && fromFile.dt;
    r.dt = dtFromFile ? *fromFile.dt : options.dt;
    r.automaticDt = dtFromFile ? false : options.automaticDt;
    r.convection = !options.convectionGiven && fromFile.convection ? *fromFile.convection : options.convection;
    if (options.pressureGiven)
        r.pressure = options.pressure;
    else if (fromFile.pressure)
        r.pressure = *fromFile.pressure;
    else
        r.pressure = defaultPressureSolver(r.convection);
    r.threads = options.threads;
    r.defaultU = options.defaultU ? *options.defaultU : shown.defaultU;
    r.defaultV = options.defaultV ? *options.defaultV : shown.defaultV;
    r.startFromStoredField = options.startFromStoredField.value_or(fromFile.startsFromStoredField);
    return r;
}

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

RunParameters resolveRestartParameters(const BatchOptions& options, const SolverSettings& saved)
{
    RunParameters r;
    r.reynolds = options.reynolds ? *options.reynolds : saved.reynolds;
    r.dt = options.dtGiven ? options.dt : saved.dt;
    r.automaticDt = options.dtGiven ? options.automaticDt : saved.automaticDt;
    r.convection = options.convectionGiven ? options.convection : saved.convection;
    r.pressure = options.pressureGiven ? options.pressure : saved.pressure;
    r.threads = options.threads;
    return r;
}

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
    forEachCount(counts, c, [](auto& kept, const auto& stored) { kept = stored; });
    counts.restoredSteps = c.steps;
    // A saved run may already be past the limit: it then takes no step.
    counts.timeLimit = timeLimit.value_or(-1.0);
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
}

void copyGridArrays(const Grid& from, Grid& to)
{
    to.NX = from.NX;
    to.NY = from.NY;
    to.aux1 = from.aux1;
    to.aux2 = from.aux2;
    to.dx = from.dx;
    to.dy = from.dy;
    to.flags.allocate(from.NX, from.NY);
    to.flags.copyFrom(from.flags);
    copyScalars(from.scalars, to.scalars);
    for (auto [source, target] : {std::pair{&from.u, &to.u}, std::pair{&from.v, &to.v}, std::pair{&from.p, &to.p}}) {
        target->allocate(from.NX, from.NY);
        target->copyFrom(*source);
    }
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
    double largest = 0.0;
    for (int32_t i = 0; i < now.NX; ++i)
        for (int32_t j = 0; j < now.NY; ++j)
            largest = std::max({largest, std::fabs(now.u[i][j] - previous.u[i][j]),
                                std::fabs(now.v[i][j] - previous.v[i][j])});
    return largest;
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

namespace {

// Why a run with --until-steady or --until-time stopped; "" without them.
std::string stopLine(const RunTally& tally)
{
    const bool tracked = tally.lastChange >= 0.0;
    if (!tracked && tally.timeLimit < 0.0)
        return "";
    char text[256];
    if (tally.steady)
        std::snprintf(text, sizeof text, "kelvo-batch: stopped at a steady state");
    else if (tally.timeReached)
        std::snprintf(text, sizeof text, "kelvo-batch: stopped at --until-time %s: simulated time %.6g",
                      roundTripText(tally.timeLimit).c_str(), tally.simulatedTime);
    else
        std::snprintf(text, sizeof text, "kelvo-batch: stopped after --steps steps");
    std::string line = text;
    if (tracked) {
        std::snprintf(text, sizeof text, "; largest change of u or v in the last step %.6g", tally.lastChange);
        line += text;
    }
    return line + "\n";
}

}  // namespace

std::string formatSummary(const RunTally& tally, double seconds)
{
    char text[512];
    // The rate of this run's own steps; the counts cover the whole run.
    const double rate = seconds > 0.0 ? static_cast<double>(tally.steps - tally.restoredSteps) / seconds : 0.0;
    const bool multigrid = tally.cycles > 0;
    int n = std::snprintf(text, sizeof text,
                          "kelvo-batch: %lld steps after the build step in %.3f s (%.1f steps/s)\n"
                          "kelvo-batch: %lld %s in all, %.1f per step\n"
                          "kelvo-batch: largest divergence left after a step %.6g\n",
                          tally.steps, seconds, rate, multigrid ? tally.cycles : tally.sweeps,
                          multigrid ? "multigrid cycles" : "pressure sweeps",
                          static_cast<double>(multigrid ? tally.cycles : tally.sweeps) / static_cast<double>(tally.steps + 1),
                          tally.largestDivergence);
    std::string out(text, static_cast<std::size_t>(n));
    if (tally.restoredSteps > 0) {
        std::snprintf(text, sizeof text,
                      "kelvo-batch: continued a saved run after its step %lld: the counts cover the whole run, "
                      "the time and rate this run's %lld steps\n",
                      tally.restoredSteps, tally.steps - tally.restoredSteps);
        out += text;
    }
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
    std::snprintf(text, sizeof text, "kelvo-batch: simulated time %.6g, dt from %.6g to %.6g\n",
                  tally.simulatedTime, tally.smallestDt, tally.largestDt);
    out += text;
    out += stopLine(tally);
    return out;
}
