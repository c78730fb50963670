// The flow at a cell centre as the program defines it everywhere it shows
// or exports one value per cell, on the staggered grid of core/grid.h:
//   u, v       the mean of the cell's two faces (u: west and east, v: south
//              and north); a first column or row takes its one face;
//   speed      sqrt(u^2 + v^2) of those centre values;
//   vorticity  dv/dx - du/dy, evaluated at the cell corners, where the
//              staggered grid gives it from the four faces around a corner,
//              (v[i+1][j] - v[i][j]) / dx - (u[i][j+1] - u[i][j]) / dy at the
//              north-east corner of cell (i, j), then averaged over the four
//              corners of each cell (corners past the grid are left out).
#pragma once

#include "core/grid.h"

#include <cmath>
#include <cstdint>

inline double centreU(const Grid& g, int32_t i, int32_t j)
{
    return i > 0 ? 0.5 * (g.u[i - 1][j] + g.u[i][j]) : g.u[i][j];
}

inline double centreV(const Grid& g, int32_t i, int32_t j)
{
    return j > 0 ? 0.5 * (g.v[i][j - 1] + g.v[i][j]) : g.v[i][j];
}

inline double centreSpeed(const Grid& g, int32_t i, int32_t j)
{
    return std::hypot(centreU(g, i, j), centreV(g, i, j));
}

// The vorticity of cell (i, j) of an NX x NY part of the grid.
double centreVorticity(const Grid& g, int32_t NX, int32_t NY, int32_t i, int32_t j);

// The vorticity of every cell of columns firstColumn .. endColumn - 1 into
// out (NX x NY, allocated by the caller), as centreVorticity gives it.
void centreVorticityColumns(const Grid& g, int32_t NX, int32_t NY, int32_t firstColumn, int32_t endColumn,
                            Array2D<double>& out);
