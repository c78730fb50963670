#include "platform/compress_options.h"

#include "platform/av_library.h"

namespace {
// Codec of the library behind each compressor.
AVCodecID codecOf(Compressor compressor)
{
    switch (compressor) {
    case Compressor::FullFrames: return AV_CODEC_ID_RAWVIDEO;
    case Compressor::MotionJpeg: return AV_CODEC_ID_MJPEG;
    case Compressor::Ffv1: return AV_CODEC_ID_FFV1;
    case Compressor::UtVideo: return AV_CODEC_ID_UTVIDEO;
    }
    return AV_CODEC_ID_NONE;
}
}  // namespace

// Index order equals the enumeration's values.
Compressor compressorAt(int index)
{
    return static_cast<Compressor>(index);
}

// Names of the compressor list.
const char* compressorName(Compressor compressor)
{
    switch (compressor) {
    case Compressor::FullFrames: return "Full Frames (Uncompressed)";
    case Compressor::MotionJpeg: return "Motion JPEG";
    case Compressor::Ffv1: return "FFV1 (lossless)";
    case Compressor::UtVideo: return "Ut Video (lossless)";
    }
    return "";
}

// Full frames need no encoder; the others need one in the codec library.
bool compressorAvailable(Compressor compressor)
{
    if (compressor == Compressor::FullFrames)
        return true;
    const AVCodecID id = codecOf(compressor);
    const AvLibrary* library = avLibrary();
    return library && id != AV_CODEC_ID_NONE && library->avcodec_find_encoder(id) != nullptr;
}
