#include "platform/draw_surface.h"

#include <algorithm>

#include "platform/text_font.h"

namespace {
constexpr int32_t channels = 3;
constexpr int32_t fullCoverage = 255;

// c * coverage / 255, rounded to the nearest.
uint8_t scaleChannel(uint8_t channel, uint8_t coverage)
{
    return static_cast<uint8_t>((channel * coverage + fullCoverage / 2) / fullCoverage);
}
}  // namespace

// Zero bytes are black.
DrawSurface::DrawSurface(int32_t width, int32_t height)
    : surfaceWidth(std::max(width, 0)), surfaceHeight(std::max(height, 0)),
      pixels(static_cast<size_t>(surfaceWidth) * surfaceHeight * channels, 0)
{
}

// Every byte to 0.
void DrawSurface::fillBlack()
{
    std::fill(pixels.begin(), pixels.end(), 0);
}

// One pixel, ignored outside.
void DrawSurface::setPixel(int32_t x, int32_t y, SurfaceColour colour)
{
    if (x < 0 || y < 0 || x >= surfaceWidth || y >= surfaceHeight)
        return;
    uint8_t* target = pixels.data() + rowOffset(y) + static_cast<size_t>(x) * channels;
    target[0] = colour.red;
    target[1] = colour.green;
    target[2] = colour.blue;
}

// The colour at (x, y).
SurfaceColour DrawSurface::pixel(int32_t x, int32_t y) const
{
    const uint8_t* source = row(y) + static_cast<size_t>(x) * channels;
    return SurfaceColour{source[0], source[1], source[2]};
}

// Black over [x0, x1) x [y0, y1) after clipping to the surface.
void DrawSurface::clearRect(int32_t x0, int32_t y0, int32_t x1, int32_t y1)
{
    x0 = std::max(x0, 0);
    y0 = std::max(y0, 0);
    x1 = std::min(x1, surfaceWidth);
    y1 = std::min(y1, surfaceHeight);
    for (int32_t y = y0; y < y1; ++y) {
        uint8_t* target = pixels.data() + rowOffset(y);
        std::fill(target + static_cast<size_t>(x0) * channels,
                  target + static_cast<size_t>(std::max(x0, x1)) * channels, 0);
    }
}

// Overlapping glyph edges keep the brighter value, so the drawing order of
// neighbouring characters does not matter.
void DrawSurface::blendPixel(int32_t x, int32_t y, SurfaceColour colour, uint8_t coverage)
{
    if (coverage == 0 || x < 0 || y < 0 || x >= surfaceWidth || y >= surfaceHeight)
        return;
    uint8_t* target = pixels.data() + rowOffset(y) + static_cast<size_t>(x) * channels;
    target[0] = std::max(target[0], scaleChannel(colour.red, coverage));
    target[1] = std::max(target[1], scaleChannel(colour.green, coverage));
    target[2] = std::max(target[2], scaleChannel(colour.blue, coverage));
}

// Cell i spans columns left + i * cellWidth .. + cellWidth - 1 and rows
// top .. top + lineHeight - 1; its background is cleared before any glyph.
void DrawSurface::drawText(int32_t left, int32_t top, const char* text, int32_t count,
                           SurfaceColour colour)
{
    const TextFont* font = TextFont::instance();
    if (!font || !text || count <= 0)
        return;
    const int64_t cell = font->cellWidth();
    const int64_t bottom = static_cast<int64_t>(top) + font->lineHeight();
    if (top >= surfaceHeight || bottom <= 0 || left >= surfaceWidth)
        return;
    const int64_t right = std::min<int64_t>(left + cell * count, surfaceWidth);
    clearRect(left, top, static_cast<int32_t>(right), static_cast<int32_t>(bottom));
    for (int32_t i = 0; i < count; ++i) {
        const int64_t cellLeft = left + cell * i;
        if (cellLeft >= surfaceWidth)
            break;
        if (cellLeft < -2 * cell)  // wholly left of the surface, overhang included
            continue;
        const GlyphImage& glyph = font->glyph(static_cast<unsigned char>(text[i]));
        for (int32_t gy = 0; gy < glyph.height; ++gy)
            for (int32_t gx = 0; gx < glyph.width; ++gx)
                blendPixel(static_cast<int32_t>(cellLeft + glyph.left + gx), top + glyph.top + gy, colour,
                           glyph.coverage[static_cast<size_t>(gy) * glyph.width + gx]);
    }
}
