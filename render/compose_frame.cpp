#include "render/compose_frame.h"

#include "render/body_outlines.h"
#include "render/boundary_cells.h"
#include "render/velocity_vectors.h"

#include <cstdint>

// Steps of the pass, in order: clear, u (red), v (green), p (blue),
// vectors, streamlines, boundary cells. The fields, vectors and streamlines
// add up; the boundary cells replace what lies under them. Particles, last
// of all, are set over the rest.
bool FrameComposer::compose(FrameImage& image, const SimGrid& grid, int32_t NX, int32_t NY, int pixelsPerCell,
                            const RenderElements& elements, const std::vector<Particle>* particles,
                            const ElementSpacing& spacing, const FieldScales& scales)
{
    const int k = pixelsPerCell;
    if (k < 1 || NX < 1 || NY < 1 || int64_t(k) * NX != image.width() || int64_t(k) * NY != image.height())
        return false;
    if (elements.colourMap.quantity != ColourQuantity::None)
        composeColourMap(image, grid, NX, NY, k, elements, spacing);
    else
        composeDesigned(image, grid, NX, NY, k, elements, spacing, scales);
    if (elements.particles && particles)
        particleDots.draw(image, grid, k, *particles, elements.particleStreaks);
    return true;
}

void FrameComposer::composeDesigned(FrameImage& image, const SimGrid& grid, int32_t NX, int32_t NY, int k,
                                    const RenderElements& elements, const ElementSpacing& spacing,
                                    const FieldScales& scales)
{
    const int W = k * NX;
    const int H = k * NY;
    image.clearRect(1, 1, W - 1, H - 1, 0);
    if (elements.uField)
        fields.draw(image, NX, NY, grid.u, k, 1, 0, 0, scales.u);
    if (elements.vField)
        fields.draw(image, NX, NY, grid.v, k, 0, 1, 0, scales.v);
    if (elements.pressure)
        fields.draw(image, NX, NY, grid.p, k, 0, 0, 1, scales.p);
    if (elements.vectors)
        drawVelocityVectors(image, NX, NY, grid.u, grid.v, k, spacing.vectorPixels);
    // Without fields the picture is still grey where dots can fall: the
    // clear and the vectors put the same into all three planes.
    const bool grey = !elements.uField && !elements.vField && !elements.pressure;
    if (elements.streamlines)
        streamlines.draw(image, NX, NY, grid, k, grey, spacing.seedPixels);
    if (elements.boundaryCells)
        drawBoundary(image, grid, NX, NY, k, elements);
}

// The colour map first, then vectors, streamlines and boundary cells on top
// as in the designed pass.
void FrameComposer::composeColourMap(FrameImage& image, const SimGrid& grid, int32_t NX, int32_t NY, int k,
                                     const RenderElements& elements, const ElementSpacing& spacing)
{
    latestRange = colourMap.draw(image, grid, NX, NY, k, elements.colourMap);
    if (elements.vectors)
        drawVelocityVectors(image, NX, NY, grid.u, grid.v, k, spacing.vectorPixels);
    if (elements.streamlines)
        streamlines.draw(image, NX, NY, grid, k, false, spacing.seedPixels);
    if (elements.boundaryCells)
        drawBoundary(image, grid, NX, NY, k, elements);
}

void FrameComposer::drawBoundary(FrameImage& image, const SimGrid& grid, int32_t NX, int32_t NY, int k,
                                 const RenderElements& elements)
{
    if (grid.outlines.empty() || elements.outlineCells) {
        drawBoundaryCells(image, NX, NY, grid.flags, k);
        return;
    }
    flagsWithoutOutlineCells(grid, aroundOutlines);
    drawBoundaryCells(image, NX, NY, aroundOutlines, k);
    drawBodyOutlines(image, grid, k);
}
