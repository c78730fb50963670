// A run of stream dots on one pixel against the same number of single
// dots, from starting values of every kind.
#include "render/frame_image.h"
#include "render/stream_dots.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

namespace {

// All three planes as one list of values, to compare bit for bit.
std::vector<float> snapshot(const FrameImage& image)
{
    std::vector<float> values;
    for (int row = 0; row < image.height(); ++row)
        for (const float* plane : {image.redRow(row), image.greenRow(row), image.blueRow(row)})
            values.insert(values.end(), plane, plane + image.width());
    return values;
}

void restore(FrameImage& image, const std::vector<float>& values)
{
    FramePlanes planes = image.planes();
    size_t at = 0;
    for (int row = 0; row < image.height(); ++row)
        for (float** plane : {planes.red, planes.green, planes.blue})
            for (int column = 0; column < image.width(); ++column)
                plane[row][column] = values[at++];
}

bool sameBits(const std::vector<float>& a, const std::vector<float>& b)
{
    return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(float)) == 0;
}

// Fills the picture with values drawn from the given pool.
void fillFrom(FrameImage& image, const std::vector<float>& pool, std::mt19937& random)
{
    std::uniform_int_distribution<size_t> pick(0, pool.size() - 1);
    FramePlanes planes = image.planes();
    for (int row = 0; row < image.height(); ++row)
        for (float** plane : {planes.red, planes.green, planes.blue})
            for (int column = 0; column < image.width(); ++column)
                plane[row][column] = pool[pick(random)];
}

TEST(StreamDots, RunEqualsSingleDotsForEveryKindOfStartingValue)
{
    FrameImage image(9, 7);
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    const std::vector<float> pool = {0.0f, -0.0f, 1e-40f, 0.1f, 1.78f, 17.3f, 127.99f, 128.0f,
                                     200.5f, 254.0f, 254.9f, 255.0f, 256.0f, 1e9f, -3.5f, -300.0f,
                                     nan, inf, -inf};
    std::mt19937 random(5);
    for (int trial = 0; trial < 200; ++trial) {
        fillFrom(image, pool, random);
        const int column = 2 + trial % 6;  // 2..7, the last plotted column
        const int row = 2 + trial % 5;     // 2..6, the last plotted row
        const int count = 1 + (trial * 37) % 2300;
        const std::vector<float> start = snapshot(image);
        for (int dot = 0; dot < count; ++dot)
            image.addStreamDot(column, row);
        const std::vector<float> oneByOne = snapshot(image);
        restore(image, start);
        plotStreamDots(image.planes(), column, row, count);
        ASSERT_TRUE(sameBits(snapshot(image), oneByOne)) << "trial " << trial << " count " << count;
    }
}

// A value a whole number of one dot's steps below the end of its binade,
// where a run lands on the end exactly.
float stepsBelowABinadeEnd(std::mt19937& random)
{
    const float bottom = std::ldexp(1.0f, static_cast<int>(random() % 10) - 3);  // 1/8 .. 64
    const double increment = random() % 2 ? 1.7800000000000002 : 0.17800000000000002;
    const float step = static_cast<float>(bottom + increment) - bottom;
    const float value = 2 * bottom - static_cast<float>(1 + random() % 40) * step;
    return value >= bottom ? value : bottom;
}

// Values a picture holds (0 .. 255): any bits there, the ends of the
// binades with their neighbours, where runs cross from one to the next,
// and whole steps below the ends.
float valueInRange(std::mt19937& random)
{
    static const std::vector<float> edges = [] {
        std::vector<float> values = {0.0f, -0.0f, 1e-40f, 255.0f, std::nextafter(255.0f, 0.0f)};
        for (float edge = 0x1p-10f; edge <= 128.0f; edge *= 2)
            values.insert(values.end(), {edge, std::nextafter(edge, 0.0f), std::nextafter(edge, 300.0f)});
        return values;
    }();
    std::uniform_int_distribution<uint32_t> anyBits(0, 0x437F0000u);  // 0 .. 255
    std::uniform_int_distribution<size_t> anyEdge(0, edges.size() - 1);
    if (random() % 4 == 0)
        return edges[anyEdge(random)];
    if (random() % 3 == 0)
        return stepsBelowABinadeEnd(random);
    const uint32_t bits = anyBits(random);
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

// Runs on pictures of 0 .. 255, which take whole binades in single moves:
// every value of the cross ends on the bits of dot after dot, for short
// runs and runs as long as a path, in three planes and in the red plane of
// a grey picture.
TEST(StreamDots, RunsOnValuesOfAPictureEqualSingleDots)
{
    struct Case {
        bool grey;
        int shortest, longest;
    };
    for (const Case& c : {Case{false, 2, 40}, Case{true, 2, 40}, Case{false, 41, 2300}, Case{true, 41, 2300}}) {
        FrameImage image(6, 6);
        std::mt19937 random(c.longest + c.grey);
        std::uniform_int_distribution<int> anyCount(c.shortest, c.longest);
        for (int trial = 0; trial < 3000; ++trial) {
            FramePlanes planes = image.planes();
            for (int row = 0; row < 6; ++row)
                for (int column = 0; column < 6; ++column) {
                    planes.red[row][column] = valueInRange(random);
                    planes.green[row][column] = c.grey ? planes.red[row][column] : valueInRange(random);
                    planes.blue[row][column] = c.grey ? planes.red[row][column] : valueInRange(random);
                }
            const int count = anyCount(random);
            const std::vector<float> start = snapshot(image);
            for (int dot = 0; dot < count; ++dot)
                image.addStreamDot(3, 3);
            const std::vector<float> oneByOne = snapshot(image);
            restore(image, start);
            if (c.grey)
                planes.green = planes.blue = nullptr;
            plotStreamDots(planes, 3, 3, count);
            if (c.grey) {
                for (int row = 0; row < 6; ++row)
                    ASSERT_EQ(std::memcmp(image.redRow(row), oneByOne.data() + 18 * row, 6 * sizeof(float)), 0)
                        << "grey, trial " << trial << " count " << count << " row " << row;
            } else {
                ASSERT_TRUE(sameBits(snapshot(image), oneByOne)) << "trial " << trial << " count " << count;
            }
        }
    }
}

TEST(StreamDots, RunInTheMarginOrOfNoDotsChangesNothing)
{
    FrameImage image(9, 7);
    const std::vector<float> before = snapshot(image);
    FramePlanes planes = image.planes();
    plotStreamDots(planes, 1, 3, 50);
    plotStreamDots(planes, 8, 3, 50);
    plotStreamDots(planes, 4, 6, 50);
    plotStreamDots(planes, 4, 3, 0);
    EXPECT_TRUE(sameBits(snapshot(image), before));
}

// One value, count single additions: the definition a long run must meet.
float addOneByOne(float value, double increment, int count)
{
    for (int n = 0; n < count; ++n) {
        value = static_cast<float>(value + increment);
        if (value > 255.0f)
            value = 255.0f;
    }
    return value;
}

bool sameFloat(float a, float b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// Long runs cross whole binades in one move; every starting value, every
// length and both increments must end on the very bits of single additions.
TEST(StreamDots, LongRunsCrossBinadesWithTheBitsOfSingleAdditions)
{
    std::mt19937 random(11);
    std::uniform_real_distribution<float> anyValue(0.0f, 256.0f);
    std::uniform_int_distribution<uint32_t> anyBits(0, 0x43800000u);  // 0 .. 256 as bit patterns
    std::uniform_int_distribution<int> anyCount(1, 2300);
    for (double increment : {1.7800000000000002, 0.17800000000000002}) {
        for (int trial = 0; trial < 20000; ++trial) {
            float start;
            if (trial % 2) {
                start = anyValue(random);
            } else {
                const uint32_t bits = anyBits(random);
                std::memcpy(&start, &bits, sizeof start);
            }
            const int count = anyCount(random);
            ASSERT_TRUE(sameFloat(addRepeatedly(start, increment, count), addOneByOne(start, increment, count)))
                << start << " + " << increment << " x " << count;
        }
        // Binade edges and the values just below them.
        for (float edge = 0.125f; edge <= 256.0f; edge *= 2)
            for (float start : {edge, std::nextafter(edge, 0.0f), std::nextafter(edge, 300.0f)})
                for (int count : {1, 2, 3, 7, 100, 700, 1500, 2300})
                    ASSERT_TRUE(sameFloat(addRepeatedly(start, increment, count), addOneByOne(start, increment, count)))
                        << start << " + " << increment << " x " << count;
    }
}

TEST(StreamDots, LongRunsKeepNaNAndSaturateInfinityAndNegatives)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    EXPECT_TRUE(std::isnan(addRepeatedly(nan, 1.7800000000000002, 1000)));
    EXPECT_EQ(addRepeatedly(std::numeric_limits<float>::infinity(), 0.17800000000000002, 1000), 255.0f);
    for (float start : {-300.0f, -3.5f, -0.0f, 1e-40f})
        EXPECT_TRUE(sameFloat(addRepeatedly(start, 0.17800000000000002, 2300),
                              addOneByOne(start, 0.17800000000000002, 2300))) << start;
    // Runs just long enough, or a dot short, to reach 255 from anywhere in
    // -256 .. 256.
    for (double increment : {1.7800000000000002, 0.17800000000000002})
        for (float start = -256.0f; start <= 256.0f; start += 3.25f) {
            const int reach = static_cast<int>(std::ceil((255.0 - start) / increment));
            for (int count = std::max(1, reach - 3); count <= reach + 3; ++count)
                ASSERT_TRUE(sameFloat(addRepeatedly(start, increment, count), addOneByOne(start, increment, count)))
                    << start << " + " << increment << " x " << count;
        }
}

}  // namespace
