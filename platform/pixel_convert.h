// Conversions of 24-bit bottom-up bitmap rows (blue, green, red; rows
// padded) into the top-down input formats of the compressors. Integer
// arithmetic only, so every machine makes the same bytes.
#pragma once

#include <cstdint>

// Where one plane of the output goes.
struct PlaneTarget {
    uint8_t* data;
    int stride;  // bytes from one row to the next
};

// A bitmap to convert: width x height pixels, rowBytes per stored row,
// the lowest picture row first.
struct BitmapSource {
    const uint8_t* pixels;
    int64_t rowBytes;
    int32_t width;
    int32_t height;

    // The stored row that holds picture row y (0 = top).
    const uint8_t* pictureRow(int32_t y) const { return pixels + (height - 1 - y) * rowBytes; }
};

// Full-range luma of one pixel:
//   Y = (19595 R + 38470 G + 7471 B + 32768) >> 16
uint8_t jpegLuma(int red, int green, int blue);
// Full-range chroma of the sums of n pixels (n = 1, 2 or 4):
//   Cb = (-11059 sR - 21709 sG + 32768 sB + n (128 * 65536 + 32768)) / (65536 n)
//   Cr = ( 32768 sR - 27439 sG -  5329 sB + n (128 * 65536 + 32768)) / (65536 n)
// both at most 255.
uint8_t jpegBlueChroma(int sumRed, int sumGreen, int sumBlue, int n);
uint8_t jpegRedChroma(int sumRed, int sumGreen, int sumBlue, int n);

// Full-range Y, Cb, Cr with chroma of 2 x 2 pixel blocks (4:2:0); a block
// at an odd right or bottom edge averages the pixels it has.
void convertToYuv420(const BitmapSource& source, PlaneTarget y, PlaneTarget cb, PlaneTarget cr);
// Planar green, blue, red.
void convertToGbrPlanar(const BitmapSource& source, PlaneTarget green, PlaneTarget blue, PlaneTarget red);
// Packed blue, green, red, zero.
void convertToBgr0(const BitmapSource& source, PlaneTarget target);
