// PackedDib: one zero-filled block holding a bitmap header, its colour table
// and the pixel rows of a device-independent bitmap (bottom-up rows,
// blue-green-red, each row padded with zeros to a multiple of 4 bytes).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

class DrawSurface;

// The 40-byte header that starts every packed bitmap.
struct BitmapInfoHeader {
    uint32_t biSize;
    int32_t biWidth;
    int32_t biHeight;
    uint16_t biPlanes;
    uint16_t biBitCount;
    uint32_t biCompression;
    uint32_t biSizeImage;
    int32_t biXPelsPerMeter;
    int32_t biYPelsPerMeter;
    uint32_t biClrUsed;
    uint32_t biClrImportant;
};
static_assert(sizeof(BitmapInfoHeader) == 40, "the bitmap header is 40 bytes");

// A packed bitmap as one block of memory.
struct PackedDib {
    std::unique_ptr<uint8_t[]> block;
    size_t size = 0;

    // The header at the start of the block.
    BitmapInfoHeader* header() { return reinterpret_cast<BitmapInfoHeader*>(block.get()); }
    const BitmapInfoHeader* header() const
    {
        return reinterpret_cast<const BitmapInfoHeader*>(block.get());
    }
    // First byte of the lowest pixel row, after the header and colour table.
    uint8_t* pixels();
    const uint8_t* pixels() const;
};

// Bytes of one stored row of a 24-bit bitmap: ((width * 24 + 31) div 32) * 4.
int64_t dibRowBytes(int32_t width);
// Entries of the colour table: 2^bitCount up to 8 bits per pixel, else none.
int32_t dibColourTableEntries(int32_t bitCount);
// The 24-bit header for width x height (positive height: bottom-up rows).
BitmapInfoHeader makeBitmapHeader(int32_t width, int32_t height);
// A zero-filled block for the header, the colour table and the pixels of a
// 24-bit width x height bitmap; null when the size is not positive, too large
// for the 32-bit size fields, or the memory cannot be obtained.
std::unique_ptr<PackedDib> allocatePackedDib(int32_t width, int32_t height);
// Copies the surface's pixels into the bitmap's rows (bottom-up, blue-green-
// red), for the common part of both sizes; padding bytes are left as they are.
void copySurfaceToDib(const DrawSurface& surface, PackedDib& dib);
