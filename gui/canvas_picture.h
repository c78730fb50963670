// The simulation window's picture where a canvas view puts it: only the
// part on the canvas is sent to GL, at most one picture pixel per screen
// pixel (nearest pixel when the picture is the larger), each shown as a
// square of the view's scale. The picture itself is not touched.
#pragma once

#include "gui/canvas_view.h"
#include "render/frame_image.h"
#include "render/screen_frame.h"

#include <vector>

// The picture's pixels on the canvas: columns [column, column + columns)
// and rows [row, row + rows), their top-left corner at canvas point (x, y),
// one picture pixel scale screen pixels across. Empty when none shows.
struct VisiblePart {
    int column = 0;
    int row = 0;
    int columns = 0;
    int rows = 0;
    double x = 0.0;
    double y = 0.0;
};
VisiblePart visiblePart(const CanvasView& view, int pictureWidth, int pictureHeight);
// The same for a picture placed by its own corner and scale.
VisiblePart visiblePart(const CanvasPlace& place, int pictureWidth, int pictureHeight);

// Where a picture composed for the screen lies on the canvas: the view's
// place of the whole picture, or of the part the frame holds.
CanvasPlace framePlace(const ScreenFrame& frame, const CanvasView& view);

class CanvasPicture {
public:
    // Viewport over the whole canvas, cleared to black, then the picture's
    // visible part into the current GL context.
    void draw(const FrameImage& picture, const CanvasView& view);
    // The same from a picture composed for the screen, which may hold a
    // part of the whole picture only.
    void draw(const ScreenFrame& picture, const CanvasView& view);

private:
    // pixelAt(column, row, out) writes the three bytes of one pixel.
    template <class PixelAt>
    void drawPart(int pictureWidth, int pictureHeight, const CanvasPlace& place, PixelAt pixelAt);

    std::vector<unsigned char> rgb;  // the part sent, kept between frames
};
