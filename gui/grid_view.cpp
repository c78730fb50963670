#include "gui/grid_view.h"

#include <cmath>

// Cell width of an NX-column grid, stored in single precision.
float cellWidth(const GridView& view, int32_t NX)
{
    return 2.0f * view.right / static_cast<float>(NX);
}

// Cell height of an NY-row grid, stored in single precision.
float cellHeight(const GridView& view, int32_t NY)
{
    return 2.0f * view.top / static_cast<float>(NY);
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

// The cell drawn under the pixel (px, py), or off the grid.
PickedCell pickCell(const GridView& view, int32_t NX, int32_t NY,
                    int px, int py, int W, int H)
{
    const PickedCell cell = pointerCell(view, NX, NY, px, py, W, H);
    return cell.onGrid ? cell : PickedCell{false, -1, -1};
}
