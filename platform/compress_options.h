// CompressOptions: the compressor chosen for an AVI video stream and its
// quality. All zero means full, uncompressed frames.
#pragma once

#include <cstdint>
#include <functional>

enum class Compressor : uint32_t {
    FullFrames = 0,  // the 24-bit bottom-up bitmap stored as it is
    MotionJpeg = 1,  // lossy, quality 0..100
    Ffv1 = 2,        // lossless
    UtVideo = 3,     // lossless
};

constexpr int compressorCount = 4;

struct CompressOptions {
    Compressor compressor = Compressor::FullFrames;
    int32_t quality = 0;  // percent; used by Motion JPEG only
};

// The compressor with index i (0 .. compressorCount - 1) in the order above.
Compressor compressorAt(int index);
// The name shown to the user.
const char* compressorName(Compressor compressor);
// True when the compressor is known and this machine's codec library has it.
bool compressorAvailable(Compressor compressor);

// Picks the compressor for a new file: fills the options and returns true,
// or returns false when the user cancels.
using CompressorChooser = std::function<bool(CompressOptions& options)>;
