// The picture's passes on several threads: the picture has the same bits
// with any number of threads.
#include "render/compose_frame.h"
#include "render/frame_image.h"

#include "reference_render.h"
#include "test_grids.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

// The whole picture, channel by channel, as bytes.
std::vector<float> pictureValues(const FrameImage& image)
{
    std::vector<float> values;
    for (int row = 0; row < image.height(); ++row)
        for (const float* plane : {image.redRow(row), image.greenRow(row), image.blueRow(row)})
            values.insert(values.end(), plane, plane + image.width());
    return values;
}

std::vector<float> composeWith(int threads, const SimGrid& grid, int k, const RenderElements& elements)
{
    FrameImage image(k * grid.NX, k * grid.NY);
    image.setThreads(threads);
    EXPECT_TRUE(FrameComposer().compose(image, grid, grid.NX, grid.NY, k, elements));
    return pictureValues(image);
}

bool sameBits(const std::vector<float>& a, const std::vector<float>& b)
{
    return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(float)) == 0;
}

// Pictures of a few hundred rows too, which the fields split among threads.
TEST(RenderThreads, PicturesHaveTheSameBitsWithAnyNumberOfThreads)
{
    const RenderElements everything{true, true, true, true, true, true, {}};
    const RenderElements grey{true, true, false, false, false, false, {}};
    // Vectors alone, which cross the bands of rows the threads draw.
    const RenderElements vectors{false, false, false, false, false, true, {}};
    auto channel = makeChannelGrid(40, 20);
    auto noise = makeNoiseGrid(30, 20, 9);
    auto stagnant = makeStagnantGrid(24, 16);
    for (const RenderElements& elements : {everything, grey, vectors}) {
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
TEST(RenderThreads, TinyPicturesWithManyThreadsMatchTheReference)
{
    auto grid = makeNoiseGrid(6, 5, 3);
    FrameImage image(6, 5);
    image.setThreads(8);
    ASSERT_TRUE(FrameComposer().compose(image, *grid, 6, 5, 1, RenderElements{true, true, true, true, true, true, {}}));
    const ReferencePicture reference =
        referenceCompose(*grid, 6, 5, 1, ReferenceElements{true, true, true, true, true, true});
    for (int c = 0; c < 3; ++c)
        for (int row = 0; row < 5; ++row) {
            const float* mine = c == 0 ? image.redRow(row) : c == 1 ? image.greenRow(row) : image.blueRow(row);
            ASSERT_EQ(std::memcmp(mine, reference.plane[c][row].data(), 6 * sizeof(float)), 0) << c << "," << row;
        }
}

}  // namespace
