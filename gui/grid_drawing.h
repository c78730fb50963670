// The editor's drawing of the edited grid on its OpenGL canvas: the cells in
// the colours of their types (one texture), white arrows for the velocity
// of moving walls and the direction of inflow and outflow cells, grid lines
// on top, and the outline of the cell under the pointer. Arrows and lines
// are left out while a cell is under minDetailPixels on the screen: there
// they would hide the cells rather than show anything.
//
// Nothing sets a projection: everything is given in normalised device
// coordinates through the GridView.
#pragma once

#include "core/grid.h"
#include "gui/cell_texture.h"
#include "gui/shape_cells.h"

#include <vector>
#include "gui/grid_view.h"

namespace FX {
class FXGLCanvas;
class FXGLVisual;
}

// A colour as glColor3f takes it.
struct GlColour {
    float r, g, b;
};

// Colours of the editor canvas besides the cells' own, which the table of
// cell types holds.
namespace GridColours {
constexpr GlColour background  = {0.46f, 0.42f, 0.41f};  // clear colour, alpha 1
constexpr GlColour arrow       = {1.0f, 1.0f, 1.0f};
constexpr GlColour gridLine    = {0.6f, 0.6f, 0.6f};
constexpr GlColour pointerCell = {0.6f, 0.2f, 0.2f};
constexpr GlColour outline     = {0.95f, 0.85f, 0.2f};  // a body's exact outline
}

// Line widths, in pixels, and the outline's outward push in NDC.
namespace GridStrokes {
constexpr float gridLineWidth = 1.3f;
constexpr float outlineWidth = 2.0f;
constexpr float defaultWidth = 1.0f;
constexpr float outlinePush = 0.001f;
// Screen pixels a cell needs both ways before its arrows and the grid lines
// are drawn.
constexpr float minDetailPixels = 4.0f;
}

// The four arrow shapes that drawGrid can put into a cell.
enum class Arrow { East, West, North, South };

// Sets the current colour.
void setColour(const GlColour& colour);

// Outlines cell (i, j) in the current colour with 2-pixel lines pushed
// outward by a hair, then puts the line width back to 1.
void drawCellOutline(const GridView& view, int32_t NX, int32_t NY, int32_t i, int32_t j);

// Draws one white-or-current-colour arrow in cell (i, j): shaft and two barbs.
void drawCellArrow(const GridView& view, int32_t NX, int32_t NY, int32_t i, int32_t j,
                   Arrow arrow);

// Whether the cells of an NX x NY grid are large enough in the current
// viewport for arrows, grid lines and cell outlines.
bool cellsShowDetail(const GridView& view, int32_t NX, int32_t NY);

// Draws every cell (through cells, brought up to the grid first), the exact
// outlines of bodies that have one, the arrows and the grid lines into the
// current context.
void drawGrid(const Grid& grid, const GridView& view, CellTexture& cells);

// The points of an outline's line: a polygon's corners, a circle as many
// short sides.
std::vector<OutlinePoint> outlineLinePoints(const BodyOutline& outline);

// A line through points given in domain units, closed or not, in the
// current colour at the outlines' width.
void drawDomainLine(const Grid& grid, const GridView& view, const std::vector<OutlinePoint>& points, bool closed);

// Marks the given cells in the current colour: each outlined while cells
// show detail, else each filled, all in one primitive.
void drawMarkedCells(const GridView& view, int32_t NX, int32_t NY, const std::vector<CellIndex>& marked);

// Makes the canvas's context current, sets the viewport to the whole canvas
// and clears it to the background colour. False for an empty canvas or a
// context that cannot be made current (nothing is then drawn).
bool beginGridFrame(FX::FXGLCanvas* canvas);

// Shows what was drawn (swapping when double-buffered) and releases the context.
void endGridFrame(FX::FXGLCanvas* canvas, FX::FXGLVisual* visual);

// Repaints the canvas with the whole grid.
void paintGridCanvas(FX::FXGLCanvas* canvas, FX::FXGLVisual* visual,
                     const Grid* grid, const GridView& view, CellTexture& cells);
