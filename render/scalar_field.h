// ScalarField: draws one grid array as a colour channel of the picture,
// resampled at picture resolution and scaled by its largest value.
#pragma once

#include "core/array2d.h"

#include <cstdint>

// Adds the field a (NX x NY, k pixels per cell) to the picture with the
// colour factors (each 0 or 1; only their low byte counts). The resampling
// buffer is kept between calls.
void drawScalarField(int32_t NX, int32_t NY, const Array2D<double>& a, int k,
                     int redFactor, int greenFactor, int blueFactor);
