// Streamlines: massless tracers started from a lattice of seeds, moved by
// explicit Euler steps through the resampled velocity, a soft white dot at
// every step.
#pragma once

#include "core/grid.h"

#include <cstdint>

// Traces every seed of the NX x NY grid at k pixels per cell through the
// grid's u and v, interpolated at picture resolution where a tracer looks
// them up. The interpolation weights are kept between calls.
//
// greyPicture promises that the three planes are equal in rows 1..H-1,
// columns 1..W-1 (the part a dot can reach), as they are when no field has
// been drawn: every dot adds the same to all three, so the dots are drawn
// in the red plane alone and copied into the other two.
void drawStreamlines(int32_t NX, int32_t NY, const SimGrid& grid, int k, bool greyPicture = false);
