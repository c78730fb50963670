#include "gui/shape_cells.h"

#include "core/cell_flags.h"

#include <algorithm>
#include <cstdlib>

namespace {

std::vector<CellIndex> lineCells(CellIndex a, CellIndex b)
{
    std::vector<CellIndex> cells;
    const int32_t dx = std::abs(b.i - a.i), sx = a.i < b.i ? 1 : -1;
    const int32_t dy = -std::abs(b.j - a.j), sy = a.j < b.j ? 1 : -1;
    int32_t error = dx + dy;
    CellIndex at = a;
    for (;;) {
        cells.push_back(at);
        if (at == b)
            break;
        const int32_t twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            at.i += sx;
        }
        if (twice <= dx) {
            error += dx;
            at.j += sy;
        }
    }
    return cells;
}

std::vector<CellIndex> boxCells(CellIndex a, CellIndex b, bool filled)
{
    const int32_t i0 = std::min(a.i, b.i), i1 = std::max(a.i, b.i);
    const int32_t j0 = std::min(a.j, b.j), j1 = std::max(a.j, b.j);
    std::vector<CellIndex> cells;
    for (int32_t j = j0; j <= j1; ++j)
        for (int32_t i = i0; i <= i1; ++i)
            if (filled || i == i0 || i == i1 || j == j0 || j == j1)
                cells.push_back({i, j});
    return cells;
}

// Centre and half-axes in cell units: the box [i0, i1 + 1) x [j0, j1 + 1).
std::vector<CellIndex> ellipseCells(CellIndex a, CellIndex b)
{
    const int32_t i0 = std::min(a.i, b.i), i1 = std::max(a.i, b.i);
    const int32_t j0 = std::min(a.j, b.j), j1 = std::max(a.j, b.j);
    const double cx = 0.5 * (i0 + i1 + 1), cy = 0.5 * (j0 + j1 + 1);
    const double rx = 0.5 * (i1 - i0 + 1), ry = 0.5 * (j1 - j0 + 1);
    std::vector<CellIndex> cells;
    for (int32_t j = j0; j <= j1; ++j)
        for (int32_t i = i0; i <= i1; ++i) {
            const double x = (i + 0.5 - cx) / rx, y = (j + 0.5 - cy) / ry;
            if (x * x + y * y <= 1.0)
                cells.push_back({i, j});
        }
    return cells;
}

int32_t signOf(int32_t value)
{
    return value < 0 ? -1 : 1;
}

}  // namespace

std::vector<CellIndex> shapeCells(ShapeKind kind, CellIndex a, CellIndex b)
{
    switch (kind) {
    case ShapeKind::Line:            return lineCells(a, b);
    case ShapeKind::Rectangle:       return boxCells(a, b, false);
    case ShapeKind::FilledRectangle: return boxCells(a, b, true);
    case ShapeKind::FilledEllipse:   return ellipseCells(a, b);
    default:                         return {};
    }
}

// Walks the segment between the centres: the next side it crosses is the
// vertical one while (ix + 1/2) / nx < (iy + 1/2) / ny, compared in
// integers.
std::vector<CellIndex> strokeCells(CellIndex a, CellIndex b)
{
    const int64_t nx = std::abs(static_cast<int64_t>(b.i) - a.i);
    const int64_t ny = std::abs(static_cast<int64_t>(b.j) - a.j);
    const int32_t sx = a.i < b.i ? 1 : -1, sy = a.j < b.j ? 1 : -1;
    std::vector<CellIndex> cells{a};
    CellIndex at = a;
    for (int64_t ix = 0, iy = 0; ix < nx || iy < ny;) {
        if ((1 + 2 * ix) * ny <= (1 + 2 * iy) * nx) {
            at.i += sx;
            ++ix;
        } else {
            at.j += sy;
            ++iy;
        }
        cells.push_back(at);
    }
    return cells;
}

// A line snaps to the nearest of horizontal, vertical and diagonal (the
// diagonal when the shorter leg is at least tan 22.5° ≈ 0.414 of the longer).
CellIndex constrainCorner(ShapeKind kind, CellIndex a, CellIndex b)
{
    const int32_t dx = b.i - a.i, dy = b.j - a.j;
    const int32_t adx = std::abs(dx), ady = std::abs(dy);
    const int32_t side = std::max(adx, ady);
    if (kind == ShapeKind::Line) {
        const int32_t shorter = std::min(adx, ady);
        if (shorter * 1000 < side * 414)
            return adx >= ady ? CellIndex{b.i, a.j} : CellIndex{a.i, b.j};
        return {a.i + signOf(dx) * side, a.j + signOf(dy) * side};
    }
    if (kind == ShapeKind::Rectangle || kind == ShapeKind::FilledRectangle ||
        kind == ShapeKind::FilledEllipse)
        return {a.i + signOf(dx) * side, a.j + signOf(dy) * side};
    return b;
}

std::vector<CellIndex> clipToGrid(const std::vector<CellIndex>& cells, int32_t NX, int32_t NY)
{
    std::vector<CellIndex> inside;
    for (const CellIndex& cell : cells)
        if (cell.i >= 0 && cell.j >= 0 && cell.i < NX && cell.j < NY)
            inside.push_back(cell);
    return inside;
}

// An explicit stack, since a 1024 x 512 region would overflow a recursion.
std::vector<CellIndex> floodFillCells(const Grid& grid, int32_t i, int32_t j)
{
    std::vector<CellIndex> region;
    if (i < 0 || j < 0 || i >= grid.NX || j >= grid.NY)
        return region;
    const int32_t type = grid.flags[i][j] & CELL_TYPE_MASK;
    std::vector<char> seen(static_cast<size_t>(grid.NX) * grid.NY, 0);
    std::vector<CellIndex> stack{{i, j}};
    seen[static_cast<size_t>(i) * grid.NY + j] = 1;
    while (!stack.empty()) {
        const CellIndex at = stack.back();
        stack.pop_back();
        region.push_back(at);
        const CellIndex next[] = {{at.i + 1, at.j}, {at.i - 1, at.j}, {at.i, at.j + 1}, {at.i, at.j - 1}};
        for (const CellIndex& n : next) {
            if (n.i < 0 || n.j < 0 || n.i >= grid.NX || n.j >= grid.NY)
                continue;
            char& mark = seen[static_cast<size_t>(n.i) * grid.NY + n.j];
            if (!mark && (grid.flags[n.i][n.j] & CELL_TYPE_MASK) == type) {
                mark = 1;
                stack.push_back(n);
            }
        }
    }
    return region;
}
