#include "sim/simulation_run.h"

SimulationRun::SimulationRun(const Grid& grid, const SolverSettings& settings)
    : grid(&grid), settings(settings), solver(std::make_unique<FlowSolver>(grid, settings))
{
}

SimulationRun::SimulationRun(const Grid& grid, int reynolds, double dt)
    : SimulationRun(grid, SolverSettings{reynolds, dt, Convection::Central, false})
{
}

// The old solver goes before the new one is built, so only one is held.
void SimulationRun::rebuild()
{
    solver.reset();
    solver = std::make_unique<FlowSolver>(*grid, settings);
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
