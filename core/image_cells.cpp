#include "core/image_cells.h"

#include "core/cell_types.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

int channelOf(float level)
{
    return static_cast<int>(std::lround(level * 255.0f));
}

bool nearColour(const CellCanvasColour& colour, int r, int g, int b)
{
    return std::abs(channelOf(colour.r) - r) <= cellColourTolerance &&
           std::abs(channelOf(colour.g) - g) <= cellColourTolerance &&
           std::abs(channelOf(colour.b) - b) <= cellColourTolerance;
}

}  // namespace

int32_t cellWordOfColour(uint8_t r, uint8_t g, uint8_t b)
{
    for (const CellTypeInfo& type : cellTypes())
        if (nearColour(type.canvasColour, r, g, b))
            return type.direction == CellDirection::Chosen ? (type.bits | DIR_EAST) : type.bits;
    const double brightness = 0.299 * r + 0.587 * g + 0.114 * b;
    return brightness < 127.5 ? CELL_NOSLIP_WALL : CELL_FLUID;
}

int32_t imageCellWord(const RgbPixels& image, int32_t NX, int32_t NY, int32_t i, int32_t j)
{
    const double x = (i + 0.5) * image.width / NX;
    const double yFromTop = (NY - 1 - j + 0.5) * image.height / NY;
    const int32_t px = std::clamp(static_cast<int32_t>(x), 0, image.width - 1);
    const int32_t py = std::clamp(static_cast<int32_t>(yFromTop), 0, image.height - 1);
    const uint8_t* pixel = &image.rgb[3 * (static_cast<size_t>(py) * image.width + px)];
    return cellWordOfColour(pixel[0], pixel[1], pixel[2]);
}

void gridFromImage(Grid& grid, const RgbPixels& image, int32_t NX, int32_t NY)
{
    makeFluidGrid(grid, NX, NY);
    for (int32_t i = 0; i < NX; ++i)
        for (int32_t j = 0; j < NY; ++j) {
            const int32_t word = imageCellWord(image, NX, NY, i, j);
            if (word == CELL_FLUID)
                continue;
            grid.setCell(i, j, word);
            if (isInflow(grid.flags[i][j]))
                grid.u[i][j] = 1.0;
        }
}

int32_t cellsUpForAspect(int32_t across, int32_t width, int32_t height, int32_t maxCells)
{
    if (width <= 0 || height <= 0)
        return std::clamp(across, 1, maxCells);
    const long up = std::lround(static_cast<double>(across) * height / width);
    return static_cast<int32_t>(std::clamp<long>(up, 1, maxCells));
}
