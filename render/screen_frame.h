// ScreenFrame: the picture a window shows, composed for the screen rather
// than for the files: whole pixels per cell, as many as let the grid fit
// the canvas (at least one), whatever the Output Size of the saved frames.
// A 1024 x 512 grid is then drawn at 1024 x 512 pixels, not at 4096 x 2048.
// A grid larger than the canvas has only the part the canvas shows drawn,
// thinned to about the canvas's pixels (render/screen_window.h), so a shown
// frame costs what the canvas can show. It travels as bytes, the form the
// display takes.
#pragma once

#include "core/grid.h"
#include "render/compose_frame.h"
#include "render/frame_image.h"
#include "render/screen_window.h"

#include <cstdint>
#include <vector>

namespace screen_spacing {
// On screen the streamlines start at least this far apart and the vectors
// stand at least this far apart, in screen pixels: one cell apart at a
// pixel or two per cell would fill the canvas with white.
constexpr int seedPixels = 12;
constexpr int vectorPixels = 10;
}  // namespace screen_spacing

// Pixels per cell edge of the screen picture of an NX x NY grid on a canvas
// of width x height: the largest that fits both ways, at least 1.
int screenPixelsPerCell(int canvasWidth, int canvasHeight, int32_t NX, int32_t NY);
// Picture pixels per canvas pixel of that picture: above 1 only where the
// grid has more cells than the canvas has pixels.
double screenShrink(int canvasWidth, int canvasHeight, int32_t NX, int32_t NY);

struct ScreenFrame {
    int width = 0;          // pixels
    int height = 0;         // pixels, the colour bar's strip included
    int pictureHeight = 0;  // the rows above the strip, of the whole picture
    int pixelsPerCell = 0;
    std::vector<uint8_t> rgb;  // rows from the top, 3 bytes a pixel
    ColourRange range;         // of the colour map, when one is shown
    // The whole picture's size, and the part of it these pixels show
    // (whole() when they are the whole picture).
    int contentWidth = 0;
    int contentHeight = 0;
    ScreenWindow window;
};

// A picture as screen bytes: each value truncated toward zero, then held
// to 0..255, as the frame files and the presenter read it.
void copyToScreenFrame(const FrameImage& picture, int pictureHeight, int pixelsPerCell, const ColourRange& range,
                       ScreenFrame& frame);

// Composes screen frames with buffers kept between frames.
class ScreenComposer {
public:
    // The chosen elements of state at pixelsPerCell, with the colour bar's
    // strip below when a colour map is shown. shrink: picture pixels per
    // screen pixel where the canvas is smaller than the grid (one pixel a
    // cell still), which spaces the seeds and vectors out as much more.
    // particles, when given and chosen, are drawn over the rest as in the
    // frame files. A window that is not whole() composes only its part of
    // the one-pixel-per-cell picture (pixelsPerCell and shrink then play
    // no part): the seeds and vectors spaced in its own pixels, the colour
    // map's range and the fields' scales those of the whole grid as a few
    // of its cells have them, whichever part is shown.
    void compose(const SimGrid& state, int32_t NX, int32_t NY, int pixelsPerCell, const RenderElements& elements,
                 ScreenFrame& frame, double shrink = 1.0, const std::vector<Particle>* particles = nullptr,
                 const ScreenWindow& window = ScreenWindow());
    // Composing ends early once request is raised; the frame is then unfinished.
    void watchStopRequest(const StopRequest* request) { composer.watchStopRequest(request); }

private:
    void composeWindow(const SimGrid& state, const RenderElements& elements, const ScreenWindow& window,
                       ScreenFrame& frame, const std::vector<Particle>* particles);
    // The whole grid's field scales, and its colour map's range unless
    // locked, from a few cells of it, for a frame of part of it.
    FieldScales wholeGridScales(const SimGrid& state, RenderElements& elements);
    // The frame's pixels from the sub-grid's picture, and from the colour
    // bar's strip where the window reaches below the grid.
    void cropWindow(const SimGrid& state, const RenderElements& elements, const ScreenWindow& window,
                    ScreenFrame& frame);

    // Where a picture's pixels lie on the whole one-pixel-per-cell picture:
    // its pixel p shows whole-picture pixel left + stride (p - margin)
    // (top for rows).
    struct PicturePlace {
        double left = 0.0;
        double top = 0.0;
        double stride = 1.0;
        double margin = 0.0;
        bool operator==(const PicturePlace& o) const
        {
            return left == o.left && top == o.top && stride == o.stride && margin == o.margin;
        }
    };
    // Carries the particles' streaks from the latest picture's place to place.
    void followPlace(const PicturePlace& place);

    FrameComposer composer;
    PicturePlace latestPlace;
    FrameImage picture;
    ColourQuantity lastQuantity = ColourQuantity::None;
    WindowGrid windowCells;
    WindowGrid overview;                // the whole grid, thinned
    Array2D<double> overviewValues;     // the colour map's quantity there
    FrameImage windowPicture;  // the sub-grid's, one pixel per sub-cell
    FrameImage strip;          // the colour bar under the whole picture
    std::vector<Particle> movedParticles;
    std::vector<int> stripColumns;  // whole-picture column of each frame column on it
};

// The rows of the whole screen picture of an NX x NY grid at pixelsPerCell,
// the colour bar's strip included when a colour map is shown.
int screenContentHeight(int32_t NY, int pixelsPerCell, bool colourMap);
