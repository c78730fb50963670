// PPM frames: the layout byte for byte, the numbering, and failures.
#include "io/ppm_writer.h"

#include "test_planes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <limits>
#include <vector>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// A fresh directory per test, removed afterwards.
class PpmWriterTest : public ::testing::Test {
protected:
    fs::path root;

    void SetUp() override
    {
        root = fs::temp_directory_path() /
               ("kelvo-ppm-" + std::to_string(getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root);
        fs::create_directories(root);
    }
    void TearDown() override { fs::remove_all(root); }
};

TEST_F(PpmWriterTest, SmallPictureIsWrittenByteForByte)
{
    TestPlanes planes(4, 3);
    planes.red[0][0] = 99.0f;  // row 0 and column 0 are never written
    planes.red[1][2] = 254.9f;
    planes.green[1][2] = 0.7f;
    planes.blue[1][2] = 255.0f;
    planes.red[2][3] = 300.5f;  // no clamping
    planes.green[2][3] = -7.9f;
    planes.blue[2][1] = 10.0f;
    const PpmWriteResult result = PpmFrameOutput(root.string()).writeFrame(planes.view());
    ASSERT_TRUE(result.ok);
    EXPECT_EQ(result.path, (root / "frame_00000.ppm").string());
    EXPECT_EQ(readFile(result.path),
              "P3\n3 2\n255\n"
              "0 0 0\n254 0 255\n0 0 0\n"
              "0 0 10\n0 0 0\n300 -7 0\n");
}

// Every whole value 0..255 in every channel and position of a line, the
// fractions between them, and values outside 0..255 (truncated toward zero,
// not clamped; what is not finite as 0), against the formatted print.
TEST_F(PpmWriterTest, EveryValueIsWrittenAsItsTruncatedDecimal)
{
    std::vector<float> values;
    for (int byte = 0; byte < 256; ++byte) {
        values.push_back(static_cast<float>(byte));
        values.push_back(byte + 0.999f);
    }
    for (float odd : {-0.0f, -0.5f, -1.0f, -255.5f, 256.0f, 999.9f, 1000.0f, 123456.7f, 3.0e9f, -3.0e9f,
                      std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity()})
        values.push_back(odd);
    const int W = 1 + static_cast<int>(values.size());
    TestPlanes planes(W, 4);
    for (int row = 1; row < 4; ++row)
        for (int column = 1; column < W; ++column) {
            // Each channel takes the values in another order.
            const size_t n = values.size();
            planes.red[row][column] = values[(column - 1) % n];
            planes.green[row][column] = values[(column - 1 + 7 * row) % n];
            planes.blue[row][column] = values[(n - column + 3 * row) % n];
        }
    const PpmWriteResult result = PpmFrameOutput(root.string()).writeFrame(planes.view());
    ASSERT_TRUE(result.ok);
    auto printed = [](float value) {
        if (!std::isfinite(value))
            return 0LL;
        if (value >= 2147483648.0f)
            return 2147483647LL;
        if (value < -2147483648.0f)
            return -2147483648LL;
        return static_cast<long long>(value);
    };
    std::string expected = "P3\n" + std::to_string(W - 1) + " 3\n255\n";
    char line[64];
    for (int row = 1; row < 4; ++row)
        for (int column = 1; column < W; ++column) {
            std::snprintf(line, sizeof line, "%lld %lld %lld\n", printed(planes.red[row][column]),
                          printed(planes.green[row][column]), printed(planes.blue[row][column]));
            expected += line;
        }
    EXPECT_EQ(readFile(result.path), expected);
}

TEST_F(PpmWriterTest, FileOf120By60HasTheHeaderAnd7021PixelLines)
{
    TestPlanes planes(120, 60);
    planes.fill(0, 0, 119, 59, 255, 128, 1);
    const PpmWriteResult result = PpmFrameOutput(root.string()).writeFrame(planes.view());
    ASSERT_TRUE(result.ok);
    const std::string text = readFile(result.path);
    ASSERT_EQ(text.compare(0, 14, "P3\n119 59\n255\n"), 0);
    std::istringstream lines(text.substr(14));
    std::string line;
    int count = 0;
    while (std::getline(lines, line)) {
        ASSERT_EQ(line, "255 128 1") << count;
        ++count;
    }
    EXPECT_EQ(count, 119 * 59);
}

TEST_F(PpmWriterTest, LargePictureSpanningManyBlocksIsComplete)
{
    TestPlanes planes(1800, 1200);
    for (int row = 0; row < 1200; ++row)
        for (int column = 0; column < 1800; ++column)
            planes.green[row][column] = static_cast<float>((row * 7 + column) % 256);
    const PpmWriteResult result = PpmFrameOutput(root.string()).writeFrame(planes.view());
    ASSERT_TRUE(result.ok);
    std::ifstream in(result.path);
    std::string magic;
    int width = 0, height = 0, maximum = 0;
    in >> magic >> width >> height >> maximum;
    EXPECT_EQ(magic, "P3");
    EXPECT_EQ(width, 1799);
    EXPECT_EQ(height, 1199);
    long checked = 0;
    for (int row = 1; row < 1200; ++row)
        for (int column = 1; column < 1800; ++column) {
            int r = -1, g = -1, b = -1;
            in >> r >> g >> b;
            ASSERT_EQ(g, (row * 7 + column) % 256) << row << "," << column;
            ASSERT_EQ(r + b, 0);
            ++checked;
        }
    int extra;
    EXPECT_FALSE(in >> extra);
    EXPECT_EQ(checked, 1199L * 1799);
}

// Blocks formatted by several threads go out in row order.
TEST_F(PpmWriterTest, FileIsTheSameWhateverTheNumberOfThreads)
{
    TestPlanes planes(700, 500);
    for (int row = 0; row < 500; ++row)
        for (int column = 0; column < 700; ++column) {
            planes.red[row][column] = static_cast<float>((row * 13 + column * 7) % 256);
            planes.blue[row][column] = row == 250 ? 1000.5f : static_cast<float>(row % 256);
        }
    std::string single;
    for (int threads : {1, 2, 3, 8}) {
        const PpmWriteResult result = PpmFrameOutput(root.string(), threads).writeFrame(planes.view());
        ASSERT_TRUE(result.ok);
        const std::string text = readFile(result.path);
        if (threads == 1) {
            single = text;
            ASSERT_GT(single.size(), size_t(3) << 20);  // several blocks of a megabyte
            EXPECT_NE(single.find("\n0 0 1000\n"), std::string::npos);
        } else {
            EXPECT_TRUE(text == single) << threads << " threads";
        }
    }
}

TEST_F(PpmWriterTest, OutputNumbersItsFilesUntilRestarted)
{
    TestPlanes planes(8, 8);
    PpmFrameOutput frames(root.string());
    PpmFrameOutput other(root.string());  // numbers of its own
    EXPECT_EQ(frames.writeFrame(planes.view()).path, (root / "frame_00000.ppm").string());
    EXPECT_EQ(frames.writeFrame(planes.view()).path, (root / "frame_00001.ppm").string());
    EXPECT_EQ(frames.nextNumber(), 2);
    EXPECT_EQ(other.nextNumber(), 0);
    frames.setNextNumber(100000);
    EXPECT_EQ(frames.writeFrame(planes.view()).path, (root / "frame_100000.ppm").string());
    EXPECT_TRUE(fs::exists(root / "frame_100000.ppm"));
    frames.restartNumbering();
    EXPECT_EQ(frames.nextNumber(), 0);
    EXPECT_EQ(frames.writeFrame(planes.view()).path, (root / "frame_00000.ppm").string());
}

TEST_F(PpmWriterTest, MissingDirectoryIsCreatedAndTheDefaultIsFrames)
{
    TestPlanes planes(5, 5);
    const fs::path nested = root / "a" / "frames";
    PpmFrameOutput frames(nested.string());
    const PpmWriteResult result = frames.writeFrame(planes.view());
    EXPECT_TRUE(result.ok);
    EXPECT_TRUE(fs::is_regular_file(nested / "frame_00000.ppm"));

    const fs::path saved = fs::current_path();
    fs::current_path(root);
    PpmFrameOutput byDefaultFrames;
    byDefaultFrames.setNextNumber(1);
    const PpmWriteResult byDefault = byDefaultFrames.writeFrame(planes.view());
    fs::current_path(saved);
    EXPECT_TRUE(byDefault.ok);
    EXPECT_EQ(byDefault.path, "frames/frame_00001.ppm");
    EXPECT_TRUE(fs::is_regular_file(root / "frames" / "frame_00001.ppm"));
}

TEST_F(PpmWriterTest, UnwritableDirectoryIsReportedWithTheFileName)
{
    TestPlanes planes(5, 5);
    const fs::path plainFile = root / "not-a-directory";
    std::ofstream(plainFile) << "x";
    PpmFrameOutput frames((plainFile / "frames").string());
    const PpmWriteResult result = frames.writeFrame(planes.view());
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.path, (plainFile / "frames" / "frame_00000.ppm").string());
    EXPECT_EQ(frames.nextNumber(), 1);  // the number is used up all the same
}

TEST_F(PpmWriterTest, FullDiskIsReported)
{
    if (!fs::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full here";
    PpmFrameOutput frames;
    TestPlanes small(5, 5);
    EXPECT_FALSE(frames.writeFile(small.view(), "/dev/full"));  // the header fits no buffer: the close fails
    TestPlanes large(1800, 1200);
    EXPECT_FALSE(frames.writeFile(large.view(), "/dev/full"));  // fails in the middle
}

}  // namespace
