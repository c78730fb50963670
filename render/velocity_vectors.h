// VelocityVectors: one fixed-length grey segment per interior cell in the
// direction of its stored face velocities (u, v).
#pragma once

#include "core/array2d.h"
#include "render/frame_image.h"

#include <cstdint>

// Draws the segments of the interior cells of u and v (NX x NY) at pixelsPerCell pixels
// per cell. A cell at rest or with a velocity that is not finite draws none.
// With minSpacing pixels asked for and cells smaller than that, only every
// m-th cell each way draws (m cells at least minSpacing pixels), its
// segment m times as long.
void drawVelocityVectors(FrameImage& image, int32_t NX, int32_t NY, const Array2D<double>& u,
                         const Array2D<double>& v, int pixelsPerCell, int minSpacing = 0);
