// Where the grid lies on the canvas, and the pointer's way back to the cell.
#include "gui/grid_view.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// The pixel whose centre is the centre of cell (i, j) on a W x H canvas.
void centrePixel(const GridView& view, int NX, int NY, int i, int j, int W, int H,
                 int& px, int& py)
{
    const CellRect r = cellRect(view, NX, NY, i, j);
    const double ndcX = 0.5 * (r.x0 + r.x1);
    const double ndcY = 0.5 * (r.y0 + r.y1);
    px = static_cast<int>(std::floor((ndcX + 1.0) / 2.0 * W));
    py = static_cast<int>(std::floor((1.0 - ndcY) / 2.0 * H));
}

TEST(GridView, StartUpGridCellsCoverTheMiddleOfTheCanvas)
{
    const GridView view;
    EXPECT_FLOAT_EQ(cellWidth(view, 40), 0.0475f);
    EXPECT_FLOAT_EQ(cellHeight(view, 20), 0.095f);
    const CellRect first = cellRect(view, 40, 20, 0, 0);
    EXPECT_FLOAT_EQ(first.x0, -0.95f);
    EXPECT_FLOAT_EQ(first.y0, -0.95f);
    const CellRect last = cellRect(view, 40, 20, 39, 19);
    EXPECT_NEAR(last.x1, 0.95f, 1e-6);
    EXPECT_NEAR(last.y1, 0.95f, 1e-6);
    float x, y;
    cellPoint(view, 40, 20, 2, 3, 0.5, 0.5, x, y);
    EXPECT_NEAR(x, -0.95 + 2.5 * 0.0475, 1e-6);
    EXPECT_NEAR(y, -0.95 + 3.5 * 0.095, 1e-6);
}

TEST(GridViewPicking, TheCentreOfEveryCellPicksThatCell)
{
    const GridView view;
    const struct { int NX, NY, W, H; } cases[] = {
        {40, 20, 588, 388}, {120, 80, 588, 388}, {20, 80, 588, 388}, {45, 20, 500, 400}};
    for (const auto& c : cases)
        for (int i = 0; i < c.NX; ++i)
            for (int j = 0; j < c.NY; ++j) {
                int px, py;
                centrePixel(view, c.NX, c.NY, i, j, c.W, c.H, px, py);
                const PickedCell cell = pickCell(view, c.NX, c.NY, px, py, c.W, c.H);
                ASSERT_TRUE(cell.onGrid) << c.NX << "x" << c.NY << " cell " << i << "," << j;
                ASSERT_EQ(cell.i, i) << c.NX << "x" << c.NY << " pixel " << px;
                ASSERT_EQ(cell.j, j) << c.NX << "x" << c.NY << " pixel " << py;
            }
}

TEST(GridViewPicking, TheLeftmostDrawnColumnOfAWideGridIsColumnZero)
{
    // The middle of the first drawn column: x/W = 0.025 + 0.95 * 0.5 / 120.
    const GridView view;
    const int W = 1200, H = 400;
    const int px = static_cast<int>(W * (0.025 + 0.95 * 0.5 / 120));
    const PickedCell cell = pickCell(view, 120, 80, px, H / 2, W, H);
    ASSERT_TRUE(cell.onGrid);
    EXPECT_EQ(cell.i, 0);
}

TEST(GridViewPicking, TheStripAroundTheGridIsOffTheGrid)
{
    const GridView view;
    const int W = 600, H = 400;
    // 2.5 % of 600 is 15 pixels: pixels 0..14 lie left of the grid.
    EXPECT_FALSE(pickCell(view, 40, 20, 0, 200, W, H).onGrid);
    EXPECT_FALSE(pickCell(view, 40, 20, 14, 200, W, H).onGrid);
    EXPECT_EQ(pickCell(view, 40, 20, 15, 200, W, H).i, 0);
    EXPECT_EQ(pickCell(view, 40, 20, W - 16, 200, W, H).i, 39);
    EXPECT_FALSE(pickCell(view, 40, 20, W - 15, 200, W, H).onGrid);
    // Rows: 2.5 % of 400 is 10 pixels at the top and bottom.
    EXPECT_FALSE(pickCell(view, 40, 20, 300, 9, W, H).onGrid);
    EXPECT_EQ(pickCell(view, 40, 20, 300, 10, W, H).j, 19);
    EXPECT_EQ(pickCell(view, 40, 20, 300, H - 11, W, H).j, 0);
    EXPECT_FALSE(pickCell(view, 40, 20, 300, H - 10, W, H).onGrid);
    // Outside the canvas altogether (a drag that left it).
    EXPECT_FALSE(pickCell(view, 40, 20, -300, 200, W, H).onGrid);
    EXPECT_FALSE(pickCell(view, 40, 20, 300, 5000, W, H).onGrid);
}

TEST(GridViewPicking, NeighbouringPixelsAcrossACellEdgeFallOnBothSides)
{
    // On a 500-wide canvas of 40 columns a cell is 11.875 pixels wide; the
    // edge between columns 19 and 20 lies at x = 12.5 + 20 * 11.875 = 250.
    const GridView view;
    EXPECT_EQ(pickCell(view, 40, 20, 249, 200, 500, 400).i, 19);
    EXPECT_EQ(pickCell(view, 40, 20, 250, 200, 500, 400).i, 20);
    // Rows are 19 pixels high; the edge between rows 9 and 10 is at y = 200.
    EXPECT_EQ(pickCell(view, 40, 20, 250, 199, 500, 400).j, 10);
    EXPECT_EQ(pickCell(view, 40, 20, 250, 200, 500, 400).j, 9);
}

TEST(GridViewPicking, AnEmptyCanvasOrGridPicksNothing)
{
    const GridView view;
    EXPECT_FALSE(pickCell(view, 40, 20, 10, 10, 0, 400).onGrid);
    EXPECT_FALSE(pickCell(view, 40, 20, 10, 10, 500, 0).onGrid);
    EXPECT_FALSE(pickCell(view, 0, 20, 250, 200, 500, 400).onGrid);
}

}  // namespace
