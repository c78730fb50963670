// A small channel for the run tests: no-slip walls south and north, inflow
// from the west at u = 1, outflow east, a wall post in the middle, so the
// flow changes visibly from step to step.
#pragma once

#include "core/grid.h"

#include <cstdint>

inline void makeChannel(Grid& grid, int32_t NX, int32_t NY)
{
    makeFluidGrid(grid, NX, NY);
    for (int32_t i = 0; i < NX; ++i) {
        grid.setCell(i, 0, CELL_NOSLIP_WALL);
        grid.setCell(i, NY - 1, CELL_NOSLIP_WALL);
    }
    for (int32_t j = 1; j < NY - 1; ++j) {
        grid.setCell(0, j, CELL_INFLOW);
        grid.u[0][j] = 1.0;
        grid.setCell(NX - 1, j, CELL_OUTFLOW);
    }
    for (int32_t j = NY / 3; j < NY / 2; ++j)
        grid.setCell(NX / 3, j, CELL_NOSLIP_WALL);
    writeDefaultVelocities(grid, 1.0, 0.0);
}
