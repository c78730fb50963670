#include "frame_encoder.h"

#include <cstring>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/frame.h>
#include <libswscale/swscale.h>
}

#include "packed_dib.h"
#include "platform_constants.h"

namespace {
// Codec and input pixel format of a compressor.
struct CodecChoice {
    AVCodecID codec;
    AVPixelFormat format;
};

// Motion JPEG takes full-range 4:4:4 (subsampled chroma smears the last
// column of an odd width); the lossless ones take planar or
// packed RGB, so nothing is lost in the conversion.
CodecChoice choiceFor(Compressor compressor)
{
    switch (compressor) {
    case Compressor::FullFrames: return {AV_CODEC_ID_RAWVIDEO, AV_PIX_FMT_BGR24};
    case Compressor::MotionJpeg: return {AV_CODEC_ID_MJPEG, AV_PIX_FMT_YUVJ444P};
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
    avcodec_free_context(&codec);
    av_frame_free(&frame);
    sws_freeContext(converter);
}

// One thread and bit-exact mode: the same file on every machine.
bool FrameEncoder::openCodec(const CompressOptions& options, int32_t rate)
{
    const CodecChoice choice = choiceFor(options.compressor);
    const AVCodec* found = avcodec_find_encoder(choice.codec);
    if (!found)
        return false;
    codec = avcodec_alloc_context3(found);
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
    if (avcodec_open2(codec, found, nullptr) < 0)
        return false;
    frame = av_frame_alloc();
    if (!frame)
        return false;
    frame->format = choice.format;
    frame->width = width;
    frame->height = height;
    frame->quality = codec->global_quality;
    if (av_frame_get_buffer(frame, 0) < 0)
        return false;
    converter = sws_getContext(width, height, AV_PIX_FMT_BGR24, width, height, choice.format,
                               SWS_POINT | SWS_ACCURATE_RND | SWS_BITEXACT, nullptr, nullptr, nullptr);
    return converter != nullptr;
}

// Full frames: rawvideo with no fourcc, 24 bits, rows bottom-up as stored.
bool FrameEncoder::describe(AVCodecParameters* parameters) const
{
    if (codec)
        return avcodec_parameters_from_context(parameters, codec) >= 0;
    parameters->codec_type = AVMEDIA_TYPE_VIDEO;
    parameters->codec_id = AV_CODEC_ID_RAWVIDEO;
    parameters->codec_tag = 0;
    parameters->format = AV_PIX_FMT_BGR24;
    parameters->bits_per_coded_sample = platform_constants::bitsPerPixel;
    parameters->width = width;
    parameters->height = height;
    return true;
}

// The last stored row is the top of the picture: read from there upward.
bool FrameEncoder::convert(const uint8_t* pixels)
{
    if (av_frame_make_writable(frame) < 0)
        return false;
    const uint8_t* source[1] = {pixels + (height - 1) * rowBytes};
    const int sourceStride[1] = {-static_cast<int>(rowBytes)};
    return sws_scale(converter, source, sourceStride, 0, height, frame->data, frame->linesize) == height;
}

// One bitmap in, one key-frame packet out.
AviResult FrameEncoder::encode(const uint8_t* pixels, AVPacket* packet)
{
    av_packet_unref(packet);
    if (!codec) {
        if (av_new_packet(packet, static_cast<int>(frameBytes)) < 0)
            return avi_result::memory;
        std::memcpy(packet->data, pixels, static_cast<size_t>(frameBytes));
        packet->flags |= AV_PKT_FLAG_KEY;
        return avi_result::ok;
    }
    if (!convert(pixels))
        return avi_result::compress;
    if (avcodec_send_frame(codec, frame) < 0 || avcodec_receive_packet(codec, packet) < 0)
        return avi_result::compress;
    return avi_result::ok;
}
