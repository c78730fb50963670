// The picture's own operations: allocation, readers, fills, additive plots.
#include "render/frame_image.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

class FrameImageTest : public ::testing::Test {
protected:
    FrameImage image{20, 10};

    float redValue(int column, int row) { return image.redRow(row)[column]; }

    // Sets one pixel of all planes directly.
    void setPixel(int column, int row, float value)
    {
        FramePlanes planes = image.planes();
        planes.red[row][column] = value;
        planes.green[row][column] = value;
        planes.blue[row][column] = value;
    }

    // Red summed over the whole picture and over some columns.
    float redTotal(int firstColumn, int lastColumn)
    {
        float total = 0.0f;
        for (int row = 0; row < image.height(); ++row)
            for (int column = firstColumn; column <= lastColumn; ++column)
                total += image.redRow(row)[column];
        return total;
    }
};

TEST(FrameImageLifetime, AllocationZeroes)
{
    FrameImage image(160, 80);
    EXPECT_EQ(image.width(), 160);
    EXPECT_EQ(image.height(), 80);
    for (int row = 0; row < 80; ++row)
        for (int column = 0; column < 160; ++column)
            ASSERT_EQ(image.redRow(row)[column] + image.greenRow(row)[column] + image.blueRow(row)[column], 0.0f);
    image.fillRect(0, 0, 159, 79, 9, 9, 9);
    image.allocate(30, 20);  // again, without a release in between
    EXPECT_EQ(image.width(), 30);
    EXPECT_EQ(image.pixelRed(5, 5), 0);
    image.release();
    EXPECT_EQ(image.width(), 0);
    EXPECT_EQ(image.height(), 0);
    EXPECT_EQ(image.pixelRed(5, 5), 0);  // nothing to read any more, and no crash
    EXPECT_EQ(image.redRow(5), nullptr);
}

TEST_F(FrameImageTest, ReadersTruncateTowardZero)
{
    FramePlanes planes = image.planes();
    planes.red[3][7] = 254.9f;
    planes.green[3][7] = 0.7f;
    planes.blue[3][7] = -3.9f;
    EXPECT_EQ(image.pixelRed(7, 3), 254);
    EXPECT_EQ(image.pixelGreen(7, 3), 0);
    EXPECT_EQ(image.pixelBlue(7, 3), -3);
    EXPECT_EQ(image.pixelRed(3, 7), 0);  // the transposed position is untouched
    planes.red[1][1] = std::numeric_limits<float>::quiet_NaN();
    planes.green[1][1] = 1e20f;
    EXPECT_EQ(image.pixelRed(1, 1), 0);
    EXPECT_EQ(image.pixelGreen(1, 1), std::numeric_limits<int>::max());
    EXPECT_EQ(image.pixelRed(-1, 0), 0);
    EXPECT_EQ(image.pixelRed(20, 0), 0);
}

TEST_F(FrameImageTest, FillClampsIntoThePictureAndSkipsEmptyRectangles)
{
    image.fillRect(-5, -5, 2, 1, 90, 91, 92);
    EXPECT_EQ(image.pixelRed(0, 0), 90);
    EXPECT_EQ(image.pixelGreen(2, 1), 91);
    EXPECT_EQ(image.pixelBlue(1, 0), 92);
    EXPECT_EQ(image.pixelRed(3, 1), 0);
    EXPECT_EQ(image.pixelRed(2, 2), 0);
    image.fillRect(18, 8, 400, 400, 7, 7, 7);
    EXPECT_EQ(image.pixelRed(19, 9), 7);
    EXPECT_EQ(image.pixelRed(18, 8), 7);
    EXPECT_EQ(image.pixelRed(17, 9), 0);
    image.fillRect(10, 5, 9, 5, 1, 1, 1);  // x0 > x1: nothing
    image.fillRect(30, 5, 40, 5, 3, 3, 3);  // both beyond: clamped onto column 19
    EXPECT_EQ(image.pixelRed(9, 5) + image.pixelRed(10, 5), 0);
    EXPECT_EQ(image.pixelRed(19, 5), 3);
    EXPECT_EQ(image.pixelRed(18, 5), 0);
}

TEST_F(FrameImageTest, ClearSetsTheInclusiveRectangleAndNothingOutsideIt)
{
    image.fillRect(0, 0, 19, 9, 200, 200, 200);
    image.clearRect(1, 1, 19, 9, 0);
    EXPECT_EQ(image.pixelRed(0, 0), 200);
    EXPECT_EQ(image.pixelRed(0, 5), 200);
    EXPECT_EQ(image.pixelBlue(5, 0), 200);
    EXPECT_EQ(image.pixelGreen(1, 1), 0);
    EXPECT_EQ(image.pixelGreen(19, 9), 0);
    image.clearRect(10, 5, 9, 5, 99);  // x0 > x1: nothing
    EXPECT_EQ(image.pixelRed(9, 5) + image.pixelRed(10, 5), 0);
    image.clearRect(-3, -3, 40, 40, 12);  // beyond the picture: only the inside is set
    EXPECT_EQ(image.pixelRed(0, 0), 12);
    EXPECT_EQ(image.pixelRed(19, 9), 12);
}

TEST_F(FrameImageTest, AddPixelAddsSeventyEightPercentInDoubleAndStoresAFloat)
{
    setPixel(5, 5, 0.1f);
    image.addPixel(5, 5, 100, 1, 255);
    EXPECT_EQ(redValue(5, 5), static_cast<float>(static_cast<double>(0.1f) + 0.78 * 100));
    EXPECT_EQ(image.greenRow(5)[5], static_cast<float>(static_cast<double>(0.1f) + 0.78));
    EXPECT_EQ(image.blueRow(5)[5], static_cast<float>(static_cast<double>(0.1f) + 0.78 * 255));
    // Colour arguments are held to 0..255 before the factor.
    image.addPixel(7, 5, 1000, -50, 256);
    EXPECT_EQ(redValue(7, 5), static_cast<float>(0.78 * 255));
    EXPECT_EQ(image.greenRow(5)[7], 0.0f);
    EXPECT_EQ(image.blueRow(5)[7], static_cast<float>(0.78 * 255));
    // Two full plots saturate at 255.
    image.addPixel(7, 5, 255, 0, 0);
    EXPECT_EQ(redValue(7, 5), 255.0f);
}

TEST_F(FrameImageTest, AddPixelSaturatesTheFourNeighboursButNotTheDiagonals)
{
    image.fillRect(4, 4, 6, 6, 300, 300, 300);
    image.addPixel(5, 5, 0, 0, 0);
    EXPECT_EQ(redValue(5, 5), 255.0f);
    EXPECT_EQ(redValue(5, 4), 255.0f);
    EXPECT_EQ(redValue(5, 6), 255.0f);
    EXPECT_EQ(redValue(4, 5), 255.0f);
    EXPECT_EQ(redValue(6, 5), 255.0f);
    EXPECT_EQ(redValue(4, 4), 300.0f);
    EXPECT_EQ(redValue(6, 6), 300.0f);

    // Values above 255 set by a clear, and a later clear within range that
    // leaves some of them: the neighbours still saturate.
    image.clearRect(10, 3, 14, 7, 400);
    image.clearRect(1, 1, 11, 8, 0);
    image.addPixel(12, 5, 0, 0, 0);
    EXPECT_EQ(redValue(13, 5), 255.0f);
    EXPECT_EQ(redValue(12, 4), 255.0f);
    EXPECT_EQ(redValue(13, 4), 400.0f);
    image.addPixel(7, 5, 0, 0, 0);  // no neighbour above 255: nothing changes
    EXPECT_EQ(redValue(7, 5), 0.0f);
    EXPECT_EQ(redValue(6, 5), 0.0f);
}

TEST_F(FrameImageTest, PlotsSkipTheMargin)
{
    // W = 20, H = 10: columns 2..18 and rows 2..8 take plots.
    const int outside[][2] = {{1, 5}, {19, 5}, {5, 1}, {5, 9}, {0, 0}, {-4, 5}, {5, 40}};
    for (const auto& p : outside) {
        image.addPixel(p[0], p[1], 255, 255, 255);
        image.addStreamDot(p[0], p[1]);
    }
    for (int row = 0; row < 10; ++row)
        for (int column = 0; column < 20; ++column)
            ASSERT_EQ(redValue(column, row), 0.0f) << column << "," << row;
    image.addPixel(2, 2, 100, 0, 0);
    image.addPixel(18, 8, 100, 0, 0);
    EXPECT_GT(redValue(2, 2), 0.0f);
    EXPECT_GT(redValue(18, 8), 0.0f);
}

TEST_F(FrameImageTest, StreamDotIsAWhitePlusThatSaturatesAfter144Dots)
{
    image.addStreamDot(10, 5);
    EXPECT_EQ(redValue(10, 5), static_cast<float>(1.7800000000000002));
    EXPECT_EQ(image.greenRow(5)[10], static_cast<float>(1.7800000000000002));
    EXPECT_EQ(image.blueRow(4)[10], static_cast<float>(0.17800000000000002));
    EXPECT_EQ(redValue(9, 5), static_cast<float>(0.17800000000000002));
    EXPECT_EQ(redValue(11, 5), static_cast<float>(0.17800000000000002));
    EXPECT_EQ(redValue(10, 6), static_cast<float>(0.17800000000000002));
    EXPECT_EQ(redValue(11, 6), 0.0f);
    for (int dot = 2; dot <= 143; ++dot)
        image.addStreamDot(10, 5);
    EXPECT_LT(redValue(10, 5), 255.0f);
    image.addStreamDot(10, 5);
    EXPECT_EQ(redValue(10, 5), 255.0f);
    for (int dot = 0; dot < 2000; ++dot)
        image.addStreamDot(10, 5);
    EXPECT_EQ(redValue(10, 5), 255.0f);
    EXPECT_EQ(image.blueRow(6)[10], 255.0f);
}

TEST_F(FrameImageTest, LineHasOneHundredDotsAndLeavesItsEndPointOut)
{
    // One pixel long: all 100 dots land on column 2, none on the end. The
    // row, (1 - t) 5 + t 5, is not always exactly 5 and may truncate to 4.
    image.drawLine(2, 5, 3, 5, 1, 0, 0);
    EXPECT_NEAR(redTotal(0, 19), 78.0f, 1e-3);
    EXPECT_NEAR(redTotal(2, 2), 78.0f, 1e-3);
    EXPECT_GT(redValue(2, 5), 70.0f);
    image.allocate(20, 10);
    // Ten pixels long: every column from the start up to the end is reached.
    image.drawLine(2, 7, 12, 7, 1, 0, 0);
    for (int column = 2; column <= 11; ++column)
        EXPECT_GT(redTotal(column, column), 0.0f) << column;
    EXPECT_NEAR(redTotal(0, 19), 78.0f, 1e-3);
    EXPECT_EQ(redTotal(12, 19), 0.0f);
    EXPECT_EQ(redTotal(0, 1), 0.0f);
    // A point-like line puts all 100 dots on at most a few pixels: saturated.
    image.drawLine(8, 3, 8, 3, 55, 55, 55);
    EXPECT_EQ(std::max(image.pixelRed(8, 3), image.pixelRed(7, 3)), 255);
}

}  // namespace
