// The picture's passes on several threads: every part runs once, a failure
// reaches the caller, and the picture has the same bits with any number of
// threads.
#include "render/compose_frame.h"
#include "render/frame_image.h"
#include "render/render_threads.h"

#include "reference_render.h"
#include "test_grids.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <stdexcept>
#include <vector>

namespace {

// Puts the default thread count back after each test.
class RenderThreadsTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        setRenderThreadCount(0);
        releaseFrameImage();
    }
};

TEST_F(RenderThreadsTest, EveryPartRunsExactlyOnceWhateverTheThreads)
{
    for (int threads : {1, 2, 3, 8}) {
        setRenderThreadCount(threads);
        EXPECT_EQ(renderThreadCount(), threads);
        for (int parts : {0, 1, 2, 5, 64}) {
            std::vector<std::atomic<int>> runs(parts);
            runRenderParts(parts, [&](int part) { ++runs[part]; });
            for (int part = 0; part < parts; ++part)
                ASSERT_EQ(runs[part].load(), 1) << threads << " threads, part " << part << " of " << parts;
        }
    }
    setRenderThreadCount(0);
    EXPECT_GE(renderThreadCount(), 1);
    EXPECT_LE(renderThreadCount(), 8);
    setRenderThreadCount(100);
    EXPECT_EQ(renderThreadCount(), 8);
}

TEST_F(RenderThreadsTest, AFailingPartReachesTheCallerAfterTheOthersStop)
{
    for (int threads : {1, 3}) {
        setRenderThreadCount(threads);
        std::atomic<int> started{0};
        EXPECT_THROW(runRenderParts(20, [&](int part) {
                         ++started;
                         if (part == 2)
                             throw std::runtime_error("part 2");
                     }),
                     std::runtime_error);
        EXPECT_LE(started.load(), 20);
        EXPECT_GE(started.load(), 3);
    }
}

// The whole picture, channel by channel, as bytes.
std::vector<float> pictureValues()
{
    std::vector<float> values;
    for (int row = 0; row < frameHeight(); ++row)
        for (const float* plane : {redRow(row), greenRow(row), blueRow(row)})
            values.insert(values.end(), plane, plane + frameWidth());
    return values;
}

std::vector<float> composeWith(int threads, const SimGrid& grid, int k, const RenderElements& elements)
{
    setRenderThreadCount(threads);
    allocateFrameImage(k * grid.NX, k * grid.NY);
    EXPECT_TRUE(composeFrame(grid, grid.NX, grid.NY, k, elements));
    std::vector<float> values = pictureValues();
    releaseFrameImage();
    return values;
}

bool sameBits(const std::vector<float>& a, const std::vector<float>& b)
{
    return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(float)) == 0;
}

// Pictures of a few hundred rows too, which the fields split among threads.
TEST_F(RenderThreadsTest, PicturesHaveTheSameBitsWithAnyNumberOfThreads)
{
    const RenderElements everything{true, true, true, true, true, true};
    const RenderElements grey{true, true, false, false, false, false};
    auto channel = makeChannelGrid(40, 20);
    auto noise = makeNoiseGrid(30, 20, 9);
    auto stagnant = makeStagnantGrid(24, 16);
    for (const RenderElements& elements : {everything, grey}) {
        for (const auto& [grid, k] : {std::pair{channel.get(), 4}, std::pair{noise.get(), 5},
                                      std::pair{stagnant.get(), 3}, std::pair{channel.get(), 1},
                                      std::pair{channel.get(), 13}, std::pair{noise.get(), 20}}) {
            const std::vector<float> single = composeWith(1, *grid, k, elements);
            for (int threads : {2, 3, 7})
                EXPECT_TRUE(sameBits(composeWith(threads, *grid, k, elements), single))
                    << threads << " threads, " << grid->NX << " x " << grid->NY << " at k = " << k;
        }
    }
}

// More threads than rows: the bands run out before the threads do.
TEST_F(RenderThreadsTest, TinyPicturesWithManyThreadsMatchTheReference)
{
    auto grid = makeNoiseGrid(6, 5, 3);
    setRenderThreadCount(8);
    allocateFrameImage(6, 5);
    ASSERT_TRUE(composeFrame(*grid, 6, 5, 1, RenderElements{true, true, true, true, true, true}));
    const ReferencePicture reference =
        referenceCompose(*grid, 6, 5, 1, ReferenceElements{true, true, true, true, true, true});
    for (int c = 0; c < 3; ++c)
        for (int row = 0; row < 5; ++row) {
            const float* mine = c == 0 ? redRow(row) : c == 1 ? greenRow(row) : blueRow(row);
            ASSERT_EQ(std::memcmp(mine, reference.plane[c][row].data(), 6 * sizeof(float)), 0) << c << "," << row;
        }
}

}  // namespace
