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
long firstDifference(const ReferencePicture& reference)
{
    if (frameWidth() != reference.W || frameHeight() != reference.H)
        return 0;
    const float* (*rows[3])(int) = {redRow, greenRow, blueRow};
    for (int c = 0; c < 3; ++c)
        for (int row = 0; row < reference.H; ++row) {
            const float* mine = rows[c](row);
            const float* theirs = reference.plane[c][row].data();
            for (int column = 0; column < reference.W; ++column)
                if (std::memcmp(&mine[column], &theirs[column], sizeof(float)) != 0)
                    return (long(c) * reference.H + row) * reference.W + column;
        }
    return -1;
}

const RenderElements everything{true, true, true, true, true, true};

// Composes with the program and with the reference and compares them.
void expectIdentical(const SimGrid& grid, int k, const RenderElements& elements, const std::string& what)
{
    allocateFrameImage(k * grid.NX, k * grid.NY);
    ASSERT_TRUE(composeFrame(grid, grid.NX, grid.NY, k, elements));
    const ReferenceElements chosen{elements.boundaryCells, elements.streamlines, elements.uField,
                                   elements.vField, elements.pressure, elements.vectors};
    const ReferencePicture reference = referenceCompose(grid, grid.NX, grid.NY, k, chosen);
    EXPECT_EQ(firstDifference(reference), -1) << what << " k=" << k;
    releaseFrameImage();
}

TEST(ComposeFrame, ChannelFlowMatchesTheReferenceAtEverySize)
{
    auto grid = makeChannelGrid(40, 20);
    for (int k : {1, 2, 3, 4, 5, 7})
        expectIdentical(*grid, k, everything, "channel");
    auto odd = makeChannelGrid(23, 17);
    expectIdentical(*odd, 6, everything, "channel 23 x 17");
}

TEST(ComposeFrame, NoiseRestAndDivergedFlowsMatchTheReference)
{
    expectIdentical(*makeNoiseGrid(30, 20, 7), 3, everything, "noise");
    expectIdentical(*makeNoiseGrid(12, 9, 11), 5, everything, "small noise");
    expectIdentical(*makeRestingGrid(40, 20), 4, everything, "rest");
    expectIdentical(*makeDivergedGrid(30, 20), 4, everything, "diverged");
    expectIdentical(*makeStagnantGrid(40, 20), 4, everything, "stagnant");
    expectIdentical(*makeStagnantGrid(40, 20), 2, everything, "stagnant");
}

TEST(ComposeFrame, EachElementAloneMatchesTheReference)
{
    auto grid = makeChannelGrid(30, 20);
    const RenderElements single[] = {
        {true, false, false, false, false, false}, {false, true, false, false, false, false},
        {false, false, true, false, false, false}, {false, false, false, true, false, false},
        {false, false, false, false, true, false}, {false, false, false, false, false, true},
    };
    for (const RenderElements& elements : single)
        expectIdentical(*grid, 4, elements, "single element");
}

// Without fields the dots are drawn in one plane and copied into the other
// two; every such combination must still equal three planes drawn apart.
TEST(ComposeFrame, PicturesWithoutFieldsMatchTheReference)
{
    const RenderElements grey[] = {
        {true, true, false, false, false, false},  // as the window opens
        {false, true, false, false, false, true},
        {true, true, false, false, false, true},
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
    auto grid = makeRestingGrid(10, 10);
    allocateFrameImage(40, 40);
    fillFrameRect(0, 0, 39, 39, 10, 20, 30);
    ASSERT_TRUE(composeFrame(*grid, 10, 10, 4, RenderElements{false, true, false, false, false, false}));
    for (int at : {0, 5, 39}) {
        EXPECT_EQ(pixelRed(0, at), 10);
        EXPECT_EQ(pixelGreen(0, at), 20);
        EXPECT_EQ(pixelBlue(at, 0), 30);
    }
    EXPECT_GT(pixelGreen(8, 36), 0);  // the first seed's plus sign reached green
    EXPECT_EQ(pixelGreen(8, 36), pixelBlue(8, 36));
    releaseFrameImage();
}

TEST(ComposeFrame, ClearsAllButRowZeroAndColumnZero)
{
    auto grid = makeRestingGrid(10, 10);
    allocateFrameImage(40, 40);
    fillFrameRect(0, 0, 39, 39, 7, 7, 7);
    ASSERT_TRUE(composeFrame(*grid, 10, 10, 4, RenderElements{}));
    EXPECT_EQ(pixelRed(0, 20), 7);
    EXPECT_EQ(pixelRed(20, 0), 7);
    EXPECT_EQ(pixelRed(1, 1), 0);
    EXPECT_EQ(pixelBlue(39, 39), 0);
    releaseFrameImage();
}

TEST(ComposeFrame, RefusesAPictureOfAnotherSize)
{
    auto grid = makeRestingGrid(10, 10);
    allocateFrameImage(30, 30);
    fillFrameRect(0, 0, 29, 29, 7, 7, 7);
    EXPECT_FALSE(composeFrame(*grid, 10, 10, 4, everything));
    EXPECT_EQ(pixelRed(15, 15), 7);
    releaseFrameImage();
}

TEST(ComposeFrame, RepeatedPassesGiveTheSamePicture)
{
    // The kept buffers must not carry anything from one pass to the next,
    // nor from a larger grid to a smaller one.
    auto large = makeNoiseGrid(40, 30, 3);
    allocateFrameImage(160, 120);
    composeFrame(*large, 40, 30, 4, everything);
    releaseFrameImage();
    expectIdentical(*makeChannelGrid(20, 10), 4, everything, "after a larger grid");
    expectIdentical(*makeChannelGrid(20, 10), 4, everything, "once more");
}

// The elements drawn straight onto a picture that was not cleared: bright
// rectangles, some above 255, where a plot's saturation reaches the
// neighbours and a zero colour factor still adds its 0.
void expectElementsOverRectanglesMatch(const SimGrid& grid, int k, int over)
{
    const int W = k * grid.NX;
    const int H = k * grid.NY;
    allocateFrameImage(W, H);
    ReferencePicture reference(W, H);
    const int rectangles[][7] = {{0, 0, W - 1, H - 1, 40, 250, 90},
                                 {3, 2, W / 2, H / 3, over, 10, 255},
                                 {W / 3, H / 2, W - 4, H - 3, 120, over, over}};
    for (const auto& r : rectangles) {
        fillFrameRect(r[0], r[1], r[2], r[3], r[4], r[5], r[6]);
        reference.fillRect(r[0], r[1], r[2], r[3], r[4], r[5], r[6]);
    }
    drawScalarField(grid.NX, grid.NY, grid.u, k, 1, 0, 0);
    referenceScalarField(reference, grid.NX, grid.NY, grid.u, k, 1, 0, 0);
    drawScalarField(grid.NX, grid.NY, grid.p, k, 3, 0, 2);
    referenceScalarField(reference, grid.NX, grid.NY, grid.p, k, 3, 0, 2);
    drawVelocityVectors(grid.NX, grid.NY, grid.u, grid.v, k);
    referenceVectors(reference, grid.NX, grid.NY, grid.u, grid.v, k);
    drawStreamlines(grid.NX, grid.NY, grid, k);
    referenceStreamlines(reference, grid.NX, grid.NY, grid, k);
    EXPECT_EQ(firstDifference(reference), -1) << "k=" << k << " rectangles up to " << over;
    releaseFrameImage();
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
