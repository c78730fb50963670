// Bodies with exact outlines as drawn: each outline filled in its wall
// colour, anti-aliased (a pixel takes the share of the colour the outline
// covers of it, from the distance of its centre to the outline), in place
// of the wall cells it covers, which the boundary element would draw as a
// staircase.
#pragma once

#include "core/body_outline.h"
#include "core/grid.h"
#include "render/frame_image.h"

#include <cstdint>
#include <vector>

// A copy of flags with the wall cells whose centres lie inside an outline
// made fluid, for the boundary element to draw around the outlines.
void flagsWithoutOutlineCells(const Grid& grid, Array2D<int32_t>& flags);

// Blends each outline over the picture at k pixels per cell. The picture
// puts domain point (x, y) at column (x / dx + 1/2) k and row
// (NY - y / dy + 1/2) k, as the boundary element places the cells.
void drawBodyOutlines(FrameImage& image, const Grid& grid, int k);
