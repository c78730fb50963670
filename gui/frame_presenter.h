// FramePresenter: shows a FrameImage on an OpenGL canvas, every pixel as
// one 5-pixel point, stretched over the whole viewport. A picture with more
// pixels than the viewport one way is first brought down to the viewport's
// size that way, nearest pixel, so that a 4096-pixel picture costs what a
// canvas-sized one does; the picture itself is not touched. No toolkit here:
// the caller makes the canvas's context current and swaps the buffers.
#pragma once

#include "render/frame_image.h"
#include "render/screen_frame.h"

#include <vector>

namespace present_constants {
// Side of the square point that shows one picture pixel, in screen pixels.
constexpr float pointSize = 5.0f;
// Picture value (0..255) to GL colour (0..1): the double nearest 1/255.
constexpr double colourScale = 0.00392156862745098;
// Clear colour of the canvas: opaque black.
constexpr float clearRed = 0.0f;
constexpr float clearGreen = 0.0f;
constexpr float clearBlue = 0.0f;
constexpr float clearAlpha = 1.0f;
}  // namespace present_constants

// How the points reach GL.
enum class PointSubmission {
    Literal,  // glColor3f, glPointSize, glBegin, one glVertex2f, glEnd per pixel
    Batched,  // the same points from vertex arrays in one glDrawArrays
};

class FramePresenter {
public:
    // Viewport (0, 0, width, height), clear to black (colour and depth),
    // then the points of the picture fitted to the viewport. Draws nothing
    // when either size is 0 or below.
    void paint(const FrameImage& picture, int width, int height, PointSubmission submission);

    // Viewport (0, 0, width, height), cleared to black, then the screen
    // frame as one texture over the whole viewport, each texel one pixel of
    // the frame (nearest, no blending): a canvas-sized frame costs one
    // upload, not a point per pixel.
    void paintTexture(const ScreenFrame& frame, int width, int height);

    // The picture's points into the current context: x = 0..W-1 outer,
    // y = 0..H-1 inner, each with colour pixel * (1/255) at
    // ((x / W - 0.5) * 2, (y / H - 0.5) * (-2)).
    static void drawPointsLiteral(const FrameImage& picture);
    // The same points, colours and order from vertex arrays; leaves the
    // client arrays disabled again.
    void drawPointsBatched(const FrameImage& picture);

    // The picture itself while it fits width x height; else a copy at most
    // that large, column x taken from picture column x * W / w, row y from
    // row y * H / h (w, h the copy's size).
    const FrameImage& fitted(const FrameImage& picture, int width, int height);

private:
    // The vertices of a W x H picture in drawing order, kept for the next
    // frame of the same size.
    const std::vector<float>& pointPositions(int W, int H);

    FrameImage reduced;  // the last fitted copy
    unsigned int texture = 0;  // the screen frame's texture name, once made
    std::vector<float> positions;
    int positionsWidth = -1;
    int positionsHeight = -1;
};
