// Scalar fields, boundary cells and velocity vectors on small pictures:
// where each lands and with what value.
#include "render/boundary_cells.h"
#include "render/frame_image.h"
#include "render/scalar_field.h"
#include "render/velocity_vectors.h"

#include "test_grids.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

// 0.78 * 255 stored as a float and read back: a full-brightness plot.
const int fullPlot = static_cast<int>(static_cast<float>(0.78 * 255));

class PictureTest : public ::testing::Test {
protected:
    std::unique_ptr<SimGrid> grid;
    FrameImage image;

    // Sum of every channel of every pixel: zero means nothing was drawn.
    double pictureSum()
    {
        double sum = 0;
        for (int row = 0; row < image.height(); ++row)
            for (int column = 0; column < image.width(); ++column)
                sum += image.redRow(row)[column] + image.greenRow(row)[column] + image.blueRow(row)[column];
        return sum;
    }

    // Number of pixels whose red, green or blue reading is not 0.
    int litPixels()
    {
        int count = 0;
        for (int row = 0; row < image.height(); ++row)
            for (int column = 0; column < image.width(); ++column)
                if (image.pixelRed(column, row) || image.pixelGreen(column, row) || image.pixelBlue(column, row))
                    ++count;
        return count;
    }

    void start(int NX, int NY, int k)
    {
        grid = makeRestingGrid(NX, NY);
        image.allocate(k * NX, k * NY);
    }
};

// --- scalar fields -------------------------------------------------------

TEST_F(PictureTest, FieldSampleLandsFiveSixthsOfACellEastAndCountsRowsUpward)
{
    start(40, 20, 4);
    grid->u[0][0] = 1.0;  // sample (0, 2) interpolates to exactly 1
    grid->u[0][1] = 1.0;
    ScalarFieldPass().draw(image, 40, 20, grid->u, 4, 1, 0, 0);
    EXPECT_EQ(fullPlot, 198);
    EXPECT_EQ(image.pixelRed(3, 78), fullPlot);
    EXPECT_EQ(image.pixelGreen(3, 78), 0);
    EXPECT_EQ(image.pixelBlue(3, 78), 0);
    EXPECT_EQ(image.pixelRed(2, 78), 0);
    EXPECT_EQ(image.pixelRed(3, 79), 0);  // y = 1 falls into the margin
    // x = 1 is a quarter of a cell east: value 0.75, channel trunc(191.25).
    EXPECT_EQ(image.pixelRed(4, 78), static_cast<int>(static_cast<float>(0.78 * 191)));
    // y = 4 is node (0, 1), y = 8 node (0, 2) which is 0.
    EXPECT_EQ(image.pixelRed(3, 76), fullPlot);
    EXPECT_EQ(image.pixelRed(3, 72), 0);
}

TEST_F(PictureTest, FieldAtRestAddsNothing)
{
    start(40, 20, 4);
    ScalarFieldPass().draw(image, 40, 20, grid->u, 4, 1, 0, 0);
    ScalarFieldPass().draw(image, 40, 20, grid->p, 4, 0, 0, 1);
    EXPECT_EQ(pictureSum(), 0.0);
}

TEST_F(PictureTest, FieldScaleIsTheLargestSignedValueAndLargerMagnitudesSaturate)
{
    start(10, 10, 1);
    grid->v[2][3] = -2.0;
    grid->v[6][6] = 1.0;
    grid->v[4][4] = 0.5;
    ScalarFieldPass().draw(image, 10, 10, grid->v, 1, 0, 1, 0);
    // k = 1: node (i, j) is drawn at column i, row H - j.
    EXPECT_EQ(image.pixelGreen(2, 7), fullPlot);
    EXPECT_EQ(image.pixelGreen(6, 4), fullPlot);
    EXPECT_EQ(image.pixelGreen(4, 6), static_cast<int>(static_cast<float>(0.78 * 127)));
    EXPECT_EQ(litPixels(), 3);
}

TEST_F(PictureTest, FieldNegativeEverywhereIsDrawnAtFullBrightness)
{
    start(10, 10, 1);
    for (int i = 0; i < 10; ++i)
        for (int j = 0; j < 10; ++j)
            grid->p[i][j] = -0.5;
    grid->p[5][5] = -3.0;
    ScalarFieldPass().draw(image, 10, 10, grid->p, 1, 0, 0, 1);
    // The drawn points: x = 2..8, y = 2..8 (the others fall into the margin).
    for (int x = 2; x <= 8; ++x)
        for (int y = 2; y <= 8; ++y)
            ASSERT_EQ(image.pixelBlue(x, 10 - y), fullPlot) << x << "," << y;
    EXPECT_EQ(image.pixelRed(5, 5), 0);
    EXPECT_EQ(image.pixelBlue(9, 5), 0);  // the last cell column gets no sample
}

TEST_F(PictureTest, FieldColourFactorsUseTheirLowByteOnly)
{
    start(10, 10, 1);
    grid->u[4][4] = 1.0;
    ScalarFieldPass().draw(image, 10, 10, grid->u, 1, 256, 512, 0);
    EXPECT_EQ(pictureSum(), 0.0);
    ScalarFieldPass().draw(image, 10, 10, grid->u, 1, 257, 0, 0);
    EXPECT_EQ(image.pixelRed(4, 6), fullPlot);
}

TEST_F(PictureTest, FieldProductsBeyondIntOrNotFiniteAreHandled)
{
    start(10, 10, 1);
    for (int i = 0; i < 10; ++i)
        for (int j = 0; j < 10; ++j)
            grid->u[i][j] = -1.0;
    grid->u[3][3] = 1e-300;  // M: every other ratio is about 1e300
    grid->u[6][6] = NAN;
    ScalarFieldPass().draw(image, 10, 10, grid->u, 1, 1, 0, 0);
    EXPECT_EQ(image.pixelRed(2, 5), fullPlot);  // -1 / 1e-300: far beyond int, full
    EXPECT_EQ(image.pixelRed(3, 7), fullPlot);  // the maximum itself
    // The NaN node, and the nodes whose interpolation reaches it, draw nothing.
    EXPECT_EQ(image.pixelRed(6, 4), 0);
    EXPECT_EQ(image.pixelRed(5, 4), 0);
    EXPECT_EQ(image.pixelRed(5, 5), 0);
    EXPECT_EQ(image.pixelRed(7, 4), fullPlot);
}

// --- boundary cells ------------------------------------------------------

TEST_F(PictureTest, BoundaryCellRectanglesSitHalfACellEastAndSouth)
{
    start(40, 20, 4);
    grid->flags[0][0] = CELL_NOSLIP_WALL;
    grid->flags[39][19] = CELL_INFLOW | DIR_WEST;
    drawBoundaryCells(image, 40, 20, grid->flags, 4);
    for (int column = 2; column <= 6; ++column)
        for (int row = 78; row <= 79; ++row)
            EXPECT_EQ(image.pixelRed(column, row), 90) << column << "," << row;
    EXPECT_EQ(image.pixelRed(1, 78), 0);
    EXPECT_EQ(image.pixelRed(7, 78), 0);
    EXPECT_EQ(image.pixelRed(4, 77), 0);
    for (int column = 158; column <= 159; ++column)
        for (int row = 2; row <= 6; ++row) {
            EXPECT_EQ(image.pixelRed(column, row), 50);
            EXPECT_EQ(image.pixelGreen(column, row), 255);
        }
    EXPECT_EQ(image.pixelGreen(157, 4), 0);
    EXPECT_EQ(image.pixelGreen(158, 1), 0);
    EXPECT_EQ(image.pixelGreen(158, 7), 0);
    EXPECT_EQ(litPixels(), 10 + 10);
}

TEST_F(PictureTest, BoundaryCellsDrawnLaterOwnTheSharedEdgeAndLaterTestsWin)
{
    start(10, 10, 4);
    grid->flags[3][3] = CELL_SLIP_WALL;
    grid->flags[4][3] = CELL_OUTFLOW;            // east neighbour
    grid->flags[3][4] = CELL_MOVING_WALL | CELL_INFLOW;  // north: inflow wins
    grid->flags[6][6] = CELL_FLUID | DIR_NORTH;  // fluid: not drawn
    grid->flags[7][7] = 0x100;                   // no type bit: not drawn
    drawBoundaryCells(image, 10, 10, grid->flags, 4);
    // Cell (3, 3): columns 14..18, rows 26..30; (4, 3): columns 18..22.
    EXPECT_EQ(image.pixelRed(16, 28), 90);
    EXPECT_EQ(image.pixelRed(18, 28), 255);
    EXPECT_EQ(image.pixelGreen(18, 28), 50);
    // Cell (3, 4): rows 22..26, so row 26 belongs to it.
    EXPECT_EQ(image.pixelGreen(16, 26), 255);
    EXPECT_EQ(image.pixelRed(16, 26), 50);
    EXPECT_EQ(image.pixelRed(16, 27), 90);
    EXPECT_EQ(image.pixelRed(26, 14), 0);
    EXPECT_EQ(image.pixelRed(30, 10), 0);
}

TEST_F(PictureTest, BoundaryCellsAtOnePixelPerCellReachRowAndColumnZero)
{
    start(10, 10, 1);
    grid->flags[0][9] = CELL_NOSLIP_WALL;  // north-west corner
    grid->flags[9][0] = CELL_OUTFLOW;      // south-east corner
    drawBoundaryCells(image, 10, 10, grid->flags, 1);
    // (0, 9): columns 0..1, rows 0..1.
    EXPECT_EQ(image.pixelRed(0, 0), 90);
    EXPECT_EQ(image.pixelRed(1, 1), 90);
    // (9, 0): columns 9..10 and rows 9..10, cut to column 9, row 9.
    EXPECT_EQ(image.pixelRed(9, 9), 255);
    EXPECT_EQ(litPixels(), 4 + 1);
}

// --- velocity vectors ----------------------------------------------------

TEST_F(PictureTest, VectorRunsFromTheCellsSouthWestCornerForSevenTenthsOfACell)
{
    start(40, 20, 4);
    grid->u[1][1] = 1.0;
    drawVelocityVectors(image, 40, 20, grid->u, grid->v, 4);
    // From (6, 78) toward (8, 78), the end excluded: columns 6 and 7.
    EXPECT_EQ(image.pixelRed(6, 78), 255);
    EXPECT_EQ(image.pixelGreen(7, 78), 255);
    EXPECT_EQ(image.pixelBlue(8, 78), 0);
    EXPECT_EQ(litPixels(), 2);
}

// Lit pixels outside columns c0..c1 and rows r0..r1.
int litOutside(const FrameImage& image, int c0, int c1, int r0, int r1)
{
    int count = 0;
    for (int row = 0; row < image.height(); ++row)
        for (int column = 0; column < image.width(); ++column)
            if ((column < c0 || column > c1 || row < r0 || row > r1) && image.pixelRed(column, row))
                ++count;
    return count;
}

TEST_F(PictureTest, VectorLengthDoesNotDependOnSpeed)
{
    start(40, 20, 4);
    grid->v[1][1] = 2.0;  // north: toward row trunc(80 - 4.8) = 75
    drawVelocityVectors(image, 40, 20, grid->u, grid->v, 4);
    // The column, (1 - t) 6 + t 6, comes out just below 6 for most t and
    // truncates to 5: the segment covers columns 5..6.
    for (int row = 75; row <= 78; ++row)
        EXPECT_GT(image.pixelRed(5, row) + image.pixelRed(6, row), 0) << row;
    EXPECT_EQ(litOutside(image, 5, 6, 75, 78), 0);
    image.release();

    start(40, 20, 4);
    grid->u[1][1] = -0.001;  // west, full length: columns 3..6
    drawVelocityVectors(image, 40, 20, grid->u, grid->v, 4);
    for (int column = 3; column <= 6; ++column)
        EXPECT_GT(image.pixelRed(column, 77) + image.pixelRed(column, 78), 0) << column;
    EXPECT_EQ(litOutside(image, 3, 6, 77, 78), 0);
}

TEST_F(PictureTest, VectorsSkipTheBorderRingCellsAtRestAndVelocitiesNotFinite)
{
    start(10, 10, 4);
    for (int i = 0; i < 10; ++i)
        for (int j = 0; j < 10; ++j)
            if (i == 0 || j == 0 || i == 9 || j == 9)
                grid->u[i][j] = 1.0;
    grid->u[4][4] = INFINITY;
    grid->v[5][5] = NAN;
    grid->u[6][6] = 1e300;  // finite, but the speed overflows
    grid->v[6][6] = 1e300;
    drawVelocityVectors(image, 10, 10, grid->u, grid->v, 4);
    EXPECT_EQ(pictureSum(), 0.0);
}

TEST_F(PictureTest, VectorAtOnePixelPerCellStaysWithinTwoPixels)
{
    start(10, 10, 1);
    grid->u[4][4] = 1.0;
    drawVelocityVectors(image, 10, 10, grid->u, grid->v, 1);
    // Tail trunc(4.5) = 4, row trunc(10 - 3.5) = 6; head trunc(5.2) = 5,
    // which is never plotted; rows may truncate to 5.
    EXPECT_EQ(std::max(image.pixelRed(4, 6), image.pixelRed(4, 5)), 255);
    EXPECT_EQ(litOutside(image, 4, 4, 5, 6), 0);
}

}  // namespace
