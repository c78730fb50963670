// ComposeFrame: the toolkit-free part of the render pass. It clears the
// picture and draws the chosen elements into it in their fixed order; the
// window then presents the picture.
#pragma once

#include "core/grid.h"
#include "render/colour_map.h"
#include "render/colour_map_pass.h"
#include "render/frame_image.h"
#include "render/particles.h"
#include "render/scalar_field.h"
#include "render/streamlines.h"

#include <cstdint>
#include <limits>

// Which elements a pass draws ("Rendered Elements").
struct RenderElements {
    bool boundaryCells = false;
    bool streamlines = false;
    bool uField = false;     // x velocity, red
    bool vField = false;     // y velocity, green
    bool pressure = false;   // blue
    bool vectors = false;
    // A colour map of one quantity in place of the u, v and p fields;
    // None keeps the designed colours.
    ColourMapView colourMap;
    bool particles = false;        // tracer particles, on top of everything
    bool particleStreaks = false;  // and each one's streak
    // Bodies with exact outlines as their wall cells (a staircase) rather
    // than as drawn; with the boundary element only.
    bool outlineCells = false;
};

// The smallest spacing, in picture pixels, of the streamlines' seeds and of
// the velocity vectors. The frame files keep the designed spacing (0: seeds
// 1.5 cells apart, a vector in every cell); a picture for the screen spaces
// them out where cells are small, so that a large grid stays readable and
// cheap to draw.
struct ElementSpacing {
    int seedPixels = 0;
    int vectorPixels = 0;
};

// The scales M of the designed u, v and p fields; NaN: each field's own,
// its largest sample. A picture of part of a grid takes the whole grid's,
// so that its colours do not change as the part shown moves.
struct FieldScales {
    double u = std::numeric_limits<double>::quiet_NaN();
    double v = std::numeric_limits<double>::quiet_NaN();
    double p = std::numeric_limits<double>::quiet_NaN();
};

// The render pass with the buffers of its elements, kept between frames.
class FrameComposer {
public:
    // Clears columns 1..W-1 and rows 1..H-1 of image, then draws the u, v
    // and p fields, the vectors, the streamlines and the boundary cells,
    // each when chosen. Returns false, drawing nothing, when the picture is
    // not pixelsPerCell*NX x pixelsPerCell*NY. With a colour map chosen,
    // the map replaces the three fields and the rest draws on top. The
    // particles, when chosen and given, come last, over everything.
    bool compose(FrameImage& image, const SimGrid& grid, int32_t NX, int32_t NY, int pixelsPerCell,
                 const RenderElements& elements, const std::vector<Particle>* particles = nullptr,
                 const ElementSpacing& spacing = ElementSpacing(), const FieldScales& scales = FieldScales());

    // The streamlines, the longest part, end early once request is raised;
    // the picture is then unfinished.
    void watchStopRequest(const StopRequest* request) { streamlines.watchStopRequest(request); }

    // The particles' streaks follow a picture that moved (ParticlePass::moveStreaks).
    void moveStreaks(double scale, double shiftColumn, double shiftRow)
    {
        particleDots.moveStreaks(scale, shiftColumn, shiftRow);
    }

    // The range of the latest colour-map frame.
    ColourRange colourRange() const { return latestRange; }

private:
    void composeDesigned(FrameImage& image, const SimGrid& grid, int32_t NX, int32_t NY, int pixelsPerCell,
                         const RenderElements& elements, const ElementSpacing& spacing, const FieldScales& scales);
    void composeColourMap(FrameImage& image, const SimGrid& grid, int32_t NX, int32_t NY, int pixelsPerCell,
                          const RenderElements& elements, const ElementSpacing& spacing);

    // The boundary element: the cells, and the outlines over them unless
    // elements asks for the cells alone.
    void drawBoundary(FrameImage& image, const SimGrid& grid, int32_t NX, int32_t NY, int k,
                      const RenderElements& elements);

    ColourMapPass colourMap;
    Array2D<int32_t> aroundOutlines;  // the flags the boundary element draws around outlines
    ColourRange latestRange;
    ScalarFieldPass fields;
    StreamlinePass streamlines;
    ParticlePass particleDots;
};
