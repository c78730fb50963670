#include "sim/simulation_run.h"

#include "core/flow_check.h"

#include <utility>

SimulationRun::SimulationRun(const Grid& grid, const SolverSettings& settings)
    : grid(&grid), settings(settings), solver(std::make_unique<FlowSolver>(grid, settings)),
      tracer(std::make_unique<ParticleTracer>(grid, settings.threads))
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
    tracer = std::make_unique<ParticleTracer>(*grid, settings.threads);
    tracer->setCap(particleCap);
    for (const Emitter& emitter : placedEmitters)
        tracer->addEmitter(emitter);
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
    tracer->beforeStep(solver->state());
    const StepReport report = solver->step();
    elapsed += report.dt;
    if (!blownUp && flowUnstable(solver->stateExtremes(), setUpSpeedLimit)) {
        blownUp = true;
        blownUpAt = number;
    }
    // A flow that has blown up carries its particles no further.
    if (!blownUp)
        tracer->afterStep(solver->state(), report.dt);
    return report;
}

namespace {

// The painted word into cell (i, j) of grid; the cell's own u, v and p
// start again (at the inflow's velocity for an inflow cell).
void paintCell(Grid& grid, const CellPaint& cell)
{
    grid.setCell(cell.i, cell.j, cell.word);
    const bool inflow = (cell.word & CELL_INFLOW) != 0;
    grid.u[cell.i][cell.j] = inflow ? cell.u : 0.0;
    grid.v[cell.i][cell.j] = inflow ? cell.v : 0.0;
    grid.p[cell.i][cell.j] = 0.0;
}

}  // namespace

Grid& SimulationRun::ownedGrid()
{
    if (!ownGrid) {
        ownGrid = std::make_unique<Grid>();
        copyGridArrays(*grid, *ownGrid);
        grid = ownGrid.get();
    }
    return *ownGrid;
}

void SimulationRun::buildFromState(const Grid& now)
{
    solver.reset();
    solver = std::make_unique<FlowSolver>(now, settings);
    solver->trackExtremes();
    solver->watchStopRequest(stopRequest);
    tracer->readCells(*grid);
    setUpSpeedLimit = setUpSpeed(*grid);
}

void SimulationRun::repaint(const std::vector<CellPaint>& cells)
{
    if (cells.empty())
        return;
    Grid& own = ownedGrid();
    Grid now;
    copyGridArrays(solver->state(), now);
    for (const CellPaint& cell : cells) {
        if (cell.i < 0 || cell.j < 0 || cell.i >= now.NX || cell.j >= now.NY)
            continue;
        paintCell(own, cell);
        paintCell(now, cell);
        painted.push_back(cell);
    }
    buildFromState(now);
}

void SimulationRun::paintDye(const std::vector<DyePaint>& cells)
{
    if (cells.empty() || !carriesDye())
        return;
    // The run's own grid takes the dye as starting dye, as it takes painted
    // cells, so that Stop starts again with it.
    Grid& own = ownedGrid();
    if (!own.scalars.dye)
        enableDye(own.scalars, own.NX, own.NY);
    if (!state().scalars.dye) {
        Grid now;
        copyGridArrays(solver->state(), now);
        enableDye(now.scalars, now.NX, now.NY);
        buildFromState(now);
    }
    for (const DyePaint& cell : cells)
        if (solver->setDye(cell.i, cell.j, 1.0))
            own.scalars.c[cell.i][cell.j] = 1.0;
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
