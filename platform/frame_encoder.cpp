#include "platform/frame_encoder.h"

#include <cstring>

#include "platform/av_library.h"
#include "platform/packed_dib.h"
#include "platform/pixel_convert.h"
#include "platform/platform_constants.h"

namespace {
// Codec and input pixel format of a compressor.
struct CodecChoice {
    AVCodecID codec;
    AVPixelFormat format;
};

// Motion JPEG takes full-range 4:2:0; the lossless ones take planar or
// packed RGB, so nothing is lost in the conversion.
CodecChoice choiceFor(Compressor compressor)
{
    switch (compressor) {
    case Compressor::FullFrames: return {AV_CODEC_ID_RAWVIDEO, AV_PIX_FMT_BGR24};
    case Compressor::MotionJpeg: return {AV_CODEC_ID_MJPEG, AV_PIX_FMT_YUVJ420P};
    case Compressor::Ffv1: return {AV_CODEC_ID_FFV1, AV_PIX_FMT_BGR0};
    case Compressor::UtVideo: return {AV_CODEC_ID_UTVIDEO, AV_PIX_FMT_GBRP};
    }
    return {AV_CODEC_ID_NONE, AV_PIX_FMT_NONE};
}

// scale = worst - (worst - best) * quality / 100, quality clamped to 0..100.
int jpegScale(int32_t quality)
{
    using namespace platform_constants;
    const int q = quality < minQuality ? minQuality : (quality > maxQuality ? maxQuality : quality);
    return worstJpegScale - (worstJpegScale - bestJpegScale) * q / maxQuality;
}
}  // namespace

// Full frames need only the sizes; the rest open a codec.
std::unique_ptr<FrameEncoder> FrameEncoder::open(const CompressOptions& options, int32_t width,
                                                 int32_t height, int32_t rate)
{
    if (width <= 0 || height <= 0 || rate <= 0 || choiceFor(options.compressor).codec == AV_CODEC_ID_NONE)
        return nullptr;
    std::unique_ptr<FrameEncoder> encoder(new FrameEncoder);
    encoder->compressor = options.compressor;
    encoder->width = width;
    encoder->height = height;
    encoder->rowBytes = dibRowBytes(width);
    encoder->frameBytes = encoder->rowBytes * height;
    if (options.compressor != Compressor::FullFrames && !encoder->openCodec(options, rate))
        return nullptr;
    return encoder;
}

// Frees the codec, the frame and the converter.
FrameEncoder::~FrameEncoder()
{
    av().avcodec_free_context(&codec);
    av().av_frame_free(&frame);
}

// One thread and bit-exact mode: the same file on every machine.
bool FrameEncoder::openCodec(const CompressOptions& options, int32_t rate)
{
    const CodecChoice choice = choiceFor(options.compressor);
    const AVCodec* found = av().avcodec_find_encoder(choice.codec);
    if (!found)
        return false;
    codec = av().avcodec_alloc_context3(found);
    if (!codec)
        return false;
    codec->width = width;
    codec->height = height;
    codec->pix_fmt = choice.format;
    codec->time_base = AVRational{1, rate};
    codec->thread_count = 1;
    codec->flags |= AV_CODEC_FLAG_BITEXACT;
    if (options.compressor == Compressor::MotionJpeg) {
        codec->flags |= AV_CODEC_FLAG_QSCALE;
        codec->global_quality = FF_QP2LAMBDA * jpegScale(options.quality);
        codec->color_range = AVCOL_RANGE_JPEG;
    }
    if (av().avcodec_open2(codec, found, nullptr) < 0)
        return false;
    frame = av().av_frame_alloc();
    if (!frame)
        return false;
    frame->format = choice.format;
    frame->width = width;
    frame->height = height;
    frame->quality = codec->global_quality;
    return av().av_frame_get_buffer(frame, 0) >= 0;
}

// Full frames: rawvideo with no fourcc, 24 bits, rows bottom-up as stored.
bool FrameEncoder::describe(AVCodecParameters* parameters) const
{
    if (codec)
        return av().avcodec_parameters_from_context(parameters, codec) >= 0;
    parameters->codec_type = AVMEDIA_TYPE_VIDEO;
    parameters->codec_id = AV_CODEC_ID_RAWVIDEO;
    parameters->codec_tag = 0;
    parameters->format = AV_PIX_FMT_BGR24;
    parameters->bits_per_coded_sample = platform_constants::bitsPerPixel;
    parameters->width = width;
    parameters->height = height;
    return true;
}

// Into the codec's pixel format, top row first.
bool FrameEncoder::convert(const uint8_t* pixels)
{
    if (av().av_frame_make_writable(frame) < 0)
        return false;
    const BitmapSource source{pixels, rowBytes, width, height};
    auto plane = [this](int i) { return PlaneTarget{frame->data[i], frame->linesize[i]}; };
    switch (compressor) {
    case Compressor::MotionJpeg: convertToYuv420(source, plane(0), plane(1), plane(2)); break;
    case Compressor::UtVideo: convertToGbrPlanar(source, plane(0), plane(1), plane(2)); break;
    case Compressor::Ffv1: convertToBgr0(source, plane(0)); break;
    case Compressor::FullFrames: return false;
    }
    return true;
}

// One bitmap in, one key-frame packet out.
AviResult FrameEncoder::encode(const uint8_t* pixels, AVPacket* packet)
{
    av().av_packet_unref(packet);
    if (!codec) {
        if (av().av_new_packet(packet, static_cast<int>(frameBytes)) < 0)
            return avi_result::memory;
        std::memcpy(packet->data, pixels, static_cast<size_t>(frameBytes));
        packet->flags |= AV_PKT_FLAG_KEY;
        return avi_result::ok;
    }
    if (!convert(pixels))
        return avi_result::compress;
    if (av().avcodec_send_frame(codec, frame) < 0 || av().avcodec_receive_packet(codec, packet) < 0)
        return avi_result::compress;
    return avi_result::ok;
}
