#include "core/image_cells.h"

#include "core/cell_types.h"
#include "core/coverage_outline.h"
#include "core/immersed_boundary.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

int channelOf(float level)
{
    return static_cast<int>(std::lround(level * 255.0f));
}

// Corners of a traced outline closer than this (in pixels) to the line
// through their neighbours are left out: well below the half-covered
// contour's own error on an 8-bit picture.
constexpr double outlineTolerancePixels = 0.02;
// Wall cells whose centres lie this close (in cells) to a traced outline
// were sampled from its edge: they are taken again from the outline.
constexpr double resampledCells = 0.75;

double brightnessOf(int r, int g, int b)
{
    return 0.299 * r + 0.587 * g + 0.114 * b;
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
    return brightnessOf(r, g, b) < 127.5 ? CELL_NOSLIP_WALL : CELL_FLUID;
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
    grid.outlines = imageOutlines(image, NX, NY, grid.dx, grid.dy);
    if (grid.outlines.empty())
        return;
    const double reach = resampledCells * std::min(grid.dx, grid.dy);
    for (int32_t i = 1; i < NX - 1; ++i)
        for (int32_t j = 1; j < NY - 1; ++j)
            if (isWall(grid.flags[i][j])
                && signedDistance(grid.outlines, (i + 0.5) * grid.dx, (j + 0.5) * grid.dy) < reach)
                grid.flags[i][j] = CELL_FLUID;
    markCoveredCells(grid);
}

float coverageOfColour(uint8_t r, uint8_t g, uint8_t b)
{
    for (const CellTypeInfo& type : cellTypes())
        if (nearColour(type.canvasColour, r, g, b) && !isWall(type.bits))
            return 0.0f;
    return static_cast<float>(1.0 - brightnessOf(r, g, b) / 255.0);
}

std::vector<BodyOutline> imageOutlines(const RgbPixels& image, int32_t NX, int32_t NY, double dx, double dy)
{
    CoverageField field;
    field.width = image.width;
    field.height = image.height;
    field.share.resize(static_cast<size_t>(image.width) * image.height);
    for (size_t k = 0; k < field.share.size(); ++k)
        field.share[k] = coverageOfColour(image.rgb[3 * k], image.rgb[3 * k + 1], image.rgb[3 * k + 2]);
    const double perPixelX = NX * dx / image.width, perPixelY = NY * dy / image.height;
    std::vector<BodyOutline> outlines;
    for (const CoverageContour& body : antiAliasedBodies(traceCoverage(field), outlineTolerancePixels)) {
        std::vector<OutlinePoint> corners;
        corners.reserve(body.corners.size());
        for (const OutlinePoint& c : body.corners)
            corners.push_back({c.x * perPixelX, (image.height - c.y) * perPixelY});
        if (signedArea(corners) < 0.0)
            std::reverse(corners.begin(), corners.end());
        outlines.push_back(BodyOutline::polygon(std::move(corners)));
    }
    return outlines;
}

int32_t cellsUpForAspect(int32_t across, int32_t width, int32_t height, int32_t maxCells)
{
    if (width <= 0 || height <= 0)
        return std::clamp(across, 1, maxCells);
    const long up = std::lround(static_cast<double>(across) * height / width);
    return static_cast<int32_t>(std::clamp<long>(up, 1, maxCells));
}
