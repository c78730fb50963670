// DrawSurface: a width x height memory picture of 8-bit red, green and blue,
// rows top-down, on which the title frames are drawn.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// An 8-bit colour.
struct SurfaceColour {
    uint8_t red;
    uint8_t green;
    uint8_t blue;
};

class DrawSurface {
public:
    // A black surface; sizes below 1 give an empty one.
    DrawSurface(int32_t width, int32_t height);

    int32_t width() const { return surfaceWidth; }
    int32_t height() const { return surfaceHeight; }

    // Sets every pixel to black.
    void fillBlack();
    // Sets one pixel; a place outside the surface is ignored.
    void setPixel(int32_t x, int32_t y, SurfaceColour colour);
    // The pixel at (x, y), which must lie inside.
    SurfaceColour pixel(int32_t x, int32_t y) const;
    // Draws the first count characters of text with the top-left corner of
    // their cells at (left, top): the cells' background black, the glyphs in
    // the colour, everything clipped to the surface.
    void drawText(int32_t left, int32_t top, const char* text, int32_t count, SurfaceColour colour);
    // The red, green, blue bytes of row y (0 = top).
    const uint8_t* row(int32_t y) const { return pixels.data() + rowOffset(y); }

private:
    size_t rowOffset(int32_t y) const { return static_cast<size_t>(y) * surfaceWidth * 3; }
    // Fills the rectangle [x0, x1) x [y0, y1), clipped, with black.
    void clearRect(int32_t x0, int32_t y0, int32_t x1, int32_t y1);
    // Lightens the pixel towards colour by coverage (0..255), never darkens.
    void blendPixel(int32_t x, int32_t y, SurfaceColour colour, uint8_t coverage);

    int32_t surfaceWidth;
    int32_t surfaceHeight;
    std::vector<uint8_t> pixels;
};
