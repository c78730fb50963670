// The composed picture against the straightforward reference, bit for bit,
// over whole flows: the program's buffers, hoisting and still-tracer
// shortcut must not change a single pixel.
#include "render/compose_frame.h"
#include "render/frame_image.h"
#include "render/scalar_field.h"
#include "render/streamlines.h"
#include "render/velocity_vectors.h"

#include "reference_render.h"
#include "test_grids.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

// Index of the first pixel whose bits differ from the reference, or -1.
long firstDifference(const FrameImage& image, const ReferencePicture& reference)
{
    if (image.width() != reference.W || image.height() != reference.H)
        return 0;
    const RgbPlanes planes = image.rgbPlanes();
    const float* const* rows[3] = {planes.red, planes.green, planes.blue};
    for (int c = 0; c < 3; ++c)
        for (int row = 0; row < reference.H; ++row) {
            const float* mine = rows[c][row];
            const float* theirs = reference.plane[c][row].data();
            for (int column = 0; column < reference.W; ++column)
                if (std::memcmp(&mine[column], &theirs[column], sizeof(float)) != 0)
                    return (long(c) * reference.H + row) * reference.W + column;
        }
    return -1;
}

const RenderElements everything{true, true, true, true, true, true, {}};

// Composes with the program and with the reference and compares them.
// The composer keeps its buffers from the passes before.
void expectIdentical(const SimGrid& grid, int k, const RenderElements& elements, const std::string& what,
                     FrameComposer& composer)
{
    FrameImage image(k * grid.NX, k * grid.NY);
    ASSERT_TRUE(composer.compose(image, grid, grid.NX, grid.NY, k, elements));
    const ReferenceElements chosen{elements.boundaryCells, elements.streamlines, elements.uField,
                                   elements.vField, elements.pressure, elements.vectors};
    const ReferencePicture reference = referenceCompose(grid, grid.NX, grid.NY, k, chosen);
    EXPECT_EQ(firstDifference(image, reference), -1) << what << " k=" << k;
}

void expectIdentical(const SimGrid& grid, int k, const RenderElements& elements, const std::string& what)
{
    FrameComposer composer;
    expectIdentical(grid, k, elements, what, composer);
}

TEST(ComposeFrame, ChannelFlowMatchesTheReferenceAtEverySize)
{
    auto grid = makeChannelGrid(40, 20);
    for (int k : {1, 2, 3, 4, 5, 7})
        expectIdentical(*grid, k, everything, "channel");
    auto odd = makeChannelGrid(23, 17);
    expectIdentical(*odd, 6, everything, "channel 23 x 17");
    // Tall enough that the fields read their grid lines in several goes.
    auto tall = makeChannelGrid(24, 150);
    for (int k : {1, 2})
        expectIdentical(*tall, k, everything, "channel 24 x 150");
}

TEST(ComposeFrame, NoiseRestAndDivergedFlowsMatchTheReference)
{
    expectIdentical(*makeNoiseGrid(30, 20, 7), 3, everything, "noise");
    expectIdentical(*makeNoiseGrid(12, 9, 11), 5, everything, "small noise");
    expectIdentical(*makeRestingGrid(40, 20), 4, everything, "rest");
    expectIdentical(*makeDivergedGrid(30, 20), 4, everything, "diverged");
    expectIdentical(*makeStagnantGrid(40, 20), 4, everything, "stagnant");
    expectIdentical(*makeStagnantGrid(40, 20), 2, everything, "stagnant");
    for (double scale : {1e-4, 3e-3, 0.05})
        for (int k : {1, 3})
            expectIdentical(*makeCreepingGrid(30, 20, 3, scale), k, everything, "creeping");
}

TEST(ComposeFrame, EachElementAloneMatchesTheReference)
{
    auto grid = makeChannelGrid(30, 20);
    const RenderElements single[] = {
        {true, false, false, false, false, false, {}}, {false, true, false, false, false, false, {}},
        {false, false, true, false, false, false, {}}, {false, false, false, true, false, false, {}},
        {false, false, false, false, true, false, {}}, {false, false, false, false, false, true, {}},
    };
    for (const RenderElements& elements : single)
        expectIdentical(*grid, 4, elements, "single element");
}

// Without fields the dots are drawn in one plane and copied into the other
// two; every such combination must still equal three planes drawn apart.
TEST(ComposeFrame, PicturesWithoutFieldsMatchTheReference)
{
    const RenderElements grey[] = {
        {true, true, false, false, false, false, {}},  // as the window opens
        {false, true, false, false, false, true, {}},
        {true, true, false, false, false, true, {}},
    };
    for (const RenderElements& elements : grey) {
        for (int k : {1, 2, 4, 6})
            expectIdentical(*makeChannelGrid(40, 20), k, elements, "grey channel");
        expectIdentical(*makeStagnantGrid(40, 20), 4, elements, "grey stagnant");
        expectIdentical(*makeRestingGrid(30, 20), 3, elements, "grey rest");
        expectIdentical(*makeDivergedGrid(30, 20), 4, elements, "grey diverged");
    }
}

// The copy into green and blue keeps to the part a pass clears.
TEST(ComposeFrame, GreyDotsLeaveRowZeroAndColumnZeroAlone)
{
    FrameImage image;
    auto grid = makeRestingGrid(10, 10);
    image.allocate(40, 40);
    image.fillRect(0, 0, 39, 39, 10, 20, 30);
    ASSERT_TRUE(FrameComposer().compose(image, *grid, 10, 10, 4, RenderElements{false, true, false, false, false, false, {}}));
    for (int at : {0, 5, 39}) {
        EXPECT_EQ(image.pixelRed(0, at), 10);
        EXPECT_EQ(image.pixelGreen(0, at), 20);
        EXPECT_EQ(image.pixelBlue(at, 0), 30);
    }
    EXPECT_GT(image.pixelGreen(8, 36), 0);  // the first seed's plus sign reached green
    EXPECT_EQ(image.pixelGreen(8, 36), image.pixelBlue(8, 36));
}

TEST(ComposeFrame, ClearsAllButRowZeroAndColumnZero)
{
    FrameImage image;
    auto grid = makeRestingGrid(10, 10);
    image.allocate(40, 40);
    image.fillRect(0, 0, 39, 39, 7, 7, 7);
    ASSERT_TRUE(FrameComposer().compose(image, *grid, 10, 10, 4, RenderElements{}));
    EXPECT_EQ(image.pixelRed(0, 20), 7);
    EXPECT_EQ(image.pixelRed(20, 0), 7);
    EXPECT_EQ(image.pixelRed(1, 1), 0);
    EXPECT_EQ(image.pixelBlue(39, 39), 0);
}

TEST(ComposeFrame, RefusesAPictureOfAnotherSize)
{
    FrameImage image;
    auto grid = makeRestingGrid(10, 10);
    image.allocate(30, 30);
    image.fillRect(0, 0, 29, 29, 7, 7, 7);
    EXPECT_FALSE(FrameComposer().compose(image, *grid, 10, 10, 4, everything));
    EXPECT_EQ(image.pixelRed(15, 15), 7);
}

TEST(ComposeFrame, RepeatedPassesGiveTheSamePicture)
{
    FrameImage image;
    // The kept buffers must not carry anything from one pass to the next,
    // nor from a larger grid to a smaller one.
    auto large = makeNoiseGrid(40, 30, 3);
    image.allocate(160, 120);
    FrameComposer().compose(image, *large, 40, 30, 4, everything);
    image.release();
    expectIdentical(*makeChannelGrid(20, 10), 4, everything, "after a larger grid");
    expectIdentical(*makeChannelGrid(20, 10), 4, everything, "once more");
}

// The elements drawn straight onto a picture that was not cleared: bright
// rectangles, some above 255, where a plot's saturation reaches the
// neighbours and a zero colour factor still adds its 0.
void expectElementsOverRectanglesMatch(const SimGrid& grid, int k, int over)
{
    FrameImage image;
    const int W = k * grid.NX;
    const int H = k * grid.NY;
    image.allocate(W, H);
    ReferencePicture reference(W, H);
    const int rectangles[][7] = {{0, 0, W - 1, H - 1, 40, 250, 90},
                                 {3, 2, W / 2, H / 3, over, 10, 255},
                                 {W / 3, H / 2, W - 4, H - 3, 120, over, over}};
    for (const auto& r : rectangles) {
        image.fillRect(r[0], r[1], r[2], r[3], r[4], r[5], r[6]);
        reference.fillRect(r[0], r[1], r[2], r[3], r[4], r[5], r[6]);
    }
    ScalarFieldPass().draw(image, grid.NX, grid.NY, grid.u, k, 1, 0, 0);
    referenceScalarField(reference, grid.NX, grid.NY, grid.u, k, 1, 0, 0);
    ScalarFieldPass().draw(image, grid.NX, grid.NY, grid.p, k, 3, 0, 2);
    referenceScalarField(reference, grid.NX, grid.NY, grid.p, k, 3, 0, 2);
    drawVelocityVectors(image, grid.NX, grid.NY, grid.u, grid.v, k);
    referenceVectors(reference, grid.NX, grid.NY, grid.u, grid.v, k);
    StreamlinePass().draw(image, grid.NX, grid.NY, grid, k);
    referenceStreamlines(reference, grid.NX, grid.NY, grid, k);
    EXPECT_EQ(firstDifference(image, reference), -1) << "k=" << k << " rectangles up to " << over;
}

TEST(ComposeFrame, ElementsOverBrightOrOverfullPicturesMatchTheReference)
{
    auto grid = makeNoiseGrid(24, 16, 5);
    for (int over : {255, 300, 100000})
        for (int k : {1, 3, 5})
            expectElementsOverRectanglesMatch(*grid, k, over);
    expectElementsOverRectanglesMatch(*makeChannelGrid(30, 20), 4, 256);
}

}  // namespace
