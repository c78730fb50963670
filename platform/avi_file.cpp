#include "platform/avi_file.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <new>
#include <vector>

#include "platform/av_library.h"
#include "platform/avi_header_patch.h"
#include "platform/frame_encoder.h"
#include "platform/packed_dib.h"
#include "platform/platform_constants.h"

namespace {
constexpr int32_t textFormatBytes = 4;
constexpr int32_t noFault = -1;

// One stream of the file with what it needs to take samples.
struct StreamSlot {
    AviStreamInfo info;
    AVStream* stream = nullptr;
    bool compressing = false;
    CompressOptions options;
    bool formatted = false;
    BitmapInfoHeader bitmapHeader{};  // the video format as set
    int32_t textFormat = 0;           // the text format as set
    std::unique_ptr<FrameEncoder> encoder;
    int64_t nextFree = 0;  // first position after the last written sample
    int32_t writesBeforeFault = noFault;
};
}  // namespace

// The open file behind every handle; completed when the last handle goes.
struct AviContainer {
    std::string path;
    AVFormatContext* format = nullptr;
    std::vector<StreamSlot> slots;
    bool headerWritten = false;
    bool headerFailed = false;
    AVPacket* packet = nullptr;

    ~AviContainer();
    // Writes the file header once every stream has its format.
    AviResult writeHeader();
    // Index, trailer, close; the result of completing the file.
    AviResult complete();
    // Rewrites a stream's header where the library differs from the given one.
    bool restoreHeader(const StreamSlot& slot) const;
};

struct AviFile {
    std::shared_ptr<AviContainer> container;
};

struct AviStream {
    std::shared_ptr<AviContainer> container;
    size_t slot = 0;
    bool compressed = false;
};

namespace {
// The slot of a stream handle.
StreamSlot& slotOf(AviStream* stream)
{
    return stream->container->slots[stream->slot];
}

// Reads the 40-byte header and checks it describes a 24-bit bottom-up RGB
// bitmap that fits the stream's frame rectangle.
bool acceptBitmapHeader(const StreamSlot& slot, const void* format, int32_t size, BitmapInfoHeader& header)
{
    if (size < platform_constants::bitmapHeaderBytes)
        return false;
    std::memcpy(&header, format, sizeof header);
    const int32_t frameWidth = slot.info.frame.right - slot.info.frame.left;
    const int32_t frameHeight = slot.info.frame.bottom - slot.info.frame.top;
    return header.biSize == static_cast<uint32_t>(platform_constants::bitmapHeaderBytes) &&
           header.biPlanes == 1 && header.biBitCount == platform_constants::bitsPerPixel &&
           header.biCompression == platform_constants::bitmapRgb && header.biWidth > 0 &&
           header.biHeight > 0 && header.biWidth == frameWidth && header.biHeight == frameHeight;
}

// Video: opens the compressor for the bitmap; text: a data stream.
AviResult setVideoFormat(StreamSlot& slot, const void* format, int32_t size)
{
    BitmapInfoHeader header{};
    if (!acceptBitmapHeader(slot, format, size, header))
        return avi_result::badFormat;
    CompressOptions options = slot.compressing ? slot.options : CompressOptions();
    slot.encoder = FrameEncoder::open(options, header.biWidth, header.biHeight,
                                      static_cast<int32_t>(slot.info.rate / slot.info.scale));
    if (!slot.encoder)
        return avi_result::noCompressor;
    if (!slot.encoder->describe(slot.stream->codecpar))
        return avi_result::badFormat;
    slot.bitmapHeader = makeBitmapHeader(header.biWidth, header.biHeight);
    return avi_result::ok;
}

// Sends one packet at position (in samples) to the container.
AviResult writePacket(AVFormatContext* format, StreamSlot& slot, AVPacket* packet, int64_t position)
{
    const AVRational sampleTime{static_cast<int>(slot.info.scale), static_cast<int>(slot.info.rate)};
    packet->stream_index = slot.stream->index;
    packet->pts = av().av_rescale_q(position, sampleTime, slot.stream->time_base);
    packet->dts = packet->pts;
    packet->duration = av().av_rescale_q(1, sampleTime, slot.stream->time_base);
    packet->flags |= AV_PKT_FLAG_KEY;
    return av().av_write_frame(format, packet) < 0 ? avi_result::fileWrite : avi_result::ok;
}

// The container fills a gap between two samples with empty ones, but not
// one before the first: an empty sample at position 0 starts the stream, so
// the first picture keeps its position.
AviResult writeLeadingGap(AVFormatContext* format, StreamSlot& slot)
{
    AVPacket* empty = av().av_packet_alloc();
    if (!empty)
        return avi_result::memory;
    const AviResult result = writePacket(format, slot, empty, 0);
    av().av_packet_free(&empty);
    return result;
}

}  // namespace

// Completes the file if no one did.
AviContainer::~AviContainer()
{
    complete();
    av().av_packet_free(&packet);
}

// The container needs every stream's parameters before its header.
AviResult AviContainer::writeHeader()
{
    if (headerWritten)
        return avi_result::ok;
    if (headerFailed)
        return avi_result::fileWrite;
    for (const StreamSlot& slot : slots)
        if (!slot.formatted)
            return avi_result::badFormat;
    if (av().avformat_write_header(format, nullptr) < 0) {
        headerFailed = true;
        return avi_result::fileWrite;
    }
    headerWritten = true;
    return avi_result::ok;
}

// Puts back what the library wrote its own way: the header of stored
// bitmaps, the text stream's header and format.
bool AviContainer::restoreHeader(const StreamSlot& slot) const
{
    if (slot.info.fccType == streamTypeText)
        return restoreTextStream(path, slot.stream->index, slot.info, slot.textFormat);
    if (slot.encoder && slot.encoder->storesBitmaps())
        return restoreBitmapFormat(path, slot.stream->index, slot.bitmapHeader);
    return true;
}

// A file whose streams all have their formats gets its header even without
// samples; every file is closed.
AviResult AviContainer::complete()
{
    if (!format)
        return avi_result::ok;
    AviResult result = avi_result::ok;
    if (!headerWritten && !headerFailed)
        writeHeader();
    if (headerWritten && av().av_write_trailer(format) < 0)
        result = avi_result::fileWrite;
    else if (!headerWritten)
        result = avi_result::fileWrite;
    if (av().avio_closep(&format->pb) < 0)
        result = avi_result::fileWrite;
    for (StreamSlot& slot : slots) {
        if (headerWritten && slot.formatted && !restoreHeader(slot))
            result = avi_result::fileWrite;
        slot.encoder.reset();
    }
    av().avformat_free_context(format);
    format = nullptr;
    return result;
}

// Stands in for the library version check: 0 when the video libraries
// cannot be loaded, which the callers already report.
uint32_t videoForWindowsVersion()
{
    return avLibrary() ? platform_constants::videoLibraryVersion : 0;
}

// Loads the video libraries; their failures come back as result codes, so
// their own log stays silent.
void aviFileInit()
{
    avLibrary();
}

// Creates the AVI file at once, so a name that cannot be written fails here.
AviResult aviFileOpen(AviFile** file, const char* name, uint32_t mode)
{
    using namespace platform_constants;
    if (!file || !name || (mode & (openWrite | openCreate)) != (openWrite | openCreate))
        return avi_result::badParameter;
    *file = nullptr;
    if (!avLibrary())
        return avi_result::noLibrary;
    auto container = std::make_shared<AviContainer>();
    container->path = name;
    container->packet = av().av_packet_alloc();
    if (!container->packet)
        return avi_result::memory;
    if (av().avformat_alloc_output_context2(&container->format, nullptr, "avi", name) < 0)
        return avi_result::memory;
    if (av().avio_open(&container->format->pb, name, AVIO_FLAG_WRITE) < 0) {
        av().avformat_free_context(container->format);
        container->format = nullptr;
        return avi_result::fileOpen;
    }
    *file = new (std::nothrow) AviFile{container};
    return *file ? avi_result::ok : avi_result::memory;
}

// Video and text streams; the container has no text streams of its own, so
// a text stream becomes a data stream that never holds a sample.
AviResult aviFileCreateStream(AviFile* file, AviStream** stream, const AviStreamInfo& info)
{
    if (!file || !stream || info.scale == 0 || info.rate == 0)
        return avi_result::badParameter;
    *stream = nullptr;
    AviContainer& container = *file->container;
    if (!container.format || container.headerWritten ||
        (info.fccType != streamTypeVideo && info.fccType != streamTypeText))
        return avi_result::badParameter;
    AVStream* created = av().avformat_new_stream(container.format, nullptr);
    if (!created)
        return avi_result::memory;
    created->time_base = AVRational{static_cast<int>(info.scale), static_cast<int>(info.rate)};
    created->codecpar->codec_type = info.fccType == streamTypeVideo ? AVMEDIA_TYPE_VIDEO : AVMEDIA_TYPE_DATA;
    StreamSlot slot;
    slot.info = info;
    slot.stream = created;
    container.slots.push_back(std::move(slot));
    *stream = new (std::nothrow) AviStream{file->container, container.slots.size() - 1, false};
    return *stream ? avi_result::ok : avi_result::memory;
}

// The compressed stream shares the video stream's slot and sets its codec.
AviResult aviMakeCompressedStream(AviStream** compressed, AviStream* source, const CompressOptions& options)
{
    if (!compressed || !source)
        return avi_result::badParameter;
    *compressed = nullptr;
    StreamSlot& slot = slotOf(source);
    if (slot.info.fccType != streamTypeVideo || slot.formatted || slot.compressing)
        return avi_result::badParameter;
    if (!compressorAvailable(options.compressor))
        return avi_result::noCompressor;
    slot.compressing = true;
    slot.options = options;
    *compressed = new (std::nothrow) AviStream{source->container, source->slot, true};
    return *compressed ? avi_result::ok : avi_result::memory;
}

// A format is set once, at position 0, before the first sample.
AviResult aviStreamSetFormat(AviStream* stream, int32_t position, const void* format, int32_t size)
{
    if (!stream || !format || position != 0)
        return avi_result::badParameter;
    StreamSlot& slot = slotOf(stream);
    if (slot.formatted || stream->container->headerWritten || !stream->container->format)
        return avi_result::badParameter;
    AviResult result = avi_result::ok;
    if (slot.info.fccType == streamTypeVideo)
        result = setVideoFormat(slot, format, size);
    else if (size != textFormatBytes)
        result = avi_result::badFormat;
    else
        std::memcpy(&slot.textFormat, format, sizeof slot.textFormat);
    slot.formatted = result == avi_result::ok;
    return result;
}

// Samples go to a video stream with a format, one at a time; positions
// before the next free one are moved up to it.
AviResult aviStreamWrite(AviStream* stream, int32_t position, int32_t samples, const void* data,
                         int32_t bytes, uint32_t flags)
{
    (void)flags;  // every compressor here makes key frames only
    if (!stream || !data || samples != 1 || position < 0)
        return avi_result::badParameter;
    AviContainer& container = *stream->container;
    StreamSlot& slot = slotOf(stream);
    if (!container.format || slot.info.fccType != streamTypeVideo || !slot.formatted)
        return avi_result::badParameter;
    if (bytes < slot.encoder->imageBytes())
        return avi_result::badParameter;
    if (slot.writesBeforeFault == 0)
        return avi_result::fileWrite;
    AviResult result = container.writeHeader();
    if (result == avi_result::ok)
        result = slot.encoder->encode(static_cast<const uint8_t*>(data), container.packet);
    const int64_t placed = position < slot.nextFree ? slot.nextFree : position;
    if (result == avi_result::ok && slot.nextFree == 0 && placed > 0)
        result = writeLeadingGap(container.format, slot);
    if (result == avi_result::ok)
        result = writePacket(container.format, slot, container.packet, placed);
    av().av_packet_unref(container.packet);
    if (result != avi_result::ok)
        return result;
    slot.nextFree = placed + 1;
    if (slot.writesBeforeFault > 0)
        --slot.writesBeforeFault;
    return avi_result::ok;
}

// The last handle completes the file.
void aviStreamRelease(AviStream* stream)
{
    delete stream;
}

// Completes the file now unless a stream handle still holds it.
AviResult aviFileRelease(AviFile* file)
{
    if (!file)
        return avi_result::badParameter;
    std::shared_ptr<AviContainer> container = std::move(file->container);
    delete file;
    if (container.use_count() > 1)
        return avi_result::ok;
    return container->complete();
}

// Counts down the writes that still succeed.
void aviStreamFailWritesAfter(AviStream* stream, int32_t successfulWrites)
{
    if (stream)
        slotOf(stream).writesBeforeFault = successfulWrites < 0 ? noFault : successfulWrites;
}
