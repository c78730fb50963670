// The AVI writer: the title sequence, fade-in and run frames of a picture,
// the output state, and the failures the user is told about.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <unistd.h>
#include <utility>
#include <vector>

#include "io/avi_constants.h"
#include "io/avi_messages.h"
#include "io/avi_pixel.h"
#include "io/avi_title.h"
#include "io/avi_writer.h"
#include "platform/text_font.h"
#include "test_planes.h"
#include "video_probe.h"

namespace {
// Plane values per pixel, some above 255 so the lowest-8-bit rule shows.
int redValue(int x, int y) { return (3 * x + y) % 300; }
int greenValue(int x, int y) { return (x + 2 * y) % 256; }
int blueValue(int x, int y) { return (x * y + 7) % 260; }

// Sum of all bytes of a picture.
long brightness(const std::vector<uint8_t>& picture)
{
    long sum = 0;
    for (uint8_t byte : picture)
        sum += byte;
    return sum;
}

// Counts the lit pixels inside and outside a rectangle [x0, x1) x [y0, y1).
struct LitCount {
    int inside = 0;
    int outside = 0;
};

LitCount litPixels(const std::vector<uint8_t>& picture, int width, int x0, int y0, int x1, int y1)
{
    LitCount count;
    for (size_t i = 0; i + 2 < picture.size(); i += 3) {
        if (!picture[i] && !picture[i + 1] && !picture[i + 2])
            continue;
        const int x = static_cast<int>(i / 3) % width;
        const int y = static_cast<int>(i / 3) / width;
        (x >= x0 && x < x1 && y >= y0 && y < y1 ? count.inside : count.outside)++;
    }
    return count;
}

// The output with its messages recorded and its compressor chosen by the
// test (or the choice cancelled, as a user who closes the dialog).
class AviWriterTest : public ::testing::Test {
protected:
    std::vector<std::pair<std::string, std::string>> shownMessages;
    CompressOptions chosenOptions;
    bool cancelChoice = false;
    std::unique_ptr<TestPlanes> picture;
    AviOutput avi{[this](CompressOptions& options) {
                      if (cancelChoice)
                          return false;
                      options = chosenOptions;
                      return true;
                  },
                  [this](const char* caption, const char* text) { shownMessages.emplace_back(caption, text); }};

    // Allocates the picture and names a fresh file.
    std::string prepare(int width, int height, const std::string& name)
    {
        picture = std::make_unique<TestPlanes>(width, height);
        const std::string path = "avi_writer_" + name + ".avi";
        std::remove(path.c_str());
        avi.setFileName(path);
        return path;
    }

    int width() const { return static_cast<int>(picture->red[0].size()); }
    int height() const { return static_cast<int>(picture->red.size()); }

    // Fills the picture with the pattern, shifted by seed.
    void paintPattern(int seed)
    {
        for (int y = 0; y < height(); ++y)
            for (int x = 0; x < width(); ++x)
                picture->fill(x, y, x, y, redValue(x + seed, y), greenValue(x, y + seed), blueValue(x, y));
    }

    // A smooth picture for lossy compressors.
    void paintSmooth()
    {
        for (int y = 0; y < height(); ++y)
            for (int x = 0; x < width(); ++x)
                picture->fill(x, y, x, y, 30 + x, 200 - y, 100);
    }

    // The picture as a decoder shows a frame: top-down red, green, blue
    // bytes, each the channel function of the plane value.
    template <typename Channel>
    std::vector<uint8_t> pictureRgb(Channel channel)
    {
        std::vector<uint8_t> rgb;
        for (int y = 0; y < height(); ++y)
            for (int x = 0; x < width(); ++x) {
                rgb.push_back(channel(picture->red[y][x]));
                rgb.push_back(channel(picture->green[y][x]));
                rgb.push_back(channel(picture->blue[y][x]));
            }
        return rgb;
    }

    // Nothing open, nothing held.
    void expectClosedState()
    {
        const AviOutput::State& output = avi.state();
        EXPECT_FALSE(output.isOpen);
        EXPECT_EQ(output.file, nullptr);
        EXPECT_EQ(output.videoStream, nullptr);
        EXPECT_EQ(output.compressedStream, nullptr);
        EXPECT_EQ(output.textStream, nullptr);
        EXPECT_EQ(output.currentDib, nullptr);
    }
};
}  // namespace

TEST(AviPixel, PlaneValuesBecomeTheirLowestByte)
{
    EXPECT_EQ(frameChannel(254.9f), 254);
    EXPECT_EQ(frameChannel(255.0f), 255);
    EXPECT_EQ(frameChannel(256.0f), 0);
    EXPECT_EQ(frameChannel(300.5f), 44);
    EXPECT_EQ(frameChannel(-1.0f), 255);
    EXPECT_EQ(frameChannel(-0.9f), 0);
    EXPECT_EQ(frameChannel(std::numeric_limits<float>::quiet_NaN()), 0);
    EXPECT_EQ(frameChannel(std::numeric_limits<float>::infinity()), 0);
    EXPECT_EQ(frameChannel(-std::numeric_limits<float>::infinity()), 0);
    EXPECT_EQ(frameChannel(1e30f), 255);   // saturates at INT32_MAX
    EXPECT_EQ(frameChannel(-1e30f), 0);    // saturates at INT32_MIN
}

TEST(AviPixel, FadeTruncatesBeforeAndAfterTheFactor)
{
    EXPECT_EQ(fadeChannel(200.9f, 0.5f), 100);  // trunc(200 * 0.5), not 100.45
    EXPECT_EQ(fadeChannel(255.0f, 0.025641026f), 6);
    EXPECT_EQ(fadeChannel(39.0f, 38 * 0.025641026f), 38);
    EXPECT_EQ(fadeChannel(511.0f, 0.5f), 255);
    EXPECT_EQ(fadeChannel(std::numeric_limits<float>::quiet_NaN(), 0.5f), 0);
    EXPECT_EQ(fadeChannel(100.0f, std::numeric_limits<float>::infinity()), 0);
}

TEST(AviTitle, LinesHaveTheirFullLengths)
{
    EXPECT_EQ(titleLineLength(0), 84);
    EXPECT_EQ(titleLineLength(1), 59);
    EXPECT_EQ(titleLineLength(2), 58);
    EXPECT_EQ(std::string(titleLineText(0)).substr(10, 20), "Kelvo -Fluxeria 1.4.");
    EXPECT_EQ(std::string(titleLineText(1)).substr(0, 19), "  by: Tobiah Vossen");
}

TEST(AviTitle, NameTypesInAndTheOthersSlideIn)
{
    // t = 10: ten leading spaces only; t = 11: the first letter.
    EXPECT_EQ(titleSlice(0, 10).start, 0);
    EXPECT_EQ(titleSlice(0, 10).count, 10);
    EXPECT_EQ(titleLineText(0)[titleSlice(0, 11).count - 1], 'K');
    // t = 1: line 2 draws its character 33, a space.
    EXPECT_EQ(titleSlice(1, 1).start, 33);
    EXPECT_EQ(titleSlice(1, 1).count, 1);
    // Line 2's first visible character, the name's last letter, at t = 16.
    EXPECT_EQ(titleLineText(1)[titleSlice(1, 16).start], 'n');
    EXPECT_EQ(titleLineText(1)[titleSlice(1, 15).start], ' ');
    // Lines reach their left edge at t = 34 and 35.
    EXPECT_EQ(titleSlice(1, 34).start, 0);
    EXPECT_EQ(titleSlice(1, 33).start, 1);
    EXPECT_EQ(titleSlice(2, 35).start, 0);
    EXPECT_EQ(titleSlice(2, 35).count, 35);
    EXPECT_EQ(titleSlice(2, 34).start, 1);
}

TEST(AviTitle, NothingOutsideALineIsEverDrawn)
{
    for (int line = 0; line < titleLineCount; ++line)
        for (int32_t t = -2; t <= 200; ++t) {
            const TitleSlice slice = titleSlice(line, t);
            ASSERT_GE(slice.start, 0) << line << " " << t;
            ASSERT_GE(slice.count, 0) << line << " " << t;
            ASSERT_LE(slice.start + slice.count, titleLineLength(line)) << line << " " << t;
            if (t > 0 && t <= avi_constants::titleSteps) {
                ASSERT_EQ(slice.count, t) << line;
            }
        }
}

TEST_F(AviWriterTest, FramesLandAtTheirPositions)
{
    const std::string path = prepare(120, 60, "positions");
    paintPattern(0);
    ASSERT_TRUE(avi.open(picture->view()));
    EXPECT_TRUE(avi.state().isOpen);
    EXPECT_EQ(avi.state().width, 120);
    EXPECT_EQ(avi.state().height, 60);
    ASSERT_TRUE(avi.writeFrame(picture->view(), 0));
    EXPECT_EQ(avi.state().currentDib->header()->biSizeImage, 21600u);
    ASSERT_TRUE(avi.writeFrame(picture->view(), 1));
    ASSERT_TRUE(avi.writeFrame(picture->view(), 9));
    avi.close();
    expectClosedState();
    EXPECT_TRUE(shownMessages.empty());

    std::vector<int64_t> expected;
    for (int64_t p = 1; p <= 39; ++p)  // the complete title, asked at 37, lands at 39
        expected.push_back(p);
    for (int64_t p = 113; p <= 150; ++p)
        expected.push_back(p);
    for (int64_t p : {187, 188, 196})
        expected.push_back(p);
    EXPECT_EQ(samplePositions(path), expected);

    const std::vector<ProbedStream> streams = probeStreams(path);
    ASSERT_EQ(streams.size(), 2u);
    EXPECT_EQ(streams[0].codecName, "rawvideo");
    EXPECT_EQ(streams[0].width, 120);
    EXPECT_EQ(streams[0].height, 60);
    EXPECT_EQ(streams[0].frameRate, "50/1");
}

TEST_F(AviWriterTest, RunFramesHoldThePictureBytes)
{
    const std::string path = prepare(120, 60, "run_frames");
    paintPattern(0);
    const std::vector<uint8_t> opening = pictureRgb(frameChannel);
    ASSERT_TRUE(avi.open(picture->view()));
    ASSERT_TRUE(avi.writeFrame(picture->view(), 0));
    paintPattern(5);
    const std::vector<uint8_t> later = pictureRgb(frameChannel);
    ASSERT_TRUE(avi.writeFrame(picture->view(), 3));
    avi.close();

    const DecodedVideo video = decodeVideo(path);
    ASSERT_NE(video.pictureAt(187), nullptr);
    EXPECT_EQ(*video.pictureAt(187), opening);
    EXPECT_EQ(*video.pictureAt(189), opening);  // the gap shows the previous frame
    EXPECT_EQ(*video.pictureAt(190), later);
    EXPECT_NE(opening, later);
}

TEST_F(AviWriterTest, FadeBrightensTheOpeningPicture)
{
    const std::string path = prepare(40, 20, "fade");
    paintPattern(0);
    ASSERT_TRUE(avi.open(picture->view()));
    avi.close();
    const DecodedVideo video = decodeVideo(path);
    long previous = -1;
    for (int k = 1; k <= 38; ++k) {
        const std::vector<uint8_t>* picture = video.pictureAt(112 + k);
        ASSERT_NE(picture, nullptr);
        const float f = static_cast<float>(k * avi_constants::fadeStep);
        ASSERT_EQ(*picture, pictureRgb([f](float v) { return fadeChannel(v, f); })) << "k " << k;
        EXPECT_GT(brightness(*picture), previous);
        previous = brightness(*picture);
    }
    EXPECT_LT(previous, brightness(pictureRgb(frameChannel)));
    // The last fade frame stays until the run's first frame.
    EXPECT_EQ(*video.pictureAt(186), *video.pictureAt(150));
}

TEST_F(AviWriterTest, BlackPictureFadesInFromBlack)
{
    const std::string path = prepare(40, 20, "black_fade");
    ASSERT_TRUE(avi.open(picture->view()));
    avi.close();
    const DecodedVideo video = decodeVideo(path);
    for (int position = 113; position <= 150; ++position)
        ASSERT_EQ(brightness(*video.pictureAt(position)), 0) << position;
}

TEST_F(AviWriterTest, TitleTextAppearsInItsRows)
{
    const TextFont* font = TextFont::instance();
    ASSERT_NE(font, nullptr);
    const std::string path = prepare(160, 80, "title");  // 40 x 20 cells at 4 pixels
    ASSERT_TRUE(avi.open(picture->view()));
    avi.close();
    const DecodedVideo video = decodeVideo(path);
    const int cell = font->cellWidth();
    const int lineHeight = font->lineHeight();
    const int left = 160 / 16;
    const int tops[3] = {80 / 8, 80 / 8 + 40, 80 / 8 + 60};

    // t = 1..7: only spaces reach the picture.
    for (int t = 1; t <= 7; ++t)
        EXPECT_EQ(brightness(*video.pictureAt(t)), 0) << t;
    // t = 8: the web address's last letter at line 3's left edge.
    LitCount lit = litPixels(*video.pictureAt(8), 160, left - 1, tops[2], left + cell + 1, 80);
    EXPECT_GT(lit.inside, 0);
    EXPECT_EQ(lit.outside, 0);
    // t = 11: line 1's first letter in its eleventh cell, in white.
    lit = litPixels(*video.pictureAt(11), 160, left + 10 * cell - 1, tops[0], left + 11 * cell + 1,
                    tops[0] + lineHeight);
    EXPECT_GT(lit.inside, 0);
    const std::vector<uint8_t>& eleven = *video.pictureAt(11);
    for (int y = tops[0]; y < tops[0] + lineHeight; ++y)
        for (int x = 0; x < 160; ++x) {
            const size_t i = 3 * (static_cast<size_t>(y) * 160 + x);
            ASSERT_EQ(eleven[i], eleven[i + 1]);
            ASSERT_EQ(eleven[i], eleven[i + 2]);
        }
    // Line 2 stays dark until t = 16.
    EXPECT_EQ(litPixels(*video.pictureAt(15), 160, 0, tops[1], 160, tops[1] + lineHeight).inside, 0);
    EXPECT_GT(litPixels(*video.pictureAt(16), 160, 0, tops[1], 160, tops[1] + lineHeight).inside, 0);
    // The complete title: text in all three bands and nowhere else, shown
    // until the fade begins.
    const std::vector<uint8_t>& complete = *video.pictureAt(39);
    int outside = 0;
    for (int band = 0; band < 3; ++band) {
        const LitCount inBand = litPixels(complete, 160, 0, tops[band], 160, tops[band] + lineHeight);
        EXPECT_GT(inBand.inside, 0) << band;
    }
    for (size_t i = 0; i < complete.size(); i += 3) {
        const int y = static_cast<int>(i / 3) / 160;
        const bool inBand = (y >= tops[0] && y < tops[0] + lineHeight) ||
                            (y >= tops[1] && y < tops[1] + lineHeight) || y >= tops[2];
        outside += !inBand && (complete[i] || complete[i + 1] || complete[i + 2]);
    }
    EXPECT_EQ(outside, 0);
    EXPECT_EQ(*video.pictureAt(112), complete);
    EXPECT_NE(*video.pictureAt(20), complete);
}

TEST_F(AviWriterTest, CancelledChoiceFailsAndTellsTheUser)
{
    prepare(120, 60, "cancelled");
    cancelChoice = true;
    EXPECT_FALSE(avi.open(picture->view()));
    ASSERT_EQ(shownMessages.size(), 1u);
    EXPECT_EQ(shownMessages[0].first, "Problem with Avi output.");
    EXPECT_EQ(shownMessages[0].second, "Unable to create an Avi output...");
    expectClosedState();
    EXPECT_FALSE(avi.writeFrame(picture->view(), 0));
}

TEST_F(AviWriterTest, FileThatCannotBeCreatedFailsAndTellsTheUser)
{
    prepare(120, 60, "unused");
    avi.setFileName("no_such_directory/inner/run.avi");
    EXPECT_FALSE(avi.open(picture->view()));
    ASSERT_EQ(shownMessages.size(), 1u);
    EXPECT_EQ(shownMessages[0].first, "Problem with Avi output.");
    EXPECT_EQ(shownMessages[0].second, "Unable to create an Avi output...");
    expectClosedState();
    EXPECT_NE(avi.state().lastResult, avi_result::ok);
}

TEST_F(AviWriterTest, FailedFrameWriteIsReportedAndTheFileStillCompletes)
{
    const std::string path = prepare(40, 20, "failed_write");
    paintPattern(0);
    ASSERT_TRUE(avi.open(picture->view()));
    aviStreamFailWritesAfter(avi.state().compressedStream, 1);
    EXPECT_TRUE(avi.writeFrame(picture->view(), 0));
    EXPECT_FALSE(avi.writeFrame(picture->view(), 1));
    EXPECT_EQ(avi.state().lastResult, avi_result::fileWrite);
    avi.close();
    avi.reportIncomplete();
    ASSERT_EQ(shownMessages.size(), 1u);
    EXPECT_EQ(shownMessages[0].first, "Problem with Avi output.");
    EXPECT_EQ(shownMessages[0].second, std::string(avi_messages::incompleteText) + path);
    ASSERT_EQ(probeStreams(path).size(), 2u);
    const std::vector<int64_t> positions = samplePositions(path);
    ASSERT_FALSE(positions.empty());
    EXPECT_EQ(positions.back(), 187);
    EXPECT_EQ(decodeVideo(path).pictures.size(), positions.size());
}

TEST_F(AviWriterTest, CloseIsHarmlessWhenRepeatedAndTheOutputReopens)
{
    const std::string first = prepare(21, 5, "reopen_first");
    ASSERT_TRUE(avi.open(picture->view()));
    // Width 21: rows of 64 bytes, one of them padding.
    EXPECT_EQ(avi.state().currentDib->header()->biSizeImage, 64u * 5);
    avi.close();
    avi.close();
    expectClosedState();
    EXPECT_FALSE(avi.writeFrame(picture->view(), 0));
    const std::string second = prepare(21, 5, "reopen_second");
    ASSERT_TRUE(avi.open(picture->view()));
    EXPECT_TRUE(avi.writeFrame(picture->view(), 0));
    // Opening over an open file completes that one first.
    const std::string third = "avi_writer_reopen_third.avi";
    std::remove(third.c_str());
    avi.setFileName(third);
    ASSERT_TRUE(avi.open(picture->view()));
    avi.close();
    EXPECT_EQ(samplePositions(first).size(), 77u);
    EXPECT_EQ(samplePositions(second).size(), 78u);
    EXPECT_EQ(samplePositions(third).size(), 77u);
}

// Each compressor through the whole writer: the codec in the file and the
// run frame close to the picture.
class AviWriterCompressors : public AviWriterTest,
                             public ::testing::WithParamInterface<std::pair<Compressor, const char*>> {};

TEST_P(AviWriterCompressors, RunFrameSurvivesCompression)
{
    const std::string path = prepare(120, 60, std::string("compressor_") + GetParam().second);
    chosenOptions.compressor = GetParam().first;
    chosenOptions.quality = 90;
    paintSmooth();
    ASSERT_TRUE(avi.open(picture->view()));
    EXPECT_EQ(avi.state().options.compressor, GetParam().first);
    ASSERT_TRUE(avi.writeFrame(picture->view(), 0));
    avi.close();
    const std::vector<ProbedStream> streams = probeStreams(path);
    ASSERT_EQ(streams.size(), 2u);
    EXPECT_EQ(streams[0].codecName, GetParam().second);
    const DecodedVideo video = decodeVideo(path);
    ASSERT_NE(video.pictureAt(187), nullptr);
    const std::vector<uint8_t> expected = pictureRgb(frameChannel);
    const std::vector<uint8_t>& got = *video.pictureAt(187);
    ASSERT_EQ(got.size(), expected.size());
    int largest = 0;
    for (size_t i = 0; i < got.size(); ++i)
        largest = std::max(largest, std::abs(got[i] - expected[i]));
    EXPECT_LE(largest, GetParam().first == Compressor::MotionJpeg ? 8 : 0);
}

INSTANTIATE_TEST_SUITE_P(All, AviWriterCompressors,
                         ::testing::Values(std::make_pair(Compressor::FullFrames, "rawvideo"),
                                           std::make_pair(Compressor::MotionJpeg, "mjpeg"),
                                           std::make_pair(Compressor::Ffv1, "ffv1"),
                                           std::make_pair(Compressor::UtVideo, "utvideo")),
                         [](const auto& info) { return std::string(info.param.second); });

TEST_F(AviWriterTest, PictureOfAnotherSizeIsCutOrPaddedWithBlack)
{
    const std::string path = prepare(40, 20, "other_size");
    paintPattern(0);
    ASSERT_TRUE(avi.open(picture->view()));
    ASSERT_TRUE(avi.writeFrame(picture->view(), 0));  // leaves a full picture in the reused block
    picture = std::make_unique<TestPlanes>(20, 10);
    paintPattern(3);
    const std::vector<uint8_t> small = pictureRgb(frameChannel);
    ASSERT_TRUE(avi.writeFrame(picture->view(), 1));
    picture = std::make_unique<TestPlanes>(60, 30);
    paintPattern(0);
    ASSERT_TRUE(avi.writeFrame(picture->view(), 2));
    avi.close();
    const DecodedVideo video = decodeVideo(path);
    ASSERT_EQ(video.width, 40);
    const std::vector<uint8_t>& padded = *video.pictureAt(188);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 40; ++x)
            for (int c = 0; c < 3; ++c) {
                const uint8_t expected = x < 20 && y < 10 ? small[3 * (y * 20 + x) + c] : 0;
                ASSERT_EQ(padded[3 * (y * 40 + x) + c], expected) << x << "," << y;
            }
    const std::vector<uint8_t>& cut = *video.pictureAt(189);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 40; ++x)
            ASSERT_EQ(cut[3 * (y * 40 + x)], frameChannel(static_cast<float>(redValue(x, y)))) << x << "," << y;
}
