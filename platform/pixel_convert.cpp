#include "platform/pixel_convert.h"

namespace {
constexpr int fixedOne = 65536;
constexpr int chromaOffset = 128 * fixedOne + fixedOne / 2;  // centre plus rounding
constexpr int maxByte = 255;

// Clamp from above; the formulas never go below 0.
uint8_t atMost255(int value)
{
    return static_cast<uint8_t>(value > maxByte ? maxByte : value);
}

// Sums of red, green and blue over a block of pixels.
struct ColourSum {
    int red = 0;
    int green = 0;
    int blue = 0;
    int count = 0;

    // Adds the pixel at column x of a stored row.
    void add(const uint8_t* row, int32_t x)
    {
        blue += row[3 * x + 0];
        green += row[3 * x + 1];
        red += row[3 * x + 2];
        ++count;
    }
};

// Luma of one picture row.
void lumaRow(const uint8_t* row, int32_t width, uint8_t* target)
{
    for (int32_t x = 0; x < width; ++x)
        target[x] = jpegLuma(row[3 * x + 2], row[3 * x + 1], row[3 * x + 0]);
}
}  // namespace

// Y = (19595 R + 38470 G + 7471 B + 32768) >> 16
uint8_t jpegLuma(int red, int green, int blue)
{
    return atMost255((19595 * red + 38470 * green + 7471 * blue + fixedOne / 2) >> 16);
}

// Cb = (-11059 sR - 21709 sG + 32768 sB + n offset) / (65536 n)
uint8_t jpegBlueChroma(int sumRed, int sumGreen, int sumBlue, int n)
{
    return atMost255((-11059 * sumRed - 21709 * sumGreen + 32768 * sumBlue + n * chromaOffset) / (fixedOne * n));
}

// Cr = (32768 sR - 27439 sG - 5329 sB + n offset) / (65536 n)
uint8_t jpegRedChroma(int sumRed, int sumGreen, int sumBlue, int n)
{
    return atMost255((32768 * sumRed - 27439 * sumGreen - 5329 * sumBlue + n * chromaOffset) / (fixedOne * n));
}

// Luma per pixel, chroma per 2 x 2 block of the picture (top-down).
void convertToYuv420(const BitmapSource& source, PlaneTarget y, PlaneTarget cb, PlaneTarget cr)
{
    for (int32_t row = 0; row < source.height; ++row)
        lumaRow(source.pictureRow(row), source.width, y.data + static_cast<int64_t>(row) * y.stride);
    for (int32_t blockRow = 0; 2 * blockRow < source.height; ++blockRow) {
        const uint8_t* upper = source.pictureRow(2 * blockRow);
        const uint8_t* lower = 2 * blockRow + 1 < source.height ? source.pictureRow(2 * blockRow + 1) : nullptr;
        uint8_t* blueTarget = cb.data + static_cast<int64_t>(blockRow) * cb.stride;
        uint8_t* redTarget = cr.data + static_cast<int64_t>(blockRow) * cr.stride;
        for (int32_t blockColumn = 0; 2 * blockColumn < source.width; ++blockColumn) {
            ColourSum sum;
            for (int32_t x = 2 * blockColumn; x < 2 * blockColumn + 2 && x < source.width; ++x) {
                sum.add(upper, x);
                if (lower)
                    sum.add(lower, x);
            }
            blueTarget[blockColumn] = jpegBlueChroma(sum.red, sum.green, sum.blue, sum.count);
            redTarget[blockColumn] = jpegRedChroma(sum.red, sum.green, sum.blue, sum.count);
        }
    }
}

// Each channel into its own plane.
void convertToGbrPlanar(const BitmapSource& source, PlaneTarget green, PlaneTarget blue, PlaneTarget red)
{
    for (int32_t row = 0; row < source.height; ++row) {
        const uint8_t* pixels = source.pictureRow(row);
        uint8_t* g = green.data + static_cast<int64_t>(row) * green.stride;
        uint8_t* b = blue.data + static_cast<int64_t>(row) * blue.stride;
        uint8_t* r = red.data + static_cast<int64_t>(row) * red.stride;
        for (int32_t x = 0; x < source.width; ++x) {
            b[x] = pixels[3 * x + 0];
            g[x] = pixels[3 * x + 1];
            r[x] = pixels[3 * x + 2];
        }
    }
}

// Four bytes per pixel, the fourth zero.
void convertToBgr0(const BitmapSource& source, PlaneTarget target)
{
    for (int32_t row = 0; row < source.height; ++row) {
        const uint8_t* pixels = source.pictureRow(row);
        uint8_t* out = target.data + static_cast<int64_t>(row) * target.stride;
        for (int32_t x = 0; x < source.width; ++x) {
            out[4 * x + 0] = pixels[3 * x + 0];
            out[4 * x + 1] = pixels[3 * x + 1];
            out[4 * x + 2] = pixels[3 * x + 2];
            out[4 * x + 3] = 0;
        }
    }
}
