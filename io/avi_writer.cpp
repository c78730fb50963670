#include "io/avi_writer.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "io/avi_constants.h"
#include "io/avi_messages.h"
#include "io/avi_pixel.h"
#include "io/avi_title.h"
#include "platform/draw_surface.h"
#include "platform/platform_constants.h"

namespace {
constexpr uint32_t requiredVersion = 0x010A;  // 1.10, upper 16 bits
constexpr int32_t channels = 3;

// Without a dialog every file gets full frames.
bool chooseFullFrames(CompressOptions& options)
{
    options = CompressOptions();
    return true;
}

// Video header: 50 frames per second, the first frame's size as buffer.
AviStreamInfo videoStreamInfo(const AviOutput::State& output)
{
    AviStreamInfo info;
    info.fccType = streamTypeVideo;
    info.fccHandler = 0;
    info.scale = avi_constants::frameScale;
    info.rate = avi_constants::frameRate;
    info.suggestedBufferSize = output.currentDib->header()->biSizeImage;
    info.frame = AviRect{0, 0, output.width, output.height};
    return info;
}

// Text header: "txts" drawn by "DRAW", 60 per second, below the picture.
AviStreamInfo textStreamInfo(const AviOutput::State& output)
{
    AviStreamInfo info;
    info.fccType = streamTypeText;
    info.fccHandler = avi_constants::textHandler;
    info.scale = avi_constants::textScale;
    info.rate = avi_constants::textRate;
    info.suggestedBufferSize = avi_constants::textBufferBytes;
    info.frame = AviRect{0, output.height, output.width, output.height + avi_constants::textRectHeight};
    return info;
}

// One stored row from three plane rows: blue, green, red bytes.
template <typename Channel>
void packRow(uint8_t* target, const RgbPlanes& picture, int32_t row, int32_t width, Channel channel)
{
    const float* red = picture.red[row];
    const float* green = picture.green[row];
    const float* blue = picture.blue[row];
    for (int32_t x = 0; x < width; ++x) {
        target[channels * x + 0] = channel(blue[x]);
        target[channels * x + 1] = channel(green[x]);
        target[channels * x + 2] = channel(red[x]);
    }
}

}  // namespace

AviOutput::AviOutput(CompressorChooser chooser, AviMessageHook messages)
    : chooseCompressor(chooser ? std::move(chooser) : CompressorChooser(chooseFullFrames)),
      showMessage(messages ? std::move(messages) : AviMessageHook(printAviMessage))
{
}

AviOutput::~AviOutput()
{
    close();
}

// Closes what is open, tells the user and reports failure.
bool AviOutput::failOpen()
{
    close();
    showMessage(avi_messages::problemCaption, avi_messages::openFailedText);
    return false;
}

// Writes currentDib as a key frame at position and keeps the result.
bool AviOutput::writeCurrentDib(int32_t position)
{
    State& output = current;
    const BitmapInfoHeader& header = *output.currentDib->header();
    output.lastResult = aviStreamWrite(output.compressedStream, position, 1, output.currentDib->pixels(),
                                       static_cast<int32_t>(header.biSizeImage),
                                       platform_constants::sampleKeyFrame);
    return output.lastResult == avi_result::ok;
}

// Steps 5 to 9 of opening: video stream, compressor, format, text stream.
bool AviOutput::createStreams()
{
    State& output = current;
    output.lastResult = aviFileCreateStream(output.file, &output.videoStream, videoStreamInfo(output));
    if (output.lastResult != avi_result::ok)
        return false;
    output.options = CompressOptions();
    if (!chooseCompressor(output.options))
        return false;
    output.lastResult = aviMakeCompressedStream(&output.compressedStream, output.videoStream, output.options);
    if (output.lastResult != avi_result::ok)
        return false;
    const BitmapInfoHeader& header = *output.currentDib->header();
    const int32_t formatBytes = static_cast<int32_t>(header.biSize + 4 * header.biClrUsed);
    output.lastResult = aviStreamSetFormat(output.compressedStream, 0, &header, formatBytes);
    if (output.lastResult != avi_result::ok)
        return false;
    output.lastResult = aviFileCreateStream(output.file, &output.textStream, textStreamInfo(output));
    if (output.lastResult != avi_result::ok)
        return false;
    const int32_t textFormat = avi_constants::textFormatValue;
    output.lastResult = aviStreamSetFormat(output.textStream, 0, &textFormat, sizeof textFormat);
    return output.lastResult == avi_result::ok;
}

// The growing title at 1..38, the complete one at 37 (the container moves
// it to 39), the fade-in at 113..150.
bool AviOutput::writeTitleSequence(const RgbPlanes& picture)
{
    using namespace avi_constants;
    for (int32_t t = 1; t < titleSteps; ++t)
        if (!makeTitleDib(t) || !writeCurrentDib(t * (titleSpan / titleSteps)))
            return false;
    if (!makeTitleDib(titleSteps) || !writeCurrentDib(titleSpan / 2))
        return false;
    for (int32_t k = 1; k < titleSteps; ++k) {
        // f = k * 0.025641026, as a 32-bit float
        const float f = static_cast<float>(k * fadeStep);
        if (!makeFadeDib(picture, f) || !writeCurrentDib(fadeBasePosition + k))
            return false;
    }
    return true;
}

// The bitmap for the next frame. A frame of the same size overwrites every
// pixel byte of the last one and leaves its zero padding, so its block is
// taken over instead of being freed and allocated again.
std::unique_ptr<PackedDib> AviOutput::takeFrameBlock()
{
    State& output = current;
    std::unique_ptr<PackedDib> dib = std::move(output.currentDib);
    if (dib && dib->header()->biWidth == output.width && dib->header()->biHeight == output.height)
        return dib;
    dib.reset();
    return allocatePackedDib(output.width, output.height);
}

// A bitmap of the picture, each plane value mapped by channel; the
// picture's top row is the last stored row.
template <typename Channel>
bool AviOutput::makeImageDib(const RgbPlanes& picture, Channel channel)
{
    State& output = current;
    std::unique_ptr<PackedDib> dib = takeFrameBlock();
    if (!dib)
        return false;
    const int32_t width = std::min(output.width, picture.width);
    const int32_t height = std::min(output.height, picture.height);
    const int64_t rowBytes = dibRowBytes(output.width);
    if (width < output.width || height < output.height)  // a picture smaller than the file's frames
        std::memset(dib->pixels(), 0, static_cast<size_t>(rowBytes * output.height));
    for (int32_t y = 0; y < height; ++y)
        packRow(dib->pixels() + (output.height - 1 - y) * rowBytes, picture, y, width, channel);
    output.currentDib = std::move(dib);
    return true;
}
// In order: state, version, file, first frame, streams, title sequence.
// A file still open is completed first, so no handle is ever lost.
bool AviOutput::open(const RgbPlanes& picture)
{
    State& output = current;
    close();
    output.isOpen = true;
    output.width = picture.width;
    output.height = picture.height;
    if ((videoForWindowsVersion() >> 16) < requiredVersion) {
        showMessage(avi_messages::versionCaption, avi_messages::versionText);
        return failOpen();
    }
    aviFileInit();
    output.lastResult = aviFileOpen(&output.file, aviFileName.c_str(),
                                    platform_constants::openWrite | platform_constants::openCreate);
    if (output.lastResult != avi_result::ok)
        return failOpen();
    if (!makeFrameDib(picture) || !createStreams() || !writeTitleSequence(picture))
        return failOpen();
    return true;
}

// position = 187 + n
bool AviOutput::writeFrame(const RgbPlanes& picture, int32_t n)
{
    if (!current.isOpen || n < 0 || n > INT32_MAX - avi_constants::firstRunFramePosition)
        return false;
    if (!makeFrameDib(picture))
        return false;
    return writeCurrentDib(avi_constants::firstRunFramePosition + n);
}

// Video, compressed and text stream, then the file, each once.
void AviOutput::close()
{
    State& output = current;
    if (!output.isOpen)
        return;
    output.isOpen = false;
    for (AviStream** stream : {&output.videoStream, &output.compressedStream, &output.textStream}) {
        if (*stream)
            aviStreamRelease(*stream);
        *stream = nullptr;
    }
    if (output.file)
        output.lastResult = aviFileRelease(output.file);
    output.file = nullptr;
    releaseDib();
}

// Names the file that holds fewer frames than the run made.
void AviOutput::reportIncomplete()
{
    const std::string text = avi_messages::incompleteText + aviFileName;
    showMessage(avi_messages::problemCaption, text.c_str());
}

// Each byte the truncated plane value's lowest 8 bits.
bool AviOutput::makeFrameDib(const RgbPlanes& picture)
{
    return makeImageDib(picture, [](float value) { return frameChannel(value); });
}

// Each byte trunc(trunc(value) * f)'s lowest 8 bits.
bool AviOutput::makeFadeDib(const RgbPlanes& picture, float f)
{
    return makeImageDib(picture, [f](float value) { return fadeChannel(value, f); });
}

// Black, then the three lines at (width div 16, height div 8 + offset).
bool AviOutput::makeTitleDib(int32_t t)
{
    using namespace avi_constants;
    const State& output = current;
    DrawSurface surface(output.width, output.height);
    surface.fillBlack();
    const int32_t left = output.width / titleLeftDivisor;
    for (int line = 0; line < titleLineCount; ++line) {
        const TitleSlice slice = titleSlice(line, t);
        surface.drawText(left, output.height / titleTopDivisor + titleLineOffsets[line],
                         titleLineText(line) + slice.start, slice.count, titleColours[line]);
    }
    return bitmapToDib(surface);
}

// Header, empty colour table, bottom-up rows; biClrUsed written again last.
bool AviOutput::bitmapToDib(const DrawSurface& surface)
{
    releaseDib();
    std::unique_ptr<PackedDib> dib = allocatePackedDib(surface.width(), surface.height());
    if (!dib)
        return false;
    copySurfaceToDib(surface, *dib);
    dib->header()->biClrUsed = 0;
    current.currentDib = std::move(dib);
    return true;
}
