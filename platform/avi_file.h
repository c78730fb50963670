// The AVI container: files, streams and their samples, written through the
// FFmpeg libraries. Handles are counted references; the file is completed
// (index and trailer written, file closed) when its last handle is released.
//
// Sample positions count in units of scale / rate seconds from the start of
// the stream. A write that skips positions leaves the previous picture on
// screen for them (the container stores empty samples); a write at or
// before the last written position goes to the next free one.
#pragma once

#include <cstdint>

#include "platform/avi_result.h"
#include "platform/compress_options.h"

struct AviFile;
struct AviStream;

// Four-character code, first character in the lowest byte.
constexpr uint32_t makeFourCc(char a, char b, char c, char d)
{
    return static_cast<uint32_t>(static_cast<uint8_t>(a)) |
           static_cast<uint32_t>(static_cast<uint8_t>(b)) << 8 |
           static_cast<uint32_t>(static_cast<uint8_t>(c)) << 16 |
           static_cast<uint32_t>(static_cast<uint8_t>(d)) << 24;
}

constexpr uint32_t streamTypeVideo = makeFourCc('v', 'i', 'd', 's');
constexpr uint32_t streamTypeText = makeFourCc('t', 'x', 't', 's');

// A rectangle in pixels.
struct AviRect {
    int32_t left;
    int32_t top;
    int32_t right;
    int32_t bottom;
};

// The header a stream is created with.
struct AviStreamInfo {
    uint32_t fccType = 0;
    uint32_t fccHandler = 0;
    uint32_t scale = 0;   // seconds per sample = scale / rate
    uint32_t rate = 0;
    uint32_t suggestedBufferSize = 0;  // bytes
    AviRect frame{0, 0, 0, 0};
};

// The version of the video library: major and minor in the upper 16 bits.
uint32_t videoForWindowsVersion();
// Loads the video libraries; harmless to call more than once.
void aviFileInit();
// Creates the file name for writing (mode openWrite | openCreate).
AviResult aviFileOpen(AviFile** file, const char* name, uint32_t mode);
// Adds a video ("vids") or text ("txts") stream; its samples are 1 / rate
// seconds apart when scale is 1.
AviResult aviFileCreateStream(AviFile* file, AviStream** stream, const AviStreamInfo& info);
// A stream that compresses what is written to it into the video stream
// source with the chosen compressor.
AviResult aviMakeCompressedStream(AviStream** compressed, AviStream* source, const CompressOptions& options);
// Sets a stream's format at position 0: a 40-byte 24-bit bitmap header for
// video, a 4-byte value for text.
AviResult aviStreamSetFormat(AviStream* stream, int32_t position, const void* format, int32_t size);
// Writes one sample (the pixel rows of a bitmap of the stream's format) at
// position; flags may hold sampleKeyFrame.
AviResult aviStreamWrite(AviStream* stream, int32_t position, int32_t samples, const void* data,
                         int32_t bytes, uint32_t flags);
// Drops a stream handle.
void aviStreamRelease(AviStream* stream);
// Drops the file handle; once no stream handle remains either, the file is
// completed. Reports whether completing it succeeded (ok if it is still held).
AviResult aviFileRelease(AviFile* file);

// Fault injection for tests: after the given number of further successful
// writes, every write to this stream fails with fileWrite and writes nothing.
void aviStreamFailWritesAfter(AviStream* stream, int32_t successfulWrites);
