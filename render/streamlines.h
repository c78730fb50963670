// Streamlines: massless tracers started from a lattice of seeds, moved by
// explicit Euler steps through the resampled velocity, a soft white dot at
// every step.
#pragma once

#include "core/grid.h"
#include "core/stop_request.h"
#include "render/field_resample.h"
#include "render/frame_image.h"
#include "render/stream_dots.h"

#include <cstdint>
#include <vector>

// The pass with its buffers, which are kept between calls.
class StreamlinePass {
public:
    // Traces every seed of the NX x NY grid at pixelsPerCell pixels per
    // cell through the grid's u and v, interpolated at picture resolution
    // where a tracer looks them up.
    //
    // greyPicture promises that the three planes are equal in rows 1..H-1,
    // columns 1..W-1 (the part a dot can reach), as they are when no field
    // has been drawn: every dot adds the same to all three, so the dots are
    // drawn in the red plane alone and copied into the other two.
    // minSeedSpacing: seeds at least this many pixels apart each way (their
    // spacing a whole number of cells); 0 keeps 1.5 cells.
    void draw(FrameImage& image, int32_t NX, int32_t NY, const SimGrid& grid, int pixelsPerCell,
              bool greyPicture = false, int minSeedSpacing = 0);

    // Tracing ends early, drawing nothing, once request is raised.
    void watchStopRequest(const StopRequest* request) { stopRequest = request; }

    // A seed of a path, in picture coordinates.
    struct Seed {
        int x, y;
    };
    // The dot runs of one part of the seeds, on its own cache line: the
    // threads append to theirs at once.
    struct alignas(64) PartRuns {
        std::vector<StreamRun> runs;
    };

private:
    // The interpolation weights of the latest call. The velocity of a point
    // is interpolated when a tracer looks it up, with the same expression
    // as a whole resampled plane would hold; most points are never looked
    // up.
    PixelGrid pixelGrid;
    // The seeds of the latest call in drawing order, and the dot runs of
    // each part of them: the parts are traced at once, then drawn in order.
    std::vector<Seed> seeds;
    std::vector<PartRuns> partRuns;
    std::vector<StreamRunSpan> spans;  // the runs of the parts, in order
    // Dots per picture row, to give each drawing thread a fair share.
    std::vector<long> rowDots;
    const StopRequest* stopRequest = nullptr;
};
