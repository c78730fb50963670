// A picture as a set-up: each cell of a grid takes the colour of the picture
// at the cell's centre, and that colour names the cell's type. The picture
// comes in as plain RGB bytes, so any reader of image files can feed it.
#pragma once

#include "core/grid.h"

#include <cstdint>
#include <vector>

// Pixels in rows, the top row first, three bytes (red, green, blue) each.
struct RgbPixels {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint8_t> rgb;
};

// How far, per channel out of 255, a colour may lie from a cell type's
// canvas colour and still be taken for it (lossy files shift colours a bit).
constexpr int cellColourTolerance = 12;

// The flag word a colour stands for: a cell type's canvas colour gives that
// type (the first row of the table when two types share a colour; inflow
// pointing east); any other colour gives a no-slip wall when its brightness
// (Rec. 601 weights) is below half and fluid otherwise.
int32_t cellWordOfColour(uint8_t r, uint8_t g, uint8_t b);

// The picture's pixel at the centre of cell (i, j) of an NX x NY grid, as a
// flag word; the picture's top row is the grid's top row (j = NY - 1).
int32_t imageCellWord(const RgbPixels& image, int32_t NX, int32_t NY, int32_t i, int32_t j);

// The whole grid from the picture: an all-fluid NX x NY grid with every
// cell painted through Grid::setCell (so the border rules hold), inflow
// cells moving east at unit speed. A dark body drawn anti-aliased (its
// edge pixels grey in proportion to the share of them it covers) also
// becomes an exact outline, traced along its half-covered contour
// (core/coverage_outline.h); the wall cells sampled from its edge are
// taken back and its cells are those the outline covers wholly, as for any
// outline (markCoveredCells). A picture of hard edges gives no outline and
// the cells alone.
void gridFromImage(Grid& grid, const RgbPixels& image, int32_t NX, int32_t NY);

// The share of a pixel a dark body covers: its darkness 1 - brightness /
// 255, but 0 for the canvas colours of fluid, inflow and outflow. The
// walls' own colours are greys (0.68 and 0.48 dark) and count as greys:
// a picture of the editor's colours has no wholly covered pixel and so no
// outline.
float coverageOfColour(uint8_t r, uint8_t g, uint8_t b);

// The outlines of the anti-aliased bodies of the picture, in the domain
// units of an NX x NY grid of cell size dx x dy that the picture spans.
std::vector<BodyOutline> imageOutlines(const RgbPixels& image, int32_t NX, int32_t NY, double dx, double dy);

// The number of cells up that keeps the picture's aspect for a given number
// across, at least 1 and at most maxCells.
int32_t cellsUpForAspect(int32_t across, int32_t width, int32_t height, int32_t maxCells);
