// Fixed values of the platform layer (AVI container, compressors, text).
#pragma once

#include <cstdint>

namespace platform_constants {
// Version reported in place of the video library's: major 1, minor 10 in the
// upper 16 bits.
constexpr uint32_t videoLibraryVersion = 0x010A0000u;

// Open modes of aviFileOpen (combine with |).
constexpr uint32_t openWrite = 0x0001u;
constexpr uint32_t openCreate = 0x1000u;

// Sample flag of aviStreamWrite: the sample is a key frame.
constexpr uint32_t sampleKeyFrame = 0x10u;

// Size of the bitmap header that starts a packed bitmap, in bytes.
constexpr int32_t bitmapHeaderBytes = 40;
// Uncompressed RGB bitmaps (biCompression).
constexpr uint32_t bitmapRgb = 0;
// Bits per pixel of every bitmap the program writes.
constexpr int32_t bitsPerPixel = 24;

// Title text: font family asked of fontconfig first, then the generic one.
constexpr const char* textFontFamily = "DejaVu Sans Mono";
constexpr const char* textFallbackFamily = "monospace";
// Height of the text em square, in pixels; a line is about 17 pixels high,
// which keeps lines placed 20 pixels apart from touching.
constexpr int textPixelSize = 14;

// Motion JPEG quality range offered to the user, in percent.
constexpr int minQuality = 0;
constexpr int maxQuality = 100;
// JPEG quantiser scale at quality 100 (best) and 0 (worst).
constexpr int bestJpegScale = 2;
constexpr int worstJpegScale = 31;
// Quality preselected in the compressor dialog, in percent.
constexpr int defaultQuality = 85;
}  // namespace platform_constants
