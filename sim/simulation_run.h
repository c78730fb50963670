// SimulationRun: the solver of one simulation window (or batch run) and the
// counters of its cycles. Each cycle takes one time step; every n-th cycle,
// counted from the last restart, is a frame cycle that renders and saves.
#pragma once

#include "core/flow_solver.h"
#include "core/grid.h"

#include <cstdint>
#include <memory>

class SimulationRun {
public:
    // Builds the solver from grid (read now and at every rebuild, never
    // written); the caller takes the first step.
    SimulationRun(const Grid& grid, const SolverSettings& settings);
    // The same with the default convection terms and a fixed time step.
    SimulationRun(const Grid& grid, int reynolds, double dt);

    // Releases the solver and builds a new one from the grid as it is now.
    void rebuild();
    // One time step of the solver, outside the cycle count.
    StepReport step() { return solver->step(); }
    // cycleCount and savedFrames back to 0.
    void resetCounters();

    // Whether the coming cycle is a frame cycle: cycleCount mod n = 0, with
    // cycleCount as it is before the cycle. An interval below 1 counts as 1.
    bool isFrameCycle(int interval) const;

    // One cycle, in this order: a step; on a frame cycle frame(savedFrames)
    // and savedFrames + 1; cycleCount + 1. Returns what frame returned, or
    // true when this was no frame cycle.
    template <typename Frame>
    bool cycle(int interval, Frame&& frame)
    {
        const bool frameCycle = isFrameCycle(interval);
        lastStep = solver->step();
        bool ok = true;
        if (frameCycle) {
            ok = frame(savedFrames);
            ++savedFrames;
        }
        ++cycleCount;
        return ok;
    }

    int32_t cycles() const { return cycleCount; }
    // What the step of the last cycle did.
    const StepReport& lastStepReport() const { return lastStep; }
    int32_t frames() const { return savedFrames; }
    const SimGrid& state() const { return solver->state(); }
    const Grid& editedGrid() const { return *grid; }

private:
    const Grid* grid;                     // the edited grid; not owned
    SolverSettings settings;
    std::unique_ptr<FlowSolver> solver;   // owned
    int32_t cycleCount = 0;               // cycles since the last restart
    int32_t savedFrames = 0;              // frame cycles since the last restart
    StepReport lastStep;                  // of the last cycle
};
