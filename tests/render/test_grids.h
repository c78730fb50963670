// Grids for the picture tests: empty ones to set cells in by hand, and
// whole flows (a channel past a block, noise, a diverged field).
#pragma once

#include "core/grid.h"

#include <cmath>
#include <cstdint>
#include <memory>
#include <random>

// An NX x NY SimGrid, all fluid, u = v = p = 0.
inline std::unique_ptr<SimGrid> makeRestingGrid(int32_t NX, int32_t NY)
{
    auto grid = std::make_unique<SimGrid>();
    grid->NX = NX;
    grid->NY = NY;
    grid->flags.allocate(NX, NY);
    grid->u.allocate(NX, NY);
    grid->v.allocate(NX, NY);
    grid->p.allocate(NX, NY);
    for (int32_t i = 0; i < NX; ++i)
        for (int32_t j = 0; j < NY; ++j)
            grid->flags[i][j] = CELL_FLUID;
    return grid;
}

// A channel: no-slip walls south and north, inflow west, outflow east, a
// wall block in the middle; the flow bends round the block and p falls
// from west to east.
inline std::unique_ptr<SimGrid> makeChannelGrid(int32_t NX, int32_t NY)
{
    auto grid = makeRestingGrid(NX, NY);
    const double cx = NX / 3.0, cy = NY / 2.0, radius = NY / 6.0;
    for (int32_t i = 0; i < NX; ++i)
        for (int32_t j = 0; j < NY; ++j) {
            const double x = i + 0.5 - cx, y = j + 0.5 - cy;
            const double r2 = x * x + y * y;
            const bool inBlock = std::fabs(x) < radius && std::fabs(y) < radius;
            int32_t word = CELL_FLUID;
            if (j == 0 || j == NY - 1 || inBlock)
                word = CELL_NOSLIP_WALL;
            else if (i == 0)
                word = CELL_INFLOW | DIR_EAST;
            else if (i == NX - 1)
                word = CELL_OUTFLOW | DIR_EAST;
            grid->flags[i][j] = word;
            if (word & CELL_WALL_MASK)
                continue;
            const double shape = 1.0 - std::pow((j + 0.5 - cy) / cy, 2.0);
            const double bend = radius * radius / (r2 + 1.0);
            grid->u[i][j] = shape * (1.0 - bend * (x * x - y * y) / (r2 + 1.0));
            grid->v[i][j] = -shape * 2.0 * bend * x * y / (r2 + 1.0);
            grid->p[i][j] = 1.0 - static_cast<double>(i) / NX - 0.3 * bend;
        }
    return grid;
}

// A slow eastward stream that stops dead halfway: tracers run for a few
// hundred steps and then stand still with their dots left to plot.
inline std::unique_ptr<SimGrid> makeStagnantGrid(int32_t NX, int32_t NY)
{
    auto grid = makeRestingGrid(NX, NY);
    for (int32_t i = 0; i < NX / 2; ++i)
        for (int32_t j = 0; j < NY; ++j) {
            grid->u[i][j] = 0.25;
            grid->v[i][j] = 0.01 * (j % 3);
        }
    return grid;
}

// Every value of u, v and p uniform in -2..2, every flag word random.
inline std::unique_ptr<SimGrid> makeNoiseGrid(int32_t NX, int32_t NY, unsigned seed)
{
    auto grid = makeRestingGrid(NX, NY);
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> value(-2.0, 2.0);
    std::uniform_int_distribution<int32_t> word(0, 0x3FF);
    for (int32_t i = 0; i < NX; ++i)
        for (int32_t j = 0; j < NY; ++j) {
            grid->u[i][j] = value(random);
            grid->v[i][j] = value(random);
            grid->p[i][j] = value(random);
            grid->flags[i][j] = word(random);
        }
    return grid;
}

// Noise slowed down by scale: tracers creep, a few hundred steps in every
// pixel they cross, forwards and backwards.
inline std::unique_ptr<SimGrid> makeCreepingGrid(int32_t NX, int32_t NY, unsigned seed, double scale)
{
    auto grid = makeNoiseGrid(NX, NY, seed);
    for (int32_t i = 0; i < NX; ++i)
        for (int32_t j = 0; j < NY; ++j) {
            grid->u[i][j] *= scale;
            grid->v[i][j] *= scale;
        }
    return grid;
}

// The channel with a few cells gone to infinity and NaN, and one huge.
inline std::unique_ptr<SimGrid> makeDivergedGrid(int32_t NX, int32_t NY)
{
    auto grid = makeChannelGrid(NX, NY);
    grid->u[NX / 2][NY / 2] = INFINITY;
    grid->v[NX / 2][NY / 2 + 1] = NAN;
    grid->p[2][3] = -INFINITY;
    grid->u[NX - 3][NY - 4] = 1e300;
    grid->v[5][NY - 3] = -1e300;
    grid->p[NX - 2][2] = NAN;
    return grid;
}
