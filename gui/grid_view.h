// Where the edited grid lies on the editor's canvas, both ways: from a cell to
// its rectangle in normalised device coordinates (for drawing) and from a
// pointer position in pixels back to the cell drawn under it (for painting).
// No toolkit, no GL: the two directions share one set of numbers.
#pragma once

#include "gui/canvas_view.h"

#include <cstdint>

// The grid's rectangle in normalised device coordinates.
struct GridView {
    float left = -0.95f;
    float right = 0.95f;
    float bottom = -0.95f;
    float top = 0.95f;
};

// A cell's rectangle on the canvas, in normalised device coordinates.
struct CellRect {
    float x0, y0;  // south-west corner
    float x1, y1;  // north-east corner
};

// The grid's rectangle where a canvas view of its cells (one content unit
// a cell, row 0 of the content the grid's top row) puts it.
GridView gridViewOf(const CanvasView& view);

// Cell width and height of an NX x NY grid, as the drawing stores them.
//   cw = (right - left) / NX,  ch = (top - bottom) / NY   (single precision)
float cellWidth(const GridView& view, int32_t NX);
float cellHeight(const GridView& view, int32_t NY);

// Rectangle of cell (i, j): x0 = left + i * cw, x1 = left + (i + 1) * cw,
// y0 = bottom + j * ch, y1 = bottom + (j + 1) * ch.
CellRect cellRect(const GridView& view, int32_t NX, int32_t NY, int32_t i, int32_t j);

// A point of cell (i, j) given in cell-relative coordinates (a, b).
void cellPoint(const GridView& view, int32_t NX, int32_t NY, int32_t i, int32_t j,
               double a, double b, float& x, float& y);

struct PickedCell {
    bool onGrid;  // false in the strip around the drawn grid
    int32_t i;
    int32_t j;
};

// The cell drawn under the pixel (px, py) of a W x H canvas (y downward).
// The pixel is taken at its centre, where the rasteriser decides what covers
// it; the point goes through the inverse of the drawing's mapping:
//   ndcX = 2 * (px + 0.5) / W - 1,   ndcY = 1 - 2 * (py + 0.5) / H
//   i = floor((ndcX - left) / cw),   j = floor((ndcY - bottom) / ch)
// A pixel whose centre lies just outside the grid but which the grid's edge
// passes through picks the edge cell it touches: cells smaller than a pixel
// would otherwise leave the border ring out of reach.
PickedCell pickCell(const GridView& view, int32_t NX, int32_t NY,
                    int px, int py, int W, int H);

// The same, with i and j also off the grid: the cell the pixel would lie in
// if the grid went on past its edges (for strokes that leave the grid).
PickedCell pointerCell(const GridView& view, int32_t NX, int32_t NY,
                       int px, int py, int W, int H);
