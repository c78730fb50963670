// FramePresenter: shows the FrameImage on an OpenGL canvas, every pixel as
// one 5-pixel point, stretched over the whole viewport. No toolkit here:
// the caller makes the canvas's context current and swaps the buffers.
#pragma once

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

// Viewport (0, 0, width, height), clear to black (colour and depth), then
// the picture's points. Draws nothing when either size is 0 or below.
void paintFrameImage(int width, int height, PointSubmission submission);

// The picture's points into the current context: x = 0..W-1 outer, y =
// 0..H-1 inner, each with colour pixel * (1/255) at
// ((x / W - 0.5) * 2, (y / H - 0.5) * (-2)).
void drawFramePointsLiteral();
// The same points, colours and order from vertex arrays; leaves the client
// arrays disabled again.
void drawFramePointsBatched();
