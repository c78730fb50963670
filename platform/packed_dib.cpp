#include "platform/packed_dib.h"

#include <algorithm>
#include <limits>
#include <new>

#include "platform/draw_surface.h"
#include "platform/platform_constants.h"

using platform_constants::bitmapHeaderBytes;
using platform_constants::bitsPerPixel;

namespace {
constexpr int64_t colourEntryBytes = 4;
constexpr int64_t bytesPerPixel = 3;

// Bytes of the header and the colour table that come before the pixels.
int64_t pixelOffset(const BitmapInfoHeader& header)
{
    return header.biSize + colourEntryBytes * dibColourTableEntries(header.biBitCount);
}
}  // namespace

// First byte of the pixel rows.
uint8_t* PackedDib::pixels()
{
    return block.get() + pixelOffset(*header());
}

// First byte of the pixel rows, read-only.
const uint8_t* PackedDib::pixels() const
{
    return block.get() + pixelOffset(*header());
}

// row = ((width * 24 + 31) div 32) * 4
int64_t dibRowBytes(int32_t width)
{
    return ((static_cast<int64_t>(width) * bitsPerPixel + 31) / 32) * 4;
}

// 2^bitCount entries for palette bitmaps, none for true colour.
int32_t dibColourTableEntries(int32_t bitCount)
{
    return bitCount <= 8 ? (1 << bitCount) : 0;
}

// Header of a 24-bit bitmap; biSizeImage = row length * height.
BitmapInfoHeader makeBitmapHeader(int32_t width, int32_t height)
{
    BitmapInfoHeader header{};
    header.biSize = bitmapHeaderBytes;
    header.biWidth = width;
    header.biHeight = height;
    header.biPlanes = 1;
    header.biBitCount = bitsPerPixel;
    header.biCompression = platform_constants::bitmapRgb;
    header.biSizeImage = static_cast<uint32_t>(dibRowBytes(width) * height);
    return header;
}

// Header, colour table and pixels in one zero-filled block.
std::unique_ptr<PackedDib> allocatePackedDib(int32_t width, int32_t height)
{
    if (width <= 0 || height <= 0)
        return nullptr;
    const int64_t imageBytes = dibRowBytes(width) * height;
    const int64_t total = bitmapHeaderBytes + colourEntryBytes * dibColourTableEntries(bitsPerPixel) +
                          imageBytes;
    if (total > std::numeric_limits<int32_t>::max())
        return nullptr;
    auto dib = std::unique_ptr<PackedDib>(new (std::nothrow) PackedDib);
    if (!dib)
        return nullptr;
    dib->block.reset(new (std::nothrow) uint8_t[static_cast<size_t>(total)]());
    if (!dib->block)
        return nullptr;
    dib->size = static_cast<size_t>(total);
    *dib->header() = makeBitmapHeader(width, height);
    return dib;
}

// Stored row r holds picture row height - 1 - r; bytes go blue, green, red.
void copySurfaceToDib(const DrawSurface& surface, PackedDib& dib)
{
    const BitmapInfoHeader& header = *dib.header();
    const int32_t width = std::min(surface.width(), header.biWidth);
    const int32_t height = std::min(surface.height(), header.biHeight);
    const int64_t rowBytes = dibRowBytes(header.biWidth);
    uint8_t* pixels = dib.pixels();
    for (int32_t y = 0; y < height; ++y) {
        const uint8_t* source = surface.row(y);
        uint8_t* target = pixels + (header.biHeight - 1 - y) * rowBytes;
        for (int32_t x = 0; x < width; ++x) {
            target[bytesPerPixel * x + 0] = source[bytesPerPixel * x + 2];
            target[bytesPerPixel * x + 1] = source[bytesPerPixel * x + 1];
            target[bytesPerPixel * x + 2] = source[bytesPerPixel * x + 0];
        }
    }
}
