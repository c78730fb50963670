// The cells a drawn shape covers, and the cells a fill reaches: plain
// geometry on cell indices, so the editor's shape tools can be tested
// without a window.
#pragma once

#include "core/grid.h"

#include <cstdint>
#include <vector>

struct CellIndex {
    int32_t i, j;
    bool operator==(const CellIndex& other) const { return i == other.i && j == other.j; }
};

// Polygon and Airfoil draw bodies with exact outlines (the editor window
// places them); they cover no cells here.
enum class ShapeKind { Cells, Line, Rectangle, FilledRectangle, FilledEllipse, Fill, Polygon, Airfoil };

// The cells of a shape dragged from corner a to corner b (both included),
// each cell once. Line: the cells a straight line between the two cells'
// centres passes nearest to (Bresenham). Rectangle: the border of the box.
// FilledEllipse: the cells whose centre lies inside the ellipse inscribed
// in the box. Cells and Fill are not shapes and give nothing.
std::vector<CellIndex> shapeCells(ShapeKind kind, CellIndex a, CellIndex b);

// The cells a painting stroke crosses from cell a to cell b, in order, a
// and b included: every cell that the straight path between the two cells'
// centres passes through, each sharing a side with the one before, so that
// a wall painted with a quick stroke has no diagonal gap for the flow.
// Where the path runs exactly through a corner, the cell across the
// vertical side comes first.
std::vector<CellIndex> strokeCells(CellIndex a, CellIndex b);

// Shift held while dragging: the far corner moved so that the box is a
// square (rectangles, ellipses) or the line runs at a multiple of 45°.
CellIndex constrainCorner(ShapeKind kind, CellIndex a, CellIndex b);

// The shape's cells that lie on an NX x NY grid.
std::vector<CellIndex> clipToGrid(const std::vector<CellIndex>& cells, int32_t NX, int32_t NY);

// The 4-connected region of cells with the same type as (i, j), the start
// first; empty when the start is off the grid.
std::vector<CellIndex> floodFillCells(const Grid& grid, int32_t i, int32_t j);
