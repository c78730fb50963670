// Conversion of bottom-up bitmaps into the compressors' input formats.
#include <gtest/gtest.h>

#include <vector>

#include "platform/packed_dib.h"
#include "platform/pixel_convert.h"

namespace {
// A 3 x 3 bitmap (odd both ways), pixel (x, y) from the top given by colour().
struct SmallBitmap {
    static constexpr int32_t width = 3;
    static constexpr int32_t height = 3;
    std::unique_ptr<PackedDib> dib = allocatePackedDib(width, height);

    static uint8_t colour(int x, int y, int channel) { return static_cast<uint8_t>(10 * x + 40 * y + 100 * channel); }

    SmallBitmap()
    {
        const int64_t row = dibRowBytes(width);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                uint8_t* p = dib->pixels() + (height - 1 - y) * row + 3 * x;
                p[0] = colour(x, y, 2);  // blue
                p[1] = colour(x, y, 1);  // green
                p[2] = colour(x, y, 0);  // red
            }
    }

    BitmapSource source() const { return BitmapSource{dib->pixels(), dibRowBytes(width), width, height}; }
};
}  // namespace

TEST(PixelConvert, JpegColoursAtTheCornersOfTheCube)
{
    EXPECT_EQ(jpegLuma(0, 0, 0), 0);
    EXPECT_EQ(jpegLuma(255, 255, 255), 255);
    EXPECT_EQ(jpegBlueChroma(255, 255, 255, 1), 128);
    EXPECT_EQ(jpegRedChroma(0, 0, 0, 1), 128);
    EXPECT_EQ(jpegBlueChroma(0, 0, 255, 1), 255);  // 256 before the clamp
    EXPECT_EQ(jpegRedChroma(255, 0, 0, 1), 255);
    EXPECT_EQ(jpegBlueChroma(255, 255, 0, 1), 1);  // 128 - 127.5 rounds up
    EXPECT_EQ(jpegRedChroma(0, 255, 255, 1), 1);
    EXPECT_EQ(jpegLuma(255, 0, 0), 76);   // 0.299 * 255
    EXPECT_EQ(jpegLuma(0, 255, 0), 150);  // 0.587 * 255
    // Sums of n equal pixels give that pixel's chroma.
    EXPECT_EQ(jpegBlueChroma(4 * 30, 4 * 90, 4 * 200, 4), jpegBlueChroma(30, 90, 200, 1));
    EXPECT_EQ(jpegRedChroma(2 * 250, 2 * 10, 2 * 5, 2), jpegRedChroma(250, 10, 5, 1));
}

TEST(PixelConvert, Yuv420AveragesOnlyThePixelsABlockHas)
{
    SmallBitmap bitmap;
    std::vector<uint8_t> y(3 * 3, 0xEE), cb(2 * 2, 0xEE), cr(2 * 2, 0xEE);
    convertToYuv420(bitmap.source(), {y.data(), 3}, {cb.data(), 2}, {cr.data(), 2});
    for (int row = 0; row < 3; ++row)
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(y[row * 3 + x], jpegLuma(SmallBitmap::colour(x, row, 0), SmallBitmap::colour(x, row, 1),
                                               SmallBitmap::colour(x, row, 2)));
    // The bottom-right block holds the single pixel (2, 2).
    const int r = SmallBitmap::colour(2, 2, 0), g = SmallBitmap::colour(2, 2, 1), b = SmallBitmap::colour(2, 2, 2);
    EXPECT_EQ(cb[3], jpegBlueChroma(r, g, b, 1));
    EXPECT_EQ(cr[3], jpegRedChroma(r, g, b, 1));
    // The top-left block holds four.
    int sr = 0, sg = 0, sb = 0;
    for (int row = 0; row < 2; ++row)
        for (int x = 0; x < 2; ++x) {
            sr += SmallBitmap::colour(x, row, 0);
            sg += SmallBitmap::colour(x, row, 1);
            sb += SmallBitmap::colour(x, row, 2);
        }
    EXPECT_EQ(cb[0], jpegBlueChroma(sr, sg, sb, 4));
    EXPECT_EQ(cr[0], jpegRedChroma(sr, sg, sb, 4));
}

TEST(PixelConvert, RgbFormatsKeepEveryByteTopDown)
{
    SmallBitmap bitmap;
    std::vector<uint8_t> g(3 * 4), b(3 * 4), r(3 * 4), packed(3 * 16, 0xEE);
    convertToGbrPlanar(bitmap.source(), {g.data(), 4}, {b.data(), 4}, {r.data(), 4});
    convertToBgr0(bitmap.source(), {packed.data(), 16});
    for (int row = 0; row < 3; ++row)
        for (int x = 0; x < 3; ++x) {
            EXPECT_EQ(r[row * 4 + x], SmallBitmap::colour(x, row, 0));
            EXPECT_EQ(g[row * 4 + x], SmallBitmap::colour(x, row, 1));
            EXPECT_EQ(b[row * 4 + x], SmallBitmap::colour(x, row, 2));
            EXPECT_EQ(packed[row * 16 + 4 * x + 0], SmallBitmap::colour(x, row, 2));
            EXPECT_EQ(packed[row * 16 + 4 * x + 1], SmallBitmap::colour(x, row, 1));
            EXPECT_EQ(packed[row * 16 + 4 * x + 2], SmallBitmap::colour(x, row, 0));
            EXPECT_EQ(packed[row * 16 + 4 * x + 3], 0);
        }
}
