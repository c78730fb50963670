#include "render/body_outlines.h"

#include "core/cell_flags.h"
#include "core/cell_types.h"

#include <algorithm>
#include <cmath>

void flagsWithoutOutlineCells(const Grid& g, Array2D<int32_t>& flags)
{
    flags.allocate(g.NX, g.NY);
    flags.copyFrom(g.flags);
    for (int32_t i = 0; i < g.NX; ++i)
        for (int32_t j = 0; j < g.NY; ++j)
            if (isWall(flags[i][j]) && signedDistance(g.outlines, (i + 0.5) * g.dx, (j + 0.5) * g.dy) < 0.0)
                flags[i][j] = CELL_FLUID;
}

void drawBodyOutlines(FrameImage& image, const Grid& g, int k)
{
    const CellPictureColour& colour = pictureColourOf(CELL_NOSLIP_WALL);
    FramePlanes planes = image.planes();
    const double pixelX = g.dx / k, pixelY = g.dy / k;  // a pixel's size in domain units
    const double pixel = std::min(pixelX, pixelY);
    for (const BodyOutline& o : g.outlines) {
        const OutlineBox box = outlineBox(o);
        const int c0 = std::max(1, static_cast<int>(std::floor((box.xLow / g.dx + 0.5) * k)) - 1);
        const int c1 = std::min(planes.width - 1, static_cast<int>(std::ceil((box.xHigh / g.dx + 0.5) * k)) + 1);
        const int r0 = std::max(1, static_cast<int>(std::floor((g.NY - box.yHigh / g.dy + 0.5) * k)) - 1);
        const int r1 = std::min(planes.height - 1, static_cast<int>(std::ceil((g.NY - box.yLow / g.dy + 0.5) * k)) + 1);
        for (int row = r0; row <= r1; ++row)
            for (int column = c0; column <= c1; ++column) {
                const double x = (column + 0.5) * pixelX - 0.5 * g.dx;
                const double y = (g.NY + 0.5) * g.dy - (row + 0.5) * pixelY;
                const double cover = std::clamp(0.5 - signedDistance(o, x, y) / pixel, 0.0, 1.0);
                if (cover <= 0.0)
                    continue;
                float& r = planes.red[row][column];
                float& gr = planes.green[row][column];
                float& b = planes.blue[row][column];
                r = static_cast<float>(r + cover * (colour.r - r));
                gr = static_cast<float>(gr + cover * (colour.g - gr));
                b = static_cast<float>(b + cover * (colour.b - b));
            }
    }
}
