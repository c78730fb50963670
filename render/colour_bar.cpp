#include "render/colour_bar.h"

#include "platform/draw_surface.h"
#include "platform/text_font.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

constexpr SurfaceColour labelColour{255, 255, 255};

// Column of a range position t (0..1) on a bar from first to last.
int barColumn(double t, int first, int last)
{
    return first + static_cast<int>(std::lround(t * (last - first)));
}

// The ticks of one step: its multiples inside the range.
std::vector<double> multiplesWithin(const ColourRange& range, double step)
{
    std::vector<double> ticks;
    const double first = std::ceil(range.low / step - 1e-9);
    for (double n = first; n * step <= range.high + step * 1e-9 && ticks.size() < 16; n += 1.0)
        ticks.push_back(std::fabs(n) < 1e-9 ? 0.0 : n * step);
    return ticks;
}

void copyStrip(FrameImage& image, int top, const DrawSurface& surface)
{
    const FramePlanes planes = image.planes();
    for (int y = 0; y < surface.height() && top + y < planes.height; ++y) {
        const uint8_t* bytes = surface.row(y);
        for (int x = 0; x < surface.width(); ++x) {
            planes.red[top + y][x] = bytes[3 * x];
            planes.green[top + y][x] = bytes[3 * x + 1];
            planes.blue[top + y][x] = bytes[3 * x + 2];
        }
    }
}

}  // namespace

std::vector<double> colourBarTicks(const ColourRange& range, int maxTicks)
{
    maxTicks = std::clamp(maxTicks, 3, 5);
    const double width = range.high - range.low;
    if (std::isfinite(width) && width > 0.0) {
        const double decade = std::pow(10.0, std::floor(std::log10(width)) - 1);
        for (double power = decade; power <= decade * 100; power *= 10)
            for (double factor : {1.0, 2.0, 2.5, 5.0}) {
                const std::vector<double> ticks = multiplesWithin(range, factor * power);
                if (ticks.size() >= 3 && static_cast<int>(ticks.size()) <= maxTicks)
                    return ticks;
            }
    }
    return {range.low, 0.5 * (range.low + range.high), range.high};
}

std::string tickLabel(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.3g", value);
    return text;
}

void drawColourBar(FrameImage& image, int top, ColourQuantity quantity, const ColourRange& range)
{
    using namespace colour_bar;
    const int W = image.width();
    DrawSurface surface(W, stripHeight);
    const int first = std::min(sideGap, W - 1);
    const int last = std::max(W - 1 - sideGap, first);
    for (int x = first; x <= last; ++x) {
        const double t = last > first ? static_cast<double>(x - first) / (last - first) : 0.5;
        const double value = range.low + (range.high - range.low) * t;
        const MapColour colour = quantityColour(quantity, tablePosition(quantity, range, value));
        for (int y = topGap; y < topGap + barHeight; ++y)
            surface.setPixel(x, y, SurfaceColour{colour.red, colour.green, colour.blue});
    }
    const TextFont* font = TextFont::instance();
    const int cell = font ? font->cellWidth() : labelCharacters;
    for (double value : colourBarTicks(range, W / std::max(1, labelCharacters * cell))) {
        const int x = barColumn(rangePosition(range, value), first, last);
        for (int y = topGap + barHeight; y < topGap + barHeight + tickHeight; ++y)
            surface.setPixel(x, y, labelColour);
        if (!font)
            continue;
        const std::string label = tickLabel(value);
        const int textWidth = static_cast<int>(label.size()) * cell;
        const int left = std::clamp(x - textWidth / 2, 0, std::max(0, W - textWidth));
        surface.drawText(left, textTop, label.c_str(), static_cast<int32_t>(label.size()), labelColour);
    }
    copyStrip(image, top, surface);
}

int savedColourBarWidth()
{
    using namespace colour_bar;
    const TextFont* font = TextFont::instance();
    const int cell = font ? font->cellWidth() : labelCharacters;
    return savedTicks * labelCharacters * cell + 2 * sideGap;
}

void pictureWithColourBar(const FrameImage& picture, ColourQuantity quantity, const ColourRange& range,
                          FrameImage& framed)
{
    const int W = picture.width();
    const int H = picture.height();
    const int width = std::max(W, savedColourBarWidth());
    framed.allocate(width, H + colour_bar::stripHeight);
    const int left = (width - W) / 2;
    const FramePlanes to = framed.planes();
    for (int row = 0; row < H; ++row) {
        std::copy_n(picture.redRow(row), W, to.red[row] + left);
        std::copy_n(picture.greenRow(row), W, to.green[row] + left);
        std::copy_n(picture.blueRow(row), W, to.blue[row] + left);
    }
    drawColourBar(framed, H, quantity, range);
}
