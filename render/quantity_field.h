// QuantityField: one quantity of the flow at every cell centre, the values
// the colour-map view draws.
#pragma once

#include "core/grid.h"
#include "core/parallel_parts.h"
#include "render/colour_map.h"

#include <cstdint>

// Fills out (NX x NY) with the quantity at the cell centres, as
// core/centre_values.h defines them (p: the cell's pressure).
// out is reallocated when its size differs. Columns are shared among
// parallel's threads; the values do not depend on how many.
void cellCentreQuantity(const Grid& grid, int32_t NX, int32_t NY, ColourQuantity quantity, Array2D<double>& out,
                        const ParallelParts& parallel = ParallelParts(1));

// The smallest and largest finite value over the fluid cells (all cells
// when there are none); smallest > largest when nothing was finite.
struct ValueExtent {
    double smallest;
    double largest;
};
ValueExtent fluidExtent(const Grid& grid, int32_t NX, int32_t NY, const Array2D<double>& values,
                        const ParallelParts& parallel = ParallelParts(1));
