// Result codes of the AVI container operations: 0 is success, every failure
// is negative.
#pragma once

#include <cstdint>

using AviResult = int32_t;

namespace avi_result {
constexpr AviResult ok = 0;
constexpr AviResult badParameter = -1;   // null handle, bad position, size
constexpr AviResult fileOpen = -2;       // the file could not be created
constexpr AviResult badFormat = -3;      // a format the stream cannot take
constexpr AviResult noCompressor = -4;   // the chosen compressor is missing
constexpr AviResult compress = -5;       // the compressor refused a frame
constexpr AviResult fileWrite = -6;      // the container refused a write
constexpr AviResult memory = -7;         // memory could not be obtained
constexpr AviResult noLibrary = -8;      // the video libraries could not be loaded
}  // namespace avi_result
