#include "support/scenario_grids.h"

void makeChannelScenario(Grid& g, int NX, int NY)
{
    makeFluidGrid(g, NX, NY);
    for (int j = 0; j < NY; ++j) {
        g.setCell(0, j, CELL_INFLOW);
        g.u[0][j] = 1.0;
        g.setCell(NX - 1, j, CELL_OUTFLOW);
    }
    for (int i = 0; i < NX; ++i) {
        g.setCell(i, 0, CELL_NOSLIP_WALL);
        g.setCell(i, NY - 1, CELL_NOSLIP_WALL);
    }
    for (int j = NY / 2 - 2; j <= NY / 2 + 1; ++j)
        g.setCell(NX / 4, j, CELL_NOSLIP_WALL);
}

void makeCavityScenario(Grid& g, int NX, int NY)
{
    makeFluidGrid(g, NX, NY);
    for (int i = 0; i < NX; ++i) {
        g.setCell(i, 0, CELL_NOSLIP_WALL);
        g.setCell(i, NY - 1, CELL_MOVING_WALL);
        g.u[i][NY - 1] = 1.0;
    }
    for (int j = 0; j < NY - 1; ++j) {
        g.setCell(0, j, CELL_NOSLIP_WALL);
        g.setCell(NX - 1, j, CELL_NOSLIP_WALL);
    }
}

void makeLidCavity(Grid& g, int n)
{
    makeFluidGrid(g, n, n);
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j)
            if (g.onBorder(i, j))
                g.setCell(i, j, CELL_NOSLIP_WALL);
    for (int i = 1; i <= n - 2; ++i) {
        g.setCell(i, n - 1, CELL_MOVING_WALL);
        g.u[i][n - 1] = 1.0;
    }
}

void makeOpenChannel(Grid& grid, int NX, int NY, int32_t wall)
{
    makeFluidGrid(grid, NX, NY);
    for (int j = 1; j <= NY - 2; ++j) {
        grid.setCell(0, j, CELL_INFLOW);
        grid.u[0][j] = 1.0;
        grid.setCell(NX - 1, j, CELL_OUTFLOW);
    }
    for (int i = 0; i < NX; ++i) {
        grid.setCell(i, 0, wall);
        grid.setCell(i, NY - 1, wall);
    }
    writeDefaultVelocities(grid, 1.0, 0.0);
}
