#include "gui/grid_view.h"

#include <cmath>

GridView gridViewOf(const CanvasView& view)
{
    const double W = view.canvasWidth() > 0 ? view.canvasWidth() : 1;
    const double H = view.canvasHeight() > 0 ? view.canvasHeight() : 1;
    GridView grid;
    grid.left = static_cast<float>(2.0 * view.canvasX(0.0) / W - 1.0);
    grid.right = static_cast<float>(2.0 * view.canvasX(view.contentWidth()) / W - 1.0);
    grid.top = static_cast<float>(1.0 - 2.0 * view.canvasY(0.0) / H);
    grid.bottom = static_cast<float>(1.0 - 2.0 * view.canvasY(view.contentHeight()) / H);
    return grid;
}

// Cell width of an NX-column grid, stored in single precision.
float cellWidth(const GridView& view, int32_t NX)
{
    return (view.right - view.left) / static_cast<float>(NX);
}

// Cell height of an NY-row grid, stored in single precision.
float cellHeight(const GridView& view, int32_t NY)
{
    return (view.top - view.bottom) / static_cast<float>(NY);
}

// Rectangle of cell (i, j), computed as the drawing computes it.
CellRect cellRect(const GridView& view, int32_t NX, int32_t NY, int32_t i, int32_t j)
{
    const float cw = cellWidth(view, NX);
    const float ch = cellHeight(view, NY);
    CellRect r;
    r.x0 = view.left + static_cast<float>(i) * cw;
    r.x1 = view.left + static_cast<float>(i + 1) * cw;
    r.y0 = view.bottom + static_cast<float>(j) * ch;
    r.y1 = view.bottom + static_cast<float>(j + 1) * ch;
    return r;
}

// (left + (i + a) * cw, bottom + (j + b) * ch)
void cellPoint(const GridView& view, int32_t NX, int32_t NY, int32_t i, int32_t j,
               double a, double b, float& x, float& y)
{
    const float cw = cellWidth(view, NX);
    const float ch = cellHeight(view, NY);
    x = static_cast<float>(view.left + (i + a) * cw);
    y = static_cast<float>(view.bottom + (j + b) * ch);
}

// Index of the cell band [origin + k*size, origin + (k+1)*size) holding ndc.
static int64_t bandIndex(double ndc, float origin, float size)
{
    return static_cast<int64_t>(std::floor((ndc - origin) / size));
}

// The band's index, held within a range no canvas pixel can leave.
static int32_t boundedIndex(int64_t index)
{
    constexpr int64_t bound = int64_t{1} << 24;
    return static_cast<int32_t>(index < -bound ? -bound : (index > bound ? bound : index));
}

PickedCell pointerCell(const GridView& view, int32_t NX, int32_t NY,
                       int px, int py, int W, int H)
{
    PickedCell cell{false, -1, -1};
    if (W <= 0 || H <= 0 || NX <= 0 || NY <= 0)
        return cell;
    const double ndcX = 2.0 * (px + 0.5) / W - 1.0;
    const double ndcY = 1.0 - 2.0 * (py + 0.5) / H;
    cell.i = boundedIndex(bandIndex(ndcX, view.left, cellWidth(view, NX)));
    cell.j = boundedIndex(bandIndex(ndcY, view.bottom, cellHeight(view, NY)));
    cell.onGrid = cell.i >= 0 && cell.i < NX && cell.j >= 0 && cell.j < NY;
    return cell;
}

// An index one band past either end moves onto the end band when the
// pixel's span [lowEdge, highEdge) in NDC reaches into the grid.
static int32_t touchedEdgeIndex(int32_t index, int32_t count, double lowEdge, double highEdge,
                                float first, float last)
{
    if (index == -1 && highEdge > first)
        return 0;
    if (index == count && lowEdge < last)
        return count - 1;
    return index;
}

// The cell drawn under the pixel (px, py), the edge cell the pixel touches,
// or off the grid.
PickedCell pickCell(const GridView& view, int32_t NX, int32_t NY,
                    int px, int py, int W, int H)
{
    PickedCell cell = pointerCell(view, NX, NY, px, py, W, H);
    if (cell.onGrid || W <= 0 || H <= 0 || NX <= 0 || NY <= 0)
        return cell.onGrid ? cell : PickedCell{false, -1, -1};
    cell.i = touchedEdgeIndex(cell.i, NX, 2.0 * px / W - 1.0, 2.0 * (px + 1) / W - 1.0, view.left, view.right);
    // Rows count upward: the pixel's lower edge is its larger py.
    cell.j = touchedEdgeIndex(cell.j, NY, 1.0 - 2.0 * (py + 1) / H, 1.0 - 2.0 * py / H, view.bottom, view.top);
    cell.onGrid = cell.i >= 0 && cell.i < NX && cell.j >= 0 && cell.j < NY;
    return cell.onGrid ? cell : PickedCell{false, -1, -1};
}
