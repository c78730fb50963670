#include "gui/grid_drawing.h"

#include "core/cell_types.h"

#include <fx.h>
#include <fx3d.h>
#include <GL/gl.h>

#include <cmath>

namespace {

// One arrow: shaft, barb 1, barb 2, each from its first point to its second,
// in cell-relative coordinates (a, b).
struct ArrowShape {
    double points[6][2];
};

// The North arrow's barbs end half a cell behind its tip, at b = 0.4; the
// other three have barbs 0.3 of a cell long.
const ArrowShape arrowShapes[4] = {
    {{{0.1, 0.5}, {0.9, 0.5}, {0.9, 0.5}, {0.6, 0.9}, {0.9, 0.5}, {0.6, 0.1}}},  // East
    {{{0.9, 0.5}, {0.1, 0.5}, {0.1, 0.5}, {0.4, 0.9}, {0.1, 0.5}, {0.4, 0.1}}},  // West
    {{{0.5, 0.9}, {0.5, 0.1}, {0.5, 0.9}, {0.9, 0.4}, {0.5, 0.9}, {0.1, 0.4}}},  // North
    {{{0.5, 0.1}, {0.5, 0.9}, {0.5, 0.1}, {0.9, 0.4}, {0.5, 0.1}, {0.1, 0.4}}},  // South
};

// Arrows of a moving wall, from its own velocity: East for u > 0, West for
// u < 0, North for v > 0, South for v < 0, in that order.
void drawVelocityArrows(const Grid& grid, const GridView& view, int32_t i, int32_t j)
{
    const double u = grid.u[i][j];
    const double v = grid.v[i][j];
    if (u > 0) drawCellArrow(view, grid.NX, grid.NY, i, j, Arrow::East);
    if (u < 0) drawCellArrow(view, grid.NX, grid.NY, i, j, Arrow::West);
    if (v > 0) drawCellArrow(view, grid.NX, grid.NY, i, j, Arrow::North);
    if (v < 0) drawCellArrow(view, grid.NX, grid.NY, i, j, Arrow::South);
}

// Arrows of an inflow or outflow cell, from its direction bits.
void drawDirectionArrows(const Grid& grid, const GridView& view, int32_t i, int32_t j)
{
    const int32_t word = grid.flags[i][j];
    if (word & DIR_EAST) drawCellArrow(view, grid.NX, grid.NY, i, j, Arrow::East);
    if (word & DIR_WEST) drawCellArrow(view, grid.NX, grid.NY, i, j, Arrow::West);
    if (word & DIR_NORTH) drawCellArrow(view, grid.NX, grid.NY, i, j, Arrow::North);
    if (word & DIR_SOUTH) drawCellArrow(view, grid.NX, grid.NY, i, j, Arrow::South);
}

// The arrows of one cell: direction arrows for a type with a direction,
// velocity arrows for one that takes a velocity.
void drawArrows(const Grid& grid, const GridView& view, int32_t i, int32_t j)
{
    const CellTypeInfo* type = cellTypeOfWord(grid.flags[i][j]);
    if (!type)
        return;
    if (type->direction != CellDirection::None)
        drawDirectionArrows(grid, view, i, j);
    else if (type->takesVelocity)
        drawVelocityArrows(grid, view, i, j);
}

// Grid lines over the cells, in one GL_LINES primitive:
//   x = left, left + cw, ... while x <= right   (x accumulated in double)
//   y = bottom, bottom + ch, ... while y <= top
void drawGridLines(const GridView& view, int32_t NX, int32_t NY)
{
    const float cw = cellWidth(view, NX);
    const float ch = cellHeight(view, NY);
    setColour(GridColours::gridLine);
    glLineWidth(GridStrokes::gridLineWidth);
    glBegin(GL_LINES);
    for (double x = view.left; x <= view.right; x += cw) {
        glVertex2f(static_cast<float>(x), view.bottom);
        glVertex2f(static_cast<float>(x), view.top);
    }
    for (double y = view.bottom; y <= view.top; y += ch) {
        glVertex2f(view.left, static_cast<float>(y));
        glVertex2f(view.right, static_cast<float>(y));
    }
    glEnd();
}

// Two triangles of a cell's rectangle, inside a GL_TRIANGLES primitive:
// (x0, y1), (x0, y0), (x1, y1) and (x0, y0), (x1, y0), (x1, y1).
void cellTriangles(const CellRect& r)
{
    glVertex2f(r.x0, r.y1);
    glVertex2f(r.x0, r.y0);
    glVertex2f(r.x1, r.y1);
    glVertex2f(r.x0, r.y0);
    glVertex2f(r.x1, r.y0);
    glVertex2f(r.x1, r.y1);
}

}  // namespace

// Sets the current colour.
void setColour(const GlColour& colour)
{
    glColor3f(colour.r, colour.g, colour.b);
}

// Left, top, bottom and right edge, each pushed outward by e.
void drawCellOutline(const GridView& view, int32_t NX, int32_t NY, int32_t i, int32_t j)
{
    const CellRect r = cellRect(view, NX, NY, i, j);
    const float e = GridStrokes::outlinePush;
    glLineWidth(GridStrokes::outlineWidth);
    glBegin(GL_LINES);
    glVertex2f(r.x0 - e, r.y1 + e);
    glVertex2f(r.x0 - e, r.y0 - e);
    glVertex2f(r.x0 - e, r.y1 + e);
    glVertex2f(r.x1 + e, r.y1 + e);
    glVertex2f(r.x0 - e, r.y0 - e);
    glVertex2f(r.x1 + e, r.y0 - e);
    glVertex2f(r.x1 + e, r.y1 + e);
    glVertex2f(r.x1 + e, r.y0 - e);
    glEnd();
    glLineWidth(GridStrokes::defaultWidth);
}

// One arrow as six GL_LINES vertices; it keeps the line width in effect.
void drawCellArrow(const GridView& view, int32_t NX, int32_t NY, int32_t i, int32_t j,
                   Arrow arrow)
{
    const ArrowShape& shape = arrowShapes[static_cast<int>(arrow)];
    glBegin(GL_LINES);
    for (const auto& point : shape.points) {
        float x, y;
        cellPoint(view, NX, NY, i, j, point[0], point[1], x, y);
        glVertex2f(x, y);
    }
    glEnd();
}

// A cell's width and height in pixels: its NDC size times half the viewport.
bool cellsShowDetail(const GridView& view, int32_t NX, int32_t NY)
{
    GLint viewport[4] = {0, 0, 0, 0};
    glGetIntegerv(GL_VIEWPORT, viewport);
    const float across = cellWidth(view, NX) * 0.5f * static_cast<float>(viewport[2]);
    const float up = cellHeight(view, NY) * 0.5f * static_cast<float>(viewport[3]);
    return across >= GridStrokes::minDetailPixels && up >= GridStrokes::minDetailPixels;
}

std::vector<OutlinePoint> outlineLinePoints(const BodyOutline& o)
{
    if (o.shape != BodyOutline::Shape::Circle)
        return o.corners;
    constexpr int sides = 96;
    std::vector<OutlinePoint> points;
    for (int k = 0; k < sides; ++k) {
        const double angle = 2.0 * 3.14159265358979323846 * k / sides;
        points.push_back({o.centre.x + o.radius * std::cos(angle), o.centre.y + o.radius * std::sin(angle)});
    }
    return points;
}

void drawDomainLine(const Grid& grid, const GridView& view, const std::vector<OutlinePoint>& points, bool closed)
{
    const float cw = cellWidth(view, grid.NX), ch = cellHeight(view, grid.NY);
    glLineWidth(GridStrokes::outlineWidth);
    glBegin(closed ? GL_LINE_LOOP : GL_LINE_STRIP);
    for (const OutlinePoint& p : points)
        glVertex2f(view.left + static_cast<float>(p.x / grid.dx) * cw, view.bottom + static_cast<float>(p.y / grid.dy) * ch);
    glEnd();
    glLineWidth(GridStrokes::defaultWidth);
}

// The cells, then every cell's arrows (i outer, j inner), then the grid lines.
namespace {

// Each exact outline as a closed line over the cells, so a body drawn with
// one shows where it really lies.
void drawOutlines(const Grid& grid, const GridView& view)
{
    setColour(GridColours::outline);
    for (const BodyOutline& o : grid.outlines)
        drawDomainLine(grid, view, outlineLinePoints(o), true);
}

}  // namespace

void drawGrid(const Grid& grid, const GridView& view, CellTexture& cells)
{
    if (grid.NX <= 0 || grid.NY <= 0 || grid.flags.empty())
        return;
    cells.update(grid);
    cells.draw(view);
    if (!grid.outlines.empty())
        drawOutlines(grid, view);
    if (!cellsShowDetail(view, grid.NX, grid.NY))
        return;
    setColour(GridColours::arrow);
    for (int32_t i = 0; i < grid.NX; ++i)
        for (int32_t j = 0; j < grid.NY; ++j)
            drawArrows(grid, view, i, j);
    drawGridLines(view, grid.NX, grid.NY);
}

// Outlined cells one by one, or filled cells as two triangles each in one
// primitive.
void drawMarkedCells(const GridView& view, int32_t NX, int32_t NY, const std::vector<CellIndex>& marked)
{
    if (cellsShowDetail(view, NX, NY)) {
        for (const CellIndex& c : marked)
            drawCellOutline(view, NX, NY, c.i, c.j);
        return;
    }
    glBegin(GL_TRIANGLES);
    for (const CellIndex& c : marked)
        cellTriangles(cellRect(view, NX, NY, c.i, c.j));
    glEnd();
}

// Context, viewport over the whole canvas, background.
bool beginGridFrame(FX::FXGLCanvas* canvas)
{
    const FXint width = canvas->getWidth();
    const FXint height = canvas->getHeight();
    if (width == 0 || height == 0 || !canvas->makeCurrent())
        return false;
    glViewport(0, 0, width, height);
    const GlColour& bg = GridColours::background;
    glClearColor(bg.r, bg.g, bg.b, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    return true;
}

// Swap when double-buffered, release the context.
void endGridFrame(FX::FXGLCanvas* canvas, FX::FXGLVisual* visual)
{
    if (visual->isDoubleBuffer())
        canvas->swapBuffers();
    canvas->makeNonCurrent();
}

// Repaints the canvas with the whole grid.
void paintGridCanvas(FX::FXGLCanvas* canvas, FX::FXGLVisual* visual,
                     const Grid* grid, const GridView& view, CellTexture& cells)
{
    if (!beginGridFrame(canvas))
        return;
    if (grid)
        drawGrid(*grid, view, cells);
    endGridFrame(canvas, visual);
}
