// Streamlines: the seed lattice, still and moving tracers, the picture's
// edges.
#include "render/frame_image.h"
#include "render/streamlines.h"

#include "reference_render.h"
#include "test_grids.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

class StreamlinesTest : public ::testing::Test {
protected:
    std::unique_ptr<SimGrid> grid;
    FrameImage image;

    float redValue(int column, int row) { return image.redRow(row)[column]; }

    // Pixels whose red reads 255.
    int saturatedPixels()
    {
        int count = 0;
        for (int row = 0; row < image.height(); ++row)
            for (int column = 0; column < image.width(); ++column)
                if (image.pixelRed(column, row) == 255)
                    ++count;
        return count;
    }

    double redSum()
    {
        double sum = 0;
        for (int row = 0; row < image.height(); ++row)
            for (int column = 0; column < image.width(); ++column)
                sum += redValue(column, row);
        return sum;
    }


    void start(int NX, int NY, int k)
    {
        grid = makeRestingGrid(NX, NY);
        image.allocate(k * NX, k * NY);
    }
    void setVelocity(double u, double v)
    {
        for (int i = 0; i < grid->NX; ++i)
            for (int j = 0; j < grid->NY; ++j) {
                grid->u[i][j] = u;
                grid->v[i][j] = v;
            }
    }
};

TEST_F(StreamlinesTest, FluidAtRestShowsTheSeedLatticeAsBrightPlusSigns)
{
    start(40, 20, 4);
    StreamlinePass().draw(image, 40, 20, *grid, 4);
    // Seeds sx = 4, 10, ..., 148 and sy = 4, 10, ..., 70: 25 x 12 plus signs
    // centred on (sx + 4, 80 - sy).
    EXPECT_EQ(saturatedPixels(), 25 * 12 * 5);
    for (int sx = 4; sx <= 148; sx += 6)
        for (int sy = 4; sy <= 70; sy += 6) {
            const int column = sx + 4, row = 80 - sy;
            ASSERT_EQ(image.pixelRed(column, row), 255);
            ASSERT_EQ(image.pixelGreen(column + 1, row), 255);
            ASSERT_EQ(image.pixelBlue(column, row - 1), 255);
            ASSERT_EQ(image.pixelRed(column + 1, row + 1), 0);
        }
    EXPECT_EQ(image.pixelRed(154, 76), 0);  // no seed at sx = 154 (not below 152)
    EXPECT_EQ(image.pixelRed(8, 4), 0);     // nor at sy = 76
}

TEST_F(StreamlinesTest, SeedSpacingIsTruncatedOneAndAHalfCells)
{
    start(40, 20, 5);
    StreamlinePass().draw(image, 40, 20, *grid, 5);
    // s = trunc(7.5) = 7: seed columns 5, 12, ..., 187; rows 5, 12, ..., 89.
    EXPECT_EQ(image.pixelRed(10, 95), 255);
    EXPECT_EQ(image.pixelRed(17, 95), 255);
    EXPECT_EQ(image.pixelRed(192, 95), 255);
    EXPECT_EQ(image.pixelRed(199, 95), 0);
    EXPECT_EQ(image.pixelRed(10, 11), 255);
    EXPECT_EQ(saturatedPixels(), 27 * 13 * 5);
}

TEST_F(StreamlinesTest, GridsOfThreeCellsOrLessHaveNoSeeds)
{
    start(3, 20, 4);
    StreamlinePass().draw(image, 3, 20, *grid, 4);
    EXPECT_EQ(redSum(), 0.0);
    image.release();
    start(20, 3, 4);
    StreamlinePass().draw(image, 20, 3, *grid, 4);
    EXPECT_EQ(redSum(), 0.0);
}

TEST_F(StreamlinesTest, UniformFlowDrawsOneLinePerSeedRowBrighteningEastward)
{
    start(40, 20, 4);
    setVelocity(1.0, 0.0);
    StreamlinePass().draw(image, 40, 20, *grid, 4);
    // Column 9 is crossed by the westmost path of the row only, column 150
    // by all 25 paths of the row: the dots pile up to white.
    EXPECT_GT(redValue(9, 76), 0.0f);
    EXPECT_LT(redValue(9, 76), 255.0f);
    EXPECT_EQ(redValue(150, 76), 255.0f);
    EXPECT_GT(redValue(100, 77), 0.0f);  // neighbour share
    EXPECT_EQ(redValue(100, 73), 0.0f);  // halfway between two seed rows
    EXPECT_EQ(redValue(100, 78), 0.0f);
    EXPECT_GT(redValue(7, 76), 0.0f);    // beside the first dots
    EXPECT_EQ(redValue(6, 76), 0.0f);    // west of them
}

TEST_F(StreamlinesTest, PathLeavingWestPlotsItsLastDotAtColumnK)
{
    // A 4 x 4 grid has the single seed (4, 4).
    start(4, 4, 4);
    setVelocity(-1.0, 0.0);
    StreamlinePass().draw(image, 4, 4, *grid, 4);
    // px = 4 - 0.09 n: 45 dots, the last at px = -0.05, which truncates to
    // 0 and lands on column 4 with the eleven dots of 0 <= px < 1.
    EXPECT_NEAR(redSum(), 45 * (1.78 + 4 * 0.178), 1e-2);
    EXPECT_NEAR(redValue(4, 12), 12 * 1.78 + 11 * 0.178, 1e-3);
    EXPECT_NEAR(redValue(3, 12), 12 * 0.178, 1e-4);
}

TEST_F(StreamlinesTest, LookupsInTheLastCellRowTakeTheNearestFilledRow)
{
    // W = H = 24: rows 20..23 are never resampled. Moving north, a tracer in
    // 20 <= py < 23 keeps the speed of row 19 and reaches picture row 2.
    start(6, 6, 4);
    setVelocity(0.0, 1.0);
    StreamlinePass().draw(image, 6, 6, *grid, 4);
    EXPECT_GT(redValue(8, 4), 0.0f);
    EXPECT_LT(redValue(8, 4), 255.0f);
    EXPECT_GT(redValue(8, 2), 0.0f);
}

// One picture of the table below: a flow at k pixels per cell, seeds
// spaced as given, over a grey or a coloured picture.
struct PassCase {
    std::string flow;
    std::unique_ptr<SimGrid> grid;
    int k;
    int seedSpacing;
    bool grey;
};

// Patches of a few colours under the paths, some dark (where dots cross
// many binades of floats), one bright; a coloured picture has one above
// 255 too, which the dots hold at 255.
template <typename Picture>
void paintPatches(Picture& picture, int W, int H, bool grey)
{
    const int colours[][3] = {{0, 0, 0}, {3, 90, 250}, {140, 7, 60}, {255, 255, 255}};
    for (int n = 0; n < 4; ++n) {
        const int* c = colours[n];
        const int x0 = n * W / 4, x1 = (n + 1) * W / 4 - 1;
        picture.fillRect(x0, 0, x1, H - 1, c[0], grey ? c[0] : c[1], grey ? c[0] : c[2]);
    }
    if (!grey)
        picture.fillRect(W / 3, H / 3, W / 2, H / 2, 300, 20, 1000);
}

// The row of plane c of the program's picture.
const float* rowOf(const FrameImage& image, int c, int row)
{
    return c == 0 ? image.redRow(row) : c == 1 ? image.greenRow(row) : image.blueRow(row);
}

// Every path, in pixel boxes and across them, slow and fast, plotted by
// any number of threads, in bands of rows side by side: the same bits as
// the reference tracing dot after dot.
TEST(StreamlinePassBits, TracedAndPlottedPathsMatchTheReferenceDotByDot)
{
    PassCase cases[] = {
        {"channel", makeChannelGrid(40, 20), 16, 0, false},
        {"channel", makeChannelGrid(40, 20), 16, 12, true},
        {"channel", makeChannelGrid(23, 17), 3, 0, false},
        {"noise", makeNoiseGrid(30, 20, 7), 5, 0, true},
        {"noise", makeNoiseGrid(16, 12, 4), 9, 40, false},
        {"creeping", makeCreepingGrid(24, 16, 3, 2e-3), 16, 0, false},
        {"stagnant", makeStagnantGrid(24, 16), 4, 12, true},
        {"diverged", makeDivergedGrid(20, 12), 6, 0, false},
    };
    for (const PassCase& c : cases) {
        const SimGrid& grid = *c.grid;
        const int W = c.k * grid.NX, H = c.k * grid.NY;
        ReferencePicture reference(W, H);
        paintPatches(reference, W, H, c.grey);
        referenceStreamlines(reference, grid.NX, grid.NY, grid, c.k, c.seedSpacing);
        for (int threads : {1, 2, 3}) {
            FrameImage image(W, H);
            image.setThreads(threads);
            paintPatches(image, W, H, c.grey);
            StreamlinePass().draw(image, grid.NX, grid.NY, grid, c.k, c.grey, c.seedSpacing);
            long differing = 0;
            for (int plane = 0; plane < 3; ++plane)
                for (int row = 0; row < H; ++row)
                    differing += std::memcmp(rowOf(image, plane, row), reference.plane[plane][row].data(),
                                             W * sizeof(float)) != 0;
            EXPECT_EQ(differing, 0) << c.flow << " " << grid.NX << " x " << grid.NY << " at k = " << c.k
                                    << ", seeds " << c.seedSpacing << (c.grey ? ", grey, " : ", coloured, ")
                                    << threads << " threads";
        }
    }
}

}  // namespace
