// Bodies with exact outlines in the picture: the outline filled in the
// wall colour, its edge blended, the cells it covers no longer a staircase,
// and the cells alone on request.
#include "core/cell_types.h"
#include "core/immersed_boundary.h"
#include "render/compose_frame.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

constexpr int k = 8;

std::unique_ptr<SimGrid> gridWithCircle()
{
    auto g = std::make_unique<SimGrid>();
    makeFluidGrid(*g, 40, 20);
    for (Array2D<double>* a : {&g->F, &g->G, &g->pPrev, &g->dp})
        a->allocate(40, 20);
    g->outlines.push_back(BodyOutline::circle(0.9, 0.5, 0.2));
    markCoveredCells(*g);
    return g;
}

// The pixel of domain point (x, y), as the boundary element places cells.
int columnOf(const Grid& g, double x) { return static_cast<int>((x / g.dx + 0.5) * k); }
int rowOf(const Grid& g, double y) { return static_cast<int>((g.NY - y / g.dy + 0.5) * k); }

}  // namespace

TEST(BodyOutlines, TheOutlineIsDrawnAsDrawnAndTheCellsOnRequest)
{
    const std::unique_ptr<SimGrid> g = gridWithCircle();
    const CellPictureColour wall = pictureColourOf(CELL_NOSLIP_WALL);
    RenderElements elements;
    elements.boundaryCells = true;
    FrameComposer composer;
    FrameImage drawn(40 * k, 20 * k), cells(40 * k, 20 * k);
    ASSERT_TRUE(composer.compose(drawn, *g, 40, 20, k, elements));
    elements.outlineCells = true;
    ASSERT_TRUE(composer.compose(cells, *g, 40, 20, k, elements));

    // Inside, the wall's colour; well outside, nothing; on the outline, part.
    EXPECT_EQ(drawn.pixelRed(columnOf(*g, 0.9), rowOf(*g, 0.5)), wall.r);
    EXPECT_EQ(drawn.pixelRed(columnOf(*g, 0.9), rowOf(*g, 0.85)), 0);
    int blended = 0;
    for (int column = columnOf(*g, 1.05); column <= columnOf(*g, 1.15); ++column) {
        const int red = drawn.pixelRed(column, rowOf(*g, 0.5));
        blended += red > 0 && red < wall.r ? 1 : 0;
    }
    EXPECT_GE(blended, 1);
    // A point just inside the top of the circle, in a cell whose north face
    // centre lies outside it, so no wall: the drawn picture fills it, the
    // cells leave it empty.
    const double x = 0.9, y = 0.69;
    EXPECT_EQ(drawn.pixelRed(columnOf(*g, x), rowOf(*g, y)), wall.r);
    EXPECT_EQ(cells.pixelRed(columnOf(*g, x), rowOf(*g, y)), 0);
    EXPECT_EQ(cells.pixelRed(columnOf(*g, 0.9), rowOf(*g, 0.5)), wall.r);
}
