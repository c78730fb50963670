#include "render/boundary_cells.h"

#include "core/cell_flags.h"
#include "core/cell_types.h"
#include "render/field_resample.h"
#include "render/frame_image.h"
#include "render/pixel_trunc.h"
#include "render/render_constants.h"

namespace {

// Fills a rectangle with a cell type's picture colour.
void fillWith(FrameImage& image, int x0, int y0, int x1, int y1, const CellPictureColour& colour)
{
    image.fillRect(x0, y0, x1, y1, colour.r, colour.g, colour.b);
}

}  // namespace

// Cell (i, j), m = NY - j, covers
//   columns trunc((i + 0.5) cw) .. trunc((i + 1.5) cw)
//   rows    trunc((m - 0.5) ch) .. trunc((m + 0.5) ch)
// and is filled once per test that its flag word's low byte passes, in the
// order wall, inflow, outflow. Cells run south to north, west to east, so
// the later cell owns a shared edge.
void drawBoundaryCells(FrameImage& image, int32_t NX, int32_t NY, const Array2D<int32_t>& flags, int k)
{
    if (!fieldFits(NX, NY, flags, k))
        return;
    const double cw = static_cast<double>(k * NX) / NX;
    const double ch = static_cast<double>(k * NY) / NY;
    for (int32_t j = 0; j < NY; ++j) {
        const int32_t m = NY - j;
        const int y0 = truncCoordinate((m - 0.5) * ch);
        const int y1 = truncCoordinate((m + 0.5) * ch);
        for (int32_t i = 0; i < NX; ++i) {
            const int32_t word = flags[i][j] & render_constants::flagLowByteMask;
            if ((word & (CELL_WALL_MASK | CELL_INFLOW | CELL_OUTFLOW)) == 0)
                continue;
            const int x0 = truncCoordinate((i + 0.5) * cw);
            const int x1 = truncCoordinate((i + 1.5) * cw);
            if (word & CELL_WALL_MASK)
                fillWith(image, x0, y0, x1, y1, pictureColourOf(word & CELL_WALL_MASK));
            if (word & CELL_INFLOW)
                fillWith(image, x0, y0, x1, y1, pictureColourOf(CELL_INFLOW));
            if (word & CELL_OUTFLOW)
                fillWith(image, x0, y0, x1, y1, pictureColourOf(CELL_OUTFLOW));
        }
    }
}
