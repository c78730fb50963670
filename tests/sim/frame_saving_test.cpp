// Saving a composed frame: the AVI name rule, PPM files written in order,
// and a frame that cannot be written reported with its file.
#include "render/frame_image.h"
#include "sim/frame_saving.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace fs = std::filesystem;

namespace {

std::string readBytes(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A fresh directory under the system's temporary one, removed at the end.
class FrameSavingTest : public testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/kelvo_frames_XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        directory = pattern;
        allocateFrameImage(8, 6);
    }
    void TearDown() override
    {
        releaseFrameImage();
        fs::remove_all(directory);
    }
    fs::path directory;
};

}  // namespace

TEST(AviFileName, ExtensionAddedUnlessTheNameEndsExactlyInIt)
{
    EXPECT_EQ(aviFileNameFor("run"), "run.avi");
    EXPECT_EQ(aviFileNameFor("run.avi"), "run.avi");
    EXPECT_EQ(aviFileNameFor("/tmp/a b/run.avi"), "/tmp/a b/run.avi");
    // Capitals are not recognised; nor is a name shorter than the extension.
    EXPECT_EQ(aviFileNameFor("RUN.AVI"), "RUN.AVI.avi");
    EXPECT_EQ(aviFileNameFor("vi"), "vi.avi");
    EXPECT_EQ(aviFileNameFor(".avi"), ".avi");
    EXPECT_EQ(aviFileNameFor("run.avi.bak"), "run.avi.bak.avi");
}

TEST_F(FrameSavingTest, PpmFramesAreNumberedFromTheAllocation)
{
    FrameSaving saving;
    saving.ppm = true;
    saving.ppmDirectory = (directory / "frames").string();
    fillFrameRect(1, 1, 3, 2, 254, 7, 0);
    for (int32_t index = 0; index < 3; ++index)
        EXPECT_TRUE(saveFrame(saving, index).ok);
    EXPECT_TRUE(fs::exists(directory / "frames" / "frame_00000.ppm"));
    EXPECT_TRUE(fs::exists(directory / "frames" / "frame_00002.ppm"));
    EXPECT_FALSE(fs::exists(directory / "frames" / "frame_00003.ppm"));
    const std::string bytes = readBytes(directory / "frames" / "frame_00000.ppm");
    EXPECT_EQ(bytes.substr(0, 18), "P3\n7 5\n255\n254 7 0");

    // A new picture numbers from 0 again, overwriting.
    allocateFrameImage(8, 6);
    EXPECT_TRUE(saveFrame(saving, 0).ok);
    EXPECT_EQ(readBytes(directory / "frames" / "frame_00000.ppm").substr(11, 5), "0 0 0");
}

TEST_F(FrameSavingTest, UnwritableFrameNamesItsFile)
{
    std::ofstream(directory / "frames") << "a file where the directory should be";
    FrameSaving saving;
    saving.ppm = true;
    saving.ppmDirectory = (directory / "frames").string();
    const FrameSaveResult result = saveFrame(saving, 0);
    EXPECT_FALSE(result.ok);
    EXPECT_FALSE(result.aviFailed);
    EXPECT_EQ(result.ppmFailedPath, (directory / "frames" / "frame_00000.ppm").string());
}

TEST_F(FrameSavingTest, NothingChosenWritesNothing)
{
    FrameSaving saving;
    saving.ppmDirectory = (directory / "frames").string();
    EXPECT_TRUE(saveFrame(saving, 0).ok);
    EXPECT_FALSE(fs::exists(directory / "frames"));
    EXPECT_EQ(ppmFrameCounter, 0);
}

TEST_F(FrameSavingTest, AviFrameWithoutAnOpenFileFails)
{
    FrameSaving saving;
    saving.avi = true;
    const FrameSaveResult result = saveFrame(saving, 0);
    EXPECT_FALSE(result.ok);
    EXPECT_TRUE(result.aviFailed);
    EXPECT_TRUE(result.ppmFailedPath.empty());
}
