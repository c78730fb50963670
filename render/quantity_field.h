// QuantityField: one quantity of the flow at every cell centre, the values
// the colour-map view draws.
#pragma once

#include "core/grid.h"
#include "render/colour_map.h"

#include <cstdint>

// Fills out (NX x NY) with the quantity at the cell centres:
//   u, v    the mean of the cell's two faces (u: west and east, v: south
//           and north); a first row or column takes its one face;
//   speed   sqrt(u^2 + v^2) of those centre values;
//   p       the cell's pressure;
//   vorticity  dv/dx - du/dy, evaluated at the cell corners, where the
//           staggered grid gives it from the four faces around a corner,
//           (v[i+1][j] - v[i][j]) / dx - (u[i][j+1] - u[i][j]) / dy at the
//           north-east corner of cell (i, j), then averaged over the four
//           corners of each cell (corners past the grid are left out).
// out is reallocated when its size differs.
void cellCentreQuantity(const Grid& grid, int32_t NX, int32_t NY, ColourQuantity quantity, Array2D<double>& out);

// The smallest and largest finite value over the fluid cells (all cells
// when there are none); smallest > largest when nothing was finite.
struct ValueExtent {
    double smallest;
    double largest;
};
ValueExtent fluidExtent(const Grid& grid, int32_t NX, int32_t NY, const Array2D<double>& values);
