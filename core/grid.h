// Grid: the edited grid of cells, and SimGrid: the solver's deep copy of it
// with the four working arrays.
//
// Cell (i, j): i = 0..NX-1 west to east, j = 0..NY-1 south to north; NX and
// NY count the one-cell border ring. p lies at the cell centre, u[i][j] on the
// face between (i, j) and (i+1, j), v[i][j] on the face between (i, j) and
// (i, j+1).
#pragma once

#include "core/array2d.h"
#include "core/body_outline.h"
#include "core/cell_flags.h"
#include "core/emitter.h"
#include "core/grid_scalars.h"

#include <cstdint>
#include <vector>

struct Grid {
    int32_t NX = 0;    // cells in x, border included
    int32_t NY = 0;    // cells in y, border included
    int32_t aux1 = 0;  // carried by grid files, read by nothing
    int32_t aux2 = 0;
    double dx = 0.0;   // cell width
    double dy = 0.0;   // cell height
    Array2D<int32_t> flags;
    Array2D<double> u;
    Array2D<double> v;
    Array2D<double> p;
    // Exact outlines of bodies drawn over the cells; the cells they cover
    // wholly are wall cells as well (core/immersed_boundary.h).
    std::vector<BodyOutline> outlines;
    Emitters emitters;  // tracer particle sources, in the order placed
    GridScalars scalars;  // heat and dye; off unless set

    // Zeroes the header, releases all four arrays and drops the emitters.
    void clear();
    // Releases p, v, u and flags, in that order, and heat and dye.
    void releaseArrays();
    // Allocates the four arrays NX x NY, every word CELL_FLUID, u, v, p zero.
    void allocateFluid();
    // Stores a flag word after pointing a border inflow into the domain and a
    // border outflow out of it; an outflow word off the border stores nothing.
    void setCell(int32_t i, int32_t j, int32_t word);
    bool onBorder(int32_t i, int32_t j) const
    {
        return i == 0 || j == 0 || i == NX - 1 || j == NY - 1;
    }
};

// The cell size of an NX x NY grid whose domain is 1 high and W wide, with
// W = max(1, NX div NY): a grid narrower than it is high keeps a width of 1
// instead of collapsing to zero.
struct CellSize {
    double dx;
    double dy;
};
CellSize cellSizeFor(int32_t NX, int32_t NY);

// Makes to a deep copy of from: header, cells, velocities, pressure,
// outlines, emitters, heat and dye.
void copyGridArrays(const Grid& from, Grid& to);

// A new all-fluid grid of the given size with the cell size of cellSizeFor.
void makeFluidGrid(Grid& grid, int32_t NX, int32_t NY);

// Calls visit(i, j) for every cell that takes the default velocities: every
// fluid cell with i <= NX-2 and j <= NY-2 (the last column and the last row
// keep their values).
template <class Visit>
void forEachDefaultVelocityCell(const Grid& grid, Visit visit)
{
    for (int32_t i = 0; i <= grid.NX - 2; ++i)
        for (int32_t j = 0; j <= grid.NY - 2; ++j)
            if (grid.flags[i][j] & CELL_FLUID)
                visit(i, j);
}

// The "&Calculate It" preparation: writes the default velocities into u and v
// of every cell of forEachDefaultVelocityCell.
void writeDefaultVelocities(Grid& grid, double defaultU, double defaultV);

struct SimGrid : Grid {
    Array2D<double> F;      // tentative x-velocity on east faces
    Array2D<double> G;      // tentative y-velocity on north faces
    Array2D<double> pPrev;  // accumulated pressure after the previous step
    Array2D<double> dp;     // pressure correction of the current step
};
