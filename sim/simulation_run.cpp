#include "sim/simulation_run.h"

SimulationRun::SimulationRun(const Grid& grid, int reynolds, double dt)
    : grid(&grid), reynolds(reynolds), dt(dt), solver(buildSolver(grid, reynolds, dt))
{
}

// The old solver goes before the new one is built, so only one is held.
void SimulationRun::rebuild()
{
    solver.reset();
    solver = buildSolver(*grid, reynolds, dt);
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
