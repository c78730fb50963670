// The AVI container: streams, formats, sample positions, compressors and
// failures, checked with ffprobe and ffmpeg.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <unistd.h>

#include "platform/avi_file.h"
#include "platform/packed_dib.h"
#include "platform/platform_constants.h"
#include "video_probe.h"

namespace {
constexpr uint32_t openMode = platform_constants::openWrite | platform_constants::openCreate;

// A file path in the test's working directory.
std::string testFile(const std::string& name)
{
    const std::string path = "avi_file_" + name + ".avi";
    std::remove(path.c_str());
    return path;
}

// A bitmap whose every byte depends on its place and on seed; padding zero.
std::unique_ptr<PackedDib> patternDib(int32_t width, int32_t height, int seed)
{
    std::unique_ptr<PackedDib> dib = allocatePackedDib(width, height);
    const int64_t row = dibRowBytes(width);
    for (int32_t r = 0; r < height; ++r)
        for (int32_t x = 0; x < 3 * width; ++x)
            dib->pixels()[r * row + x] = static_cast<uint8_t>(r * 37 + x * 11 + seed * 53);
    return dib;
}

// A smooth bitmap that lossy compression keeps close.
std::unique_ptr<PackedDib> smoothDib(int32_t width, int32_t height, int seed)
{
    std::unique_ptr<PackedDib> dib = allocatePackedDib(width, height);
    const int64_t row = dibRowBytes(width);
    for (int32_t r = 0; r < height; ++r)
        for (int32_t x = 0; x < width; ++x) {
            dib->pixels()[r * row + 3 * x + 0] = static_cast<uint8_t>(40 + 4 * x + seed);
            dib->pixels()[r * row + 3 * x + 1] = static_cast<uint8_t>(60 + 3 * r);
            dib->pixels()[r * row + 3 * x + 2] = static_cast<uint8_t>(200 - 2 * x);
        }
    return dib;
}

// What a decoder should show: top-down rows of red, green, blue.
std::vector<uint8_t> expectedRgb(const PackedDib& dib)
{
    const int32_t width = dib.header()->biWidth;
    const int32_t height = dib.header()->biHeight;
    const int64_t row = dibRowBytes(width);
    std::vector<uint8_t> rgb;
    for (int32_t y = 0; y < height; ++y) {
        const uint8_t* stored = dib.pixels() + (height - 1 - y) * row;
        for (int32_t x = 0; x < width; ++x) {
            rgb.push_back(stored[3 * x + 2]);
            rgb.push_back(stored[3 * x + 1]);
            rgb.push_back(stored[3 * x + 0]);
        }
    }
    return rgb;
}

// An open file with a compressed video stream and an empty text stream.
struct TestFile {
    AviFile* file = nullptr;
    AviStream* video = nullptr;
    AviStream* compressed = nullptr;
    AviStream* text = nullptr;

    AviResult open(const std::string& path, int32_t width, int32_t height, Compressor compressor,
                   int32_t quality = 90)
    {
        AviResult result = aviFileOpen(&file, path.c_str(), openMode);
        if (result != avi_result::ok)
            return result;
        AviStreamInfo info;
        info.fccType = streamTypeVideo;
        info.scale = 1;
        info.rate = 50;
        info.suggestedBufferSize = makeBitmapHeader(width, height).biSizeImage;
        info.frame = AviRect{0, 0, width, height};
        if ((result = aviFileCreateStream(file, &video, info)) != avi_result::ok)
            return result;
        CompressOptions options;
        options.compressor = compressor;
        options.quality = quality;
        if ((result = aviMakeCompressedStream(&compressed, video, options)) != avi_result::ok)
            return result;
        const BitmapInfoHeader header = makeBitmapHeader(width, height);
        if ((result = aviStreamSetFormat(compressed, 0, &header, sizeof header)) != avi_result::ok)
            return result;
        AviStreamInfo textInfo;
        textInfo.fccType = streamTypeText;
        textInfo.fccHandler = makeFourCc('D', 'R', 'A', 'W');
        textInfo.scale = 1;
        textInfo.rate = 60;
        textInfo.suggestedBufferSize = 260;
        textInfo.frame = AviRect{0, height, width, height + 10};
        if ((result = aviFileCreateStream(file, &text, textInfo)) != avi_result::ok)
            return result;
        const int32_t four = 4;
        return aviStreamSetFormat(text, 0, &four, sizeof four);
    }

    AviResult write(const PackedDib& dib, int32_t position)
    {
        return aviStreamWrite(compressed, position, 1, dib.pixels(),
                              static_cast<int32_t>(dib.header()->biSizeImage), platform_constants::sampleKeyFrame);
    }

    AviResult close()
    {
        for (AviStream* stream : {video, compressed, text})
            if (stream)
                aviStreamRelease(stream);
        video = compressed = text = nullptr;
        AviResult result = avi_result::ok;
        if (file)
            result = aviFileRelease(file);
        file = nullptr;
        return result;
    }

    ~TestFile() { close(); }
};

// Largest difference between two byte pictures of the same size.
int largestDifference(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b)
{
    int largest = 0;
    for (size_t i = 0; i < a.size() && i < b.size(); ++i)
        largest = std::max(largest, std::abs(a[i] - b[i]));
    return largest;
}
}  // namespace

TEST(AviVersion, ReportsVersionOnePointTenOrMore)
{
    EXPECT_GE(videoForWindowsVersion() >> 16, 0x010Au);
}

// Every compressor: two streams, 50 frames per second, the frame size, the
// codec, and the pictures back (exactly for the lossless ones).
struct CompressorCase {
    Compressor compressor;
    const char* codecName;
    int tolerance;
};

class AviCompressorRoundTrip : public ::testing::TestWithParam<CompressorCase> {};

TEST_P(AviCompressorRoundTrip, FileHoldsTheFramesItWasGiven)
{
    const CompressorCase c = GetParam();
    const std::string path = testFile(std::string("round_trip_") + c.codecName);
    constexpr int32_t width = 21;  // rows padded by one byte
    constexpr int32_t height = 10;
    TestFile file;
    ASSERT_EQ(file.open(path, width, height, c.compressor), avi_result::ok);
    std::vector<std::unique_ptr<PackedDib>> frames;
    for (int i = 0; i < 3; ++i) {
        frames.push_back(c.tolerance == 0 ? patternDib(width, height, i) : smoothDib(width, height, 30 * i));
        ASSERT_EQ(file.write(*frames.back(), 1 + i), avi_result::ok);
    }
    ASSERT_EQ(file.close(), avi_result::ok);

    const std::vector<ProbedStream> streams = probeStreams(path);
    ASSERT_EQ(streams.size(), 2u);
    EXPECT_EQ(streams[0].codecType, "video");
    EXPECT_EQ(streams[0].codecName, c.codecName);
    EXPECT_EQ(streams[0].width, width);
    EXPECT_EQ(streams[0].height, height);
    EXPECT_EQ(streams[0].frameRate, "50/1");
    EXPECT_NE(streams[1].codecType, "video");

    const DecodedVideo video = decodeVideo(path);
    ASSERT_EQ(video.pictures.size(), 3u);
    for (int i = 0; i < 3; ++i)
        EXPECT_LE(largestDifference(video.pictures[i], expectedRgb(*frames[i])), c.tolerance) << "frame " << i;
}

INSTANTIATE_TEST_SUITE_P(Compressors, AviCompressorRoundTrip,
                         ::testing::Values(CompressorCase{Compressor::FullFrames, "rawvideo", 0},
                                           CompressorCase{Compressor::Ffv1, "ffv1", 0},
                                           CompressorCase{Compressor::UtVideo, "utvideo", 0},
                                           CompressorCase{Compressor::MotionJpeg, "mjpeg", 12}),
                         [](const auto& info) { return std::string(info.param.codecName); });

TEST(AviFile, FullFramesKeepTheBottomUpHeaderAsSet)
{
    const std::string path = testFile("header");
    TestFile file;
    ASSERT_EQ(file.open(path, 21, 5, Compressor::FullFrames), avi_result::ok);
    ASSERT_EQ(file.write(*patternDib(21, 5, 1), 1), avi_result::ok);
    ASSERT_EQ(file.close(), avi_result::ok);
    const std::string bytes = commandOutput("cat '" + path + "'");
    const size_t strf = bytes.find("strf");
    ASSERT_NE(strf, std::string::npos);
    BitmapInfoHeader stored{};
    std::memcpy(&stored, bytes.data() + strf + 8, sizeof stored);
    const BitmapInfoHeader set = makeBitmapHeader(21, 5);
    EXPECT_EQ(std::memcmp(&stored, &set, sizeof set), 0);
    EXPECT_EQ(stored.biHeight, 5);
    EXPECT_EQ(stored.biSizeImage, 64u * 5);
}

TEST(AviFile, TextStreamKeepsItsHeaderAndFormat)
{
    const std::string path = testFile("text_stream");
    TestFile file;
    ASSERT_EQ(file.open(path, 20, 8, Compressor::MotionJpeg), avi_result::ok);
    ASSERT_EQ(file.write(*smoothDib(20, 8, 0), 1), avi_result::ok);
    ASSERT_EQ(file.close(), avi_result::ok);
    const std::string bytes = commandOutput("cat '" + path + "'");
    const size_t videoHeader = bytes.find("strh");
    ASSERT_NE(videoHeader, std::string::npos);
    const size_t textHeader = bytes.find("strh", videoHeader + 4);
    ASSERT_NE(textHeader, std::string::npos);
    auto field = [&bytes](size_t at) {
        uint32_t value = 0;
        std::memcpy(&value, bytes.data() + at, sizeof value);
        return value;
    };
    const size_t data = textHeader + 8;
    EXPECT_EQ(bytes.substr(data, 4), "txts");
    EXPECT_EQ(bytes.substr(data + 4, 4), "DRAW");
    EXPECT_EQ(field(data + 20), 1u);    // scale
    EXPECT_EQ(field(data + 24), 60u);   // rate
    EXPECT_EQ(field(data + 32), 0u);    // length: nothing written
    EXPECT_EQ(field(data + 36), 260u);  // suggested buffer
    int16_t frame[4];
    std::memcpy(frame, bytes.data() + data + 48, sizeof frame);
    EXPECT_EQ(frame[0], 0);
    EXPECT_EQ(frame[1], 8);
    EXPECT_EQ(frame[2], 20);
    EXPECT_EQ(frame[3], 18);
    // The 4-byte format follows the header.
    EXPECT_EQ(bytes.substr(data + 56, 4), "strf");
    EXPECT_EQ(field(data + 60), 4u);
    EXPECT_EQ(field(data + 64), 4u);
    // The video stream's header stays the library's.
    EXPECT_EQ(bytes.substr(videoHeader + 8, 4), "vids");
    EXPECT_EQ(bytes.substr(videoHeader + 12, 4), "MJPG");
    EXPECT_EQ(field(videoHeader + 8 + 24), 50u);
    // Both streams are still found.
    ASSERT_EQ(probeStreams(path).size(), 2u);
    EXPECT_EQ(decodeVideo(path).pictures.size(), 1u);
}

TEST(AviFile, PositionsKeepTheirTimingAndGapsShowThePreviousPicture)
{
    const std::string path = testFile("positions");
    TestFile file;
    ASSERT_EQ(file.open(path, 8, 4, Compressor::FullFrames), avi_result::ok);
    const int32_t asked[] = {1, 2, 5, 3, 10};
    std::vector<std::unique_ptr<PackedDib>> frames;
    for (int i = 0; i < 5; ++i) {
        frames.push_back(patternDib(8, 4, i + 1));
        ASSERT_EQ(file.write(*frames.back(), asked[i]), avi_result::ok);
    }
    ASSERT_EQ(file.close(), avi_result::ok);
    // A write at or before the last position goes to the next free one.
    EXPECT_EQ(samplePositions(path), (std::vector<int64_t>{1, 2, 5, 6, 10}));
    const DecodedVideo video = decodeVideo(path);
    ASSERT_EQ(video.pictures.size(), 5u);
    EXPECT_EQ(video.pictureAt(0), nullptr);
    const int shownFrame[] = {-1, 0, 1, 1, 1, 2, 3, 3, 3, 3, 4, 4};
    for (int position = 1; position <= 11; ++position) {
        const std::vector<uint8_t>* picture = video.pictureAt(position);
        ASSERT_NE(picture, nullptr);
        EXPECT_EQ(*picture, expectedRgb(*frames[shownFrame[position]])) << "position " << position;
    }
    // The file's own index spans every position up to the last.
    const std::string count = commandOutput(std::string(KELVO_FFPROBE) +
                                            " -v error -select_streams v:0 -show_entries stream=nb_frames"
                                            " -of csv=p=0 '" + path + "'");
    EXPECT_EQ(std::atoi(count.c_str()), 11);
}

TEST(AviFile, FileThatCannotBeCreatedFails)
{
    AviFile* file = reinterpret_cast<AviFile*>(1);
    EXPECT_EQ(aviFileOpen(&file, "no_such_directory/sub/x.avi", openMode), avi_result::fileOpen);
    EXPECT_EQ(file, nullptr);
    EXPECT_NE(access("no_such_directory", F_OK), 0);
    EXPECT_EQ(aviFileOpen(&file, "x.avi", platform_constants::openWrite), avi_result::badParameter);
}

TEST(AviFile, StreamsRefuseWrongFormatsAndCalls)
{
    const std::string path = testFile("formats");
    AviFile* file = nullptr;
    ASSERT_EQ(aviFileOpen(&file, path.c_str(), openMode), avi_result::ok);
    AviStreamInfo info;
    info.fccType = makeFourCc('a', 'u', 'd', 's');
    info.scale = 1;
    info.rate = 50;
    AviStream* stream = nullptr;
    EXPECT_EQ(aviFileCreateStream(file, &stream, info), avi_result::badParameter);
    info.fccType = streamTypeVideo;
    info.frame = AviRect{0, 0, 8, 4};
    ASSERT_EQ(aviFileCreateStream(file, &stream, info), avi_result::ok);
    AviStream* compressed = nullptr;
    ASSERT_EQ(aviMakeCompressedStream(&compressed, stream, CompressOptions()), avi_result::ok);
    BitmapInfoHeader header = makeBitmapHeader(8, 4);
    EXPECT_EQ(aviStreamSetFormat(compressed, 0, &header, 39), avi_result::badFormat);
    EXPECT_EQ(aviStreamSetFormat(compressed, 1, &header, 40), avi_result::badParameter);
    header.biBitCount = 32;
    EXPECT_EQ(aviStreamSetFormat(compressed, 0, &header, 40), avi_result::badFormat);
    header = makeBitmapHeader(9, 4);  // not the stream's rectangle
    EXPECT_EQ(aviStreamSetFormat(compressed, 0, &header, 40), avi_result::badFormat);
    header = makeBitmapHeader(8, -4);
    EXPECT_EQ(aviStreamSetFormat(compressed, 0, &header, 40), avi_result::badFormat);
    std::unique_ptr<PackedDib> dib = patternDib(8, 4, 0);
    EXPECT_EQ(aviStreamWrite(compressed, 1, 1, dib->pixels(), 96, 0), avi_result::badParameter);
    header = makeBitmapHeader(8, 4);
    ASSERT_EQ(aviStreamSetFormat(compressed, 0, &header, 40), avi_result::ok);
    EXPECT_EQ(aviStreamSetFormat(compressed, 0, &header, 40), avi_result::badParameter);
    EXPECT_EQ(aviStreamWrite(compressed, 1, 1, dib->pixels(), 95, 0), avi_result::badParameter);
    EXPECT_EQ(aviStreamWrite(compressed, 1, 2, dib->pixels(), 96, 0), avi_result::badParameter);
    EXPECT_EQ(aviStreamWrite(compressed, -1, 1, dib->pixels(), 96, 0), avi_result::badParameter);
    EXPECT_EQ(aviStreamWrite(compressed, 1, 1, dib->pixels(), 96, 0), avi_result::ok);
    aviStreamRelease(compressed);
    aviStreamRelease(stream);
    EXPECT_EQ(aviFileRelease(file), avi_result::ok);
    EXPECT_EQ(samplePositions(path), (std::vector<int64_t>{1}));
}

TEST(AviFile, InjectedWriteFailureLeavesACompleteFile)
{
    const std::string path = testFile("fault");
    TestFile file;
    ASSERT_EQ(file.open(path, 8, 4, Compressor::FullFrames), avi_result::ok);
    aviStreamFailWritesAfter(file.compressed, 2);
    std::unique_ptr<PackedDib> dib = patternDib(8, 4, 3);
    EXPECT_EQ(file.write(*dib, 1), avi_result::ok);
    EXPECT_EQ(file.write(*dib, 2), avi_result::ok);
    EXPECT_EQ(file.write(*dib, 3), avi_result::fileWrite);
    EXPECT_EQ(file.write(*dib, 4), avi_result::fileWrite);
    EXPECT_EQ(file.close(), avi_result::ok);
    ASSERT_EQ(probeStreams(path).size(), 2u);
    EXPECT_EQ(samplePositions(path), (std::vector<int64_t>{1, 2}));
    EXPECT_EQ(decodeVideo(path).pictures.size(), 2u);
}

TEST(AviFile, LastHandleCompletesTheFileWhateverTheOrder)
{
    const std::string path = testFile("release_order");
    TestFile file;
    ASSERT_EQ(file.open(path, 8, 4, Compressor::Ffv1), avi_result::ok);
    ASSERT_EQ(file.write(*patternDib(8, 4, 0), 1), avi_result::ok);
    ASSERT_EQ(aviFileRelease(file.file), avi_result::ok);
    file.file = nullptr;
    aviStreamRelease(file.text);
    aviStreamRelease(file.video);
    file.text = file.video = nullptr;
    // Still open while the compressed stream is held.
    EXPECT_EQ(file.write(*patternDib(8, 4, 1), 2), avi_result::ok);
    aviStreamRelease(file.compressed);
    file.compressed = nullptr;
    EXPECT_EQ(probeStreams(path).size(), 2u);
    EXPECT_EQ(samplePositions(path), (std::vector<int64_t>{1, 2}));
}

TEST(AviFile, FileWithoutSamplesIsStillReadable)
{
    const std::string path = testFile("empty");
    TestFile file;
    ASSERT_EQ(file.open(path, 8, 4, Compressor::MotionJpeg), avi_result::ok);
    EXPECT_EQ(file.close(), avi_result::ok);
    EXPECT_EQ(probeStreams(path).size(), 2u);
    EXPECT_TRUE(samplePositions(path).empty());
}
