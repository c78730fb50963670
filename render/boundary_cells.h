// BoundaryCells: fills the rectangle of every wall, inflow and outflow cell
// with its type's colour, over whatever was drawn before.
#pragma once

#include "core/array2d.h"
#include "render/frame_image.h"

#include <cstdint>

// Draws the non-fluid cells of flags (NX x NY) at k pixels per cell.
void drawBoundaryCells(FrameImage& image, int32_t NX, int32_t NY, const Array2D<int32_t>& flags, int k);
