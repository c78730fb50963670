// A literal time step of the designed scheme: the loops in the order the
// scheme is written down, every coefficient formed where it is used, on its
// own copy of the grid. The solver's own step visits memory in its own order
// and must give the same bits.
#pragma once

#include "core/flow_solver.h"

#include <memory>

struct LiteralSolver {
    // Starts as a solver built from grid with the given scalars starts.
    LiteralSolver(const Grid& grid, const SolverScalars& scalars);
    // One step; returns the sweeps made.
    int step();

    std::unique_ptr<SimGrid> state;
    WallPlan plan;
    SolverScalars s;
};
