// ComposeFrame: the toolkit-free part of the render pass. It clears the
// picture and draws the chosen elements into it in their fixed order; the
// window then presents the picture.
#pragma once

#include "core/grid.h"
#include "render/frame_image.h"
#include "render/scalar_field.h"
#include "render/streamlines.h"

#include <cstdint>

// Which elements a pass draws ("Rendered Elements").
struct RenderElements {
    bool boundaryCells = false;
    bool streamlines = false;
    bool uField = false;     // x velocity, red
    bool vField = false;     // y velocity, green
    bool pressure = false;   // blue
    bool vectors = false;
};

// The render pass with the buffers of its elements, kept between frames.
class FrameComposer {
public:
    // Clears columns 1..W-1 and rows 1..H-1 of image, then draws the u, v
    // and p fields, the vectors, the streamlines and the boundary cells,
    // each when chosen. Returns false, drawing nothing, when the picture is
    // not pixelsPerCell*NX x pixelsPerCell*NY.
    bool compose(FrameImage& image, const SimGrid& grid, int32_t NX, int32_t NY, int pixelsPerCell,
                 const RenderElements& elements);

private:
    ScalarFieldPass fields;
    StreamlinePass streamlines;
};
