#include "sim/simulation_run.h"

#include "core/flow_check.h"

SimulationRun::SimulationRun(const Grid& grid, const SolverSettings& settings)
    : grid(&grid), settings(settings), solver(std::make_unique<FlowSolver>(grid, settings))
{
    solver->trackExtremes();
    startFresh();
}

SimulationRun::SimulationRun(const Grid& grid, double reynolds, double dt)
    : SimulationRun(grid, SolverSettings{reynolds, dt, Convection::Central, false})
{
}

// The old solver goes before the new one is built, so only one is held.
void SimulationRun::rebuild()
{
    solver.reset();
    solver = std::make_unique<FlowSolver>(*grid, settings);
    solver->trackExtremes();
    solver->watchStopRequest(stopRequest);
    startFresh();
}

// The grid may have changed since the last build, and so its speed.
void SimulationRun::startFresh()
{
    setUpSpeedLimit = setUpSpeed(*grid);
    blownUp = false;
    blownUpAt = -1;
    elapsed = 0.0;
}

StepReport SimulationRun::advanceOne(int32_t number)
{
    const StepReport report = solver->step();
    elapsed += report.dt;
    if (!blownUp && flowUnstable(solver->stateExtremes(), setUpSpeedLimit)) {
        blownUp = true;
        blownUpAt = number;
    }
    return report;
}

std::string SimulationRun::instabilityText() const
{
    return instabilityMessage(blownUpAt, elapsed, suggestedTimeStep(*grid, settings));
}

void SimulationRun::restore(const SimGrid& fields, double simulatedTime, int32_t cycles, int32_t frames)
{
    solver->restore(fields);
    elapsed = simulatedTime;
    cycleCount = cycles;
    savedFrames = frames;
}

void SimulationRun::resetCounters()
{
    cycleCount = 0;
    savedFrames = 0;
}

// cycleCount mod n = 0
bool SimulationRun::isFrameCycle(int interval) const
{
    const int n = interval < 1 ? 1 : interval;
    return cycleCount % n == 0;
}
