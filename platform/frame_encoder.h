// FrameEncoder: compresses 24-bit bottom-up bitmaps into the samples of one
// AVI video stream with the chosen compressor. Full frames are stored as
// they come; the others are converted to the compressor's pixel format
// (top-down) first.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/avi_result.h"
#include "platform/compress_options.h"

struct AVCodecContext;
struct AVCodecParameters;
struct AVFrame;
struct AVPacket;

class FrameEncoder {
public:
    // An encoder for width x height frames at rate frames per second; null
    // when the compressor is missing or refuses the size.
    static std::unique_ptr<FrameEncoder> open(const CompressOptions& options, int32_t width,
                                              int32_t height, int32_t rate);
    ~FrameEncoder();
    FrameEncoder(const FrameEncoder&) = delete;
    FrameEncoder& operator=(const FrameEncoder&) = delete;

    // Describes the samples to the container.
    bool describe(AVCodecParameters* parameters) const;
    // True when samples are the input bitmaps unchanged.
    bool storesBitmaps() const { return codec == nullptr; }
    // Bytes of one input bitmap's pixel rows.
    int64_t imageBytes() const { return frameBytes; }
    // Compresses the pixel rows of one bitmap (imageBytes() bytes, rows
    // bottom-up) into packet.
    AviResult encode(const uint8_t* pixels, AVPacket* packet);

private:
    FrameEncoder() = default;
    // Opens the codec and its input frame for a compressed format.
    bool openCodec(const CompressOptions& options, int32_t rate);
    // Converts the bottom-up rows into the top-down frame of the codec.
    bool convert(const uint8_t* pixels);

    Compressor compressor = Compressor::FullFrames;
    int32_t width = 0;
    int32_t height = 0;
    int64_t rowBytes = 0;
    int64_t frameBytes = 0;
    AVCodecContext* codec = nullptr;  // none for full frames
    AVFrame* frame = nullptr;
};
