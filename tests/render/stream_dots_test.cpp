// A run of stream dots on one pixel against the same number of single
// dots, from starting values of every kind.
#include "frame_image.h"
#include "stream_dots.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

namespace {

// All three planes as one list of values, to compare bit for bit.
std::vector<float> snapshot()
{
    std::vector<float> values;
    for (int row = 0; row < frameHeight(); ++row)
        for (const float* plane : {redRow(row), greenRow(row), blueRow(row)})
            values.insert(values.end(), plane, plane + frameWidth());
    return values;
}

void restore(const std::vector<float>& values)
{
    FramePlanes planes = framePlanes();
    size_t at = 0;
    for (int row = 0; row < frameHeight(); ++row)
        for (float** plane : {planes.red, planes.green, planes.blue})
            for (int column = 0; column < frameWidth(); ++column)
                plane[row][column] = values[at++];
}

bool sameBits(const std::vector<float>& a, const std::vector<float>& b)
{
    return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(float)) == 0;
}

// Fills the picture with values drawn from the given pool.
void fillFrom(const std::vector<float>& pool, std::mt19937& random)
{
    std::uniform_int_distribution<size_t> pick(0, pool.size() - 1);
    FramePlanes planes = framePlanes();
    for (int row = 0; row < frameHeight(); ++row)
        for (float** plane : {planes.red, planes.green, planes.blue})
            for (int column = 0; column < frameWidth(); ++column)
                plane[row][column] = pool[pick(random)];
}

TEST(StreamDots, RunEqualsSingleDotsForEveryKindOfStartingValue)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    const std::vector<float> pool = {0.0f, -0.0f, 1e-40f, 0.1f, 1.78f, 17.3f, 127.99f, 128.0f,
                                     200.5f, 254.0f, 254.9f, 255.0f, 256.0f, 1e9f, -3.5f, -300.0f,
                                     nan, inf, -inf};
    std::mt19937 random(5);
    allocateFrameImage(9, 7);
    for (int trial = 0; trial < 200; ++trial) {
        fillFrom(pool, random);
        const int column = 2 + trial % 6;  // 2..7, the last plotted column
        const int row = 2 + trial % 5;     // 2..6, the last plotted row
        const int count = 1 + (trial * 37) % 400;
        const std::vector<float> start = snapshot();
        for (int dot = 0; dot < count; ++dot)
            addStreamDot(column, row);
        const std::vector<float> oneByOne = snapshot();
        restore(start);
        plotStreamDots(framePlanes(), column, row, count);
        ASSERT_TRUE(sameBits(snapshot(), oneByOne)) << "trial " << trial << " count " << count;
    }
    releaseFrameImage();
}

TEST(StreamDots, RunInTheMarginOrOfNoDotsChangesNothing)
{
    allocateFrameImage(9, 7);
    const std::vector<float> before = snapshot();
    FramePlanes planes = framePlanes();
    plotStreamDots(planes, 1, 3, 50);
    plotStreamDots(planes, 8, 3, 50);
    plotStreamDots(planes, 4, 6, 50);
    plotStreamDots(planes, 4, 3, 0);
    EXPECT_TRUE(sameBits(snapshot(), before));
    releaseFrameImage();
}

}  // namespace
