#include "core/grid.h"

#include <algorithm>
#include <utility>

void Grid::clear()
{
    releaseArrays();
    emitters.clear();
    NX = NY = aux1 = aux2 = 0;
    outlines.clear();
    dx = dy = 0.0;
}

void Grid::releaseArrays()
{
    p.release();
    v.release();
    u.release();
    flags.release();
    scalars.release();
}

void Grid::allocateFluid()
{
    flags.allocate(NX, NY);
    u.allocate(NX, NY);
    v.allocate(NX, NY);
    p.allocate(NX, NY);
    for (int32_t i = 0; i < NX; ++i)
        std::fill(flags[i], flags[i] + NY, CELL_FLUID);
}

// Inflow on the border points into the domain (later tests win, so a corner
// takes the south or north direction); outflow points out of it (the first
// test that holds decides) and is refused off the border.
void Grid::setCell(int32_t i, int32_t j, int32_t word)
{
    auto withDirection = [](int32_t w, int32_t dir) { return (w & ~DIR_MASK) | dir; };

    if (word & CELL_INFLOW) {
        if (i == 0) word = withDirection(word, DIR_EAST);
        if (i == NX - 1) word = withDirection(word, DIR_WEST);
        if (j == 0) word = withDirection(word, DIR_NORTH);
        if (j == NY - 1) word = withDirection(word, DIR_SOUTH);
    }
    if (word & CELL_OUTFLOW) {
        if (i == 0) word = withDirection(word, DIR_WEST);
        else if (i == NX - 1) word = withDirection(word, DIR_EAST);
        else if (j == 0) word = withDirection(word, DIR_SOUTH);
        else if (j == NY - 1) word = withDirection(word, DIR_NORTH);
        else return;
    }
    flags[i][j] = word;
}

// The domain is 1 high and W = NX div NY wide; W is at least 1 so that a
// grid taller than wide still has a finite, non-zero cell width.
CellSize cellSizeFor(int32_t NX, int32_t NY)
{
    if (NX <= 0 || NY <= 0)
        return {0.0, 0.0};
    const int32_t width = std::max<int32_t>(1, NX / NY);
    return {static_cast<double>(width) / NX, 1.0 / NY};
}

void makeFluidGrid(Grid& grid, int32_t NX, int32_t NY)
{
    const CellSize size = cellSizeFor(NX, NY);
    grid.releaseArrays();
    grid.NX = NX;
    grid.NY = NY;
    grid.dx = size.dx;
    grid.dy = size.dy;
    grid.allocateFluid();
}

void writeDefaultVelocities(Grid& grid, double defaultU, double defaultV)
{
    forEachDefaultVelocityCell(grid, [&grid, defaultU, defaultV](int32_t i, int32_t j) {
        grid.u[i][j] = defaultU;
        grid.v[i][j] = defaultV;
    });
}

void copyGridArrays(const Grid& from, Grid& to)
{
    to.NX = from.NX;
    to.NY = from.NY;
    to.aux1 = from.aux1;
    to.aux2 = from.aux2;
    to.dx = from.dx;
    to.dy = from.dy;
    to.outlines = from.outlines;
    to.emitters = from.emitters;
    to.flags.allocate(from.NX, from.NY);
    to.flags.copyFrom(from.flags);
    copyScalars(from.scalars, to.scalars);
    for (auto [source, target] : {std::pair{&from.u, &to.u}, std::pair{&from.v, &to.v}, std::pair{&from.p, &to.p}}) {
        target->allocate(from.NX, from.NY);
        target->copyFrom(*source);
    }
}
