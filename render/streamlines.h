// Streamlines: massless tracers started from a lattice of seeds, moved by
// explicit Euler steps through the resampled velocity, a soft white dot at
// every step.
#pragma once

#include "grid.h"

#include <cstdint>

// Traces every seed of the NX x NY grid at k pixels per cell through the
// grid's u and v, interpolated at picture resolution where a tracer looks
// them up. The interpolation weights are kept between calls.
void drawStreamlines(int32_t NX, int32_t NY, const SimGrid& grid, int k);
